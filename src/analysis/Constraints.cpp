#include "analysis/Constraints.h"

#include <vector>

void OneBCContainer::AddTerm(int node, int component, double coefficient) {
    const BCTerm term{node, component, coefficient};
    Append(&term, 1);
}

BCContainer::~BCContainer() {
    Release();
}

OneBCContainer* BCContainer::AddRow() {
    auto* row = new OneBCContainer();
    Append(&row, 1);
    return row;
}

void BCContainer::Release() {
    for (int i = 0; i < Count(); ++i)
        delete &Row(i);
    Clear();
}

void BCContainer::Truncate(int count) {
    if (count >= Count())
        return;
    std::vector<OneBCContainer*> kept;
    for (int i = 0; i < Count(); ++i) {
        if (i < count)
            kept.push_back(&Row(i));
        else
            delete &Row(i);
    }
    Empty();
    if (!kept.empty())
        Append(kept.data(), count);
}

void BCClass::AddDependency(double coefficient, int dof) {
    const DependencyTerm term{coefficient, dof};
    Append(&term, 1);
}

void FGFieldCont::Empty() {
    size_ = 0;
    expansionConstant = 0.0;
}

void FGFieldCont::AddTerm(int equation, double coefficient) {
    const ExpansionTerm term{equation, coefficient};
    if (size_ < Count())
        Put(&term, size_, 1);
    else
        Append(&term, 1);
    ++size_;
}

FGTabCont::~FGTabCont() {
    Release();
}

int FGTabCont::AppendDof() {
    auto* dof = new BCClass(Count());
    Append(&dof, 1);
    return Count() - 1;
}

void FGTabCont::Release() {
    for (int i = 0; i < Count(); ++i)
        delete &Dof(i);
    Clear();
    freeCount = 0;
    flat_.clear();
    equationDof_.clear();
}

void FGTabCont::NumberEquations() {
    equationDof_.clear();
    int counter = 0;
    for (int i = 0; i < Count(); ++i) {
        BCClass& dof = Dof(i);
        if (dof.dependent == 0) {
            dof.equation = counter++;
            equationDof_.push_back(i);
        } else {
            dof.equation = -1;
        }
    }
    freeCount = counter;
    FlattenDependents();
}

void FGTabCont::RenumberEquations(const std::vector<int32_t>& number) {
    for (int i = 0; i < Count(); ++i) {
        BCClass& dof = Dof(i);
        if (!dof.dependent)
            dof.equation = number[dof.equation];
    }
    std::vector<int32_t> byEquation(equationDof_.size());
    for (size_t e = 0; e < equationDof_.size(); ++e)
        byEquation[number[e]] = equationDof_[e];
    equationDof_.swap(byEquation);
    for (Flat& flat : flat_)
        for (ExpansionTerm& term : flat.terms)
            term.equation = number[term.equation];
}

void FGTabCont::FlattenDependents() {
    flat_.assign(Count(), Flat());
    std::vector<double> sum(freeCount, 0.0);
    std::vector<char> seen(freeCount, 0);
    std::vector<int32_t> touched;
    auto add = [&](int equation, double coefficient) {
        if (!seen[equation]) {
            seen[equation] = 1;
            touched.push_back(equation);
        }
        sum[equation] += coefficient;
    };
    // Dependencies point to higher indices, so those are flat already.
    for (int d = Count() - 1; d >= 0; --d) {
        const BCClass& dof = Dof(d);
        if (!dof.dependent)
            continue;
        Flat& flat = flat_[d];
        flat.constant = dof.constant;
        for (int k = 0; k < dof.Count(); ++k) {
            const DependencyTerm& term = dof.Dependency(k);
            const BCClass& other = Dof(term.dof);
            if (!other.dependent) {
                add(other.equation, -term.coefficient);
                continue;
            }
            const Flat& inner = flat_[term.dof];
            for (const ExpansionTerm& t : inner.terms)
                add(t.equation, -term.coefficient * t.coefficient);
            flat.constant += -term.coefficient * inner.constant;
        }
        flat.terms.reserve(touched.size());
        for (int32_t equation : touched) {
            flat.terms.push_back({equation, sum[equation]});
            sum[equation] = 0.0;
            seen[equation] = 0;
        }
        touched.clear();
    }
}

void FGTabCont::Expand(int d, FGFieldCont& out) const {
    out.Empty();
    const BCClass& dof = Dof(d);
    if (!dof.dependent) {
        out.AddTerm(dof.equation, 1.0);
        return;
    }
    // Not numbered (the elimination found a contradiction): nothing to expand.
    if (static_cast<size_t>(d) >= flat_.size())
        return;
    const Flat& flat = flat_[d];
    for (const ExpansionTerm& term : flat.terms)
        out.AddTerm(term.equation, term.coefficient);
    out.expansionConstant = flat.constant;
}

double FGTabCont::DofValue(int d) const {
    const BCClass& dof = Dof(d);
    if (!dof.dependent || static_cast<size_t>(d) >= flat_.size())
        return dof.solvedValue;
    const Flat& flat = flat_[d];
    double value = -flat.constant;
    for (const ExpansionTerm& term : flat.terms)
        value += term.coefficient * Dof(equationDof_[term.equation]).solvedValue;
    return value;
}
