#pragma once

#include "protocols/Protocols.h"

#include <cstdio>
#include <string>
#include <vector>

class ProjectAnalysis;

// The results protocol of a project: each load case, then each combination,
// each after a title line naming it ("Lastfall 1: NAME", "Kombination 1:
// NAME = 1.35·LF1 + 1.50·LF2") in the layout of one load case, the header
// naming its load-case file or the combination; then one envelope protocol
// per envelope ("Umhüllende 1: NAME"). loadCaseFiles: the paths the headers
// print for the load cases.
void WriteProjectResultsProtocol(ProjectAnalysis& project, std::FILE* file,
                                 const ProtocolContext& context,
                                 const std::vector<std::string>& loadCaseFiles);

// The title lines (without the line end).
std::string LoadCaseTitle(const ProjectAnalysis& project, int k);
std::string CombinationTitle(const ProjectAnalysis& project, int j);
std::string EnvelopeTitle(const ProjectAnalysis& project, int e);

// One envelope: per beam and evaluation point max and min of w, Q, M, T with
// the concurrent values and the governing arrangement; max and min of the
// reactions.
void WriteEnvelopeProtocol(ProjectAnalysis& project, int e, std::FILE* file);

// The text the header's "Lastfall:" line shows for a combination.
std::string CombinationHeaderName(const ProjectAnalysis& project, int j);
