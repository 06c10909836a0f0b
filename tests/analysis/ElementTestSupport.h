#pragma once

// Building blocks of the element tests: an input model with the records an
// element reads, and elements between given points.

#include "analysis/SolElement.h"
#include "model/Tables.h"
#include "support/TableRows.h"

inline MatRec& AddSection(InputModel& input, double E, double G, double Iy, double It,
                          double alphaT = 0.0) {
    MatRec& section = AppendValid<MatRec>(input.mats);
    section.E = E;
    section.G = G;
    section.Iy = Iy;
    section.It = It;
    section.alphaT = alphaT;
    return section;
}

// A beam of the given cross-section number; the element takes its end points
// from the analysis nodes, so the beam's own nodes do not matter here.
inline BeamRec& AddBeam(InputModel& input, int section, double thickness = 0.0) {
    BeamRec& beam = AppendValid<BeamRec>(input.beams);
    beam.section = section;
    beam.thickness = thickness;
    return beam;
}

inline BeamLoadRec& AddBeamLoad(InputModel& input, int from, int to, double qStart, double qEnd,
                                double mtStart = 0.0, double mtEnd = 0.0) {
    BeamLoadRec& load = AppendValid<BeamLoadRec>(input.beamLoads);
    load.from = from;
    load.to = to;
    load.qStart = qStart;
    load.qEnd = qEnd;
    load.mtStart = mtStart;
    load.mtEnd = mtEnd;
    return load;
}

inline TempLoadRec& AddTempLoad(InputModel& input, int from, int to, double dT) {
    TempLoadRec& load = AppendValid<TempLoadRec>(input.tempLoads);
    load.from = from;
    load.to = to;
    load.dT = dT;
    return load;
}

inline ElementEnds EndsAt(double x1, double y1, double x2, double y2, int firstDofStart = 0,
                          int firstDofEnd = 3) {
    return ElementEnds{ElementNode{x1, y1, firstDofStart}, ElementNode{x2, y2, firstDofEnd}};
}

inline SolElement ElementOf(int beamNumber, double xiStart = 0.0, double xiEnd = 1.0) {
    SolElement element;
    element.beamNumber = beamNumber;
    element.xiStart = xiStart;
    element.xiEnd = xiEnd;
    return element;
}
