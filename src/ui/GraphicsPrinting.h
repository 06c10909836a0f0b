#pragma once

#include "graphics/GraphicsTypes.h"

class QPainter;
class QPrinter;
class QString;
class TMainForm;
class UiDialogs;

// The page of a graphics printout: the graphics windows that take part are
// laid out in a grid of cells inside the page margins, above a footer with
// the program's picture and the names of the system and load-case files. The
// main window owns the page; each graphics window draws its own cell when it
// receives UM_PRINTCELL.

// What UM_PRINTCELL's lParam points to: the printer's drawing surface, whose
// clipping rectangle is the cell, and the printer's pixel aspect (horizontal
// ÷ vertical resolution).
struct PrintCellTarget {
    QPainter* painter;
    double aspect;
};

// The four margins in millimetres, given for the sheet in portrait.
struct PageMargins {
    double left = 5.0;
    double right = 5.0;
    double top = 5.0;
    double bottom = 5.0;
};
// The margins of the settings "Editor und Seitenränder".
PageMargins MarginSettings();

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
    // The printable area inside the margins (landscape turns the margins
    // with the sheet: "Links" at the top, "Unten" at the left, "Oben" at the
    // right, "Rechts" at the bottom).
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

// The footer's texts: "System: " and "Lastfall: " with the file name parts.
QString FooterSystemText(const QString& systemFile);
QString FooterLoadText(const QString& loadFile);

// Draws the frame, the footer line and the footer onto the page; the
// painter's font is left at the size the file names were fitted to.
void DrawPageFrame(QPainter& painter, const PageLayout& page, const QString& systemFile,
                   const QString& loadFile);

// Makes the font of the painter smaller, a point at a time, until the text
// fits into width × height; at the count 0 the smallest size Qt draws (one
// point) is kept. Returns the point count reached (12 … 0).
int FitFont(QPainter& painter, const QString& text, int width, int height);

// Prints one page with the graphics windows that take part (their leave
// flag clear): the cell numbers are handed out, the print dialog asks for the
// printer, and each window draws its cell. Margins without room print
// nothing and say so.
void PrintGraphics(TMainForm& form, UiDialogs& dialogs);
// The same onto a printer already chosen (the dialog skipped).
void PrintGraphicsPage(TMainForm& form, UiDialogs& dialogs, QPrinter& printer);

// The message when the margins leave no room.
inline constexpr const char* kNoPrintableAreaText =
    "Die Seitenränder lassen keinen Platz für den Ausdruck. Bitte kleinere Seitenränder unter "
    "„Einstellung › Editor und Seitenränder“ wählen.";
inline constexpr const char* kPrintCaption = "Grafik drucken";
