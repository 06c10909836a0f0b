// The fixed limits of the model layer, each from both sides: one case just
// inside, one just outside.

#include "FilesTestSupport.h"
#include "model/Geometry.h"
#include "model/InputFiles.h"
#include "model/LineReader.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace {

// A tab is expanded only while the line stays below 999 characters (the
// reader's buffer of 1000 less the terminating zero).
TEST(ModelLimits, TabExpandsOnlyWhileTheLineStaysBelow999Characters) {
    const struct {
        int textAfterTab;
        bool expanded;
    } cases[] = {{990, true}, {991, false}};
    for (const auto& c : cases) {
        const std::string text(static_cast<size_t>(c.textAfterTab), 'x');
        TextFile file("\t" + text + "\n");
        char buffer[kLineBufferSize];
        ASSERT_TRUE(ReadLine(file.Get(), buffer));
        const std::string expected = (c.expanded ? std::string(8, ' ') : "\t") + text;
        EXPECT_EQ(std::string(buffer), expected) << c.textAfterTab;
    }
}

// Record numbers up to 1,000,000 name a row; a larger one is taken as
// damage and passed over.
TEST(ModelLimits, RecordNumbersUpToOneMillion) {
    const struct {
        long number;
        int rows;
    } cases[] = {{1000000, 1000000}, {1000001, 0}};
    for (const auto& c : cases) {
        TempDir dir;
        const std::string path = dir.File("s.bsy");
        WriteBytes(path, "NODES\n1\n" + std::to_string(c.number) + " 1.0 2.0 0 0 0 0.0\n\n");
        InputModel m;
        ASSERT_TRUE(LoadSystemFile(m, path));
        EXPECT_EQ(m.nodes.Count(), c.rows) << c.number;
        EXPECT_EQ(m.nodes.ValidCount(), c.rows > 0 ? 1 : 0) << c.number;
    }
}

// A vector shorter than 1e-8 has the direction 0.
TEST(ModelLimits, DirectionOfVectorsAroundTheShortestLength) {
    const struct {
        double length;
        double angle;
    } cases[] = {{0.9e-8, 0.0}, {1.1e-8, M_PI / 2}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(DirectionAngle(0.0, c.length), c.angle) << c.length;
}

} // namespace
