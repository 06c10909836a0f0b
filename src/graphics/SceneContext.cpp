#include "graphics/SceneContext.h"

#include "analysis/SolutionsCont.h"

#include <cmath>

double SceneContext::MaxDeflection() const {
    if (!maxDeflectionCache)
        maxDeflectionCache = results ? results->MaxDeflection() : 0.0;
    return *maxDeflectionCache;
}

std::optional<HingePlace> HingeSymbolPlace(double pos, double k, double size, double beamLength) {
    if (!(beamLength > 0) || !std::isfinite(pos))
        return std::nullopt;
    const double margin = k * size / beamLength;
    if (!std::isfinite(margin))
        return std::nullopt;
    const double xi = std::min(std::max(pos, margin), 1.0 - margin);
    return HingePlace{std::clamp(xi, 0.0, 1.0), margin};
}
