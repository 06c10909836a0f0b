// The loads of every element gathered once per run: the same values, bit for
// bit, as summing the records per element, and the temperature deflection of
// elements under several records.

#include "analysis/ElementLoads.h"

#include "AnalysisFixture.h"

#include <bit>
#include <cstdint>

namespace {

bool SameBits(double a, double b) {
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

int NonZeroTemperatures(InputModel& input, const SolElement& element) {
    int count = 0;
    for (int k = 0; k < input.tempLoads.ValidCount(); ++k) {
        const TempLoadRec& load = *input.tempLoads.ValidRow(k);
        count += ActsOn(load.from, load.to, element) && load.dT != 0.0;
    }
    return count;
}

// Four beams in a row, divided by a hinge and point loads, under overlapping
// records, records reaching past the last beam and an empty range.
TEST(ElementLoadTable, MatchesTheRecordsSummedPerElement) {
    Structure s;
    s.Section(2.1e8, 8.1e7, 2.0e-4, 1.0e-4, 1.2e-5);
    for (int k = 0; k < 5; ++k)
        s.Node(3.0 * k, 0.5 * k * k, 1, k == 0, k == 0);
    for (int k = 1; k <= 4; ++k)
        s.Beam(k, k + 1, 1, 0.3 + 0.1 * k);
    s.Hinge(2, 0.4, kHingeBending);
    s.PointLoad(3, 0.3, 5.0);
    s.PointLoad(3, 0.7, 5.0);
    s.BeamLoad(1, 4, 10.0, 10.0);
    s.BeamLoad(2, 3, 1.0 / 3.0, 7.1, 0.2, -0.7);
    s.BeamLoad(3, 3, 0.0, 0.0, 1.1, 1.3);
    s.BeamLoad(3, 9, -2.5, 0.1);
    s.BeamLoad(4, 2, 99.0, 99.0); // acts on nothing
    s.Temperature(1, 2, 10.0);
    s.Temperature(2, 4, 0.0);
    s.Temperature(2, 2, -5.5);
    s.Temperature(0, 1, 3.0);
    s.solutions.BuildModel();
    ASSERT_GT(s.solutions.elements.Count(), 6);

    ElementLoadTable table;
    table.Build(s.solutions);
    for (int e = 0; e < s.solutions.elements.Count(); ++e) {
        const SolElement& element = s.solutions.elements[e];
        const ElementLoads* loads = table.Find(e);
        ASSERT_NE(loads, nullptr);
        const BeamLoadSums sums = SumBeamLoads(element, s.input);
        EXPECT_TRUE(SameBits(loads->sums.qa, sums.qa) && SameBits(loads->sums.qb, sums.qb) &&
                    SameBits(loads->sums.ma, sums.ma) && SameBits(loads->sums.mb, sums.mb))
            << "element " << e;
        EXPECT_EQ(loads->sums.any, sums.any);
        Vektor F(6);
        LoadVector(element, s.solutions.Ends(element), s.input, F);
        for (int k = 0; k < 6; ++k)
            EXPECT_TRUE(SameBits(loads->vector[k], F[k])) << "element " << e << " entry " << k;
        EXPECT_EQ(loads->temperatures, NonZeroTemperatures(s.input, element));
    }
    EXPECT_EQ(table.Find(s.solutions.elements.Count()), nullptr);
    table.Clear();
    EXPECT_EQ(table.Find(0), nullptr);
}

// A beam along x, supported in bending only at its ends and held against
// torsion: a temperature difference dT bends it freely, w(L/2) = αT dT L² / 8h.
class TemperatureRecords : public ::testing::Test {
protected:
    void SetUp() override {
        s.Section(3.0e7, 1.2e7, 2.0e-3, 1.5e-3, kAlpha);
        s.Node(0, 0, 1, 1, 0);
        s.Node(kL, 0, 1, 1, 0);
        s.Beam(1, 2, 1, kH);
    }
    static constexpr double kL = 6.0, kH = 0.5, kAlpha = 1.2e-5;
    double MidSpan(double dT) { return kAlpha * dT * kL * kL / (8 * kH); }

    Structure s;
};

TEST_F(TemperatureRecords, OneRecordBesideARecordWithoutDifference) {
    s.Temperature(1, 1, 0.0);
    s.Temperature(1, 1, 20.0);
    s.Solve();
    EXPECT_REL(s.DeflectionAt(1, 0.5), MidSpan(20.0));
    EXPECT_ZERO(s.Force(1, 0.5, 2), 1.0);
}

TEST_F(TemperatureRecords, SeveralRecordsOnOneBeamAddUp) {
    s.Temperature(1, 1, 12.5);
    s.Temperature(1, 1, 7.5);
    s.Temperature(1, 1, -5.0);
    s.Solve();
    EXPECT_REL(s.DeflectionAt(1, 0.5), MidSpan(15.0));
    EXPECT_REL(s.DeflectionAt(1, 0.25), MidSpan(15.0) * 0.75);
}

} // namespace
