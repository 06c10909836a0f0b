// A record line numbered outside 1 ... 1,000,000 is skipped on reading; the
// checks report it, so that no load and no part of the system is lost
// without a word.

#include "model/Checks.h"
#include "model/Tables.h"
#include "FilesTestSupport.h"

namespace {

void ReadTables(InputContainer* const* tables, int count, const std::string& text) {
    TextFile file(Crlf(text));
    for (int i = 0; i < count; ++i)
        tables[i]->ReadSection(file.Get());
}

struct NumberCase {
    const char* section;
    const char* page;
    const char* number;
    const char* reported;
};

} // namespace

TEST(RecordNumberCheck, NumbersOutOfRangeAreInputErrors) {
    const NumberCase cases[] = {
        {"NODES", "Knoten", "1000001", "1000001"},
        {"HINGES", "Gelenke", "0", "0"},
        {"NODELOAD", "Knotenlasten", "1000001", "1000001"},
        {"CONSTRAINTLOAD", "Zwangsverformungen", "-3", "-3"},
        {"HINGELOAD", "Gelenklasten", "99999999999999999999", "9223372036854775807"},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.section);
        InputModel m;
        const std::string text = std::string(c.section) + "\n1\n" + c.number + " 1 1 1 1 1 1\n\n";
        ReadTables(m.systemTables, 4, text);
        ReadTables(m.loadTables, 6, text);
        const CheckReport system = CheckSystem(m), loads = CheckLoads(m);
        const CheckReport& report = system.ok ? loads : system;
        ASSERT_FALSE(report.ok);
        EXPECT_EQ(report.message, "Ungültige Satznummer " + std::string(c.reported) +
                                      " in der Datei (1 bis 1000000) !");
        EXPECT_EQ(report.page, c.page);
        EXPECT_EQ(report.row, 0);
        EXPECT_EQ(report.column, 0);
        EXPECT_EQ(report.loadWindow, system.ok);
    }
}

TEST(RecordNumberCheck, ReadingAgainForgetsTheRejectedNumber) {
    InputModel m;
    ReadTables(m.loadTables, 6, "NODELOAD\n1\n1000001 1 1 -10 0 0\n\n");
    EXPECT_FALSE(CheckLoads(m).ok);
    ReadTables(m.loadTables, 6, "NODELOAD\n0\n\n");
    EXPECT_TRUE(CheckLoads(m).ok);
}
