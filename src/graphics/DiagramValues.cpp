#include "graphics/DiagramValues.h"

#include <cmath>

namespace {

// The roots of a u² + b u + c in the open interval (low, high).
std::vector<double> QuadraticRootsIn(double a, double b, double c, double low, double high) {
    std::vector<double> roots;
    if (a == 0.0) {
        if (b != 0.0)
            roots.push_back(-c / b);
    } else {
        const double discriminant = b * b - 4 * a * c;
        if (discriminant > 0) {
            // The form without cancellation for the smaller root.
            const double q = -0.5 * (b + std::copysign(std::sqrt(discriminant), b));
            roots.push_back(q / a);
            if (q != 0.0)
                roots.push_back(c / q);
        }
    }
    std::erase_if(roots, [&](double u) { return !(u > low && u < high); });
    std::sort(roots.begin(), roots.end());
    return roots;
}

} // namespace

std::vector<double> DiagramVertices(const std::function<double(double)>& value, double largest) {
    // The cubic through t = 0, 1/3, 2/3, 1 in u = 3t (Newton's differences);
    // its derivative in u is A u² + B u + C.
    const double f0 = value(0.0), f1 = value(1.0 / 3), f2 = value(2.0 / 3), f3 = value(1.0);
    const double d1 = f1 - f0, d2 = f2 - 2 * f1 + f0, d3 = f3 - 3 * f2 + 3 * f1 - f0;
    const double A = d3 / 2, B = d2 - d3, C = d1 - d2 / 2 + d3 / 3;
    std::vector<double> vertices;
    for (const double u : QuadraticRootsIn(A, B, C, 0.0, 3.0)) {
        const double t = u / 3;
        const double chord = (1 - t) * f0 + t * f3;
        if (!IsNoise(value(t) - chord, largest))
            vertices.push_back(t);
    }
    return vertices;
}
