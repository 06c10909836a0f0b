// The cross-section columns that the deck generator's and the DXF import's
// dialogs share: captions that fit at the dialogs' first size, numbers read
// alike.
#include "ui/SectionFields.h"

#include "exchange/DxfImport.h"
#include "support/QtTestRegistry.h"
#include "ui/DeckGeneratorDialog.h"
#include "ui/DxfImportDialog.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QTest>

namespace {

DxfDrawing ThreeLayers() {
    DxfDrawing drawing;
    drawing.layers = {"Haupttraeger", "Quertraeger", "Rand"};
    for (int layer = 0; layer < 3; ++layer)
        drawing.segments.push_back({{0.0, 1.0 * layer}, {10.0, 1.0 * layer}, layer});
    return drawing;
}

// Every caption's text fits its section (the header's own margins apart).
void ExpectCaptionsFit(QTableWidget& table) {
    QHeaderView* header = table.horizontalHeader();
    const QFontMetrics metrics(header->font());
    for (int column = 0; column < table.columnCount(); ++column) {
        const QString caption = table.horizontalHeaderItem(column)->text();
        QVERIFY2(header->sectionSize(column) >= metrics.horizontalAdvance(caption) + 4,
                 qPrintable(caption));
    }
}

} // namespace

class SectionFieldsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void captionsFitAtTheFirstSize() {
        const DxfDrawing drawing = ThreeLayers();
        TDxfImportDialog dxf(QStringLiteral("z.dxf"), drawing, {},
                             [](const ImportedGrid&) { return true; });
        dxf.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dxf));
        QCOMPARE(dxf.LayersTable->horizontalHeaderItem(7)->text(),
                 QStringLiteral("Temp.ausd.koeff."));
        ExpectCaptionsFit(*dxf.LayersTable);

        TDeckGeneratorDialog deck(DefaultDeck(), [](const DeckDescription&) { return true; });
        deck.show();
        QVERIFY(QTest::qWaitForWindowExposed(&deck));
        ExpectCaptionsFit(*deck.SectionsTable);
    }

    // A decimal comma is a point; a cell that is no number is named by its
    // caption.
    void rowsReadAlike() {
        QTableWidget table(1, 1 + kSectionFieldCount);
        SetUpSectionColumns(table, 1);
        SetSectionRow(table, 0, 1, {3e7, 1.2e7, 0.25, 0.125, 1e-5});
        table.item(0, 3)->setText(QStringLiteral("0,5"));
        double e = 0, g = 0, iy = 0, it = 0, alpha = 0;
        int field = -1;
        QString text;
        QVERIFY(ReadSectionRow(table, 0, 1, {&e, &g, &iy, &it, &alpha}, field, text));
        QCOMPARE(e, 3e7);
        QCOMPARE(iy, 0.5);
        QCOMPARE(alpha, 1e-5);
        table.item(0, 5)->setText(QStringLiteral("x"));
        QVERIFY(!ReadSectionRow(table, 0, 1, {&e, &g, &iy, &it, &alpha}, field, text));
        QCOMPARE(field, 4);
        QCOMPARE(text, QStringLiteral("x"));
        QCOMPARE(QString::fromUtf8(SectionFieldCaption(field)), QStringLiteral("Temp.ausd.koeff."));

        const DxfDrawing drawing = ThreeLayers();
        TDxfImportDialog dxf(QStringLiteral("z.dxf"), drawing, {},
                             [](const ImportedGrid&) { return true; });
        dxf.LayersTable->item(1, 7)->setText(QStringLiteral("warm"));
        GridOptions options;
        std::string error;
        QVERIFY(!dxf.Options(options, error));
        QCOMPARE(QString::fromStdString(error),
                 QStringLiteral("Ebene \"Quertraeger\": Temp.ausd.koeff. ist keine Zahl"));
    }
};

BALKOR_REGISTER_TEST(SectionFieldsTest);
#include "SectionFieldsTest.moc"
