#pragma once

#include <cmath>

// When a pivot of the factorisation counts as zero, for both solvers. The
// pivot is taken after scaling the system to a largest diagonal of 1.
//
// Absolute: a pivot below this has lost everything (an equation that no
// element reaches).
inline constexpr double kAbsolutePivotLimit = 1e-40;
// Relative: a pivot that kept no more than this fraction of its equation's
// own diagonal is rounding noise of a mechanism. Stiff parts beside soft
// ones leave pivots near (soft ÷ stiff) × diagonal that are sound: a ratio of
// 1e11 still solves to five digits, so the limit lies well below it.
inline constexpr double kRelativePivotLimit = 1e-13;

// Written so that NaN counts as zero.
inline bool IsZeroPivot(double pivot, double originalDiagonal) {
    const double size = std::fabs(pivot);
    if (!(size >= kAbsolutePivotLimit))
        return true;
    return size <= kRelativePivotLimit * originalDiagonal;
}
