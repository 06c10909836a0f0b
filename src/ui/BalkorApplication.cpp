#include "ui/BalkorApplication.h"

#include "analysis/SolutionsCont.h"
#include "grid/CommandErrors.h"
#include "model/Tables.h"
#include "settings/SettingsLocation.h"
#include "settings/SettingsTree.h"
#include "ui/GraphForm.h"
#include "ui/HelpWindow.h"
#include "ui/MainForm.h"
#include "ui/QtProgram.h"
#include "ui/TreeForm.h"
#include "ui/UiDialogs.h"

#include <QFileInfo>
#include <QIcon>
#include <QWidget>
#include <cstdio>

BalkorApplication::BalkorApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Balkor"));
    // The desktop entry balkor.desktop and its icon; a window manager shows
    // the icon in the task bar and the window frames.
    setDesktopFileName(QStringLiteral("balkor"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/balkor.svg")));
    installEventFilter(new DialogStacking(this));
    // The grids catch the errors of their commands themselves and hand them
    // over here, to the same error box.
    SetCommandErrorHook([this](const QString& message) { ShowError(message); });
}

BalkorApplication::~BalkorApplication() {
    SetCommandErrorHook(nullptr);
}

void BalkorApplication::SetErrorHandler(std::function<void(const QString&)> handler) {
    errorHandler_ = std::move(handler);
}

bool BalkorApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowError(CurrentErrorMessage());
    }
    return false;
}

void BalkorApplication::ShowError(const QString& message) {
    if (errorHandler_)
        errorHandler_(message);
    else
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

FileArguments ClassifyFileArguments(const QStringList& arguments) {
    FileArguments files;
    for (const QString& argument : arguments) {
        if (argument.isEmpty())
            continue;
        const QString path = QFileInfo(argument).absoluteFilePath();
        if (argument.endsWith(QStringLiteral(".bpj"), Qt::CaseInsensitive)) {
            if (files.projectFile.isEmpty())
                files.projectFile = path;
            else
                files.ignored << argument;
            continue;
        }
        const bool loadCase = argument.endsWith(QStringLiteral(".bld"), Qt::CaseInsensitive);
        if (loadCase && !files.loadFile.isEmpty()) {
            files.moreLoadFiles << path;
            continue;
        }
        QString& slot = loadCase ? files.loadFile : files.systemFile;
        if (slot.isEmpty())
            slot = path;
        else
            files.ignored << argument;
    }
    // A project names its own files.
    if (!files.projectFile.isEmpty()) {
        for (const QString* file : {&files.systemFile, &files.loadFile})
            if (!file->isEmpty())
                files.ignored << *file;
        files.ignored << files.moreLoadFiles;
        files.systemFile.clear();
        files.loadFile.clear();
        files.moreLoadFiles.clear();
    }
    return files;
}

int RunBalkor(int argc, char** argv) {
    BalkorApplication app(argc, argv);
    // Qt's dialogs in German; numbers in files and protocols keep the
    // decimal point whatever the user's locale.
    PrepareQtProgram(app);
    // The settings tree takes the variables' built-in values as its defaults,
    // so it is built before any settings file is read.
    SettingsTree();
    QtUiDialogs dialogs;
    TMainForm form(Input(), Solutions(), dialogs,
                   QString::fromStdString(DefaultSettingsFilePath()));
    InstallSettingsDialogs(form, SettingsTree(), dialogs);
    InstallGraphicsWindows(form, Input(), Solutions(), dialogs);
    app.SetErrorHandler([&](const QString& message) {
        dialogs.ShowMessage(QApplication::activeWindow() ? QApplication::activeWindow() : &form,
                            message, QString::fromUtf8(kErrorBoxCaption), MessageIcon::Error);
    });
    HelpKeyFilter helpKey(*form.HelpForm);
    app.installEventFilter(&helpKey);
    form.show();

    const FileArguments files = ClassifyFileArguments(app.arguments().mid(1));
    for (const QString& ignored : files.ignored)
        std::fprintf(stderr, "balkor: Datei '%s' wird nicht geöffnet\n",
                     ignored.toLocal8Bit().constData());
    if (!files.projectFile.isEmpty()) {
        form.OpenProjectFile(files.projectFile);
    } else if (files.moreLoadFiles.isEmpty()) {
        if (!files.systemFile.isEmpty())
            form.OpenSystemFile(files.systemFile);
        if (!files.loadFile.isEmpty())
            form.OpenLoadCaseFile(files.loadFile);
    } else {
        form.OpenFiles(files.systemFile, QStringList{files.loadFile} + files.moreLoadFiles);
    }
    return app.exec();
}
