// Protocol files and the editors that show them.
#include "MainFormFixture.h"
#include "model/BalkorError.h"
#include "settings/SettingsVariables.h"
#include "support/QtTestRegistry.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// An editor that notes each file it is started on and then stays open.
QString WriteStandInEditor(const QTemporaryDir& dir) {
    const QString path = dir.filePath("editor.sh");
    QFile script(path);
    script.open(QIODevice::WriteOnly);
    script.write(QStringLiteral("#!/bin/sh\necho \"$1\" >> '%1'\nexec sleep 60\n")
                     .arg(dir.filePath("editor.log"))
                     .toLocal8Bit());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QStringList EditorLog(const QTemporaryDir& dir) {
    QFile log(dir.filePath("editor.log"));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(log.readAll()).split('\n', Qt::SkipEmptyParts);
}

bool ProcessAlive(qint64 pid) {
    return pid > 0 && kill(static_cast<pid_t>(pid), 0) == 0;
}

// Keeps the program-wide editor setting of a test to that test.
struct EditorSetting {
    explicit EditorSetting(const QString& program) : saved(EditorProgram) {
        EditorProgram = program.toStdString();
    }
    ~EditorSetting() { EditorProgram = saved; }
    std::string saved;
};

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
        const QByteArray tmp = qgetenv("TMP"), tmpdir = qgetenv("TMPDIR");
        qputenv("TMP", "/a");
        qputenv("TMPDIR", "/b");
        QCOMPARE(ProtocolFolder(), std::string("/a"));
        qunsetenv("TMP");
        QCOMPARE(ProtocolFolder(), std::string("/b"));
        qunsetenv("TMPDIR");
        QCOMPARE(ProtocolFolder(), std::string("/tmp"));
        qputenv("TMP", tmp);
        qputenv("TMPDIR", tmpdir);
    }

    void inputProtocolStartsOneEditor() {
        MainFormFixture f;
        EditorSetting editor(WriteStandInEditor(f.tempDir));
        f.form->Eingabeprotocoll1->trigger();
        QVERIFY(f.dialogs.messages.isEmpty());
        QVERIFY(f.form->inputEditor);
        QTRY_COMPARE(EditorLog(f.tempDir), QStringList({f.TempPath("Stab0")}));
        const qint64 first = f.form->inputEditor->processId();
        QVERIFY(QFileInfo(f.TempPath("Stab0")).size() > 0);

        // A second protocol of the same kind replaces the first editor.
        f.form->Eingabeprotocoll1Click();
        QTRY_COMPARE(EditorLog(f.tempDir).size(), 2);
        QVERIFY(!ProcessAlive(first));
        QVERIFY(ProcessAlive(f.form->inputEditor->processId()));
        QVERIFY(QFile::exists(f.TempPath("Stab0")) && QFile::exists(f.TempPath("Stab1")));
    }

    void changedInputEndsTheEditors() {
        MainFormFixture f;
        EditorSetting editor(WriteStandInEditor(f.tempDir));
        f.form->Eingabeprotocoll1Click();
        QVERIFY(f.form->inputEditor);
        QTRY_COMPARE(EditorLog(f.tempDir).size(), 1);
        const qint64 pid = f.form->inputEditor->processId();
        f.form->SystemChanged();
        QVERIFY(!f.form->inputEditor);
        QVERIFY(!ProcessAlive(pid));
        QVERIFY(QFile::exists(f.TempPath("Stab0")));
        QCOMPARE(EditorLog(f.tempDir).size(), 1);
    }

    void closingEndsEditorsAndDeletesFiles() {
        MainFormFixture f;
        EditorSetting editor(WriteStandInEditor(f.tempDir));
        f.form->Eingabeprotocoll1Click();
        const qint64 pid = f.form->inputEditor->processId();
        QVERIFY(f.form->close());
        QVERIFY(!ProcessAlive(pid));
        QVERIFY(!QFile::exists(f.TempPath("Stab0")));
        QVERIFY(f.form->tempFiles.Names().empty());
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

    void resultsWithoutCalculationAreReported() {
        MainFormFixture f;
        EditorSetting editor(WriteStandInEditor(f.tempDir));
        f.form->Ergebnisse1->trigger();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("Keine Ergebnisse sind vorhanden"));
        QCOMPARE(f.dialogs.messages[0].caption, QStringLiteral("Information"));
        QVERIFY(!f.form->resultsEditor);
        QVERIFY(f.form->tempFiles.Names().empty());
    }
};

BALKOR_REGISTER_TEST(ProtocolsTest);
#include "ProtocolsTest.moc"
