#pragma once

#include <cstdint>
#include <string>

// The drawing settings, the protocol editor and the page margins. Each one is a
// program-wide variable that drawing and printing code reads directly; the
// settings tree (TreeClass) only refers to them to show, edit, reset and store
// them. The comment behind each variable is its path in the settings tree.
//
// Sizes, distances and line widths are fractions of the scene's reference
// length SceneSize; colours are 0x00BBGGRR values (red in the low byte); the
// page margins are millimetres.

using Colour = std::int32_t;

// Builds a colour from its red, green and blue parts (0 to 255 each).
constexpr Colour Rgb(int red, int green, int blue) {
    return static_cast<Colour>(red | (green << 8) | (blue << 16));
}

// Name of the protocol viewer that ships with the program; the default of the
// editor setting.
inline constexpr const char* kBundledViewerName = "textor";

// Geometrie / Knoten
extern double GeoNodeLineWidth;    // Liniendicke
extern Colour GeoNodeColour;       // Farbe
extern double GeoNodeSize;         // Größe
extern double GeoNodeTextSize;     // Textgröße
extern double GeoNodeTextDistance; // Textabstand

// Geometrie / Stäbe
extern double GeoBeamLineWidth;      // Liniendicke
extern double GeoBeamLoadScale;      // Lastskalierung: length of load and reaction arrows
extern Colour GeoBeamColour;         // Farbe
extern double GeoBeamTextSize;       // TextGröße
extern double GeoBeamTextDistance;   // Textabstand
extern Colour GeoBeamTextColour;     // Textfarbe
extern double GeoMaterialTextSize;   // Materialtextgröße
extern Colour GeoMaterialTextColour; // Materialtextfarbe

// Geometrie / Auflager
extern double GeoSupportSize;          // Größe
extern double GeoSupportLineWidth;     // Liniendicke
extern Colour GeoSupportColour;        // Farbe
extern double GeoSupportArrowheadSize; // Pfeilkopfgröße

// Geometrie / Gelenke
extern Colour GeoHingeColour;       // Farbe
extern double GeoHingeSize;         // Größe
extern double GeoHingeLineWidth;    // Liniendicke
extern double GeoHingeTextDistance; // Textabstand
extern double GeoHingeTextSize;     // Textgröße

// Geometrie / Achsenkreuz
extern double GeoAxesLineWidth;     // Liniendicke
extern double GeoAxesSize;          // Größe
extern double GeoAxesArrowheadSize; // Pfeilkopfgröße
extern Colour GeoAxesColour;        // Farbe
extern double GeoAxesTextSize;      // Textgröße

// Geometrie / Federn
extern Colour GeoSpringColour;    // Farbe
extern double GeoSpringSize;      // Größe
extern double GeoSpringLineWidth; // Liniendicke

// Belastung / Knotenlasten. The four sizes below are also the ones of
// Belastung / Zwangsverformungen; node loads, constrained displacements and
// hinge loads are drawn with them.
extern Colour LoadNodeColour;              // Farbe
extern double LoadNodeArrowheadSize;       // Pfeilkopfgröße
extern double LoadNodeLineWidth;           // Liniendicke
extern double LoadNodeMomentArrowheadSize; // MomentenPfeilkopfgröße
extern double LoadNodeTextSize;            // Textgröße

// Belastung / Streckenlasten
extern Colour LoadDistributedColour;    // Farbe
extern double LoadDistributedLineWidth; // Liniendicke

// Belastung / Punktlasten
extern double LoadPointArrowheadSize;       // Pfeilkopfgröße
extern double LoadPointMomentArrowheadSize; // MomentenPfeilkopfgröße
extern double LoadPointLineWidth;           // Liniendicke
extern Colour LoadPointColour;              // Farbe

// Belastung / Temperaturlasten
extern double LoadTempDistance;     // Abstand
extern double LoadTempLineWidth;    // Liniendicke
extern double LoadTempTextDistance; // TextAbstand
extern double LoadTempTextSize;     // Textgröße
// Farbe: a real whose value, truncated toward zero, is the colour.
extern double LoadTempColour;

// Belastung / Gelenklasten
extern double LoadHingeArrowheadSize; // Pfeilkopfgröße
extern double LoadHingeLineWidth;     // Liniendicke

// Belastung / Zwangsverformungen (its sizes are the LoadNode... variables)
extern Colour LoadZwvColour; // Farbe

// Belastung / Lastabstand
extern double LoadDistance;

// Ergebnisse / Auflagerkräfte
extern Colour ResReactionColour;              // Farbe
extern double ResReactionArrowheadSize;       // Pfeilkopfgröße
extern double ResReactionLineWidth;           // Liniendicke
extern double ResReactionMomentArrowheadSize; // MomentenPfeilkopfgröße
extern double ResReactionTextSize;            // Textgröße

// Ergebnisse / Verformungen
extern double ResDeflectionLineWidth;     // Linie / Dicke
extern Colour ResDeflectionLineColour;    // Linie / Farbe
extern Colour ResDeflectionTextColour;    // Text / Farbe
extern double ResDeflectionTextDistance;  // Text / Abstand
extern double ResDeflectionTextSize;      // Text / Größe
extern double ResDeflectionNodeSize;      // Knoten / Größe
extern double ResDeflectionNodeLineWidth; // Knoten / Liniendicke
extern double ResDeflectionScale;         // Skalierung

// Ergebnisse / Funktionen
extern double ResFunctionTextSize;      // Textgröße
extern double ResFunctionTextDistance;  // Textabstand
extern double ResFunctionArrowheadSize; // Pfeilkopfgröße
extern double ResFunctionScale;         // Skalierung
extern double ResFunctionLineWidth;     // Liniendicke

// Editor und Seitenränder
extern std::string EditorProgram; // Editor für die Darstellung der Protokolle
// Seitenränder (nur für Grafikausdruck), millimetres of the sheet in portrait
extern double MarginLeft;   // Links
extern double MarginRight;  // Rechts
extern double MarginTop;    // Oben
extern double MarginBottom; // Unten
