// Spring forces in the JSON: entries of their own among the reactions.

#include "analysis/AnalysisFixture.h"
#include "batch/ResultsJson.h"

#include <nlohmann/json.hpp>

namespace {

// A beam of L = 10 (EI = 1000) on fork supports at nodes 1 and 2, its middle
// node 3 on a spring k = 48 EI / L³ = 48 (and held in torsion), under q = 2:
// the spring carries R = (5qL⁴/384EI) / (1/k + L³/48EI) = 6.25, each support
// (qL − R) / 2.
TEST(SpringsJson, SpringForcesFollowTheirNodesReactionsAndBalanceTheLoad) {
    Structure s;
    s.Section(1000, 500, 1, 1);
    s.Node(0, 0, 1, 1, 0), s.Node(10, 0, 1, 1, 0), s.Node(5, 0, 0, 1, 0);
    s.Beam(1, 3, 1, 0, 1), s.Beam(3, 2, 1, 0, 1);
    SpringRec& spring = AppendValid(s.input.springs);
    spring.from = spring.to = 3, spring.kz = 48;
    s.BeamLoad(1, 2, 2, 2);
    s.Solve();
    const auto reactions =
        nlohmann::json::parse(ResultsJsonText(s.input, s.solutions, "", ""))["reactions"];
    const struct {
        int node;
        bool spring;
        double Z;
    } expected[] = {{1, false, -6.875}, {2, false, -6.875}, {3, false, 0.0}, {3, true, -6.25}};
    ASSERT_EQ(reactions.size(), std::size(expected));
    double sum = 0.0;
    for (size_t i = 0; i < reactions.size(); ++i) {
        EXPECT_EQ(reactions[i]["node"], expected[i].node) << i;
        EXPECT_EQ(reactions[i].value("spring", false), expected[i].spring) << i;
        EXPECT_NEAR(reactions[i]["Z"].get<double>(), expected[i].Z, 1e-9) << i;
        sum += reactions[i]["Z"].get<double>();
    }
    EXPECT_NEAR(sum, -20.0, 1e-9);
}

} // namespace
