#pragma once

#include <cstdint>

// The display flags of a graphics window (a 16-bit set): which parts of the
// scenes a rebuild draws. The comment names the toolbar hint that toggles
// the flag.
using DisplayFlags = std::uint16_t;

inline constexpr DisplayFlags ShowNodeNumbers = 0x0002;     // "Knotennummern"
inline constexpr DisplayFlags ShowTabReserved = 0x0004;     // cleared by every tab change
inline constexpr DisplayFlags ShowStructure = 0x0008;       // set by every tab
inline constexpr DisplayFlags ShowDeformation = 0x0010;     // tab "Biegelinie"
inline constexpr DisplayFlags ShowHingeNumbers = 0x0020;    // "Gelenknummern"
inline constexpr DisplayFlags ShowSupports = 0x0040;        // "Auflager"
inline constexpr DisplayFlags ShowLoads = 0x0080;           // "Belastung"
inline constexpr DisplayFlags ShowBeamNumbers = 0x0100;     // "Stabnummern"
inline constexpr DisplayFlags ShowMaterialNumbers = 0x0200; // "Materialnummern"
inline constexpr DisplayFlags ShowReactions = 0x0400;       // "Auflagerkräfte"
inline constexpr DisplayFlags ShowExtrema = 0x0800;         // "Funktionsextrema"
inline constexpr DisplayFlags ShowAxisCross = 0x1000;       // "Achsenkreuz"
inline constexpr DisplayFlags ShowValues = 0x2000;          // "Wertangaben"

// The flags of a new graphics window (0x28C8): structure, supports, loads,
// extrema and values.
inline constexpr DisplayFlags kInitialDisplayFlags =
    ShowStructure | ShowSupports | ShowLoads | ShowExtrema | ShowValues;

// The toolbar's check buttons that toggle a display flag, by their hints, in
// toolbar order.
struct DisplayToggle {
    const char* hint;
    DisplayFlags flag;
};
inline constexpr DisplayToggle kDisplayToggles[] = {
    {"Achsenkreuz", ShowAxisCross},
    {"Knotennummern", ShowNodeNumbers},
    {"Stabnummern", ShowBeamNumbers},
    {"Gelenknummern", ShowHingeNumbers},
    {"Materialnummern", ShowMaterialNumbers},
    {"Wertangaben", ShowValues},
    {"Funktionsextrema", ShowExtrema},
    {"Belastung", ShowLoads},
    {"Auflager", ShowSupports},
    {"Auflagerkräfte", ShowReactions},
};

// How the labels and the caption of a scene are laid out, besides what the
// display flags draw: two toggles of the graphics window's toolbar (on in a
// new window) that balkor-batch switches with the same names.
using LayoutFlags = std::uint8_t;

// Labels that would overlap one placed before move to a free side or are left
// out: extrema first, then end values, then the rest.
inline constexpr LayoutFlags kUntangleLabels = 0x01; // "Beschriftung entzerren"
// The view, its largest and smallest value in a corner of the picture.
inline constexpr LayoutFlags kShowLegend = 0x02; // "Legende"

inline constexpr LayoutFlags kNewWindowLayout = kUntangleLabels | kShowLegend;

struct LayoutToggle {
    const char* hint;
    LayoutFlags flag;
};
inline constexpr LayoutToggle kLayoutToggles[] = {
    {"Beschriftung entzerren", kUntangleLabels},
    {"Legende", kShowLegend},
};
