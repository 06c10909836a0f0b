// balkor-batch as a process: arguments, outputs and every failure with its
// message and exit code.

#include "BatchProcess.h"
#include "batch/BatchOptions.h"
#include "support/ScopedEnvironment.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A system of two nodes and one beam between them.
std::string SystemFile(const std::string& nodes, const std::string& beams) {
    return "NODES\n" + nodes + "\nBEAMS\n" + beams +
           "\nMATERIALS\n1\n    1 2.1e+08 8.1e+07 2.5e-04 1.8e-06 1.2e-05\n\nHINGES\n0\n\n";
}

const std::string kTwoSupportedNodes = "2\n"
                                       "    1 0.0 0.0 1 1 0 0.0\n"
                                       "    2 6.0 0.0 1 1 0 0.0\n";

TEST(BatchProgram, HelpPrintsUsageAndExitCodes) {
    ProcessResult r = RunBatchProgram({"--help"});
    EXPECT_EQ(r.exitCode, kExitOk);
    EXPECT_TRUE(StartsWith(r.out, "Aufruf: balkor-batch SYSTEM.bsy [LASTFALL.bld]"));
    EXPECT_TRUE(Contains(r.out, "  8  Ausgabedatei kann nicht geschrieben werden"));
    EXPECT_EQ(r.err, "");
}

TEST(BatchProgram, BadArgumentsGiveTheMessageAndUsageWithCode2) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "balkor-batch: Keine Systemdatei angegeben\n"},
        {{"a.bsy", "--frobnicate"}, "balkor-batch: Unbekannte Option: --frobnicate\n"},
        {{"a.bsy", "--json"}, "balkor-batch: Option --json verlangt einen Dateinamen\n"},
        {{"a.bpj", "c.bld"},
         "balkor-batch: Zu viele Argumente: c.bld (mit PROJEKT.bpj keine weiteren Dateien)\n"},
    };
    for (const auto& [args, message] : cases) {
        ProcessResult r = RunBatchProgram(args);
        EXPECT_EQ(r.exitCode, kExitUsage) << message;
        EXPECT_TRUE(StartsWith(r.err, message)) << r.err;
        EXPECT_TRUE(Contains(r.err, "Aufruf: balkor-batch")) << message;
        EXPECT_EQ(r.out, "");
    }
}

TEST(BatchProgram, ExamplesRunAndPrintTheResultsProtocol) {
    for (const char* name : {"beispiel", "zweifeld", "bruecke"}) {
        const std::string base = name;
        ProcessResult r = RunBatchProgram({Example(base + ".bsy"), Example(base + ".bld")});
        EXPECT_EQ(r.exitCode, kExitOk) << name << "\n" << r.err;
        EXPECT_TRUE(StartsWith(r.out, "Balkor - Ausdruck der Ergebnisse\n\n")) << name;
        EXPECT_TRUE(Contains(r.out, "System  : " + Example(base + ".bsy") + "\n")) << name;
        EXPECT_TRUE(Contains(r.out, "Lastfall: " + Example(base + ".bld") + "\n")) << name;
        EXPECT_TRUE(StartsWith(r.err, "Berechnung: Elementverteilung\n")) << name;
        EXPECT_TRUE(Contains(r.err, "Berechnung: Auswertung\n")) << name;
        EXPECT_TRUE(Contains(r.err, "Anzahl der Freiheitsgrade:")) << name;
        // The last counter is the profile's or the sparse factor's.
        EXPECT_TRUE(Contains(r.err, "Bandbreite:") ||
                    Contains(r.err, "Nichtnullelemente des Faktors:"))
            << name;
    }
}

// The counter lines end a run with the solver's own figures, all values in
// one column after the longest caption. One beam between two nodes fixed in
// wz and Rx leaves the two rotations Ry: 6 degrees of freedom, 4 fixed, and
// a full 2 × 2 factor with 3 non-zeros.
TEST(BatchProgram, CounterLinesNameTheFiguresOfTheSolver) {
    TempDir dir;
    const std::string system =
        dir.Write("s.bsy", SystemFile(kTwoSupportedNodes, "1\n    1 1 2 1 0.3 5\n"));
    const struct {
        const char* solver;
        std::vector<std::string> captions;
        size_t column;
        const char* lastLine; // "" where the value is not checked
    } rows[] = {
        {"profile", {"Speicherbedarf in Byte:", "Bandbreite:"}, 28, ""},
        {"sparse",
         {"Speicher des Faktors in Byte:", "Nichtnullelemente des Faktors:"},
         31,
         "Nichtnullelemente des Faktors: 3"},
    };
    for (const auto& row : rows) {
        ScopedEnvironment environment;
        environment.Set("BALKOR_SOLVER", row.solver);
        const ProcessResult r = RunBatchProgram({"--results", dir.Path("r.txt"), system});
        ASSERT_EQ(r.exitCode, kExitOk) << r.err;
        const size_t start = r.err.find("Anzahl der Knoten:");
        ASSERT_NE(start, std::string::npos) << r.err;
        std::vector<std::string> lines;
        std::istringstream block(r.err.substr(start));
        for (std::string line; std::getline(block, line);)
            lines.push_back(line);
        ASSERT_EQ(lines.size(), 6u) << r.err;
        EXPECT_EQ(lines[2], "Anzahl der Freiheitsgrade:" + std::string(row.column - 26, ' ') + "6");
        EXPECT_EQ(lines[3],
                  "Anzahl der Randbedingungen:" + std::string(row.column - 27, ' ') + "4");
        for (size_t i = 0; i < 2; ++i) {
            const std::string& line = lines[4 + i];
            EXPECT_TRUE(StartsWith(line, row.captions[i])) << line;
            EXPECT_EQ(line.find_first_not_of(' ', row.captions[i].size()), row.column) << line;
        }
        if (*row.lastLine)
            EXPECT_EQ(lines[5], row.lastLine);
    }
}

TEST(BatchProgram, QuietKeepsStandardErrorEmpty) {
    ProcessResult r =
        RunBatchProgram({"--quiet", Example("zweifeld.bsy"), Example("zweifeld.bld")});
    EXPECT_EQ(r.exitCode, kExitOk);
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(StartsWith(r.out, "Balkor - Ausdruck der Ergebnisse"));
}

TEST(BatchProgram, OutputOptionsWriteTheirFilesAndNothingToStandardOutput) {
    TempDir dir;
    ProcessResult r =
        RunBatchProgram({"-q", Example("bruecke.bsy"), Example("bruecke.bld"), "--input-protocol",
                         dir.Path("eingabe.txt"), "--results=" + dir.Path("ergebnis.txt"), "--json",
                         dir.Path("ergebnis.json")});
    EXPECT_EQ(r.exitCode, kExitOk) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(
        StartsWith(ReadFile(dir.Path("eingabe.txt")), "Balkor - Ausdruck der Eingabewerte"));
    EXPECT_TRUE(StartsWith(ReadFile(dir.Path("ergebnis.txt")), "Balkor - Ausdruck der Ergebnisse"));
    EXPECT_TRUE(
        StartsWith(ReadFile(dir.Path("ergebnis.json")), "{\n  \"format\": \"balkor-results\""));
}

TEST(BatchProgram, DashWritesToStandardOutput) {
    ProcessResult r = RunBatchProgram({"-q", Example("zweifeld.bsy"), "--input-protocol", "-"});
    EXPECT_EQ(r.exitCode, kExitOk);
    EXPECT_TRUE(StartsWith(r.out, "Balkor - Ausdruck der Eingabewerte"));
    EXPECT_FALSE(Contains(r.out, "Ausdruck der Ergebnisse"));
}

TEST(BatchProgram, UnreadableFilesHaveTheirOwnMessagesAndCodes) {
    TempDir dir;
    ProcessResult r = RunBatchProgram({dir.Path("fehlt.bsy")});
    EXPECT_EQ(r.exitCode, kExitSystemFile);
    EXPECT_EQ(r.err, "Fehler beim öffnen der Systemdatei: " + dir.Path("fehlt.bsy") + "\n");
    EXPECT_EQ(r.out, "");

    r = RunBatchProgram({Example("zweifeld.bsy"), dir.Path("fehlt.bld")});
    EXPECT_EQ(r.exitCode, kExitLoadCaseFile);
    EXPECT_EQ(r.err, "Fehler beim öffnen der Lastdatei: " + dir.Path("fehlt.bld") + "\n");
}

TEST(BatchProgram, PlausibilityErrorsNameMessagePageRowAndColumn) {
    TempDir dir;
    // Beam 3 ends at node 9, which does not exist.
    std::string system = dir.Write("s.bsy", SystemFile(kTwoSupportedNodes,
                                                       "3\n    1 1 2 1 0.3 5\n    2 2 1 1 0.3 5\n"
                                                       "    3 1 9 1 0.3 5\n"));
    ProcessResult r = RunBatchProgram({system});
    EXPECT_EQ(r.exitCode, kExitInputError);
    EXPECT_EQ(r.err, "Eingabefehler: Der zweite Knoten ist nicht definiert ! (Seite \"Stäbe\", "
                     "Zeile 3, Spalte 2)\n");

    system = dir.Write("t.bsy", SystemFile(kTwoSupportedNodes, "1\n    1 1 2 1 0.3 5\n"));
    std::string loads = dir.Write("t.bld", "POINTLOAD\n1\n    1 1 1.5 10.0 0.0 0.0\n");
    r = RunBatchProgram({system, loads});
    EXPECT_EQ(r.exitCode, kExitInputError);
    EXPECT_EQ(r.err, "Eingabefehler: Die X-Position ist nur gültig für Werte zwischen 0 und 1 ! "
                     "(Seite \"Einzellasten\", Zeile 1, Spalte 2)\n");
}

TEST(BatchProgram, ContradictionAndSingularSystemAreCalculationErrors) {
    TempDir dir;
    // A constrained deflection on a node whose deflection a support holds.
    std::string loads = dir.Write("w.bld", "CONSTRAINTLOAD\n1\n    1 2 2 0.01 0.0 0.0\n");
    ProcessResult r = RunBatchProgram({"-q", Example("zweifeld.bsy"), loads});
    EXPECT_EQ(r.exitCode, kExitContradiction);
    EXPECT_EQ(r.err, "Berechnungsfehler: Wiederspruch in der Randbedingungen\n");

    // A beam without any support.
    std::string system = dir.Write("frei.bsy", SystemFile("2\n    1 0.0 0.0 0 0 0 0.0\n"
                                                          "    2 6.0 0.0 0 0 0 0.0\n",
                                                          "1\n    1 1 2 1 0.3 5\n"));
    r = RunBatchProgram({system});
    EXPECT_EQ(r.exitCode, kExitSingular);
    EXPECT_TRUE(Contains(r.err, "Fehler in Stufe: Gleichungslösung\n")) << r.err;
    EXPECT_TRUE(Contains(r.err, "Berechnungsfehler: Singuläre Steifigkeitsmatrix !\n"
                                "Möglicherweise liegt verschiebliches System vor\n"));
    // The counters of the failed run follow, whichever solver ran.
    const size_t nodes = r.err.find("Anzahl der Knoten:");
    ASSERT_NE(nodes, std::string::npos) << r.err;
    EXPECT_EQ(r.err.substr(r.err.find_first_not_of(' ', nodes + 18), 2), "2\n") << r.err;
    EXPECT_EQ(r.out, "");
}

// Loads near the largest double overflow inside the solution: a failed
// analysis, never a protocol of nan.
TEST(BatchProgram, AnOverflowingSolutionIsAFailedAnalysis) {
    TempDir dir;
    std::string loads = dir.Write("gross.bld", "BEAMLOAD\n1\n    1 1 2 1e308 1e308 0.0 0.0\n");
    ProcessResult r = RunBatchProgram({"-q", Example("zweifeld.bsy"), loads});
    EXPECT_EQ(r.exitCode, kExitAnalysisFailed);
    EXPECT_TRUE(Contains(r.err, "Berechnungsfehler: Überlauf in der Berechnung")) << r.err;
    EXPECT_EQ(r.out, "");
}

TEST(BatchProgram, InputProtocolIsWrittenEvenWhenTheCalculationFails) {
    TempDir dir;
    std::string system = dir.Write("frei.bsy", SystemFile("2\n    1 0.0 0.0 0 0 0 0.0\n"
                                                          "    2 6.0 0.0 0 0 0 0.0\n",
                                                          "1\n    1 1 2 1 0.3 5\n"));
    ProcessResult r = RunBatchProgram(
        {"-q", system, "--input-protocol", dir.Path("e.txt"), "--results", dir.Path("r.txt")});
    EXPECT_EQ(r.exitCode, kExitSingular);
    EXPECT_TRUE(Contains(ReadFile(dir.Path("e.txt")), "System  : " + system + "\n"));
    EXPECT_FALSE(std::filesystem::exists(dir.Path("r.txt")));
}

TEST(BatchProgram, OutputThatCannotBeWrittenEndsWithCode8) {
    TempDir dir;
    const std::string missing = dir.Path("fehlt/r.txt");
    ProcessResult r = RunBatchProgram({"-q", Example("zweifeld.bsy"), "--results", missing});
    EXPECT_EQ(r.exitCode, kExitOutputFile);
    EXPECT_EQ(r.err, "Fehler bei öffnen der Ausdruckdatei: " + missing + "\n");

    if (std::filesystem::exists("/dev/full")) {
        r = RunBatchProgram({"-q", Example("zweifeld.bsy"), "--json", "/dev/full"});
        EXPECT_EQ(r.exitCode, kExitOutputFile);
        EXPECT_EQ(r.err, "Fehler beim Schreiben der Ausdruckdatei: /dev/full\n");
    }
}

TEST(BatchProgram, JsonRefusesAbsurdIntervalCountsInsteadOfExhaustingMemory) {
    TempDir dir;
    std::string system =
        dir.Write("viel.bsy", SystemFile(kTwoSupportedNodes, "1\n    1 1 2 1 0.3 2000000000\n"));
    ProcessResult r = RunBatchProgram({"-q", system, "--json", dir.Path("r.json")});
    EXPECT_EQ(r.exitCode, kExitOutputFile);
    EXPECT_EQ(r.err, "Fehler beim Schreiben der Ausdruckdatei: " + dir.Path("r.json") +
                         " (2000000001 Auswertungspunkte, höchstens 1000000)\n");
    EXPECT_FALSE(std::filesystem::exists(dir.Path("r.json")));
}

// Mended: the header showed only the file name. It shows the path as given,
// made absolute, so a protocol names the very file it was made from.
TEST(BatchProgram, HeaderShowsTheAbsolutePathOfARelativeArgument) {
    namespace fs = std::filesystem;
    const fs::path system = fs::relative(Example("zweifeld.bsy"));
    ASSERT_TRUE(system.is_relative());
    ProcessResult r = RunBatchProgram({"-q", system.string(), "--input-protocol", "-"});
    EXPECT_EQ(r.exitCode, kExitOk) << r.err;
    const std::string absolute = (fs::current_path() / system).lexically_normal().string();
    EXPECT_EQ(absolute, fs::path(Example("zweifeld.bsy")).lexically_normal().string());
    EXPECT_TRUE(Contains(r.out, "System  : " + absolute + "\nLastfall: \n")) << r.out;
}

// Mended: a swapped or binary file ran as an empty analysis with exit code 0
// and no word. The run stays as it was, with a warning.
TEST(BatchProgram, FileWithoutAnySectionOfItsKindIsWarnedAbout) {
    TempDir dir;
    const std::string binary = dir.Write("bild.bsy", std::string("\x89PNG\r\n\x1a\n\0\0", 10));
    ProcessResult r = RunBatchProgram({"-q", Example("zweifeld.bld"), Example("zweifeld.bsy")});
    EXPECT_EQ(r.exitCode, kExitOk);
    EXPECT_EQ(r.err, "Warnung: Die Systemdatei enthält keinen der Abschnitte NODES, BEAMS, "
                     "MATERIALS, HINGES: " +
                         Example("zweifeld.bld") +
                         "\nWarnung: Die Lastdatei enthält keinen der Abschnitte NODELOAD, "
                         "BEAMLOAD, POINTLOAD, CONSTRAINTLOAD, TEMPERATURELOAD, HINGELOAD: " +
                         Example("zweifeld.bsy") + "\n");
    r = RunBatchProgram({"-q", binary});
    EXPECT_EQ(r.exitCode, kExitOk);
    EXPECT_TRUE(StartsWith(r.err, "Warnung: Die Systemdatei enthält keinen der Abschnitte"));
    // One section is enough; an empty load case has no file to warn about.
    const std::string nodesOnly = dir.Write("knoten.bsy", "NODES\n0\n\n");
    r = RunBatchProgram({"-q", nodesOnly});
    EXPECT_EQ(r.exitCode, kExitOk);
    EXPECT_EQ(r.err, "");
}

// Mended: balkor-batch /dev/zero never ended, and a named pipe blocked it.
TEST(BatchProgram, DevicesAndPipesCannotBeOpened) {
    TempDir dir;
    ProcessResult r = RunBatchProgram({"-q", "/dev/zero"});
    EXPECT_EQ(r.exitCode, kExitSystemFile);
    EXPECT_EQ(r.err, "Fehler beim öffnen der Systemdatei: /dev/zero\n");
    const std::string fifo = dir.Path("lasten.bld");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    r = RunBatchProgram({"-q", Example("zweifeld.bsy"), fifo});
    EXPECT_EQ(r.exitCode, kExitLoadCaseFile);
    EXPECT_EQ(r.err, "Fehler beim öffnen der Lastdatei: " + fifo + "\n");
}

// Mended: a beam with 2147483647 intervals started a results protocol of over
// 100 GB. Every limit is checked before any output is written.
TEST(BatchProgram, TooLargeResultsProtocolIsRefusedBeforeAnyOutput) {
    TempDir dir;
    std::string system =
        dir.Write("viel.bsy", SystemFile(kTwoSupportedNodes, "1\n    1 1 2 1 0.3 2147483647\n"));
    ProcessResult r = RunBatchProgram(
        {"-q", system, "--input-protocol", dir.Path("e.txt"), "--results", dir.Path("r.txt")});
    EXPECT_EQ(r.exitCode, kExitOutputFile);
    EXPECT_EQ(r.err, "Fehler beim Schreiben der Ausdruckdatei: " + dir.Path("r.txt") +
                         ": Das Ergebnisprotokoll wäre mit 4294967294 Auswertungszeilen zu groß "
                         "(höchstens 10000000); bitte die Intervalle der Stäbe verringern\n");
    EXPECT_FALSE(std::filesystem::exists(dir.Path("e.txt")));
    EXPECT_FALSE(std::filesystem::exists(dir.Path("r.txt")));
    // The default output, standard output, is refused the same way.
    r = RunBatchProgram({"-q", system});
    EXPECT_EQ(r.exitCode, kExitOutputFile);
    EXPECT_TRUE(StartsWith(r.err, "Fehler beim Schreiben der Ausdruckdatei: Standardausgabe: "));
    EXPECT_EQ(r.out, "");
    // The JSON limit, too, comes before the input protocol.
    r = RunBatchProgram(
        {"-q", system, "--input-protocol", dir.Path("e.txt"), "--json", dir.Path("r.json")});
    EXPECT_EQ(r.exitCode, kExitOutputFile);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("e.txt")));
}

// Mended: protocols were opened with "w", so a write that failed (here: a
// file size limit, as a full disk would) had already emptied the previous
// file. Now it stays until the new one is complete.
TEST(BatchProgram, FailingOutputKeepsThePreviousFile) {
    TempDir dir;
    const std::string results = dir.Write("r.txt", "old results\n");
    rlimit old;
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;                            // the protocol of the bridge is far larger
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN); // the child inherits both
    ::setrlimit(RLIMIT_FSIZE, &small);
    ProcessResult r = RunBatchProgram(
        {"-q", Example("bruecke.bsy"), Example("bruecke.bld"), "--results", results});
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(r.exitCode, kExitOutputFile);
    EXPECT_EQ(r.err, "Fehler beim Schreiben der Ausdruckdatei: " + results + "\n");
    EXPECT_EQ(ReadFile(results), "old results\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path("")), {}), 1);
}

TEST(BatchProgram, OutputThroughAHardLinkReachesEveryName) {
    TempDir dir;
    const std::string results = dir.Write("r.txt", "old results\n");
    ASSERT_EQ(::link(results.c_str(), dir.Path("copy.txt").c_str()), 0);
    ProcessResult r = RunBatchProgram(
        {"-q", Example("zweifeld.bsy"), Example("zweifeld.bld"), "--results", results});
    EXPECT_EQ(r.exitCode, kExitOk) << r.err;
    EXPECT_TRUE(StartsWith(ReadFile(dir.Path("copy.txt")), "Balkor - Ausdruck der Ergebnisse"));
}

} // namespace
