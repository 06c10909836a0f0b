// balkor-batch with traffic: the options and their messages, a point load
// crossing the two-span example, envelopes with a load case, pictures.

#include "batch/BatchOptions.h"
#include "batch/BatchProcess.h"

#include <cmath>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

const std::vector<std::string> kTraffic = {"--vehicle", "point:10", "--lane",
                                           "0,0;12,0",  "--step",   "1"};

std::vector<std::string> With(std::vector<std::string> args) {
    args.insert(args.end(), kTraffic.begin(), kTraffic.end());
    return args;
}

} // namespace

TEST(BatchTraffic, BadTrafficArgumentsAreRefusedWithTheirPosition) {
    struct Case {
        std::vector<std::string> args;
        std::string error; // a part of the message
    } cases[] = {
        {{"s.bsy", "--lane", "0,0;5"}, "Zeichen 5"},
        {{"s.bsy", "--lane", "0,0;5,0", "--step", "0", "--vehicle", "LM2"}, "--step"},
        {{"s.bsy", "--lane", "0,0;5,0", "--step", "1", "--vehicle", "/kein/fahrzeug.bfz"},
         "Fahrzeugdatei kann nicht gelesen werden"},
        {{"s.bsy", "--vehicle", "point:x"}, "point:WERT"},
        {{"s.bsy", "--vehicle", "LM2"}, "--lane"},
        {{"s.bsy", "--influence", "M:beam=2:xi=2"}, "Zeichen 13"},
        {{"s.bsy", "--step", "1"}, "gehören zu"},
        {{"s.bsy", "l.bld", "--vehicle", "LM2", "--lane", "0,0;5,0", "--step", "1", "--envelope",
          "E=1:1.35/1+Verkehr:1.5"},
         "Zeichen 20"},
        {{"s.bsy", "l.bld", "--vehicle", "LM2", "--lane", "0,0;5,0", "--step", "1", "--envelope",
          "E=Verkehr:1.5/0+1:1.35/1+3:1/0"},
         "Stelle 26"},
        {{"s.bsy", "--traffic-envelope", "a+b", "--vehicle", "LM2"}, "Ungültiger Name"},
    };
    for (const Case& c : cases) {
        BatchOptions options;
        std::string error;
        EXPECT_FALSE(ParseBatchArguments(c.args, options, error)) << c.error;
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
    BatchOptions options;
    std::string error;
    ASSERT_TRUE(ParseBatchArguments(
        With({"s.bsy", "l.bld", "--envelope", "E=1:1.35/1+Verkehr:1.5/0", "--both-directions"}),
        options, error))
        << error;
    EXPECT_TRUE(options.traffic.bothDirections);
    EXPECT_EQ(options.traffic.lanes.size(), 1u);
    const ProcessResult refused =
        RunBatchProgram(With({"--quiet", Example("zweifeld.bsy"), "--results", "-"}));
    EXPECT_EQ(refused.exitCode, kExitUsage);
    EXPECT_NE(refused.err.find("nur --json und --svg"), std::string::npos) << refused.err;
    const ProcessResult overwriting = RunBatchProgram(
        With({"--quiet", Example("zweifeld.bsy"), "--json", Example("zweifeld.bsy")}));
    EXPECT_EQ(overwriting.exitCode, kExitUsage);
    EXPECT_NE(overwriting.err.find("Systemdatei"), std::string::npos) << overwriting.err;
}

TEST(BatchTraffic, APointLoadCrossingTwoSpansHasTheClosedFormMoments) {
    // Two spans L: P at a in the first gives the moment P·(a(L − a)/L −
    // a²(L² − a²)/(4L³)) under the load, and the largest there.
    const double P = 10, L = 6;
    const ProcessResult r = RunBatchProgram(With(
        {"--quiet", Example("zweifeld.bsy"), Example("zweifeld.bld"), "--json", "-", "--envelope",
         "G=1:1/1", "--envelope", "E=1:1.35/1+Verkehr:1.5/0", "--influence", "R:node=2"}));
    ASSERT_EQ(r.exitCode, kExitOk) << r.err;
    const nlohmann::json json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["positions"].size(), 13u);
    EXPECT_EQ(json["wheels"]["onBeam"], 13);
    EXPECT_EQ(json["wheels"]["off"], 0);
    const auto& envelopes = json["envelopes"];
    ASSERT_EQ(envelopes.size(), 3u);
    EXPECT_EQ(envelopes[0]["name"], "Verkehr");
    for (int m = 1; m < 6; ++m) {
        const double a = m;
        const double expected = P * (a * (L - a) / L - a * a * (L * L - a * a) / (4 * L * L * L));
        const auto& max = envelopes[0]["beams"][0]["points"][m]["max"]["M"];
        EXPECT_NEAR(max["value"].get<double>(), expected, 1e-9 * P * L) << m;
        EXPECT_EQ(max["position"], m + 1);
        EXPECT_EQ(max["arrangement"], "1.00·Verkehr[" + std::to_string(m + 1) + "]");
        // With the load case: 1.35·g + 1.5·max(traffic, 0) and g + 1.5·min(traffic, 0).
        const double g = envelopes[1]["beams"][0]["points"][m]["max"]["M"]["value"];
        const double t = max["value"],
                     tmin = envelopes[0]["beams"][0]["points"][m]["min"]["M"]["value"];
        const auto& e = envelopes[2]["beams"][0]["points"][m];
        EXPECT_NEAR(e["max"]["M"]["value"].get<double>(),
                    (g > 0 ? 1.35 : 1.0) * g + 1.5 * std::max(t, 0.0), 1e-9 * P * L);
        EXPECT_NEAR(e["min"]["M"]["value"].get<double>(),
                    (g > 0 ? 1.0 : 1.35) * g + 1.5 * std::min(tmin, 0.0), 1e-9 * P * L);
    }
    // The influence line of the middle reaction is that of the traffic's reaction:
    // the unit load over the support gives −1 in the reactions' sign.
    const auto& influence = json["influences"][0];
    EXPECT_EQ(influence["target"], "R:node=2");
    EXPECT_NEAR(influence["beams"][0]["values"][6].get<double>(), -1.0, 1e-12);
    const auto& reactions = envelopes[0]["reactions"];
    ASSERT_EQ(reactions.size(), 3u);
    EXPECT_NEAR(reactions[1]["min"]["Z"]["value"].get<double>(), -P, 1e-9 * P);
}

TEST(BatchTraffic, PicturesOfTheEnvelopeTheWorstPositionAndAnInfluenceLine) {
    const ProcessResult r = RunBatchProgram(With({"--quiet",     Example("zweifeld.bsy"),
                                                  "--influence", "M:beam=1:xi=0.5",
                                                  "--svg",       "-",
                                                  "--view",      "Biegemoment",
                                                  "--svg",       "-",
                                                  "--view",      "Biegemoment",
                                                  "--case",      "Verkehr:worst",
                                                  "--svg",       "-",
                                                  "--view",      "Biegelinie",
                                                  "--case",      "M:beam=1:xi=0.5"}));
    ASSERT_EQ(r.exitCode, kExitOk) << r.err;
    size_t pictures = 0;
    for (size_t at = r.out.find("</svg>"); at != std::string::npos;
         at = r.out.find("</svg>", at + 1))
        ++pictures;
    EXPECT_EQ(pictures, 3u);
    const ProcessResult unknown = RunBatchProgram(
        With({"--quiet", Example("zweifeld.bsy"), "--svg", "-", "--case", "Keine"}));
    EXPECT_EQ(unknown.exitCode, kExitUsage);
    EXPECT_NE(unknown.err.find("Keine"), std::string::npos);
}

namespace {

// The sections from ENVELOPES on of the example traffic project.
const char* const kExampleTraffic =
    "ENVELOPES\r\n1\r\n    1 \"GZT Verkehr\" \"1:1.35/1+Verkehr:1.5/0\"\r\n\r\n"
    "TRAFFIC\r\n1\r\n    1 \"LM1-TS1\" 0.5 0 \"Verkehr\"\r\n\r\n"
    "LANES\r\n1\r\n    1 \"0,1;20,1\"\r\n\r\n";

std::string FromEnvelopes(const std::string& text) {
    const size_t at = text.find("ENVELOPES");
    return at == std::string::npos ? text : text.substr(at);
}

} // namespace

TEST(BatchTraffic, AProjectWithTrafficRunsItsTrafficAndEnvelopes) {
    const ProcessResult r =
        RunBatchProgram({"--quiet", Example("bruecke-verkehr.bpj"), "--json", "-"});
    ASSERT_EQ(r.exitCode, kExitOk) << r.err;
    const nlohmann::json json = nlohmann::json::parse(r.out);
    // LM1-TS1 (axles ±0.6 m) over 20 m in steps of 0.5 m: (20 + 1.2)/0.5 + 1 positions.
    EXPECT_EQ(json["positions"].size(), 43u);
    EXPECT_EQ(json["step"], 0.5);
    EXPECT_EQ(json["vehicle"]["wheels"].size(), 4u);
    ASSERT_EQ(json["envelopes"].size(), 2u);
    EXPECT_EQ(json["envelopes"][0]["name"], "Verkehr");
    EXPECT_EQ(json["envelopes"][1]["name"], "GZT Verkehr");
    EXPECT_EQ(json["envelopes"][1]["traffic"]["sup"], 1.5);
    EXPECT_EQ(json["envelopes"][1]["traffic"]["inf"], 0.0);
    // Written back, the project is the same file.
    const ProcessResult written =
        RunBatchProgram({"--quiet", Example("bruecke-verkehr.bpj"), "--write-project", "-"});
    ASSERT_EQ(written.exitCode, kExitOk) << written.err;
    EXPECT_EQ(FromEnvelopes(written.out), kExampleTraffic);
}

TEST(BatchTraffic, OptionsOverTheProjectsTraffic) {
    // LM2 (one axle) over 20 m in steps of 1 m, both ways: 2 × 21 positions.
    const ProcessResult r =
        RunBatchProgram({"--quiet", Example("bruecke-verkehr.bpj"), "--json", "-", "--vehicle",
                         "LM2", "--step", "1", "--both-directions"});
    ASSERT_EQ(r.exitCode, kExitOk) << r.err;
    const nlohmann::json json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["positions"].size(), 42u);
    EXPECT_EQ(json["vehicle"]["wheels"].size(), 2u);
    EXPECT_EQ(json["bothDirections"], true);
    EXPECT_EQ(json["lanes"][0][1][0], 20.0);
    // The traffic of a command line goes into the project it writes.
    TempDir dir;
    const ProcessResult written = RunBatchProgram(
        {"--quiet", Example("bruecke.bsy"), Example("bruecke-g.bld"), "--vehicle", "LM1-TS1",
         "--lane", "0,1;20,1", "--step", "0.5", "--envelope", "GZT Verkehr=1:1.35/1+Verkehr:1.5/0",
         "--write-project", dir.Path("p.bpj")});
    ASSERT_EQ(written.exitCode, kExitOk) << written.err;
    EXPECT_EQ(FromEnvelopes(ReadFile(dir.Path("p.bpj"))), kExampleTraffic);
    // A project without traffic takes none from --step alone, nor from a lane alone.
    const struct {
        std::vector<std::string> args;
        const char* error;
    } refused[] = {
        {{Example("bruecke.bpj"), "--step", "1"}, "gehören zu --vehicle und --lane"},
        {{Example("bruecke.bpj"), "--lane", "0,1;20,1"}, "Verkehr verlangt --vehicle"},
    };
    for (const auto& c : refused) {
        const ProcessResult bad = RunBatchProgram(c.args);
        EXPECT_EQ(bad.exitCode, kExitUsage) << bad.err;
        EXPECT_NE(bad.err.find(c.error), std::string::npos) << bad.err;
    }
}
