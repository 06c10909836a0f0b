#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

class ProjectAnalysis;

// The results of a project in machine-readable form (docs/batch-json.md):
// every load case and combination as the JSON of one load case, then the
// envelopes. loadCaseFiles: the files of the load cases as given.
nlohmann::ordered_json ProjectResultsJson(ProjectAnalysis& project, const std::string& systemFile,
                                          const std::string& projectFile,
                                          const std::vector<std::string>& loadCaseFiles);

std::string ProjectResultsJsonText(ProjectAnalysis& project, const std::string& systemFile,
                                   const std::string& projectFile,
                                   const std::vector<std::string>& loadCaseFiles);
