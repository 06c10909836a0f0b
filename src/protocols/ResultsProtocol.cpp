#include "analysis/SolutionsCont.h"
#include "model/BalkorError.h"
#include "model/Format.h"
#include "model/Tables.h"
#include "protocols/NumberFormat.h"
#include "protocols/ProtocolText.h"
#include "protocols/Protocols.h"
#include "protocols/ResultValues.h"

#include <algorithm>

namespace {

// Section forces per column group of a section-force table.
constexpr int kGroupColumns = 7;

void DashLine(std::FILE* file) {
    Put(file, RuleLine('-', 84));
}

int RowNumber(InputContainer& table, const void* record) {
    return table.IndexOf(record) + 1;
}

// A held degree of freedom comes out of the elimination as -0.0; adding +0.0
// prints it as 0 instead of "-0.000" and leaves every other value as it is.
double Shown(double value) {
    return value + 0.0;
}

void WriteNodeDisplacements(InputModel& input, SolutionsCont& s, std::FILE* file) {
    Put(file,
        "\n---------------------------------- Knotenverschiebung ------------------------------\n");
    Put(file, "Knoten      wz         Rx        Ry\n");
    DashLine(file);
    for (int k = 0; k < input.nodes.ValidCount(); ++k) {
        const NodeRec& node = *input.nodes.ValidRow(k);
        if (node.calcNode < 0)
            continue;
        Put(file, FormatFast("%5d %#10.4lg %#10.4lg %#10.4lg\n", RowNumber(input.nodes, &node),
                             Shown(s.NodeValue(node.calcNode, kWz)),
                             Shown(s.NodeValue(node.calcNode, kRx)),
                             Shown(s.NodeValue(node.calcNode, kRy))));
    }
}

void WriteBeamDeflections(InputModel& input, SolutionsCont& s, std::FILE* file) {
    for (int k = 0; k < input.beams.ValidCount(); ++k) {
        const BeamRec& beam = *input.beams.ValidRow(k);
        const long d = beam.intervals;
        if (d <= 1)
            continue;
        const int number = RowNumber(input.beams, &beam);
        Put(file, FormatFast("\n------------------- Verschiebung des Stabes %3d in 1/%-3ld Punkten "
                             "-------------------\n",
                             number, d));
        Put(file, "xi-Position      wz\n");
        DashLine(file);
        for (long i = 1; i < d; ++i) {
            const double xi = EvaluationPoint(i, d);
            Put(file,
                FormatFast("%#10.4lg %#10.4lg\n", xi, Shown(DeflectionOnBeam(s, number, xi))));
        }
    }
}

void WriteExtrema(InputModel& input, SolutionsCont& s, std::FILE* file) {
    Put(file, "\n\n---------------------------------- Schnittkräfte "
              "-----------------------------------\n");
    for (int k = 0; k < input.beams.ValidCount(); ++k) {
        const int number = RowNumber(input.beams, input.beams.ValidRow(k));
        Put(file, FormatFast("\nStab Nr.%d\n", number));
        Put(file, "Kraft      Maximum     Xi-Max    Minimum     Xi-Min\n");
        DashLine(file);
        for (int kind = 1; kind <= kSectionForceKinds; ++kind) {
            const BeamExtremum e = s.BeamExtrema(number, kind);
            if (!e.found) {
                Put(file, FormatFast("%7.7s %10s %10s %10s %10s\n", SectionForceName(kind), "-",
                                     "-", "-", "-"));
                continue;
            }
            Put(file,
                FormatFast("%7.7s %#10.4lg %#10.4lg %#10.4lg %#10.4lg\n", SectionForceName(kind),
                           Shown(e.max), e.xiMax, Shown(e.min), e.xiMin));
        }
    }
}

// One group of columns (kinds first … last) of a beam's section-force table.
void WriteForceGroup(SolutionsCont& s, int beam, long n, int first, int last, std::FILE* file) {
    Put(file, " Xi-Pos  ");
    for (int kind = first; kind <= last; ++kind)
        Put(file, FormatFast("  %7.7s  ", SectionForceName(kind)));
    Put(file, "\n");
    std::string row;
    for (long m = 0; m <= n; ++m) {
        const double xi = EvaluationPoint(m, n);
        const BeamPoint point = PointOnBeam(s, beam, xi);
        auto force = [&](int kind) { return Shown(s.SectionForce(point.element, point.t, kind)); };
        // The row is written at once (the usual group of three in one
        // formatting call); the point on the beam is found once.
        if (last - first == 2) {
            row = FormatFast("%#7.4lg %#10.4lg %#10.4lg %#10.4lg\n", xi, force(first),
                             force(first + 1), force(last));
        } else {
            row = FormatFast("%#7.4lg", xi);
            for (int kind = first; kind <= last; ++kind)
                row += FormatFast(" %#10.4lg", force(kind));
            row += "\n";
        }
        Put(file, row);
    }
}

void WriteSectionForceTables(InputModel& input, SolutionsCont& s, std::FILE* file) {
    for (int k = 0; k < input.beams.ValidCount(); ++k) {
        const BeamRec& beam = *input.beams.ValidRow(k);
        const int number = RowNumber(input.beams, &beam);
        const long n = TableIntervals(beam.intervals);
        Put(file, FormatFast("\n------------------ Schnittkräfte des Stabes %3d in 1/%-3ld Punkten "
                             "-------------------\n",
                             number, n));
        const int groups = kSectionForceKinds / kGroupColumns + 1;
        for (int g = 0; g < groups; ++g) {
            const int first = 1 + g * kGroupColumns;
            const int last = std::min(first + kGroupColumns - 1, kSectionForceKinds);
            if (first <= last)
                WriteForceGroup(s, number, n, first, last, file);
        }
    }
}

// The rigid supports' reactions and, marked "Feder", the forces of the
// springs, node by node; together they balance the loads.
void WriteReactions(InputModel& input, SolutionsCont& s, std::FILE* file) {
    Put(file, "\n------------------------------------- Auflagerkräfte "
              "-------------------------------\n");
    Put(file, "Knoten       Z          Mx       My\n");
    DashLine(file);
    for (int k = 0; k < input.nodes.ValidCount(); ++k) {
        const NodeRec& node = *input.nodes.ValidRow(k);
        if (node.calcNode < 0)
            continue;
        const int number = RowNumber(input.nodes, &node);
        if (node.fixZ != 0 || node.fixRx != 0 || node.fixRy != 0)
            Put(file, FormatFast("%5d %#10.4lg %#10.4lg %#10.4lg\n", number,
                                 Shown(s.SupportReaction(node.calcNode, kWz)),
                                 Shown(s.SupportReaction(node.calcNode, kRx)),
                                 Shown(s.SupportReaction(node.calcNode, kRy))));
        if (s.HasSpring(node.calcNode))
            Put(file, FormatFast("%5d %#10.4lg %#10.4lg %#10.4lg  Feder\n", number,
                                 Shown(s.SpringForce(node.calcNode, kWz)),
                                 Shown(s.SpringForce(node.calcNode, kRx)),
                                 Shown(s.SpringForce(node.calcNode, kRy))));
    }
}

void WriteHingeDisplacements(InputModel& input, SolutionsCont& s, std::FILE* file) {
    Put(file,
        "\n---------------------------------- Gelenkverschiebung ------------------------------\n");
    Put(file, "Gelenk   rechte Seite linke Seite     Gesamt\n");
    DashLine(file);
    for (int k = 0; k < input.hinges.ValidCount(); ++k) {
        const HingeRec& hinge = *input.hinges.ValidRow(k);
        HingeSides sides;
        if (!HingeDisplacement(input, s, hinge, sides))
            continue;
        Put(file,
            FormatFast("%5d %#10.4lg %#10.4lg %#10.4lg\n", RowNumber(input.hinges, &hinge),
                       Shown(sides.sideA), Shown(sides.sideB), Shown(sides.sideA - sides.sideB)));
    }
}

} // namespace

long ResultsProtocolRows(InputModel& input) {
    long rows = 0;
    for (int k = 0; k < input.beams.ValidCount(); ++k) {
        const long d = input.beams.ValidRow(k)->intervals;
        rows += (d > 1 ? d - 1 : 0) + TableIntervals(static_cast<int>(d)) + 1;
    }
    return rows;
}

std::string ResultsProtocolTooLarge(long rows) {
    return Format("Das Ergebnisprotokoll wäre mit %ld Auswertungszeilen zu groß (höchstens %ld); "
                  "bitte die Intervalle der Stäbe verringern",
                  rows, kMaxResultsProtocolRows);
}

void WriteResultsProtocol(InputModel& input, SolutionsCont& solutions, std::FILE* file,
                          const ProtocolContext& context) {
    if (!solutions.resultsValid)
        throw BalkorError(kNoResultsMessage);
    if (const long rows = ResultsProtocolRows(input); rows > kMaxResultsProtocolRows)
        throw BalkorError(ResultsProtocolTooLarge(rows));
    Put(file, "Balkor - Ausdruck der Ergebnisse\n\n");
    WriteHeader(file, context);
    WriteNodeDisplacements(input, solutions, file);
    WriteBeamDeflections(input, solutions, file);
    WriteExtrema(input, solutions, file);
    WriteSectionForceTables(input, solutions, file);
    WriteReactions(input, solutions, file);
    WriteHingeDisplacements(input, solutions, file);
}
