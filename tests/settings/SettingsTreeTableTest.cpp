#include "SettingsTestSupport.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

struct Row {
    SettingKind kind;
    std::string path; // names from the root, joined by " / "
    SettingValue value;
};

Row G(std::string path) {
    return {SettingKind::Group, std::move(path), std::monostate()};
}
Row R(std::string path, double value) {
    return {SettingKind::Real, std::move(path), value};
}
Row C(std::string path, int r, int g, int b) {
    return {SettingKind::Colour, std::move(path), Rgb(r, g, b)};
}
Row T(std::string path, std::string value) {
    return {SettingKind::Text, std::move(path), std::move(value)};
}

const std::string E = "Einstellung / ";
const std::string Geo = "Einstellung / Grafikeinstellung / Geometrie / ";
const std::string Load = "Einstellung / Grafikeinstellung / Belastung / ";
const std::string Res = "Einstellung / Grafikeinstellung / Ergebnisse / ";
const std::string Mar =
    "Einstellung / Editor und Seitenränder / Seitenränder (nur für Grafikausdruck)";

// The whole tree, depth first, with every default.
const std::vector<Row> kExpectedTree = {
    G("Einstellung"),
    G(E + "Grafikeinstellung"),
    G(E + "Grafikeinstellung / Geometrie"),
    G(Geo + "Knoten"),
    R(Geo + "Knoten / Liniendicke", 0.003),
    C(Geo + "Knoten / Farbe", 0, 128, 0),
    R(Geo + "Knoten / Größe", 0.005),
    R(Geo + "Knoten / Textgröße", 0.018),
    R(Geo + "Knoten / Textabstand", 0.004),
    G(Geo + "Stäbe"),
    R(Geo + "Stäbe / Liniendicke", 0.002),
    R(Geo + "Stäbe / Lastskalierung", 0.1),
    C(Geo + "Stäbe / Farbe", 128, 128, 128),
    R(Geo + "Stäbe / TextGröße", 0.018),
    R(Geo + "Stäbe / Textabstand", 0.008),
    C(Geo + "Stäbe / Textfarbe", 0, 0, 0),
    R(Geo + "Stäbe / Materialtextgröße", 0.018),
    C(Geo + "Stäbe / Materialtextfarbe", 0, 0, 0),
    G(Geo + "Auflager"),
    R(Geo + "Auflager / Größe", 0.07),
    R(Geo + "Auflager / Liniendicke", 0.0035),
    C(Geo + "Auflager / Farbe", 0, 128, 0),
    R(Geo + "Auflager / Pfeilkopfgröße", 0.03),
    G(Geo + "Gelenke"),
    C(Geo + "Gelenke / Farbe", 0, 0, 0),
    R(Geo + "Gelenke / Größe", 0.015),
    R(Geo + "Gelenke / Liniendicke", 0.0015),
    R(Geo + "Gelenke / Textabstand", 0.007),
    R(Geo + "Gelenke / Textgröße", 0.018),
    G(Geo + "Achsenkreuz"),
    R(Geo + "Achsenkreuz / Liniendicke", 0.004),
    R(Geo + "Achsenkreuz / Größe", 0.15),
    R(Geo + "Achsenkreuz / Pfeilkopfgröße", 0.02),
    C(Geo + "Achsenkreuz / Farbe", 255, 0, 255),
    R(Geo + "Achsenkreuz / Textgröße", 0.02),
    G(Geo + "Federn"),
    C(Geo + "Federn / Farbe", 0, 128, 128),
    R(Geo + "Federn / Größe", 0.05),
    R(Geo + "Federn / Liniendicke", 0.002),
    G(E + "Grafikeinstellung / Belastung"),
    G(Load + "Knotenlasten"),
    C(Load + "Knotenlasten / Farbe", 0, 0, 255),
    R(Load + "Knotenlasten / Pfeilkopfgröße", 0.02),
    R(Load + "Knotenlasten / Liniendicke", 0.003),
    R(Load + "Knotenlasten / MomentenPfeilkopfgröße", 0.05),
    R(Load + "Knotenlasten / Textgröße", 0.02),
    G(Load + "Streckenlasten"),
    C(Load + "Streckenlasten / Farbe", 0, 0, 255),
    R(Load + "Streckenlasten / Liniendicke", 0.0007),
    G(Load + "Punktlasten"),
    R(Load + "Punktlasten / Pfeilkopfgröße", 0.02),
    R(Load + "Punktlasten / MomentenPfeilkopfgröße", 0.05),
    R(Load + "Punktlasten / Liniendicke", 0.0015),
    C(Load + "Punktlasten / Farbe", 0, 0, 255),
    G(Load + "Temperaturlasten"),
    R(Load + "Temperaturlasten / Abstand", 0.01),
    R(Load + "Temperaturlasten / Liniendicke", 0.005),
    R(Load + "Temperaturlasten / TextAbstand", 0.02),
    R(Load + "Temperaturlasten / Textgröße", 0.02),
    R(Load + "Temperaturlasten / Farbe", 0),
    G(Load + "Gelenklasten"),
    R(Load + "Gelenklasten / Pfeilkopfgröße", 0.1),
    R(Load + "Gelenklasten / Liniendicke", 0.003),
    G(Load + "Zwangsverformungen"),
    C(Load + "Zwangsverformungen / Farbe", 255, 0, 0),
    R(Load + "Zwangsverformungen / Pfeilkopfgröße", 0.02),
    R(Load + "Zwangsverformungen / Liniendicke", 0.003),
    R(Load + "Zwangsverformungen / MomentenPfeilkopfgröße", 0.05),
    R(Load + "Zwangsverformungen / Textgröße", 0.02),
    R(Load + "Lastabstand", 0.02),
    G(E + "Grafikeinstellung / Ergebnisse"),
    G(Res + "Auflagerkräfte"),
    C(Res + "Auflagerkräfte / Farbe", 0, 0, 0),
    R(Res + "Auflagerkräfte / Pfeilkopfgröße", 0.02),
    R(Res + "Auflagerkräfte / Liniendicke", 0.004),
    R(Res + "Auflagerkräfte / MomentenPfeilkopfgröße", 0.05),
    R(Res + "Auflagerkräfte / Textgröße", 0.02),
    G(Res + "Verformungen"),
    G(Res + "Verformungen / Linie"),
    R(Res + "Verformungen / Linie / Dicke", 0.001),
    C(Res + "Verformungen / Linie / Farbe", 255, 0, 0),
    G(Res + "Verformungen / Text"),
    C(Res + "Verformungen / Text / Farbe", 0, 0, 0),
    R(Res + "Verformungen / Text / Abstand", 0.002),
    R(Res + "Verformungen / Text / Größe", 0.01),
    G(Res + "Verformungen / Knoten"),
    R(Res + "Verformungen / Knoten / Größe", 0.004),
    R(Res + "Verformungen / Knoten / Liniendicke", 0.001),
    R(Res + "Verformungen / Skalierung", 0.2),
    G(Res + "Funktionen"),
    R(Res + "Funktionen / Textgröße", 0.01),
    R(Res + "Funktionen / Textabstand", 0.001),
    R(Res + "Funktionen / Pfeilkopfgröße", 0.02),
    R(Res + "Funktionen / Skalierung", 0.16),
    R(Res + "Funktionen / Liniendicke", 0.001),
    G(E + "Editor und Seitenränder"),
    T(E + "Editor und Seitenränder / Editor für die Darstellung der Protokolle", "textor"),
    G(Mar),
    R(Mar + " / Links", 5),
    R(Mar + " / Rechts", 5),
    R(Mar + " / Oben", 5),
    R(Mar + " / Unten", 5)};

void Walk(const TreeClass& node, const std::string& prefix, std::vector<const TreeClass*>& nodes,
          std::vector<std::string>& paths) {
    const std::string path = prefix.empty() ? node.Name() : prefix + " / " + node.Name();
    nodes.push_back(&node);
    paths.push_back(path);
    for (int i = 0; i < node.ChildCount(); ++i)
        Walk(node.Child(i), path, nodes, paths);
}

SettingValue CurrentValue(const TreeClass& node) {
    if (node.RealVariable())
        return *node.RealVariable();
    if (node.ColourVariable())
        return *node.ColourVariable();
    if (node.TextVariable())
        return *node.TextVariable();
    return std::monostate();
}

const char* KindName(SettingKind kind) {
    switch (kind) {
    case SettingKind::Group:
        return "group";
    case SettingKind::Real:
        return "real";
    case SettingKind::Colour:
        return "colour";
    case SettingKind::Text:
        return "text";
    }
    return "?";
}

using SettingsTreeTableTest = SettingsTreeTest;

TEST_F(SettingsTreeTableTest, TreeOrderNamesKindsAndDefaultsFollowTheTable) {
    std::vector<const TreeClass*> nodes;
    std::vector<std::string> paths;
    Walk(*tree, "", nodes, paths);
    ASSERT_EQ(nodes.size(), kExpectedTree.size());
    for (size_t i = 0; i < nodes.size(); ++i) {
        SCOPED_TRACE("node " + std::to_string(i) + ": " + kExpectedTree[i].path);
        EXPECT_EQ(paths[i], kExpectedTree[i].path);
        EXPECT_STREQ(KindName(nodes[i]->Kind()), KindName(kExpectedTree[i].kind));
        EXPECT_EQ(nodes[i]->DefaultValue(), kExpectedTree[i].value);
        EXPECT_EQ(CurrentValue(*nodes[i]), kExpectedTree[i].value);
        EXPECT_EQ(nodes[i]->ViewIndex(), -1);
    }
}

TEST_F(SettingsTreeTableTest, ColoursHaveRedInTheLowByte) {
    EXPECT_EQ(Rgb(0, 128, 0), 32768);
    EXPECT_EQ(Rgb(128, 128, 128), 8421504);
    EXPECT_EQ(Rgb(255, 0, 255), 16711935);
    EXPECT_EQ(Rgb(0, 0, 255), 16711680);
    EXPECT_EQ(Rgb(255, 0, 0), 255);
}

TEST_F(SettingsTreeTableTest, NodeLoadsAndConstrainedDisplacementsShareTheirSizesOnly) {
    TreeClass* nodeLoads = tree->FindByKey(kGraphics + "BelastungKnotenlasten");
    TreeClass* zwv = tree->FindByKey(kGraphics + "BelastungZwangsverformungen");
    ASSERT_TRUE(nodeLoads && zwv);
    ASSERT_EQ(nodeLoads->ChildCount(), 5);
    ASSERT_EQ(zwv->ChildCount(), 5);
    EXPECT_NE(nodeLoads->Child(0).ColourVariable(), zwv->Child(0).ColourVariable());
    for (int i = 1; i < 5; ++i) {
        EXPECT_EQ(nodeLoads->Child(i).Name(), zwv->Child(i).Name());
        EXPECT_EQ(nodeLoads->Child(i).RealVariable(), zwv->Child(i).RealVariable());
    }
    // Every other leaf has a variable of its own.
    std::vector<const TreeClass*> nodes;
    std::vector<std::string> paths;
    Walk(*tree, "", nodes, paths);
    std::vector<const void*> variables;
    for (const TreeClass* node : nodes) {
        if (node->RealVariable())
            variables.push_back(node->RealVariable());
        else if (node->ColourVariable())
            variables.push_back(node->ColourVariable());
        else if (node->TextVariable())
            variables.push_back(node->TextVariable());
    }
    std::sort(variables.begin(), variables.end());
    const auto distinct = std::unique(variables.begin(), variables.end()) - variables.begin();
    EXPECT_EQ(variables.size(), 77u);
    EXPECT_EQ(distinct, 73);
}

} // namespace
