#include "batch/ProjectJson.h"

#include "batch/ResultsJson.h"
#include "project/ProjectAnalysis.h"
#include "protocols/ProtocolText.h"
#include "protocols/ResultValues.h"

using Json = nlohmann::ordered_json;

namespace {

constexpr int kProjectFormatVersion = 1;
const char* const kBeamKeys[kBeamQuantities] = {"wz", "Q", "M", "T"};
const char* const kReactionKeys[kReactionQuantities] = {"Z", "Mx", "My"};

Json Extremes(const EnvelopeResults& r, size_t first, int width, const char* const* keys) {
    Json place = Json::object();
    for (const auto* extremes : {&r.max, &r.min}) {
        Json sense = Json::object();
        for (int q = 0; q < width; ++q) {
            const EnvelopeExtreme& x = (*extremes)[first + static_cast<size_t>(q)];
            Json concurrent = Json::object();
            for (int c = 0; c < width; ++c)
                concurrent[keys[c]] = x.concurrent[static_cast<size_t>(c)] + 0.0;
            sense[keys[q]] = {{"value", x.value + 0.0},
                              {"concurrent", concurrent},
                              {"arrangement", r.ArrangementOf(x)}};
        }
        place[extremes == &r.max ? "max" : "min"] = sense;
    }
    return place;
}

Json Terms(const Envelope& envelope) {
    Json terms = Json::array();
    for (const EnvelopeTerm& term : envelope.terms) {
        Json members = Json::array();
        for (const EnvelopeMember& member : term.members)
            members.push_back(MemberLabel(member));
        terms.push_back(
            {{"members", members}, {"group", term.group}, {"sup", term.sup}, {"inf", term.inf}});
    }
    return terms;
}

Json EnvelopeJson(ProjectAnalysis& project, int e) {
    const Envelope& envelope = project.GetProject().envelopes[static_cast<size_t>(e)];
    const EnvelopeResults r = project.EvaluateEnvelope(e);
    Json beams = Json::array();
    for (const EnvelopeLayout::Beam& beam : r.layout.beams) {
        Json points = Json::array();
        for (long m = 0; m <= beam.n; ++m) {
            Json point = {{"xi", EvaluationPoint(m, beam.n)}};
            point.update(Extremes(r, (beam.first + static_cast<size_t>(m)) * kBeamQuantities,
                                  kBeamQuantities, kBeamKeys));
            points.push_back(point);
        }
        beams.push_back({{"beam", beam.beam}, {"intervals", beam.n}, {"points", points}});
    }
    Json reactions = Json::array();
    const size_t first = r.layout.beamPoints * kBeamQuantities;
    for (size_t i = 0; i < r.layout.reactionNodes.size(); ++i) {
        Json node = {{"node", r.layout.reactionNodes[i]}};
        node.update(
            Extremes(r, first + i * kReactionQuantities, kReactionQuantities, kReactionKeys));
        reactions.push_back(node);
    }
    return {{"number", e + 1},
            {"name", envelope.name},
            {"terms", Terms(envelope)},
            {"beams", beams},
            {"reactions", reactions}};
}

} // namespace

Json ProjectResultsJson(ProjectAnalysis& project, const std::string& systemFile,
                        const std::string& projectFile,
                        const std::vector<std::string>& loadCaseFiles) {
    const ProjectModel& p = project.GetProject();
    Json cases = Json::array();
    for (int k = 0; k < static_cast<int>(p.loadCases.size()); ++k) {
        project.ShowLoadCase(k);
        const std::string& file = loadCaseFiles[static_cast<size_t>(k)];
        cases.push_back(
            {{"number", k + 1},
             {"name", p.loadCases[static_cast<size_t>(k)].name},
             {"file", LosslessName(FileNamePart(file))},
             {"results", ResultsJson(project.Input(), project.Solutions(), systemFile, file)}});
    }
    Json combinations = Json::array();
    for (int j = 0; j < static_cast<int>(p.combinations.size()); ++j) {
        const Combination& c = p.combinations[static_cast<size_t>(j)];
        project.ShowCombination(j);
        combinations.push_back(
            {{"number", j + 1},
             {"name", c.name},
             {"factors", c.factors},
             {"arrangement", CombinationArrangement(c)},
             {"results", ResultsJson(project.Input(), project.Solutions(), systemFile, "")}});
    }
    Json envelopes = Json::array();
    for (int e = 0; e < static_cast<int>(p.envelopes.size()); ++e)
        envelopes.push_back(EnvelopeJson(project, e));
    Json counters = {{"loadCases", project.Solutions().counters.loadCases},
                     {"factorisations", project.Solutions().counters.factorisations}};
    return {{"format", "balkor-project-results"},
            {"version", kProjectFormatVersion},
            {"system", LosslessName(FileNamePart(systemFile))},
            {"project", LosslessName(FileNamePart(projectFile))},
            {"counters", counters},
            {"loadCases", cases},
            {"combinations", combinations},
            {"envelopes", envelopes}};
}

std::string ProjectResultsJsonText(ProjectAnalysis& project, const std::string& systemFile,
                                   const std::string& projectFile,
                                   const std::vector<std::string>& loadCaseFiles) {
    return ProjectResultsJson(project, systemFile, projectFile, loadCaseFiles).dump(2) + "\n";
}
