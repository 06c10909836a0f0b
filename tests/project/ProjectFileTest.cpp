// The project file: written and read back, and the odd files a reader meets.

#include "project/ProjectFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

namespace fs = std::filesystem;

class ProjectFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("balkor-project-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string File(const std::string& name) const { return (dir_ / name).string(); }
    std::string Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(File(name), std::ios::binary) << bytes;
        return File(name);
    }
    std::string Read(const std::string& name) const {
        std::ostringstream text;
        text << std::ifstream(File(name), std::ios::binary).rdbuf();
        return text.str();
    }

    fs::path dir_;
};

ProjectModel Sample(const std::string& folder) {
    ProjectModel p;
    p.systemFile = folder + "/brücke.bsy";
    p.loadCases = {{"Eigengewicht", folder + "/g.bld"},
                   {"Verkehr \"links\"", folder + "/lasten/q 1.bld"}};
    p.combinations = {{"GZT", {1.35, 1.5}}};
    p.envelopes = {{"Umhüllende",
                    {{{{false, 0}}, false, 1.35, 1.0}, {{{false, 1}, {true, 0}}, true, 1.5, 0.0}}}};
    return p;
}

} // namespace

TEST_F(ProjectFileTest, WrittenAndReadBackGivesTheSameProject) {
    const ProjectModel p = Sample(dir_.string());
    ASSERT_TRUE(SaveProjectFile(p, File("p.bpj")));
    // Relative names, CR LF, the 8-bit code page.
    EXPECT_EQ(Read("p.bpj"),
              "SYSTEM\r\n1\r\n    1 \"br\xFC"
              "cke.bsy\"\r\n\r\n"
              "LOADCASES\r\n2\r\n    1 \"Eigengewicht\" \"g.bld\"\r\n"
              "    2 \"Verkehr \"\"links\"\"\" \"lasten/q 1.bld\"\r\n\r\n"
              "COMBINATIONS\r\n1\r\n    1 \"GZT\" \"1.35*1+1.5*2\"\r\n\r\n"
              "ENVELOPES\r\n1\r\n    1 \"Umh\xFCllende\" \"1:1.35/1+(2|C1):1.5/0\"\r\n\r\n");
    ProjectModel back;
    std::string error;
    ASSERT_TRUE(LoadProjectFile(File("p.bpj"), back, error)) << error;
    EXPECT_EQ(back.systemFile, p.systemFile);
    ASSERT_EQ(back.loadCases.size(), 2u);
    EXPECT_EQ(back.loadCases[1].name, p.loadCases[1].name);
    EXPECT_EQ(back.loadCases[1].file, p.loadCases[1].file);
    EXPECT_EQ(back.combinations[0].factors, p.combinations[0].factors);
    EXPECT_EQ(back.envelopes[0].name, "Umhüllende");
    EXPECT_EQ(EnvelopeText(back.envelopes[0]), EnvelopeText(p.envelopes[0]));
    // A second save writes the same bytes.
    const std::string first = Read("p.bpj");
    ASSERT_TRUE(SaveProjectFile(back, File("p.bpj")));
    EXPECT_EQ(Read("p.bpj"), first);
}

TEST_F(ProjectFileTest, OddButReadableFilesRead) {
    // A byte order mark, LF line ends, an unknown section, UTF-8 text, the
    // sections in another order, no combinations.
    Write("p.bpj", "\xEF\xBB\xBFLOADCASES\n1\n    1 \"Schnee ä\" \"s.bld\"\n\nNOTES\n1\nx\n"
                   "SYSTEM\r1\r 1 \"/abs/s.bsy\"\r");
    ProjectModel p;
    std::string error;
    ASSERT_TRUE(LoadProjectFile(File("p.bpj"), p, error)) << error;
    EXPECT_EQ(p.systemFile, "/abs/s.bsy");
    ASSERT_EQ(p.loadCases.size(), 1u);
    EXPECT_EQ(p.loadCases[0].name, "Schnee ä");
    EXPECT_EQ(p.loadCases[0].file, File("s.bld"));
    EXPECT_TRUE(p.combinations.empty());
}

TEST_F(ProjectFileTest, BadFilesAreRefusedWithTheLine) {
    const struct {
        const char* bytes;
        const char* message;
    } cases[] = {
        {"", "Die Projektdatei nennt keine Systemdatei (Abschnitt SYSTEM)"},
        {"SYSTEM\r\n1\r\n    1 \"s.bsy\"\r\n",
         "Die Projektdatei nennt keinen Lastfall (Abschnitt LOADCASES)"},
        {"SYSTEM\r\nx\r\n", "Zeile 2: Anzahl der Datensätze von SYSTEM erwartet"},
        {"SYSTEM\r\n1\r\n    1 s.bsy\r\n",
         "Zeile 3: Datensatz 1 von SYSTEM erwartet: Nummer und 1 Texte in \"\""},
        {"SYSTEM\r\n1\r\n    1 \"s.bsy\"\r\nLOADCASES\r\n999999999\r\n",
         "Zeile 5: Anzahl der Datensätze von LOADCASES erwartet"},
        {"SYSTEM\r\n1\r\n    1 \"s.bsy\"\r\nLOADCASES\r\n2\r\n    1 \"a\" \"a.bld\"\r\n",
         "Zeile 7: Datensatz 2 von LOADCASES fehlt"},
        {"SYSTEM\r\n1\r\n    1 \"s.bsy\"\r\nLOADCASES\r\n1\r\n    2 \"a\" \"a.bld\"\r\n",
         "Zeile 6: Datensatz 1 von LOADCASES erwartet: Nummer und 2 Texte in \"\""},
        {"SYSTEM\r\n1\r\n    1 \"s.bsy\"\r\nLOADCASES\r\n1\r\n    1 \"a\" \"a.bld\"\r\n"
         "COMBINATIONS\r\n1\r\n    1 \"K\" \"1.35*2\"\r\n",
         "Fehler in Kombination 1 an Stelle 6: Lastfall 2 gibt es nicht (1 bis 1): \"1.35*2\""},
    };
    for (const auto& c : cases) {
        const std::string path = Write("bad.bpj", c.bytes);
        ProjectModel p;
        std::string error;
        EXPECT_FALSE(LoadProjectFile(path, p, error)) << c.bytes;
        EXPECT_EQ(error, path + ": " + c.message);
        EXPECT_TRUE(p.loadCases.empty());
    }
    ProjectModel p;
    std::string error;
    EXPECT_FALSE(LoadProjectFile(dir_.string(), p, error));
    EXPECT_EQ(error, "Fehler beim öffnen der Projektdatei: " + dir_.string());
}

// A text whose code-page bytes would read as other UTF-8, or that the code
// page cannot hold, is written as UTF-8 and reads back as it was.
TEST_F(ProjectFileTest, TextsTheCodePageCannotCarryStayUtf8) {
    ProjectModel p = Sample(dir_.string());
    p.loadCases[0].name = "Ã¼ber";       // in Windows-1252 the UTF-8 of "über"
    p.loadCases[1].name = "Last ≥ 5 kN"; // no such character in Windows-1252
    ASSERT_TRUE(SaveProjectFile(p, File("p.bpj")));
    ProjectModel back;
    std::string error;
    ASSERT_TRUE(LoadProjectFile(File("p.bpj"), back, error)) << error;
    EXPECT_EQ(back.loadCases[0].name, p.loadCases[0].name);
    EXPECT_EQ(back.loadCases[1].name, p.loadCases[1].name);
    EXPECT_EQ(back.envelopes[0].name, "Umhüllende");
}

namespace {

ProjectModel WithTraffic(const std::string& folder) {
    ProjectModel p = Sample(folder);
    p.traffic.vehicle = folder + "/fahrzeuge/schwer.bfz";
    p.traffic.lanes = {{{{0, 1.5}, {20, 1.5}}}, {{{0, -0.25}, {10, 0}, {20.5, -1e-3}}}};
    p.traffic.step = 0.1;
    p.traffic.bothDirections = true;
    p.traffic.groupName = "LM 1";
    p.envelopes.push_back({"Mit Verkehr", {{{{false, 0}}, false, 1.35, 1.0}}, {true, 1.5, 0.0}});
    p.envelopes.push_back({"Verkehr allein", {}, {true, 1.0, 0.0}});
    return p;
}

} // namespace

TEST_F(ProjectFileTest, TrafficIsWrittenAfterTheEnvelopesAndReadsBack) {
    const ProjectModel p = WithTraffic(dir_.string());
    ASSERT_TRUE(SaveProjectFile(p, File("p.bpj")));
    const std::string text = Read("p.bpj");
    const std::string tail =
        "ENVELOPES\r\n3\r\n    1 \"Umh\xFCllende\" \"1:1.35/1+(2|C1):1.5/0\"\r\n"
        "    2 \"Mit Verkehr\" \"1:1.35/1+LM 1:1.5/0\"\r\n"
        "    3 \"Verkehr allein\" \"LM 1:1/0\"\r\n\r\n"
        "TRAFFIC\r\n1\r\n    1 \"fahrzeuge/schwer.bfz\" 0.1 1 \"LM 1\"\r\n\r\n"
        "LANES\r\n2\r\n    1 \"0,1.5;20,1.5\"\r\n    2 \"0,-0.25;10,0;20.5,-0.001\"\r\n\r\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    ProjectModel back;
    std::string error;
    ASSERT_TRUE(LoadProjectFile(File("p.bpj"), back, error)) << error;
    EXPECT_EQ(back.traffic.vehicle, p.traffic.vehicle);
    EXPECT_EQ(back.traffic.step, 0.1);
    EXPECT_TRUE(back.traffic.bothDirections);
    EXPECT_EQ(back.traffic.groupName, "LM 1");
    ASSERT_EQ(back.traffic.lanes.size(), 2u);
    EXPECT_EQ(LaneText(back.traffic.lanes[1]), "0,-0.25;10,0;20.5,-0.001");
    ASSERT_EQ(back.envelopes.size(), 3u);
    EXPECT_FALSE(back.envelopes[0].traffic.found);
    EXPECT_TRUE(back.envelopes[1].traffic.found);
    EXPECT_EQ(back.envelopes[1].traffic.sup, 1.5);
    EXPECT_EQ(back.envelopes[1].terms.size(), 1u);
    EXPECT_TRUE(back.envelopes[2].terms.empty());
    EXPECT_EQ(back.envelopes[2].traffic.sup, 1.0);
    ASSERT_TRUE(SaveProjectFile(back, File("p.bpj")));
    EXPECT_EQ(Read("p.bpj"), text);
}

TEST_F(ProjectFileTest, LanesWithoutAVehicleAreKept) {
    ProjectModel p = WithTraffic(dir_.string());
    p.traffic.vehicle.clear();
    p.envelopes.clear();
    ASSERT_TRUE(SaveProjectFile(p, File("p.bpj")));
    ProjectModel back;
    std::string error;
    ASSERT_TRUE(LoadProjectFile(File("p.bpj"), back, error)) << error;
    EXPECT_FALSE(back.traffic.Active());
    ASSERT_EQ(back.traffic.lanes.size(), 2u);
    EXPECT_EQ(LaneText(back.traffic.lanes[0]), "0,1.5;20,1.5");
}

TEST_F(ProjectFileTest, BuiltInVehiclesAndPointLoadsAreNoFiles) {
    for (const char* vehicle : {"LM1-TS1", "point:100.5"}) {
        ProjectModel p = WithTraffic(dir_.string());
        p.traffic.vehicle = vehicle;
        ASSERT_TRUE(SaveProjectFile(p, File("p.bpj")));
        EXPECT_NE(Read("p.bpj").find(std::string("    1 \"") + vehicle + "\" 0.1 1"),
                  std::string::npos);
        ProjectModel back;
        std::string error;
        ASSERT_TRUE(LoadProjectFile(File("p.bpj"), back, error)) << error;
        EXPECT_EQ(back.traffic.vehicle, vehicle);
    }
}

TEST_F(ProjectFileTest, BadTrafficIsRefusedWithTheLine) {
    const std::string head = "SYSTEM\r\n1\r\n    1 \"s.bsy\"\r\nLOADCASES\r\n1\r\n"
                             "    1 \"a\" \"a.bld\"\r\n";            // lines 1 … 6
    const std::string lane = "LANES\r\n1\r\n    1 \"0,0;10,0\"\r\n"; // lines 7 … 9
    const struct {
        std::string bytes;
        const char* message;
    } cases[] = {
        {head + lane, "Zeile 9: Fahrspuren ohne Fahrzeug (Abschnitt TRAFFIC fehlt)"},
        {head + "TRAFFIC\r\n1\r\n    1 \"LM2\" 0.5 0 \"Verkehr\"\r\n",
         "Die Projektdatei nennt keine Fahrspur (Abschnitt LANES)"},
        {head + "TRAFFIC\r\n1\r\n    1 \"LM2\" 0.5 0\r\n" + lane,
         "Zeile 9: Datensatz 1 von TRAFFIC erwartet: Nummer, Fahrzeug in \"\", Schrittweite in "
         "m, beide Richtungen 0 oder 1, Name der Verkehrsgruppe in \"\""},
        {head + "TRAFFIC\r\n1\r\n    1 \"LM2\" 0 0 \"V\"\r\n" + lane,
         "Zeile 9: Schrittweite größer als 0 in m erwartet: 0"},
        {head + "TRAFFIC\r\n1\r\n    1 \"LM2\" 1e999 0 \"V\"\r\n" + lane,
         "Zeile 9: Schrittweite größer als 0 in m erwartet: 1e999"},
        {head + "TRAFFIC\r\n1\r\n    1 \"LM2\" 0.5 2 \"V\"\r\n" + lane,
         "Zeile 9: beide Richtungen 0 oder 1 erwartet: 2"},
        {head + "TRAFFIC\r\n1\r\n    1 \"LM2\" 0.5 0 \"V+W\"\r\n" + lane,
         "Zeile 9: Ungültiger Name der Verkehrsgruppe: \"V+W\" (ohne = + : ( ) | / [ ])"},
        {head + "TRAFFIC\r\n1\r\n    1 \"LM2\" 0.5 0 \"V\"\r\nLANES\r\n1\r\n    1 \"0,0;0,0\"\r\n",
         "Zeile 12: Ungültige Fahrspur: \"0,0;0,0\" (mindestens zwei verschiedene Punkte)"},
        {head +
             "TRAFFIC\r\n1\r\n    1 \"LM2\" 0.5 0 \"V\"\r\nLANES\r\n1\r\n    1 \"0,0;nan,1\"\r\n",
         "Zeile 12: Ungültige Fahrspur bei Zeichen 5: \"0,0;nan,1\" (Punkte x,y in m, durch ; "
         "getrennt, z. B. \"0,1.5;20,1.5\")"},
        // The traffic term of a project without traffic is no member.
        {head + "ENVELOPES\r\n1\r\n    1 \"E\" \"1:1/1+Verkehr:1.5/0\"\r\n",
         "Fehler in Umhüllende 1 an Stelle 7: Nummer Lastfall erwartet: \"1:1/1+Verkehr:1.5/0\""},
        {head + "ENVELOPES\r\n1\r\n    1 \"E\" \"1:1/1+V:1.5\"\r\n" +
             "TRAFFIC\r\n1\r\n    1 \"LM2\" 0.5 0 \"V\"\r\n" + lane,
         "Fehler in Umhüllende 1 an Stelle 9: Ungültige Faktoren SUP/INF der Verkehrsgruppe: "
         "\"1:1/1+V:1.5\""},
    };
    for (const auto& c : cases) {
        const std::string path = Write("bad.bpj", c.bytes);
        ProjectModel p;
        std::string error;
        EXPECT_FALSE(LoadProjectFile(path, p, error)) << c.bytes;
        EXPECT_EQ(error, path + ": " + c.message);
        EXPECT_FALSE(p.traffic.Active());
    }
}
