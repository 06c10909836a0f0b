// balkor-batch --csv and --xlsx: the tables hold the numbers of the JSON,
// read back with openpyxl and as plain CSV text.

#include "BatchProcess.h"
#include "batch/BatchOptions.h"
#include "exchange/ExchangeTool.h"
#include "exchange/ProjectTables.h"
#include "exchange/ResultTables.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

namespace {

using Json = nlohmann::json;
using Rows = std::vector<std::vector<Json>>;

// The rows a table should hold, from the JSON (numbers; texts as strings).
Rows ExpectedRows(const Json& json, const std::string& table) {
    Rows rows;
    if (table == "Knotenverschiebung")
        for (const Json& n : json["nodes"])
            rows.push_back({n["node"], n["wz"], n["Rx"], n["Ry"]});
    if (table == "Stabwerte")
        for (const Json& b : json["beams"])
            for (const Json& p : b["points"])
                rows.push_back({b["beam"], p["xi"], p["wz"], p["Q"], p["M"], p["T"]});
    if (table == "Schnittkräfte")
        for (const Json& b : json["beams"])
            for (const char* kind : {"Q", "M", "T"}) {
                const Json& e = b["extrema"][kind];
                rows.push_back({b["beam"], kind, e["max"], e["xiMax"], e["min"], e["xiMin"]});
            }
    if (table == "Auflagerkräfte")
        for (const Json& r : json["reactions"])
            rows.push_back(
                {r["node"], r.contains("spring") ? "Feder" : "Auflager", r["Z"], r["Mx"], r["My"]});
    if (table == "Gelenkverschiebung")
        for (const Json& h : json["hinges"])
            rows.push_back({h["hinge"], h["sideA"], h["sideB"], h["difference"]});
    return rows;
}

// Each table's header is the column names of the results protocol's table
// over the same values: the words of its head line, behind "Stab" for the
// protocol's "Stab Nr." lines and "Art" for its separate lines of supports
// and springs. The beam values join the section forces' head " Xi-Pos  Q  M
// T" and the deflections' "wz".
const struct {
    const char* sheet;
    const char* csv;
    const char* protocolHead;
    const char* added; // the name the table adds, at column `at`
    size_t at;
} kTables[] = {
    {"Knotenverschiebung", "knotenverschiebung.csv", "Knoten      wz         Rx        Ry", "", 0},
    {"Stabwerte", "stabwerte.csv", " Xi-Pos        wz        Q        M        T", "Stab", 0},
    {"Schnittkräfte", "schnittkraefte.csv", "Kraft      Maximum     Xi-Max    Minimum     Xi-Min",
     "Stab", 0},
    {"Auflagerkräfte", "auflagerkraefte.csv", "Knoten       Z          Mx       My", "Art", 1},
    {"Gelenkverschiebung", "gelenkverschiebung.csv", "Gelenk   rechte Seite linke Seite     Gesamt",
     "", 0},
};

// The column names of a head line: words, but "rechte Seite" and "linke
// Seite" are one name each.
template <class Table> std::vector<std::string> HeadNames(const Table& table) {
    std::vector<std::string> names;
    std::istringstream in(table.protocolHead);
    for (std::string word; in >> word;) {
        if (word == "Seite" && !names.empty())
            names.back() += " " + word;
        else
            names.push_back(word);
    }
    if (*table.added)
        names.insert(names.begin() + static_cast<long>(table.at), table.added);
    return names;
}

std::vector<std::string> CsvLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ',');)
        fields.push_back(field);
    return fields;
}

// A CSV field is the JSON's double exactly (all 17 digits); the XLSX holds 16.
void ExpectCell(const Json& expected, const std::string& csv, const Json& xlsx,
                const std::string& where) {
    if (expected.is_string()) {
        EXPECT_EQ(csv, expected.get<std::string>()) << where;
        EXPECT_EQ(xlsx, expected) << where;
        return;
    }
    const double value = expected.get<double>();
    EXPECT_EQ(std::strtod(csv.c_str(), nullptr), value) << where << " csv " << csv;
    EXPECT_NEAR(xlsx.get<double>(), value, 1e-15 * std::max(1.0, std::fabs(value))) << where;
}

// Bridge: hinges of all three kinds; federn: a spring beside the supports.
TEST(SpreadsheetBatch, TablesHoldTheNumbersOfTheJson) {
    for (const char* example : {"bruecke", "federn"}) {
        TempDir dir;
        const ProcessResult r = RunBatchProgram(
            {"-q", Example(std::string(example) + ".bsy"), Example(std::string(example) + ".bld"),
             "--json", dir.Path("r.json"), "--csv", dir.Path("csv"), "--xlsx", dir.Path("r.xlsx")});
        ASSERT_EQ(r.exitCode, kExitOk) << r.err;
        const Json json = Json::parse(ReadFile(dir.Path("r.json")));
        const Json book = ReadBack("read-xlsx", dir.Path("r.xlsx"));
        for (const auto& table : kTables) {
            const Rows expected = ExpectedRows(json, table.sheet);
            const std::vector<std::string> csv =
                CsvLines(ReadFile(dir.Path("csv/" + std::string(table.csv))));
            const Json& sheet = book[table.sheet];
            ASSERT_EQ(csv.size(), expected.size() + 1) << example << " " << table.csv;
            ASSERT_EQ(sheet["rows"].size(), expected.size() + 1) << example << " " << table.sheet;
            const std::vector<std::string> header = HeadNames(table);
            EXPECT_EQ(Fields(csv[0]), header);
            EXPECT_EQ(sheet["rows"][0], Json(header));
            EXPECT_EQ(sheet["frozen"], "A2");
            for (size_t c = 0; c < header.size(); ++c)
                EXPECT_GE(sheet["widths"][c].get<double>(), header[c].size()) << table.sheet;
            for (size_t row = 0; row < expected.size(); ++row) {
                const std::vector<std::string> fields = Fields(csv[row + 1]);
                ASSERT_EQ(fields.size(), expected[row].size());
                for (size_t c = 0; c < fields.size(); ++c)
                    ExpectCell(expected[row][c], fields[c], sheet["rows"][row + 1][c],
                               std::string(example) + " " + table.sheet + " row " +
                                   std::to_string(row + 1));
            }
        }
        // The spring's row is there exactly where the example has springs.
        EXPECT_EQ(ReadFile(dir.Path("csv/auflagerkraefte.csv")).find(",Feder,") !=
                      std::string::npos,
                  std::string(example) == "federn");
    }
}

// Like the JSON, the tables refuse more than 1,000,000 evaluation points
// before anything is written.
TEST(SpreadsheetBatch, TooManyEvaluationPointsWriteNothing) {
    TempDir dir;
    const std::string system = dir.Write(
        "s.bsy", "NODES\n2\n    1 0.0 0.0 1 1 1 0.0\n    2 5.0 0.0 1 1 1 0.0\n\nBEAMS\n1\n"
                 "    1 1 2 1 0.3 1000000\n\nMATERIALS\n1\n    1 2.1e+08 8.1e+07 2.5e-04 "
                 "1.8e-06 1.2e-05\n\nHINGES\n0\n\n");
    for (const char* option : {"--csv", "--xlsx"}) {
        const ProcessResult r = RunBatchProgram(
            {"-q", system, "--results", dir.Path("r.txt"), option, dir.Path("out")});
        EXPECT_EQ(r.exitCode, kExitOutputFile) << option;
        EXPECT_NE(r.err.find("1000001 Auswertungspunkte, höchstens 1000000"), std::string::npos)
            << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir.Path("out"))) << option;
        EXPECT_FALSE(std::filesystem::exists(dir.Path("r.txt"))) << option;
    }
}

size_t Characters(const std::string& utf8) {
    return static_cast<size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// The rows of a sheet after its header whose first cell starts with prefix
// ("LF2 "), without that cell.
Rows CaseRows(const Json& sheet, const std::string& prefix) {
    Rows rows;
    for (size_t r = 1; r < sheet["rows"].size(); ++r) {
        const Json& row = sheet["rows"][r];
        if (row[0].get<std::string>().rfind(prefix, 0) == 0)
            rows.push_back(std::vector<Json>(row.begin() + 1, row.end()));
    }
    return rows;
}

double Sum(const std::vector<std::pair<double, const Rows*>>& terms, size_t row, size_t column) {
    double sum = 0.0;
    for (const auto& [factor, rows] : terms)
        if (factor != 0.0)
            sum += factor * (*rows)[row][column].get<double>();
    return sum;
}

// The example project: every table of a load case once per load case and
// combination, led by "Fall"; the combination's cells are the factored sums
// of its load cases' cells; each envelope extreme is the largest (smallest)
// value of every arrangement its members allow, with that arrangement's
// concurrent values. The CSV files hold the workbook's numbers.
TEST(SpreadsheetBatch, ProjectTablesHoldEveryCaseCombinationAndEnvelope) {
    TempDir dir;
    const ProcessResult r = RunBatchProgram(
        {"-q", Example("bruecke.bpj"), "--csv", dir.Path("csv"), "--xlsx", dir.Path("r.xlsx")});
    ASSERT_EQ(r.exitCode, kExitOk) << r.err;
    const Json book = ReadBack("read-xlsx", dir.Path("r.xlsx"));
    std::vector<ResultTableInfo> infos;
    for (int t = 0; t < kResultTableCount; ++t) {
        infos.push_back(ResultTableInfoOf(t));
        infos.back().columns.insert(infos.back().columns.begin(), "Fall");
    }
    for (int t = 0; t < kEnvelopeTableCount; ++t)
        infos.push_back(EnvelopeTableInfoOf(t));
    ASSERT_EQ(book.size(), infos.size());
    for (const ResultTableInfo& info : infos) {
        const Json& sheet = book[info.name];
        EXPECT_LE(Characters(info.name), 31u) << info.name; // Excel's limit of a sheet name
        EXPECT_EQ(sheet["frozen"], "A2");
        const std::vector<std::string> csv =
            CsvLines(ReadFile(dir.Path("csv/" + std::string(info.fileName))));
        ASSERT_EQ(csv.size(), sheet["rows"].size()) << info.name;
        EXPECT_EQ(Fields(csv[0]),
                  std::vector<std::string>(info.columns.begin(), info.columns.end()));
        for (size_t row = 1; row < csv.size(); ++row) {
            const std::vector<std::string> fields = Fields(csv[row]);
            ASSERT_EQ(fields.size(), info.columns.size()) << info.name << " " << row;
            for (size_t c = 0; c < fields.size(); ++c) {
                const Json& cell = sheet["rows"][row][c];
                if (cell.is_number()) {
                    EXPECT_NEAR(std::strtod(fields[c].c_str(), nullptr), cell.get<double>(),
                                1e-15 * std::max(1.0, std::fabs(cell.get<double>())));
                }
            }
        }
    }
    // "GZT Feld 2" = 1.35·LF1 + 1.50·LF2, in every table whose values add up.
    for (const char* table :
         {"Knotenverschiebung", "Stabwerte", "Auflagerkräfte", "Gelenkverschiebung"}) {
        const Json& sheet = book[table];
        const Rows g = CaseRows(sheet, "LF1 "), q = CaseRows(sheet, "LF2 "),
                   k = CaseRows(sheet, "K1 GZT Feld 2");
        ASSERT_FALSE(k.empty()) << table;
        ASSERT_EQ(k.size(), g.size()) << table;
        for (size_t row = 0; row < k.size(); ++row)
            for (size_t c = 0; c < k[row].size(); ++c) {
                if (!k[row][c].is_number() || c == 0 ||
                    (std::string(table) == "Stabwerte" && c == 1))
                    continue; // the numbers and places of the rows
                const double expected = Sum({{1.35, &g}, {1.5, &q}}, row, c);
                EXPECT_NEAR(k[row][c].get<double>(), expected,
                            1e-9 * std::max(1.0, std::fabs(expected)))
                    << table << " row " << row << " column " << c;
            }
    }
    // "Fahrzeug" = 1:1.35/1 + (2|3|4):1.5/0 + 5:1/0: 2 · 4 · 2 arrangements.
    std::vector<Rows> cases;
    for (int lf = 1; lf <= 5; ++lf)
        cases.push_back(CaseRows(book["Stabwerte"], "LF" + std::to_string(lf) + " "));
    std::vector<std::vector<std::pair<double, const Rows*>>> arrangements;
    for (double g : {1.35, 1.0})
        for (int vehicle = 0; vehicle <= 3; ++vehicle)
            for (double rest : {1.0, 0.0})
                arrangements.push_back(
                    {{g, &cases[0]},
                     {vehicle ? 1.5 : 0.0, &cases[static_cast<size_t>(vehicle ? vehicle : 1)]},
                     {rest, &cases[4]}});
    const Rows envelope = CaseRows(book["Umhüllende Stabwerte"], "U1 Fahrzeug");
    ASSERT_EQ(envelope.size(), cases[0].size() * 8);
    const std::vector<std::string> quantities = {"wz", "Q", "M", "T"};
    for (size_t e = 0; e < envelope.size(); ++e) {
        const std::vector<Json>& x = envelope[e];
        const size_t point = e / 8;
        ASSERT_EQ(x[0], cases[0][point][0]);
        ASSERT_EQ(x[1], cases[0][point][1]);
        const bool max = x[2] == "max";
        const size_t q = static_cast<size_t>(
            std::find(quantities.begin(), quantities.end(), x[3].get<std::string>()) -
            quantities.begin());
        ASSERT_LT(q, quantities.size());
        double best = max ? -HUGE_VAL : HUGE_VAL;
        bool concurrent = false;
        for (const auto& terms : arrangements) {
            const double value = Sum(terms, point, 2 + q);
            best = max ? std::max(best, value) : std::min(best, value);
            bool same = true;
            for (size_t c = 0; c < quantities.size(); ++c)
                same = same && std::fabs(Sum(terms, point, 2 + c) - x[4 + c].get<double>()) <=
                                   1e-9 * std::max(1.0, std::fabs(x[4 + c].get<double>()));
            concurrent = concurrent || same;
        }
        EXPECT_NEAR(x[4 + q].get<double>(), best, 1e-9 * std::max(1.0, std::fabs(best)))
            << "row " << e;
        EXPECT_TRUE(concurrent) << "row " << e;
        EXPECT_FALSE(x[8].get<std::string>().empty());
    }
}

// Too many rows of a project's sheets are refused before anything is written.
TEST(SpreadsheetBatch, TooManyRowsOfAProjectWriteNothing) {
    TempDir dir;
    const std::string system = dir.Write(
        "s.bsy", "NODES\n2\n    1 0.0 0.0 1 1 1 0.0\n    2 5.0 0.0 1 1 1 0.0\n\nBEAMS\n1\n"
                 "    1 1 2 1 0.3 600000\n\nMATERIALS\n1\n    1 2.1e+08 8.1e+07 2.5e-04 "
                 "1.8e-06 1.2e-05\n\nHINGES\n0\n\n");
    for (const char* option : {"--csv", "--xlsx"}) {
        const ProcessResult r =
            RunBatchProgram({"-q", system, "--combination", "K=2*1", "--results", dir.Path("r.txt"),
                             option, dir.Path("out")});
        EXPECT_EQ(r.exitCode, kExitOutputFile) << option;
        EXPECT_NE(r.err.find("1200002 Tabellenzeilen, höchstens 1000000"), std::string::npos)
            << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir.Path("out"))) << option;
        EXPECT_FALSE(std::filesystem::exists(dir.Path("r.txt"))) << option;
    }
}

} // namespace
