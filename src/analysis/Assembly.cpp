// The global system K q = F: element stiffness through the expansions of the
// degrees of freedom (supports, couplings and prescribed values built in),
// and the load vector with the node and point loads recorded in nodeForce.

#include "analysis/KMatrix.h"
#include "analysis/SolElement.h"
#include "analysis/SolutionsCont.h"
#include "model/Tables.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kHalfPi = 1.5707963267948966;

} // namespace

// Every ordered pair (i, j) of the block's degrees of freedom adds into the
// upper triangle only, so each diagonal entry receives its full quadratic
// form; the prescribed part of u moves to the right-hand side (when F is
// given) as −K × prescribed. add(row, column, value) receives each
// contribution, row <= column.
template <int N, class Stiffness, class AddEntry>
void SolutionsCont::AddExpandedBlock(const FGFieldCont (&expansion)[N], Stiffness&& kij, Matrix* F,
                                     AddEntry& add) const {
    for (int i = 0; i < N; ++i) {
        const FGFieldCont& first = expansion[i];
        for (int j = 0; j < N; ++j) {
            const FGFieldCont& second = expansion[j];
            const double k = kij(i, j);
            for (int ta = 0; ta < first.Size(); ++ta) {
                const ExpansionTerm& a = first.Term(ta);
                for (int tb = 0; tb < second.Size(); ++tb) {
                    const ExpansionTerm& b = second.Term(tb);
                    if (b.equation >= a.equation)
                        add(a.equation, b.equation, b.coefficient * (a.coefficient * k));
                }
                if (F)
                    (*F)[a.equation] += a.coefficient * k * second.expansionConstant;
            }
        }
    }
}

// The elements, then the springs at the nodes: both solvers and the
// equilibrium check of a solution see the same stiffness.
template <class AddEntry>
void SolutionsCont::ForEachStiffnessEntry(Matrix* F, AddEntry&& add) const {
    Matrix Ke(6, 6);
    FGFieldCont expansion[6];
    for (int e = 0; e < elements.Count(); ++e) {
        const SolElement& element = elements[e];
        if (kept_.empty())
            Stiffness(element, Ends(element), input_, Ke);
        else
            std::copy_n(kept_[static_cast<size_t>(e)].stiffness, 36, Ke.data);
        for (int i = 0; i < 6; ++i)
            Expand(ElementDof(element, i), expansion[i]);
        AddExpandedBlock(
            expansion, [&Ke](int i, int j) { return Ke(i, j); }, F, add);
    }
    FGFieldCont nodeExpansion[kComponents];
    for (const NodeSpring& spring : springs_) {
        for (int c = 0; c < kComponents; ++c)
            Expand(nodes[spring.node].firstDof + c, nodeExpansion[c]);
        AddExpandedBlock(
            nodeExpansion, [&spring](int i, int j) { return spring.k[i][j]; }, F, add);
    }
}

void SolutionsCont::AssembleStiffness(KMatrix& K, Matrix& F) const {
    ForEachStiffnessEntry(
        &F, [&K](int row, int column, double value) { K.Entry(row, column) += value; });
}

void SolutionsCont::AssembleStiffness(StiffnessEntries& K, Matrix& F) const {
    ForEachStiffnessEntry(&F, [&K](int row, int column, double value) {
        K.rows.push_back(row);
        K.columns.push_back(column);
        K.values.push_back(value);
    });
}

void SolutionsCont::AssemblePrescribed(Matrix& F) const {
    ForEachStiffnessEntry(&F, [](int, int, double) {});
}

void SolutionsCont::MultiplyStiffness(const Matrix& q, Matrix& Kq) const {
    Kq.Zero();
    ForEachStiffnessEntry(nullptr, [&](int row, int column, double value) {
        Kq[row] += value * q[column];
        if (row != column)
            Kq[column] += value * q[row];
    });
}

void SolutionsCont::AddLoad(double x, int node, int component, Matrix& F, bool record) {
    const int dof = nodes[node].firstDof + component;
    FGFieldCont& expansion = loadExpansion_;
    Expand(dof, expansion);
    for (int t = 0; t < expansion.Size(); ++t)
        F[expansion.Term(t).equation] += expansion.Term(t).coefficient * x;
    if (record)
        dofs.Dof(dof).nodeForce -= x;
}

void SolutionsCont::AssembleLoads(Matrix& F) {
    // Node loads; a node that no beam connects has no analysis node, and its
    // load acts on nothing.
    for (int k = 0; k < input_.nodeLoads.ValidCount(); ++k) {
        const NodeLoadRec* load = input_.nodeLoads.ValidRow(k);
        const long last = std::min<long>(load->to, input_.nodes.Count());
        for (long number = load->from; number <= last; ++number) {
            const int row = static_cast<int>(number - 1);
            if (!input_.nodes.IsRowUsed(row))
                continue;
            const int node = input_.nodes.RowRecord(row)->calcNode;
            if (node < 0)
                continue;
            AddLoad(load->Fz, node, kWz, F, true);
            AddLoad(load->Mx, node, kRx, F, true);
            AddLoad(load->My, node, kRy, F, true);
        }
    }

    // Point loads: the local moments (Mt about the beam axis, Mb about the
    // horizontal axis across it) as a moment vector in global axes.
    for (int k = 0; k < input_.pointLoads.ValidCount(); ++k) {
        const PointLoadRec* load = input_.pointLoads.ValidRow(k);
        if (load->loadNode < 0)
            continue;
        const double alpha = input_.beams.BeamAngle(load->beam);
        const double rx = load->Mt * std::cos(alpha) - load->Mb * std::sin(alpha);
        const double ry = load->Mt * std::sin(alpha) + load->Mb * std::cos(alpha);
        AddLoad(load->Q, load->loadNode, kWz, F, true);
        AddLoad(rx, load->loadNode, kRx, F, true);
        AddLoad(ry, load->loadNode, kRy, F, true);
    }

    // Equivalent nodal loads of distributed and temperature loads.
    if (NoElementLoads()) {
        elementLoads_.BuildZero(elements.Count());
    } else {
        elementLoads_.Build(*this);
    }
    Matrix f(6, 1);
    for (int e = 0; !elementLoads_.AllZero() && e < elements.Count(); ++e) {
        const SolElement& element = elements[e];
        ElementLoadVector(e, f);
        // Adding 0 changes no entry of F (none is −0: sums from +0 never
        // are), and most elements of a load case of node loads carry none.
        for (int c = 0; c < kComponents; ++c) {
            if (f[c] != 0.0)
                AddLoad(f[c], element.startNode, c, F, false);
            if (f[3 + c] != 0.0)
                AddLoad(f[3 + c], element.endNode, c, F, false);
        }
    }

    // Hinge loads: +v on side A and −v on side B in the released direction.
    for (int k = 0; k < input_.hingeLoads.ValidCount(); ++k) {
        const HingeLoadRec* load = input_.hingeLoads.ValidRow(k);
        const int row = RowOfNumber(load->hinge);
        if (load->kind != kHingeLoadForce || !input_.hinges.IsRowUsed(row))
            continue;
        const HingeRec& hinge = *input_.hinges.RowRecord(row);
        if (hinge.sideA < 0 || hinge.sideB < 0)
            continue;
        const double beta = input_.beams.BeamAngle(hinge.beam);
        const double v = load->value;
        double fz = 0.0, mx = 0.0, my = 0.0;
        if (hinge.type == kHingeShear) {
            fz = v;
        } else if (hinge.type == kHingeBending) {
            mx = std::cos(beta + kHalfPi) * v;
            my = -std::sin(beta + kHalfPi) * v;
        } else if (hinge.type == kHingeTorsion) {
            mx = std::cos(beta) * v;
            my = -std::sin(beta) * v;
        }
        AddLoad(fz, hinge.sideA, kWz, F, false);
        AddLoad(mx, hinge.sideA, kRx, F, false);
        AddLoad(-my, hinge.sideA, kRy, F, false);
        AddLoad(-fz, hinge.sideB, kWz, F, false);
        AddLoad(-mx, hinge.sideB, kRx, F, false);
        AddLoad(my, hinge.sideB, kRy, F, false);
    }
}

// Without span and temperature records every entry of the table is zero,
// when the frames are proper (on others the turn into global axes would
// make zeros NaN, as the table built element by element shows).
bool SolutionsCont::NoElementLoads() const {
    return !kept_.empty() && framesProper_ && input_.beamLoads.ValidCount() == 0 &&
           input_.tempLoads.ValidCount() == 0;
}

void SolutionsCont::ElementLoadVector(int index, Matrix& f) const {
    f.Zero();
    if (const ElementLoads* loads = elementLoads_.Find(index)) {
        for (int k = 0; k < 6; ++k)
            f[k] = loads->vector[k];
        return;
    }
    const SolElement& element = elements[index];
    LoadVector(element, Ends(element), input_, f);
}

BeamLoadSums SolutionsCont::LoadSums(int index) const {
    if (const ElementLoads* loads = elementLoads_.Find(index))
        return loads->sums;
    return SumBeamLoads(elements[index], input_);
}
