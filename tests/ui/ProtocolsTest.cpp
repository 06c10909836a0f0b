// Protocol files and the editors that show them.
#include "MainFormFixture.h"
#include "StandInEditor.h"
#include "model/BalkorError.h"
#include "settings/SettingsVariables.h"
#include "support/QtTestRegistry.h"
#include "support/ScopedEnvironment.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool ProcessAlive(qint64 pid) {
    return pid > 0 && kill(static_cast<pid_t>(pid), 0) == 0;
}

} // namespace

class ProtocolsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void namesAreStabWithTheSmallestFreeNumber() {
        QTemporaryDir dir;
        QFile planted(dir.filePath("Stab0"));
        planted.open(QIODevice::WriteOnly);
        planted.write("fremd");
        planted.close();
        TempFileList list;
        ProtocolFile first = list.MakeProtocolFile(dir.path().toStdString());
        ProtocolFile second = list.MakeProtocolFile(dir.path().toStdString());
        QCOMPARE(QString::fromStdString(first.name), dir.filePath("Stab1"));
        QCOMPARE(QString::fromStdString(second.name), dir.filePath("Stab2"));
        QVERIFY(first.file && second.file);
        QCOMPARE(list.Names().size(), size_t(2));
    }

    // Another user can neither read a protocol nor make the program write
    // through a link planted under the next name.
    void filesAreCreatedExclusivelyForTheOwner() {
        QTemporaryDir dir;
        const QString target = dir.filePath("ziel");
        QVERIFY(QFile::link(target, dir.filePath("Stab0")));
        TempFileList list;
        ProtocolFile protocol = list.MakeProtocolFile(dir.path().toStdString());
        QCOMPARE(QString::fromStdString(protocol.name), dir.filePath("Stab1"));
        QVERIFY(!QFile::exists(target));
        struct stat info {};
        QCOMPARE(stat(protocol.name.c_str(), &info), 0);
        QCOMPARE(int(info.st_mode & 0777), 0600);
    }

    void missingFolderEndsTheCommand() {
        TempFileList list;
        try {
            list.MakeProtocolFile("/nicht/vorhanden");
            QFAIL("no error");
        } catch (const BalkorError& error) {
            QCOMPARE(QString::fromUtf8(error.what()),
                     QStringLiteral("Fehler bei öffnen der Ausdruckdatei"));
        }
        QVERIFY(list.Names().empty());
    }

    void folderComesFromTmpThenTmpdir() {
        ScopedEnvironment environment;
        environment.Set("TMP", "/a");
        environment.Set("TMPDIR", "/b");
        QCOMPARE(ProtocolFolder(), std::string("/a"));
        environment.Unset("TMP");
        QCOMPARE(ProtocolFolder(), std::string("/b"));
        environment.Unset("TMPDIR");
        QCOMPARE(ProtocolFolder(), std::string("/tmp"));
    }

    void inputProtocolStartsOneEditor() {
        MainFormFixture f;
        StandInEditor editor(f.tempDir);
        f.form->Eingabeprotocoll1->trigger();
        QVERIFY(f.dialogs.messages.isEmpty());
        QVERIFY(f.form->inputEditor);
        QTRY_COMPARE(editor.Starts(), QStringList({f.TempPath("Stab0")}));
        const qint64 first = f.form->inputEditor->processId();
        QVERIFY(QFileInfo(f.TempPath("Stab0")).size() > 0);

        // A second protocol of the same kind replaces the first editor.
        f.form->Eingabeprotocoll1Click();
        QTRY_COMPARE(editor.Starts().size(), 2);
        QVERIFY(!ProcessAlive(first));
        QVERIFY(ProcessAlive(f.form->inputEditor->processId()));
        QVERIFY(QFile::exists(f.TempPath("Stab0")) && QFile::exists(f.TempPath("Stab1")));
    }

    void changedInputEndsTheEditors() {
        MainFormFixture f;
        StandInEditor editor(f.tempDir);
        f.form->Eingabeprotocoll1Click();
        QVERIFY(f.form->inputEditor);
        QTRY_COMPARE(editor.Starts().size(), 1);
        const qint64 pid = f.form->inputEditor->processId();
        f.form->SystemChanged();
        QVERIFY(!f.form->inputEditor);
        QVERIFY(!ProcessAlive(pid));
        QVERIFY(QFile::exists(f.TempPath("Stab0")));
        QCOMPARE(editor.Starts().size(), 1);
    }

    void closingEndsEditorsAndDeletesFiles() {
        MainFormFixture f;
        StandInEditor editor(f.tempDir);
        f.form->Eingabeprotocoll1Click();
        const qint64 pid = f.form->inputEditor->processId();
        QVERIFY(f.form->close());
        QVERIFY(!ProcessAlive(pid));
        QVERIFY(!QFile::exists(f.TempPath("Stab0")));
        QVERIFY(f.form->document.tempFiles.Names().empty());
    }

    void editorThatCannotStartIsReported() {
        MainFormFixture f;
        EditorSetting editor(QStringLiteral("/nicht/vorhanden/editor"));
        f.form->Eingabeprotocoll1Click();
        QVERIFY(!f.form->inputEditor);
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text,
                 QStringLiteral("Programm '/nicht/vorhanden/editor' kann nicht ausgeführt werden"));
        QCOMPARE(f.dialogs.messages[0].caption, QStringLiteral("Fehler"));
        QVERIFY(QFile::exists(f.TempPath("Stab0")));
    }

    void bundledViewerIsLookedUpNextToTheProgram() {
        MainFormFixture f;
        EditorSetting editor(QString::fromUtf8(kBundledViewerName));
        f.form->Eingabeprotocoll1Click();
        const QString expected = QCoreApplication::applicationDirPath() + QStringLiteral("/textor");
        QCOMPARE(QString::fromStdString(EditorProgram), expected);
        f.form->CloseEditors();
    }

    // Only the bundled viewer learns which protocol it shows; an editor the
    // user chose gets the file name as its only argument.
    void onlyTheBundledViewerIsToldTheProtocolKind() {
        const QString file = QStringLiteral("/tmp/Stab0");
        const QString here = QCoreApplication::applicationDirPath();
        QCOMPARE(EditorArguments(BundledViewerPath(), file, QStringLiteral("Ergebnisse")),
                 QStringList({"--kind", "Ergebnisse", "--", file}));
        QCOMPARE(EditorArguments(here + QStringLiteral("/./textor"), file,
                                 QStringLiteral("Eingabeprotokoll")),
                 QStringList({"--kind", "Eingabeprotokoll", "--", file}));
        QCOMPARE(
            EditorArguments(QStringLiteral("/usr/bin/kate"), file, QStringLiteral("Ergebnisse")),
            QStringList({file}));
        QCOMPARE(
            EditorArguments(here + QStringLiteral("/textor2"), file, QStringLiteral("Ergebnisse")),
            QStringList({file}));
        QCOMPARE(EditorArguments(BundledViewerPath(), file, QString()), QStringList({file}));
    }

    void protocolCommandsNameTheirKindToTheBundledViewer() {
        MainFormFixture f;
        StandInEditor viewer(f.tempDir, BundledViewerPath());
        EditorSetting setting(QString::fromUtf8(kBundledViewerName));
        f.form->OpenSystemFile(WriteTextFile(f.TempPath("s.bsy"), kTwoSpanSystem));
        f.form->OpenLoadCaseFile(WriteTextFile(f.TempPath("l.bld"), kTwoSpanLoads));
        f.form->Eingabeprotocoll1Click();
        f.form->Berechnen1Click();
        f.form->Ergebnisse1Click();
        QVERIFY(f.dialogs.messages.isEmpty());
        // The two viewers run side by side; either may note its start first.
        QTRY_COMPARE(viewer.Starts().size(), 2);
        QStringList starts = viewer.Starts();
        starts.sort();
        QCOMPARE(starts, QStringList({"--kind Eingabeprotokoll -- " + f.TempPath("Stab0"),
                                      "--kind Ergebnisse -- " + f.TempPath("Stab1")}));
    }

    void resultsWithoutCalculationAreReported() {
        MainFormFixture f;
        StandInEditor editor(f.tempDir);
        f.form->Ergebnisse1->trigger();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("Keine Ergebnisse sind vorhanden"));
        QCOMPARE(f.dialogs.messages[0].caption, QStringLiteral("Information"));
        QVERIFY(!f.form->resultsEditor);
        QVERIFY(f.form->document.tempFiles.Names().empty());
    }
};

BALKOR_REGISTER_TEST(ProtocolsTest);
#include "ProtocolsTest.moc"
