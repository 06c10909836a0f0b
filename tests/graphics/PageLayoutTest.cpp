#include "graphics/PageLayout.h"

#include <gtest/gtest.h>

namespace {

// A printer of 254 dots per inch: ten pixels to the millimetre.
PrinterPage A4At254(bool landscape = false) {
    PrinterPage page;
    page.width = landscape ? 2970 : 2100;
    page.height = landscape ? 2100 : 2970;
    page.dpiX = page.dpiY = 254.0;
    page.landscape = landscape;
    return page;
}

void ExpectRect(const DeviceRect& rect, int left, int top, int right, int bottom) {
    EXPECT_EQ(rect.left, left);
    EXPECT_EQ(rect.top, top);
    EXPECT_EQ(rect.right, right);
    EXPECT_EQ(rect.bottom, bottom);
}

} // namespace

// Ten pixels to the millimetre, 5 mm margins: the printable area, the footer
// 15 mm above the bottom, the pen half a millimetre, the frame outside the
// area by the pen and the footer line a pen below the footer's top.
TEST(PageLayout, PortraitPage) {
    const PageLayout page = LayOutPage(A4At254(), PageMargins{});
    EXPECT_EQ(page.px, 10.0);
    EXPECT_EQ(page.aspect, 1.0);
    EXPECT_EQ(page.penWidth, 5);
    EXPECT_EQ(page.left, 50);
    EXPECT_EQ(page.top, 50);
    EXPECT_EQ(page.right, 2050);
    EXPECT_EQ(page.bottom, 2920);
    EXPECT_EQ(page.footerTop, 2770);
    EXPECT_TRUE(page.Printable());
    ExpectRect(page.Frame(), 45, 45, 2055, 2925);
    EXPECT_EQ(page.FooterLineY(), 2775);
}

// In landscape "Links" is the top margin, "Unten" the left, "Oben" the right
// and "Rechts" the bottom; the footer is 8 mm high.
TEST(PageLayout, LandscapeTurnsTheMargins) {
    const PageLayout page = LayOutPage(A4At254(true), PageMargins{10, 40, 30, 20});
    EXPECT_EQ(page.top, 100);
    EXPECT_EQ(page.left, 200);
    EXPECT_EQ(page.right, 2970 - 300);
    EXPECT_EQ(page.bottom, 2100 - 400);
    EXPECT_EQ(page.footerTop, 1700 - 80);
}

TEST(PageLayout, MarginsWiderThanTheSheetAreNotPrintable) {
    EXPECT_FALSE(LayOutPage(A4At254(), PageMargins{150, 100, 5, 5}).Printable());
    EXPECT_FALSE(LayOutPage(A4At254(), PageMargins{5, 5, 150, 140}).Printable());
}

TEST(PageLayout, CellGrids) {
    const struct {
        bool landscape;
        int n, columns, rows;
    } rows[] = {
        {false, 0, 1, 1}, {false, 1, 1, 1}, {false, 2, 1, 2}, {false, 3, 2, 2},
        {false, 4, 2, 2}, {false, 5, 2, 3}, {true, 2, 2, 1},  {true, 4, 2, 2},
    };
    for (const auto& row : rows) {
        const PageLayout page = LayOutPage(A4At254(row.landscape), PageMargins{});
        const CellGrid grid =
            LayOutCells(row.n, page.CellAreaWidth(), page.CellAreaHeight(), page.aspect);
        EXPECT_EQ(grid.columns, row.columns) << row.n << (row.landscape ? " landscape" : "");
        EXPECT_EQ(grid.rows, row.rows) << row.n << (row.landscape ? " landscape" : "");
    }
}

// Printer pixels twice as wide as high: a cell of equal pixel counts is twice
// as wide on paper, so the second cell goes below it.
TEST(PageLayout, PixelAspectShapesTheGrid) {
    EXPECT_EQ(LayOutCells(2, 1000, 1000, 2.0).rows, 2);
    EXPECT_EQ(LayOutCells(2, 1000, 1000, 1.0).rows, 2);
    EXPECT_EQ(LayOutCells(2, 1000, 400, 1.0).columns, 2);
    EXPECT_EQ(LayOutCells(2, 1000, 400, 3.0).rows, 2);
}

// Three windows in portrait: two cells in the first row, the third takes the
// whole second row; the inset is 0.3 mm.
TEST(PageLayout, ThirdCellSpansTheSecondRow) {
    const PageLayout page = LayOutPage(A4At254(), PageMargins{});
    const CellGrid grid = LayOutCells(3, 2000, 2720, 1.0);
    EXPECT_EQ(grid.cellWidth, 1000.0);
    EXPECT_EQ(grid.cellHeight, 1360.0);
    ExpectRect(CellRect(grid, page, 0, 3), 50, 50, 1050, 1410);
    ExpectRect(CellRect(grid, page, 1, 3), 1050, 50, 2050, 1410);
    ExpectRect(CellRect(grid, page, 2, 3), 50, 1410, 2050, 2770);
    ExpectRect(CellClip(CellRect(grid, page, 2, 3), page), 53, 1413, 2047, 2767);
}

// Portrait: band 2775 … 2920, mid 2847; the picture 3 × 72 wide from the
// left, shrunk by 1, 3, 1 and 1 mm; the line and the text at 0.1 and 0.2 of
// its width beyond it; the text at most half the lower half high.
TEST(PageLayout, PortraitFooter) {
    const FooterLayout footer = LayOutFooter(LayOutPage(A4At254(), PageMargins{}));
    ExpectRect(footer.band, 50, 2775, 2050, 2920);
    ExpectRect(footer.picture, 80, 2785, 50 + 3 * 72 - 10, 2847 - 10);
    EXPECT_EQ(footer.lineX, int(0.1 * 176 + 256));
    EXPECT_EQ(footer.textX, int(0.2 * 176 + 256));
    EXPECT_EQ(footer.textTop, 2847);
    EXPECT_EQ(footer.textHeight, int(0.5 * (145 / 2)));
}

// Landscape: band 1975 … 2050 (8 mm less the pen), the picture over its
// whole height, the text half the band high.
TEST(PageLayout, LandscapeFooter) {
    const FooterLayout footer = LayOutFooter(LayOutPage(A4At254(true), PageMargins{}));
    ExpectRect(footer.band, 50, 1975, 2920, 2050);
    ExpectRect(footer.picture, 80, 1985, 50 + 3 * 75 - 10, 2040);
    EXPECT_EQ(footer.textX, int(0.1 * (265 - 80) + 265));
    EXPECT_EQ(footer.lineX, footer.textX);
    EXPECT_EQ(footer.textTop, 1975);
    EXPECT_EQ(footer.textHeight, int(0.5 * 75));
}

// The size goes down a point at a time until the text fits; a text that never
// fits ends at 0.
TEST(PageLayout, FittedTextSize) {
    const struct {
        int start, largestFitting, expected;
    } rows[] = {{12, 12, 12}, {12, 30, 12}, {12, 7, 7}, {12, 1, 1}, {12, 0, 0}, {0, 5, 0}};
    for (const auto& row : rows) {
        int tries = 0;
        const int points = FitPoints(row.start, [&](int size) {
            ++tries;
            return size <= row.largestFitting;
        });
        EXPECT_EQ(points, row.expected) << row.largestFitting;
        EXPECT_LE(tries, row.start);
    }
    EXPECT_EQ(TextTopBetween(100, 200, 20), 140);
    EXPECT_EQ(TextTopBetween(100, 201, 21), 140);
}

TEST(PageLayout, MarginsTurnWithTheSheetAndBack) {
    const PageMargins margins{10, 40, 30, 20};
    const SheetMargins landscape = TurnWithSheet(margins, true);
    EXPECT_EQ(landscape.top, 10);
    EXPECT_EQ(landscape.left, 20);
    EXPECT_EQ(landscape.right, 30);
    EXPECT_EQ(landscape.bottom, 40);
    const SheetMargins portrait = TurnWithSheet(margins, false);
    EXPECT_EQ(portrait.left, 10);
    EXPECT_EQ(portrait.right, 40);
    for (bool turned : {false, true})
        EXPECT_EQ(TurnBack(TurnWithSheet(margins, turned), turned), margins);
}

// Margins changed in the page set-up become the program's; margins left as
// offered keep the program's, also when the sheet was turned there.
TEST(PageLayout, MarginsAfterPageSetUp) {
    const PageMargins program{10, 40, 30, 20};
    const SheetMargins offered = TurnWithSheet(program, false);
    EXPECT_EQ(MarginsAfterPageSetUp(program, offered, offered, true), program);
    EXPECT_EQ(MarginsAfterPageSetUp(program, offered, {10.004, 30, 40, 20}, false), program);
    EXPECT_EQ(MarginsAfterPageSetUp(program, offered, {12, 30, 40, 20}, false),
              (PageMargins{12, 40, 30, 20}));
    EXPECT_EQ(MarginsAfterPageSetUp(program, offered, {5, 6, 7, 8}, true),
              (PageMargins{6, 8, 7, 5}));
}
