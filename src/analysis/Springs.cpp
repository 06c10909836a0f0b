// Elastic supports: the springs of the input gathered per analysis node as
// a stiffness in global components, and their forces after the solution.

#include "analysis/SolutionsCont.h"
#include "model/Tables.h"

#include <algorithm>
#include <cmath>

namespace {

// Adds the springs of one record to a node's stiffness. The rotational
// springs act about the support axes: the first at the skew angle a, the
// second at a + 90°; a rotation θ about the unit axis n costs k θ² / 2 with
// θ = n · (Rx, Ry), so the stiffness is k n nᵀ. A component that a rigid
// support holds (the same tests as its constraint rows) is left out.
void AddSpring(const SpringRec& spring, const NodeRec& node, NodeSpring& sum) {
    double(&k)[3][3] = sum.k;
    const double z = node.fixZ != 0 ? 0.0 : spring.kz;
    const double first = node.fixRx != 0 ? 0.0 : spring.kRx;
    const double second = node.fixRy == 1 ? 0.0 : spring.kRy;
    sum.axes[0] += z;
    sum.axes[1] += first;
    sum.axes[2] += second;
    k[kWz][kWz] += z;
    const double a = node.skew * (1.0 / 180.0) * M_PI;
    const double c = std::cos(a), s = std::sin(a);
    k[kRx][kRx] += first * c * c + second * s * s;
    k[kRy][kRy] += first * s * s + second * c * c;
    const double coupling = (first - second) * c * s;
    k[kRx][kRy] += coupling;
    k[kRy][kRx] += coupling;
}

bool AnyStiffness(const NodeSpring& spring) {
    return spring.axes[0] != 0.0 || spring.axes[1] != 0.0 || spring.axes[2] != 0.0;
}

} // namespace

// After the analysis nodes: every valid spring record adds to each node of
// its range that a beam connects; springs of one node add up (they act in
// parallel). Nodes whose springs all stand on rigid supports get none.
void SolutionsCont::GatherSprings() {
    springs_.clear();
    springOf_.clear();
    SpringClass& table = input_.springs;
    if (table.ValidCount() == 0)
        return;
    std::vector<NodeSpring> byNode(static_cast<size_t>(nodes.Count()));
    for (int i = 0; i < nodes.Count(); ++i)
        byNode[static_cast<size_t>(i)] = NodeSpring{i, {}, {}};
    for (int k = 0; k < table.ValidCount(); ++k) {
        const SpringRec& spring = *table.ValidRow(k);
        const long last = std::min<long>(spring.to, input_.nodes.Count());
        for (long number = std::max<long>(spring.from, 1); number <= last; ++number) {
            const NodeRec* node = input_.nodes.Existing(number);
            if (node && node->calcNode >= 0)
                AddSpring(spring, *node, byNode[static_cast<size_t>(node->calcNode)]);
        }
    }
    springOf_.assign(static_cast<size_t>(nodes.Count()), -1);
    for (const NodeSpring& spring : byNode) {
        if (!AnyStiffness(spring))
            continue;
        springOf_[static_cast<size_t>(spring.node)] = static_cast<int32_t>(springs_.size());
        springs_.push_back(spring);
    }
}

const NodeSpring* SolutionsCont::SpringAt(int node) const {
    if (node < 0 || static_cast<size_t>(node) >= springOf_.size())
        return nullptr;
    const int32_t index = springOf_[static_cast<size_t>(node)];
    return index >= 0 ? &springs_[static_cast<size_t>(index)] : nullptr;
}

// A component that the load case imposes (a constrained displacement not 0)
// is a constant of the solution: the spring's row of that component enters
// no equation, so nothing of it acts and the constraint takes the force.
bool SolutionsCont::ImposedComponent(int node, int component) const {
    if (nodes[node].inputRow < 0)
        return false;
    const long number = nodes[node].inputRow + 1;
    for (int k = 0; k < input_.zwv.ValidCount(); ++k) {
        const ZwvRec& zwv = *input_.zwv.ValidRow(k);
        const double values[3] = {zwv.w, zwv.rx, zwv.ry};
        if (number >= zwv.from && number <= zwv.to && values[component] != 0.0)
            return true;
    }
    return false;
}

double SolutionsCont::RawSpringForce(int node, int component) const {
    const NodeSpring* spring = SpringAt(node);
    if (!spring || ImposedComponent(node, component))
        return 0.0;
    double force = 0.0;
    for (int c = 0; c < kComponents; ++c)
        force -= spring->k[component][c] * dofs.Dof(nodes[node].firstDof + c).solvedValue;
    return force;
}

double SolutionsCont::SpringForce(int node, int component) const {
    return Settled(RawSpringForce(node, component),
                   component == kWz ? scales_.force : scales_.moment);
}

double SolutionsCont::SupportReaction(int node, int component) const {
    const double total = dofs.Dof(nodes[node].firstDof + component).nodeForce;
    return Settled(total - RawSpringForce(node, component),
                   component == kWz ? scales_.force : scales_.moment);
}
