#pragma once

#include "batch/BatchOptions.h"

#include <cstdio>

// Runs balkor-batch with parsed options: reads the files, writes the input
// protocol when asked, calculates exactly as the desktop program's
// "Berechnen" does, and writes the requested results. Messages go to err
// (stages and counters unless quiet); "-" and the default results go to out.
// Returns a BatchExitCode. Errors that end the run (BalkorError, out of
// memory) are thrown to the caller.
int RunBatch(const BatchOptions& options, std::FILE* out, std::FILE* err);

// A run of several load cases (several load-case files, PROJECT.bpj,
// --combination or --envelope): every load case, combination and envelope
// into the same outputs. A project of one load case and nothing else runs
// as RunBatch of its two files.
int RunProjectBatch(const BatchOptions& options, std::FILE* out, std::FILE* err);

struct ProjectModel;
// --write-project: the project as a project file, its file names relative
// to its folder ("-": standard output); false with the message on err.
bool WriteProjectOutput(const ProjectModel& project, const BatchOptions& options, std::FILE* out,
                        std::FILE* err);
