#pragma once

struct InputModel;
struct HingeRec;
class SolutionsCont;

// Result values at the places the protocols report them; the results protocol
// and the batch command's JSON share them.

// The section forces in protocol order, kinds 1 Q, 2 M, 3 T.
constexpr int kSectionForceKinds = 3;
// Short name of section-force kind 1, 2 or 3: "Q", "M", "T".
const char* SectionForceName(int kind);

// The element of a beam (number) at ξ and the position t on it; at a hinge
// the element that ends there.
struct BeamPoint {
    int element;
    double t;
};
BeamPoint PointOnBeam(const SolutionsCont& solutions, int beam, double xi);

double DeflectionOnBeam(const SolutionsCont& solutions, int beam, double xi);
double SectionForceOnBeam(const SolutionsCont& solutions, int beam, double xi, int kind);

// ξ of evaluation point m of a beam divided into n equal intervals.
double EvaluationPoint(long m, long n);
// The number of intervals of a beam's section-force table: intervals, at least 1.
long TableIntervals(int intervals);

// The displacement of both sides of a hinge in the component the hinge
// releases: the deflection wz for a shear hinge; for a bending or torsion hinge
// the rotation about its own release axis, the axis of its coupling rows
// (β + 90° for bending, β for torsion, β the beam's direction), so that
// sideA − sideB is the hinge's kink or twist for every beam direction. A hinge
// of an unknown type (from a hand-edited file; it divides the beam but
// releases nothing) shows the deflection wz, as its row must not vanish.
struct HingeSides {
    double sideA;
    double sideB;
};
// False for a hinge without two sides in the model.
bool HingeDisplacement(InputModel& input, const SolutionsCont& solutions, const HingeRec& hinge,
                       HingeSides& sides);
