// The size limits of balkor-batch, each from both sides: one case just
// inside, one just outside. An input at a limit is accepted and then fails
// its plausibility check (a beam of length 0), so that nothing is computed
// or written.

#include "BatchProcess.h"
#include "batch/BatchOptions.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// Beams between two nodes at the same place, with these interval counts.
std::string ZeroLengthBeams(const std::vector<long>& intervals) {
    std::string beams;
    for (size_t k = 0; k < intervals.size(); ++k)
        beams +=
            "    " + std::to_string(k + 1) + " 1 2 1 0.3 " + std::to_string(intervals[k]) + "\n";
    return "NODES\n2\n    1 0.0 0.0 1 1 1 0.0\n    2 0.0 0.0 1 1 1 0.0\n\nBEAMS\n" +
           std::to_string(intervals.size()) + "\n" + beams +
           "\nMATERIALS\n1\n    1 2.1e+08 8.1e+07 2.5e-04 1.8e-06 1.2e-05\n\nHINGES\n0\n\n";
}

// The JSON lists intervals + 1 points per beam, at most 1,000,000.
TEST(BatchLimits, JsonOfAtMostOneMillionPoints) {
    const struct {
        long intervals;
        int exitCode;
    } cases[] = {{999999, kExitInputError}, {1000000, kExitOutputFile}};
    for (const auto& c : cases) {
        TempDir dir;
        const std::string system = dir.Write("s.bsy", ZeroLengthBeams({c.intervals}));
        const ProcessResult r = RunBatchProgram(
            {"-q", system, "--results", dir.Path("r.txt"), "--json", dir.Path("r.json")});
        EXPECT_EQ(r.exitCode, c.exitCode) << c.intervals << ": " << r.err;
    }
}

// The results protocol writes 2 × intervals rows per beam, at most
// 10,000,000.
TEST(BatchLimits, ResultsProtocolOfAtMostTenMillionRows) {
    const struct {
        std::vector<long> intervals;
        int exitCode;
    } cases[] = {{{5000000}, kExitInputError}, {{5000000, 1}, kExitOutputFile}};
    for (const auto& c : cases) {
        TempDir dir;
        const std::string system = dir.Write("s.bsy", ZeroLengthBeams(c.intervals));
        const ProcessResult r = RunBatchProgram({"-q", system, "--results", dir.Path("r.txt")});
        EXPECT_EQ(r.exitCode, c.exitCode) << c.intervals.size() << " beams: " << r.err;
    }
}

// A picture side has at most 100,000 pixels.
TEST(BatchLimits, PictureSidesOfAtMost100000Pixels) {
    const struct {
        const char* size;
        bool accepted;
    } cases[] = {{"100000x100000", true}, {"100001x5", false}, {"5x100001", false}};
    for (const auto& c : cases) {
        BatchOptions options;
        std::string error;
        EXPECT_EQ(
            ParseBatchArguments({"s.bsy", "--svg", "a.svg", "--size", c.size}, options, error),
            c.accepted)
            << c.size << ": " << error;
    }
}

} // namespace
