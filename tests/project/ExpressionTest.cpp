// The combination and envelope expressions of the command line and the
// project file.

#include "project/Project.h"

#include <gtest/gtest.h>

TEST(Expressions, CombinationsGiveAFactorPerLoadCase) {
    const struct {
        const char* text;
        std::vector<double> factors;
    } cases[] = {
        {"GZT=1.35*1+1.5*3", {1.35, 0.0, 1.5}},
        {" A b = 1 + 2 ", {1.0, 1.0, 0.0}},
        {"X=-0.5*2+1e-1*3", {0.0, -0.5, 0.1}},
        {"Y=.5*1", {0.5, 0.0, 0.0}},
    };
    for (const auto& c : cases) {
        Combination combination;
        ExpressionError error;
        ASSERT_TRUE(ParseCombination(c.text, 3, combination, error)) << c.text << error.message;
        EXPECT_EQ(combination.factors, c.factors) << c.text;
        // The text written reads back to the same factors.
        Combination again;
        ASSERT_TRUE(ParseCombination(CombinationText(combination), 3, again, error));
        EXPECT_EQ(again.factors, combination.factors);
        EXPECT_EQ(again.name, combination.name);
    }
}

TEST(Expressions, BadExpressionsNameThePosition) {
    const struct {
        const char* text;
        bool envelope;
        size_t position;
        const char* message;
    } cases[] = {
        {"1.35*1", false, 1, "\"NAME=\" erwartet"},
        {"=1.35*1", false, 1, "Name fehlt vor \"=\""},
        {"K=", false, 3, "Summe der Lastfälle erwartet"},
        {"K=1.35*x", false, 8, "Nummer Lastfall erwartet"},
        {"K=1.35*4", false, 8, "Lastfall 4 gibt es nicht (1 bis 3)"},
        {"K=1.35*1 1.5*2", false, 10, "\"+\" oder \"-\" erwartet"},
        {"K=1*1+2*1", false, 7, "Lastfall 1 ist mehrfach angegeben"},
        {"K=2.5", false, 3, "Lastfall 2.5 gibt es nicht (1 bis 3)"},
        {"U=1:1.35", true, 9, "\"/\" erwartet"},
        {"U=1:1.35/1+(2|5):1.5/0", true, 15, "Lastfall 5 gibt es nicht (1 bis 3)"},
        {"U=C1:1/0", true, 4, "es gibt keine Kombination"},
        {"U=(1|2:1/0", true, 7, "\")\" erwartet"},
        {"U=1:1/0 x", true, 9, "\"+\" oder Ende erwartet"},
        {"U=1:1/nan", true, 7, "Zahl erwartet"},
    };
    for (const auto& c : cases) {
        ExpressionError error;
        bool ok;
        if (c.envelope) {
            Envelope envelope;
            ok = ParseEnvelope(c.text, 3, 0, envelope, error);
        } else {
            Combination combination;
            ok = ParseCombination(c.text, 3, combination, error);
        }
        EXPECT_FALSE(ok) << c.text;
        EXPECT_EQ(error.message, c.message) << c.text;
        EXPECT_EQ(error.position, c.position) << c.text;
    }
    EXPECT_EQ(ExpressionMessage("--combination", "K=1.35*x", {"Nummer Lastfall erwartet", 8}),
              "Fehler in --combination an Stelle 8: Nummer Lastfall erwartet: \"K=1.35*x\"");
}

TEST(Expressions, EnvelopesHoldSingleMembersAndExclusiveGroups) {
    Envelope envelope;
    ExpressionError error;
    ASSERT_TRUE(ParseEnvelope("U=1:1.35/1.0+C1:1.5/0+(3|4|C2):1.5/0", 4, 2, envelope, error))
        << error.message;
    ASSERT_EQ(envelope.terms.size(), 3u);
    EXPECT_FALSE(envelope.terms[0].group);
    EXPECT_EQ(envelope.terms[0].members, (std::vector<EnvelopeMember>{{false, 0}}));
    EXPECT_EQ(envelope.terms[0].sup, 1.35);
    EXPECT_EQ(envelope.terms[0].inf, 1.0);
    EXPECT_EQ(envelope.terms[1].members, (std::vector<EnvelopeMember>{{true, 0}}));
    EXPECT_TRUE(envelope.terms[2].group);
    EXPECT_EQ(envelope.terms[2].members,
              (std::vector<EnvelopeMember>{{false, 2}, {false, 3}, {true, 1}}));
    EXPECT_EQ(EnvelopeText(envelope), "U=1:1.35/1+C1:1.5/0+(3|4|C2):1.5/0");
    EXPECT_EQ(ArrangementText({{{false, 0}, 1.35}, {{true, 1}, 0.0}, {{false, 2}, 1.5}}),
              "1.35·LF1 + 1.50·LF3");
}
