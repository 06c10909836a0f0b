#pragma once

#include <span>
#include <string>
#include <vector>

struct InputModel;
class SolutionsCont;

// The results as tables for spreadsheets: the tables of the results protocol
// with its German column names, one row per value set and full doubles.
// CSV files and XLSX workbooks are written from the same rows.
//
// The tables read one solved load case. Where several are exported together
// (load cases, combinations, envelopes), each gets its own set of tables:
// the writers take the table's name from ResultTableInfo and a caller adds
// the case to it.

// One cell: a number, or a text when text is set. A number that is not
// finite stays empty (a hand-made result cannot hold one, but no file shall
// show "nan").
struct ResultCell {
    double number = 0.0;
    const char* text = nullptr;
};

enum ResultTableId {
    kTableNodeDisplacements = 0, // Knotenverschiebung
    kTableBeamPoints,            // the values at the evaluation points of every beam
    kTableExtrema,               // section-force extrema
    kTableReactions,             // reactions and spring forces
    kTableHinges,                // hinge displacements
};
inline constexpr int kResultTableCount = 5;

struct ResultTableInfo {
    const char* name;     // the sheet of a workbook
    const char* fileName; // the CSV file in a folder
    std::vector<const char*> columns;
};
const ResultTableInfo& ResultTableInfoOf(int table);

// Receives the rows of a table in order.
class ResultRowSink {
public:
    virtual ~ResultRowSink() = default;
    virtual void Row(std::span<const ResultCell> cells) = 0;
};

// Sends the rows of one table of a successful run (without the header).
void EmitResultTable(int table, InputModel& input, const SolutionsCont& solutions,
                     ResultRowSink& sink);

// The rows of the largest table, that of the evaluation points: n + 1 for
// every beam of n intervals (at least 1). Checked before anything is written,
// as "intervals" from a file are unlimited; the limit also keeps a table
// within the rows of a worksheet (1,048,576).
long ResultPointRows(InputModel& input);
inline constexpr long kMaxResultPointRows = 1000000;

// The message refusing an export of that many evaluation points:
// "N Auswertungspunkte, höchstens 1000000".
std::string TooManyPointsText(long rows);

// A number as text with all its digits (as "%.17g"), with a point whatever
// the locale; -0 becomes "0".
std::string FullPrecision(double value);
