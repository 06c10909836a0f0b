#include "exchange/SpreadsheetExport.h"

#include "analysis/SolutionsCont.h"
#include "exchange/ResultTables.h"
#include "exchange/XlsxWorkbook.h"
#include "model/SafeFile.h"

#include <cmath>
#include <filesystem>
#include <system_error>

namespace {

constexpr const char* kWriteError = "Fehler beim Schreiben der Ausdruckdatei";
constexpr const char* kOpenError = "Fehler bei öffnen der Ausdruckdatei";
constexpr const char* kNoResults = "Keine Ergebnisse sind vorhanden";

// A field as CSV holds it: quoted, with doubled quotes, when it contains a
// separator, a quote or a line end.
std::string CsvField(const char* text) {
    const std::string field(text);
    if (field.find_first_of(",\"\r\n") == std::string::npos)
        return field;
    std::string quoted = "\"";
    for (char c : field)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string CsvCell(const ResultCell& cell) {
    if (cell.text)
        return CsvField(cell.text);
    return std::isfinite(cell.number) ? FullPrecision(cell.number) : std::string();
}

class CsvSink : public ResultRowSink {
public:
    explicit CsvSink(std::FILE* file) : file_(file) {}

    void Row(std::span<const ResultCell> cells) override {
        line_.clear();
        for (size_t i = 0; i < cells.size(); ++i)
            line_ += (i ? "," : "") + CsvCell(cells[i]);
        line_ += '\n';
        std::fputs(line_.c_str(), file_);
    }
    void Header(const ResultTableInfo& info) {
        line_.clear();
        for (size_t i = 0; i < info.columns.size(); ++i)
            line_ += (i ? "," : "") + CsvField(info.columns[i]);
        line_ += '\n';
        std::fputs(line_.c_str(), file_);
    }

private:
    std::FILE* file_;
    std::string line_;
};

// The checks every export makes before it writes anything.
ExportResult CheckExportable(InputModel& input, const SolutionsCont& solutions,
                             const std::string& path) {
    if (!solutions.resultsValid)
        return {false, kNoResults};
    if (const long rows = ResultPointRows(input); rows > kMaxResultPointRows)
        return RowLimitFailure(path, TooManyPointsText(rows));
    return {};
}

ExportResult WriteFailure(FileWrite result, const std::string& path) {
    return {false,
            std::string(result == FileWrite::kNotOpened ? kOpenError : kWriteError) + ": " + path};
}

class XlsxSink : public ResultRowSink {
public:
    explicit XlsxSink(XlsxSheet& sheet) : sheet_(sheet) {}
    void Row(std::span<const ResultCell> cells) override {
        ++row_;
        for (size_t c = 0; c < cells.size(); ++c) {
            if (cells[c].text)
                sheet_.Text(row_, static_cast<int>(c), cells[c].text);
            else if (std::isfinite(cells[c].number))
                sheet_.Number(row_, static_cast<int>(c), cells[c].number);
        }
    }

private:
    XlsxSheet& sheet_;
    long row_ = 0;
};

} // namespace

std::string CsvFilePath(const std::string& folder, int table) {
    return (std::filesystem::path(folder) / ResultTableInfoOf(table).fileName).string();
}

ExportResult WriteCsvTables(const std::string& folder, const std::vector<ExportTable>& tables) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder, error))
        return {false, "Der Ordner kann nicht angelegt werden: " + folder};
    for (const ExportTable& table : tables) {
        const std::string path = (std::filesystem::path(folder) / table.info.fileName).string();
        const FileWrite result = WriteFileSafely(path, [&](std::FILE* file) {
            CsvSink sink(file);
            sink.Header(table.info);
            table.emit(sink);
            return !std::ferror(file);
        });
        if (result != FileWrite::kDone)
            return WriteFailure(result, path);
    }
    return {};
}

ExportResult WriteXlsxTables(const std::string& path, const std::vector<ExportTable>& tables) {
    XlsxWorkbook workbook;
    if (!workbook.Open())
        return {false, std::string(kWriteError) + ": " + path};
    for (const ExportTable& table : tables) {
        XlsxSheet sheet = workbook.AddSheet(table.info.name, table.info.columns);
        XlsxSink sink(sheet);
        table.emit(sink);
        sheet.FitColumns();
    }
    std::string bytes;
    if (!workbook.Close(bytes))
        return {false, std::string(kWriteError) + ": " + path};
    const FileWrite result = WriteFileSafely(path, [&bytes](std::FILE* file) {
        return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    });
    return result == FileWrite::kDone ? ExportResult{} : WriteFailure(result, path);
}

ExportResult RowLimitFailure(const std::string& path, const std::string& text) {
    return {false, std::string(kWriteError) + ": " + path + " (" + text + ")"};
}

namespace {

std::vector<ExportTable> CaseTables(InputModel& input, const SolutionsCont& solutions) {
    std::vector<ExportTable> tables;
    for (int table = 0; table < kResultTableCount; ++table)
        tables.push_back(
            {ResultTableInfoOf(table), [&input, &solutions, table](ResultRowSink& sink) {
                 EmitResultTable(table, input, solutions, sink);
             }});
    return tables;
}

} // namespace

ExportResult WriteResultsCsv(const std::string& folder, InputModel& input,
                             const SolutionsCont& solutions) {
    if (ExportResult check = CheckExportable(input, solutions, folder); !check.ok)
        return check;
    return WriteCsvTables(folder, CaseTables(input, solutions));
}

ExportResult WriteResultsXlsx(const std::string& path, InputModel& input,
                              const SolutionsCont& solutions) {
    if (ExportResult check = CheckExportable(input, solutions, path); !check.ok)
        return check;
    return WriteXlsxTables(path, CaseTables(input, solutions));
}
