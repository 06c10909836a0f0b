#pragma once

#include "analysis/SolutionsCont.h"
#include "project/Envelope.h"
#include "project/Project.h"

#include <memory>
#include <vector>

struct InputModel;

// The analysis of a project: every load case on one analysis model, and
// from their results the combinations and envelopes. The model shows one
// load case or combination at a time (with that load case's tables in the
// input), so that the protocols, the JSON and the pictures of one load case
// serve every one of them.
class ProjectAnalysis : public LoadCaseSource {
public:
    // input holds the system; loadCases[k] holds the load tables of load case k.
    ProjectAnalysis(ProjectModel project, InputModel& input,
                    std::vector<std::unique_ptr<InputModel>> loadCases);

    int CaseCount() const override { return static_cast<int>(loadCases_.size()); }
    void ActivateCase(int k) override;

    CalcResult Calculate(CalcStatus* status = nullptr);

    const ProjectModel& GetProject() const { return project_; }
    InputModel& Input() const { return input_; }
    SolutionsCont& Solutions() { return solutions_; }

    // The model (and the input's load tables) showing load case k or
    // combination j; a combination has no load tables of its own.
    void ShowLoadCase(int k);
    void ShowCombination(int j);
    // The factored sum of the load cases' results of combination j.
    CaseResults CombinationResults(int j) const;

    // Envelope e over the results of its members.
    EnvelopeResults EvaluateEnvelope(int e);

    // Bytes of the kept results (load cases and the members' values).
    size_t ResultBytes() const;

private:
    const MemberValues& Values(const EnvelopeMember& member);

    ProjectModel project_;
    InputModel& input_;
    std::vector<std::unique_ptr<InputModel>> loadCases_;
    SolutionsCont solutions_;
    std::vector<CaseResults> results_;
    EnvelopeLayout layout_;
    std::vector<MemberValues> caseValues_;        // by load case, made when first asked for
    std::vector<MemberValues> combinationValues_; // by combination
};
