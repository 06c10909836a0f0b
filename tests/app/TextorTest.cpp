// Textor, the protocol viewer, and where the build puts it.
#include "support/QtTestRegistry.h"
#include "support/ScopedEnvironment.h"
#include "textor/TextorWindow.h"
#include "ui/QtProgram.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPageSize>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <QTranslator>
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

// The advances of characters of a protocol in font, one per character.
QList<qreal> Advances(const QFont& font) {
    const QFontMetricsF metrics(font);
    QList<qreal> advances;
    for (const char* c : {"i", "W", "0", "ä", "°", "M", ".", " "})
        advances << metrics.horizontalAdvance(QString::fromUtf8(c));
    return advances;
}

bool AllEqual(const QList<qreal>& values) {
    for (qreal value : values)
        if (qAbs(value - values.first()) > 1e-6)
            return false;
    return true;
}

// An installed font whose characters differ in width (DejaVu Sans where it
// is installed); an empty family when there is none.
QFont ProportionalFont() {
    QStringList families = QFontDatabase::families();
    families.prepend(QStringLiteral("DejaVu Sans"));
    for (const QString& family : families) {
        const QFont font(family);
        if (QFontDatabase::families().contains(QFontInfo(font).family()) &&
            !AllEqual(Advances(font)))
            return font;
    }
    return QFont(QString());
}

// Qt's German texts for one test.
struct GermanQtTexts {
    GermanQtTexts() : translator(InstallQtTranslations(*QCoreApplication::instance())) {}
    ~GermanQtTexts() {
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
    QTranslator* translator;
};

// The user's settings files in folder for one test.
struct SettingsFolder {
    explicit SettingsFolder(const QString& folder) {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
    }
    ~SettingsFolder() {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    }
};

// The texts of the file dialog and of the question it asks before it
// overwrites a file.
struct SaveDialogTexts {
    QString title, directory, fileName;
    QStringList labels;
    QString question;
    QStringList questionButtons;
};

} // namespace

class TextorTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void showsTheFileReadOnlyInAFixedFont() {
        QTemporaryDir dir;
        TextorWindow window;
        QVERIFY(window.LoadFile(WriteBytes(dir, "Stab0", kProtocol)));
        QVERIFY(window.Text->isReadOnly());
        // An installed font (not the boxes Qt draws without any font), in
        // which every character has the same advance, so the columns line up.
        const QString family = QFontInfo(window.Text->font()).family();
        QVERIFY2(QFontDatabase::families().contains(family), qPrintable(family));
        QVERIFY2(AllEqual(Advances(window.Text->font())), qPrintable(family));
        QVERIFY(window.Text->toPlainText().startsWith(QStringLiteral("Knoten  x  y\nStäbe\n")));
        QCOMPARE(window.windowTitle(), QStringLiteral("Textor – Stab0"));
    }

    // A font whose characters differ in width is replaced by a monospaced
    // family in its size; a monospaced one is kept, whatever the font
    // database says about its pitch.
    void protocolFontFallsBackToAMonospacedFamily() {
        QFont proportional = ProportionalFont();
        if (proportional.family().isEmpty())
            QSKIP("no proportional font installed");
        proportional.setPointSize(11);
        QVERIFY(!HasEqualAdvances(proportional));
        const QFont chosen = ProtocolFont(proportional);
        QVERIFY2(AllEqual(Advances(chosen)), qPrintable(QFontInfo(chosen).family()));
        QVERIFY(HasEqualAdvances(chosen));
        QCOMPARE(chosen.pointSize(), 11);

        QCOMPARE(ProtocolFont(chosen), chosen);
    }

    // The desktop program names the protocol; the title tells the input and
    // the results protocol apart.
    // Its whole frame on the screen, also on one smaller than the window.
    void windowFitsTheScreen() {
        TextorWindow window;
        const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(free.contains(QRect(window.pos(), window.size() + kWindowFrameAllowance)));
    }

    void titleNamesTheProtocol() {
        QTemporaryDir dir;
        TextorWindow window;
        window.SetTitle(QStringLiteral("Ergebnisse"));
        QVERIFY(window.LoadFile(WriteBytes(dir, "Stab3", kProtocol)));
        QCOMPARE(window.windowTitle(), QStringLiteral("Textor – Ergebnisse"));
        window.SetTitle(QString());
        QCOMPARE(window.windowTitle(), QStringLiteral("Textor – Stab3"));
    }

    void commandLineTakesATitleAndOneFile() {
        struct Case {
            QStringList arguments;
            QString kind, file;
            bool error;
        };
        const Case cases[] = {
            {{}, {}, {}, false},
            {{"/tmp/Stab0"}, {}, "/tmp/Stab0", false},
            {{"--kind", "Ergebnisse", "--", "/tmp/Stab1"}, "Ergebnisse", "/tmp/Stab1", false},
            {{"--kind=Eingabeprotokoll", "/tmp/Stab2"}, "Eingabeprotokoll", "/tmp/Stab2", false},
            {{"--", "-datei"}, {}, "-datei", false},
            {{"-"}, {}, "-", false},
            {{"--kind"}, {}, {}, true},
            {{"--title", "x"}, {}, {}, true},
            {{"--farbe", "rot"}, {}, {}, true},
            {{"a", "b"}, {}, "a", true},
        };
        for (const Case& c : cases) {
            const TextorArguments parsed = ParseTextorArguments(c.arguments);
            const QString where = c.arguments.join(' ');
            QVERIFY2(parsed.error.isEmpty() != c.error, qPrintable(where));
            if (c.error)
                continue;
            QCOMPARE(parsed.kind, c.kind);
            QCOMPARE(parsed.file, c.file);
        }
    }

    // "Speichern unter" offers the protocol's name with ".txt" in the home
    // folder, then in the folder saved to last (also in a later run); the
    // dialog and its overwrite question speak German.
    void saveAsOffersATextFileAndSpeaksGerman() {
        QTemporaryDir home, config, target, dir;
        ScopedEnvironment environment;
        environment.Set("HOME", home.path().toStdString());
        SettingsFolder settings(config.path());
        GermanQtTexts german;
        QVERIFY(german.translator);

        TextorWindow window;
        window.LoadFile(WriteBytes(dir, "Stab0", kProtocol));
        QCOMPARE(window.SuggestedSavePath(), home.filePath("Stab0.txt"));
        window.SetTitle(QStringLiteral("Ergebnisse"));
        QCOMPARE(window.SuggestedSavePath(), home.filePath("Ergebnisse.txt"));

        SaveDialogTexts texts;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            texts.title = dialog->windowTitle();
            texts.directory = dialog->directory().absolutePath();
            texts.fileName = QFileInfo(dialog->selectedFiles().value(0)).fileName();
            for (auto label : {QFileDialog::LookIn, QFileDialog::FileName, QFileDialog::FileType,
                               QFileDialog::Accept, QFileDialog::Reject})
                texts.labels << dialog->labelText(label);
            dialog->selectFile(target.filePath("bericht"));
            static_cast<QDialog*>(dialog)->accept();
        });
        window.SaveAs();
        QCOMPARE(texts.title, QStringLiteral("Speichern unter"));
        QCOMPARE(texts.directory, home.path());
        QCOMPARE(texts.fileName, QStringLiteral("Ergebnisse.txt"));
        QCOMPARE(texts.labels, QStringList({"Suchen in:", "Datei&name:", "Dateien des Typs:",
                                            "S&peichern", "Abbrechen"}));
        QFile saved(target.filePath("bericht.txt"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), kProtocol);
        QCOMPARE(TextorWindow().SuggestedSavePath(), target.filePath("Protokoll.txt"));

        // Saving over an existing file asks first; "Nein" keeps it.
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            dialog->selectFile(target.filePath("bericht.txt"));
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!box)
                    return;
                texts.question = box->text();
                QAbstractButton* no = nullptr;
                for (QAbstractButton* button : box->buttons()) {
                    texts.questionButtons << button->text();
                    if (box->buttonRole(button) == QMessageBox::NoRole)
                        no = button;
                }
                if (no)
                    no->click();
            });
            static_cast<QDialog*>(dialog)->accept();
            dialog->reject();
        });
        window.SetTitle(QStringLiteral("Eingabeprotokoll"));
        window.SaveAs();
        QCOMPARE(texts.question, QStringLiteral("Die Datei bericht.txt existiert bereits.\n"
                                                "Soll sie überschrieben werden?"));
        QCOMPARE(texts.questionButtons, QStringList({"&Ja", "&Nein"}));
        QVERIFY(!QFile::exists(target.filePath("Eingabeprotokoll.txt")));
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
