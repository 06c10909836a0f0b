// The springs table: its optional section of the system file and its checks.

#include "FilesTestSupport.h"
#include "model/Checks.h"
#include "model/InputFiles.h"
#include "model/Tables.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

// The system of the file format's example: two nodes, one beam, one type.
void ExampleSystem(InputModel& m) {
    PutRecord(m.nodes, 1, NodeRec{.fixZ = 1, .fixRx = 1, .fixRy = 1});
    PutRecord(m.nodes, 2, NodeRec{.x = 5.0});
    PutRecord(m.beams, 1,
              BeamRec{.start = 1, .end = 2, .section = 1, .intervals = 5, .thickness = 0.3});
    PutRecord(m.mats, 1, MatRec{.E = 2.1e8, .G = 8.1e7, .It = 3e-4, .Iy = 2e-4, .alphaT = 1.2e-5});
}

const char* const kExampleFile =
    "NODES\n2\n"
    "    1 0.00000000000000e+00 0.00000000000000e+00 1 1 1 "
    "0.00000000000000e+00\n"
    "    2 5.00000000000000e+00 0.00000000000000e+00 0 0 0 "
    "0.00000000000000e+00\n\n"
    "BEAMS\n1\n    1 1 2 1 3.000000e-01 5\n\n"
    "MATERIALS\n1\n    1 2.10000000000000e+08 8.10000000000000e+07 "
    "2.00000000000000e-04 3.00000000000000e-04 1.20000000000000e-05\n\n"
    "HINGES\n0\n\n";

TEST(SpringsFile, ASystemWithoutSpringsIsWrittenAsBefore) {
    TempDir dir;
    InputModel m;
    ExampleSystem(m);
    // A cleared spring row is no spring.
    ValidRecord(m.springs, 3).flag = 0;
    m.springs.InvalidateIndex();
    ASSERT_TRUE(SaveSystemFile(m, dir.File("a.bsy")));
    EXPECT_EQ(ReadBytes(dir.File("a.bsy")), Crlf(kExampleFile));
}

TEST(SpringsFile, SpringsFollowTheHingesAndReadBack) {
    TempDir dir;
    InputModel written;
    ExampleSystem(written);
    PutRecord(written.springs, 2, SpringRec{.from = 1, .to = 2, .kz = 1500.0, .kRy = 0.1});
    ASSERT_TRUE(SaveSystemFile(written, dir.File("a.bsy")));
    EXPECT_EQ(ReadBytes(dir.File("a.bsy")),
              Crlf(std::string(kExampleFile) +
                   "SPRINGS\n1\n    2 1 2 1.50000000000000e+03 0.00000000000000e+00 "
                   "1.00000000000000e-01\n\n"));

    InputModel m;
    ASSERT_TRUE(LoadSystemFile(m, dir.File("a.bsy")));
    ASSERT_EQ(m.springs.ValidCount(), 1);
    const SpringRec& spring = *m.springs.RowRecord(1);
    EXPECT_EQ(spring.flag, kFlagFile);
    EXPECT_EQ(spring.from, 1);
    EXPECT_EQ(spring.to, 2);
    EXPECT_EQ(spring.kz, 1500.0);
    EXPECT_EQ(spring.kRx, 0.0);
    EXPECT_EQ(spring.kRy, 0.1);
    // An older file has no such section: no springs, and a new system empties them.
    WriteBytes(dir.File("old.bsy"), Crlf(kExampleFile));
    ASSERT_TRUE(LoadSystemFile(m, dir.File("old.bsy")));
    EXPECT_EQ(m.springs.ValidCount(), 0);
    EXPECT_EQ(m.nodes.ValidCount(), 2);
}

TEST(SpringsTable, VonRaisesASmallerBisAsInTheLoadTables) {
    InputModel m;
    ValidRecord(m.springs, 0);
    const int32_t from = 7, to = 3;
    m.springs.StoreValue(0, 1, &to);
    m.springs.StoreValue(0, 0, &from);
    EXPECT_EQ(m.springs.RowRecord(0)->to, 7);
    const double kRy = 2.5;
    m.springs.StoreValue(0, 4, &kRy);
    EXPECT_EQ(*static_cast<double*>(m.springs.ValuePtr(0, 4)), 2.5);
    EXPECT_EQ(m.springs.ValuePtr(0, 5), nullptr);
}

struct SpringCase {
    const char* name;
    SpringRec spring;
    const char* message; // null: the check passes
    int column;
};

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(SpringsCheck, RangeAndStiffnessesAreExaminedWithTheCursorOnTheCell) {
    const SpringCase cases[] = {
        {"good", {.from = 1, .to = 2, .kz = 1e3}, nullptr, 0},
        {"rotation only", {.from = 2, .to = 2, .kRx = 5.0}, nullptr, 0},
        {"von after bis", {.from = 2, .to = 1, .kz = 1e3}, "Knotenreihenfolge ist falsch", 1},
        {"missing node", {.from = 1, .to = 3, .kz = 1e3}, "Knoten 3 ist nicht definiert", 1},
        {"negative",
         {.from = 1, .to = 1, .kz = 1e3, .kRx = -1.0},
         "Ungültige Federsteifigkeit !",
         4},
        {"infinite", {.from = 1, .to = 1, .kRy = kInf}, "Ungültige Federsteifigkeit !", 5},
        {"not a number",
         {.from = 1, .to = 1, .kz = std::nan("")},
         "Ungültige Federsteifigkeit !",
         3},
        {"no stiffness", {.from = 1, .to = 1}, "Die Feder hat keine Steifigkeit !", 3},
    };
    for (const SpringCase& c : cases) {
        SCOPED_TRACE(c.name);
        InputModel m;
        ExampleSystem(m);
        PutRecord(m.springs, 4, c.spring);
        const CheckReport report = CheckSystem(m);
        EXPECT_EQ(report.ok, c.message == nullptr);
        if (!c.message)
            continue;
        EXPECT_EQ(report.message, c.message);
        EXPECT_EQ(report.page, "Federn");
        EXPECT_EQ(report.row, 3);
        EXPECT_EQ(report.column, c.column);
        EXPECT_FALSE(report.loadWindow);
    }
}

} // namespace

namespace {

// The sample of a beam on an elastic middle bearing reads, passes both
// checks and writes back byte for byte.
TEST(SpringsFile, TheSampleOnAnElasticBearingWritesBackUnchanged) {
    const std::string path = std::string(BALKOR_SOURCE_DIR) + "/examples/federn";
    InputModel m;
    ASSERT_TRUE(LoadSystemFile(m, path + ".bsy"));
    ASSERT_TRUE(LoadLoadCaseFile(m, path + ".bld"));
    EXPECT_EQ(m.springs.ValidCount(), 1);
    EXPECT_TRUE(CheckSystem(m).ok);
    EXPECT_TRUE(CheckLoads(m).ok);
    TempDir dir;
    ASSERT_TRUE(SaveSystemFile(m, dir.File("copy.bsy")));
    EXPECT_EQ(ReadBytes(dir.File("copy.bsy")), ReadBytes(path + ".bsy"));
}

} // namespace
