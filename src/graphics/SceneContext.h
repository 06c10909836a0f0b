#pragma once

#include "graphics/DisplayFlags.h"
#include "graphics/PaintContainer.h"
#include "graphics/SceneSettings.h"
#include "graphics/ViewTransform.h"
#include "model/Tables.h"

#include <algorithm>
#include <optional>

class SolutionsCont;

// What every part of a scene rebuild draws with: the drawing list, the view,
// SceneSize, the window's scales and display flags, the tables and, when an
// analysis succeeded, its results. The scenes read the tables and the results
// and never change them (reading a table may refresh its valid-row index).
// The drawing settings are the program-wide variables, read through
// SettingFactor.
struct SceneContext {
    PaintContainer& list;
    const ViewMatrix& view;
    double sceneSize = 0.0;         // S
    double textScale = 1.0;         // t
    double functionScale = 1.0;     // f
    double displacementScale = 1.0; // d
    DisplayFlags flags = 0;
    InputModel& input;
    const SolutionsCont* results = nullptr; // null without valid results
    int evaluationPoints = 10;              // n of the section-force diagrams

    bool Shows(DisplayFlags flag) const { return (flags & flag) != 0; }
    // A size, width or distance setting in scene units.
    double Size(double setting) const { return sceneSize * SettingFactor(setting); }
    Vec2 ToScene(Vec3 p) const { return Project(view, p); }
    Vec2 ToScene(Point2 p, double z) const { return Project(view, {p.x, p.y, z}); }

    // The largest deflection of the results (MaxDeflection), computed once
    // per rebuild for the load and the result scenes.
    double MaxDeflection() const;
    mutable std::optional<double> maxDeflectionCache = {};
};

// A point of the model plane at height z.
inline Vec3 At(Point2 p, double z = 0.0) {
    return {p.x, p.y, z};
}

// Calls visit(record) for every valid row of a table, in row order.
template <class Rec, class Visit> void ForEachValid(RecordTable<Rec>& table, Visit visit) {
    const int count = table.ValidCount();
    for (int k = 0; k < count; ++k)
        visit(*table.ValidRow(k));
}

// Calls visit(number, record) for every number from `from` to `to` (a
// "von"–"bis" range of a load record) that names a valid row of the table.
// Only rows that exist are visited, however wide the range.
template <class Rec, class Visit>
void ForEachInRange(RecordTable<Rec>& table, long long from, long long to, Visit visit) {
    const long long first = std::max(from, 1LL);
    const long long last = std::min<long long>(to, table.Count());
    for (long long number = first; number <= last; ++number)
        if (Rec* record = table.Existing(number))
            visit(static_cast<int>(number), *record);
}

// The number (row + 1) of a record of the table.
template <class Rec> int NumberOf(RecordTable<Rec>& table, const Rec& record) {
    return table.IndexOf(&record) + 1;
}

// Where a hinge symbol stands on its beam: the margin k × size ÷ length and
// the position, kept a margin away from the beam ends and then limited to the
// beam. Empty for a beam without length (the margin would divide by it), a
// margin or position that is not a finite number.
struct HingePlace {
    double xi = 0.0;
    double margin = 0.0;
};
std::optional<HingePlace> HingeSymbolPlace(double pos, double k, double size, double beamLength);
