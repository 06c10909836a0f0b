#include "project/ProjectAnalysis.h"

#include "model/Tables.h"

ProjectAnalysis::ProjectAnalysis(ProjectModel project, InputModel& input,
                                 std::vector<std::unique_ptr<InputModel>> loadCases)
    : project_(std::move(project)), input_(input), loadCases_(std::move(loadCases)),
      solutions_(input) {}

void ProjectAnalysis::ActivateCase(int k) {
    input_.CopyLoadCaseFrom(*loadCases_[static_cast<size_t>(k)]);
}

CalcResult ProjectAnalysis::Calculate(CalcStatus* status) {
    caseValues_.assign(loadCases_.size(), {});
    combinationValues_.assign(project_.combinations.size(), {});
    const CalcResult result = solutions_.CalculateCases(*this, results_, status);
    if (result.ok)
        layout_ = MakeEnvelopeLayout(input_);
    return result;
}

void ProjectAnalysis::ShowLoadCase(int k) {
    ActivateCase(k);
    solutions_.ShowCase(results_[static_cast<size_t>(k)]);
}

CaseResults ProjectAnalysis::CombinationResults(int j) const {
    const Combination& combination = project_.combinations[static_cast<size_t>(j)];
    CaseResults sum = CaseResults::ZeroLike(results_.front());
    for (size_t k = 0; k < results_.size() && k < combination.factors.size(); ++k)
        if (combination.factors[k] != 0.0)
            sum.AddScaled(results_[k], combination.factors[k]);
    return sum;
}

void ProjectAnalysis::ShowCombination(int j) {
    input_.ResetLoadCase();
    solutions_.ShowCase(CombinationResults(j));
}

const MemberValues& ProjectAnalysis::Values(const EnvelopeMember& member) {
    std::vector<MemberValues>& cache = member.combination ? combinationValues_ : caseValues_;
    MemberValues& values = cache[static_cast<size_t>(member.index)];
    if (!values.empty() || layout_.beamPoints + layout_.reactionNodes.size() == 0)
        return values;
    if (member.combination) {
        // A combination's values are the factored sum of its load cases' values.
        const Combination& combination = project_.combinations[static_cast<size_t>(member.index)];
        for (size_t k = 0; k < combination.factors.size(); ++k) {
            if (combination.factors[k] == 0.0)
                continue;
            const MemberValues& part = Values(EnvelopeMember{false, static_cast<int>(k)});
            values.resize(part.size(), 0.0);
            for (size_t i = 0; i < part.size(); ++i)
                values[i] += combination.factors[k] * part[i];
        }
        values.resize(layout_.beamPoints * kBeamQuantities +
                          layout_.reactionNodes.size() * kReactionQuantities,
                      0.0);
        return values;
    }
    ShowLoadCase(member.index);
    values = EnvelopeValues(input_, solutions_, layout_);
    return values;
}

EnvelopeResults ProjectAnalysis::EvaluateEnvelope(int e) {
    return ComputeEnvelope(
        project_.envelopes[static_cast<size_t>(e)], layout_,
        [this](const EnvelopeMember& member) -> const MemberValues& { return Values(member); });
}

size_t ProjectAnalysis::ResultBytes() const {
    size_t bytes = 0;
    for (const CaseResults& r : results_)
        bytes += r.Bytes();
    for (const auto* cache : {&caseValues_, &combinationValues_})
        for (const MemberValues& values : *cache)
            bytes += values.size() * sizeof(double);
    return bytes;
}
