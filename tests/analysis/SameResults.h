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

// Displacements, node forces and section forces of two runs of the same
// model under different equation numbers agree to rounding.
inline void ExpectSameResults(const SolutionsCont& a, const SolutionsCont& b) {
    ASSERT_EQ(a.nodes.Count(), b.nodes.Count());
    ASSERT_EQ(a.elements.Count(), b.elements.Count());

    Agreement deflections, rotations, forces, moments;
    for (int k = 0; k < a.nodes.Count(); ++k) {
        deflections.Add(a.NodeValue(k, kWz), b.NodeValue(k, kWz));
        forces.Add(a.NodeForce(k, kWz), b.NodeForce(k, kWz));
        for (int c : {kRx, kRy}) {
            rotations.Add(a.NodeValue(k, c), b.NodeValue(k, c));
            moments.Add(a.NodeForce(k, c), b.NodeForce(k, c));
        }
    }
    Agreement shears, bending, torques;
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
    forces.Expect("node forces");
    moments.Expect("node moments");
    shears.Expect("shear forces");
    bending.Expect("bending moments");
    torques.Expect("torsion moments");
}

// The same with one tolerance per unit, 1e-10 of the largest value of the
// model in it (deflections, rotations, forces, moments), as the program
// settles noise: a reaction or end moment that is rounding in one run may
// be settled to 0 in the other.
inline void ExpectSameResultsPerUnit(const SolutionsCont& a, const SolutionsCont& b) {
    ASSERT_EQ(a.nodes.Count(), b.nodes.Count());
    ASSERT_EQ(a.elements.Count(), b.elements.Count());
    Agreement deflections, rotations, forces, moments;
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
            forces.Add(a.SectionForce(e, t, 1), b.SectionForce(e, t, 1));
            moments.Add(a.SectionForce(e, t, 2), b.SectionForce(e, t, 2));
            moments.Add(a.SectionForce(e, t, 3), b.SectionForce(e, t, 3));
        }
    }
    deflections.Expect("deflections");
    rotations.Expect("rotations");
    forces.Expect("forces");
    moments.Expect("moments");
}
