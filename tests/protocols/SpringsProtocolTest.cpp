// Springs in the protocols: their table in the input protocol, their forces
// beside the reactions in the results protocol.

#include "ProtocolTestSupport.h"
#include "analysis/SolutionsCont.h"

namespace {

const std::string kDash82 = std::string(82, '-') + "\n";
const std::string kDash84 = std::string(84, '-') + "\n";

// A beam of L = 10 (EI = 1000) on fork supports at nodes 1 and 2, divided at
// node 3 in its middle, which rests on a spring k = 48 EI / L³ = 48.
void BeamOnAMiddleSpring(InputModel& input) {
    const double x[] = {0, 10, 5};
    for (int row = 0; row < 3; ++row) {
        NodeRec& n = ValidRecord(input.nodes, row);
        n.x = x[row], n.fixZ = row < 2, n.fixRx = row < 2;
    }
    MatRec& m = ValidRecord(input.mats, 0);
    m.E = 1000, m.G = 500, m.Iy = 1, m.It = 1;
    for (int row = 0; row < 2; ++row) {
        BeamRec& b = ValidRecord(input.beams, row);
        b.start = row == 0 ? 1 : 3, b.end = row == 0 ? 3 : 2, b.section = 1, b.intervals = 1;
    }
    SpringRec& f = ValidRecord(input.springs, 1);
    f.from = 3, f.to = 3, f.kz = 48;
}

TEST(SpringsProtocol, InputProtocolListsTheSpringsAfterTheHinges) {
    InputModel input;
    BeamOnAMiddleSpring(input);
    const std::string text =
        CaptureText([&](std::FILE* f) { WriteInputProtocol(input, f, FixedContext()); });
    const std::string section = "\nFedern\n" + kDash82 +
                                "        Knoten            Federsteifigkeit\n"
                                "   Nr   von   bis      kz         kRx        kRy\n" +
                                kDash82 +
                                "    2     3     3      48.00      0.000      0.000\n\n\n";
    const size_t at = text.find(section);
    ASSERT_NE(at, std::string::npos) << text;
    EXPECT_EQ(text.substr(at + section.size(), 3), "\n==");
}

// q = 2 over the beam: the spring carries R = (5qL⁴/384EI) / (1/k + L³/48EI)
// = 6.25, each support (qL − R) / 2 = 6.875; all together balance qL = 20.
TEST(SpringsProtocol, SpringForcesStandBesideTheReactionsMarkedFeder) {
    InputModel input;
    BeamOnAMiddleSpring(input);
    BeamLoadRec& load = ValidRecord(input.beamLoads, 0);
    load.from = 1, load.to = 2, load.qStart = 2, load.qEnd = 2;
    SolutionsCont solutions(input);
    ASSERT_TRUE(solutions.Calculate().ok);
    const std::string text = CaptureText(
        [&](std::FILE* f) { WriteResultsProtocol(input, solutions, f, FixedContext()); });
    const std::string head =
        "\n------------------------------------- Auflagerkräfte -------------------------------\n"
        "Knoten       Z          Mx       My\n" +
        kDash84;
    const size_t at = text.find(head);
    ASSERT_NE(at, std::string::npos);
    const size_t end = text.find("\n---", at + head.size());
    ExpectSameLinesUpToZeroNoise(text.substr(at + head.size(), end - at - head.size()),
                                 "    1     -6.875      0.000      0.000\n"
                                 "    2     -6.875      0.000      0.000\n"
                                 "    3     -6.250      0.000      0.000  Feder\n");
}

} // namespace
