#pragma once

#include "exchange/ResultTables.h"

#include <functional>
#include <string>
#include <vector>

struct InputModel;
class SolutionsCont;

// The results tables (ResultTables.h) as CSV files in a folder or as one XLSX
// workbook. Both need a successful run and refuse an input of more than
// kMaxResultPointRows evaluation points before anything is written. Every
// file is written with WriteFileSafely, so a failure leaves an earlier file
// as it was.

// The outcome of an export: ok, or the German message of the first fault.
struct ExportResult {
    bool ok = true;
    std::string message;
};

// One CSV file per table in folder, which is made when it does not exist:
// UTF-8, a header row, fields separated by commas, a point as decimal
// separator, numbers with all digits ("%.17g"), lines ended by "\n"; a field
// with a comma, a quote or a line end is quoted.
ExportResult WriteResultsCsv(const std::string& folder, InputModel& input,
                             const SolutionsCont& solutions);

// One workbook with a sheet per table: numbers as numbers, the header row
// bold and frozen, the columns as wide as their widest entry.
ExportResult WriteResultsXlsx(const std::string& path, InputModel& input,
                              const SolutionsCont& solutions);

// The paths of the CSV files in folder, in table order.
std::string CsvFilePath(const std::string& folder, int table);

// The writers under both: tables, each with its sheet and file name, its
// header and the function sending its rows, in that order. They check no
// limit; the caller has checked the rows before.
struct ExportTable {
    ResultTableInfo info;
    std::function<void(ResultRowSink&)> emit;
};
ExportResult WriteCsvTables(const std::string& folder, const std::vector<ExportTable>& tables);
ExportResult WriteXlsxTables(const std::string& path, const std::vector<ExportTable>& tables);

// The refusal of an export of path beyond a limit: "Fehler beim Schreiben der
// Ausdruckdatei: PATH (TEXT)".
ExportResult RowLimitFailure(const std::string& path, const std::string& text);
