// "Beschriftung entzerren" and "Legende" as --show names of a picture: off
// unless named, switched like the other toggles, and drawn into the picture.

#include "analysis/SolutionsCont.h"
#include "batch/BatchOptions.h"
#include "batch/BatchPictures.h"
#include "model/InputFiles.h"
#include "model/Tables.h"

#include <gtest/gtest.h>

namespace {

TEST(BatchLayoutToggles, OffUnlessNamedAndSwitchedByName) {
    const struct {
        const char* show;
        LayoutFlags layout;
        DisplayFlags flags;
    } cases[] = {
        {nullptr, 0, NewWindowFlags(kTabBiegemoment)},
        {"Legende", kShowLegend, NewWindowFlags(kTabBiegemoment)},
        {"Beschriftung entzerren,Legende,-Legende", kUntangleLabels,
         NewWindowFlags(kTabBiegemoment)},
        {"+Legende,Beschriftung entzerren,Knotennummern", kNewWindowLayout,
         static_cast<DisplayFlags>(NewWindowFlags(kTabBiegemoment) | ShowNodeNumbers)},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"s.bsy", "--svg", "m.svg", "--view", "Biegemoment"};
        if (c.show) {
            args.push_back("--show");
            args.push_back(c.show);
        }
        BatchOptions options;
        std::string error;
        ASSERT_TRUE(ParseBatchArguments(args, options, error)) << error;
        ASSERT_EQ(options.pictures.size(), 1u);
        EXPECT_EQ(options.pictures[0].layout, c.layout) << (c.show ? c.show : "");
        EXPECT_EQ(options.pictures[0].Flags(), c.flags) << (c.show ? c.show : "");
    }
}

TEST(BatchLayoutToggles, TheCaptionIsPartOfThePicture) {
    InputModel input;
    SolutionsCont results(input);
    const std::string examples = std::string(BALKOR_SOURCE_DIR) + "/examples/";
    ASSERT_TRUE(LoadSystemFile(input, examples + "bruecke.bsy"));
    ASSERT_TRUE(LoadLoadCaseFile(input, examples + "bruecke.bld"));
    ASSERT_TRUE(results.Calculate(nullptr).ok);
    SvgPicture picture;
    picture.tab = kTabBiegemoment;
    const std::string plain = PictureSvg(picture, input, &results);
    picture.layout = kShowLegend;
    const std::string captioned = PictureSvg(picture, input, &results);
    EXPECT_GT(captioned.size(), plain.size());
}

} // namespace
