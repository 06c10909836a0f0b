#pragma once

#include "settings/SettingsVariables.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <csignal>
#include <string>

// A stand-in for the protocol editor: a script that notes its process id and
// its arguments, then stays open until it is ended, for at most a minute, and
// no longer than the test program runs. It lies in dir, or at scriptPath when
// given, and is the program's editor setting while the object lives. The
// destructor ends every stand-in process it noted, so none stays behind when
// a check fails, whether or not the program under test ended it.
class StandInEditor {
public:
    explicit StandInEditor(const QTemporaryDir& dir, const QString& scriptPath = QString())
        : path_(scriptPath.isEmpty() ? dir.filePath("editor.sh") : scriptPath),
          log_(dir.filePath("editor.log")), saved_(EditorProgram) {
        QFile script(path_);
        script.open(QIODevice::WriteOnly);
        script.write(QStringLiteral("#!/bin/sh\n"
                                    "echo \"$$ $*\" >> '%1'\n"
                                    "i=0\n"
                                    "while [ $i -lt 600 ] && kill -0 %2 2>/dev/null; do\n"
                                    "  sleep 0.1; i=$((i+1))\n"
                                    "done\n")
                         .arg(log_)
                         .arg(QCoreApplication::applicationPid())
                         .toLocal8Bit());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EditorProgram = path_.toStdString();
    }
    StandInEditor(const StandInEditor&) = delete;
    StandInEditor& operator=(const StandInEditor&) = delete;
    ~StandInEditor() {
        for (const QString& line : Lines())
            if (const long pid = line.section(' ', 0, 0).toLong(); pid > 0)
                kill(static_cast<pid_t>(pid), SIGKILL);
        QFile::remove(path_);
        EditorProgram = saved_;
    }

    // The arguments of each start, in order, separated by blanks.
    QStringList Starts() const {
        QStringList starts;
        for (const QString& line : Lines())
            starts << line.section(' ', 1);
        return starts;
    }

private:
    QStringList Lines() const {
        QFile log(log_);
        if (!log.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLocal8Bit(log.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    QString path_;
    QString log_;
    std::string saved_;
};

// Sets the program's editor setting for one test.
struct EditorSetting {
    explicit EditorSetting(const QString& program) : saved(EditorProgram) {
        EditorProgram = program.toStdString();
    }
    ~EditorSetting() { EditorProgram = saved; }
    EditorSetting(const EditorSetting&) = delete;
    EditorSetting& operator=(const EditorSetting&) = delete;
    std::string saved;
};
