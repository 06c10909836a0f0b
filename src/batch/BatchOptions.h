#pragma once

#include <string>
#include <vector>

// Exit codes of balkor-batch; every failure has its own.
enum BatchExitCode {
    kExitOk = 0,
    kExitInternalError = 1, // an error that ended the run (e.g. out of memory)
    kExitUsage = 2,         // unknown option, missing argument, too many arguments
    kExitSystemFile = 3,    // the system file cannot be read
    kExitLoadCaseFile = 4,  // the load-case file cannot be read
    kExitInputError = 5,    // a plausibility check failed ("Eingabefehler")
    kExitContradiction = 6, // contradicting boundary conditions
    kExitSingular = 7,      // singular stiffness matrix (kinematic system)
    kExitOutputFile = 8,    // a protocol or JSON file cannot be written
};

// The command line of balkor-batch. An output path "-" means standard output.
struct BatchOptions {
    std::string systemFile;
    std::string loadCaseFile; // empty: an empty load case
    std::string inputProtocolFile;
    std::string resultsFile;
    std::string jsonFile;
    bool quiet = false;
    bool help = false;

    // No output option given: the results protocol goes to standard output.
    bool NoOutputRequested() const {
        return inputProtocolFile.empty() && resultsFile.empty() && jsonFile.empty();
    }
};

// Parses the arguments after the program name. Returns false with a German
// message in error for an unknown option, a missing file name or a wrong
// number of files; "--help" sets help and succeeds whatever else is given.
bool ParseBatchArguments(const std::vector<std::string>& args, BatchOptions& options,
                         std::string& error);

// The text of --help: usage, options and exit codes.
const char* BatchUsage();
