// Textor, the protocol viewer, and where the build puts it.
#include "support/QtTestRegistry.h"
#include "textor/TextorWindow.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <memory>

namespace {

QString WriteBytes(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return file.fileName();
}

const QByteArray kProtocol = "Knoten  x  y\r\nStäbe\r\n  1  Biegemoment  12.5\r\n"
                             "  2  biegemoment  -3.0\r\n";

} // namespace

class TextorTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void showsTheFileReadOnlyInAFixedFont() {
        QTemporaryDir dir;
        TextorWindow window;
        QVERIFY(window.LoadFile(WriteBytes(dir, "Stab0", kProtocol)));
        QVERIFY(window.Text->isReadOnly());
        QVERIFY(QFontInfo(window.Text->font()).fixedPitch());
        QVERIFY(window.Text->toPlainText().startsWith(QStringLiteral("Knoten  x  y\nStäbe\n")));
        QCOMPARE(window.windowTitle(), QStringLiteral("Textor – Stab0"));
    }

    void readsWindowsTextThatIsNotUtf8() {
        QCOMPARE(DecodeText(QByteArray("St\xe4"
                                       "be")),
                 QStringLiteral("Stäbe"));
        QCOMPARE(DecodeText(QByteArray("St\xc3\xa4"
                                       "be")),
                 QStringLiteral("Stäbe"));
    }

    void missingFileIsReported() {
        TextorWindow window;
        QVERIFY(!window.LoadFile(QStringLiteral("/nicht/vorhanden")));
        QCOMPARE(window.ErrorText(),
                 QStringLiteral("Datei '/nicht/vorhanden' kann nicht gelesen werden"));
    }

    void findSelectsTheNextOccurrenceAndWraps() {
        QTemporaryDir dir;
        TextorWindow window;
        window.LoadFile(WriteBytes(dir, "Stab0", kProtocol));
        QVERIFY(window.Find(QStringLiteral("Biegemoment")));
        const int first = window.Text->textCursor().selectionStart();
        QVERIFY(window.Find(QStringLiteral("Biegemoment")));
        const int second = window.Text->textCursor().selectionStart();
        QVERIFY(second > first);
        QVERIFY(window.Find(QStringLiteral("Biegemoment")));
        QCOMPARE(window.Text->textCursor().selectionStart(), first);

        window.MatchCase->setChecked(true);
        QVERIFY(window.Find(QStringLiteral("biegemoment")));
        QCOMPARE(window.Text->textCursor().selectionStart(), second);
        QVERIFY(!window.Find(QStringLiteral("Querkraft")));
        QVERIFY(!window.Find(QString()));
    }

    void saveWritesTheSameBytes() {
        QTemporaryDir dir;
        TextorWindow window;
        window.LoadFile(WriteBytes(dir, "Stab0", kProtocol));
        const QString copy = dir.filePath("kopie.txt");
        QVERIFY(window.SaveTo(copy));
        QFile file(copy);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), kProtocol);
        QVERIFY(!window.SaveTo(dir.filePath("fehlt/kopie.txt")));
    }

    void printsToAPrinter() {
        QTemporaryDir dir;
        TextorWindow window;
        window.LoadFile(WriteBytes(dir, "Stab0", kProtocol));
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("stab.pdf"));
        window.PrintTo(printer);
        QVERIFY(QFileInfo(dir.filePath("stab.pdf")).size() > 0);
    }

    // The program starts the viewer from its own folder.
    void viewerLiesNextToTheProgram() {
        const QString folder = QStringLiteral(BALKOR_BINARY_DIR "/src/app/");
        QVERIFY(QFileInfo(folder + "textor").isExecutable());
        QVERIFY(QFileInfo(folder + "balkor").isExecutable());
    }
};

#include "TextorTest.moc"

BALKOR_REGISTER_TEST(TextorTest);
