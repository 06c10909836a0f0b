// Values of a settings file that make no sense for their setting are ignored
// (the default stays), and what is written reads back the same.

#include "SettingsTestSupport.h"
#include "settings/SettingsFile.h"

#include <cmath>
#include <limits>

namespace {

const std::string kMarginKey =
    "EinstellungEditor und SeitenränderSeitenränder (nur für Grafikausdruck)Links";

struct SenseCase {
    const std::string& key;
    const char* text;
    double expected; // NaN: the default stays
};

constexpr double kDefault = std::numeric_limits<double>::quiet_NaN();

double ValueOf(const TreeClass& node) {
    return node.Kind() == SettingKind::Colour ? *node.ColourVariable() : *node.RealVariable();
}

double DefaultOf(const TreeClass& node) {
    return node.Kind() == SettingKind::Colour ? std::get<Colour>(node.DefaultValue())
                                              : std::get<double>(node.DefaultValue());
}

using SettingsSenseTest = SettingsFileTest;

} // namespace

TEST_F(SettingsSenseTest, ValuesOutsideTheirRangeAreIgnored) {
    const SenseCase cases[] = {
        {kNodeColourKey, "99999999999", kDefault},
        {kNodeColourKey, "-1", kDefault},
        {kNodeColourKey, "16777216", kDefault},
        {kNodeColourKey, "16777215", 0xFFFFFF},
        {kNodeColourKey, "abc", 0},
        {kTempColourKey, "16777216", kDefault},
        {kTempColourKey, "-1", kDefault},
        {kTempColourKey, "255", 255},
        {kNodeSizeKey, "-0.5", kDefault},
        {kNodeSizeKey, "nan", kDefault},
        {kNodeSizeKey, "inf", kDefault},
        {kNodeSizeKey, "-inf", kDefault},
        {kNodeSizeKey, "1e400", kDefault},
        {kNodeSizeKey, "1e308", 1e308},
        {kNodeSizeKey, "0", 0},
        {kNodeSizeKey, "abc", 0},
        {kMarginKey, "-3", kDefault},
        {kMarginKey, "12.5", 12.5},
    };
    for (const SenseCase& c : cases) {
        SCOPED_TRACE(c.key + " = " + c.text);
        tree->ResetAll();
        ApplySettingLine(*tree, c.key + " = " + c.text);
        const TreeClass& node = *tree->FindByKey(c.key);
        EXPECT_EQ(ValueOf(node), std::isnan(c.expected) ? DefaultOf(node) : c.expected);
    }
}

TEST_F(SettingsSenseTest, WrittenRealsReadBackTheSame) {
    for (const double value : {1e308, 1.5e15, 123456.25, 0.004}) {
        *tree->FindByKey(kNodeSizeKey)->RealVariable() = value;
        ASSERT_TRUE(WriteSettingsFile(*tree, file));
        EXPECT_LT(ReadRaw().size(), kNodeSizeKey.size() + 30) << ReadRaw();
        tree->ResetAll();
        ASSERT_TRUE(ReadSettings(*tree, file));
        EXPECT_EQ(*tree->FindByKey(kNodeSizeKey)->RealVariable(), value);
    }
    *tree->FindByKey(kNodeSizeKey)->RealVariable() = 1e308;
    ASSERT_TRUE(WriteSettingsFile(*tree, file));
    EXPECT_EQ(ReadRaw(), kNodeSizeKey + " = 1e+308\n");
}
