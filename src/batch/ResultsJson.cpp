#include "batch/ResultsJson.h"

#include "analysis/SolElement.h"
#include "analysis/SolutionsCont.h"
#include "model/Tables.h"
#include "protocols/ProtocolText.h"
#include "protocols/ResultValues.h"
#include "settings/TextEncoding.h"

#include <string_view>

using Json = nlohmann::ordered_json;

namespace {

constexpr int kFormatVersion = 1;

Json NumberOrNull(int number) {
    return number > 0 ? Json(number) : Json(nullptr);
}

Json Counters(const CalcCounters& c) {
    Json counters = {
        {"nodes", c.nodes},           {"elements", c.elements},       {"dofs", c.dofs},
        {"conditions", c.conditions}, {"memoryBytes", c.memoryBytes}, {"bandwidth", c.bandwidth}};
    // Only the sparse solver has a factor of its own to count.
    if (c.sparse)
        counters["factorNonZeros"] = c.factorNonZeros;
    return counters;
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

Json NodeForces(const SolutionsCont& s, int node, double (SolutionsCont::*force)(int, int) const) {
    return {
        {"Z", (s.*force)(node, kWz)}, {"Mx", (s.*force)(node, kRx)}, {"My", (s.*force)(node, kRy)}};
}

// The rigid supports' reactions and, marked "spring": true, the forces of
// the springs, node by node; together they balance the loads.
Json Reactions(InputModel& input, const SolutionsCont& s) {
    Json list = Json::array();
    for (int k = 0; k < input.nodes.ValidCount(); ++k) {
        const NodeRec& node = *input.nodes.ValidRow(k);
        if (node.calcNode < 0)
            continue;
        const int number = input.nodes.IndexOf(&node) + 1;
        if (node.fixZ != 0 || node.fixRx != 0 || node.fixRy != 0) {
            Json entry = {{"node", number}};
            entry.update(NodeForces(s, node.calcNode, &SolutionsCont::SupportReaction));
            list.push_back(entry);
        }
        if (s.HasSpring(node.calcNode)) {
            Json entry = {{"node", number}, {"spring", true}};
            entry.update(NodeForces(s, node.calcNode, &SolutionsCont::SpringForce));
            list.push_back(entry);
        }
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

// A type outside the three (a hand-edited file) releases nothing; its values
// are the deflections, as for a shear hinge.
const char* ReleasedComponent(int type) {
    switch (type) {
    case kHingeShear:
        return "wz";
    case kHingeBending:
        return "bending";
    case kHingeTorsion:
        return "torsion";
    default:
        return "?";
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

namespace {

// The length of the well-formed UTF-8 sequence at text[i], 0 when there is
// none.
size_t Utf8SequenceAt(std::string_view text, size_t i) {
    Utf8Validator validator;
    for (size_t j = i; j < text.size(); ++j) {
        validator.Feed(static_cast<unsigned char>(text[j]));
        if (validator.Failed())
            return 0;
        if (validator.Valid())
            return j - i + 1;
    }
    return 0;
}

// A held degree of freedom can come out of the elimination as -0.0; the
// protocol shows it as 0, and so does the JSON.
void WithoutNegativeZeros(Json& json) {
    if (json.is_number_float() && json.get<double>() == 0.0)
        json = 0.0;
    else if (json.is_structured())
        for (Json& element : json)
            WithoutNegativeZeros(element);
}

} // namespace

std::string LosslessName(std::string_view bytes) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (size_t i = 0; i < bytes.size();) {
        const size_t length = Utf8SequenceAt(bytes, i);
        if (length > 0 && bytes[i] != '%') {
            text.append(bytes.substr(i, length));
            i += length;
            continue;
        }
        const auto byte = static_cast<unsigned char>(bytes[i++]);
        text += '%';
        text += kHex[byte >> 4];
        text += kHex[byte & 0x0F];
    }
    return text;
}

Json ResultsJson(InputModel& input, SolutionsCont& solutions, const std::string& systemFile,
                 const std::string& loadCaseFile) {
    Json json = {{"format", "balkor-results"},
                 {"version", kFormatVersion},
                 {"system", LosslessName(FileNamePart(systemFile))},
                 {"loadCase", LosslessName(FileNamePart(loadCaseFile))},
                 {"counters", Counters(solutions.counters)},
                 {"nodes", InputNodes(input, solutions)},
                 {"analysisNodes", AnalysisNodes(solutions)},
                 {"reactions", Reactions(input, solutions)},
                 {"elements", Elements(solutions)},
                 {"beams", Beams(input, solutions)},
                 {"hinges", Hinges(input, solutions)}};
    WithoutNegativeZeros(json);
    return json;
}

std::string ResultsJsonText(InputModel& input, SolutionsCont& solutions,
                            const std::string& systemFile, const std::string& loadCaseFile) {
    return ResultsJson(input, solutions, systemFile, loadCaseFile).dump(2) + "\n";
}
