#include "SettingsTestSupport.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

// A tree view that numbers its nodes in depth-first order; the settings
// tree adds every node after all nodes before it, so appending keeps that
// order.
class RecordingView : public SettingsTreeView {
public:
    struct Node {
        int parent;
        std::string text;
    };
    int AddNode(int parent) override {
        nodes.push_back({parent, std::string()});
        return static_cast<int>(nodes.size()) - 1;
    }
    void SetNodeText(int node, const std::string& text) override {
        nodes[static_cast<size_t>(node)].text = text;
    }
    std::vector<Node> nodes;
};

using TreeViewTest = SettingsTreeTest;

TEST_F(TreeViewTest, FillTreeViewShowsEveryNodeInTreeOrderAndRecordsItsIndex) {
    EXPECT_EQ(tree->FindByIndex(0), nullptr) << "not shown yet";
    RecordingView view;
    tree->FillTreeView(view, view.AddNode(kViewTopLevel));

    ASSERT_EQ(view.nodes.size(), 102u); // 77 settings and 25 groups
    EXPECT_EQ(view.nodes[0].text, "Einstellung");
    EXPECT_EQ(view.nodes[0].parent, kViewTopLevel);
    EXPECT_EQ(view.nodes[1].text, "Grafikeinstellung");
    EXPECT_EQ(view.nodes[2].text, "Geometrie");
    EXPECT_EQ(view.nodes[3].text, "Knoten");
    EXPECT_EQ(view.nodes[4].text, "Liniendicke");
    EXPECT_EQ(view.nodes[4].parent, 3);
    EXPECT_EQ(view.nodes[101].text, "Unten");

    for (int i = 0; i < 102; ++i) {
        TreeClass* node = tree->FindByIndex(i);
        ASSERT_NE(node, nullptr) << i;
        EXPECT_EQ(node->ViewIndex(), i);
        EXPECT_EQ(node->Name(), view.nodes[static_cast<size_t>(i)].text);
        const int parent = view.nodes[static_cast<size_t>(i)].parent;
        if (parent >= 0) {
            EXPECT_EQ(node->Parent(), tree->FindByIndex(parent));
        }
    }
    EXPECT_EQ(tree->FindByIndex(102), nullptr);
    EXPECT_EQ(tree->FindByIndex(-1), nullptr);
}

using TreeKeyTest = SettingsTreeTest;

TEST_F(TreeKeyTest, KeysAreTheConcatenatedNamesFromTheRoot) {
    TreeClass* node = tree->FindByKey(kNodeColourKey);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->ColourVariable(), &GeoNodeColour);
    EXPECT_EQ(node->Key(), kNodeColourKey);
    EXPECT_EQ(tree->FindByKey("Einstellung"), tree.get());
    EXPECT_EQ(tree->FindByKey(kEditorKey)->TextVariable(), &EditorProgram);
    EXPECT_EQ(tree->FindByKey(kGraphics + "ErgebnisseVerformungenTextGröße")->RealVariable(),
              &ResDeflectionTextSize);
    EXPECT_EQ(tree->FindByKey(kGraphics + "GeometrieStäbeTextGröße")->RealVariable(),
              &GeoBeamTextSize);
}

TEST_F(TreeKeyTest, KeysMatchExactlyOnly) {
    EXPECT_EQ(tree->FindByKey(""), nullptr);
    EXPECT_EQ(tree->FindByKey("EinstellungGrafikeinstellungGeometrieKnotenfarbe"), nullptr);
    EXPECT_EQ(tree->FindByKey("Einstellung Grafikeinstellung Geometrie Knoten Farbe"), nullptr);
    EXPECT_EQ(tree->FindByKey(kNodeColourKey + " "), nullptr);
    EXPECT_EQ(tree->FindByKey(kGraphics + "GeometrieKnotenGrösse"), nullptr);
    EXPECT_EQ(tree->FindByKey(kGraphics + "GeometrieKnotenGroesse"), nullptr);
    EXPECT_EQ(tree->FindByKey("Grafikeinstellung"), nullptr);
}

TEST_F(TreeKeyTest, ASharedVariableIsFoundFirstUnderKnotenlasten) {
    TreeClass* nodeLoads = tree->FindByKey(kNodeLoadLineWidthKey);
    TreeClass* zwv = tree->FindByKey(kZwvLineWidthKey);
    ASSERT_TRUE(nodeLoads && zwv);
    EXPECT_NE(nodeLoads, zwv);
    EXPECT_EQ(nodeLoads->RealVariable(), zwv->RealVariable());
}

TEST_F(TreeKeyTest, ASubtreeFindsByTheFullKey) {
    TreeClass* geometry = tree->FindByKey(kGraphics + "Geometrie");
    ASSERT_NE(geometry, nullptr);
    EXPECT_EQ(geometry->FindByKey(kNodeColourKey)->ColourVariable(), &GeoNodeColour);
    EXPECT_EQ(geometry->FindByKey("GeometrieKnotenFarbe"), nullptr);
    EXPECT_EQ(geometry->FindByKey(kEditorKey), nullptr);
}

using TreeValueTest = SettingsTreeTest;

TEST_F(TreeValueTest, SetFromTextConvertsByKind) {
    tree->FindByKey(kNodeColourKey)->SetFromText("255");
    EXPECT_EQ(GeoNodeColour, Rgb(255, 0, 0));
    tree->FindByKey(kNodeSizeKey)->SetFromText("0.0125");
    EXPECT_DOUBLE_EQ(GeoNodeSize, 0.0125);
    tree->FindByKey(kEditorKey)->SetFromText("/usr/bin/less -R");
    EXPECT_EQ(EditorProgram, "/usr/bin/less -R");
    tree->FindByKey(kTempColourKey)->SetFromText("255");
    EXPECT_EQ(LoadTempColour, 255.0);
}

TEST_F(TreeValueTest, AGroupIgnoresSetFromText) {
    tree->FindByKey(kGraphics + "GeometrieKnoten")->SetFromText("1");
    EXPECT_FALSE(tree->FindByKey(kNodeColourKey)->IsChanged());
    EXPECT_FALSE(tree->FindByKey(kNodeSizeKey)->IsChanged());
}

TEST_F(TreeValueTest, ResetAllRestoresEveryDefault) {
    TreeClass* editor = tree->FindByKey(kEditorKey);
    RecordingView view;
    tree->FillTreeView(view, view.AddNode(kViewTopLevel));
    for (int i = 0; i < 102; ++i) {
        TreeClass* node = tree->FindByIndex(i);
        if (node->Kind() != SettingKind::Group)
            node->SetFromText("17");
    }
    EXPECT_EQ(EditorProgram, "17");
    EXPECT_EQ(GeoAxesColour, 17);
    EXPECT_EQ(MarginBottom, 17.0);

    tree->ResetAll();
    for (int i = 0; i < 102; ++i)
        EXPECT_FALSE(tree->FindByIndex(i)->IsChanged()) << tree->FindByIndex(i)->Key();
    EXPECT_EQ(EditorProgram, "textor");
    EXPECT_EQ(GeoAxesColour, Rgb(255, 0, 255));
    EXPECT_EQ(MarginBottom, 5.0);
    EXPECT_EQ(editor->TextVariable(), &EditorProgram);
}

TEST_F(TreeValueTest, ResetOfASubtreeLeavesTheRestAlone) {
    GeoNodeSize = 1;
    MarginLeft = 12;
    tree->FindByKey(kGraphics)->ResetAll();
    EXPECT_EQ(GeoNodeSize, 0.005);
    EXPECT_EQ(MarginLeft, 12.0);
}

TEST(SettingConversion, ColoursReadTheLeadingDecimalInteger) {
    EXPECT_EQ(ParseColour("16711680"), 16711680);
    EXPECT_EQ(ParseColour("-1"), -1);
    EXPECT_EQ(ParseColour("+42"), 42);
    EXPECT_EQ(ParseColour("12abc"), 12);
    EXPECT_EQ(ParseColour("0x10"), 0);
    EXPECT_EQ(ParseColour("1.9"), 1);
    EXPECT_EQ(ParseColour("-"), 0);
    // Beyond 32 bits the value stays at the limit instead of wrapping.
    EXPECT_EQ(ParseColour("99999999999999999999999"), 2147483647);
    EXPECT_EQ(ParseColour("-99999999999999999999999"), -2147483647 - 1);
}

TEST(SettingConversion, RealsReadTheLeadingNumber) {
    EXPECT_EQ(ParseReal("0.004"), 0.004);
    EXPECT_EQ(ParseReal("+2.5"), 2.5);
    EXPECT_EQ(ParseReal("-1e-3"), -0.001);
    EXPECT_EQ(ParseReal(".5"), 0.5);
    EXPECT_EQ(ParseReal("7,5"), 7.0);
    EXPECT_EQ(ParseReal("3 mm"), 3.0);
    EXPECT_EQ(ParseReal("+-1"), 0.0);
    EXPECT_EQ(ParseReal("abc"), 0.0);
}

TEST(SettingConversion, NonFiniteRealsGiveZero) {
    EXPECT_EQ(ParseReal("inf"), 0.0);
    EXPECT_EQ(ParseReal("-infinity"), 0.0);
    EXPECT_EQ(ParseReal("nan"), 0.0);
    EXPECT_EQ(ParseReal("1e999"), 0.0);
}

TEST(SettingConversion, RealsAreWrittenWithSixDecimalsAndAPeriod) {
    EXPECT_EQ(FormatReal(0.004), "0.004000");
    EXPECT_EQ(FormatReal(5), "5.000000");
    EXPECT_EQ(FormatReal(0.0000004), "0.000000");
    EXPECT_EQ(FormatReal(0.0000005000001), "0.000001");
    EXPECT_EQ(FormatReal(-2.25), "-2.250000");
    EXPECT_EQ(FormatReal(1e20), "100000000000000000000.000000");
}

} // namespace
