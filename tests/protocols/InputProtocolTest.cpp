#include "ProtocolTestSupport.h"
#include "model/Tables.h"

namespace {

const std::string kSystemLine =
    "===================================== System =====================================\n";
const std::string kLoadLine =
    "\n=================================== Belastungen ==================================\n";
const std::string kDash = std::string(82, '-') + "\n";

std::string InputProtocolOf(InputModel& input, const ProtocolContext& context = FixedContext()) {
    return CaptureText([&](std::FILE* f) { WriteInputProtocol(input, f, context); });
}

// Mended: only the file-name parts were printed, so protocols of two systems
// of the same name in different folders could not be told apart.
TEST(ProtocolHeader, TimeFirstThenDateAndThePathsOfTheFiles) {
    std::string text = CaptureText([](std::FILE* f) {
        WriteHeader(f, FixedContext("/home/ing/projekte/bruecke.bsy", "/home/ing/lasten/lf1.bld"));
    });
    ExpectSameLines(text,
                    ExpectedHeader("/home/ing/projekte/bruecke.bsy", "/home/ing/lasten/lf1.bld"));
}

TEST(ProtocolHeader, UsesTheNamedLocaleAndFallsBackToCForAnUnknownOne) {
    ProtocolContext context = FixedContext();
    context.timeLocale = "no_such_LOCALE.xyz";
    std::string text = CaptureText([&](std::FILE* f) { WriteHeader(f, context); });
    EXPECT_EQ(SplitLines(text)[0], "07:05:09  12/09/26");
}

TEST(InputProtocol, EmptyTablesGiveTitleHeaderAndTheTwoDividerLines) {
    InputModel input;
    ExpectSameLines(InputProtocolOf(input), "Balkor - Ausdruck der Eingabewerte\n\n" +
                                                ExpectedHeader() + kSystemLine + kLoadLine);
}

TEST(InputProtocol, OneRowOfEveryKind) {
    InputModel input;
    NodeRec& n1 = ValidRecord(input.nodes, 0);
    n1.x = 0, n1.y = 2100, n1.fixZ = 1, n1.fixRx = 0, n1.fixRy = 1, n1.skew = 30;
    input.nodes.RowRecord(1); // an empty row 2 is left out, node 3 keeps its number
    NodeRec& n3 = ValidRecord(input.nodes, 2);
    n3.x = -1.5, n3.y = 0.5;
    BeamRec& b = ValidRecord(input.beams, 0);
    b.start = 1, b.end = 3, b.section = 1, b.intervals = 5, b.thickness = 0.5;
    MatRec& m = ValidRecord(input.mats, 0);
    m.E = 2.1e8, m.G = 8.1e7, m.Iy = 1e-4, m.It = 2e-5, m.alphaT = 1.2e-5;
    for (int type = 0; type < 3; ++type) {
        HingeRec& h = ValidRecord(input.hinges, type);
        h.beam = 1, h.pos = 0.25 * (type + 1), h.type = type;
    }
    NodeLoadRec& nl = ValidRecord(input.nodeLoads, 0);
    nl.from = 1, nl.to = 3, nl.Fz = -10, nl.Mx = 0, nl.My = 2.5;
    BeamLoadRec& bl = ValidRecord(input.beamLoads, 0);
    bl.from = 1, bl.to = 1, bl.qStart = 5, bl.qEnd = 5, bl.mtStart = 0, bl.mtEnd = 1000;
    PointLoadRec& pl = ValidRecord(input.pointLoads, 0);
    pl.beam = 1, pl.pos = 0.25, pl.Q = 100, pl.Mb = 0, pl.Mt = -0.125;
    ZwvRec& z = ValidRecord(input.zwv, 0);
    z.from = 3, z.to = 3, z.w = 0.01;
    TempLoadRec& t = ValidRecord(input.tempLoads, 0);
    t.from = 1, t.to = 1, t.dT = 20;
    HingeLoadRec& hl1 = ValidRecord(input.hingeLoads, 0);
    hl1.hinge = 1, hl1.kind = kHingeLoadForce, hl1.value = 3;
    HingeLoadRec& hl2 = ValidRecord(input.hingeLoads, 1);
    hl2.hinge = 2, hl2.kind = kHingeLoadDeformation, hl2.value = 0.001;

    std::string expected =
        "Balkor - Ausdruck der Eingabewerte\n\n" + ExpectedHeader() + kSystemLine +
        // "%5d %#10.4lg %#10.4lg      %c  %c  %c   %10lg\n"
        "\nKnoten\n" + kDash + "         Knotenkoordinaten          Auflager\n" +
        "   Nr      x          y          z Rx Ry   Schiefstellung (in°)\n" + kDash + "    1" +
        " " + "     0.000" + " " + "     2100." + "      J  N  J   " + "        30\n" + "    3" +
        " " + "    -1.500" + " " + "    0.5000" + "      N  N  N   " + "         0\n" + "\n\n" +
        // "%5d   %5d  %5d     %5d      %5d  %#10.4lg\n"
        "\nStäbe\n" + kDash + "        Knotennummer   \n" +
        "Stabnr  Anfang  Ende  Querschnitt Intervalle Stabdicke\n" + kDash + "    1" + "   " +
        "    1" + "  " + "    3" + "     " + "    1" + "      " + "    5" + "  " + "    0.5000\n" +
        "\n\n" +
        // "%5d  %#10.4lg  %#10.4lg %#10.4lg         %#10.4lg         %#10.4lg\n"
        "\nQuerschnittstypen\n" + kDash +
        "   Nr    E-Modul   Schubmodul Trägheitsmom.Iy  Trägheitsmom. It   Temp.ausd.koeff. \n" +
        kDash + "    1" + "  " + " 2.100e+08" + "  " + " 8.100e+07" + " " + " 0.0001000" +
        "         " + " 2.000e-05" + "         " + " 1.200e-05\n" + "\n\n" +
        // "%5d   %5d %#10.4lg     %c\n"
        "\nGelenke\n" + kDash + "   Nr   StabNr    x-Pos     Typ \n" + kDash + "    1   " +
        "    1 " + "    0.2500" + "     N\n" +              //
        "    2   " + "    1 " + "    0.5000" + "     Q\n" + //
        "    3   " + "    1 " + "    0.7500" + "     M\n" + "\n\n" + kLoadLine +
        // "%5d  %5d %5d %#10.4lg %#10.4lg %#10.4lg\n"
        "\nKnotenlasten\n" + kDash + "          Knoten               Lastkomponenten\n" +
        " Last    von   bis      z          Mx         My\n" + kDash + "    1" + "  " + "    1" +
        " " + "    3" + " " + "    -10.00" + " " + "     0.000" + " " + "     2.500\n" + "\n\n" +
        // "%5d %5d %5d %#10.4lg %#10.4lg %#10.4lg %#10.4lg\n"
        "\nStreckenlasten\n" + kDash + "                                  Lastkomponenten\n" +
        "         Stäbe         Querrichtung         Torsionsmoment    \n" +
        " Last  von   bis     Anfang       Ende     Anfang       Ende   \n" + kDash + "    1" +
        " " + "    1" + " " + "    1" + " " + "     5.000" + " " + "     5.000" + " " +
        "     0.000" + " " + "     1000.\n" + "\n\n" +
        // "%5d  %5d  %#.4lg %#10.4lg %#10.4lg %#10.4lg\n"
        "\nEinzellasten\n" + kDash + "                             Lastkomponenten\n" +
        " Last   Stab   xPos      Q          Mx         My\n" + kDash + "    1" + "  " + "    1" +
        "  " + "0.2500" + " " + "     100.0" + " " + "     0.000" + " " + "   -0.1250\n" + "\n\n" +
        // "%5d %5d %5d %#10.4lg %#10.4lg %#10.4lg\n"
        "\nZwangsverschiebungen\n" + kDash + "        Knoten     Zwangsverschiebung in Richtung\n" +
        "   Nr   von   bis      z          Rx         Ry\n" + kDash + "    1" + " " + "    3" +
        " " + "    3" + " " + "   0.01000" + " " + "     0.000" + " " + "     0.000\n" + "\n\n" +
        // "%5d %5d %5d   %#10.4lg\n"
        "\nTemperaturbelastungen\n" + kDash + "         Stäbe     Temperaturdifferenz\n" +
        " Last   von   bis      Tu - To\n" + kDash + "    1" + " " + "    1" + " " + "    1" +
        "   " + "     20.00\n" + "\n\n" +
        // "%5d    %5d          %10s     %#10.4lg \n"
        "\nGelenklasten\n" + kDash + " Last   Gelenknr.    Last/Verformung       Wert\n" + kDash +
        "    1" + "    " + "    1" + "          " + "   Last   " + "     " + "     3.000 \n" +
        "    2" + "    " + "    2" + "          " + "Verformung" + "     " + "  0.001000 \n" +
        "\n\n";
    ExpectSameLines(InputProtocolOf(input), expected);
}

TEST(InputProtocol, LoadSectionsFollowTheDividerEvenWithoutSystem) {
    InputModel input;
    TempLoadRec& t = ValidRecord(input.tempLoads, 1);
    t.from = 4, t.to = 2, t.dT = -5; // written as it stands: the protocol checks nothing
    std::string text = InputProtocolOf(input);
    std::string tail = kSystemLine + kLoadLine + "\nTemperaturbelastungen\n" + kDash +
                       "         Stäbe     Temperaturdifferenz\n" +
                       " Last   von   bis      Tu - To\n" + kDash + "    2     4     2" + "   " +
                       "    -5.000\n\n\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST(InputProtocol, CodesOutsideTheLetterTablesPrintAQuestionMark) {
    InputModel input;
    NodeRec& n = ValidRecord(input.nodes, 0);
    n.fixZ = 2, n.fixRx = -1, n.fixRy = 1; // only a hand-edited file holds such codes
    HingeRec& h = ValidRecord(input.hinges, 0);
    h.beam = 1, h.type = 3;
    std::vector<std::string> lines = SplitLines(InputProtocolOf(input));
    auto has = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(has("    1      0.000      0.000      ?  ?  J            0"));
    EXPECT_TRUE(has("    1       1      0.000     ?"));
}

} // namespace
