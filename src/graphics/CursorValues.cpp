#include "graphics/CursorValues.h"

#include "analysis/SolElement.h"
#include "analysis/SolutionsCont.h"
#include "graphics/DiagramValues.h"
#include "graphics/SceneContext.h"
#include "graphics/SceneRebuild.h"
#include "model/Format.h"

#include <cmath>

std::optional<BeamPoint> BeamAt(InputModel& input, const ViewMatrix& view, Vec2 point,
                                double reach) {
    std::optional<BeamPoint> nearest;
    double best = reach;
    BeamClass& beams = input.beams;
    ForEachValid(beams, [&](const BeamRec& beam) {
        if (!beams.BeamDefined(beam))
            return;
        const Vec2 a = Project(view, At(beams.PointAt(beam, 0.0)));
        const Vec2 b = Project(view, At(beams.PointAt(beam, 1.0)));
        const Vec2 axis = b - a;
        const double length2 = axis.x * axis.x + axis.y * axis.y;
        const Vec2 d = point - a;
        const double xi =
            length2 > 0 ? std::clamp((d.x * axis.x + d.y * axis.y) / length2, 0.0, 1.0) : 0.0;
        const double distance = Length(point - (a + axis * xi));
        if (distance <= best) {
            best = distance;
            nearest = BeamPoint{NumberOf(beams, beam), xi};
        }
    });
    return nearest;
}

namespace {

struct TabValue {
    const char* symbol;
    int function; // 0: the deflection
};

std::optional<TabValue> ValueOfTab(int tab) {
    switch (tab) {
    case kTabBiegelinie:
        return TabValue{"w", 0};
    case kTabQuerkraft:
        return TabValue{"Q", 1};
    case kTabBiegemoment:
        return TabValue{"M", 2};
    case kTabTorsionsmoment:
        return TabValue{"T", 3};
    default:
        return std::nullopt;
    }
}

} // namespace

std::string CursorValueText(const SolutionsCont* results, int tab, const BeamPoint& at) {
    std::string text = Format("Stab %d  \u03be = %.4f", at.beam, at.xi);
    const std::optional<TabValue> shown = ValueOfTab(tab);
    if (!shown || !results || !results->resultsValid)
        return text;
    int element = -1;
    try {
        element = results->ElementAt(at.beam, at.xi);
    } catch (const std::exception&) {
        return text; // a beam the analysis did not divide
    }
    const SolElement& e = results->elements[element];
    const double span = e.xiEnd - e.xiStart;
    const double t = span > 0 ? std::clamp((at.xi - e.xiStart) / span, 0.0, 1.0) : 0.0;
    if (shown->function == 0) {
        const double w = Denoised(results->Deflection(element, t), results->MaxDeflection());
        return text + Format("  w = %.5g", w);
    }
    const double value = DenoisedSectionForce(results->SectionForce(element, t, shown->function),
                                              results->MaxSectionForce(shown->function));
    return text + Format("  %s = %#.4lg", shown->symbol, value);
}
