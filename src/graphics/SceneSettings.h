#pragma once

#include "settings/SettingsVariables.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

// How the scenes read the values that come from the user: the real drawing
// settings (the settings dialog stores whatever was typed) and the window's
// scale spin edits. Whatever they hold, a drawing stays finite and readable.

// A real drawing setting (a size, width, distance or scale as a fraction of
// SceneSize, or a scale factor) counts by its magnitude, limited to
// kMaxSettingFactor; a value that is not a finite number counts as 0, so the
// element it sizes collapses (and a text or a line of size 0 shows nothing).
inline constexpr double kMaxSettingFactor = 1000.0;
inline double SettingFactor(double setting) {
    if (!std::isfinite(setting))
        return 0.0;
    return std::min(std::fabs(setting), kMaxSettingFactor);
}

// A colour kept in a real setting (Belastung / Temperaturlasten / Farbe): the
// value truncated toward zero; values outside 0 … 0xFFFFFF, and values that
// are not finite numbers, are limited to that range (NaN counts as 0, black).
inline Colour SettingColour(double setting) {
    if (!(setting > 0))
        return 0;
    return static_cast<Colour>(std::min(std::trunc(setting), double(0xFFFFFF)));
}

// The window's text, function and displacement scales (spin edit ÷ 100): the
// spin edits reach ±100000 %, so a scale is limited to ±kMaxWindowScale; a
// value that is not a finite number counts as 1 (100 %).
inline constexpr double kMaxWindowScale = 1000.0;
inline double WindowScale(double scale) {
    if (!std::isfinite(scale))
        return 1.0;
    return std::clamp(scale, -kMaxWindowScale, kMaxWindowScale);
}

// length ÷ largest value: the scale that draws the largest value `length`
// long. A quotient beyond the range of doubles (a largest value near the
// smallest doubles) is limited to the largest finite double, so that
// scale × value stays finite for every |value| ≤ largest.
inline double ScaleFor(double length, double largest) {
    const double scale = length / largest;
    if (std::isfinite(scale))
        return scale;
    return std::isnan(scale) ? 0.0 : std::copysign(DBL_MAX, scale);
}
