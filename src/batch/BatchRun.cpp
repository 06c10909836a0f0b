#include "batch/BatchRun.h"

#include "analysis/CalcStatus.h"
#include "analysis/SolutionsCont.h"
#include "batch/ResultsJson.h"
#include "model/Format.h"
#include "model/InputFiles.h"
#include "model/Tables.h"
#include "protocols/Protocols.h"

#include <functional>
#include <memory>
#include <string>

namespace {

constexpr const char* kWriteOutputError = "Fehler beim Schreiben der Ausdruckdatei";

// The status window as lines on standard error: each stage as it starts, the
// six counters when the run ends.
class StreamStatus : public CalcStatus {
public:
    StreamStatus(std::FILE* err, bool quiet) : err_(err), quiet_(quiet) {}

    void StageStarted(int stage) override {
        started_ = true;
        Print(Format("Berechnung: %s\n", StageName(stage)));
    }
    void StageFinished(int stage, bool ok) override {
        if (!ok)
            Print(Format("Fehler in Stufe: %s\n", StageName(stage)));
    }
    void CountersChanged(const CalcCounters& counters) override { counters_ = counters; }

    // Prints the counters of a run that got past the input checks.
    void PrintCounters() {
        if (!started_)
            return;
        const CalcCounters& c = counters_;
        Print(Format("Anzahl der Knoten:          %ld\n"
                     "Anzahl der Elemente:        %ld\n"
                     "Anzahl der Freiheitsgrade:  %ld\n"
                     "Anzahl der Randbedingungen: %ld\n"
                     "Speicherbedarf in Byte:     %ld\n"
                     "Bandbreite:                 %ld\n",
                     c.nodes, c.elements, c.dofs, c.conditions, c.memoryBytes, c.bandwidth));
    }

private:
    void Print(const std::string& text) {
        if (!quiet_)
            std::fputs(text.c_str(), err_);
    }

    std::FILE* err_;
    bool quiet_;
    bool started_ = false;
    CalcCounters counters_;
};

void PrintError(std::FILE* err, const std::string& text) {
    std::fputs(text.c_str(), err);
    std::fputc('\n', err);
    std::fflush(err);
}

// Writes one output (path "-" = out); false after printing the message when
// the file cannot be opened or written completely.
bool WriteOutput(const std::string& path, std::FILE* out, std::FILE* err,
                 const std::function<void(std::FILE*)>& write) {
    const bool toOut = path == "-";
    std::FILE* file = toOut ? out : std::fopen(path.c_str(), "w");
    if (!file) {
        PrintError(err, std::string(kProtocolOpenError) + ": " + path);
        return false;
    }
    write(file);
    bool ok = std::fflush(file) == 0 && !std::ferror(file);
    if (!toOut)
        ok = std::fclose(file) == 0 && ok;
    if (!ok)
        PrintError(err, std::string(kWriteOutputError) + ": " + (toOut ? "Standardausgabe" : path));
    return ok;
}

std::string CheckText(const CheckReport& check) {
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
    default:
        return kExitInternalError;
    }
}

int ReadInput(const BatchOptions& options, InputModel& input, std::FILE* err) {
    if (!LoadSystemFile(input, options.systemFile)) {
        PrintError(err, std::string(kSystemFileError) + ": " + options.systemFile);
        return kExitSystemFile;
    }
    input.ResetLoadCase();
    if (!options.loadCaseFile.empty() && !LoadLoadCaseFile(input, options.loadCaseFile)) {
        PrintError(err, std::string(kLoadCaseFileError) + ": " + options.loadCaseFile);
        return kExitLoadCaseFile;
    }
    return kExitOk;
}

// The JSON is built in memory: an input asking for more evaluation points
// than kMaxJsonPoints is refused before anything is allocated for it.
bool WriteJson(const BatchOptions& options, InputModel& input, SolutionsCont& solutions,
               std::FILE* out, std::FILE* err) {
    const long points = JsonPointCount(input);
    if (points > kMaxJsonPoints) {
        PrintError(err, Format("%s: %s (%ld Auswertungspunkte, höchstens %ld)", kWriteOutputError,
                               options.jsonFile.c_str(), points, kMaxJsonPoints));
        return false;
    }
    return WriteOutput(options.jsonFile, out, err, [&](std::FILE* f) {
        const std::string text =
            ResultsJson(input, solutions, options.systemFile, options.loadCaseFile).dump(2);
        std::fputs(text.c_str(), f);
        std::fputc('\n', f);
    });
}

// The outputs of a successful run; false when one cannot be written.
bool WriteResults(const BatchOptions& options, const ProtocolContext& context, InputModel& input,
                  SolutionsCont& solutions, std::FILE* out, std::FILE* err) {
    const std::string resultsPath = options.NoOutputRequested() ? "-" : options.resultsFile;
    if (!resultsPath.empty() && !WriteOutput(resultsPath, out, err, [&](std::FILE* f) {
            WriteResultsProtocol(input, solutions, f, context);
        }))
        return false;
    return options.jsonFile.empty() || WriteJson(options, input, solutions, out, err);
}

} // namespace

int RunBatch(const BatchOptions& options, std::FILE* out, std::FILE* err) {
    // Kept off the stack; one model per run, as in the program.
    auto input = std::make_unique<InputModel>();
    auto solutions = std::make_unique<SolutionsCont>(*input);

    if (int code = ReadInput(options, *input, err); code != kExitOk)
        return code;

    ProtocolContext context;
    context.systemFile = options.systemFile;
    context.loadCaseFile = options.loadCaseFile;

    // The input protocol needs no results: it is written even when the
    // calculation fails afterwards, so that the input can be inspected.
    if (!options.inputProtocolFile.empty() &&
        !WriteOutput(options.inputProtocolFile, out, err,
                     [&](std::FILE* f) { WriteInputProtocol(*input, f, context); }))
        return kExitOutputFile;

    StreamStatus status(err, options.quiet);
    const CalcResult result = solutions->Calculate(&status);
    status.PrintCounters();
    if (!result.ok)
        return FailedRun(result, err);
    return WriteResults(options, context, *input, *solutions, out, err) ? kExitOk : kExitOutputFile;
}
