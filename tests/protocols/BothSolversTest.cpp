// The results protocols of the bundled examples are the same, byte for
// byte, whichever solver runs the analysis.

#include "ProtocolTestSupport.h"
#include "analysis/SolutionsCont.h"
#include "model/InputFiles.h"
#include "support/ScopedEnvironment.h"

#include <string>

namespace {

std::string ResultsProtocolWith(const char* solver, const std::string& example) {
    ScopedEnvironment environment;
    environment.Set("BALKOR_SOLVER", solver);
    const std::string base = std::string(BALKOR_SOURCE_DIR) + "/examples/" + example;
    InputModel input;
    EXPECT_TRUE(LoadSystemFile(input, base + ".bsy"));
    EXPECT_TRUE(LoadLoadCaseFile(input, base + ".bld"));
    SolutionsCont solutions(input);
    const CalcResult result = solutions.Calculate();
    EXPECT_TRUE(result.ok) << solver << ": " << result.message;
    return CaptureText(
        [&](std::FILE* f) { WriteResultsProtocol(input, solutions, f, FixedContext()); });
}

TEST(BothSolvers, WriteTheSameResultsProtocolsOfTheExamples) {
    for (const char* example : {"beispiel", "bruecke", "deck", "zweifeld"}) {
        SCOPED_TRACE(example);
        const std::string profile = ResultsProtocolWith("profile", example);
        ExpectSameLines(ResultsProtocolWith("sparse", example), profile);
        EXPECT_GT(profile.size(), 1000u);
    }
}

} // namespace
