// The deck description file and balkor-batch --generate.

#include "BatchProcess.h"
#include "analysis/SolutionsCont.h"
#include "batch/BatchOptions.h"
#include "batch/DeckJson.h"
#include "batch/ResultsJson.h"
#include "model/Checks.h"
#include "model/InputFiles.h"
#include "model/Tables.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

// Two equal spans of 10, three girders 2 apart, cross beams every 2.5.
const std::string kTwoSpanDeck = R"({
  "spans": [10, 10], "width": 4, "girders": 3,
  "crossBeams": {"spacing": 2.5},
  "sections": {
    "girder": {"E": 3e7, "G": 1.25e7, "Iy": 0.4, "It": 0.05},
    "crossBeam": {"E": 3e7, "G": 1.25e7, "Iy": 0.4, "It": 0.05}
  }
})";

std::string WithKey(const std::string& entry) {
    return "{" + entry + "," + kTwoSpanDeck.substr(1);
}

// The text with the last occurrence of part replaced.
std::string Replaced(const std::string& text, const std::string& part, const std::string& by) {
    std::string result = text;
    result.replace(result.rfind(part), part.size(), by);
    return result;
}

TEST(DeckJson, FaultsNameTheKey) {
    const std::pair<std::string, std::string> cases[] = {
        {WithKey("\"colour\": 1"), "Unbekannter Schlüssel \"colour\""},
        {Replaced(kTwoSpanDeck, "\"width\": 4,", ""), "Fehlender Schlüssel \"width\""},
        {Replaced(kTwoSpanDeck, ", \"It\": 0.05}", "}"),
         "Fehlender Schlüssel \"sections.crossBeam.It\""},
        {WithKey("\"skew\": 95"), "\"skew\": Die Schiefe muss zwischen 0 und 60 Grad liegen"},
        {WithKey("\"mesh\": \"diagonal\""), "\"mesh\": \"orthogonal\" oder \"skew\" erwartet"},
        {WithKey("\"supports\": \"clamped\""), "\"supports\": \"pinned\" oder \"fixed\" erwartet"},
        {WithKey("\"supports\": [\"pinned\"]"), "\"supports\": 3 Auflagerlinien erwartet"},
        {WithKey("\"intervals\": 2.5"), "\"intervals\": Eine ganze Zahl erwartet"},
        {"[1, 2]", "Die Trägerrostbeschreibung muss ein JSON-Objekt sein"},
        {"{\"spans\": [", "Die Trägerrostbeschreibung ist kein gültiges JSON"},
    };
    for (const auto& [text, message] : cases) {
        DeckDescription deck;
        std::string error;
        EXPECT_FALSE(ParseDeckJson(text, deck, error)) << text;
        EXPECT_EQ(error.rfind(message, 0), 0u) << error;
    }
    std::string error;
    DeckDescription deck;
    EXPECT_FALSE(ParseDeckJson(
        R"({"spans": [20, -1], "width": 8, "girders": 1, "crossBeams": {"count": 2},
            "sections": {"girder": {"E": 1, "G": 1, "Iy": 1, "It": 1},
                         "crossBeam": {"E": 1, "G": 1, "Iy": 1, "It": 1}}})",
        deck, error));
    EXPECT_EQ(error, "\"spans\": Die Länge von Feld 2 muss größer als 0 sein (-1)");
}

// A uniform load q on all girders of two equal spans L: every girder is the
// two-span continuous beam, with reactions 3/8, 10/8 and 3/8 of q L.
TEST(DeckGeneratorAnalysis, TwoSpanDeckGivesTheContinuousBeamsReactions) {
    DeckDescription deck;
    std::string error;
    ASSERT_TRUE(ParseDeckJson(kTwoSpanDeck, deck, error)) << error;
    auto input = std::make_unique<InputModel>();
    GenerateDeck(deck, *input);
    const double q = 12.0, length = 10.0;
    const int girderBeams = 3 * 8;
    input->beamLoads.EnsureRows(1);
    *input->beamLoads.RowRecord(0) = {kFlagUser, 0, 1, girderBeams, q, q, 0, 0};
    ASSERT_TRUE(CheckSystem(*input).ok);
    ASSERT_TRUE(CheckLoads(*input).ok);
    auto solutions = std::make_unique<SolutionsCont>(*input);
    ASSERT_TRUE(solutions->Calculate().ok);
    const auto json = ResultsJson(*input, *solutions, "", "");
    ASSERT_EQ(json["reactions"].size(), 9u);
    for (const auto& reaction : json["reactions"]) {
        const NodeRec* node = input->nodes.At(reaction["node"].get<int>() - 1);
        const double share = node->x == length ? 10.0 / 8 : 3.0 / 8;
        EXPECT_NEAR(reaction["Z"].get<double>(), -share * q * length, 1e-6 * q * length)
            << "node " << reaction["node"];
    }
}

TEST(DeckGeneratorBatch, WritesTheExampleSystemAndCalculatesWithALoadCase) {
    TempDir dir;
    const std::string system = dir.Path("deck.bsy");
    ProcessResult r =
        RunBatchProgram({"--generate", Example("deck.json"), "--write-system", system});
    EXPECT_EQ(r.exitCode, kExitOk) << r.err;
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_EQ(ReadFile(system), ReadFile(Example("deck.bsy")));

    r = RunBatchProgram({"-q", "--generate", Example("deck.json"), "--write-system", system,
                         Example("deck.bld"), "--results", "-"});
    EXPECT_EQ(r.exitCode, kExitOk) << r.err;
    EXPECT_NE(r.out.find("System  : " + system + "\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Auflagerkräfte"), std::string::npos);
}

TEST(DeckGeneratorBatch, BadDescriptionAndArgumentsAreRefused) {
    TempDir dir;
    const std::string deck = dir.Write("bad.json", WithKey("\"colour\": 1"));
    ProcessResult r = RunBatchProgram({"--generate", deck, "--write-system", dir.Path("o.bsy")});
    EXPECT_EQ(r.exitCode, kExitSystemFile);
    EXPECT_EQ(r.err, deck + ": Unbekannter Schlüssel \"colour\"\n");

    r = RunBatchProgram({"--generate", dir.Path("none.json"), "--write-system", "-"});
    EXPECT_EQ(r.exitCode, kExitSystemFile);
    EXPECT_EQ(r.err, std::string(kDeckFileError) + ": " + dir.Path("none.json") + "\n");

    r = RunBatchProgram({"--generate", deck, "a.bld", "b.bld"});
    EXPECT_EQ(r.exitCode, kExitUsage);
}

} // namespace
