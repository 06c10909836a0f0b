#include "graphics/InfluencePick.h"

#include "graphics/CursorValues.h"
#include "graphics/SceneContext.h"
#include "graphics/SceneRebuild.h"
#include "model/Format.h"
#include "model/Tables.h"

#include <cmath>

// The intervals of a beam's table, as the protocols count them
// (protocols/ResultValues.h, whose BeamPoint is not the cursor's).
long TableIntervals(int intervals);

std::string InfluenceTargetAt(InputModel& input, const ViewMatrix& view, Vec2 point, double reach,
                              int tab) {
    // A node wins over the beams that meet there.
    double best = reach;
    const NodeRec* nearest = nullptr;
    ForEachValid(input.nodes, [&](const NodeRec& node) {
        const double distance = Length(point - Project(view, At(Point2{node.x, node.y})));
        if (distance <= best) {
            best = distance;
            nearest = &node;
        }
    });
    if (nearest)
        return Format("%c:node=%d", nearest->fixZ ? 'R' : 'w', NumberOf(input.nodes, *nearest));
    const std::optional<BeamPoint> at = BeamAt(input, view, point, reach);
    if (!at)
        return {};
    const char quantities[] = {'M', 'Q', 'M', 'T'}; // by section-force function
    const int function = TabFunction(tab);
    const char quantity = quantities[function >= 1 && function <= 3 ? function : 0];
    const long n = TableIntervals(input.beams.At(at->beam - 1)->intervals);
    const double xi = std::round(at->xi * static_cast<double>(n)) / static_cast<double>(n);
    return Format("%c:beam=%d:xi=%.17g", quantity, at->beam, xi);
}
