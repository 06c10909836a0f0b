#pragma once

#include "project/Project.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

struct InputModel;
class SolutionsCont;

// The places an envelope reports: every evaluation point of every valid
// beam (ξ = m/n, m = 0 … n, n = the beam's intervals but at least 1) with
// w, Q, M, T, and every supported node of the model with Z, Mx, My.
struct EnvelopeLayout {
    struct Beam {
        int beam;     // number
        long n;       // intervals of its table
        size_t first; // index of its first point
    };
    std::vector<Beam> beams;
    size_t beamPoints = 0;
    std::vector<int> reactionNodes; // input node numbers
};

inline constexpr int kBeamQuantities = 4;     // w, Q, M, T
inline constexpr int kReactionQuantities = 3; // Z, Mx, My

EnvelopeLayout MakeEnvelopeLayout(InputModel& input);

// The values of the shown results at the places of the layout: the beam
// points' quantities first, then the reactions'.
std::vector<double> EnvelopeValues(InputModel& input, const SolutionsCont& solutions,
                                   const EnvelopeLayout& layout);

// One extreme of one quantity at one place: its value, the values of every
// quantity of that place under the same factors (its own among them), and
// the arrangement that produced it.
struct EnvelopeExtreme {
    double value = 0.0;
    std::array<double, kBeamQuantities> concurrent = {};
    int arrangement = 0;
};

struct EnvelopeResults {
    EnvelopeLayout layout;
    // [place × quantities + quantity], beams then reactions, as the values.
    std::vector<EnvelopeExtreme> max;
    std::vector<EnvelopeExtreme> min;
    // The distinct arrangements, each as its members with their factors.
    std::vector<std::vector<std::pair<EnvelopeMember, double>>> arrangements;
    std::string ArrangementOf(const EnvelopeExtreme& extreme) const {
        return ArrangementText(arrangements[static_cast<size_t>(extreme.arrangement)]);
    }
};

// The values of a member (load case or combination) at the layout's places.
using MemberValues = std::vector<double>;

// The governing member of one term at place `at`: its factored value, the
// factor and the slot of its values. The term's members have their values at
// values[slot], values[slot + 1], …; slot moves past them. An equal value
// keeps the favourable factor, an equal member the first; `any` is false for
// a term without members.
struct TermChoice {
    double value = 0.0;
    double factor = 0.0;
    size_t slot = 0;
    bool any = false;
};
TermChoice ChooseInTerm(const EnvelopeTerm& term, const std::vector<const MemberValues*>& values,
                        size_t& slot, size_t at, bool largest);

// max = Σ over single members of max(sup·r, inf·r) + Σ over groups of the
// largest such term of their members, min likewise; an equal factor keeps
// the favourable one, an equal member the first. values(member) gives the
// member's values; every member is asked for once.
template <class Values>
EnvelopeResults ComputeEnvelope(const Envelope& envelope, const EnvelopeLayout& layout,
                                Values&& values);

// The envelope from the members' values in the order of its terms' members.
EnvelopeResults ComputeEnvelopeFrom(const Envelope& envelope, const EnvelopeLayout& layout,
                                    const std::vector<const MemberValues*>& memberValues);

template <class Values>
EnvelopeResults ComputeEnvelope(const Envelope& envelope, const EnvelopeLayout& layout,
                                Values&& values) {
    std::vector<const MemberValues*> memberValues;
    for (const EnvelopeTerm& term : envelope.terms)
        for (const EnvelopeMember& member : term.members)
            memberValues.push_back(&values(member));
    return ComputeEnvelopeFrom(envelope, layout, memberValues);
}
