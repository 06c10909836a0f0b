#include "project/ProjectProtocol.h"

#include "model/Format.h"
#include "project/ProjectAnalysis.h"
#include "protocols/NumberFormat.h"
#include "protocols/ProtocolText.h"
#include "protocols/ResultValues.h"

namespace {

const char* const kBeamQuantityNames[kBeamQuantities] = {"wz", "Q", "M", "T"};
const char* const kReactionNames[kReactionQuantities] = {"Z", "Mx", "My"};

double Shown(double value) {
    return value + 0.0;
}

void DashLine(std::FILE* file) {
    Put(file, RuleLine('-', 84));
}

// The rows of one place: max and min of each quantity.
void WriteExtremeRows(const EnvelopeResults& r, size_t first, int width, const char* const* names,
                      const std::string& lead, std::FILE* file) {
    for (int q = 0; q < width; ++q)
        for (const auto* extremes : {&r.max, &r.min}) {
            const EnvelopeExtreme& x = (*extremes)[first + static_cast<size_t>(q)];
            std::string line =
                lead + Format(" %-3s %-3s", extremes == &r.max ? "max" : "min", names[q]);
            for (int c = 0; c < width; ++c)
                line += FormatFast(" %#10.4lg", Shown(x.concurrent[static_cast<size_t>(c)]));
            Put(file, line + "  " + r.ArrangementOf(x) + "\n");
        }
}

// The column heads over the rows of WriteExtremeRows.
std::string ColumnHeads(const char* lead, int width, const char* const* names) {
    std::string line = Format("%-7s %-7s", lead, "");
    for (int c = 0; c < width; ++c)
        line += Format(" %10s", names[c]);
    return line + "  Maßgebend\n";
}

} // namespace

std::string LoadCaseTitle(const ProjectAnalysis& project, int k) {
    return Format("Lastfall %d: %s", k + 1,
                  project.GetProject().loadCases[static_cast<size_t>(k)].name.c_str());
}

std::string CombinationTitle(const ProjectAnalysis& project, int j) {
    const Combination& c = project.GetProject().combinations[static_cast<size_t>(j)];
    return Format("Kombination %d: %s = %s", j + 1, c.name.c_str(),
                  CombinationArrangement(c).c_str());
}

std::string EnvelopeTitle(const ProjectAnalysis& project, int e) {
    return Format("Umhüllende %d: %s", e + 1,
                  project.GetProject().envelopes[static_cast<size_t>(e)].name.c_str());
}

std::string CombinationHeaderName(const ProjectAnalysis& project, int j) {
    return CombinationTitle(project, j);
}

void WriteEnvelopeProtocol(ProjectAnalysis& project, int e, std::FILE* file) {
    const EnvelopeResults r = project.EvaluateEnvelope(e);
    const Envelope& envelope = project.GetProject().envelopes[static_cast<size_t>(e)];
    Put(file, RuleLine('=', 84));
    Put(file, "Glieder (ungünstig/günstig):");
    for (const EnvelopeTerm& term : envelope.terms) {
        std::string members;
        for (size_t m = 0; m < term.members.size(); ++m)
            members += (m ? "|" : "") + MemberLabel(term.members[m]);
        Put(file, Format(" %s%s%s %.2f/%.2f", term.group ? "(" : "", members.c_str(),
                         term.group ? ")" : "", term.sup, term.inf));
    }
    Put(file, "\n");
    Put(file, RuleLine('=', 84));
    for (const EnvelopeLayout::Beam& beam : r.layout.beams) {
        Put(file, FormatFast("\n------------------ Umhüllende des Stabes %3d in 1/%-3ld Punkten "
                             "-------------------\n",
                             beam.beam, beam.n));
        Put(file, ColumnHeads(" Xi-Pos", kBeamQuantities, kBeamQuantityNames));
        DashLine(file);
        for (long m = 0; m <= beam.n; ++m) {
            const size_t first = (beam.first + static_cast<size_t>(m)) * kBeamQuantities;
            WriteExtremeRows(r, first, kBeamQuantities, kBeamQuantityNames,
                             FormatFast("%#7.4lg", EvaluationPoint(m, beam.n)), file);
        }
    }
    Put(file,
        "\n------------------------------ Umhüllende der Auflagerkräfte -----------------------\n");
    Put(file, ColumnHeads("Knoten", kReactionQuantities, kReactionNames));
    DashLine(file);
    const size_t reactions = r.layout.beamPoints * kBeamQuantities;
    for (size_t i = 0; i < r.layout.reactionNodes.size(); ++i)
        WriteExtremeRows(r, reactions + i * kReactionQuantities, kReactionQuantities,
                         kReactionNames, Format("%5d  ", r.layout.reactionNodes[i]), file);
}

void WriteProjectResultsProtocol(ProjectAnalysis& project, std::FILE* file,
                                 const ProtocolContext& context,
                                 const std::vector<std::string>& loadCaseFiles) {
    const ProjectModel& p = project.GetProject();
    bool first = true;
    auto title = [&](const std::string& text) {
        Put(file, (first ? "" : "\n") + text + "\n");
        first = false;
    };
    for (int k = 0; k < static_cast<int>(p.loadCases.size()); ++k) {
        title(LoadCaseTitle(project, k));
        project.ShowLoadCase(k);
        ProtocolContext own = context;
        own.loadCaseFile = loadCaseFiles[static_cast<size_t>(k)];
        WriteResultsProtocol(project.Input(), project.Solutions(), file, own);
    }
    for (int j = 0; j < static_cast<int>(p.combinations.size()); ++j) {
        title(CombinationTitle(project, j));
        project.ShowCombination(j);
        ProtocolContext own = context;
        own.loadCaseFile = CombinationHeaderName(project, j);
        WriteResultsProtocol(project.Input(), project.Solutions(), file, own);
    }
    for (int e = 0; e < static_cast<int>(p.envelopes.size()); ++e) {
        title(EnvelopeTitle(project, e));
        WriteEnvelopeProtocol(project, e, file);
    }
}
