#pragma once

#include <cfloat>
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
// Noise: the rounding of an equation's elimination is of the order of the
// machine precision times the largest diagonal of the equations it is
// coupled with in the factor (those that update it). The pivot of a
// mechanism is that rounding, however small or large the equation's own
// diagonal is: a rigid body whose torsion is 1e6 times stiffer than its
// bending leaves a pivot of 1e-10 of its own diagonal but of 1e-16 of the
// coupled torsion diagonal, while a sound cantilever whose tip is 1e11
// times stiffer than its root keeps 1e-11 of both. A sound pivot within 64
// rounding units of the noise would keep fewer than two correct digits.
inline constexpr double kNoisePivotLimit = 64 * DBL_EPSILON;

// Written so that NaN counts as zero. coupledDiagonal: the largest original
// diagonal of the equations that update this one (at least its own).
inline bool IsZeroPivot(double pivot, double originalDiagonal, double coupledDiagonal) {
    const double size = std::fabs(pivot);
    if (!(size >= kAbsolutePivotLimit))
        return true;
    return size <= kRelativePivotLimit * originalDiagonal ||
           size <= kNoisePivotLimit * coupledDiagonal;
}
