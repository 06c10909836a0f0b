#pragma once

#include "analysis/Matrix.h"
#include "model/Geometry.h"
#include "model/Records.h"

#include <cstdint>

struct InputModel;

// The grillage beam element: Bernoulli bending in the vertical plane through
// its axis and uniform torsion about it, between two analysis nodes.
//
// Element vectors list the start end first. Local components of an end:
// w, phiB (bending), phiT (torsion); global ones: wz, Rx, Ry.

// Index of a section force in SolElement::forces.
enum ElementForce : int { kQs = 0, kMs = 1, kTs = 2, kQe = 3, kMe = 4, kTe = 5 };

// What an element needs to know of one of its analysis nodes.
struct ElementNode {
    double x = 0.0;
    double y = 0.0;
    int32_t firstDof = 0; // degree-of-freedom index of its wz; Rx and Ry follow
};

// The analysis nodes at the two ends of an element (its startNode and endNode).
struct ElementEnds {
    ElementNode start;
    ElementNode end;
};

// The element's axis: L, the direction angle alpha, and c = cos(theta),
// s = sin(theta) of theta = alpha + pi/2, which relate local and global
// components.
struct ElementFrame {
    double length = 0.0;
    double angle = 0.0;
    double c = 0.0;
    double s = 0.0;
};

class SolElement {
public:
    double forces[6] = {};    // Qs, Ms, Ts, Qe, Me, Te, written by the evaluation
    int32_t nextElement = -1; // next element of the same beam, -1 for the last
    int32_t beamNumber = 0;   // input beam (row + 1)
    double xiStart = 0.0;     // relative position on the beam of the start
    double xiEnd = 1.0;       // relative position of the end
    int32_t startNode = 0;    // analysis node indices
    int32_t endNode = 0;

    virtual ~SolElement() = default;

    // Degree-of-freedom index of element component i = 0 ... 5.
    virtual int DofIndex(int i, const ElementEnds& ends) const;
};

// The distributed loads acting on an element, at its two ends.
struct BeamLoadSums {
    double qa = 0.0;  // transverse load per length at the start
    double qb = 0.0;  // ... at the end
    double ma = 0.0;  // torsion moment per length at the start
    double mb = 0.0;  // ... at the end
    bool any = false; // one of the four is not 0
};

ElementFrame FrameOf(const ElementEnds& ends);
// FrameOf(ends).length without the angles, for the many queries along an element.
double LengthOf(const ElementEnds& ends);

// The records the element reads: its beam and the beam's cross-section type.
// Throw BalkorError for a number below 1 (the checks exclude it).
const BeamRec& BeamOf(const SolElement& element, InputModel& input);
const MatRec& CrossSection(const SolElement& element, InputModel& input);

// Local 6 x 6 stiffness of a beam of length L.
void LocalStiffness(double L, double EI, double GIt, Matrix& K);
// K := T K T in place, T = diag(R, R); R = [[1, 0, 0], [0, -c, -s], [0, -s, c]]
// is its own inverse, so this turns local into global and back.
void TransformStiffness(Matrix& K, double c, double s);
// The same for an element 6-vector (an n x 1 matrix with n >= 6).
void TransformVector(Matrix& v, double c, double s);
// The same for the six components of one end vector.
void TransformVector(double v[6], double c, double s);

// The element stiffness in global axes (K becomes 6 x 6).
void Stiffness(const SolElement& element, const ElementEnds& ends, InputModel& input, Matrix& K);
// Whether a load record for the beams from ... to acts on the element.
bool ActsOn(int from, int to, const SolElement& element);
// Adds one distributed-load record, interpolated at xiStart and xiEnd.
void AddBeamLoad(const BeamLoadRec& record, const SolElement& element, BeamLoadSums& sums);
// Sets sums.any once all records are added.
void MarkAnyLoad(BeamLoadSums& sums);
// Sums of all valid distributed-load records whose beam range holds the
// element's beam, interpolated at xiStart and xiEnd.
BeamLoadSums SumBeamLoads(const SolElement& element, InputModel& input);
// Temperature end moment dT * E * Iy * alphaT / thickness of one record;
// 0 for dT = 0, whatever the beam's thickness.
double TemperatureMoment(const TempLoadRec& load, const MatRec& section, const BeamRec& beam);
// Adds the equivalent nodal loads in global axes to F (6 x 1; the caller
// zeroes it first when it wants the element's vector alone).
void LoadVector(const SolElement& element, const ElementEnds& ends, InputModel& input, Matrix& F);
// The steps of LoadVector on the local vector f, for a caller that gathers the
// records itself: span loads, then each temperature record's end moment in
// row order, then the balancing shears and the turn into global axes, added to F.
void AddSpanLoads(const BeamLoadSums& sums, double L, double f[6]);
void AddTemperatureMoment(double moment, double f[6]);
void FinishLoadVector(const ElementFrame& frame, double f[6], Matrix& F);

// A source of values along a beam (t relative to the beam), for drawings.
class PlotValueClass {
public:
    virtual ~PlotValueClass() = default;
    virtual double Value(double t, int component) const;
};

// A distributed-load record as values along its beams: component 0 the
// transverse load, any other the torsion moment.
class BeamLoadStruct : public PlotValueClass, public BeamLoadRec {
public:
    BeamLoadStruct() : BeamLoadRec() {}
    explicit BeamLoadStruct(const BeamLoadRec& record) : BeamLoadRec(record) {}
    double Value(double t, int component) const override;
};
