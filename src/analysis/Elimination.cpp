// The constraint elimination on sparse lines. It performs exactly the
// arithmetic of a Gaussian elimination on the dense matrix of rows × degrees
// of freedom (same pivots, same removals, the same operation on every entry
// that is not zero, the same ε rule), but stores only the entries that are not
// zero, so time and memory grow with the terms instead of rows × dofs.

#include "analysis/Constraints.h"
#include "model/BalkorError.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

namespace {

struct LineEntry {
    int32_t column;
    double value;
};

// One constraint row: entries in ascending column order, none exactly 0.
struct SparseLine {
    std::vector<LineEntry> entries;
    double constant = 0.0;
    int lead = 0; // first column with |value| ≥ ε, or the dof count

    double ValueAt(int column) const {
        const auto it =
            std::lower_bound(entries.begin(), entries.end(), column,
                             [](const LineEntry& entry, int c) { return entry.column < c; });
        return it != entries.end() && it->column == column ? it->value : 0.0;
    }
};

double Flushed(double v) {
    return std::fabs(v) < kConstraintEpsilon ? 0.0 : v;
}

// A later term of the same degree of freedom replaces an earlier one, as an
// assignment into a dense row would.
SparseLine ReadLine(const OneBCContainer& row, int dofCount) {
    SparseLine line;
    line.entries.reserve(static_cast<size_t>(row.Count()));
    for (int t = 0; t < row.Count(); ++t) {
        const BCTerm& term = row.Term(t);
        const long column = 3L * term.node + term.component;
        if (term.node < 0 || term.component < 0 || term.component >= kComponents ||
            column >= dofCount)
            throw BalkorError("Randbedingung an unbekanntem Knoten");
        line.entries.push_back({static_cast<int32_t>(column), term.coefficient});
    }
    std::stable_sort(line.entries.begin(), line.entries.end(),
                     [](const LineEntry& a, const LineEntry& b) { return a.column < b.column; });
    std::vector<LineEntry> kept;
    kept.reserve(line.entries.size());
    for (size_t i = 0; i < line.entries.size(); ++i) {
        const bool lastOfColumn =
            i + 1 == line.entries.size() || line.entries[i + 1].column != line.entries[i].column;
        if (lastOfColumn && line.entries[i].value != 0.0)
            kept.push_back(line.entries[i]);
    }
    line.entries = std::move(kept);
    line.constant = row.rowConstant;
    return line;
}

// The first column from `from` on with |value| ≥ ε, else dofCount.
int LeadingIndex(const SparseLine& line, int from, int dofCount) {
    for (const LineEntry& entry : line.entries)
        if (entry.column >= from && std::fabs(entry.value) >= kConstraintEpsilon)
            return entry.column;
    return dofCount;
}

// line −= f × pivot from column k on, f = line[k] / pivot[k]; results below ε
// become 0 and are dropped. Columns before k hold only values below ε, which
// nothing reads any more.
void EliminateLine(SparseLine& line, const SparseLine& pivot, int k,
                   std::vector<LineEntry>& merged) {
    const double f = line.ValueAt(k) / pivot.ValueAt(k);
    merged.clear();
    auto a = std::lower_bound(line.entries.begin(), line.entries.end(), k,
                              [](const LineEntry& e, int c) { return e.column < c; });
    auto b = std::lower_bound(pivot.entries.begin(), pivot.entries.end(), k,
                              [](const LineEntry& e, int c) { return e.column < c; });
    while (a != line.entries.end() || b != pivot.entries.end()) {
        int column;
        double own = 0.0;
        double other = 0.0;
        if (b == pivot.entries.end() || (a != line.entries.end() && a->column < b->column)) {
            column = a->column;
            own = (a++)->value;
        } else if (a == line.entries.end() || b->column < a->column) {
            column = b->column;
            other = (b++)->value;
        } else {
            column = a->column;
            own = (a++)->value;
            other = (b++)->value;
        }
        const double v = Flushed(own - f * other);
        if (v != 0.0)
            merged.push_back({column, v});
    }
    line.entries.swap(merged);
    line.constant = Flushed(line.constant - f * pivot.constant);
}

// The lines still to be reduced. The pivot is the line of the smallest
// leading index, the first in line order among equal ones; the line at the
// front of that order then takes the pivot's place. rank is the place in that
// order, so the pivot sequence is the one of a swap-based dense elimination.
class ActiveLines {
public:
    // Lines are added in order, numbered from 0.
    void Add(int lead) {
        const int line = static_cast<int>(rank_.size());
        rank_.push_back(line);
        lead_.push_back(lead);
        Insert(line);
    }
    bool Empty() const { return byLead_.empty(); }

    // Takes the pivot out and moves the front line into its place.
    int TakePivot() {
        const int pivot = std::get<2>(*byLead_.begin());
        const int front = byRank_.begin()->second;
        Erase(pivot);
        if (front != pivot) {
            Erase(front);
            rank_[front] = rank_[pivot];
            Insert(front);
        }
        return pivot;
    }

    // Takes out every line whose leading index is `lead`.
    void TakeLeading(int lead, std::vector<int>& out) {
        out.clear();
        while (!byLead_.empty() && std::get<0>(*byLead_.begin()) == lead) {
            out.push_back(std::get<2>(*byLead_.begin()));
            Erase(out.back());
        }
    }

    void Restore(int line, int lead) {
        lead_[line] = lead;
        Insert(line);
    }

private:
    void Insert(int line) {
        byLead_.insert({lead_[line], rank_[line], line});
        byRank_.insert({rank_[line], line});
    }
    void Erase(int line) {
        byLead_.erase({lead_[line], rank_[line], line});
        byRank_.erase({rank_[line], line});
    }

    std::vector<int> rank_;
    std::vector<int> lead_;
    std::set<std::tuple<int, int, int>> byLead_;
    std::set<std::pair<int, int>> byRank_;
};

// One dependent degree of freedom per line, at its leading index.
void RecordDependencies(const std::vector<SparseLine>& lines, const std::vector<int>& pivots,
                        FGTabCont& dofs) {
    for (int l : pivots) {
        const SparseLine& line = lines[l];
        const int i = line.lead;
        const double leading = line.ValueAt(i);
        BCClass& dof = dofs.Dof(i);
        dof.dependent = 1;
        for (const LineEntry& entry : line.entries)
            if (entry.column > i && std::fabs(entry.value) > kConstraintEpsilon)
                dof.AddDependency(entry.value / leading, entry.column);
        dof.constant = line.constant / leading;
    }
}

} // namespace

int EliminateConstraints(const BCContainer& rows, FGTabCont& dofs) {
    const int D = dofs.Count();
    if (rows.Count() == 0)
        return kEliminationOk;

    // Lines without any coefficient: contradiction or redundant.
    std::vector<SparseLine> lines;
    ActiveLines active;
    for (int r = 0; r < rows.Count(); ++r) {
        SparseLine line = ReadLine(rows.Row(r), D);
        line.lead = LeadingIndex(line, 0, D);
        if (line.lead == D) {
            if (std::fabs(line.constant) > kConstraintEpsilon)
                return kEliminationContradiction;
            continue;
        }
        active.Add(line.lead);
        lines.push_back(std::move(line));
    }

    std::vector<int> pivots;
    std::vector<int> reduced;
    std::vector<LineEntry> merged;
    while (!active.Empty()) {
        const int p = active.TakePivot();
        pivots.push_back(p);
        const int k = lines[p].lead;
        active.TakeLeading(k, reduced);
        for (int l : reduced) {
            SparseLine& line = lines[l];
            EliminateLine(line, lines[p], k, merged);
            line.lead = LeadingIndex(line, k, D);
            if (line.lead == D) {
                if (std::fabs(line.constant) > kConstraintEpsilon)
                    return kEliminationContradiction;
                std::vector<LineEntry>().swap(line.entries);
                continue;
            }
            active.Restore(l, line.lead);
        }
    }
    RecordDependencies(lines, pivots, dofs);
    return kEliminationOk;
}
