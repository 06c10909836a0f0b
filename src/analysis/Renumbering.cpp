#include "analysis/Renumbering.h"

#include <algorithm>
#include <utility>

void EquationSets::Add(std::vector<int32_t>& equations) {
    std::sort(equations.begin(), equations.end());
    equations.erase(std::unique(equations.begin(), equations.end()), equations.end());
    list_.insert(list_.end(), equations.begin(), equations.end());
    start_.push_back(list_.size());
}

std::vector<int32_t> ProfileColumnHeights(const EquationSets& sets,
                                          const std::vector<int32_t>& number) {
    auto numbered = [&](int32_t e) { return number.empty() ? e : number[e]; };
    std::vector<int32_t> height(static_cast<size_t>(sets.EquationCount()), 0);
    for (int s = 0; s < sets.Count(); ++s) {
        int32_t top = INT32_MAX;
        for (const int32_t* e = sets.Begin(s); e != sets.End(s); ++e)
            top = std::min(top, numbered(*e));
        for (const int32_t* e = sets.Begin(s); e != sets.End(s); ++e) {
            const int32_t column = numbered(*e);
            height[column] = std::max(height[column], column - top + 1);
        }
    }
    return height;
}

int64_t ProfileEntries(const EquationSets& sets, const std::vector<int32_t>& number) {
    int64_t entries = 0;
    for (int32_t h : ProfileColumnHeights(sets, number))
        entries += std::max(h, 1);
    return entries;
}

namespace {

// The equations as a graph: two are neighbours when an element couples them.
// Each equation's neighbours are stored once, in the order in which its
// elements list them (the order the numberings break their ties by).
class EquationGraph {
public:
    explicit EquationGraph(const EquationSets& sets)
        : start_(static_cast<size_t>(sets.EquationCount()) + 1, 0) {
        const int n = sets.EquationCount();
        // The elements of each equation, then their equations once each.
        std::vector<size_t> first(static_cast<size_t>(n) + 1, 0);
        for (int s = 0; s < sets.Count(); ++s)
            for (const int32_t* e = sets.Begin(s); e != sets.End(s); ++e)
                ++first[*e + 1];
        for (size_t e = 1; e < first.size(); ++e)
            first[e] += first[e - 1];
        std::vector<int32_t> setsOf(first.back());
        std::vector<size_t> next(first.begin(), first.end() - 1);
        for (int s = 0; s < sets.Count(); ++s)
            for (const int32_t* e = sets.Begin(s); e != sets.End(s); ++e)
                setsOf[next[*e]++] = s;
        std::vector<int32_t> mark(static_cast<size_t>(n), -1);
        for (int v = 0; v < n; ++v) {
            mark[v] = v;
            for (size_t i = first[v]; i < first[v + 1]; ++i)
                for (const int32_t* u = sets.Begin(setsOf[i]); u != sets.End(setsOf[i]); ++u)
                    if (mark[*u] != v) {
                        mark[*u] = v;
                        list_.push_back(*u);
                    }
            start_[v + 1] = list_.size();
        }
    }

    int Size() const { return static_cast<int>(start_.size()) - 1; }
    int32_t Degree(int v) const { return static_cast<int32_t>(start_[v + 1] - start_[v]); }
    const int32_t* Begin(int v) const { return list_.data() + start_[v]; }
    const int32_t* End(int v) const { return list_.data() + start_[v + 1]; }

    // Calls visit(u) once for every neighbour u ≠ v.
    template <class Visit> void ForNeighbours(int v, Visit visit) const {
        for (const int32_t* u = Begin(v); u != End(v); ++u)
            visit(*u);
    }

private:
    std::vector<size_t> start_; // by equation, into list_
    std::vector<int32_t> list_;
};

// Breadth-first levels from a root over its connected part.
struct LevelStructure {
    int depth = 0;
    int32_t lastLevelMinDegree = -1; // an equation of the last level of least degree
};

LevelStructure Levels(const EquationGraph& graph, int root, std::vector<int32_t>& level,
                      std::vector<int32_t>& queue) {
    queue.assign(1, root);
    level[root] = 0;
    for (size_t head = 0; head < queue.size(); ++head) {
        const int v = queue[head];
        graph.ForNeighbours(v, [&](int32_t u) {
            if (level[u] < 0) {
                level[u] = level[v] + 1;
                queue.push_back(u);
            }
        });
    }
    LevelStructure result;
    result.depth = level[queue.back()];
    for (auto it = queue.rbegin(); it != queue.rend() && level[*it] == result.depth; ++it)
        if (result.lastLevelMinDegree < 0 ||
            graph.Degree(*it) < graph.Degree(result.lastLevelMinDegree))
            result.lastLevelMinDegree = *it;
    for (int32_t v : queue)
        level[v] = -1;
    return result;
}

// George and Liu: move to an end of the deepest level structure until the
// depth stops growing.
int PseudoPeripheral(const EquationGraph& graph, int start, std::vector<int32_t>& level,
                     std::vector<int32_t>& queue) {
    constexpr int kMaxSteps = 8;
    int root = start;
    LevelStructure levels = Levels(graph, root, level, queue);
    for (int step = 0; step < kMaxSteps; ++step) {
        const int candidate = levels.lastLevelMinDegree;
        const LevelStructure next = Levels(graph, candidate, level, queue);
        if (next.depth <= levels.depth)
            break;
        root = candidate;
        levels = next;
    }
    return root;
}

} // namespace

namespace {

// A connected part of the graph: the start the numberings take (a
// pseudo-peripheral equation found from the part's first equation) and an
// equation of least degree at the greatest distance from it.
struct Part {
    int32_t start;
    int32_t end;
};

std::vector<Part> PartsOf(const EquationGraph& graph) {
    const int n = graph.Size();
    std::vector<int32_t> level(static_cast<size_t>(n), -1);
    std::vector<int32_t> queue;
    std::vector<char> reached(static_cast<size_t>(n), 0);
    std::vector<Part> parts;
    for (int seed = 0; seed < n; ++seed) {
        if (reached[seed])
            continue;
        const int start = PseudoPeripheral(graph, seed, level, queue);
        const LevelStructure levels = Levels(graph, start, level, queue);
        for (int32_t v : queue)
            reached[v] = 1;
        parts.push_back({start, levels.lastLevelMinDegree});
    }
    return parts;
}

std::vector<int32_t> ReverseCuthillMcKee(const EquationGraph& graph,
                                         const std::vector<Part>& parts) {
    const int n = graph.Size();
    std::vector<char> placed(static_cast<size_t>(n), 0);
    std::vector<int32_t> order;
    order.reserve(static_cast<size_t>(n));
    std::vector<int32_t> fresh;
    for (const Part& part : parts) {
        placed[part.start] = 1;
        order.push_back(part.start);
        for (size_t head = order.size() - 1; head < order.size(); ++head) {
            fresh.clear();
            graph.ForNeighbours(order[head], [&](int32_t u) {
                if (!placed[u]) {
                    placed[u] = 1;
                    fresh.push_back(u);
                }
            });
            std::sort(fresh.begin(), fresh.end(), [&](int32_t a, int32_t b) {
                return graph.Degree(a) != graph.Degree(b) ? graph.Degree(a) < graph.Degree(b)
                                                          : a < b;
            });
            order.insert(order.end(), fresh.begin(), fresh.end());
        }
    }
    std::vector<int32_t> number(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        number[order[i]] = n - 1 - i;
    return number;
}

} // namespace

std::vector<int32_t> ReverseCuthillMcKee(const EquationSets& sets) {
    const EquationGraph graph(sets);
    return ReverseCuthillMcKee(graph, PartsOf(graph));
}

namespace {

// Sloan's node states: not yet reached, next to the front, in the front,
// numbered.
enum SloanStatus : char { kInactive, kPreactive, kActive, kPostactive };

// The equations next to the front by priority: one list per priority value
// (priorities are small integers), so that raising a priority is a move from
// one list to the next and the highest is found by stepping down.
class PriorityBuckets {
public:
    PriorityBuckets(int equations, int64_t lowest, int64_t highest)
        : lowest_(lowest), head_(static_cast<size_t>(highest - lowest + 1), -1),
          next_(static_cast<size_t>(equations), -1), previous_(static_cast<size_t>(equations), -1) {
    }

    bool Empty() const { return count_ == 0; }
    void Insert(int v, int64_t priority) {
        const size_t b = static_cast<size_t>(priority - lowest_);
        next_[v] = head_[b];
        previous_[v] = -1;
        if (head_[b] >= 0)
            previous_[head_[b]] = v;
        head_[b] = v;
        top_ = std::max(top_, b);
        ++count_;
    }
    void Remove(int v, int64_t priority) {
        const size_t b = static_cast<size_t>(priority - lowest_);
        if (previous_[v] >= 0)
            next_[previous_[v]] = next_[v];
        else
            head_[b] = next_[v];
        if (next_[v] >= 0)
            previous_[next_[v]] = previous_[v];
        --count_;
    }
    // The last one inserted among those of the highest priority.
    int Highest() {
        while (head_[top_] < 0)
            --top_;
        return head_[top_];
    }

private:
    int64_t lowest_;
    std::vector<int32_t> head_;
    std::vector<int32_t> next_;
    std::vector<int32_t> previous_;
    size_t top_ = 0;
    int count_ = 0;
};

// One connected part numbered from `next` on, starting at start; distances
// to end are the global part of the priority.
void SloanPart(const EquationGraph& graph, int start, int end, const SloanWeights& weights,
               std::vector<int32_t>& level, std::vector<int32_t>& queue, std::vector<char>& status,
               std::vector<int64_t>& priority, std::vector<int32_t>& number, int& next) {
    // Distances from the end over the part.
    queue.assign(1, end);
    level[end] = 0;
    for (size_t head = 0; head < queue.size(); ++head) {
        const int v = queue[head];
        for (const int32_t* u = graph.Begin(v); u != graph.End(v); ++u)
            if (level[*u] < 0) {
                level[*u] = level[v] + 1;
                queue.push_back(*u);
            }
    }
    int64_t lowest = 0, highest = 0;
    for (int32_t v : queue) {
        priority[v] =
            int64_t{weights.distance} * level[v] - int64_t{weights.degree} * (graph.Degree(v) + 1);
        // A priority rises by the degree weight at most twice per neighbour
        // and once more when the equation joins the front.
        lowest = std::min(lowest, priority[v]);
        highest = std::max(highest, priority[v] + int64_t{weights.degree} *
                                                      (2 * int64_t{graph.Degree(v)} + 1));
        status[v] = kInactive;
        level[v] = -1;
    }
    PriorityBuckets candidates(graph.Size(), lowest, highest);
    auto raise = [&](int v) {
        const bool queued = status[v] == kPreactive || status[v] == kActive;
        if (queued)
            candidates.Remove(v, priority[v]);
        priority[v] += weights.degree;
        if (queued)
            candidates.Insert(v, priority[v]);
    };
    auto reach = [&](int v) {
        if (status[v] == kInactive) {
            status[v] = kPreactive;
            candidates.Insert(v, priority[v]);
        }
    };
    reach(start);
    while (!candidates.Empty()) {
        const int i = candidates.Highest();
        candidates.Remove(i, priority[i]);
        if (status[i] == kPreactive) {
            for (const int32_t* j = graph.Begin(i); j != graph.End(i); ++j) {
                raise(*j);
                reach(*j);
            }
        }
        number[i] = next++;
        status[i] = kPostactive;
        for (const int32_t* j = graph.Begin(i); j != graph.End(i); ++j) {
            if (status[*j] != kPreactive)
                continue;
            raise(*j);
            status[*j] = kActive;
            for (const int32_t* k = graph.Begin(*j); k != graph.End(*j); ++k) {
                if (status[*k] == kPostactive)
                    continue;
                raise(*k);
                reach(*k);
            }
        }
    }
}

} // namespace

namespace {

std::vector<int32_t> SloanOrdering(const EquationGraph& graph, const std::vector<Part>& parts,
                                   const SloanWeights& weights) {
    const int n = graph.Size();
    std::vector<int32_t> level(static_cast<size_t>(n), -1);
    std::vector<int32_t> queue;
    std::vector<char> status(static_cast<size_t>(n), kInactive);
    std::vector<int64_t> priority(static_cast<size_t>(n), 0);
    std::vector<int32_t> number(static_cast<size_t>(n), -1);
    int next = 0;
    for (const Part& part : parts)
        SloanPart(graph, part.start, part.end, weights, level, queue, status, priority, number,
                  next);
    return number;
}

} // namespace

std::vector<int32_t> SloanOrdering(const EquationSets& sets, const SloanWeights& weights) {
    const EquationGraph graph(sets);
    return SloanOrdering(graph, PartsOf(graph), weights);
}

double ProfileWork(const EquationSets& sets, const std::vector<int32_t>& number) {
    double work = 0.0;
    for (int32_t h : ProfileColumnHeights(sets, number))
        work += static_cast<double>(h) * h;
    return work;
}

OrderingChoice SmallestProfile(const EquationSets& sets) {
    OrderingChoice best;
    best.entries = ProfileEntries(sets, {});
    best.work = ProfileWork(sets, {});
    const EquationGraph graph(sets);
    const std::vector<Part> parts = PartsOf(graph);
    std::vector<int32_t> rcm = ReverseCuthillMcKee(graph, parts);
    const int64_t rcmEntries = ProfileEntries(sets, rcm);
    if (rcmEntries < best.entries) {
        const double work = ProfileWork(sets, rcm);
        best = OrderingChoice{Ordering::kReverseCuthillMcKee, std::move(rcm), rcmEntries, work};
    }
    std::vector<int32_t> sloan = SloanOrdering(graph, parts, SloanWeights{});
    const int64_t sloanEntries = ProfileEntries(sets, sloan);
    const double required = best.ordering == Ordering::kNodeOrder ? 1.0 : kSloanGain;
    if (static_cast<double>(sloanEntries) < required * static_cast<double>(best.entries)) {
        const double work = ProfileWork(sets, sloan);
        if (best.ordering == Ordering::kNodeOrder || work <= best.work)
            best = OrderingChoice{Ordering::kSloan, std::move(sloan), sloanEntries, work};
    }
    return best;
}
