// The exchange commands of the "Datei" menu: results to spreadsheets, a grid
// from a drawing, a graphics window's drawing to DXF.
#include "GraphFixture.h"
#include "exchange/ExchangeTool.h"

using Json = nlohmann::json;
#include "support/QtTestRegistry.h"
#include "ui/DxfImportDialog.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

static QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ExchangeMenuTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The file type chosen decides: a workbook, or a folder of CSV files named
    // like the file without ".csv".
    void resultsGoToAWorkbookOrACsvFolder() {
        GraphFixture f;
        f.OpenBridge();
        f.dialogs.saveNames = {f.TempPath(QStringLiteral("r.xlsx")),
                               f.TempPath(QStringLiteral("t.csv"))};
        f.form->ErgebnisseExportieren1->trigger();
        f.form->ErgebnisseExportieren1->trigger();
        QVERIFY(f.dialogs.messages.isEmpty());
        const Json book = ReadBack("read-xlsx", f.TempPath(QStringLiteral("r.xlsx")).toStdString());
        QCOMPARE(book.size(), size_t(5));
        QCOMPARE(QDir(f.TempPath(QStringLiteral("t"))).entryList(QDir::Files).size(), 5);
    }

    // A project's tables hold every load case, combination and envelope: the
    // same files balkor-batch writes for the project.
    void projectResultsAreTheBatchCommandsTables() {
        GraphFixture f;
        const QString project = QStringLiteral(BALKOR_SOURCE_DIR "/examples/bruecke.bpj");
        f.form->OpenProjectFile(project);
        f.form->Berechnen1->trigger();
        QVERIFY(f.form->document.ResultsValid());
        f.dialogs.saveNames = {f.TempPath(QStringLiteral("p.csv"))};
        f.form->ErgebnisseExportieren1->trigger();
        QVERIFY(f.dialogs.messages.isEmpty());

        QProcess batch;
        batch.start(QStringLiteral(BALKOR_BINARY_DIR "/src/batch/balkor-batch"),
                    {QStringLiteral("--quiet"), project, QStringLiteral("--csv"),
                     f.TempPath(QStringLiteral("batch"))});
        QVERIFY(batch.waitForFinished(60000));
        QCOMPARE(batch.exitCode(), 0);
        const QDir shown(f.TempPath(QStringLiteral("p")));
        const QStringList files = QDir(f.TempPath(QStringLiteral("batch"))).entryList(QDir::Files);
        QCOMPARE(shown.entryList(QDir::Files), files);
        QVERIFY(files.size() > 5);
        for (const QString& name : files)
            QCOMPARE(ReadAll(shown.filePath(name)),
                     ReadAll(f.TempPath(QStringLiteral("batch/") + name)));
    }

    void withoutResultsNothingIsExported() {
        GraphFixture f;
        f.OpenBridge(false);
        f.form->ErgebnisseExportieren1->trigger();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("Keine Ergebnisse sind vorhanden"));
    }

    // A type number that does not exist is shown in the dialog and changes
    // nothing; the grid then replaces the system.
    void dxfImportThroughTheDialog() {
        GraphFixture f;
        const std::string drawing = f.TempPath(QStringLiteral("grid.dxf")).toStdString();
        WriteDrawing("grid", drawing);
        f.dialogs.openNames = {QString::fromStdString(drawing)};
        QString refusal;
        f.dialogs.exec = [&refusal](QDialog* d) {
            auto* dialog = static_cast<TDxfImportDialog*>(d);
            dialog->LayersTable->item(1, 2)->setText(QStringLiteral("9"));
            dialog->ApplyButton->click();
            refusal = dialog->MessageLabel->text();
            dialog->LayersTable->item(1, 2)->setText(QString());
            dialog->ApplyButton->click();
            return dialog->result() == QDialog::Accepted;
        };
        f.form->DxfImportieren1->trigger();
        QCOMPARE(refusal,
                 QStringLiteral("Ebene \"Quertraeger\": den Querschnittstyp 9 gibt es nicht"));
        QCOMPARE(f.input.nodes.ValidCount(), 9);
        QCOMPARE(f.input.beams.ValidCount(), 12);
        QCOMPARE(f.input.mats.ValidCount(), 1); // both layers have the default values
    }

    void badDrawingChangesNothing() {
        GraphFixture f;
        f.OpenBridge(false);
        const int nodes = f.input.nodes.ValidCount();
        const std::string drawing = f.TempPath(QStringLiteral("d.dxf")).toStdString();
        WriteDrawing("three_d", drawing);
        f.dialogs.openNames = {QString::fromStdString(drawing)};
        f.form->DxfImportieren1->trigger();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY(f.dialogs.messages[0].text.startsWith(
            QStringLiteral("Die Zeichnung ist dreidimensional")));
        QCOMPARE(f.input.nodes.ValidCount(), nodes);
    }

    void graphicsWindowToDxf() {
        GraphFixture f;
        f.form->GrafikDxf1->trigger();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("Kein Grafikfenster ist geöffnet"));
        f.OpenBridge();
        f.Open(kTabBiegemoment);
        f.dialogs.saveNames = {f.TempPath(QStringLiteral("m.dxf"))};
        f.form->GrafikDxf1->trigger();
        QCOMPARE(f.dialogs.messages.size(), 1);
        const Json read = ReadBack("read-dxf", f.TempPath(QStringLiteral("m.dxf")).toStdString());
        QVERIFY(read["lines"].contains("Diagramm"));
        QVERIFY(read["lines"].contains("Struktur"));
    }
};

BALKOR_REGISTER_TEST(ExchangeMenuTest);
#include "ExchangeMenuTest.moc"
