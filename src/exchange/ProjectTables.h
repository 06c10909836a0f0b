#pragma once

#include "exchange/SpreadsheetExport.h"

#include <string>

class ProjectAnalysis;
struct InputModel;
struct ProjectModel;

// The results tables of a project of several load cases, combinations and
// envelopes, for spreadsheets.
//
// The five tables of one load case (ResultTables.h) hold every load case and
// then every combination, one after the other, each row led by a column
// "Fall" naming its case: "LF1 NAME" for load case 1, "K1 NAME" for
// combination 1. A spreadsheet filters them by that column. Every envelope
// adds to two more tables, led by a column "Umhüllende" ("U1 NAME"):
// "Umhüllende Stabwerte" holds per beam and evaluation point the max and min
// of wz, Q, M and T, each with the concurrent values of the four and the
// governing arrangement ("1.35·LF1 + 1.50·LF3"), in the order of the
// envelope protocol; "Umhüllende Auflagerkräfte" likewise Z, Mx and My of
// every supported node. A project without envelopes has no envelope tables.
// The sheet names are those fixed names (Excel allows 31 characters and no
// two sheets of one name, which user-given case names could break).

// The envelope tables.
enum EnvelopeTableId {
    kEnvelopeTableBeams = 0,
    kEnvelopeTableReactions,
};
inline constexpr int kEnvelopeTableCount = 2;
const ResultTableInfo& EnvelopeTableInfoOf(int table);

// The rows of the largest table of the project's tables on input (the
// system): the evaluation points times the load cases and combinations, or
// times the 8 rows (4 quantities, max and min) of every envelope. Known
// before the analysis, so that a run refuses too many before it writes
// anything; more than kMaxResultPointRows are refused.
long ProjectTableRows(InputModel& input, const ProjectModel& project);
// "N Tabellenzeilen, höchstens 1000000".
std::string TooManyRowsText(long rows);

enum class TableFormat { kCsv, kXlsx };

// Writes the tables of a calculated project: kCsv one file per table in the
// folder path (made when it does not exist; the file names of one load case,
// "umhuellende_stabwerte.csv" and "umhuellende_auflagerkraefte.csv"), kXlsx
// one workbook at path, both as WriteResultsCsv and WriteResultsXlsx write
// them and with the same checks before anything is written. The analysis
// shows each case in turn; afterwards a caller shows again the one it wants.
ExportResult WriteProjectTables(ProjectAnalysis& analysis, TableFormat format,
                                const std::string& path);

// The path of envelope table `table` in a CSV folder.
std::string EnvelopeCsvFilePath(const std::string& folder, int table);
