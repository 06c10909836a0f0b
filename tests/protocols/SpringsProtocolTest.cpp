// Springs in the protocols: their table in the input protocol, their forces
// beside the reactions in the results protocol.

#include "ProtocolTestSupport.h"
#include "analysis/AnalysisFixture.h"

namespace {

const std::string kDash82 = std::string(82, '-') + "\n";
const std::string kDash84 = std::string(84, '-') + "\n";

// A beam of L = 10 (EI = 1000) on fork supports at nodes 1 and 2, its middle
// node 3 on a spring k = 48 EI / L³ = 48 (row 2), listed after the hinges.
// Under q = 2 the spring carries R = (5qL⁴/384EI) / (1/k + L³/48EI) = 6.25,
// each support (qL − R) / 2 = 6.875: together the rows balance qL = 20.
TEST(SpringsProtocol, SpringsAfterTheHingesAndTheirForcesBesideTheReactions) {
    Structure s;
    s.Section(1000, 500, 1, 1);
    s.Node(0, 0, 1, 1, 0), s.Node(10, 0, 1, 1, 0), s.Node(5, 0);
    s.Beam(1, 3, 1, 0, 1), s.Beam(3, 2, 1, 0, 1);
    SpringRec& spring = ValidRecord(s.input.springs, 1);
    spring.from = spring.to = 3, spring.kz = 48;
    const std::string inputText =
        CaptureText([&](std::FILE* f) { WriteInputProtocol(s.input, f, FixedContext()); });
    const std::string section = "\nFedern\n" + kDash82 +
                                "        Knoten            Federsteifigkeit\n"
                                "   Nr   von   bis      kz         kRx        kRy\n" +
                                kDash82 +
                                "    2     3     3      48.00      0.000      0.000\n\n\n";
    const size_t at = inputText.find(section);
    ASSERT_NE(at, std::string::npos) << inputText;
    EXPECT_EQ(inputText.substr(at + section.size(), 3), "\n==");

    s.BeamLoad(1, 2, 2, 2);
    s.Solve();
    const std::string text = CaptureText(
        [&](std::FILE* f) { WriteResultsProtocol(s.input, s.solutions, f, FixedContext()); });
    const std::string head =
        "\n------------------------------------- Auflagerkräfte -------------------------------\n"
        "Knoten       Z          Mx       My\n" +
        kDash84;
    const size_t start = text.find(head);
    ASSERT_NE(start, std::string::npos);
    const size_t end = text.find("\n---", start + head.size());
    ExpectSameLinesUpToZeroNoise(text.substr(start + head.size(), end - start - head.size()),
                                 "    1     -6.875      0.000      0.000\n"
                                 "    2     -6.875      0.000      0.000\n"
                                 "    3     -6.250      0.000      0.000  Feder\n");
}

} // namespace
