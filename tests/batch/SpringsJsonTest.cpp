// Spring forces in the JSON: entries of their own among the reactions.

#include "analysis/SolutionsCont.h"
#include "batch/ResultsJson.h"
#include "model/Tables.h"
#include "support/TableRows.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::ordered_json;

// A beam of 10 under q = 2, on a fork support at node 1 and on a spring at
// node 2, where a support holds only the torsion: by statics each end carries
// qL/2 = 10, at node 2 the spring alone.
TEST(SpringsJson, SpringForcesFollowTheirNodesReactionMarkedAsSprings) {
    InputModel input;
    for (int row = 0; row < 2; ++row) {
        NodeRec& n = ValidRecord(input.nodes, row);
        n.x = 10.0 * row, n.fixZ = row == 0, n.fixRx = 1;
    }
    MatRec& m = ValidRecord(input.mats, 0);
    m.E = 1000, m.G = 500, m.Iy = 1, m.It = 1;
    BeamRec& b = ValidRecord(input.beams, 0);
    b.start = 1, b.end = 2, b.section = 1, b.intervals = 1;
    SpringRec& f = ValidRecord(input.springs, 0);
    f.from = 2, f.to = 2, f.kz = 50;
    BeamLoadRec& l = ValidRecord(input.beamLoads, 0);
    l.from = 1, l.to = 1, l.qStart = 2, l.qEnd = 2;
    SolutionsCont solutions(input);
    ASSERT_TRUE(solutions.Calculate().ok);

    const Json reactions = Json::parse(ResultsJsonText(input, solutions, "", ""))["reactions"];
    ASSERT_EQ(reactions.size(), 3u);
    const char* const supportKeys[] = {"node", "Z", "Mx", "My"};
    const char* const springKeys[] = {"node", "spring", "Z", "Mx", "My"};
    const struct {
        int node;
        bool spring;
        double Z;
    } expected[] = {{1, false, -10.0}, {2, false, 0.0}, {2, true, -10.0}};
    double sum = 0.0;
    for (size_t i = 0; i < reactions.size(); ++i) {
        const Json& entry = reactions[i];
        std::vector<std::string> keys;
        for (auto it = entry.begin(); it != entry.end(); ++it)
            keys.push_back(it.key());
        const std::vector<std::string> wanted =
            expected[i].spring
                ? std::vector<std::string>(std::begin(springKeys), std::end(springKeys))
                : std::vector<std::string>(std::begin(supportKeys), std::end(supportKeys));
        EXPECT_EQ(keys, wanted) << i;
        EXPECT_EQ(entry["node"], expected[i].node);
        EXPECT_EQ(entry.value("spring", false), expected[i].spring);
        EXPECT_NEAR(entry["Z"].get<double>(), expected[i].Z, 1e-9);
        sum += entry["Z"].get<double>();
    }
    EXPECT_NEAR(sum, -20.0, 1e-9);
}

} // namespace
