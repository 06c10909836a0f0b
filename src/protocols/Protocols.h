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
    // Paths of the current files as the header prints them (the desktop
    // program and the batch command pass them absolute); empty when none.
    std::string systemFile;
    std::string loadCaseFile;
    // The local time printed in the header; empty means "now".
    std::function<std::tm()> clock;
    // Locale of the time and date formats; empty means the user's locale.
    std::string timeLocale;
};

// Message when a protocol file cannot be opened for writing.
inline constexpr const char* kProtocolOpenError = "Fehler bei öffnen der Ausdruckdatei";

// The header both protocols start with: time and date, the paths of the files.
void WriteHeader(std::FILE* file, const ProtocolContext& context);

// The listing of the ten input tables.
void WriteInputProtocol(InputModel& input, std::FILE* file, const ProtocolContext& context);

// Message when the results protocol is asked for without valid results.
inline constexpr const char* kNoResultsMessage = "Keine Ergebnisse sind vorhanden";

// The results protocol lists the deflections and section forces of every beam
// at its evaluation points, as many as its "intervals" (read from a file
// without limit) ask for. More rows than this in all are refused: 2147483647
// intervals would write over 100 GB.
constexpr long kMaxResultsProtocolRows = 10000000;

// The number of evaluation rows (deflection and section-force table rows)
// the results protocol of this input writes.
long ResultsProtocolRows(InputModel& input);

// The message refusing a results protocol of that many rows.
std::string ResultsProtocolTooLarge(long rows);

// The report of the last successful analysis. The caller checks that the
// analysis holds results; without them (the model may be half built or
// emptied) this throws BalkorError(kNoResultsMessage) before writing anything,
// and so it does with ResultsProtocolTooLarge when the input asks for more
// than kMaxResultsProtocolRows rows.
void WriteResultsProtocol(InputModel& input, SolutionsCont& solutions, std::FILE* file,
                          const ProtocolContext& context);
