#pragma once

// Scenes of structures typed into fresh tables (the Structure of the analysis
// tests), drawn through a chosen view, and read back by pen.

#include "GraphicsTestSupport.h"
#include "analysis/AnalysisFixture.h"
#include "graphics/SceneContext.h"
#include "graphics/SceneRebuild.h"
#include "settings/SettingsTree.h"

#include <algorithm>
#include <cmath>
#include <vector>

// A view from the front: X = x − cx, Y = z. Ordinates along z (loads,
// diagrams, deflections) show as Y, positive downward as on the screen.
inline ViewMatrix FrontView() {
    ViewMatrix view;
    view.m[0][0] = 1.0;
    view.m[1][2] = 1.0;
    view.m[2][1] = -1.0;
    return view;
}

// A line record with the pen it was drawn with.
struct PenLine {
    Colour colour = 0;
    double width = 0;
    Vec2 a, b;
};

inline std::vector<PenLine> PenLines(const PaintContainer& list) {
    std::vector<PenLine> lines;
    Colour colour = -1;
    double width = -1;
    for (const DecodedRecord& r : Decode(list)) {
        if (r.kind == kPaintPenColour)
            colour = r.colour;
        else if (r.kind == kPaintPenWidth)
            width = r.width;
        else if (r.kind == kPaintLine)
            lines.push_back({colour, width, r.points[0], r.points[1]});
    }
    return lines;
}

// The lines drawn with this pen colour (and width, when given).
inline std::vector<PenLine> LinesWithPen(const PaintContainer& list, Colour colour,
                                         double width = -1) {
    std::vector<PenLine> lines;
    for (const PenLine& line : PenLines(list))
        if (line.colour == colour && (width < 0 || line.width == width))
            lines.push_back(line);
    return lines;
}

// The polygons (their points) of a list.
inline std::vector<std::vector<Vec2>> Polygons(const PaintContainer& list) {
    std::vector<std::vector<Vec2>> polygons;
    for (const DecodedRecord& r : Decode(list))
        if (r.kind == kPaintPolygon)
            polygons.push_back(r.points);
    return polygons;
}

// Texts of one height: each sets the pen width to a tenth of the height (and
// back to the pen before it, when that differs).
inline int TextCount(const PaintContainer& list, double height) {
    int count = 0;
    for (const DecodedRecord& r : Decode(list))
        count += r.kind == kPaintPenWidth && std::fabs(r.width - 0.1 * height) <= 1e-12 * height;
    return count;
}

// Every coordinate and every pen width of the list is a finite number.
inline ::testing::AssertionResult AllFinite(const PaintContainer& list) {
    int index = 0;
    for (const DecodedRecord& r : Decode(list)) {
        for (Vec2 p : r.points)
            if (!IsFinite(p))
                return ::testing::AssertionFailure() << "record " << index << " at a point";
        if (r.kind == kPaintPenWidth && !std::isfinite(r.width))
            return ::testing::AssertionFailure() << "record " << index << " has width " << r.width;
        ++index;
    }
    const SceneBox& box = list.BoundingBox();
    if (list.RecordCount() > 0 && !(std::isfinite(box.Width()) && std::isfinite(box.Height())))
        return ::testing::AssertionFailure() << "bounding box not finite";
    return ::testing::AssertionSuccess();
}

// Puts every drawing setting back to its default after a test that changed
// some. The tree is built first, while the variables hold their defaults.
class SettingsGuard {
public:
    SettingsGuard() { SettingsTree(); }
    ~SettingsGuard() { SettingsTree().ResetAll(); }
};

// Calls set(variable) for every real drawing setting (the page margins are
// no drawing settings).
template <class Set> void ForEachRealDrawingSetting(TreeClass& node, Set set) {
    if (node.Name() == "Editor und Seitenränder")
        return;
    if (double* variable = node.RealVariable())
        set(*variable);
    for (int i = 0; i < node.ChildCount(); ++i)
        ForEachRealDrawingSetting(node.Child(i), set);
}

// A window's scene of a structure: its view, its list and its options.
class SceneRun {
public:
    explicit SceneRun(const ViewMatrix& rotation = FrontView(),
                      DisplayFlags flags = ShowStructure) {
        view.Matrix() = rotation;
        options.flags = flags;
    }

    // Rebuilds with the structure's results when it has valid ones.
    void Rebuild(Structure& s) { RebuildScene(s.input, &s.solutions, options, view, list); }
    void RebuildWithoutResults(Structure& s) {
        RebuildScene(s.input, nullptr, options, view, list);
    }

    double S() const { return view.SceneSize(); }
    // A model point in scene coordinates.
    Vec2 At(double x, double y, double z = 0.0) const { return view.Project({x, y, z}); }
    // A context for drawing single scene parts with the state of the last
    // rebuild.
    SceneContext Context(Structure& s, bool withResults = true) {
        return SceneContext{list,
                            view.Matrix(),
                            S(),
                            options.textScale,
                            options.functionScale,
                            options.displacementScale,
                            options.flags,
                            s.input,
                            withResults ? &s.solutions : nullptr,
                            options.evaluationPoints};
    }

    ViewState view;
    PaintContainer list;
    SceneOptions options;
};

inline bool Near(double a, double b, double tolerance) {
    return std::fabs(a - b) <= tolerance;
}
inline bool NearPoint(Vec2 a, Vec2 b, double tolerance = 1e-9) {
    return Near(a.x, b.x, tolerance) && Near(a.y, b.y, tolerance);
}
