#include "exchange/ResultTables.h"

#include "analysis/SolutionsCont.h"
#include "model/Format.h"
#include "model/Tables.h"
#include "protocols/ResultValues.h"

#include <charconv>
#include <cmath>

namespace {

const ResultTableInfo kTables[kResultTableCount] = {
    {"Knotenverschiebung", "knotenverschiebung.csv", {"Knoten", "wz", "Rx", "Ry"}},
    {"Stabwerte", "stabwerte.csv", {"Stab", "Xi-Pos", "wz", "Q", "M", "T"}},
    {"Schnittkräfte",
     "schnittkraefte.csv",
     {"Stab", "Kraft", "Maximum", "Xi-Max", "Minimum", "Xi-Min"}},
    {"Auflagerkräfte", "auflagerkraefte.csv", {"Knoten", "Art", "Z", "Mx", "My"}},
    {"Gelenkverschiebung",
     "gelenkverschiebung.csv",
     {"Gelenk", "rechte Seite", "linke Seite", "Gesamt"}},
};

// A held degree of freedom comes out of the elimination as -0.0; the
// protocols show it as 0, and so do the tables.
ResultCell Number(double value) {
    return {value + 0.0, nullptr};
}

ResultCell Text(const char* text) {
    return {0.0, text};
}

ResultCell Empty() {
    return {NAN, nullptr};
}

int RowNumber(InputContainer& table, const void* record) {
    return table.IndexOf(record) + 1;
}

void NodeDisplacements(InputModel& input, const SolutionsCont& s, ResultRowSink& sink) {
    for (int k = 0; k < input.nodes.ValidCount(); ++k) {
        const NodeRec& node = *input.nodes.ValidRow(k);
        if (node.calcNode < 0)
            continue;
        const ResultCell row[] = {
            Number(RowNumber(input.nodes, &node)), Number(s.NodeValue(node.calcNode, kWz)),
            Number(s.NodeValue(node.calcNode, kRx)), Number(s.NodeValue(node.calcNode, kRy))};
        sink.Row(row);
    }
}

void BeamPoints(InputModel& input, const SolutionsCont& s, ResultRowSink& sink) {
    for (int k = 0; k < input.beams.ValidCount(); ++k) {
        const BeamRec& beam = *input.beams.ValidRow(k);
        const int number = RowNumber(input.beams, &beam);
        const long n = TableIntervals(beam.intervals);
        for (long m = 0; m <= n; ++m) {
            const double xi = EvaluationPoint(m, n);
            const BeamPoint point = PointOnBeam(s, number, xi);
            auto force = [&](int kind) {
                return Number(s.SectionForce(point.element, point.t, kind));
            };
            const ResultCell row[] = {
                Number(number), Number(xi), Number(s.Deflection(point.element, point.t)),
                force(1),       force(2),   force(3)};
            sink.Row(row);
        }
    }
}

void Extrema(InputModel& input, const SolutionsCont& s, ResultRowSink& sink) {
    for (int k = 0; k < input.beams.ValidCount(); ++k) {
        const int number = RowNumber(input.beams, input.beams.ValidRow(k));
        for (int kind = 1; kind <= kSectionForceKinds; ++kind) {
            const BeamExtremum e = s.BeamExtrema(number, kind);
            const ResultCell found[] = {Number(number), Text(SectionForceName(kind)),
                                        Number(e.max),  Number(e.xiMax),
                                        Number(e.min),  Number(e.xiMin)};
            const ResultCell none[] = {
                Number(number), Text(SectionForceName(kind)), Empty(), Empty(), Empty(), Empty()};
            sink.Row(e.found ? found : none);
        }
    }
}

void NodeForces(ResultRowSink& sink, int number, const char* kind, const SolutionsCont& s, int node,
                double (SolutionsCont::*force)(int, int) const) {
    const ResultCell row[] = {Number(number), Text(kind), Number((s.*force)(node, kWz)),
                              Number((s.*force)(node, kRx)), Number((s.*force)(node, kRy))};
    sink.Row(row);
}

// The rigid supports' reactions and, marked "Feder", the forces of the
// springs, node by node; together they balance the loads.
void Reactions(InputModel& input, const SolutionsCont& s, ResultRowSink& sink) {
    for (int k = 0; k < input.nodes.ValidCount(); ++k) {
        const NodeRec& node = *input.nodes.ValidRow(k);
        if (node.calcNode < 0)
            continue;
        const int number = RowNumber(input.nodes, &node);
        if (node.fixZ != 0 || node.fixRx != 0 || node.fixRy != 0)
            NodeForces(sink, number, "Auflager", s, node.calcNode, &SolutionsCont::SupportReaction);
        if (s.HasSpring(node.calcNode))
            NodeForces(sink, number, "Feder", s, node.calcNode, &SolutionsCont::SpringForce);
    }
}

void Hinges(InputModel& input, const SolutionsCont& s, ResultRowSink& sink) {
    for (int k = 0; k < input.hinges.ValidCount(); ++k) {
        const HingeRec& hinge = *input.hinges.ValidRow(k);
        HingeSides sides;
        if (!HingeDisplacement(input, s, hinge, sides))
            continue;
        const ResultCell row[] = {Number(RowNumber(input.hinges, &hinge)), Number(sides.sideA),
                                  Number(sides.sideB), Number(sides.sideA - sides.sideB)};
        sink.Row(row);
    }
}

} // namespace

const ResultTableInfo& ResultTableInfoOf(int table) {
    return kTables[table];
}

void EmitResultTable(int table, InputModel& input, const SolutionsCont& solutions,
                     ResultRowSink& sink) {
    switch (table) {
    case kTableNodeDisplacements:
        return NodeDisplacements(input, solutions, sink);
    case kTableBeamPoints:
        return BeamPoints(input, solutions, sink);
    case kTableExtrema:
        return Extrema(input, solutions, sink);
    case kTableReactions:
        return Reactions(input, solutions, sink);
    case kTableHinges:
        return Hinges(input, solutions, sink);
    default:
        return;
    }
}

long ResultPointRows(InputModel& input) {
    long rows = 0;
    for (int k = 0; k < input.beams.ValidCount(); ++k)
        rows += TableIntervals(input.beams.ValidRow(k)->intervals) + 1;
    return rows;
}

std::string TooManyPointsText(long rows) {
    return Format("%ld Auswertungspunkte, höchstens %ld", rows, kMaxResultPointRows);
}

std::string FullPrecision(double value) {
    char text[32];
    const auto result =
        std::to_chars(text, text + sizeof text, value + 0.0, std::chars_format::general, 17);
    return std::string(text, result.ptr);
}
