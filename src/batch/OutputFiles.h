#pragma once

#include "batch/BatchOptions.h"

#include <string>

// Refuses a command line whose outputs would be written over one of its
// inputs (system, load case, --settings) or over each other: false with a
// German message. Files are the same when they have the same device and
// inode, or, where one does not exist yet, the same absolute path once
// symbolic links and "." and ".." are resolved. Standard output ("-"), and
// devices such as /dev/null, are no file that could be overwritten.
bool CheckOutputsDistinct(const BatchOptions& options, std::string& error);
