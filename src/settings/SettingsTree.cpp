#include "settings/SettingsTree.h"

namespace {

std::unique_ptr<TreeClass> GeometryGroup() {
    return Group(
        "Geometrie",
        Group("Knoten", Setting("Liniendicke", GeoNodeLineWidth), Setting("Farbe", GeoNodeColour),
              Setting("Größe", GeoNodeSize), Setting("Textgröße", GeoNodeTextSize),
              Setting("Textabstand", GeoNodeTextDistance)),
        Group("Stäbe", Setting("Liniendicke", GeoBeamLineWidth),
              Setting("Lastskalierung", GeoBeamLoadScale), Setting("Farbe", GeoBeamColour),
              Setting("TextGröße", GeoBeamTextSize), Setting("Textabstand", GeoBeamTextDistance),
              Setting("Textfarbe", GeoBeamTextColour),
              Setting("Materialtextgröße", GeoMaterialTextSize),
              Setting("Materialtextfarbe", GeoMaterialTextColour)),
        Group("Auflager", Setting("Größe", GeoSupportSize),
              Setting("Liniendicke", GeoSupportLineWidth), Setting("Farbe", GeoSupportColour),
              Setting("Pfeilkopfgröße", GeoSupportArrowheadSize)),
        Group("Gelenke", Setting("Farbe", GeoHingeColour), Setting("Größe", GeoHingeSize),
              Setting("Liniendicke", GeoHingeLineWidth),
              Setting("Textabstand", GeoHingeTextDistance), Setting("Textgröße", GeoHingeTextSize)),
        Group("Achsenkreuz", Setting("Liniendicke", GeoAxesLineWidth),
              Setting("Größe", GeoAxesSize), Setting("Pfeilkopfgröße", GeoAxesArrowheadSize),
              Setting("Farbe", GeoAxesColour), Setting("Textgröße", GeoAxesTextSize)),
        Group("Federn", Setting("Farbe", GeoSpringColour), Setting("Größe", GeoSpringSize),
              Setting("Liniendicke", GeoSpringLineWidth)));
}

// Node loads and constrained displacements share their sizes: two nodes,
// one variable each.
std::unique_ptr<TreeClass> LoadGroup() {
    return Group("Belastung",
                 Group("Knotenlasten", Setting("Farbe", LoadNodeColour),
                       Setting("Pfeilkopfgröße", LoadNodeArrowheadSize),
                       Setting("Liniendicke", LoadNodeLineWidth),
                       Setting("MomentenPfeilkopfgröße", LoadNodeMomentArrowheadSize),
                       Setting("Textgröße", LoadNodeTextSize)),
                 Group("Streckenlasten", Setting("Farbe", LoadDistributedColour),
                       Setting("Liniendicke", LoadDistributedLineWidth)),
                 Group("Punktlasten", Setting("Pfeilkopfgröße", LoadPointArrowheadSize),
                       Setting("MomentenPfeilkopfgröße", LoadPointMomentArrowheadSize),
                       Setting("Liniendicke", LoadPointLineWidth),
                       Setting("Farbe", LoadPointColour)),
                 Group("Temperaturlasten", Setting("Abstand", LoadTempDistance),
                       Setting("Liniendicke", LoadTempLineWidth),
                       Setting("TextAbstand", LoadTempTextDistance),
                       Setting("Textgröße", LoadTempTextSize), Setting("Farbe", LoadTempColour)),
                 Group("Gelenklasten", Setting("Pfeilkopfgröße", LoadHingeArrowheadSize),
                       Setting("Liniendicke", LoadHingeLineWidth)),
                 Group("Zwangsverformungen", Setting("Farbe", LoadZwvColour),
                       Setting("Pfeilkopfgröße", LoadNodeArrowheadSize),
                       Setting("Liniendicke", LoadNodeLineWidth),
                       Setting("MomentenPfeilkopfgröße", LoadNodeMomentArrowheadSize),
                       Setting("Textgröße", LoadNodeTextSize)),
                 Setting("Lastabstand", LoadDistance));
}

std::unique_ptr<TreeClass> ResultsGroup() {
    return Group("Ergebnisse",
                 Group("Auflagerkräfte", Setting("Farbe", ResReactionColour),
                       Setting("Pfeilkopfgröße", ResReactionArrowheadSize),
                       Setting("Liniendicke", ResReactionLineWidth),
                       Setting("MomentenPfeilkopfgröße", ResReactionMomentArrowheadSize),
                       Setting("Textgröße", ResReactionTextSize)),
                 Group("Verformungen",
                       Group("Linie", Setting("Dicke", ResDeflectionLineWidth),
                             Setting("Farbe", ResDeflectionLineColour)),
                       Group("Text", Setting("Farbe", ResDeflectionTextColour),
                             Setting("Abstand", ResDeflectionTextDistance),
                             Setting("Größe", ResDeflectionTextSize)),
                       Group("Knoten", Setting("Größe", ResDeflectionNodeSize),
                             Setting("Liniendicke", ResDeflectionNodeLineWidth)),
                       Setting("Skalierung", ResDeflectionScale)),
                 Group("Funktionen", Setting("Textgröße", ResFunctionTextSize),
                       Setting("Textabstand", ResFunctionTextDistance),
                       Setting("Pfeilkopfgröße", ResFunctionArrowheadSize),
                       Setting("Skalierung", ResFunctionScale),
                       Setting("Liniendicke", ResFunctionLineWidth)));
}

std::unique_ptr<TreeClass> EditorAndMarginsGroup() {
    return Group("Editor und Seitenränder",
                 Setting("Editor für die Darstellung der Protokolle", EditorProgram),
                 Group("Seitenränder (nur für Grafikausdruck)", Setting("Links", MarginLeft),
                       Setting("Rechts", MarginRight), Setting("Oben", MarginTop),
                       Setting("Unten", MarginBottom)));
}

} // namespace

std::unique_ptr<TreeClass> BuildSettingsTree() {
    return Group("Einstellung",
                 Group("Grafikeinstellung", GeometryGroup(), LoadGroup(), ResultsGroup()),
                 EditorAndMarginsGroup());
}

TreeClass& SettingsTree() {
    static const std::unique_ptr<TreeClass> tree = BuildSettingsTree();
    return *tree;
}
