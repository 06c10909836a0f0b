#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// For every element the equations its degrees of freedom reach through their
// expansions, each once: the element couples all of them in the global
// stiffness matrix.
class EquationSets {
public:
    explicit EquationSets(int equations) : equationCount_(equations), start_{0} {}

    // Adds the next element's equations; repeated ones are dropped.
    void Add(std::vector<int32_t>& equations);
    int Count() const { return static_cast<int>(start_.size()) - 1; }
    int EquationCount() const { return equationCount_; }
    const int32_t* Begin(int set) const { return list_.data() + start_[set]; }
    const int32_t* End(int set) const { return list_.data() + start_[set + 1]; }

private:
    int equationCount_;
    std::vector<size_t> start_;
    std::vector<int32_t> list_;
};

// The column heights of the profile of the global stiffness matrix when
// equation e gets the number number[e] (an empty numbering keeps every
// equation's own number): a column reaches up to the smallest number of any
// element it shares. A column without entries has height 0.
std::vector<int32_t> ProfileColumnHeights(const EquationSets& sets,
                                          const std::vector<int32_t>& number);
// The entries the profile stores under that numbering (a height 0 counts 1).
int64_t ProfileEntries(const EquationSets& sets, const std::vector<int32_t>& number);

// A profile-reducing numbering of the equations (reverse Cuthill–McKee, each
// connected part from a pseudo-peripheral equation): number[e] is the new
// number of equation e.
std::vector<int32_t> ReverseCuthillMcKee(const EquationSets& sets);

// Sloan's profile-reducing numbering (Sloan 1986, with the start and end of
// each connected part from the pseudo-peripheral search): the equations are
// numbered from the start, each time the one of highest priority
// distance × (distance to the end) − degree × (equations it would bring into
// the front + 1) among those next to the numbered ones. number[e] is the new
// number of equation e.
struct SloanWeights {
    int distance = 1;
    int degree = 2;
};
std::vector<int32_t> SloanOrdering(const EquationSets& sets, const SloanWeights& weights);

// The numberings stage 3 compares with the node order.
enum class Ordering { kNodeOrder, kReverseCuthillMcKee, kSloan };
struct OrderingChoice {
    Ordering ordering = Ordering::kNodeOrder;
    std::vector<int32_t> number; // empty for the node order
    int64_t entries = 0;         // profile entries of the chosen numbering
    double work = 0.0;           // ProfileWork of the chosen numbering
};
// The work of the factorisation under a numbering, up to a constant factor:
// the sum of the squared column heights.
double ProfileWork(const EquationSets& sets, const std::vector<int32_t>& number);
// The numbering with the smallest profile; the node order wins every tie,
// then reverse Cuthill–McKee, then Sloan. Sloan replaces reverse
// Cuthill–McKee only when its profile is smaller by more than 1 − kSloanGain
// and its factorisation costs no more work: its few tall columns can make
// the factorisation slower despite the smaller profile, and another
// numbering changes the rounding of every result.
constexpr double kSloanGain = 0.95;
OrderingChoice SmallestProfile(const EquationSets& sets);
