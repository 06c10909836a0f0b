// The springs table: its optional section of the system file and its checks,
// on the sample of a two-span beam on an elastic middle bearing.

#include "FilesTestSupport.h"
#include "model/Checks.h"
#include "model/InputFiles.h"
#include "model/Tables.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <tuple>

namespace {

const std::string kSample = std::string(BALKOR_SOURCE_DIR) + "/examples/federn.bsy";
const std::string kSampleSpring = "    1 2 2 1.50000000000000e+03 0.00000000000000e+00 ";

// The sample passes the checks and writes back byte for byte, its springs the
// last section; without springs (a cleared row is none) the file is what it
// was before there were springs, and reads back without any.
TEST(SpringsFile, SectionAfterTheHingesOnlyWithSpringsAndReadBack) {
    InputModel m;
    ASSERT_TRUE(LoadSystemFile(m, kSample));
    ASSERT_TRUE(LoadLoadCaseFile(m, std::string(BALKOR_SOURCE_DIR) + "/examples/federn.bld"));
    EXPECT_TRUE(CheckSystem(m).ok && CheckLoads(m).ok);
    const std::string sample = ReadBytes(kSample);
    const std::string section = Crlf("SPRINGS\n1\n" + kSampleSpring + "0.00000000000000e+00\n\n");
    ASSERT_TRUE(sample.ends_with(Crlf("HINGES\n0\n\n") + section));
    const std::string withoutSprings = sample.substr(0, sample.size() - section.size());
    TempDir dir;
    ASSERT_TRUE(SaveSystemFile(m, dir.File("a.bsy")));
    EXPECT_EQ(ReadBytes(dir.File("a.bsy")), sample);

    m.springs.RowRecord(0)->kRy = 0.1;
    ASSERT_TRUE(SaveSystemFile(m, dir.File("a.bsy")));
    EXPECT_EQ(ReadBytes(dir.File("a.bsy")),
              withoutSprings + Crlf("SPRINGS\n1\n" + kSampleSpring + "1.00000000000000e-01\n\n"));
    ASSERT_TRUE(LoadSystemFile(m, dir.File("a.bsy")));
    const SpringRec& s = *m.springs.RowRecord(0);
    EXPECT_EQ(std::tuple(s.flag, s.from, s.to, s.kz, s.kRx, s.kRy),
              std::tuple(kFlagFile, 2, 2, 1500.0, 0.0, 0.1));

    m.springs.RowRecord(0)->flag = 0;
    m.springs.InvalidateIndex();
    ASSERT_TRUE(SaveSystemFile(m, dir.File("b.bsy")));
    EXPECT_EQ(ReadBytes(dir.File("b.bsy")), withoutSprings);
    ASSERT_TRUE(LoadSystemFile(m, dir.File("a.bsy")));
    ASSERT_TRUE(LoadSystemFile(m, dir.File("b.bsy")));
    EXPECT_EQ(m.springs.ValidCount(), 0);
    EXPECT_EQ(m.nodes.ValidCount(), 3);
}

TEST(SpringsTable, VonRaisesASmallerBisAsInTheLoadTables) {
    InputModel m;
    ValidRecord(m.springs, 0);
    const int32_t from = 7, to = 3;
    m.springs.StoreValue(0, 1, &to);
    m.springs.StoreValue(0, 0, &from);
    EXPECT_EQ(m.springs.RowRecord(0)->to, 7);
}

// Each case puts one spring in row 3 of the sample, whose nodes are 1 to 3.
TEST(SpringsCheck, RangeAndStiffnessesAreExaminedWithTheCursorOnTheCell) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const struct {
        SpringRec spring;
        const char* message; // null: the check passes
        int column;
    } cases[] = {
        {{.from = 1, .to = 3, .kRx = 5.0}, nullptr, 0},
        {{.from = 2, .to = 1, .kz = 1e3}, "Knotenreihenfolge ist falsch", 1},
        {{.from = 1, .to = 4, .kz = 1e3}, "Knoten 4 ist nicht definiert", 1},
        {{.from = 1, .to = 1, .kz = 1e3, .kRx = -1}, "Ungültige Federsteifigkeit !", 4},
        {{.from = 1, .to = 1, .kRy = kInf}, "Ungültige Federsteifigkeit !", 5},
        {{.from = 1, .to = 1, .kz = std::nan("")}, "Ungültige Federsteifigkeit !", 3},
        {{.from = 1, .to = 1}, "Die Feder hat keine Steifigkeit !", 3},
    };
    for (const auto& c : cases) {
        InputModel m;
        ASSERT_TRUE(LoadSystemFile(m, kSample));
        PutRecord(m.springs, 4, c.spring);
        const CheckReport r = CheckSystem(m);
        EXPECT_EQ(r.ok, c.message == nullptr) << &c - cases;
        if (c.message) {
            EXPECT_EQ(
                std::tuple(r.message, r.page, r.row, r.column, r.loadWindow),
                std::tuple(std::string(c.message), std::string("Federn"), 3, c.column, false));
        }
    }
}

} // namespace
