#pragma once

#include "model/UContainer.h"

#include <cstdint>
#include <vector>

// Components of a degree of freedom of an analysis node.
enum DofComponent : int32_t { kWz = 0, kRx = 1, kRy = 2 };
constexpr int kComponents = 3;

// Results of the constraint elimination.
constexpr int kEliminationOk = 1;
constexpr int kEliminationContradiction = 2;

// Coefficients below this magnitude count as zero in the elimination.
constexpr double kConstraintEpsilon = 1e-15;

// One term of a constraint row: coefficient × u(node, component).
struct BCTerm {
    int32_t node;
    int32_t component;
    double coefficient;
};

// One linear constraint: Σ coefficient × u(node, component) + rowConstant = 0.
// A prescribed value v is stored as rowConstant = −v.
class OneBCContainer : public UContainer {
public:
    OneBCContainer() : UContainer(sizeof(BCTerm), 100) {}

    void AddTerm(int node, int component, double coefficient);
    const BCTerm& Term(int i) const { return *static_cast<const BCTerm*>(At(i)); }

    double rowConstant = 0.0;
};

// The constraint rows of a run, in creation order; owns them.
class BCContainer : public UContainer {
public:
    BCContainer() : UContainer(sizeof(OneBCContainer*), 100) {}
    ~BCContainer();

    OneBCContainer* AddRow();
    OneBCContainer& Row(int i) const { return **static_cast<OneBCContainer**>(At(i)); }
    void Release();
    // Frees the rows behind the first count (those of one load case).
    void Truncate(int count);
};

// One dependency term of a dependent degree of freedom: coefficient × u(dof).
struct DependencyTerm {
    double coefficient;
    int32_t dof;
};

// One degree of freedom. A dependent one satisfies
// u + Σ coefficient × u(dof) + constant = 0 over its dependency terms, all of
// which refer to higher indices.
class BCClass : public UContainer {
public:
    explicit BCClass(int index) : UContainer(sizeof(DependencyTerm), 100), ownIndex(index) {}

    void AddDependency(double coefficient, int dof);
    const DependencyTerm& Dependency(int i) const {
        return *static_cast<const DependencyTerm*>(At(i));
    }

    double constant = 0.0;
    int32_t dependent = 0;
    double solvedValue = 0.0;
    int32_t equation = -1;
    int32_t ownIndex;
    double nodeForce = 0.0;
};

// One term of an expansion: coefficient × q(equation).
struct ExpansionTerm {
    int32_t equation;
    double coefficient;
};

// A degree of freedom written in the solution variables of the global system:
// u = Σ coefficient × q(equation) − expansionConstant.
class FGFieldCont : public UContainer {
public:
    FGFieldCont() : UContainer(sizeof(ExpansionTerm), 100) {}

    // Empties the expansion but keeps its block: expansions are refilled
    // many times per element.
    void Empty();
    void AddTerm(int equation, double coefficient);
    int Size() const { return size_; }
    const ExpansionTerm& Term(int i) const { return *static_cast<const ExpansionTerm*>(At(i)); }

    double expansionConstant = 0.0;

private:
    int size_ = 0; // terms in use; the elements behind it are stale
};

// The degree-of-freedom table: one BCClass per degree of freedom (owned), and
// the number of free ones, which is the number of equations.
class FGTabCont : public UContainer {
public:
    FGTabCont() : UContainer(sizeof(BCClass*), 100) {}
    ~FGTabCont();

    BCClass& Dof(int i) const { return **static_cast<BCClass**>(At(i)); }
    int AppendDof();
    void Release();

    // Numbers the free degrees of freedom in table order and prepares the
    // expansions; called once the dependencies are in place.
    void NumberEquations();
    // Gives equation e the number number[e] (a permutation of the equations).
    void RenumberEquations(const std::vector<int32_t>& number);
    // Writes degree of freedom d as a combination of the equations.
    void Expand(int d, FGFieldCont& out) const;
    // The value of d after the solution (solvedValue of the free ones set).
    double DofValue(int d) const;
    // The free degree of freedom of equation e.
    int DofOfEquation(int e) const { return equationDof_[e]; }

    int32_t freeCount = 0;

private:
    struct Flat {
        std::vector<ExpansionTerm> terms;
        double constant = 0.0;
    };
    void FlattenDependents();

    // Every dependent degree of freedom fully expanded, built once from the
    // highest index down: repeated recursive expansion of chained
    // dependencies would grow exponentially.
    std::vector<Flat> flat_;
    std::vector<int32_t> equationDof_;
};

// Brings the rows into echelon form (Gaussian elimination on sparse rows,
// pivoting by the smallest leading index), marks one dependent degree of
// freedom per remaining row and records its dependency terms. firstDof(k) =
// 3k for analysis node k. Returns kEliminationOk or kEliminationContradiction;
// throws BalkorError for a term of an unknown node.
int EliminateConstraints(const BCContainer& rows, FGTabCont& dofs);
