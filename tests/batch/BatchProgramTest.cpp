// balkor-batch as a process: arguments, outputs and every failure with its
// message and exit code.

#include "BatchProcess.h"
#include "batch/BatchOptions.h"

#include <filesystem>
#include <gtest/gtest.h>

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
        {{"a.bsy", "b.bld", "c.bld"}, "balkor-batch: Zu viele Argumente: c.bld\n"},
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
        EXPECT_TRUE(Contains(r.out, "System  : " + base + ".bsy\n")) << name;
        EXPECT_TRUE(Contains(r.out, "Lastfall: " + base + ".bld\n")) << name;
        EXPECT_TRUE(StartsWith(r.err, "Berechnung: Elementverteilung\n")) << name;
        EXPECT_TRUE(Contains(r.err, "Berechnung: Auswertung\n")) << name;
        EXPECT_TRUE(Contains(r.err, "Anzahl der Freiheitsgrade:")) << name;
        EXPECT_TRUE(Contains(r.err, "Bandbreite:")) << name;
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
    EXPECT_TRUE(Contains(r.err, "Anzahl der Knoten:          2\n")) << r.err;
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
    EXPECT_TRUE(Contains(ReadFile(dir.Path("e.txt")), "System  : frei.bsy\n"));
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

} // namespace
