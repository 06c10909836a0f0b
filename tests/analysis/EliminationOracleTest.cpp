// The sparse constraint elimination against the dense one: the same dependent
// degrees of freedom, dependency terms and constants, bit for bit, and the
// same verdict on redundant and contradictory rows.

#include "AnalysisFixture.h"
#include "DenseElimination.h"
#include "model/BalkorError.h"
#include "support/TestSeed.h"

#include <bit>
#include <cstdint>
#include <random>

namespace {

bool SameBits(double a, double b) {
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

void AppendDofs(FGTabCont& dofs, int count) {
    for (int d = 0; d < count; ++d)
        dofs.AppendDof();
}

// Runs both eliminations on the rows; returns the common result code.
int ExpectSameElimination(const BCContainer& rows, int dofCount) {
    FGTabCont sparse, dense;
    AppendDofs(sparse, dofCount);
    AppendDofs(dense, dofCount);
    const int code = EliminateConstraints(rows, sparse);
    EXPECT_EQ(code, EliminateConstraintsDense(rows, dense));
    for (int d = 0; d < dofCount; ++d) {
        const BCClass& a = sparse.Dof(d);
        const BCClass& b = dense.Dof(d);
        EXPECT_EQ(a.dependent, b.dependent) << "dof " << d;
        EXPECT_EQ(a.Count(), b.Count()) << "dof " << d;
        if (a.dependent != b.dependent || a.Count() != b.Count())
            return code;
        EXPECT_TRUE(SameBits(a.constant, b.constant))
            << "dof " << d << ": " << a.constant << " vs " << b.constant;
        for (int t = 0; t < a.Count(); ++t) {
            EXPECT_EQ(a.Dependency(t).dof, b.Dependency(t).dof) << "dof " << d;
            EXPECT_TRUE(SameBits(a.Dependency(t).coefficient, b.Dependency(t).coefficient))
                << "dof " << d << " term " << t;
        }
    }
    return code;
}

int DependentCount(const BCContainer& rows, int dofCount) {
    FGTabCont dofs;
    AppendDofs(dofs, dofCount);
    EliminateConstraints(rows, dofs);
    int count = 0;
    for (int d = 0; d < dofCount; ++d)
        count += dofs.Dof(d).dependent;
    return count;
}

// The rows of the structure's model and load case.
int CompareModel(Structure& s) {
    s.solutions.BuildModel();
    s.solutions.AddLoadCaseRows();
    return ExpectSameElimination(s.solutions.bcRows, 3 * s.solutions.nodes.Count());
}

// Beams 1-2, 2-3 and 3-4, bent at 3, with skewed supports.
void Frame(Structure& s, double skew) {
    s.Section(2.1e8, 8.1e7, 2.0e-4, 1.0e-4);
    s.Node(0, 0, 1, 1, 1, skew);
    s.Node(4, 0);
    s.Node(8, 1, 1, 1, 0, skew + 15.0);
    s.Node(8, 6, 1, 0, 1, -skew);
    s.Beam(1, 2);
    s.Beam(2, 3);
    s.Beam(3, 4);
}

class EliminationOracle : public ::testing::Test {
protected:
    void SetUp() override { Frame(s, 20.0); }
    Structure s;
};

TEST(EliminationOracleModels, HingesOfEveryTypeAndSkewSupports) {
    for (double skew : {0.0, 30.0, 45.0, 117.5}) {
        Structure s;
        Frame(s, skew);
        s.Hinge(1, 0.5, kHingeShear);
        s.Hinge(2, 0.25, kHingeBending);
        s.Hinge(2, 0.25, kHingeTorsion);
        s.Hinge(3, 0.0, kHingeBending);
        s.Hinge(3, 0.0, kHingeBending); // a pair at the beam start
        s.Hinge(3, 1.0, kHingeTorsion);
        s.PointLoad(3, 0.6, 5.0);
        EXPECT_EQ(CompareModel(s), kEliminationOk) << "skew " << skew;
    }
}

TEST_F(EliminationOracle, ImposedDisplacementsAndHingeDeformations) {
    const int shear = s.Hinge(1, 0.5, kHingeShear);
    const int bending = s.Hinge(2, 0.4, kHingeBending);
    const int torsion = s.Hinge(3, 0.7, kHingeTorsion);
    s.HingeLoad(shear, kHingeLoadDeformation, 0.01);
    s.HingeLoad(bending, kHingeLoadDeformation, -0.002);
    s.HingeLoad(torsion, kHingeLoadDeformation, 0.003);
    s.Zwv(2, 2, 0.02, 0.001, -0.004);
    EXPECT_EQ(CompareModel(s), kEliminationOk);
}

TEST_F(EliminationOracle, RedundantAndContradictoryModelRows) {
    s.solutions.BuildModel();
    s.solutions.AddLoadCaseRows();
    const int D = 3 * s.solutions.nodes.Count();
    // The skewed Rx support of node 1 once more, scaled: redundant.
    OneBCContainer* again = s.solutions.AddRow();
    s.solutions.AddTerm(again, 0, kRx, 2.0 * std::cos(M_PI / 9));
    s.solutions.AddTerm(again, 0, kRy, 2.0 * std::sin(M_PI / 9));
    EXPECT_EQ(ExpectSameElimination(s.solutions.bcRows, D), kEliminationOk);
    // The z support of node 2 with a prescribed value: contradiction.
    OneBCContainer* moved = s.solutions.AddRow();
    s.solutions.AddTerm(moved, 2, kWz, 1.0);
    moved->rowConstant = -0.01;
    EXPECT_EQ(ExpectSameElimination(s.solutions.bcRows, D), kEliminationContradiction);
}

// Rows written directly: a dof window of a few nodes makes many rows share
// their leading index, so they are reduced against each other repeatedly.
class RandomRows {
public:
    explicit RandomRows(unsigned seed) : random_(seed) {}

    double Coefficient() {
        switch (Pick(8)) {
        case 0:
            return 1.0;
        case 1:
            return -1.0;
        case 2:
            return kConstraintEpsilon; // leading, but no dependency term
        case 3:
            return 1e-17; // below ε
        case 4:
            return std::ldexp(Real(), -40); // just above ε
        case 5:
            return Real() * 1e6; // leaves rounding residues
        default:
            return Real() * std::pow(10.0, Pick(7) - 3);
        }
    }
    // terms random terms among the first dofCount dofs; a column may repeat.
    void AddRow(BCContainer& rows, int dofCount, int terms, double constant) {
        OneBCContainer* row = rows.AddRow();
        for (int t = 0; t < terms; ++t) {
            const int column = Pick(dofCount);
            row->AddTerm(column / 3, column % 3, Coefficient());
        }
        row->rowConstant = constant;
    }
    // The combination a × row i + b × row j, with the given constant shift.
    void AddCombination(BCContainer& rows, int i, int j, double shift) {
        OneBCContainer* row = rows.AddRow();
        const double a = Real() + 0.5, b = -Real() - 0.25;
        for (int k : {i, j}) {
            const OneBCContainer& from = rows.Row(k);
            for (int t = 0; t < from.Count(); ++t) {
                const BCTerm& term = from.Term(t);
                row->AddTerm(term.node, term.component, (k == i ? a : b) * term.coefficient);
            }
        }
        row->rowConstant = a * rows.Row(i).rowConstant + b * rows.Row(j).rowConstant + shift;
    }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    double Real() { return std::uniform_real_distribution<double>(-1.0, 1.0)(random_); }

private:
    std::mt19937 random_;
};

TEST(EliminationOracleRandom, RowsSharingLeadingIndicesMatchTheDenseElimination) {
    const unsigned firstSeed = TestSeed();
    SCOPED_TRACE(SeedTrace(firstSeed));
    int eliminated = 0;
    for (unsigned run = 0; run < 300; ++run) {
        const unsigned seed = firstSeed + run;
        RandomRows random(seed);
        BCContainer rows;
        const int D = 3 * (2 + random.Pick(6));
        const int count = 1 + random.Pick(D + 3);
        for (int r = 0; r < count; ++r)
            random.AddRow(rows, D, 1 + random.Pick(5), random.Pick(3) == 0 ? 0.0 : random.Real());
        SCOPED_TRACE(testing::Message() << "run " << run);
        if (ExpectSameElimination(rows, D) == kEliminationOk)
            eliminated += DependentCount(rows, D);
    }
    EXPECT_GT(eliminated, 300); // the runs did reach the reduction
}

TEST(EliminationOracleRandom, CombinationsOfRowsAreRedundantOrContradict) {
    const unsigned firstSeed = TestSeed();
    SCOPED_TRACE(SeedTrace(firstSeed));
    int contradictions = 0;
    for (unsigned run = 0; run < 200; ++run) {
        const unsigned seed = firstSeed + run;
        RandomRows random(seed);
        BCContainer rows;
        const int D = 3 * (3 + random.Pick(4));
        const int count = 2 + random.Pick(6);
        for (int r = 0; r < count; ++r)
            random.AddRow(rows, D, 2 + random.Pick(4), random.Real());
        const bool shifted = seed % 2 == 1;
        random.AddCombination(rows, random.Pick(count), random.Pick(count), shifted ? 0.5 : 0.0);
        SCOPED_TRACE(testing::Message() << "run " << run);
        contradictions += ExpectSameElimination(rows, D) == kEliminationContradiction;
    }
    EXPECT_GT(contradictions, 20);
}

TEST(EliminationOracleRandom, RepeatedTermsAndSignedZeros) {
    BCContainer rows;
    OneBCContainer* a = rows.AddRow(); // the later term of a dof replaces the earlier
    a->AddTerm(0, kRx, 5.0);
    a->AddTerm(0, kWz, 2.0);
    a->AddTerm(0, kRx, 0.0);
    a->rowConstant = -0.0;
    OneBCContainer* b = rows.AddRow();
    b->AddTerm(0, kWz, -0.0);
    b->AddTerm(0, kWz, 4.0);
    b->AddTerm(1, kRy, 1.0);
    b->rowConstant = 0.0;
    OneBCContainer* c = rows.AddRow();
    c->AddTerm(1, kRy, -0.0);
    c->rowConstant = -0.0;
    EXPECT_EQ(ExpectSameElimination(rows, 6), kEliminationOk);
}

TEST(EliminationOracleRandom, UnknownNodeThrowsLikeTheDenseElimination) {
    BCContainer rows;
    rows.AddRow()->AddTerm(2, kWz, 1.0);
    FGTabCont sparse, dense;
    AppendDofs(sparse, 6);
    AppendDofs(dense, 6);
    EXPECT_THROW(EliminateConstraints(rows, sparse), BalkorError);
    EXPECT_THROW(EliminateConstraintsDense(rows, dense), BalkorError);
}

} // namespace
