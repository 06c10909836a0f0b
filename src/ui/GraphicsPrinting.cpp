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
constexpr const char* kPrintFont = "Arial";
constexpr const char* kJobTitle = "Balkor";
constexpr const char* kPrintStartError = "Der Ausdruck kann nicht begonnen werden.";

// Writes text at x, centred between top and bottom.
void DrawTextBetween(QPainter& painter, int x, int top, int bottom, const QString& text) {
    const QFontMetrics metrics = painter.fontMetrics();
    const int y = top + (bottom - top) / 2 - metrics.height() / 2;
    painter.drawText(QPoint(x, y + metrics.ascent()), text);
}

int TextWidth(QPainter& painter, const QString& text) {
    return painter.fontMetrics().horizontalAdvance(text);
}

PageLayout PrinterLayout(QPrinter& printer) {
    PrinterPage page;
    page.width = printer.width();
    page.height = printer.height();
    page.dpiX = printer.logicalDpiX();
    page.dpiY = printer.logicalDpiY();
    page.landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
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
    DrawPageFrame(painter, page, form.systemFile, form.loadFile);
    PrintCells(form, painter, page, n);
    painter.end();
}

} // namespace

PageMargins MarginSettings() {
    return {MarginLeft, MarginRight, MarginTop, MarginBottom};
}

PageLayout LayOutPage(const PrinterPage& printer, const PageMargins& margins) {
    PageLayout page;
    page.px = printer.dpiX / 25.4;
    page.py = printer.dpiY / 25.4;
    page.aspect = page.py > 0 ? page.px / page.py : 1.0;
    page.penWidth = Trunc(kPrintPenWidthMm * page.px);
    page.landscape = printer.landscape;
    // In landscape the sheet is turned: its portrait margins go round with it.
    const double top = printer.landscape ? margins.left : margins.top;
    const double left = printer.landscape ? margins.bottom : margins.left;
    const double right = printer.landscape ? margins.top : margins.right;
    const double bottom = printer.landscape ? margins.right : margins.bottom;
    page.top = Trunc(page.py * top);
    page.left = Trunc(page.px * left);
    page.right = Trunc(printer.width - page.px * right);
    page.bottom = Trunc(printer.height - page.py * bottom);
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
    footer.band = {page.left, page.footerTop + page.penWidth, page.right, page.bottom};
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

QString FooterSystemText(const QString& systemFile) {
    return QStringLiteral("System: %1").arg(FileNamePart(systemFile));
}

QString FooterLoadText(const QString& loadFile) {
    return QStringLiteral("Lastfall: %1").arg(FileNamePart(loadFile));
}

int FitFont(QPainter& painter, const QString& text, int width, int height) {
    QFont font = painter.font();
    int points = font.pointSize() > 0 ? font.pointSize() : kPrintFontPoints;
    // Qt keeps a font at one point when asked for zero, so the loop counts
    // the size itself and ends at zero.
    while (points > 0) {
        const QFontMetrics metrics = painter.fontMetrics();
        if (metrics.horizontalAdvance(text) <= width && metrics.height() <= height)
            break;
        --points;
        font.setPointSize(std::max(points, 1));
        painter.setFont(font);
    }
    return points;
}

void DrawPageFrame(QPainter& painter, const PageLayout& page, const QString& systemFile,
                   const QString& loadFile) {
    const int pw = page.penWidth;
    painter.drawRect(QRect(QPoint(page.left - pw, page.top - pw),
                           QPoint(page.right + pw - 1, page.bottom + pw - 1)));
    painter.drawLine(page.left, page.footerTop + pw, page.right, page.footerTop + pw);

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
    QPrintDialog dialog(&printer, &form);
    if (!dialogs.Exec(&dialog))
        return;
    PrintPage(form, dialogs, printer, n);
}
