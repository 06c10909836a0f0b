// A user's session from an empty program: the whole bridge example typed
// through the keyboard into both input windows, checked, saved (the files
// equal the bundled examples byte for byte), calculated, and the results
// protocol of "Ergebnisse" compared with the one balkor-batch writes for the
// example files.
#include "InputWindowFixture.h"
#include "settings/SettingsVariables.h"
#include "support/QtTestRegistry.h"

#include <QFile>
#include <QProcess>
#include <clocale>

namespace {

const QString kExamples = QStringLiteral(BALKOR_SOURCE_DIR "/examples/");
const QString kBatchProgram = QStringLiteral(BALKOR_BINARY_DIR "/src/batch/balkor-batch");

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What the user types, page by page: one entry per row, "\t" is Tab. The
// support and hinge-type columns move on by themselves after one letter,
// the beam length is skipped, zeros of a fresh row need no typing.
const char* const kNodes[] = {"0\t0\t1100\t",  "5\t0\t0000\t",  "10\t0\t0000\t", "15\t0\t0000\t",
                              "20\t0\t0100\t", "0\t6\t1100\t",  "5\t6\t0000\t",  "10\t6\t0000\t",
                              "15\t6\t0000\t", "20\t6\t11030\t"};
const char* const kBeams[] = {"1\t2\t1\t10\t1,2\t", "2\t3\t1\t10\t1,2\t",  "3\t4\t1\t10\t1,2\t",
                              "4\t5\t1\t10\t1,2\t", "6\t7\t1\t10\t1,2\t",  "7\t8\t1\t10\t1,2\t",
                              "8\t9\t1\t10\t1,2\t", "9\t10\t1\t10\t1,2\t", "1\t6\t2\t4\t0,8\t",
                              "2\t7\t2\t4\t0,8\t",  "3\t8\t2\t4\t0,8\t",   "4\t9\t2\t4\t0,8\t",
                              "5\t10\t2\t4\t0,8\t"};
// E, G, Iy, It, alphaT: the grid shows Iy before It.
const char* const kSections[] = {"3,4E7\t1,4E7\t0,45\t0,12\t1E-5\t",
                                 "3,4e7\t1,4e7\t0.08\t0.03\t0.00001\t"};
const char* const kHinges[] = {"6\t0,5\tb", "11\t0,5\tq", "10\t0,5\tt"};
const char* const kNodeLoads[] = {"2\t4\t20\t\t\t", "8\t8\t\t\t10\t"};
const char* const kConstraints[] = {"5\t5\t0,01\t\t\t"};
const char* const kBeamLoads[] = {"1\t8\t12,5\t12,5\t\t\t", "9\t9\t\t8\t0,5\t0,5\t"};
const char* const kPointLoads[] = {"2\t0,5\t150\t\t\t", "7\t0,25\t150\t\t20\t"};
const char* const kHingeLoads[] = {"2\tL\t25\t", "1\tV\t0,002\t"};
const char* const kTemperatures[] = {"9\t13\t10\t"};

template <size_t N> void TypePage(TInputForm& window, int page, const char* const (&rows)[N]) {
    TUserGrid* grid = InputWindowFixture::ShowPage(window, page);
    QVERIFY(grid->hasFocus());
    for (const char* row : rows)
        InputWindowFixture::Type(grid, QString::fromUtf8(row));
}

// The protocol after its header (time, rule, the two file paths, rule, blank
// line), which names the files and the time of the run.
QByteArray AfterHeader(const QByteArray& protocol) {
    int at = 0;
    for (int line = 0; line < 6 && at >= 0; ++line)
        at = protocol.indexOf('\n', at) + 1;
    return at > 0 ? protocol.mid(at) : QByteArray();
}

} // namespace

class InputSessionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { std::setlocale(LC_NUMERIC, "C"); }

    void typeCheckSaveAndCalculateTheBridge() {
        InputWindowFixture f;
        QVERIFY(f.shown);

        TSystemInputForm& geometry = f.Geometry();
        TypePage(geometry, 0, kNodes);
        TypePage(geometry, 1, kBeams);
        // The length follows the nodes: beam 9 runs from (0, 0) to (0, 6).
        QCOMPARE(f.Shown(geometry.StabGrid, 2 + 8, 6), QStringLiteral("6.000"));
        TypePage(geometry, 2, kSections);
        TypePage(geometry, 3, kHinges);
        QVERIFY(f.form->document.System().Modified());

        TLoadInputForm& loads = f.Loads();
        TypePage(loads, 0, kNodeLoads);
        TypePage(loads, 1, kConstraints);
        TypePage(loads, 2, kBeamLoads);
        TypePage(loads, 3, kPointLoads);
        TypePage(loads, 4, kHingeLoads);
        TypePage(loads, 5, kTemperatures);
        QVERIFY(f.form->document.LoadCase().Modified());

        // Both checks pass.
        QTest::mouseClick(geometry.SpeedButton4, Qt::LeftButton);
        QTest::mouseClick(loads.SpeedButton4, Qt::LeftButton);
        QCOMPARE(f.dialogs.messages.size(), 2);
        for (const FakeDialogs::Message& message : f.dialogs.messages) {
            QCOMPARE(message.text, QStringLiteral("In Ordnung"));
            QCOMPARE(message.caption, QStringLiteral("Plausibilitätskontrolle"));
        }

        // Saved with the toolbars' buttons, under names given in the dialog.
        const QString systemPath = f.TempPath("bruecke.bsy");
        const QString loadPath = f.TempPath("bruecke.bld");
        f.dialogs.saveNames = {systemPath, loadPath};
        QTest::mouseClick(geometry.SpeedButton2, Qt::LeftButton);
        QTest::mouseClick(loads.SpeedButton2, Qt::LeftButton);
        QVERIFY(f.dialogs.unexpected.isEmpty());
        QVERIFY(!f.form->document.System().Modified() && !f.form->document.LoadCase().Modified());
        QCOMPARE(geometry.windowTitle(), QStringLiteral(" Geometrie:  ") + systemPath);
        QCOMPARE(loads.windowTitle(), QStringLiteral(" Belastung:  ") + loadPath);
        QCOMPARE(ReadAll(systemPath), ReadAll(kExamples + QStringLiteral("bruecke.bsy")));
        QCOMPARE(ReadAll(loadPath), ReadAll(kExamples + QStringLiteral("bruecke.bld")));

        f.form->Berechnen1->trigger();
        QCOMPARE(f.solutions.resultsValid, 1);
        QCOMPARE(f.dialogs.messages.size(), 2);

        // "Ergebnisse" hands the protocol to the editor, here one that copies it.
        const QString shownProtocol = f.TempPath("ergebnisse.txt");
        const QString editor = WriteTextFile(f.TempPath("editor.sh"), "");
        WriteTextFile(editor,
                      qPrintable(QStringLiteral("#!/bin/sh\ncp \"$1\" '%1'\n").arg(shownProtocol)));
        QFile::setPermissions(editor, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const std::string savedEditor = EditorProgram;
        EditorProgram = editor.toStdString();
        f.form->Ergebnisse1->trigger();
        EditorProgram = savedEditor;
        QVERIFY(f.form->resultsEditor);
        QVERIFY(f.form->resultsEditor->waitForFinished(10000));
        const QByteArray desktop = ReadAll(shownProtocol);
        QVERIFY(desktop.contains(("System  : " + systemPath).toUtf8()));

        QProcess batch;
        const QString batchProtocol = f.TempPath("batch.txt");
        batch.start(kBatchProgram,
                    {QStringLiteral("--quiet"), kExamples + "bruecke.bsy",
                     kExamples + "bruecke.bld", QStringLiteral("--results"), batchProtocol});
        QVERIFY(batch.waitForFinished(60000));
        QCOMPARE(batch.exitCode(), 0);
        const QByteArray expected = AfterHeader(ReadAll(batchProtocol));
        QVERIFY(expected.size() > 1000);
        QCOMPARE(AfterHeader(desktop), expected);
    }
};

BALKOR_REGISTER_TEST(InputSessionTest);

#include "InputSessionTest.moc"
