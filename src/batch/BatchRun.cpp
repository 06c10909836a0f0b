#include "batch/BatchRun.h"

#include "analysis/CalcStatus.h"
#include "analysis/SolutionsCont.h"
#include "batch/BatchPictures.h"
#include "batch/BatchSteps.h"
#include "batch/BatchTraffic.h"
#include "batch/DeckJson.h"
#include "batch/ResultsJson.h"
#include "exchange/DxfImport.h"
#include "exchange/ResultTables.h"
#include "exchange/SpreadsheetExport.h"
#include "model/Format.h"
#include "model/InputFiles.h"
#include "model/SafeFile.h"
#include "model/Tables.h"
#include "protocols/Protocols.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsTree.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

void PrintError(std::FILE* err, const std::string& text) {
    std::fputs(text.c_str(), err);
    std::fputc('\n', err);
    std::fflush(err);
}

// The name of an output in messages.
std::string OutputName(const std::string& path) {
    return path == "-" ? "Standardausgabe" : path;
}

// Writes one output (path "-" = out) with WriteFileSafely, so that a failure
// leaves an earlier file of that name as it was; false after printing the
// message when the file cannot be made or written completely.
bool WriteOutput(const std::string& path, std::FILE* out, std::FILE* err,
                 const std::function<void(std::FILE*)>& write) {
    FileWrite result = FileWrite::kDone;
    if (path == "-") {
        write(out);
        if (std::fflush(out) != 0 || std::ferror(out))
            result = FileWrite::kFailed;
    } else {
        result = WriteFileSafely(path, [&write](std::FILE* file) {
            write(file);
            return !std::ferror(file);
        });
    }
    if (result == FileWrite::kNotOpened)
        PrintError(err, std::string(kProtocolOpenError) + ": " + path);
    else if (result == FileWrite::kFailed)
        PrintError(err, std::string(kWriteOutputError) + ": " + OutputName(path));
    return result == FileWrite::kDone;
}

// A path as given on the command line, made absolute for the protocol header
// ("" stays "").
std::string AbsolutePath(const std::string& path) {
    if (path.empty())
        return path;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

static std::string CheckText(const CheckReport& check) {
    return Format("%s: %s (Seite \"%s\", Zeile %d, Spalte %d)", kCheckFailedCaption,
                  check.message.c_str(), check.page.c_str(), check.row + 1, check.column);
}

int FailedRun(const CalcResult& result, std::FILE* err) {
    if (result.inputError) {
        PrintError(err, CheckText(result.check));
        return kExitInputError;
    }
    PrintError(err, result.title + ": " + result.message);
    switch (result.failedStage) {
    case kStageDofs:
        return kExitContradiction;
    case kStageSolve:
        return kExitSingular;
    case kStageEvaluate:
        return kExitAnalysisFailed;
    default:
        return kExitInternalError;
    }
}

// A file without any section of its kind reads as an empty system or load
// case, and the run goes on as with one.
void WarnWithoutSections(std::FILE* err, int found, const char* kind, const std::string& path,
                         std::span<InputContainer* const> tables) {
    if (found == 0)
        PrintError(err, MissingSectionsWarning(kind, tables, path));
}

// The file the protocols and the JSON name as the system's: a generated
// system is named by the file it was written to, else by its description.
std::string SystemName(const BatchOptions& options) {
    if (!options.SystemMade())
        return options.systemFile;
    if (!options.systemOutputFile.empty() && options.systemOutputFile != "-")
        return options.systemOutputFile;
    return options.deckFile.empty() ? options.dxfImportFile : options.deckFile;
}

// The system of the lines of a drawing; every layer gets the one default
// cross-section type, to be edited afterwards.
int ImportDxf(const BatchOptions& options, InputModel& input, std::FILE* err) {
    DxfDrawing drawing;
    ImportedGrid grid;
    GridOptions gridOptions;
    gridOptions.tolerance = options.dxfTolerance;
    gridOptions.splitAtCrossings = options.dxfSplit;
    std::string error;
    if (!ReadDxfDrawing(options.dxfImportFile, drawing, error) ||
        !BuildGrid(drawing, gridOptions, grid, error)) {
        PrintError(err, error);
        return kExitSystemFile;
    }
    for (const std::string& warning : grid.warnings)
        PrintError(err, "Warnung: " + warning);
    ApplyGrid(grid, CurrentTypes(input), input);
    return kExitOk;
}

int ReadSystem(const BatchOptions& options, InputModel& input, std::FILE* err) {
    if (!options.dxfImportFile.empty())
        return ImportDxf(options, input, err);
    if (!options.deckFile.empty()) {
        DeckDescription deck;
        std::string error;
        if (!LoadDeckJson(options.deckFile, deck, error)) {
            PrintError(err, error);
            return kExitSystemFile;
        }
        GenerateDeck(deck, input);
        return kExitOk;
    }
    int found = 0;
    if (!LoadSystemFile(input, options.systemFile, &found)) {
        PrintError(err, std::string(kSystemFileError) + ": " + options.systemFile);
        return kExitSystemFile;
    }
    WarnWithoutSections(err, found, "Die Systemdatei", options.systemFile, input.systemTables);
    return kExitOk;
}

static int ReadInput(const BatchOptions& options, InputModel& input, std::FILE* err) {
    if (int code = ReadSystem(options, input, err); code != kExitOk)
        return code;
    input.ResetLoadCase();
    if (options.loadCaseFile.empty())
        return kExitOk;
    int found = 0;
    if (!LoadLoadCaseFile(input, options.loadCaseFile, &found)) {
        PrintError(err, std::string(kLoadCaseFileError) + ": " + options.loadCaseFile);
        return kExitLoadCaseFile;
    }
    WarnWithoutSections(err, found, "Die Lastdatei", options.loadCaseFile, input.loadTables);
    return kExitOk;
}

bool WriteSystemOutput(const BatchOptions& options, InputModel& input, std::FILE* out,
                       std::FILE* err) {
    return options.systemOutputFile.empty() ||
           WriteOutput(options.systemOutputFile, out, err, [&input](std::FILE* f) {
               for (InputContainer* table : input.systemTables)
                   table->WriteSection(f);
           });
}

// Where the results protocol goes: without any output option to standard
// output; empty when it is not asked for.
std::string ResultsPath(const BatchOptions& options) {
    return options.NoOutputRequested() ? "-" : options.resultsFile;
}

// Every output's size limit is checked before any output is written, so that
// a refused one leaves no half set of files behind. The JSON is built in
// memory: an input asking for more evaluation points than kMaxJsonPoints is
// refused before anything is allocated for it.
int CheckOutputLimits(const BatchOptions& options, InputModel& input, std::FILE* err, long copies) {
    const std::string resultsPath = ResultsPath(options);
    if (!resultsPath.empty()) {
        const long rows = ResultsProtocolRows(input) * copies;
        if (rows > kMaxResultsProtocolRows) {
            PrintError(err, Format("%s: %s: %s", kWriteOutputError, OutputName(resultsPath).c_str(),
                                   ResultsProtocolTooLarge(rows).c_str()));
            return kExitOutputFile;
        }
    }
    if (!options.jsonFile.empty()) {
        const long points = JsonPointCount(input) * copies;
        if (points > kMaxJsonPoints) {
            PrintError(err,
                       Format("%s: %s (%ld Auswertungspunkte, höchstens %ld)", kWriteOutputError,
                              OutputName(options.jsonFile).c_str(), points, kMaxJsonPoints));
            return kExitOutputFile;
        }
    }
    for (const std::string* path : {&options.csvFolder, &options.xlsxFile}) {
        if (path->empty())
            continue;
        if (const long rows = ResultPointRows(input); rows > kMaxResultPointRows) {
            PrintError(err, Format("%s: %s (%s)", kWriteOutputError, path->c_str(),
                                   TooManyPointsText(rows).c_str()));
            return kExitOutputFile;
        }
    }
    return kExitOk;
}

// The CSV folder and the workbook of the results tables.
bool WriteSpreadsheets(const BatchOptions& options, InputModel& input,
                       const SolutionsCont& solutions, std::FILE* err) {
    ExportResult result;
    if (!options.csvFolder.empty())
        result = WriteResultsCsv(options.csvFolder, input, solutions);
    if (result.ok && !options.xlsxFile.empty())
        result = WriteResultsXlsx(options.xlsxFile, input, solutions);
    if (!result.ok)
        PrintError(err, result.message);
    return result.ok;
}

// The whole JSON text is made before the file is touched.
static bool WriteJson(const BatchOptions& options, InputModel& input, SolutionsCont& solutions,
                      std::FILE* out, std::FILE* err) {
    const std::string text =
        ResultsJsonText(input, solutions, SystemName(options), options.loadCaseFile);
    return WriteOutput(options.jsonFile, out, err,
                       [&text](std::FILE* f) { std::fputs(text.c_str(), f); });
}

// The outputs of a successful run; false when one cannot be written.
static bool WriteResults(const BatchOptions& options, const ProtocolContext& context,
                         InputModel& input, SolutionsCont& solutions, std::FILE* out,
                         std::FILE* err) {
    const std::string resultsPath = ResultsPath(options);
    if (!resultsPath.empty() && !WriteOutput(resultsPath, out, err, [&](std::FILE* f) {
            WriteResultsProtocol(input, solutions, f, context);
        }))
        return false;
    if (!options.jsonFile.empty() && !WriteJson(options, input, solutions, out, err))
        return false;
    return WriteSpreadsheets(options, input, solutions, err);
}

// The drawing settings of the pictures: the file named with --settings, else
// the desktop program's settings file where it exists (else the defaults).
int ApplyPictureSettings(const BatchOptions& options, std::FILE* err) {
    if (!options.settingsFile.empty()) {
        if (ReadSettings(SettingsTree(), options.settingsFile))
            return kExitOk;
        PrintError(err, std::string(kSettingsFileError) + ": " + options.settingsFile);
        return kExitSettingsFile;
    }
    if (!options.pictures.empty()) {
        const std::string path =
            ProgramSettingsPath(CurrentProgramPath(), ProcessSettingsEnvironment());
        if (!path.empty())
            ReadSettings(SettingsTree(), path);
    }
    return kExitOk;
}

// Every picture that the run allows: the results views only with results.
// Each is drawn completely before any output is written.
static std::vector<DrawnPicture> DrawPictures(const BatchOptions& options, InputModel& input,
                                              const SolutionsCont* results, std::FILE* err) {
    std::vector<DrawnPicture> drawn;
    for (const SvgPicture& picture : options.pictures) {
        if (PictureNeedsResults(picture) && !results) {
            PrintError(err, Format("%s: Bild %s (%s) nicht geschrieben", kNoResultsMessage,
                                   OutputName(picture.file).c_str(), kSceneTabs[picture.tab].name));
            continue;
        }
        drawn.push_back({&picture, PictureText(picture, input, results)});
    }
    return drawn;
}

bool WritePictures(const std::vector<DrawnPicture>& drawn, std::FILE* out, std::FILE* err) {
    for (const DrawnPicture& d : drawn) {
        if (d.svg.empty()) { // a DXF drawing the library could not make
            PrintError(err, std::string(kWriteOutputError) + ": " + OutputName(d.picture->file));
            return false;
        }
        if (!WriteOutput(d.picture->file, out, err,
                         [&d](std::FILE* f) { std::fputs(d.svg.c_str(), f); }))
            return false;
    }
    return true;
}

int RunBatch(const BatchOptions& options, std::FILE* out, std::FILE* err) {
    if (options.traffic.Requested())
        return RunTrafficBatch(options, out, err);
    if (options.SeveralCases())
        return RunProjectBatch(options, out, err);
    // Kept off the stack; one model per run, as in the program.
    auto input = std::make_unique<InputModel>();
    auto solutions = std::make_unique<SolutionsCont>(*input);

    if (int code = ReadInput(options, *input, err); code != kExitOk)
        return code;
    if (!WriteSystemOutput(options, *input, out, err))
        return kExitOutputFile;
    if (options.OnlySystemRequested())
        return kExitOk;
    if (int code = CheckOutputLimits(options, *input, err); code != kExitOk)
        return code;
    if (int code = ApplyPictureSettings(options, err); code != kExitOk)
        return code;

    ProtocolContext context;
    context.systemFile = AbsolutePath(SystemName(options));
    context.loadCaseFile = AbsolutePath(options.loadCaseFile);

    // The input protocol needs no results: it is written even when the
    // calculation fails afterwards, so that the input can be inspected.
    if (!options.inputProtocolFile.empty() &&
        !WriteOutput(options.inputProtocolFile, out, err,
                     [&](std::FILE* f) { WriteInputProtocol(*input, f, context); }))
        return kExitOutputFile;

    StreamStatus status(err, options.quiet);
    const CalcResult result = solutions->Calculate(&status);
    status.PrintCounters();
    if (!result.ok) {
        // The failure's exit code; pictures of the input are still written.
        const int code = FailedRun(result, err);
        WritePictures(DrawPictures(options, *input, nullptr, err), out, err);
        return code;
    }
    const std::vector<DrawnPicture> pictures = DrawPictures(options, *input, solutions.get(), err);
    if (!WriteResults(options, context, *input, *solutions, out, err) ||
        !WritePictures(pictures, out, err))
        return kExitOutputFile;
    return kExitOk;
}
