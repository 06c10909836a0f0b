// balkor-batch --csv and --xlsx: the tables hold the numbers of the JSON,
// read back with openpyxl and as plain CSV text.

#include "BatchProcess.h"
#include "batch/BatchOptions.h"
#include "exchange/ExchangeTool.h"

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

const struct {
    const char* sheet;
    const char* csv;
    std::vector<std::string> header;
} kTables[] = {
    {"Knotenverschiebung", "knotenverschiebung.csv", {"Knoten", "wz", "Rx", "Ry"}},
    {"Stabwerte", "stabwerte.csv", {"Stab", "Xi-Pos", "wz", "Q", "M", "T"}},
    {"Schnittkräfte",
     "schnittkraefte.csv",
     {"Stab", "Kraft", "Maximum", "Xi-Max", "Minimum", "Xi-Min"}},
    {"Auflagerkräfte", "auflagerkraefte.csv", {"Knoten", "Art", "Z", "Mx", "My"}},
    {"Gelenkverschiebung",
     "gelenkverschiebung.csv",
     {"Gelenk", "rechte Seite", "linke Seite", "Gesamt"}},
};

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
            EXPECT_EQ(Fields(csv[0]), table.header);
            EXPECT_EQ(sheet["rows"][0], Json(table.header));
            EXPECT_EQ(sheet["frozen"], "A2");
            for (size_t c = 0; c < table.header.size(); ++c)
                EXPECT_GE(sheet["widths"][c].get<double>(), table.header[c].size()) << table.sheet;
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

} // namespace
