#pragma once

#include <cstdio>

struct BatchOptions;

// balkor-batch with a vehicle on lanes or influence surfaces: the system
// (and the load cases of a project or of the command line for envelopes
// with the traffic), the traffic run on one factorisation, and its JSON and
// pictures. Returns the exit code.
int RunTrafficBatch(const BatchOptions& options, std::FILE* out, std::FILE* err);
