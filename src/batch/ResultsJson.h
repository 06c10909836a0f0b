#pragma once

#include <nlohmann/json.hpp>
#include <string>

struct InputModel;
class SolutionsCont;

// The results of a successful run in machine-readable form (docs/batch-json.md):
// node displacements, reactions, element end forces, per-beam extrema and
// values at the beam's evaluation points, hinge values and the counters.
nlohmann::ordered_json ResultsJson(InputModel& input, SolutionsCont& solutions,
                                   const std::string& systemFile, const std::string& loadCaseFile);
