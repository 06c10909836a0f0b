#include "graphics/PageLayout.h"

#include <cmath>

namespace {

int Trunc(double value) {
    return static_cast<int>(value);
}

// The program's picture: its width is three times its height on paper.
constexpr double kPictureWidthPerHeight = 3.0;
constexpr double kPictureInsetTopMm = 1.0;
constexpr double kPictureInsetLeftMm = 3.0;
constexpr double kPictureInsetBottomMm = 1.0;
constexpr double kPictureInsetRightMm = 1.0;
constexpr double kTextGapOfPicture = 0.1; // landscape text, portrait line
constexpr double kPortraitTextGapOfPicture = 0.2;

} // namespace

bool operator==(const PageMargins& a, const PageMargins& b) {
    return a.left == b.left && a.right == b.right && a.top == b.top && a.bottom == b.bottom;
}

SheetMargins TurnWithSheet(const PageMargins& margins, bool landscape) {
    if (!landscape)
        return {margins.left, margins.top, margins.right, margins.bottom};
    return {margins.bottom, margins.left, margins.top, margins.right};
}

PageMargins TurnBack(const SheetMargins& sheet, bool landscape) {
    PageMargins margins;
    if (!landscape) {
        margins.left = sheet.left;
        margins.top = sheet.top;
        margins.right = sheet.right;
        margins.bottom = sheet.bottom;
    } else {
        margins.bottom = sheet.left;
        margins.left = sheet.top;
        margins.top = sheet.right;
        margins.right = sheet.bottom;
    }
    return margins;
}

DeviceRect PageLayout::Frame() const {
    return {left - penWidth, top - penWidth, right + penWidth, bottom + penWidth};
}

PageLayout LayOutPage(const PrinterPage& printer, const PageMargins& margins) {
    PageLayout page;
    page.px = printer.dpiX / 25.4;
    page.py = printer.dpiY / 25.4;
    page.aspect = page.py > 0 ? page.px / page.py : 1.0;
    page.penWidth = Trunc(kPrintPenWidthMm * page.px);
    page.landscape = printer.landscape;
    const SheetMargins sheet = TurnWithSheet(margins, printer.landscape);
    page.top = Trunc(page.py * sheet.top);
    page.left = Trunc(page.px * sheet.left);
    page.right = Trunc(printer.width - page.px * sheet.right);
    page.bottom = Trunc(printer.height - page.py * sheet.bottom);
    page.footerTop = Trunc(page.bottom - page.py * (printer.landscape ? kFooterHeightLandscapeMm
                                                                      : kFooterHeightPortraitMm));
    return page;
}

CellGrid LayOutCells(int n, int width, int height, double aspect) {
    CellGrid grid;
    while (grid.columns * grid.rows < n) {
        const int cw = width / grid.columns;
        const int ch = height / grid.rows;
        // Grow where the cells stay closest to square on paper.
        if (aspect * ch < cw)
            ++grid.columns;
        else
            ++grid.rows;
    }
    grid.cellWidth = width / grid.columns;
    grid.cellHeight = height / grid.rows;
    return grid;
}

DeviceRect CellRect(const CellGrid& grid, const PageLayout& page, int index, int n) {
    const int r = index / grid.columns;
    const int c = index % grid.columns;
    DeviceRect cell;
    cell.left = Trunc(c * grid.cellWidth + page.left);
    cell.top = Trunc(r * grid.cellHeight + page.top);
    cell.right = index == n - 1 ? Trunc(grid.columns * grid.cellWidth + page.left)
                                : Trunc((c + 1) * grid.cellWidth + page.left);
    cell.bottom = Trunc((r + 1) * grid.cellHeight + page.top);
    return cell;
}

DeviceRect CellClip(const DeviceRect& cell, const PageLayout& page) {
    const int dx = Trunc(page.px * kCellInsetMm);
    const int dy = Trunc(page.py * kCellInsetMm);
    return {cell.left + dx, cell.top + dy, cell.right - dx, cell.bottom - dy};
}

FooterLayout LayOutFooter(const PageLayout& page) {
    FooterLayout footer;
    footer.band = {page.left, page.FooterLineY(), page.right, page.bottom};
    const DeviceRect& band = footer.band;
    const int mid = (band.top + band.bottom) / 2;
    DeviceRect box{band.left, band.top, 0, page.landscape ? band.bottom : mid};
    box.right = Trunc(box.left + kPictureWidthPerHeight * (box.bottom - box.top) * page.aspect);
    box.top = Trunc(box.top + kPictureInsetTopMm * page.py);
    box.left = Trunc(box.left + kPictureInsetLeftMm * page.px);
    box.bottom = Trunc(box.bottom - kPictureInsetBottomMm * page.py);
    box.right = Trunc(box.right - kPictureInsetRightMm * page.px);
    footer.picture = box;
    const int pw = box.right - box.left;
    const int bandHeight = band.bottom - band.top;
    if (page.landscape) {
        footer.textHeight = Trunc(0.5 * bandHeight);
        footer.textX = Trunc(kTextGapOfPicture * pw + box.right);
        footer.lineX = footer.textX;
        footer.textTop = band.top;
    } else {
        footer.textHeight = Trunc(0.5 * (bandHeight / 2));
        footer.lineX = Trunc(kTextGapOfPicture * pw + box.right);
        footer.textX = Trunc(kPortraitTextGapOfPicture * pw + box.right);
        footer.textTop = mid;
    }
    return footer;
}

int FitPoints(int startPoints, const std::function<bool(int points)>& fits) {
    int points = startPoints;
    while (points > 0 && !fits(points))
        --points;
    return points;
}

int TextTopBetween(int top, int bottom, int textHeight) {
    return top + (bottom - top) / 2 - textHeight / 2;
}

PageMargins MarginsAfterPageSetUp(const PageMargins& program, const SheetMargins& offered,
                                  const SheetMargins& chosen, bool landscape) {
    // A page set-up keeps its margins in its own units; a hundredth of a
    // millimetre is no change.
    constexpr double kSame = 0.01;
    const auto same = [](double a, double b) { return std::abs(a - b) < kSame; };
    if (same(offered.left, chosen.left) && same(offered.top, chosen.top) &&
        same(offered.right, chosen.right) && same(offered.bottom, chosen.bottom))
        return program;
    return TurnBack(chosen, landscape);
}
