// Thin lines written straight into an image: the pixels of Qt's raster
// engine for the same line, and the canvas that uses them.
#include "ui/ImageLines.h"

#include "support/QtTestRegistry.h"
#include "support/RandomSeed.h"
#include "ui/QtCanvas.h"

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>
#include <set>
#include <utility>

namespace {

using Pixels = std::set<std::pair<int, int>>;

constexpr QRgb kPaper = 0xFFFFFFFF;
constexpr QRgb kInk = 0xFF102030;

ImageLines LinesOf(QImage& image) {
    return ImageLines(reinterpret_cast<std::uint32_t*>(image.bits()), image.bytesPerLine() / 4,
                      image.width(), image.height());
}

Pixels Inked(const QImage& image) {
    Pixels inked;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kPaper)
                inked.emplace(x, y);
    return inked;
}

// The line as Qt's raster engine draws it with the canvas's thinnest pens.
void DrawWithQt(QImage& image, QLine line, int penWidth) {
    QPainter painter(&image);
    painter.setPen(
        QPen(QBrush(QColor(kInk)), penWidth, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.drawLines(&line, 1);
}

// One random drawing: pens of width 0 to 3 in a few colours, lines inside,
// across and outside the edges, now and then a polygon.
void DrawRandomly(Canvas& canvas, quint32 seed, QSize size) {
    QRandomGenerator random(seed);
    const auto point = [&] {
        return DevicePoint{random.bounded(-20, size.width() + 20),
                           random.bounded(-20, size.height() + 20)};
    };
    const Colour colours[] = {0x000000, 0x0000FF, 0x00FF00, 0x808080};
    for (int step = 0; step < 3000; ++step) {
        const int what = random.bounded(100);
        if (what < 4)
            canvas.SetPenColour(colours[random.bounded(4)]);
        else if (what < 6)
            canvas.SetPenWidth(random.bounded(4));
        else if (what < 7) {
            canvas.SetBrushColour(colours[random.bounded(4)]);
            const DevicePoint corners[] = {point(), point(), point()};
            canvas.Polygon(corners);
        } else {
            const DevicePoint from = point();
            canvas.MoveTo(from);
            canvas.LineTo(random.bounded(3) ? DevicePoint{from.x + random.bounded(-9, 10),
                                                          from.y + random.bounded(-9, 10)}
                                            : point());
        }
    }
}

QImage Painted(quint32 seed, bool clipped) {
    QImage image(120, 90, QImage::Format_RGB32);
    image.fill(kPaper);
    QPainter painter(&image);
    // A clip (here the whole image) leaves every line to Qt.
    if (clipped)
        painter.setClipRect(image.rect());
    SetNewCanvasState(painter);
    QtCanvas canvas(painter);
    DrawRandomly(canvas, seed, image.size());
    return image;
}

} // namespace

class ImageLinesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Both ends belong to the line; along the longer axis every pixel; across
    // it the whole part of the position, which starts half a step further on
    // a rising slope and not on a falling one.
    void pixelsOfTheRule_data() {
        QTest::addColumn<QLine>("line");
        QTest::addColumn<Pixels>("expected");
        QTest::newRow("horizontal")
            << QLine(2, 5, 6, 5) << Pixels{{2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 5}};
        QTest::newRow("vertical, drawn upwards")
            << QLine(3, 4, 3, 1) << Pixels{{3, 1}, {3, 2}, {3, 3}, {3, 4}};
        QTest::newRow("one point") << QLine(7, 7, 7, 7) << Pixels{{7, 7}};
        QTest::newRow("diagonal") << QLine(0, 0, 3, 3) << Pixels{{0, 0}, {1, 1}, {2, 2}, {3, 3}};
        QTest::newRow("rising 1:2")
            << QLine(0, 0, 4, 2) << Pixels{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}};
        QTest::newRow("rising 1:2 backwards")
            << QLine(4, 2, 0, 0) << Pixels{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}};
        QTest::newRow("falling 1:2")
            << QLine(0, 2, 4, 0) << Pixels{{0, 2}, {1, 1}, {2, 1}, {3, 0}, {4, 0}};
        QTest::newRow("steep 2:1") << QLine(1, 0, 0, 2) << Pixels{{1, 0}, {0, 1}, {0, 2}};
    }
    void pixelsOfTheRule() {
        QFETCH(QLine, line);
        QFETCH(Pixels, expected);
        QImage image(10, 10, QImage::Format_RGB32);
        image.fill(kPaper);
        LinesOf(image).Draw(line.x1(), line.y1(), line.x2(), line.y2(), kInk);
        QCOMPARE(Inked(image), expected);
    }

    void holdsOnlyLinesInsideTheImage() {
        QImage image(10, 8, QImage::Format_RGB32);
        const ImageLines lines = LinesOf(image);
        QVERIFY(lines.Holds(0, 0, 9, 7));
        QVERIFY(!lines.Holds(0, 0, 10, 7));
        QVERIFY(!lines.Holds(0, 0, 9, 8));
        QVERIFY(!lines.Holds(-1, 3, 4, 3));
        QVERIFY(!lines.Holds(4, 3, 4, -1));
    }

    // Random lines, short ones and ones across the image, with pens of width
    // 0 and 1: exactly Qt's pixels.
    void sameAsQtForRandomLines() {
        const quint32 seed = RandomTestSeed();
        QRandomGenerator random(seed);
        QImage byQt(96, 80, QImage::Format_RGB32);
        QImage byLines(byQt.size(), QImage::Format_RGB32);
        for (int trial = 0; trial < 20000; ++trial) {
            const int reach = trial % 3 ? 12 : 96;
            const int x1 = random.bounded(byQt.width()), y1 = random.bounded(byQt.height());
            const int x2 = std::clamp(x1 + random.bounded(-reach, reach + 1), 0, byQt.width() - 1);
            const int y2 = std::clamp(y1 + random.bounded(-reach, reach + 1), 0, byQt.height() - 1);
            byQt.fill(kPaper);
            byLines.fill(kPaper);
            DrawWithQt(byQt, QLine(x1, y1, x2, y2), trial % 2);
            LinesOf(byLines).Draw(x1, y1, x2, y2, kInk);
            QVERIFY2(byQt == byLines, qPrintable(QStringLiteral("%1: line %2,%3 - %4,%5")
                                                     .arg(SeedNote(seed))
                                                     .arg(x1)
                                                     .arg(y1)
                                                     .arg(x2)
                                                     .arg(y2)));
        }
    }

    // The canvas writes its thin lines into an image itself and leaves the
    // rest to Qt: the picture is the one Qt alone paints.
    void canvasIntoAnImagePaintsWhatQtPaints() {
        for (int run = 0; run < 20; ++run) {
            const quint32 seed = RandomTestSeed();
            QVERIFY2(Painted(seed, false) == Painted(seed, true), qPrintable(SeedNote(seed)));
        }
    }
};

BALKOR_REGISTER_TEST(ImageLinesTest);
#include "ImageLinesTest.moc"
