// The sample files in examples/: they read, pass both checks, and write back
// byte for byte.

#include "FilesTestSupport.h"
#include "model/Checks.h"
#include "model/InputFiles.h"
#include "model/Tables.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::string Example(const std::string& name) {
    return std::string(BALKOR_SOURCE_DIR) + "/examples/" + name;
}

class ExampleFiles : public ::testing::TestWithParam<const char*> {};

} // namespace

TEST_P(ExampleFiles, PassBothChecksAndWriteBackUnchanged) {
    const std::string name = GetParam();
    InputModel m;
    ASSERT_TRUE(LoadSystemFile(m, Example(name + ".bsy")));
    ASSERT_TRUE(LoadLoadCaseFile(m, Example(name + ".bld")));
    EXPECT_GT(m.beams.ValidCount(), 0);
    const CheckReport system = CheckSystem(m);
    EXPECT_TRUE(system.ok) << system.message << " row " << system.row;
    const CheckReport loads = CheckLoads(m);
    EXPECT_TRUE(loads.ok) << loads.message << " row " << loads.row;

    TempDir dir;
    ASSERT_TRUE(SaveSystemFile(m, dir.File("copy.bsy")));
    ASSERT_TRUE(SaveLoadCaseFile(m, dir.File("copy.bld")));
    EXPECT_EQ(ReadBytes(dir.File("copy.bsy")), ReadBytes(Example(name + ".bsy")));
    EXPECT_EQ(ReadBytes(dir.File("copy.bld")), ReadBytes(Example(name + ".bld")));
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleFiles,
                         ::testing::Values("beispiel", "zweifeld", "bruecke"));

TEST(ExampleFiles, BridgeUsesEveryKindOfInput) {
    InputModel m;
    ASSERT_TRUE(LoadSystemFile(m, Example("bruecke.bsy")));
    ASSERT_TRUE(LoadLoadCaseFile(m, Example("bruecke.bld")));
    for (InputContainer* table : m.loadTables)
        EXPECT_GT(table->ValidCount(), 0) << table->SectionKeyword();
    bool hingeTypes[3] = {};
    for (int k = 0; k < m.hinges.ValidCount(); ++k)
        hingeTypes[m.hinges.ValidRow(k)->type] = true;
    EXPECT_TRUE(hingeTypes[kHingeShear] && hingeTypes[kHingeBending] && hingeTypes[kHingeTorsion]);
    bool skew = false;
    for (int k = 0; k < m.nodes.ValidCount(); ++k)
        skew = skew || m.nodes.ValidRow(k)->skew != 0.0;
    EXPECT_TRUE(skew);
}
