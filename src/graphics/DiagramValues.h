#pragma once

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

// What a drawing says about the values of its diagrams: which values are
// rounding noise, where an element's diagram has its extrema, and the range
// a caption names.

// A value is rounding noise when it is at most this part of the largest value
// of its kind in the model.
inline constexpr double kNoiseFraction = 1e-9;

inline bool IsNoise(double value, double largest) {
    return !(std::abs(value) > kNoiseFraction * largest) || value == 0.0;
}

// The value as the drawing writes it: noise is 0, and 0 has no sign.
inline double Denoised(double value, double largest) {
    return IsNoise(value, largest) ? 0.0 : value;
}

// A section force whose largest value is below this is drawn flat: it is
// noise as a whole (a torsion moment of 1e-29 in a model without torsion).
inline constexpr double kFlatFunction = 1e-8;

// A section force as the drawing writes it.
inline double DenoisedSectionForce(double value, double largest) {
    return largest > kFlatFunction ? Denoised(value, largest) : 0.0;
}

// The places t in (0, 1) of the vertices of a diagram value(t) that is a
// polynomial of at most third degree in t (a section force of an element
// under point, uniform and linearly varying loads), in ascending order. A
// vertex counts when the diagram there departs from the straight line
// between its end values by more than noise against largest: a linear or
// constant diagram has none.
std::vector<double> DiagramVertices(const std::function<double(double)>& value, double largest);

// The smallest and the largest of the values included.
struct ValueRange {
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();

    bool Empty() const { return min > max; }
    void Include(double v) {
        if (v == v) {
            min = std::min(min, v);
            max = std::max(max, v);
        }
    }
};
