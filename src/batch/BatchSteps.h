#pragma once

// The steps of balkor-batch that a run of one load case and a run of a
// project share.

#include "analysis/CalcStatus.h"
#include "batch/BatchOptions.h"
#include "model/Format.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

struct InputModel;
class InputContainer;
class SolutionsCont;

inline constexpr const char* kWriteOutputError = "Fehler beim Schreiben der Ausdruckdatei";
inline constexpr const char* kSettingsFileError = "Fehler beim öffnen der Einstellungsdatei";

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

    // A run of several load cases: how many, and their factorisations.
    void PrintCaseCounters(size_t resultBytes) {
        if (!started_)
            return;
        Print(Format("Anzahl der Lastfälle:       %ld\n"
                     "Anzahl der Zerlegungen:     %ld\n"
                     "Speicherbedarf der Ergebnisse in Byte: %zu\n",
                     counters_.loadCases, counters_.factorisations, resultBytes));
    }

    // Prints the counters of a run that got past the input checks, the values
    // in one column after the longest caption.
    void PrintCounters() {
        if (!started_)
            return;
        const CalcCounters& c = counters_;
        const std::pair<std::string, long> lines[] = {
            {"Anzahl der Knoten", c.nodes},           {"Anzahl der Elemente", c.elements},
            {"Anzahl der Freiheitsgrade", c.dofs},    {"Anzahl der Randbedingungen", c.conditions},
            {MemoryCaption(c.sparse), c.memoryBytes}, {SizeCaption(c.sparse), SizeCounter(c)}};
        size_t width = 0;
        for (const auto& [caption, value] : lines)
            width = std::max(width, caption.size());
        for (const auto& [caption, value] : lines)
            Print(
                Format("%-*s %ld\n", static_cast<int>(width + 1), (caption + ":").c_str(), value));
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

void PrintError(std::FILE* err, const std::string& text);

// The name of an output in messages.
std::string OutputName(const std::string& path);

// Writes one output (path "-" = out) with WriteFileSafely, so that a failure
// leaves an earlier file of that name as it was; false after printing the
// message when the file cannot be made or written completely.
bool WriteOutput(const std::string& path, std::FILE* out, std::FILE* err,
                 const std::function<void(std::FILE*)>& write);

// A path as given on the command line, made absolute for the protocol header
// ("" stays "").
std::string AbsolutePath(const std::string& path);

// The message of a failed run and its exit code.
int FailedRun(const CalcResult& result, std::FILE* err);

// Reads the system (or generates it from the deck description).
int ReadSystem(const BatchOptions& options, InputModel& input, std::FILE* err);

// A file without any section of its kind reads as an empty system or load
// case, with a warning.
void WarnWithoutSections(std::FILE* err, int found, const char* kind, const std::string& path,
                         std::span<InputContainer* const> tables);

// --write-system: the system into its file; true when not asked for.
bool WriteSystemOutput(const BatchOptions& options, InputModel& input, std::FILE* out,
                       std::FILE* err);

// Where the results protocol goes: without any output option to standard
// output; empty when it is not asked for.
std::string ResultsPath(const BatchOptions& options);

// The size limits of the outputs, checked before any output is written;
// copies: how many times the outputs hold the evaluation points (a project:
// once per load case and combination, four times per envelope).
int CheckOutputLimits(const BatchOptions& options, InputModel& input, std::FILE* err,
                      long copies = 1);

// The drawing settings of the pictures.
int ApplyPictureSettings(const BatchOptions& options, std::FILE* err);

// A picture drawn in memory, to be written once all are drawn.
struct DrawnPicture {
    const SvgPicture* picture;
    std::string svg;
};
bool WritePictures(const std::vector<DrawnPicture>& drawn, std::FILE* out, std::FILE* err);
