#pragma once

#include "batch/TrafficOptions.h"
#include "graphics/DisplayFlags.h"
#include "graphics/SceneRebuild.h"

#include <algorithm>
#include <string>
#include <vector>

// Exit codes of balkor-batch; every failure has its own.
enum BatchExitCode {
    kExitOk = 0,
    kExitInternalError = 1,   // an error that ended the run (e.g. out of memory)
    kExitUsage = 2,           // unknown option, missing argument, too many arguments
    kExitSystemFile = 3,      // the system file or the deck description cannot be read
    kExitLoadCaseFile = 4,    // the load-case file cannot be read
    kExitInputError = 5,      // a plausibility check failed ("Eingabefehler")
    kExitContradiction = 6,   // contradicting boundary conditions
    kExitSingular = 7,        // singular stiffness matrix (kinematic system)
    kExitOutputFile = 8,      // a protocol, JSON or picture file cannot be written
    kExitSettingsFile = 9,    // the settings file named with --settings cannot be read
    kExitAnalysisFailed = 10, // the solution overflowed or is not in equilibrium
};

// One picture of --svg: what a new graphics window of that size shows on that
// tab after "Berechnen", with toolbar toggles switched on or off.
// --dxf FILE starts a picture of the same kind written as a DXF drawing.
struct SvgPicture {
    std::string file;
    bool dxf = false; // --dxf: a DXF drawing instead of an SVG picture
    int tab = kTabGeometrie;
    DisplayFlags on = 0;    // toggles switched on with --show
    DisplayFlags off = 0;   // and off ("-Name")
    LayoutFlags layout = 0; // "Beschriftung entzerren", "Legende": off unless named
    int width = 1200;
    int height = 800;
    bool viewGiven = false;
    bool sizeGiven = false;
    // --case: the load case (by number or name), combination or envelope
    // (by name) of a run of several; empty: the first load case.
    std::string caseName;
    bool caseGiven = false;

    // The display flags of the picture's window.
    DisplayFlags Flags() const {
        return static_cast<DisplayFlags>((NewWindowFlags(tab) | on) & ~off);
    }
};

// The largest side of a picture, in pixels.
inline constexpr int kMaxPictureSide = 100000;

// The command line of balkor-batch. An output path "-" means standard output.
struct BatchOptions {
    std::string systemFile;
    std::string loadCaseFile; // empty: an empty load case
    // Further load cases after the first: a run of several.
    std::vector<std::string> moreLoadCaseFiles;
    // PROJECT.bpj given instead of the system and load-case files.
    std::string projectFile;
    // --combination and --envelope as written ("NAME=..."), in order.
    std::vector<std::string> combinations;
    std::vector<std::string> envelopes;
    std::string inputProtocolFile;
    std::string resultsFile;
    std::string jsonFile;
    std::string csvFolder; // --csv: one CSV file per results table in it
    std::string xlsxFile;
    std::vector<SvgPicture> pictures;
    std::string settingsFile; // empty: the desktop program's settings file, if any
    // --generate: the system made from this description instead of read;
    // --write-system: the file the system is written to.
    std::string deckFile;
    std::string systemOutputFile;
    // --write-project: the project of the run written as a project file.
    std::string projectOutputFile;
    // --import-dxf: the system made from the lines of this drawing;
    // --dxf-tolerance (0: 0.001 of the drawing's extent), --dxf-split.
    std::string dxfImportFile;
    double dxfTolerance = 0.0;
    bool dxfSplit = false;
    // --vehicle, --lane, --step, --both-directions, --traffic-envelope, --influence.
    TrafficOptions traffic;
    bool quiet = false;
    bool help = false;

    // No output option given: the results protocol goes to standard output.
    bool NoOutputRequested() const {
        return inputProtocolFile.empty() && resultsFile.empty() && jsonFile.empty() &&
               pictures.empty() && systemOutputFile.empty() && projectOutputFile.empty() &&
               !SpreadsheetRequested();
    }
    // Several load cases, a project, a combination or an envelope.
    bool SeveralCases() const {
        return !projectFile.empty() || !moreLoadCaseFiles.empty() || !combinations.empty() ||
               !envelopes.empty() || !projectOutputFile.empty() ||
               std::any_of(pictures.begin(), pictures.end(),
                           [](const SvgPicture& picture) { return picture.caseGiven; });
    }
    // Only the project file is asked for: nothing is read or calculated.
    bool OnlyProjectRequested() const {
        return !projectOutputFile.empty() && inputProtocolFile.empty() && resultsFile.empty() &&
               jsonFile.empty() && pictures.empty() && systemOutputFile.empty() &&
               !SpreadsheetRequested();
    }
    // Only the system file is asked for: nothing is calculated.
    bool OnlySystemRequested() const {
        return !systemOutputFile.empty() && loadCaseFile.empty() && inputProtocolFile.empty() &&
               resultsFile.empty() && jsonFile.empty() && pictures.empty() &&
               !SpreadsheetRequested();
    }
    // The system is made (--generate, --import-dxf) instead of read.
    bool SystemMade() const { return !deckFile.empty() || !dxfImportFile.empty(); }
    bool SpreadsheetRequested() const { return !csvFolder.empty() || !xlsxFile.empty(); }
};

// Parses the arguments after the program name. Returns false with a German
// message in error for an unknown option, a missing file name or a wrong
// number of files; "--help" sets help and succeeds whatever else is given.
// With --generate or --import-dxf the only file argument is the load case.
// --svg FILE and --dxf FILE start a picture; --view, --show, --size and
// --case that follow it belong to it (each at most once per picture). A first
// file ending in ".bpj" is a project file and the only file. Without a project
// the expressions of --combination and --envelope are checked against the
// load cases given (the message names the position of an error).
bool ParseBatchArguments(const std::vector<std::string>& args, BatchOptions& options,
                         std::string& error);

// The text of --help: usage, options and exit codes.
const char* BatchUsage();
