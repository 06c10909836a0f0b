#include "model/Format.h"
#include "model/Tables.h"
#include "protocols/ProtocolText.h"
#include "protocols/Protocols.h"

#include <initializer_list>

namespace {

// One table as a protocol section: title, dash line, headings, dash line,
// one line per valid row, an empty line. Empty tables write nothing.
template <class Rec, class RowText>
void WriteTableSection(std::FILE* file, RecordTable<Rec>& table, const char* title,
                       std::initializer_list<const char*> headings, RowText rowText) {
    const int count = table.ValidCount();
    if (count == 0)
        return;
    Put(file, title);
    Put(file, RuleLine('-', 82));
    for (const char* heading : headings)
        Put(file, heading);
    Put(file, RuleLine('-', 82));
    for (int k = 0; k < count; ++k) {
        const Rec& record = *table.ValidRow(k);
        Put(file, rowText(table.IndexOf(&record) + 1, record));
    }
    Put(file, "\n\n");
}

void WriteSystemSections(InputModel& input, std::FILE* file) {
    WriteTableSection(file, input.nodes, "\nKnoten\n",
                      {"         Knotenkoordinaten          Auflager\n",
                       "   Nr      x          y          z Rx Ry   Schiefstellung (in°)\n"},
                      [](int number, const NodeRec& n) {
                          return Format("%5d %#10.4lg %#10.4lg      %c  %c  %c   %10lg\n", number,
                                        n.x, n.y, SupportLetter(n.fixZ), SupportLetter(n.fixRx),
                                        SupportLetter(n.fixRy), n.skew);
                      });
    WriteTableSection(
        file, input.beams, "\nStäbe\n",
        {"        Knotennummer   \n", "Stabnr  Anfang  Ende  Querschnitt Intervalle Stabdicke\n"},
        [](int number, const BeamRec& b) {
            return Format("%5d   %5d  %5d     %5d      %5d  %#10.4lg\n", number, b.start, b.end,
                          b.section, b.intervals, b.thickness);
        });
    WriteTableSection(
        file, input.mats, "\nQuerschnittstypen\n",
        {"   Nr    E-Modul   Schubmodul Trägheitsmom.Iy  Trägheitsmom. It   Temp.ausd.koeff. \n"},
        [](int number, const MatRec& m) {
            return Format("%5d  %#10.4lg  %#10.4lg %#10.4lg         %#10.4lg         %#10.4lg\n",
                          number, m.E, m.G, m.Iy, m.It, m.alphaT);
        });
    WriteTableSection(file, input.hinges, "\nGelenke\n", {"   Nr   StabNr    x-Pos     Typ \n"},
                      [](int number, const HingeRec& h) {
                          return Format("%5d   %5d %#10.4lg     %c\n", number, h.beam, h.pos,
                                        HingeTypeLetter(h.type));
                      });
    WriteTableSection(file, input.springs, "\nFedern\n",
                      {"        Knoten            Federsteifigkeit\n",
                       "   Nr   von   bis      kz         kRx        kRy\n"},
                      [](int number, const SpringRec& f) {
                          return Format("%5d %5d %5d %#10.4lg %#10.4lg %#10.4lg\n", number, f.from,
                                        f.to, f.kz, f.kRx, f.kRy);
                      });
}

void WriteLoadSections(InputModel& input, std::FILE* file) {
    WriteTableSection(file, input.nodeLoads, "\nKnotenlasten\n",
                      {"          Knoten               Lastkomponenten\n",
                       " Last    von   bis      z          Mx         My\n"},
                      [](int number, const NodeLoadRec& l) {
                          return Format("%5d  %5d %5d %#10.4lg %#10.4lg %#10.4lg\n", number, l.from,
                                        l.to, l.Fz, l.Mx, l.My);
                      });
    WriteTableSection(file, input.beamLoads, "\nStreckenlasten\n",
                      {"                                  Lastkomponenten\n",
                       "         Stäbe         Querrichtung         Torsionsmoment    \n",
                       " Last  von   bis     Anfang       Ende     Anfang       Ende   \n"},
                      [](int number, const BeamLoadRec& l) {
                          return Format("%5d %5d %5d %#10.4lg %#10.4lg %#10.4lg %#10.4lg\n", number,
                                        l.from, l.to, l.qStart, l.qEnd, l.mtStart, l.mtEnd);
                      });
    WriteTableSection(file, input.pointLoads, "\nEinzellasten\n",
                      {"                             Lastkomponenten\n",
                       " Last   Stab   xPos      Q          Mx         My\n"},
                      [](int number, const PointLoadRec& l) {
                          return Format("%5d  %5d  %#.4lg %#10.4lg %#10.4lg %#10.4lg\n", number,
                                        l.beam, l.pos, l.Q, l.Mb, l.Mt);
                      });
    WriteTableSection(file, input.zwv, "\nZwangsverschiebungen\n",
                      {"        Knoten     Zwangsverschiebung in Richtung\n",
                       "   Nr   von   bis      z          Rx         Ry\n"},
                      [](int number, const ZwvRec& z) {
                          return Format("%5d %5d %5d %#10.4lg %#10.4lg %#10.4lg\n", number, z.from,
                                        z.to, z.w, z.rx, z.ry);
                      });
    WriteTableSection(
        file, input.tempLoads, "\nTemperaturbelastungen\n",
        {"         Stäbe     Temperaturdifferenz\n", " Last   von   bis      Tu - To\n"},
        [](int number, const TempLoadRec& t) {
            return Format("%5d %5d %5d   %#10.4lg\n", number, t.from, t.to, t.dT);
        });
    WriteTableSection(file, input.hingeLoads, "\nGelenklasten\n",
                      {" Last   Gelenknr.    Last/Verformung       Wert\n"},
                      [](int number, const HingeLoadRec& l) {
                          const char* kind =
                              l.kind == kHingeLoadForce ? "   Last   " : "Verformung";
                          return Format("%5d    %5d          %10s     %#10.4lg \n", number, l.hinge,
                                        kind, l.value);
                      });
}

} // namespace

void WriteInputProtocol(InputModel& input, std::FILE* file, const ProtocolContext& context) {
    Put(file, "Balkor - Ausdruck der Eingabewerte\n\n");
    WriteHeader(file, context);
    Put(file,
        "===================================== System =====================================\n");
    WriteSystemSections(input, file);
    Put(file,
        "\n=================================== Belastungen ==================================\n");
    WriteLoadSections(input, file);
}
