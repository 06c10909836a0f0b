#include "ui/GraphicsPrinting.h"

#include "settings/SettingsVariables.h"
#include "ui/MainForm.h"
#include "ui/Pictures.h"
#include "ui/UiDialogs.h"
#include "ui/WindowMessages.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

namespace {

constexpr const char* kPrintFont = "Arial";
constexpr const char* kJobTitle = "Balkor";
constexpr const char* kPrintStartError = "Der Ausdruck kann nicht begonnen werden.";

// Writes text at x, centred between top and bottom.
void DrawTextBetween(QPainter& painter, int x, int top, int bottom, const QString& text) {
    const QFontMetrics metrics = painter.fontMetrics();
    const int y = TextTopBetween(top, bottom, metrics.height());
    painter.drawText(QPoint(x, y + metrics.ascent()), text);
}

int TextWidth(QPainter& painter, const QString& text) {
    return painter.fontMetrics().horizontalAdvance(text);
}

bool IsLandscape(const QPrinter& printer) {
    return printer.pageLayout().orientation() == QPageLayout::Landscape;
}

SheetMargins SheetMarginsOf(const QPrinter& printer) {
    const QMarginsF margins = printer.pageLayout().margins(QPageLayout::Millimeter);
    return {margins.left(), margins.top(), margins.right(), margins.bottom()};
}

PageLayout PrinterLayout(QPrinter& printer) {
    PrinterPage page;
    page.width = printer.width();
    page.height = printer.height();
    page.dpiX = printer.logicalDpiX();
    page.dpiY = printer.logicalDpiY();
    page.landscape = IsLandscape(printer);
    return LayOutPage(page, MarginSettings());
}

void PrintCells(TMainForm& form, QPainter& painter, const PageLayout& page, int n) {
    const CellGrid grid = LayOutCells(n, page.CellAreaWidth(), page.CellAreaHeight(), page.aspect);
    PrintCellTarget target{&painter, page.aspect};
    for (int r = 0; r < grid.rows; ++r)
        for (int c = 0; c < grid.columns && c < n - r * grid.columns; ++c) {
            const int index = c + r * grid.columns;
            const DeviceRect clip = CellClip(CellRect(grid, page, index, n), page);
            painter.save();
            painter.setClipRect(
                QRect(clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top));
            form.SendToChildren(UM_PRINTCELL, index, reinterpret_cast<std::intptr_t>(&target));
            painter.restore();
        }
}

// Hands out the cell numbers: each window that takes part takes the next.
int CountCells(TMainForm& form) {
    form.printCellCount = 0;
    form.SendToChildren(UM_PRINTCOUNT);
    return form.printCellCount;
}

void PrintPage(TMainForm& form, UiDialogs& dialogs, QPrinter& printer, int n) {
    printer.setDocName(QString::fromUtf8(kJobTitle));
    printer.setFullPage(true);
    const PageLayout page = PrinterLayout(printer);
    if (!page.Printable()) {
        dialogs.ShowMessage(&form, QString::fromUtf8(kNoPrintableAreaText),
                            QString::fromUtf8(kPrintCaption), MessageIcon::Warning);
        return;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        dialogs.ShowMessage(&form, QString::fromUtf8(kPrintStartError),
                            QString::fromUtf8(kPrintCaption), MessageIcon::Error);
        return;
    }
    QFont font(QString::fromUtf8(kPrintFont));
    font.setPointSize(kPrintFontPoints);
    painter.setFont(font);
    painter.setPen(
        QPen(QBrush(Qt::black), page.penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QBrush(Qt::white, Qt::SolidPattern));
    DrawPageFrame(painter, page, form.SystemFile(), form.LoadFile());
    PrintCells(form, painter, page, n);
    painter.end();
}

} // namespace

PageMargins MarginSettings() {
    return {MarginLeft, MarginRight, MarginTop, MarginBottom};
}

void SetMarginSettings(const PageMargins& margins) {
    MarginLeft = margins.left;
    MarginRight = margins.right;
    MarginTop = margins.top;
    MarginBottom = margins.bottom;
}

QString FooterSystemText(const QString& systemFile) {
    return QStringLiteral("System: %1").arg(FileNamePart(systemFile));
}

QString FooterLoadText(const QString& loadFile) {
    return QStringLiteral("Lastfall: %1").arg(FileNamePart(loadFile));
}

int FitFont(QPainter& painter, const QString& text, int width, int height) {
    QFont font = painter.font();
    const int start = font.pointSize() > 0 ? font.pointSize() : kPrintFontPoints;
    // Qt keeps a font at one point when asked for zero, so the count ends at
    // zero with the font at one point.
    return FitPoints(start, [&](int points) {
        font.setPointSize(points);
        painter.setFont(font);
        const QFontMetrics metrics = painter.fontMetrics();
        return metrics.horizontalAdvance(text) <= width && metrics.height() <= height;
    });
}

void DrawPageFrame(QPainter& painter, const PageLayout& page, const QString& systemFile,
                   const QString& loadFile) {
    const int pw = page.penWidth;
    const DeviceRect frame = page.Frame();
    painter.drawRect(
        QRect(QPoint(frame.left, frame.top), QPoint(frame.right - 1, frame.bottom - 1)));
    painter.drawLine(page.left, page.FooterLineY(), page.right, page.FooterLineY());

    const FooterLayout footer = LayOutFooter(page);
    const DeviceRect& band = footer.band;
    const QString systemText = FooterSystemText(systemFile);
    const QString text = systemText + QStringLiteral("    ") + FooterLoadText(loadFile);
    if (!page.landscape) {
        painter.drawLine(footer.lineX, band.top, footer.lineX, band.bottom);
        painter.drawLine(footer.lineX, footer.textTop, band.right, footer.textTop);
    }
    FitFont(painter, text, band.right - footer.textX, footer.textHeight);
    painter.setPen(QPen(QBrush(Qt::black), pw, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.save();
    // A text that cannot be made small enough stays inside the footer.
    painter.setClipRect(QRect(QPoint(band.left, band.top), QPoint(band.right, band.bottom)));
    DrawTextBetween(painter, footer.textX, footer.textTop, band.bottom, text);
    painter.restore();
    const int separator = footer.textX + TextWidth(painter, systemText + QStringLiteral("  "));
    painter.drawLine(separator, footer.textTop, separator, band.bottom);

    const DeviceRect& box = footer.picture;
    if (box.right > box.left && box.bottom > box.top)
        painter.drawPixmap(QRect(box.left, box.top, box.right - box.left, box.bottom - box.top),
                           ProgramPicture(box.right - box.left, box.bottom - box.top));
}

void PrintGraphicsPage(TMainForm& form, UiDialogs& dialogs, QPrinter& printer) {
    PrintPage(form, dialogs, printer, CountCells(form));
}

void PrintGraphics(TMainForm& form, UiDialogs& dialogs) {
    const int n = CountCells(form);
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromUtf8(kJobTitle));
    printer.setFullPage(true);
    // The page set-up of the dialog offers the program's margins, and what
    // the user sets there is what the page is printed with.
    const SheetMargins offered = TurnWithSheet(MarginSettings(), IsLandscape(printer));
    printer.setPageMargins(QMarginsF(offered.left, offered.top, offered.right, offered.bottom),
                           QPageLayout::Millimeter);
    QPrintDialog dialog(&printer, &form);
    if (!dialogs.Exec(&dialog))
        return;
    SetMarginSettings(MarginsAfterPageSetUp(MarginSettings(), offered, SheetMarginsOf(printer),
                                            IsLandscape(printer)));
    PrintPage(form, dialogs, printer, n);
}
