#include "protocols/ResultValues.h"

#include "analysis/SolElement.h"
#include "analysis/SolutionsCont.h"
#include "model/Tables.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kHalfPi = 1.5707963267948966;
}

const char* SectionForceName(int kind) {
    static const char* const names[] = {"Q", "M", "T"};
    return kind >= 1 && kind <= kSectionForceKinds ? names[kind - 1] : "?";
}

BeamPoint PointOnBeam(const SolutionsCont& solutions, int beam, double xi) {
    const int element = solutions.ElementAt(beam, xi);
    const SolElement& e = solutions.elements[element];
    const double span = e.xiEnd - e.xiStart;
    return {element, span > 0 ? (xi - e.xiStart) / span : 0.0};
}

double DeflectionOnBeam(const SolutionsCont& solutions, int beam, double xi) {
    BeamPoint p = PointOnBeam(solutions, beam, xi);
    return solutions.Deflection(p.element, p.t);
}

double SectionForceOnBeam(const SolutionsCont& solutions, int beam, double xi, int kind) {
    BeamPoint p = PointOnBeam(solutions, beam, xi);
    return solutions.SectionForce(p.element, p.t, kind);
}

// m × (1/n) as the tables have always been computed; n × (1/n) can fall one
// unit short of 1 but never beyond it, the clamp only guards the look-up.
double EvaluationPoint(long m, long n) {
    return std::min(1.0, m * (1.0 / n));
}

long TableIntervals(int intervals) {
    return std::max(intervals, 1);
}

bool HingeDisplacement(InputModel& input, const SolutionsCont& solutions, const HingeRec& hinge,
                       HingeSides& sides) {
    if (hinge.sideA < 0 || hinge.sideB < 0)
        return false;
    // A type outside the three (a hand-edited file) releases nothing; its
    // sides show their deflections, the first component.
    if (hinge.type != kHingeBending && hinge.type != kHingeTorsion) {
        sides = {solutions.NodeValue(hinge.sideA, kWz), solutions.NodeValue(hinge.sideB, kWz)};
        return true;
    }
    const double beta = input.beams.BeamAngle(hinge.beam);
    const double axis = hinge.type == kHingeBending ? beta + kHalfPi : beta;
    const double nx = std::cos(axis), ny = std::sin(axis);
    auto about = [&](int node) {
        return nx * solutions.NodeValue(node, kRx) + ny * solutions.NodeValue(node, kRy);
    };
    sides = {about(hinge.sideA), about(hinge.sideB)};
    return true;
}
