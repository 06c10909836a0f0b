// Printing of graphics: the footer's font, which windows take part, the
// margins of the print dialog's page set-up, and pages printed into PDF files
// and looked at as pictures (pdftoppm). The page's geometry is tested in
// tests/graphics/PageLayoutTest.cpp.
#include "GraphFixture.h"
#include "PdfPrinting.h"
#include "settings/SettingsVariables.h"
#include "support/QtTestRegistry.h"
#include "ui/GraphicsPrinting.h"
#include "ui/Pictures.h"
#include "ui/WindowMessages.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {

// A child window that takes part in printing like a graphics window and
// fills its cell black; it notes the cell's clipping rectangle.
class CellSpy : public QWidget {
public:
    int slot = -1;
    int excluded = 0;
    QRect clip;
    double aspect = 0;

protected:
    bool event(QEvent* event) override {
        const int type = static_cast<int>(event->type());
        if (type < UM_REFRESH || type > UM_PRINTINCLUDE)
            return QWidget::event(event);
        const auto* message = static_cast<WindowMessage*>(event);
        switch (type) {
        case UM_PRINTCOUNT:
            if (!excluded)
                slot = parentForm()->printCellCount++;
            return true;
        case UM_PRINTCELL:
            if (!excluded && message->WParam() == slot) {
                const auto* target = reinterpret_cast<PrintCellTarget*>(message->LParam());
                clip = target->painter->clipBoundingRect().toAlignedRect();
                aspect = target->aspect;
                target->painter->fillRect(clip, Qt::black);
            }
            return true;
        case UM_PRINTEXCLUDE:
            excluded = 1;
            return true;
        case UM_PRINTINCLUDE:
            excluded = 0;
            return true;
        default:
            return QWidget::event(event);
        }
    }

public:
    TMainForm* form = nullptr;
    TMainForm* parentForm() const { return form; }
};

// Answers the print dialog with a PDF file; notes the job's title.
QString jobTitle;
void PrintToPdf(GraphFixture& f, const QString& path, bool landscape = false) {
    AnswerPrintDialogWithPdf(f.dialogs, path, landscape, &jobTitle);
}

// The first page of the PDF as a grey picture at 50 dots per inch; a null
// image when pdftoppm is missing.
QImage RenderPdf(const QString& pdf) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (tool.isEmpty())
        return QImage();
    const QString stem = pdf + QStringLiteral("-page");
    QProcess process;
    process.start(tool, {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-gray"),
                         QStringLiteral("-singlefile"), QStringLiteral("-png"), pdf, stem});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QImage();
    return QImage(stem + QStringLiteral(".png"));
}

// Ink: lines half a millimetre wide cover a pixel only in part at 50 dpi.
bool Dark(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 200;
}

// The share of dark pixels in a rectangle of the picture.
double DarkShare(const QImage& image, QRect rect) {
    rect = rect.intersected(image.rect());
    int dark = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            dark += Dark(image, x, y);
    return rect.isEmpty() ? 0.0 : double(dark) / (rect.width() * rect.height());
}

struct MarginsGuard {
    MarginsGuard() : saved(MarginSettings()) {}
    ~MarginsGuard() {
        MarginLeft = saved.left;
        MarginRight = saved.right;
        MarginTop = saved.top;
        MarginBottom = saved.bottom;
    }
    PageMargins saved;
};

} // namespace

class GraphPrintTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A text that never fits ends the loop at the count 0.
    void footerFontLoopEnds() {
        QImage image(100, 100, QImage::Format_RGB32);
        QPainter painter(&image);
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(12);
        painter.setFont(font);
        QCOMPARE(FitFont(painter, QStringLiteral("System: sehr-langer-name.bsy"), 1, 1), 0);
        QCOMPARE(painter.font().pointSize(), 1);
        painter.setFont(font);
        QCOMPARE(FitFont(painter, QStringLiteral("x"), 10000, 10000), 12);
    }

    // The footer's picture is the about dialog's at any size: drawn four
    // times as large and scaled back, it is nearly the same picture.
    void programPictureScalesWithItsBox() {
        const QImage small = ProgramPicture(249, 57).toImage();
        const QImage large = ProgramPicture(4 * 249, 4 * 57)
                                 .toImage()
                                 .scaled(249, 57, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        double difference = 0;
        for (int y = 0; y < 57; ++y)
            for (int x = 0; x < 249; ++x)
                difference += std::abs(qGray(small.pixel(x, y)) - qGray(large.pixel(x, y)));
        difference /= 249 * 57;
        QVERIFY2(difference < 6, qPrintable(QString::number(difference)));
    }

    // The print button of a window prints that window alone; the main menu
    // prints every window, one per cell.
    void whoTakesPart() {
        GraphFixture f;
        f.OpenBridge();
        TGraphForm* windows[] = {f.Open(0), f.Open(1), f.Open(3)};
        int prints = 0;
        f.form->SetGraphicsPrint([&] {
            f.form->printCellCount = 0;
            f.form->SendToChildren(UM_PRINTCOUNT);
            ++prints;
        });
        windows[1]->ToolButton1->trigger();
        QCOMPARE(prints, 1);
        QCOMPARE(f.form->printCellCount, 1);
        QCOMPARE(windows[1]->printSlot, 0);
        QCOMPARE(windows[0]->printExcluded, 1);
        QCOMPARE(windows[2]->printExcluded, 1);
        QCOMPARE(windows[1]->printExcluded, 0);

        f.form->Grafikdrucken1->trigger();
        QCOMPARE(f.form->printCellCount, 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(windows[i]->printExcluded, 0);
            QCOMPARE(windows[i]->printSlot, i);
        }
    }

    // A cancelled print dialog prints nothing.
    void cancelledDialogPrintsNothing() {
        GraphFixture f;
        f.OpenBridge();
        f.Open();
        const QString pdf = f.TempPath(QStringLiteral("nicht.pdf"));
        bool printDialog = false;
        f.dialogs.exec = [&printDialog](QDialog* dialog) {
            printDialog = qobject_cast<QPrintDialog*>(dialog) != nullptr;
            return false;
        };
        f.form->Grafikdrucken1->trigger();
        QCOMPARE(f.dialogs.executed.size(), 1);
        QVERIFY(printDialog);
        QVERIFY(!QFile::exists(pdf));
    }

    // Margins wider than the sheet: a message, no page.
    void marginsWithoutRoomPrintNothing() {
        MarginsGuard guard;
        MarginLeft = 150;
        MarginRight = 100;
        GraphFixture f;
        f.OpenBridge();
        f.Open();
        const QString pdf = f.TempPath(QStringLiteral("leer.pdf"));
        PrintToPdf(f, pdf);
        f.form->Grafikdrucken1->trigger();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages.first().text, QString::fromUtf8(kNoPrintableAreaText));
        QCOMPARE(f.dialogs.messages.first().caption, QString::fromUtf8(kPrintCaption));
        QVERIFY(!QFile::exists(pdf));
    }

    // The print dialog's page set-up offers the program's margins (turned
    // with the sheet); margins the user changes there are the page's and the
    // program's from then on, margins left alone change nothing.
    void pageSetUpMarginsAreTheProgramsMargins() {
        MarginsGuard guard;
        SetMarginSettings({20, 10, 15, 12});
        GraphFixture f;
        auto* spy = new CellSpy;
        spy->form = f.form.get();
        f.form->mdiArea->addSubWindow(spy);
        QMarginsF offered;
        const QString pdf = f.TempPath(QStringLiteral("rand.pdf"));
        f.dialogs.exec = [&](QDialog* dialog) {
            QPrinter* printer = qobject_cast<QPrintDialog*>(dialog)->printer();
            offered = printer->pageLayout().margins(QPageLayout::Millimeter);
            printer->setOutputFileName(pdf);
            printer->setPageMargins(QMarginsF(30, 25, 12, 8), QPageLayout::Millimeter);
            return true;
        };
        f.form->Grafikdrucken1->trigger();
        QCOMPARE(offered, QMarginsF(20, 15, 10, 12));
        QCOMPARE(MarginSettings(), (PageMargins{30, 12, 25, 8}));
        const double px = spy->clip.left() / (30 + kCellInsetMm);
        QVERIFY(std::abs(spy->clip.top() - (25 + kCellInsetMm) * px) < 1);

        f.dialogs.exec = [&](QDialog* dialog) {
            QPrinter* printer = qobject_cast<QPrintDialog*>(dialog)->printer();
            printer->setOutputFileName(pdf);
            printer->setPageOrientation(QPageLayout::Landscape);
            return true;
        };
        f.form->Grafikdrucken1->trigger();
        QCOMPARE(MarginSettings(), (PageMargins{30, 12, 25, 8}));
    }

    // Pages of 2, 3 and 4 cells printed into PDF files: the cells handed to
    // the windows, the frame, the footer line and the cells' ink.
    void pdfPagesWithCells_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("landscape");
        QTest::newRow("2 portrait") << 2 << false;
        QTest::newRow("3 portrait") << 3 << false;
        QTest::newRow("4 landscape") << 4 << true;
    }
    void pdfPagesWithCells() {
        QFETCH(int, n);
        QFETCH(bool, landscape);
        MarginsGuard guard;
        MarginLeft = MarginRight = MarginTop = MarginBottom = 10;
        MarginLeft = 20; // the top margin in landscape
        GraphFixture f;
        QList<CellSpy*> spies;
        for (int i = 0; i < n; ++i) {
            auto* spy = new CellSpy;
            spy->form = f.form.get();
            spy->resize(100, 80);
            f.form->mdiArea->addSubWindow(spy);
            spies << spy;
        }
        const QString pdf = f.TempPath(QStringLiteral("seite.pdf"));
        PrintToPdf(f, pdf, landscape);
        f.form->Grafikdrucken1->trigger();
        QVERIFY(f.dialogs.messages.isEmpty());
        QVERIFY(QFile::exists(pdf));
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        printer.setFullPage(true);
        const double px = printer.logicalDpiX() / 25.4;
        // The cells lie side by side and row under row inside the margins.
        const int columns = n == 2 && !landscape ? 1 : 2;
        for (int i = 0; i < n; ++i) {
            QVERIFY(!spies[i]->clip.isEmpty());
            QCOMPARE(spies[i]->aspect, 1.0);
        }
        if (n == 2) {
            QCOMPARE(spies[0]->clip.left(), spies[1]->clip.left());
            QVERIFY(spies[1]->clip.top() > spies[0]->clip.bottom());
        } else {
            QCOMPARE(spies[0]->clip.top(), spies[1]->clip.top());
            QVERIFY(spies[1]->clip.left() > spies[0]->clip.right());
            QVERIFY(spies[2]->clip.top() > spies[0]->clip.bottom());
        }
        if (n == 3) // the third cell takes the second row's width
            QCOMPARE(spies[2]->clip.right(), spies[1]->clip.right());
        // "Links" is 20 mm: at the left in portrait, at the top in landscape.
        const int topMargin = landscape ? 20 : 10;
        const int leftMargin = landscape ? 10 : 20;
        QVERIFY(std::abs(spies[0]->clip.top() - topMargin * px) < px);
        QVERIFY(std::abs(spies[0]->clip.left() - leftMargin * px) < px);
        Q_UNUSED(columns);

        const QImage page = RenderPdf(pdf);
        if (page.isNull())
            QSKIP("pdftoppm (Debian package poppler-utils) is missing");
        // 50 dots per inch: about 2 pixels to the millimetre.
        const double mm = 50 / 25.4;
        QCOMPARE(page.width() > page.height(), landscape);
        // Frame: dark along the left edge of the printable area, nothing in
        // the margin outside it.
        const int frameX = int(leftMargin * mm);
        const int midY = page.height() / 2;
        QVERIFY(Dark(page, frameX, midY) || Dark(page, frameX - 1, midY) ||
                Dark(page, frameX - 2, midY));
        QCOMPARE(DarkShare(page, QRect(0, 0, int((leftMargin - 2) * mm), page.height())), 0.0);
        QCOMPARE(DarkShare(page, QRect(0, 0, page.width(), int(topMargin * mm) - 2)), 0.0);
        // Footer line: a dark row across the page 15 mm (8 mm) above the
        // bottom margin.
        const int footerY = int(page.height() - (10 + (landscape ? 8 : 15)) * mm);
        bool footerLine = false;
        for (int y = footerY - 2; y <= footerY + 2; ++y)
            footerLine =
                footerLine ||
                DarkShare(page, QRect(int(12 * mm), y, page.width() - int(24 * mm), 1)) > 0.95;
        QVERIFY(footerLine);
        // Footer texts and picture: some ink in the band below the line.
        QVERIFY(DarkShare(page, QRect(int((leftMargin + 2) * mm), footerY + 3,
                                      page.width() - int(34 * mm),
                                      int(page.height() - 10 * mm) - footerY - 6)) > 0.01);
        // Each cell is filled black by its window.
        for (CellSpy* spy : spies) {
            const QRectF cell(spy->clip.left() / px * mm, spy->clip.top() / px * mm,
                              spy->clip.width() / px * mm, spy->clip.height() / px * mm);
            QVERIFY(DarkShare(page, cell.adjusted(2, 2, -2, -2).toRect()) > 0.99);
        }
    }

    // Without any graphics window the page has its frame and footer and no
    // cell; a long file name is set smaller and stays inside the footer.
    void pageWithoutWindows() {
        GraphFixture f;
        f.form->SetSystemFile(QStringLiteral("/daten/") + QString(120, QLatin1Char('x')) +
                              QStringLiteral(".bsy"));
        const QString pdf = f.TempPath(QStringLiteral("leer.pdf"));
        PrintToPdf(f, pdf);
        f.form->Grafikdrucken1->trigger();
        QCOMPARE(f.form->printCellCount, 0);
        QVERIFY(f.dialogs.messages.isEmpty());
        const QImage page = RenderPdf(pdf);
        if (page.isNull())
            QSKIP("pdftoppm (Debian package poppler-utils) is missing");
        const double mm = 50 / 25.4;
        const int footerY = int(page.height() - (5 + 15) * mm);
        // Nothing in the cell area inside the frame.
        QCOMPARE(DarkShare(page, QRect(int(7 * mm), int(7 * mm), page.width() - int(14 * mm),
                                       footerY - int(9 * mm))),
                 0.0);
        // Ink in the footer, none below the frame.
        QVERIFY(DarkShare(page, QRect(int(7 * mm), footerY + 3, page.width() - int(14 * mm),
                                      int(13 * mm))) > 0.01);
        QCOMPARE(DarkShare(page, QRect(0, int(page.height() - 4 * mm), page.width(), int(4 * mm))),
                 0.0);
        QCOMPARE(DarkShare(page, QRect(int(page.width() - 4 * mm), 0, int(4 * mm), page.height())),
                 0.0);
    }

    // The bridge with its three graphics windows on one page: each cell has
    // a drawing, the window's frame and its tab name.
    void bridgePageWithThreeWindows() {
        GraphFixture f;
        f.OpenBridge();
        f.Open(kTabGeometrie);
        f.Open(kTabBiegelinie);
        f.Open(kTabBiegemoment);
        const QString pdf = f.TempPath(QStringLiteral("bruecke.pdf"));
        PrintToPdf(f, pdf);
        f.form->Grafikdrucken1->trigger();
        QVERIFY(f.dialogs.messages.isEmpty());
        QVERIFY(QFile::exists(pdf));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QCOMPARE(jobTitle, QStringLiteral("Balkor"));
        const QImage page = RenderPdf(pdf);
        if (page.isNull())
            QSKIP("pdftoppm (Debian package poppler-utils) is missing");
        const int w = page.width(), h = page.height();
        // Two cells above, one below: each quarter of the cell area has ink.
        const double mm = 50 / 25.4;
        const int top = int(5 * mm) + 3, bottom = int(h - 20 * mm) - 3;
        const int mid = (top + bottom) / 2, centre = w / 2;
        QVERIFY(DarkShare(page, QRect(8, top, centre - 16, mid - top - 4)) > 0.002);
        QVERIFY(DarkShare(page, QRect(centre + 8, top, w - centre - 16, mid - top - 4)) > 0.002);
        QVERIFY(DarkShare(page, QRect(8, mid + 4, w - 16, bottom - mid - 8)) > 0.002);
    }
};

BALKOR_REGISTER_TEST(GraphPrintTest);
#include "GraphPrintTest.moc"
