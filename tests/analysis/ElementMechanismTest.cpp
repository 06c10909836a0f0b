// Element matrices assembled into the profile solver: a beam made kinematic by
// hinges must be reported singular, a sound one with stiffnesses 1e8 apart
// must still be solved correctly.

#include "ElementTestSupport.h"
#include "analysis/KMatrix.h"
#include "analysis/SolElement.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Equation numbers of an element's six components; -1 for a held component.
using Equations = std::array<int, 6>;

struct Part {
    Matrix stiffness;
    Equations equations;
};

void Assemble(KMatrix& K, int n, const std::vector<Part>& parts) {
    K.Create(n);
    for (const Part& part : parts)
        for (int a : part.equations)
            for (int b : part.equations)
                if (a >= 0 && a <= b)
                    K.RaiseHeight(b, b - a + 1);
    K.FinishProfile();
    for (const Part& part : parts)
        for (int i = 0; i < 6; ++i)
            for (int j = 0; j < 6; ++j) {
                int a = part.equations[i], b = part.equations[j];
                if (a >= 0 && a <= b)
                    K.Entry(a, b) += part.stiffness(i, j);
            }
}

class AssembledBeam : public ::testing::Test {
protected:
    // Beam number k uses cross-section k.
    int AddBeamWith(double EI, double GIt) {
        AddSection(input, EI, GIt, 1.0, 1.0);
        AddBeam(input, input.mats.Count());
        return input.beams.Count();
    }

    Part ElementPart(int beam, double x1, double x2, Equations equations) {
        Part part{Matrix(), equations};
        SolElement element;
        element.beamNumber = beam;
        Stiffness(element, EndsAt(x1, 0, x2, 0), input, part.stiffness);
        return part;
    }

    InputModel input;
};

// Three spans of a = 3.7 along x on two end supports (wz and the torsion
// rotation Rx held at both ends), loaded by P at the two interior nodes.
class SupportedBeam : public AssembledBeam {
protected:
    static constexpr double a = 3.7, P = 10.0, EI = 16800.0, GIt = 800.0;

    void SetUp() override { beam = AddBeamWith(EI, GIt); }

    int beam = 0;
};

TEST_F(SupportedBeam, ContinuousBeamDeflectsByTheClosedForm) {
    // Equations: Ry0 | wz1 Rx1 Ry1 | wz2 Rx2 Ry2 | Ry3.
    std::vector<Part> parts;
    parts.push_back(ElementPart(beam, 0, a, {-1, -1, 0, 1, 2, 3}));
    parts.push_back(ElementPart(beam, a, 2 * a, {1, 2, 3, 4, 5, 6}));
    parts.push_back(ElementPart(beam, 2 * a, 3 * a, {4, 5, 6, -1, -1, 7}));
    KMatrix K;
    Assemble(K, 8, parts);
    Vektor F(8);
    F[1] = P;
    F[4] = P;
    ASSERT_EQ(K.Solve(F), kSolveSolved);
    // Two loads P at a from the supports of a span 3a: w = P a^2 (3 * 3a - 4a) / (6 EI).
    const double w = 5 * P * a * a * a / (6 * EI);
    EXPECT_NEAR(F[1], w, 1e-10 * w);
    EXPECT_NEAR(F[4], w, 1e-10 * w);
    EXPECT_NEAR(F[2], 0.0, 1e-10 * w);
}

TEST_F(SupportedBeam, TwoBendingHingesMakeAMechanismThatIsReportedSingular) {
    // The same beam with a bending hinge at both interior nodes: each side of
    // a hinge has its own Ry, wz and Rx stay shared.
    // Equations: Ry0 | wz1 Rx1 Ry1- Ry1+ | wz2 Rx2 Ry2- Ry2+ | Ry3.
    std::vector<Part> parts;
    parts.push_back(ElementPart(beam, 0, a, {-1, -1, 0, 1, 2, 3}));
    parts.push_back(ElementPart(beam, a, 2 * a, {1, 2, 4, 5, 6, 7}));
    parts.push_back(ElementPart(beam, 2 * a, 3 * a, {5, 6, 8, -1, -1, 9}));
    KMatrix K;
    Assemble(K, 10, parts);
    Vektor F(10);
    F[1] = P;
    F[5] = P;
    EXPECT_EQ(K.Solve(F), kSolveZeroPivot);
}

// A cantilever along x of two pieces of lengths L1 (at the clamp) and L2, with
// bending and torsion stiffnesses a factor 1e8 apart, and a tip load P:
// w = P (L^3 - L2^3) / (3 EI1) + P L2^3 / (3 EI2), L = L1 + L2.
double CantileverTip(double L1, double L2, double EI1, double EI2, double P) {
    const double L = L1 + L2;
    return P * (L * L * L - L2 * L2 * L2) / (3 * EI1) + P * L2 * L2 * L2 / (3 * EI2);
}

TEST_F(AssembledBeam, StiffnessesAFactor1e8ApartAreStillSolved) {
    const double L1 = 2.0, L2 = 3.0, P = 5.0, soft = 1000.0, stiff = 1e8 * soft;
    const double orders[2][2] = {{soft, stiff}, {stiff, soft}};
    for (const auto& order : orders) {
        input.ResetSystem();
        int first = AddBeamWith(order[0], order[0]);
        int second = AddBeamWith(order[1], order[1]);
        // Equations: wz1 Rx1 Ry1 | wz2 Rx2 Ry2; the clamp holds node 0.
        std::vector<Part> parts;
        parts.push_back(ElementPart(first, 0, L1, {-1, -1, -1, 0, 1, 2}));
        parts.push_back(ElementPart(second, L1, L1 + L2, {0, 1, 2, 3, 4, 5}));
        KMatrix K;
        Assemble(K, 6, parts);
        Vektor F(6);
        F[3] = P;
        ASSERT_EQ(K.Solve(F), kSolveSolved);
        const double w = CantileverTip(L1, L2, order[0], order[1], P);
        EXPECT_NEAR(F[3], w, 1e-6 * w);
    }
}

} // namespace
