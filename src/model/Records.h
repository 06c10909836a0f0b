#pragma once

#include <cstdint>

// The input records. Every record begins with flag and slot; the fields after
// them are in their stored order. Working fields of the analysis (calcNode,
// firstElement, sideA, sideB, loadNode) are never written to a file.

struct NodeRec {
    int32_t flag;
    int32_t slot;
    double x;
    double y;
    int32_t fixZ;
    int32_t fixRx;
    int32_t fixRy;
    double skew; // degrees
    int32_t calcNode;
};

struct BeamRec {
    int32_t flag;
    int32_t slot;
    int32_t start;
    int32_t end;
    int32_t section;
    int32_t intervals;
    double thickness;
    int32_t firstElement;
};

struct MatRec {
    int32_t flag;
    int32_t slot;
    double E;
    double G;
    double It;
    double Iy;
    double alphaT;
};

// Hinge types: which internal force the hinge releases.
enum HingeType : int32_t { kHingeShear = 0, kHingeBending = 1, kHingeTorsion = 2 };

struct HingeRec {
    int32_t flag;
    int32_t slot;
    int32_t beam;
    double pos;
    int32_t type;
    int32_t sideA;
    int32_t sideB;
};

// An elastic support of the nodes from ... to: the stiffness of a spring in
// the deflection wz and about the node's first and second support axis
// (turned by the node's skew like the rotational supports).
struct SpringRec {
    int32_t flag;
    int32_t slot;
    int32_t from;
    int32_t to;
    double kz;
    double kRx;
    double kRy;
};

struct NodeLoadRec {
    int32_t flag;
    int32_t slot;
    int32_t from;
    int32_t to;
    double Fz;
    double Mx;
    double My;
};

struct BeamLoadRec {
    int32_t flag;
    int32_t slot;
    int32_t from;
    int32_t to;
    double qStart;
    double qEnd;
    double mtStart;
    double mtEnd;
};

struct PointLoadRec {
    int32_t flag;
    int32_t slot;
    int32_t beam;
    double pos;
    double Q;
    double Mb;
    double Mt;
    int32_t loadNode;
};

struct ZwvRec {
    int32_t flag;
    int32_t slot;
    int32_t from;
    int32_t to;
    double w;
    double rx;
    double ry;
};

struct TempLoadRec {
    int32_t flag;
    int32_t slot;
    int32_t from;
    int32_t to;
    double dT;
};

// Hinge-load kinds.
enum HingeLoadKind : int32_t { kHingeLoadForce = 0, kHingeLoadDeformation = 1 };

struct HingeLoadRec {
    int32_t flag;
    int32_t slot;
    int32_t hinge;
    int32_t kind;
    double value;
};
