#include "ProtocolTestSupport.h"
#include "analysis/SolutionsCont.h"
#include "model/BalkorError.h"

#include <cmath>

namespace {

const std::string kDash = std::string(84, '-') + "\n";
const std::string kNodeHead =
    "\n---------------------------------- Knotenverschiebung ------------------------------\n"
    "Knoten      wz         Rx        Ry\n" +
    kDash;
const std::string kForcesHead =
    "\n\n---------------------------------- Schnittkräfte -----------------------------------\n";
const std::string kReactionHead =
    "\n------------------------------------- Auflagerkräfte -------------------------------\n"
    "Knoten       Z          Mx       My\n" +
    kDash;
const std::string kHingeHead =
    "\n---------------------------------- Gelenkverschiebung ------------------------------\n"
    "Gelenk   rechte Seite linke Seite     Gesamt\n" +
    kDash;
const std::string kExtremaHead = "Kraft      Maximum     Xi-Max    Minimum     Xi-Min\n" + kDash;
const std::string kTableHead = " Xi-Pos          Q          M          T  \n";

std::string ResultsOf(InputModel& input, SolutionsCont& solutions) {
    CalcResult result = solutions.Calculate();
    EXPECT_TRUE(result.ok) << result.title << ": " << result.message;
    return CaptureText(
        [&](std::FILE* f) { WriteResultsProtocol(input, solutions, f, FixedContext()); });
}

NodeRec& AddNode(InputModel& input, int row, double x, double y, int fixZ, int fixRx, int fixRy) {
    NodeRec& n = ValidRecord(input.nodes, row);
    n.x = x, n.y = y, n.fixZ = fixZ, n.fixRx = fixRx, n.fixRy = fixRy;
    return n;
}

// EI = 1000, GIt = 500.
void AddCrossSection(InputModel& input) {
    MatRec& m = ValidRecord(input.mats, 0);
    m.E = 1000, m.G = 500, m.Iy = 1, m.It = 1;
}

BeamRec& AddBeam(InputModel& input, int row, int start, int end, int intervals) {
    BeamRec& b = ValidRecord(input.beams, row);
    b.start = start, b.end = end, b.section = 1, b.intervals = intervals, b.thickness = 0.5;
    return b;
}

TEST(ResultsProtocol, EmptyInputGivesTheHeadingsOnly) {
    InputModel input;
    SolutionsCont solutions(input);
    ExpectSameLines(ResultsOf(input, solutions), "Balkor - Ausdruck der Ergebnisse\n\n" +
                                                     ExpectedHeader() + kNodeHead + kForcesHead +
                                                     kReactionHead + kHingeHead);
}

// A cantilever of length L = 10 along x, clamped at node 1, under a uniform
// load q = 1 and a uniform torsion moment mt = 0.5; node 3 is supported but
// no beam reaches it.
void Cantilever(InputModel& input, int intervals) {
    AddNode(input, 0, 0, 0, 1, 1, 1);
    AddNode(input, 1, 10, 0, 0, 0, 0);
    AddNode(input, 2, 20, 0, 1, 0, 0);
    AddCrossSection(input);
    AddBeam(input, 0, 1, 2, intervals);
    BeamLoadRec& load = ValidRecord(input.beamLoads, 0);
    load.from = 1, load.to = 1, load.qStart = 1, load.qEnd = 1, load.mtStart = 0.5,
    load.mtEnd = 0.5;
}

// Closed form of the cantilever: w(x) = q x²(6L² − 4Lx + x²) / (24 EI), free
// end wz = qL⁴/8EI = 1.25, slope qL³/6EI (Ry = −slope along x), twist
// mt L²/(2 GIt) = 0.05 (Rx); Q = q(L − x), M = −q(L − x)²/2, T = mt (L − x);
// reactions Z = −qL, Mx = −mt L, My = qL²/2.
TEST(ResultsProtocol, CantileverWithFiveIntervals) {
    InputModel input;
    Cantilever(input, 5);
    SolutionsCont solutions(input);
    std::string expected =
        "Balkor - Ausdruck der Ergebnisse\n\n" + ExpectedHeader() + kNodeHead +
        // "%5d %#10.4lg %#10.4lg %#10.4lg\n"; node 3 has no analysis node
        "    1      0.000      0.000      0.000\n" + "    2      1.250    0.05000    -0.1667\n" +
        "\n------------------- Verschiebung des Stabes   1 in 1/5   Punkten -------------------\n" +
        "xi-Position      wz\n" + kDash +
        // "%#10.4lg %#10.4lg\n" at ξ = 0.2 … 0.8 only
        "    0.2000    0.08733\n" + "    0.4000     0.3040\n" + "    0.6000     0.5940\n" +
        "    0.8000     0.9173\n" + kForcesHead + "\nStab Nr.1\n" + kExtremaHead +
        // "%7.7s %#10.4lg %#10.4lg %#10.4lg %#10.4lg\n"
        "      Q      10.00      0.000      0.000      1.000\n" +
        "      M      0.000      1.000     -50.00      0.000\n" +
        "      T      5.000      0.000      0.000      1.000\n" +
        "\n------------------ Schnittkräfte des Stabes   1 in 1/5   Punkten -------------------\n" +
        kTableHead +
        // "%#7.4lg" and " %#10.4lg" per force, ξ = 0, 0.2, …, 1
        "  0.000      10.00     -50.00      5.000\n" +
        " 0.2000      8.000     -32.00      4.000\n" +
        " 0.4000      6.000     -18.00      3.000\n" +
        " 0.6000      4.000     -8.000      2.000\n" +
        " 0.8000      2.000     -2.000      1.000\n" +
        "  1.000      0.000      0.000      0.000\n" + kReactionHead +
        "    1     -10.00     -5.000      50.00\n" + kHingeHead;
    ExpectSameLinesUpToZeroNoise(ResultsOf(input, solutions), expected);
}

TEST(ResultsProtocol, OneOrNoIntervalGivesNoDeflectionTableAndTheTwoBeamEnds) {
    for (int intervals : {1, 0}) {
        InputModel input;
        Cantilever(input, intervals);
        SolutionsCont solutions(input);
        std::string text = ResultsOf(input, solutions);
        EXPECT_EQ(text.find("Verschiebung des Stabes"), std::string::npos) << intervals;
        std::string table = "\n------------------ Schnittkräfte des Stabes   1 in 1/1   Punkten "
                            "-------------------\n" +
                            kTableHead + "  0.000      10.00     -50.00      5.000\n";
        size_t at = text.find(table);
        ASSERT_NE(at, std::string::npos) << intervals;
        std::vector<std::string> rest = SplitLines(text.substr(at + table.size()));
        ASSERT_GE(rest.size(), 3u);
        ExpectSameLinesUpToZeroNoise(rest[0], "  1.000      0.000      0.000      0.000");
        EXPECT_EQ(rest[1], "");
        EXPECT_EQ(rest[2], "------------------------------------- Auflagerkräfte "
                           "-------------------------------");
    }
}

// Three hinges on a cantilever of length 10, each with an imposed
// deformation: a shear jump of 0.02 at ξ 0.25, a kink of 0.01 at 0.5, a twist
// of 0.03 at 0.75. Without loads the beam stays free of forces; the part
// before each hinge keeps the released component at 0, the part after it
// takes minus the imposed value, whatever the beam's direction.
TEST(ResultsProtocol, HingeDisplacementsAreTheReleasedComponentForEveryBeamDirection) {
    const double directions[][2] = {{1, 0}, {0, 1}, {0.6, 0.8}, {-1, 0}, {0.6, -0.8}};
    for (const auto& d : directions) {
        InputModel input;
        AddNode(input, 0, 0, 0, 1, 1, 1);
        AddNode(input, 1, 10 * d[0], 10 * d[1], 0, 0, 0);
        AddCrossSection(input);
        AddBeam(input, 0, 1, 2, 1);
        const double deformation[] = {0.02, 0.01, 0.03};
        for (int type = 0; type < 3; ++type) {
            HingeRec& h = ValidRecord(input.hinges, type);
            h.beam = 1, h.pos = 0.25 * (type + 1), h.type = type;
            HingeLoadRec& l = ValidRecord(input.hingeLoads, type);
            l.hinge = type + 1, l.kind = kHingeLoadDeformation, l.value = deformation[type];
        }
        SolutionsCont solutions(input);
        std::string text = ResultsOf(input, solutions);
        size_t at = text.find(kHingeHead);
        ASSERT_NE(at, std::string::npos);
        ExpectSameLinesUpToZeroNoise(text.substr(at + kHingeHead.size()),
                                     "    1      0.000   -0.02000    0.02000\n"
                                     "    2      0.000   -0.01000    0.01000\n"
                                     "    3      0.000   -0.03000    0.03000\n");
    }
}

// A beam of length 10 clamped at both ends with a load P = 10 at its middle,
// where a torsion hinge divides it: Q = ±P/2, M = ∓PL/8 at the ends and PL/8
// in the middle. The row at the hinge's ξ shows the end of the element before
// the hinge, where the shear is still +P/2.
TEST(ResultsProtocol, RowAtAHingeShowsTheElementBeforeIt) {
    InputModel input;
    AddNode(input, 0, 0, 0, 1, 1, 1);
    AddNode(input, 1, 10, 0, 1, 1, 1);
    AddCrossSection(input);
    AddBeam(input, 0, 1, 2, 2);
    HingeRec& h = ValidRecord(input.hinges, 0);
    h.beam = 1, h.pos = 0.5, h.type = kHingeTorsion;
    PointLoadRec& p = ValidRecord(input.pointLoads, 0);
    p.beam = 1, p.pos = 0.5, p.Q = 10;
    SolutionsCont solutions(input);
    std::string text = ResultsOf(input, solutions);
    const std::string table =
        "\n------------------ Schnittkräfte des Stabes   1 in 1/2   Punkten -------------------\n" +
        kTableHead;
    size_t at = text.find(table);
    ASSERT_NE(at, std::string::npos);
    std::vector<std::string> rows = SplitLines(text.substr(at + table.size()));
    ASSERT_GE(rows.size(), 3u);
    ExpectSameLinesUpToZeroNoise(rows[0] + "\n" + rows[1] + "\n" + rows[2] + "\n",
                                 "  0.000      5.000     -12.50      0.000\n"
                                 " 0.5000      5.000      12.50      0.000\n"
                                 "  1.000     -5.000     -12.50      0.000\n");
}

// A simply supported beam (fork supports) under q = 2 over L = 10: the
// reaction is −qL/2 at both supports and the mid-span moment qL²/8 = 25.
TEST(ResultsProtocol, SimplySupportedBeamReactionsAndMidSpanMoment) {
    InputModel input;
    AddNode(input, 0, 0, 0, 1, 1, 0);
    AddNode(input, 1, 10, 0, 1, 1, 0);
    AddCrossSection(input);
    AddBeam(input, 0, 1, 2, 2);
    BeamLoadRec& load = ValidRecord(input.beamLoads, 0);
    load.from = 1, load.to = 1, load.qStart = 2, load.qEnd = 2;
    SolutionsCont solutions(input);
    std::string text = ResultsOf(input, solutions);
    EXPECT_NE(text.find("      M      25.00     0.5000"), std::string::npos);
    size_t at = text.find(kReactionHead);
    ASSERT_NE(at, std::string::npos);
    ExpectSameLinesUpToZeroNoise(text.substr(at + kReactionHead.size()),
                                 "    1     -10.00      0.000      0.000\n"
                                 "    2     -10.00      0.000      0.000\n" +
                                     kHingeHead);
}

TEST(ResultsProtocol, WithoutValidResultsNothingIsWritten) {
    InputModel input;
    Cantilever(input, 5);
    SolutionsCont solutions(input);
    ResultsOf(input, solutions);
    solutions.Clear(); // as after any change of the input
    std::string text = CaptureText([&](std::FILE* f) {
        EXPECT_THROW(WriteResultsProtocol(input, solutions, f, FixedContext()), BalkorError);
    });
    EXPECT_EQ(text, "");
}

// A held degree of freedom can come out of the elimination as -0.0, and a
// sum of forces as well; "%g" would print "-0.000". Here the clamped node's
// displacements and reactions are set to -0.0 after the solution.
TEST(ResultsProtocol, NegativeZeroPrintsAsZero) {
    InputModel input;
    Cantilever(input, 1);
    SolutionsCont solutions(input);
    ResultsOf(input, solutions);
    const int first = solutions.nodes[input.nodes.RowRecord(0)->calcNode].firstDof;
    for (int c = 0; c < 3; ++c) {
        solutions.dofs.Dof(first + c).solvedValue = -0.0;
        solutions.dofs.Dof(first + c).nodeForce = -0.0;
    }
    const std::string text = CaptureText(
        [&](std::FILE* f) { WriteResultsProtocol(input, solutions, f, FixedContext()); });
    const std::string zeros = "    1      0.000      0.000      0.000\n";
    EXPECT_NE(text.find(kNodeHead + zeros), std::string::npos) << text;
    EXPECT_NE(text.find(kReactionHead + zeros), std::string::npos) << text;
    EXPECT_EQ(text.find("-0.000"), std::string::npos);
}

TEST(ResultsProtocolSupport, NegativeZeroIsNoZeroNoise) {
    EXPECT_TRUE(IsNegativeZero("-0.000"));
    EXPECT_TRUE(IsNegativeZero("-0"));
    EXPECT_FALSE(IsNegativeZero("0.000"));
    EXPECT_FALSE(IsNegativeZero("-1.000e-17"));
}

// A hinge of an unknown type (7, from a hand-edited file) still divides the
// beam and releases nothing: the cantilever of length 10 (EI = 1000) under
// a tip load P = 10 bends as one piece, w(5) = P·5²(3·10 − 5)/(6 EI) =
// 1.0417 on both sides. Its row stays, with the deflections.
TEST(ResultsProtocol, HingeOfAnUnknownTypeKeepsItsRowWithTheDeflections) {
    InputModel input;
    AddNode(input, 0, 0, 0, 1, 1, 1);
    AddNode(input, 1, 10, 0, 0, 0, 0);
    AddCrossSection(input);
    AddBeam(input, 0, 1, 2, 1);
    HingeRec& hinge = ValidRecord(input.hinges, 1);
    hinge.beam = 1, hinge.pos = 0.5, hinge.type = 7;
    NodeLoadRec& load = ValidRecord(input.nodeLoads, 0);
    load.from = 2, load.to = 2, load.Fz = 10;
    SolutionsCont solutions(input);
    const std::string text = ResultsOf(input, solutions);
    const size_t at = text.find(kHingeHead);
    ASSERT_NE(at, std::string::npos);
    ExpectSameLinesUpToZeroNoise(text.substr(at + kHingeHead.size()),
                                 "    2      1.042      1.042      0.000\n");
}

TEST(ResultsProtocol, RowsAreCountedPerBeam) {
    InputModel input;
    const int intervals[] = {5, 1, 0, -3, 2};
    for (int row = 0; row < 5; ++row)
        AddBeam(input, row, 1, 2, intervals[row]);
    // 5: 4 deflection rows and 6 section-force rows; 1, 0 and -3: the two
    // beam ends; 2: one deflection row and three section-force rows.
    EXPECT_EQ(ResultsProtocolRows(input), 10 + 2 + 2 + 2 + 4);
    input.beams.RowRecord(1)->intervals = 2147483647;
    EXPECT_EQ(ResultsProtocolRows(input), 10 + 2 * 2147483647L + 2 + 2 + 4);
}

// Mended: a beam with 2147483647 intervals wrote a protocol of over 100 GB.
// More than 10,000,000 evaluation rows are refused before anything is written.
TEST(ResultsProtocol, TooManyRowsAreRefusedBeforeWriting) {
    InputModel input;
    Cantilever(input, 5000000); // 4,999,999 + 5,000,001 rows: 10,000,000
    AddBeam(input, 1, 2, 1, 2); // 4 rows more
    SolutionsCont solutions(input);
    ASSERT_TRUE(solutions.Calculate().ok);
    EXPECT_EQ(ResultsProtocolRows(input), 10000004);
    const std::string text = CaptureText([&](std::FILE* f) {
        try {
            WriteResultsProtocol(input, solutions, f, FixedContext());
            ADD_FAILURE() << "written";
        } catch (const BalkorError& e) {
            EXPECT_STREQ(e.what(), "Das Ergebnisprotokoll wäre mit 10000004 Auswertungszeilen zu "
                                   "groß (höchstens 10000000); bitte die Intervalle der Stäbe "
                                   "verringern");
        }
    });
    EXPECT_EQ(text, "");
}

} // namespace
