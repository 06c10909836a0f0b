#include "batch/ResultsJson.h"

#include "analysis/SolElement.h"
#include "analysis/SolutionsCont.h"
#include "model/Tables.h"
#include "protocols/ProtocolText.h"
#include "protocols/ResultValues.h"

using Json = nlohmann::ordered_json;

namespace {

constexpr int kFormatVersion = 1;

Json NumberOrNull(int number) {
    return number > 0 ? Json(number) : Json(nullptr);
}

Json Counters(const CalcCounters& c) {
    return {
        {"nodes", c.nodes},           {"elements", c.elements},       {"dofs", c.dofs},
        {"conditions", c.conditions}, {"memoryBytes", c.memoryBytes}, {"bandwidth", c.bandwidth}};
}

Json Displacements(const SolutionsCont& s, int node) {
    return {{"wz", s.NodeValue(node, kWz)},
            {"Rx", s.NodeValue(node, kRx)},
            {"Ry", s.NodeValue(node, kRy)}};
}

Json AnalysisNodes(const SolutionsCont& s) {
    Json list = Json::array();
    for (int i = 0; i < s.nodes.Count(); ++i) {
        const AnalysisNode& n = s.nodes[i];
        Json entry = {{"index", i}, {"node", NumberOrNull(n.inputRow + 1)}, {"x", n.x}, {"y", n.y}};
        entry.update(Displacements(s, i));
        list.push_back(entry);
    }
    return list;
}

Json InputNodes(InputModel& input, const SolutionsCont& s) {
    Json list = Json::array();
    for (int k = 0; k < input.nodes.ValidCount(); ++k) {
        const NodeRec& node = *input.nodes.ValidRow(k);
        if (node.calcNode < 0)
            continue;
        Json entry = {{"node", input.nodes.IndexOf(&node) + 1}, {"analysisNode", node.calcNode}};
        entry.update(Displacements(s, node.calcNode));
        list.push_back(entry);
    }
    return list;
}

Json Reactions(InputModel& input, const SolutionsCont& s) {
    Json list = Json::array();
    for (int k = 0; k < input.nodes.ValidCount(); ++k) {
        const NodeRec& node = *input.nodes.ValidRow(k);
        if ((node.fixZ == 0 && node.fixRx == 0 && node.fixRy == 0) || node.calcNode < 0)
            continue;
        list.push_back({{"node", input.nodes.IndexOf(&node) + 1},
                        {"Z", s.NodeForce(node.calcNode, kWz)},
                        {"Mx", s.NodeForce(node.calcNode, kRx)},
                        {"My", s.NodeForce(node.calcNode, kRy)}});
    }
    return list;
}

Json Elements(const SolutionsCont& s) {
    Json list = Json::array();
    for (int i = 0; i < s.elements.Count(); ++i) {
        const SolElement& e = s.elements[i];
        list.push_back({{"index", i},
                        {"beam", e.beamNumber},
                        {"xiStart", e.xiStart},
                        {"xiEnd", e.xiEnd},
                        {"startNode", e.startNode},
                        {"endNode", e.endNode},
                        {"Qs", e.forces[kQs]},
                        {"Ms", e.forces[kMs]},
                        {"Ts", e.forces[kTs]},
                        {"Qe", e.forces[kQe]},
                        {"Me", e.forces[kMe]},
                        {"Te", e.forces[kTe]}});
    }
    return list;
}

Json BeamExtremaJson(const SolutionsCont& s, int beam) {
    Json extrema = Json::object();
    for (int kind = 1; kind <= kSectionForceKinds; ++kind) {
        const BeamExtremum e = s.BeamExtrema(beam, kind);
        extrema[SectionForceName(kind)] = {
            {"max", e.max}, {"xiMax", e.xiMax}, {"min", e.min}, {"xiMin", e.xiMin}};
    }
    return extrema;
}

Json EvaluationPoints(const SolutionsCont& s, int beam, long n) {
    Json points = Json::array();
    for (long m = 0; m <= n; ++m) {
        const double xi = EvaluationPoint(m, n);
        Json point = {{"xi", xi}, {"wz", DeflectionOnBeam(s, beam, xi)}};
        for (int kind = 1; kind <= kSectionForceKinds; ++kind)
            point[SectionForceName(kind)] = SectionForceOnBeam(s, beam, xi, kind);
        points.push_back(point);
    }
    return points;
}

Json Beams(InputModel& input, const SolutionsCont& s) {
    Json list = Json::array();
    for (int k = 0; k < input.beams.ValidCount(); ++k) {
        const BeamRec& beam = *input.beams.ValidRow(k);
        const int number = input.beams.IndexOf(&beam) + 1;
        list.push_back({{"beam", number},
                        {"intervals", TableIntervals(beam.intervals)},
                        {"extrema", BeamExtremaJson(s, number)},
                        {"points", EvaluationPoints(s, number, TableIntervals(beam.intervals))}});
    }
    return list;
}

const char* ReleasedComponent(int type) {
    switch (type) {
    case kHingeShear:
        return "wz";
    case kHingeBending:
        return "bending";
    default:
        return "torsion";
    }
}

Json Hinges(InputModel& input, const SolutionsCont& s) {
    Json list = Json::array();
    for (int k = 0; k < input.hinges.ValidCount(); ++k) {
        const HingeRec& hinge = *input.hinges.ValidRow(k);
        HingeSides sides;
        if (!HingeDisplacement(input, s, hinge, sides))
            continue;
        list.push_back({{"hinge", input.hinges.IndexOf(&hinge) + 1},
                        {"beam", hinge.beam},
                        {"pos", hinge.pos},
                        {"type", hinge.type},
                        {"component", ReleasedComponent(hinge.type)},
                        {"sideA", sides.sideA},
                        {"sideB", sides.sideB},
                        {"difference", sides.sideA - sides.sideB}});
    }
    return list;
}

} // namespace

long JsonPointCount(InputModel& input) {
    long count = 0;
    for (int k = 0; k < input.beams.ValidCount(); ++k)
        count += TableIntervals(input.beams.ValidRow(k)->intervals) + 1;
    return count;
}

Json ResultsJson(InputModel& input, SolutionsCont& solutions, const std::string& systemFile,
                 const std::string& loadCaseFile) {
    return {{"format", "balkor-results"},
            {"version", kFormatVersion},
            {"system", FileNamePart(systemFile)},
            {"loadCase", FileNamePart(loadCaseFile)},
            {"counters", Counters(solutions.counters)},
            {"nodes", InputNodes(input, solutions)},
            {"analysisNodes", AnalysisNodes(solutions)},
            {"reactions", Reactions(input, solutions)},
            {"elements", Elements(solutions)},
            {"beams", Beams(input, solutions)},
            {"hinges", Hinges(input, solutions)}};
}
