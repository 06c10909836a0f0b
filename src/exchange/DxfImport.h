#pragma once

#include "model/Records.h"

#include <string>
#include <vector>

struct InputModel;

// A grid from a CAD drawing: the LINE, LWPOLYLINE and POLYLINE entities of a
// DXF file (read with dxflib) become the beams of a new system. Two steps, so
// that the desktop dialog can show the drawing's layers before the system is
// made: ReadDxfDrawing reads the lines, BuildGrid merges their end points
// into nodes (and splits them where they cross, on request), ApplyGrid puts
// the grid into the system tables. Nothing is changed before ApplyGrid.

struct DxfPoint {
    double x = 0.0;
    double y = 0.0;
};

struct DxfSegment {
    DxfPoint a;
    DxfPoint b;
    int layer = 0; // index into DxfDrawing::layers
};

struct DxfDrawing {
    std::vector<std::string> layers; // the layers with lines, in the order of their first line
    std::vector<DxfSegment> segments;
    std::vector<std::string> warnings;

    // The diagonal of the box around all end points.
    double Extent() const;
};

// Files larger than this are refused before they are read.
inline constexpr long long kMaxDxfBytes = 256ll * 1024 * 1024;

// Reads the lines of the model space (entities inside block definitions and
// block references are left out, with a warning; arcs of polylines become
// their chords). The drawing must lie in one plane z = constant; one other
// than 0 is taken as 0 with a warning. False with a German message for a file
// that cannot be read, a drawing without lines and a 3-D drawing.
bool ReadDxfDrawing(const std::string& path, DxfDrawing& drawing, std::string& error);

// The cross-section type of a layer's beams: an existing type of the system
// (number > 0) or a new one with these values.
struct LayerSection {
    int typeNumber = 0;
    double E = 3.4e7;
    double G = 1.42e7;
    double Iy = 0.4;
    double It = 0.02;
    double alphaT = 1e-5;
};

struct GridOptions {
    // End points closer than this are one node; 0: 0.001 of the drawing's extent.
    double tolerance = 0.0;
    // Lines that cross (or end on another line) are divided there.
    bool splitAtCrossings = false;
    // Per layer of the drawing; a layer without an entry gets the first new type.
    std::vector<LayerSection> sections;
    int intervals = 5;
};

// The default tolerance of a drawing: 0.001 of its extent.
double DefaultTolerance(const DxfDrawing& drawing);

struct GridBeam {
    int start = 0; // node numbers from 1
    int end = 0;
    int layer = 0;
};

struct ImportedGrid {
    std::vector<DxfPoint> nodes;
    std::vector<GridBeam> beams;
    std::vector<LayerSection> layerSections; // one per layer of the drawing
    int intervals = 5;
    double tolerance = 0.0;
    std::vector<std::string> warnings; // the drawing's and the merging's
};

// Merges and numbers: nodes in the order the drawing first reaches them,
// beams in the order of its lines. Lines shorter than the tolerance and
// repeated lines are left out with a warning. False with a German message
// for a tolerance that is not a positive number and when no beam is left.
bool BuildGrid(const DxfDrawing& drawing, const GridOptions& options, ImportedGrid& grid,
               std::string& error);

// Empty when every layer's type number names a valid row of types (as
// CurrentTypes gives them); else the German message of the first that does not.
std::string CheckLayerSections(const ImportedGrid& grid, const DxfDrawing& drawing,
                               const std::vector<MatRec>& types);

// The rows of the model's cross-section table, to be kept by ApplyGrid: a
// desktop import replaces the system after asking to save it, and the layers
// may name the types it had.
std::vector<MatRec> CurrentTypes(InputModel& model);

// Replaces the model's system by the grid. The cross-section table starts
// with types (the rows of CurrentTypes, gaps included); the new types of the
// layers follow, one per distinct set of values. No supports, no hinges, no
// springs. Tells the tables' observer that the system changed.
void ApplyGrid(const ImportedGrid& grid, const std::vector<MatRec>& types, InputModel& model);
