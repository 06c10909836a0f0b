#pragma once

#include <cstdio>
#include <ctime>
#include <functional>
#include <string>

struct InputModel;
class SolutionsCont;

// What a protocol needs besides the tables: the names of the current files
// and the clock of its header. Tests inject a fixed time and the "C" locale so
// that the header is deterministic.
struct ProtocolContext {
    std::string systemFile;   // path of the current system file, empty when none
    std::string loadCaseFile; // path of the current load-case file, empty when none
    // The local time printed in the header; empty means "now".
    std::function<std::tm()> clock;
    // Locale of the time and date formats; empty means the user's locale.
    std::string timeLocale;
};

// Message when a protocol file cannot be opened for writing.
inline constexpr const char* kProtocolOpenError = "Fehler bei öffnen der Ausdruckdatei";

// The header both protocols start with: time and date, the file names.
void WriteHeader(std::FILE* file, const ProtocolContext& context);

// The listing of the ten input tables.
void WriteInputProtocol(InputModel& input, std::FILE* file, const ProtocolContext& context);

// Message when the results protocol is asked for without valid results.
inline constexpr const char* kNoResultsMessage = "Keine Ergebnisse sind vorhanden";

// The report of the last successful analysis. The caller checks that the
// analysis holds results; without them (the model may be half built or
// emptied) this throws BalkorError(kNoResultsMessage) before writing anything.
void WriteResultsProtocol(InputModel& input, SolutionsCont& solutions, std::FILE* file,
                          const ProtocolContext& context);
