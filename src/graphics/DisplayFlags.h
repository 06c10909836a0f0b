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
