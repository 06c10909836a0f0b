#include "batch/BatchOptions.h"

#include <gtest/gtest.h>

namespace {

struct Parsed {
    bool ok;
    BatchOptions options;
    std::string error;
};

Parsed Parse(std::vector<std::string> args) {
    Parsed p;
    p.ok = ParseBatchArguments(args, p.options, p.error);
    return p;
}

TEST(BatchOptions, FilesAndOptionsInAnyOrder) {
    Parsed p = Parse({"--quiet", "s.bsy", "--results", "r.txt", "l.bld", "--json=r.json",
                      "--input-protocol", "e.txt"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.systemFile, "s.bsy");
    EXPECT_EQ(p.options.loadCaseFile, "l.bld");
    EXPECT_EQ(p.options.resultsFile, "r.txt");
    EXPECT_EQ(p.options.jsonFile, "r.json");
    EXPECT_EQ(p.options.inputProtocolFile, "e.txt");
    EXPECT_TRUE(p.options.quiet);
    EXPECT_FALSE(p.options.NoOutputRequested());
}

TEST(BatchOptions, SystemAloneMeansEmptyLoadCaseAndResultsOnStandardOutput) {
    Parsed p = Parse({"s.bsy"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.options.loadCaseFile, "");
    EXPECT_FALSE(p.options.quiet);
    EXPECT_TRUE(p.options.NoOutputRequested());
}

TEST(BatchOptions, DoubleDashEndsTheOptions) {
    Parsed p = Parse({"--", "--odd-name.bsy", "-q"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.systemFile, "--odd-name.bsy");
    EXPECT_EQ(p.options.loadCaseFile, "-q");
    EXPECT_FALSE(p.options.quiet);
}

TEST(BatchOptions, HelpWinsOverEverythingElse) {
    Parsed p = Parse({"--bogus", "--help"});
    EXPECT_FALSE(p.ok); // the unknown option comes first
    p = Parse({"--help", "--bogus"});
    EXPECT_TRUE(p.ok);
    EXPECT_TRUE(p.options.help);
}

TEST(BatchOptions, BadCommandLinesAreRefusedWithAMessage) {
    struct Case {
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        {{}, "Keine Systemdatei angegeben"},
        {{"--quiet"}, "Keine Systemdatei angegeben"},
        {{"s.bsy", "--verbose"}, "Unbekannte Option: --verbose"},
        {{"s.bsy", "-x"}, "Unbekannte Option: -x"},
        {{"s.bsy", "--results"}, "Option --results verlangt einen Dateinamen"},
        {{"s.bsy", "--json="}, "Option --json verlangt einen Dateinamen"},
        {{"s.bsy", "--quiet=1"}, "Unbekannte Option: --quiet=1"},
        {{"p.bpj", "x.bld"}, "Zu viele Argumente: x.bld (mit PROJEKT.bpj keine weiteren Dateien)"},
        {{"s.bsy", "--json", "a", "--json", "b"}, "Option --json ist mehrfach angegeben"},
        {{""}, "Leerer Dateiname"},
    };
    for (const Case& c : cases) {
        Parsed p = Parse(c.args);
        EXPECT_FALSE(p.ok) << c.error;
        EXPECT_EQ(p.error, c.error);
    }
}

// The tables and drawings of several load cases are written, not refused.
TEST(BatchOptions, SpreadsheetsAndDrawingsOfSeveralLoadCases) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"s.bsy", "a.bld", "b.bld", "--xlsx", "r.xlsx"},
          std::vector<std::string>{"p.bpj", "--dxf", "d.dxf", "--csv", "t"}}) {
        const Parsed p = Parse(args);
        ASSERT_TRUE(p.ok) << p.error;
        EXPECT_TRUE(p.options.SeveralCases());
        EXPECT_TRUE(p.options.SpreadsheetRequested());
    }
}

TEST(BatchOptions, UsageNamesEveryOptionAndExitCode) {
    std::string usage = BatchUsage();
    for (const char* option : {"--input-protocol", "--results", "--json", "--quiet", "--help",
                               "--svg", "--view", "--show", "--size", "--settings"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    for (int code = kExitOk; code <= kExitAnalysisFailed; ++code)
        EXPECT_NE(usage.find("  " + std::to_string(code) + "  "), std::string::npos) << code;
    for (const SceneTabInfo& tab : kSceneTabs)
        EXPECT_NE(usage.find(tab.name), std::string::npos) << tab.name;
    for (const DisplayToggle& toggle : kDisplayToggles)
        EXPECT_NE(usage.find(toggle.hint), std::string::npos) << toggle.hint;
}

// Each --svg starts a picture; the picture options after it belong to it.
TEST(BatchOptions, PicturesTakeTheOptionsThatFollowThem) {
    Parsed p =
        Parse({"s.bsy", "--svg", "a.svg", "--svg=b.svg", "--view", "Biegemoment", "--show",
               "Knotennummern,-Wertangaben,+Auflagerkräfte", "--size=640x480", "l.bld", "--svg",
               "c.svg", "--show=-Belastung", "--show", "Belastung", "--settings", "x.dat"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.loadCaseFile, "l.bld");
    EXPECT_EQ(p.options.settingsFile, "x.dat");
    EXPECT_FALSE(p.options.NoOutputRequested()) << "no results protocol on standard output";
    ASSERT_EQ(p.options.pictures.size(), 3u);
    const SvgPicture& a = p.options.pictures[0];
    EXPECT_EQ(a.file, "a.svg");
    EXPECT_EQ(a.tab, kTabGeometrie);
    EXPECT_EQ(a.Flags(), kInitialDisplayFlags);
    EXPECT_EQ(a.width, 1200);
    EXPECT_EQ(a.height, 800);
    const SvgPicture& b = p.options.pictures[1];
    EXPECT_EQ(b.tab, kTabBiegemoment);
    EXPECT_EQ(b.Flags(),
              (NewWindowFlags(kTabBiegemoment) | ShowNodeNumbers | ShowReactions) & ~ShowValues);
    EXPECT_EQ(b.width, 640);
    EXPECT_EQ(b.height, 480);
    EXPECT_EQ(p.options.pictures[2].Flags(), kInitialDisplayFlags); // the later entry wins
}

TEST(BatchOptions, BadPictureOptionsAreRefusedWithAMessage) {
    struct Case {
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        {{"s.bsy", "--view", "Querkraft"},
         "Option --view gehört zu einem Bild: zuerst --svg DATEI angeben"},
        {{"s.bsy", "--svg"}, "Option --svg verlangt einen Dateinamen"},
        {{"s.bsy", "--svg", "a", "--view"}, "Option --view verlangt eine Ansicht"},
        {{"s.bsy", "--svg", "a", "--view", "Moment"},
         "Unbekannte Ansicht: Moment (Geometrie, Biegelinie, Querkraft, Biegemoment, "
         "Torsionsmoment)"},
        {{"s.bsy", "--svg", "a", "--view", "Querkraft", "--view", "Querkraft"},
         "Option --view ist für ein Bild mehrfach angegeben"},
        {{"s.bsy", "--svg", "a", "--show", "Knotennummern,,Stabnummern"},
         "Unbekannter Schalter: \"\" (Achsenkreuz, Knotennummern, Stabnummern, Gelenknummern, "
         "Materialnummern, Wertangaben, Funktionsextrema, Belastung, Auflager, Auflagerkräfte)"},
        {{"s.bsy", "--svg", "a", "--show=knotennummern"},
         "Unbekannter Schalter: knotennummern (Achsenkreuz, Knotennummern, Stabnummern, "
         "Gelenknummern, Materialnummern, Wertangaben, Funktionsextrema, Belastung, Auflager, "
         "Auflagerkräfte)"},
        {{"s.bsy", "--svg", "a", "--size", "1200"},
         "Ungültige Bildgröße: 1200 (BREITExHÖHE in Bildpunkten, 1 bis 100000, z. B. 1200x800)"},
        {{"s.bsy", "--svg", "a", "--size", "0x800"},
         "Ungültige Bildgröße: 0x800 (BREITExHÖHE in Bildpunkten, 1 bis 100000, z. B. 1200x800)"},
        {{"s.bsy", "--svg", "a", "--size", "-5x800"},
         "Ungültige Bildgröße: -5x800 (BREITExHÖHE in Bildpunkten, 1 bis 100000, z. B. "
         "1200x800)"},
        {{"s.bsy", "--svg", "a", "--size", "100x99999999999"},
         "Ungültige Bildgröße: 100x99999999999 (BREITExHÖHE in Bildpunkten, 1 bis 100000, z. B. "
         "1200x800)"},
        {{"s.bsy", "--svg", "a", "--size", "640x480", "--size", "640x480"},
         "Option --size ist für ein Bild mehrfach angegeben"},
        {{"s.bsy", "--settings", "a", "--settings", "b"},
         "Option --settings ist mehrfach angegeben"},
    };
    for (const Case& c : cases) {
        Parsed p = Parse(c.args);
        EXPECT_FALSE(p.ok) << c.error;
        EXPECT_EQ(p.error, c.error);
    }
}

} // namespace
