// The JSON of balkor-batch: lossless names, no negative zeros, hinges of an
// unknown type, and a failing name that must not cost the previous file.

#include "batch/ResultsJson.h"

#include "BatchProcess.h"
#include "analysis/SolutionsCont.h"
#include "batch/BatchOptions.h"
#include "model/Tables.h"
#include "support/TableRows.h"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::json;

TEST(LosslessName, KeepsUtf8AndEscapesPercentAndForeignBytes) {
    const std::pair<std::string, std::string> cases[] = {
        {"a.bsy", "a.bsy"},
        {"", ""},
        {"Br\xC3\xBC"
         "cke \xE2\x82\xAC.bsy",
         "Br\xC3\xBC"
         "cke \xE2\x82\xAC.bsy"},
        {"100%.bsy", "100%25.bsy"},
        {"br\xFC"
         "cke.bsy",
         "br%FCcke.bsy"},                     // Latin-1 ü
        {"end\xC3", "end%C3"},                // cut sequence at the end
        {"\xC0\xAF", "%C0%AF"},               // overlong "/"
        {"\xED\xA0\x80", "%ED%A0%80"},        // a surrogate
        {"\xF4\x90\x80\x80", "%F4%90%80%80"}, // beyond U+10FFFF
        {"\xC3\xBC\xFC", "\xC3\xBC%FC"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(LosslessName(bytes), text);
}

// Percent-decoding the JSON text gives back the bytes of the name.
TEST(LosslessName, PercentDecodingRestoresTheBytes) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string text = LosslessName(all);
    std::string decoded;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%') {
            decoded += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    EXPECT_EQ(decoded, all);
    EXPECT_NO_THROW(Json(text).dump());
}

// Mended: with a name that is not UTF-8, --json emptied an existing file and
// ended with exit code 1, because the text was made after the file was opened.
TEST(ResultsJsonProgram, NameThatIsNotUtf8IsWrittenLosslesslyOverTheOldFile) {
    TempDir dir;
    const std::string system = dir.Path("br\xFC"
                                        "cke 100%.bsy");
    {
        std::ifstream in(Example("zweifeld.bsy"), std::ios::binary);
        std::ofstream(system, std::ios::binary) << in.rdbuf();
    }
    const std::string json = dir.Write("r.json", "old\n");
    ProcessResult r = RunBatchProgram({"-q", system, "--json", json});
    ASSERT_EQ(r.exitCode, kExitOk) << r.err;
    const Json parsed = Json::parse(ReadFile(json));
    EXPECT_EQ(parsed["system"], "br%FCcke 100%25.bsy");
}

// A cantilever of length 10 clamped at node 1 under a tip load, with a hinge
// of type 7 at its middle (from a hand-edited file): it divides the beam and
// releases nothing.
class JsonOfACantilever : public ::testing::Test {
protected:
    void SetUp() override {
        NodeRec& a = ValidRecord(input.nodes, 0);
        a.fixZ = a.fixRx = a.fixRy = 1;
        ValidRecord(input.nodes, 1).x = 10;
        MatRec& m = ValidRecord(input.mats, 0);
        m.E = 1000, m.G = 500, m.Iy = 1, m.It = 1;
        BeamRec& b = ValidRecord(input.beams, 0);
        b.start = 1, b.end = 2, b.section = 1, b.intervals = 2;
        HingeRec& h = ValidRecord(input.hinges, 0);
        h.beam = 1, h.pos = 0.5, h.type = 7;
        NodeLoadRec& l = ValidRecord(input.nodeLoads, 0);
        l.from = 2, l.to = 2, l.Fz = 10;
        ASSERT_TRUE(solutions.Calculate().ok);
    }

    Json Results() { return Json::parse(ResultsJsonText(input, solutions, "a.bsy", "a.bld")); }

    InputModel input;
    SolutionsCont solutions{input};
};

// Mended: the JSON wrote -0.0 where the protocol writes 0.000. Here the
// clamped node's values and reactions are set to -0.0 after the solution.
TEST_F(JsonOfACantilever, NegativeZeroIsWrittenAsZero) {
    const int first = solutions.nodes[input.nodes.RowRecord(0)->calcNode].firstDof;
    for (int c = 0; c < 3; ++c) {
        solutions.dofs.Dof(first + c).solvedValue = -0.0;
        solutions.dofs.Dof(first + c).nodeForce = -0.0;
    }
    const std::string text = ResultsJsonText(input, solutions, "a.bsy", "a.bld");
    EXPECT_EQ(text.find("-0.0"), std::string::npos);
    const Json json = Json::parse(text);
    for (const char* c : {"wz", "Rx", "Ry"})
        EXPECT_FALSE(std::signbit(json["nodes"][0][c].get<double>())) << c;
    for (const char* c : {"Z", "Mx", "My"})
        EXPECT_FALSE(std::signbit(json["reactions"][0][c].get<double>())) << c;
    EXPECT_EQ(text.back(), '\n');
}

// Mended: the row of such a hinge vanished from the JSON. It stays, with the
// deflections w(5) = P·5²(3·10 − 5)/(6 EI) = 1.0417 of both sides.
TEST_F(JsonOfACantilever, HingeOfAnUnknownTypeKeepsItsEntryWithTheDeflections) {
    const Json json = Results();
    ASSERT_EQ(json["hinges"].size(), 1u);
    const Json& hinge = json["hinges"][0];
    EXPECT_EQ(hinge["hinge"], 1);
    EXPECT_EQ(hinge["type"], 7);
    EXPECT_EQ(hinge["component"], "?");
    EXPECT_NEAR(hinge["sideA"].get<double>(), 10.0 * 25.0 * 25.0 / 6000.0, 1e-9);
    EXPECT_NEAR(hinge["sideB"].get<double>(), 10.0 * 25.0 * 25.0 / 6000.0, 1e-9);
    EXPECT_NEAR(hinge["difference"].get<double>(), 0.0, 1e-12);
}

} // namespace
