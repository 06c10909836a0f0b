#pragma once

// Two runs of the same model (other equation numbers, the other solver)
// compared quantity by quantity to rounding.

#include "analysis/SolutionsCont.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

// Compares a family of values to 1e-10 of its largest magnitude.
class Agreement {
public:
    void Add(double a, double b) {
        pairs_.emplace_back(a, b);
        scale_ = std::max({scale_, std::fabs(a), std::fabs(b)});
    }
    void Expect(const char* what) const {
        ASSERT_GT(scale_, 0.0) << what;
        for (const auto& [a, b] : pairs_)
            EXPECT_NEAR(a, b, 1e-10 * scale_) << what;
    }

private:
    std::vector<std::pair<double, double>> pairs_;
    double scale_ = 0.0;
};

// How the tolerance of 1e-10 of the largest value is scaled: by each
// quantity's largest value, or by the largest value of its unit
// (deflections, rotations, forces, moments), as the program settles noise:
// a reaction or end moment that is rounding in one run may be settled to 0
// in the other.
enum class Scale { kPerQuantity, kPerUnit };

// Displacements, node forces and section forces of two runs of the same
// model under different equation numbers (or solvers) agree to rounding.
inline void ExpectSameResults(const SolutionsCont& a, const SolutionsCont& b,
                              Scale scale = Scale::kPerQuantity) {
    ASSERT_EQ(a.nodes.Count(), b.nodes.Count());
    ASSERT_EQ(a.elements.Count(), b.elements.Count());
    const bool perUnit = scale == Scale::kPerUnit;
    Agreement deflections, rotations, forces, moments, ownShears, ownBending, ownTorques;
    Agreement& shears = perUnit ? forces : ownShears;
    Agreement& bending = perUnit ? moments : ownBending;
    Agreement& torques = perUnit ? moments : ownTorques;
    for (int k = 0; k < a.nodes.Count(); ++k) {
        deflections.Add(a.NodeValue(k, kWz), b.NodeValue(k, kWz));
        forces.Add(a.NodeForce(k, kWz), b.NodeForce(k, kWz));
        for (int c : {kRx, kRy}) {
            rotations.Add(a.NodeValue(k, c), b.NodeValue(k, c));
            moments.Add(a.NodeForce(k, c), b.NodeForce(k, c));
        }
    }
    for (int e = 0; e < a.elements.Count(); ++e) {
        for (double t : {0.0, 0.3, 1.0}) {
            deflections.Add(a.Deflection(e, t), b.Deflection(e, t));
            shears.Add(a.SectionForce(e, t, 1), b.SectionForce(e, t, 1));
            bending.Add(a.SectionForce(e, t, 2), b.SectionForce(e, t, 2));
            torques.Add(a.SectionForce(e, t, 3), b.SectionForce(e, t, 3));
        }
    }
    deflections.Expect("deflections");
    rotations.Expect("rotations");
    forces.Expect(perUnit ? "forces" : "node forces");
    moments.Expect(perUnit ? "moments" : "node moments");
    if (!perUnit) {
        shears.Expect("shear forces");
        bending.Expect("bending moments");
        torques.Expect("torsion moments");
    }
}
