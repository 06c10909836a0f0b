#pragma once

// Parametric grillages for the benchmarks: an N x M grid of beams (spacing,
// one cross-section type), all boundary nodes supported in z (corners also in
// Rx and Ry), a uniform distributed load on every beam; optionally a point
// load at mid-span of every beam, a bending hinge in every k-th beam, skewed
// boundary supports and one load record per beam.

struct InputModel;

struct GrillageOptions {
    int n = 0;
    int m = 0;
    double spacing = 2.5;
    bool pointLoads = false;
    int hingeEvery = 0; // 0: no hinges
    double skew = 0.0;  // degrees; not 0 also fixes Rx of the boundary nodes
    bool perBeamLoads = false;
};

// Fills the empty system and load tables of model.
void BuildGrillage(InputModel& model, const GrillageOptions& options);
