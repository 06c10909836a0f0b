#include "ui/ImageLines.h"

#include <cstdlib>
#include <utility>

namespace {

// `steps` + 1 pixels from `start`, each `along` further than the one before,
// shifted `across` whenever the position across the line passes a whole
// pixel. The slope is Qt's: 16 binary places, cut toward zero.
void DrawRun(std::uint32_t* start, int steps, int rise, std::ptrdiff_t along, std::ptrdiff_t across,
             std::uint32_t pixel) {
    if (steps == 0) {
        *start = pixel;
        return;
    }
    const std::int64_t slope = (static_cast<std::int64_t>(rise) << 16) / steps;
    std::int64_t position = slope > 0 ? (slope + 1) / 2 : 0;
    for (int step = 0; step <= steps; ++step, position += slope)
        start[step * along + (position >> 16) * across] = pixel;
}

} // namespace

void ImageLines::Draw(int x1, int y1, int x2, int y2, std::uint32_t pixel) const {
    if (std::abs(x2 - x1) >= std::abs(y2 - y1)) {
        if (x2 < x1) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        DrawRun(pixels_ + y1 * stride_ + x1, x2 - x1, y2 - y1, 1, stride_, pixel);
    } else {
        if (y2 < y1) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        DrawRun(pixels_ + y1 * stride_ + x1, y2 - y1, x2 - x1, stride_, 1, pixel);
    }
}
