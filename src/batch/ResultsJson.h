#pragma once

#include <nlohmann/json.hpp>
#include <string>

struct InputModel;
class SolutionsCont;

// The JSON is built in memory; beams whose "intervals" (read from a file
// without limit) ask for more evaluation points than this in all are refused
// instead of exhausting the memory.
constexpr long kMaxJsonPoints = 1000000;

// The number of evaluation points the JSON of this input lists.
long JsonPointCount(InputModel& input);

// The results of a successful run in machine-readable form (docs/batch-json.md):
// node displacements, reactions, element end forces, per-beam extrema and
// values at the beam's evaluation points, hinge values and the counters.
nlohmann::ordered_json ResultsJson(InputModel& input, SolutionsCont& solutions,
                                   const std::string& systemFile, const std::string& loadCaseFile);
