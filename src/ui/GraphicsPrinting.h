#pragma once

#include "graphics/PageLayout.h"

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

// The margins of the settings "Editor und Seitenränder".
PageMargins MarginSettings();
void SetMarginSettings(const PageMargins& margins);

// The footer's texts: "System: " and "Lastfall: " with the file name parts.
QString FooterSystemText(const QString& systemFile);
QString FooterLoadText(const QString& loadFile);

// Draws the frame, the footer line and the footer onto the page; the
// painter's font is left at the size the file names were fitted to.
void DrawPageFrame(QPainter& painter, const PageLayout& page, const QString& systemFile,
                   const QString& loadFile);

// Makes the font of the painter smaller, a point at a time, until the text
// fits into width × height (FitPoints); at the count 0 the smallest size Qt
// draws (one point) is kept. Returns the point count reached (12 … 0).
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
