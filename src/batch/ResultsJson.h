#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

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
// A value -0.0 is written as 0.
nlohmann::ordered_json ResultsJson(InputModel& input, SolutionsCont& solutions,
                                   const std::string& systemFile, const std::string& loadCaseFile);

// The whole JSON text, indented by two spaces and ended by a line feed.
std::string ResultsJsonText(InputModel& input, SolutionsCont& solutions,
                            const std::string& systemFile, const std::string& loadCaseFile);

// A file name as JSON text can hold it without loss: valid UTF-8 stays as it
// is, except that "%" becomes "%25"; every byte that is not part of valid
// UTF-8 becomes "%XX" (two upper-case hex digits). Percent-decoding gives
// back the bytes exactly. A Linux file name is bytes and need not be UTF-8.
std::string LosslessName(std::string_view bytes);
