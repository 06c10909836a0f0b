// balkor-batch on several load cases: the example project and the command
// line's load cases, combinations and envelopes.

#include "batch/BatchOptions.h"
#include "batch/BatchProcess.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

namespace {

const char* const kExampleCases[] = {"bruecke-g", "bruecke-q1", "bruecke-q2", "bruecke-q3",
                                     "bruecke"};

// The protocol without its time line (the third line of each protocol).
std::string WithoutTimes(const std::string& text) {
    std::istringstream in(text);
    std::string line, out;
    while (std::getline(in, line))
        if (line.size() < 8 || line[2] != ':' || line[5] != ':')
            out += line + "\n";
    return out;
}

// The blocks of a project protocol, each after its title line.
std::vector<std::string> Blocks(const std::string& text) {
    std::vector<std::string> blocks;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("Lastfall ", 0) == 0 || line.rfind("Kombination ", 0) == 0 ||
            line.rfind("Umhüllende ", 0) == 0) {
            if (!blocks.empty() && blocks.back().size() > 0)
                blocks.back().pop_back(); // the empty line before the next title
            blocks.emplace_back();
            continue;
        }
        if (!blocks.empty())
            blocks.back() += line + "\n";
    }
    return blocks;
}

} // namespace

TEST(BatchProject, EveryLoadCaseOfTheExampleProjectPrintsItsProtocolOfARunAlone) {
    const ProcessResult project = RunBatchProgram({"--quiet", Example("bruecke.bpj")});
    ASSERT_EQ(project.exitCode, kExitOk) << project.err;
    const std::vector<std::string> blocks = Blocks(project.out);
    ASSERT_EQ(blocks.size(), 7u); // five load cases, one combination, one envelope
    for (size_t k = 0; k < std::size(kExampleCases); ++k) {
        const std::string name = kExampleCases[k];
        const ProcessResult alone =
            RunBatchProgram({"--quiet", Example("bruecke.bsy"), Example(name + ".bld")});
        ASSERT_EQ(alone.exitCode, kExitOk) << alone.err;
        EXPECT_EQ(WithoutTimes(blocks[k]), WithoutTimes(alone.out)) << name;
    }
    EXPECT_NE(project.out.find("Kombination 1: GZT Feld 2 = 1.35·LF1 + 1.50·LF2\n"),
              std::string::npos);
    EXPECT_NE(project.out.find("Umhüllende 1: Fahrzeug\n"), std::string::npos);
}

TEST(BatchProject, ProgressNamesTheLoadCasesAndFactorisations) {
    const ProcessResult r = RunBatchProgram({Example("bruecke.bpj"), "--results", "/dev/null"});
    ASSERT_EQ(r.exitCode, kExitOk) << r.err;
    // The load case with imposed displacements is factorised on its own.
    EXPECT_NE(r.err.find("Anzahl der Lastfälle:       5\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Anzahl der Zerlegungen:     2\n"), std::string::npos) << r.err;
}

TEST(BatchProject, OneLoadCaseGivesTheOutputsOfTodaysRun) {
    TempDir dir;
    const std::string project =
        dir.Write("p.bpj", "SYSTEM\r\n1\r\n    1 \"" + Example("zweifeld.bsy") +
                               "\"\r\n\r\nLOADCASES\r\n1\r\n"
                               "    1 \"q\" \"" +
                               Example("zweifeld.bld") + "\"\r\n\r\n");
    const ProcessResult viaProject =
        RunBatchProgram({"-q", project, "--json", dir.Path("a.json"), "--results", "-"});
    const ProcessResult direct =
        RunBatchProgram({"-q", Example("zweifeld.bsy"), Example("zweifeld.bld"), "--json",
                         dir.Path("b.json"), "--results", "-"});
    ASSERT_EQ(viaProject.exitCode, kExitOk) << viaProject.err;
    EXPECT_EQ(WithoutTimes(viaProject.out), WithoutTimes(direct.out));
    EXPECT_EQ(ReadFile(dir.Path("a.json")), ReadFile(dir.Path("b.json")));
}

TEST(BatchProject, BadExpressionsEndWithCode2AndThePosition) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{Example("bruecke.bsy"), Example("bruecke-g.bld"), "--combination", "K=1.35*x"},
         "balkor-batch: Fehler in --combination an Stelle 8: Nummer Lastfall erwartet: "
         "\"K=1.35*x\"\n"},
        {{Example("bruecke.bsy"), Example("bruecke-g.bld"), "--envelope", "U=1:1.35/1+2:1/0"},
         "balkor-batch: Fehler in --envelope an Stelle 12: Lastfall 2 gibt es nicht (1 bis 1): "
         "\"U=1:1.35/1+2:1/0\"\n"},
        {{Example("bruecke.bpj"), "--envelope", "U=C2:1/0"},
         "balkor-batch: Fehler in --envelope an Stelle 4: Kombination 2 gibt es nicht (1 bis 1): "
         "\"U=C2:1/0\"\n"},
        {{Example("bruecke.bpj"), "--svg", "x.svg", "--case", "Wind"},
         "balkor-batch: Unbekannter Lastfall, Kombination oder Umhüllende: Wind (--case von "
         "x.svg)\n"},
        {{Example("zweifeld.bsy"), Example("zweifeld.bld"), "--svg", "x.svg", "--case", "2"},
         "balkor-batch: Unbekannter Lastfall, Kombination oder Umhüllende: 2 (--case von "
         "x.svg)\n"},
    };
    for (const auto& [args, message] : cases) {
        const ProcessResult r = RunBatchProgram(args);
        EXPECT_EQ(r.exitCode, kExitUsage) << message;
        EXPECT_EQ(r.err.substr(0, message.size()), message);
        EXPECT_EQ(r.out, "");
    }
}

// The envelope in the JSON against the load cases' own values there: the
// largest moment is Σ max(sup·M, inf·M) of the single members plus the
// largest such term of the group.
TEST(BatchProject, JsonEnvelopeFollowsFromTheLoadCasesValues) {
    TempDir dir;
    const ProcessResult r =
        RunBatchProgram({"-q", Example("bruecke.bpj"), "--json", dir.Path("p.json")});
    ASSERT_EQ(r.exitCode, kExitOk) << r.err;
    const nlohmann::json json = nlohmann::json::parse(ReadFile(dir.Path("p.json")));
    EXPECT_EQ(json["format"], "balkor-project-results");
    ASSERT_EQ(json["loadCases"].size(), 5u);
    EXPECT_EQ(json["loadCases"][0]["results"]["format"], "balkor-results");
    EXPECT_EQ(json["combinations"][0]["factors"], nlohmann::json({1.35, 1.5, 0, 0, 0}));
    const nlohmann::json& envelope = json["envelopes"][0];
    EXPECT_EQ(envelope["name"], "Fahrzeug");
    for (size_t b = 0; b < envelope["beams"].size(); ++b) {
        const nlohmann::json& points = envelope["beams"][b]["points"];
        for (size_t m = 0; m < points.size(); ++m) {
            auto M = [&](int k) -> double {
                return json["loadCases"][k]["results"]["beams"][b]["points"][m]["M"];
            };
            double expected = std::max(1.35 * M(0), 1.0 * M(0)) + std::max(1.0 * M(4), 0.0);
            expected += std::max({0.0, 1.5 * M(1), 1.5 * M(2), 1.5 * M(3)});
            const double actual = points[m]["max"]["M"]["value"];
            EXPECT_NEAR(actual, expected, 1e-9 * (1 + std::fabs(expected))) << b << " " << m;
        }
    }
}

TEST(BatchProject, PicturesShowTheChosenCase) {
    TempDir dir;
    const ProcessResult r = RunBatchProgram(
        {"-q",     Example("bruecke.bpj"), "--results", "/dev/null",   "--svg", dir.Path("g.svg"),
         "--view", "Biegemoment",          "--case",    "1",           "--svg", dir.Path("k.svg"),
         "--view", "Biegemoment",          "--case",    "GZT Feld 2",  "--svg", dir.Path("e.svg"),
         "--view", "Biegemoment",          "--case",    "Eigengewicht"});
    ASSERT_EQ(r.exitCode, kExitOk) << r.err;
    EXPECT_EQ(ReadFile(dir.Path("g.svg")), ReadFile(dir.Path("e.svg")));
    EXPECT_NE(ReadFile(dir.Path("g.svg")), ReadFile(dir.Path("k.svg")));
    // An envelope draws its max and min lines in place of one load case's diagram.
    const ProcessResult envelope =
        RunBatchProgram({"-q", Example("bruecke.bpj"), "--results", "/dev/null", "--svg",
                         dir.Path("u.svg"), "--view", "Biegemoment", "--case", "Fahrzeug", "--svg",
                         dir.Path("w.svg"), "--view", "Biegelinie", "--case", "Fahrzeug"});
    ASSERT_EQ(envelope.exitCode, kExitOk) << envelope.err;
    const std::string u = ReadFile(dir.Path("u.svg"));
    EXPECT_NE(u.find("<svg"), std::string::npos);
    EXPECT_NE(u, ReadFile(dir.Path("g.svg")));
    EXPECT_NE(u, ReadFile(dir.Path("k.svg")));
    EXPECT_NE(ReadFile(dir.Path("w.svg")), u);
}

// The command line's project written as a project file runs to the same
// protocol; with no other output nothing is calculated.
TEST(BatchProject, CommandLineProjectWrittenAsProjectFileRunsTheSame) {
    TempDir dir;
    const std::vector<std::string> cases = {Example("bruecke.bsy"),    Example("bruecke-g.bld"),
                                            Example("bruecke-q2.bld"), "--combination",
                                            "GZT=1.35*1+1.5*2",        "--envelope",
                                            "U=1:1.35/1+2:1.5/0"};
    std::vector<std::string> write = cases;
    write.insert(write.end(), {"--write-project", dir.Path("p.bpj")});
    const ProcessResult written = RunBatchProgram(write);
    ASSERT_EQ(written.exitCode, kExitOk) << written.err;
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(written.err, "");
    EXPECT_NE(ReadFile(dir.Path("p.bpj")).find("    1 \"GZT\" \"1.35*1+1.5*2\"\r\n"),
              std::string::npos);
    std::vector<std::string> direct = cases;
    direct.insert(direct.begin(), "-q");
    const ProcessResult viaCommandLine = RunBatchProgram(direct);
    const ProcessResult viaFile = RunBatchProgram({"-q", dir.Path("p.bpj")});
    ASSERT_EQ(viaFile.exitCode, kExitOk) << viaFile.err;
    EXPECT_EQ(WithoutTimes(viaFile.out), WithoutTimes(viaCommandLine.out));
}

TEST(BatchProject, InputProtocolHoldsEveryLoadCaseAfterItsTitle) {
    TempDir dir;
    const ProcessResult r = RunBatchProgram({"-q", Example("bruecke.bsy"), Example("bruecke-g.bld"),
                                             Example("bruecke-q1.bld"), "--input-protocol",
                                             dir.Path("in.txt"), "--results", "/dev/null"});
    ASSERT_EQ(r.exitCode, kExitOk) << r.err;
    const std::vector<std::string> blocks = Blocks(ReadFile(dir.Path("in.txt")));
    ASSERT_EQ(blocks.size(), 2u);
    const ProcessResult alone =
        RunBatchProgram({"-q", Example("bruecke.bsy"), Example("bruecke-q1.bld"),
                         "--input-protocol", dir.Path("alone.txt"), "--results", "/dev/null"});
    EXPECT_EQ(WithoutTimes(blocks[1]), WithoutTimes(ReadFile(dir.Path("alone.txt"))));
}

// The size limits hold for the whole output: 500,001 points fit once, not
// once per load case and combination (zero-length beams fail the checks
// when the size is allowed).
TEST(BatchProject, SizeLimitsCountEveryLoadCaseAndCombination) {
    TempDir dir;
    const std::string system = dir.Write(
        "s.bsy", "NODES\n2\n    1 0.0 0.0 1 1 1 0.0\n    2 0.0 0.0 1 1 1 0.0\n\nBEAMS\n1\n"
                 "    1 1 2 1 0.3 500000\n\nMATERIALS\n1\n    1 2.1e+08 8.1e+07 2.5e-04 1.8e-06 "
                 "1.2e-05\n\nHINGES\n0\n\n");
    const struct {
        std::vector<std::string> more;
        int exitCode;
    } cases[] = {{{}, kExitInputError},
                 {{"--combination", "K=1"}, kExitOutputFile},
                 {{"--envelope", "U=1:1/0"}, kExitOutputFile}};
    for (const auto& c : cases) {
        std::vector<std::string> args = {"-q", system, "--json", dir.Path("r.json")};
        args.insert(args.end(), c.more.begin(), c.more.end());
        const ProcessResult r = RunBatchProgram(args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    }
}
