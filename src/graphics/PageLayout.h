#pragma once

#include "graphics/GraphicsTypes.h"

#include <functional>

// The geometry of a printed graphics page, in printer pixels: the printable
// area inside the margins, the frame, the grid of cells the graphics windows
// draw into, and the footer with the program's picture and the file names.
// The printing code only draws what these functions compute.

// The four margins in millimetres, given for the sheet in portrait.
struct PageMargins {
    double left = 5.0;
    double right = 5.0;
    double top = 5.0;
    double bottom = 5.0;
};
bool operator==(const PageMargins& a, const PageMargins& b);

// The margins at the four edges of the sheet as it lies, in millimetres: a
// landscape sheet is the portrait one turned, so its margins go round with
// it ("Links" at the top, "Unten" at the left, "Oben" at the right, "Rechts"
// at the bottom).
struct SheetMargins {
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
};
SheetMargins TurnWithSheet(const PageMargins& margins, bool landscape);
PageMargins TurnBack(const SheetMargins& sheet, bool landscape);

// The printer's page in its pixels.
struct PrinterPage {
    int width = 0;
    int height = 0;
    double dpiX = 0.0;
    double dpiY = 0.0;
    bool landscape = false;
};

// The page's geometry in printer pixels.
struct PageLayout {
    double px = 0.0;     // pixels per millimetre, horizontal
    double py = 0.0;     // pixels per millimetre, vertical
    double aspect = 1.0; // px ÷ py
    int penWidth = 0;    // of the frame and the footer lines: 0.5 mm
    // The printable area inside the margins.
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int footerTop = 0; // 15 mm above the bottom in portrait, 8 mm in landscape
    bool landscape = false;

    // The area of the cells: from the top to the footer.
    int CellAreaWidth() const { return right - left; }
    int CellAreaHeight() const { return footerTop - top; }
    // Margins that leave no room for the cells or the footer print nothing.
    bool Printable() const { return CellAreaWidth() > 0 && CellAreaHeight() > 0; }
    // The frame round the printable area, outside it by the pen width.
    DeviceRect Frame() const;
    // The height of the line between the cells and the footer.
    int FooterLineY() const { return footerTop + penWidth; }
};

inline constexpr double kPrintPenWidthMm = 0.5;
inline constexpr double kFooterHeightPortraitMm = 15.0;
inline constexpr double kFooterHeightLandscapeMm = 8.0;
inline constexpr double kCellInsetMm = 0.3;
inline constexpr int kPrintFontPoints = 12;

PageLayout LayOutPage(const PrinterPage& page, const PageMargins& margins);

// The grid of n cells in an area of width × height pixels: starting from one
// cell, a column is added while the cells are wider on paper than high, else
// a row, until there are cells enough.
struct CellGrid {
    int columns = 1;
    int rows = 1;
    double cellWidth = 0.0;
    double cellHeight = 0.0;
};
CellGrid LayOutCells(int n, int width, int height, double aspect);

// The rectangle of cell index (of n) on the page, before the inset; the last
// cell reaches to the right end of its row.
DeviceRect CellRect(const CellGrid& grid, const PageLayout& page, int index, int n);
// The part of a cell the window may draw into: the cell inset by 0.3 mm.
DeviceRect CellClip(const DeviceRect& cell, const PageLayout& page);

// The footer band from left to right, from the footer line to the bottom.
struct FooterLayout {
    DeviceRect band;
    DeviceRect picture; // the program's picture, shrunk by its insets
    int textHeight = 0; // the highest the file names may be
    int lineX = 0;      // portrait: the vertical line left of the file names
    int textX = 0;      // where the file names start
    int textTop = 0;    // the file names are centred between textTop and band.bottom
};
FooterLayout LayOutFooter(const PageLayout& page);

// The font size of a text fitted into its place: from startPoints down a
// point at a time while fits(points) is false, ending at 0 at the latest.
int FitPoints(int startPoints, const std::function<bool(int points)>& fits);

// The top of a text of textHeight centred between top and bottom.
int TextTopBetween(int top, int bottom, int textHeight);

// The program's margins after the print dialog's page set-up: margins the
// user changed there (offered the program's margins, turned with the sheet)
// become the program's; margins left as offered keep them, whatever way the
// sheet was turned meanwhile.
PageMargins MarginsAfterPageSetUp(const PageMargins& program, const SheetMargins& offered,
                                  const SheetMargins& chosen, bool landscape);
