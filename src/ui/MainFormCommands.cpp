// The main window's commands that reach the analysis, the protocols, the
// protocol editors and the settings file.
#include "analysis/SolutionsCont.h"
#include "model/BalkorError.h"
#include "model/Checks.h"
#include "protocols/Protocols.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsTree.h"
#include "settings/SettingsVariables.h"
#include "ui/HelpWindow.h"
#include "ui/InputForms.h"
#include "ui/MainForm.h"
#include "ui/SolForm.h"
#include "ui/UiDialogs.h"
#include "ui/WindowMessages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace {

// How long a starting editor may take to report that it runs.
constexpr int kEditorStartTimeoutMs = 10000;
constexpr int kEditorEndTimeoutMs = 3000;

ProtocolContext MakeContext(const Document& document) {
    ProtocolContext context;
    context.systemFile = document.System().File();
    context.loadCaseFile = document.LoadCase().File();
    return context;
}

// A protocol that could not be written completely is not shown as if it were.
void FinishProtocol(ProtocolFile& protocol) {
    if (!protocol.Close())
        throw BalkorError(kProtocolOpenError);
}

void EndEditor(QPointer<QProcess>& handle) {
    if (!handle)
        return;
    QProcess* process = handle;
    handle = nullptr;
    if (process->state() != QProcess::NotRunning) {
        process->kill();
        process->waitForFinished(kEditorEndTimeoutMs);
    }
    delete process;
}

} // namespace

QString BundledViewerPath() {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') +
           QString::fromUtf8(kBundledViewerName);
}

QStringList EditorArguments(const QString& program, const QString& fileName, const QString& kind) {
    const bool bundled = QDir::cleanPath(QFileInfo(program).absoluteFilePath()) ==
                         QDir::cleanPath(BundledViewerPath());
    if (kind.isEmpty() || !bundled)
        return {fileName};
    return {QStringLiteral("--kind"), kind, QStringLiteral("--"), fileName};
}

void TMainForm::ReadConfiguration() {
    if (!configFile.isEmpty())
        ReadSettings(SettingsTree(), configFile.toStdString());
}

void TMainForm::ResultsDiscarded() {
    CloseEditors();
    RefreshChildWindows(kRefreshRefit);
}

void TMainForm::Berechnen1Click() {
    document.CommitPendingEdits();
    CloseResultsEditor();
    CalcResult result;
    try {
        result = solutions_.Calculate(SolForm);
    } catch (...) {
        // The windows show what the abandoned run left: no results.
        RefreshChildWindows(kRefreshRefit);
        throw;
    }
    if (!result.ok) {
        // The input window of the half at fault shows the page, the cell and
        // the message of its check.
        if (result.inputError)
            ShowInputWindow(result.check.loadWindow)->ShowCheck();
        else
            ShowCalculationError(result);
    }
    RefreshChildWindows(kRefreshRefit);
}

void TMainForm::ShowCalculationError(const CalcResult& result) {
    dialogs_.ShowMessage(this, QString::fromStdString(result.message),
                         QString::fromStdString(result.title), MessageIcon::Warning);
    // The keyboard goes back to the status window, whose "Fehler" Enter
    // presses; the box may have opened before the window manager gave the
    // status window the focus, and would hand it back to the main window.
    if (SolForm->isVisible())
        SolForm->activateWindow();
}

void TMainForm::Eingabeprotocoll1Click() {
    document.CommitPendingEdits();
    ProtocolFile protocol = document.tempFiles.MakeProtocolFile();
    WriteInputProtocol(input_, protocol.file, MakeContext(document));
    FinishProtocol(protocol);
    CloseInputEditor();
    StartEditor(inputEditor, QString::fromStdString(protocol.name),
                QStringLiteral("Eingabeprotokoll"));
}

void TMainForm::Ergebnisse1Click() {
    document.CommitPendingEdits();
    if (!document.ResultsValid()) {
        dialogs_.ShowMessage(this, QString::fromUtf8(kNoResultsMessage),
                             QStringLiteral("Information"), MessageIcon::Information);
        return;
    }
    ProtocolFile protocol = document.tempFiles.MakeProtocolFile();
    WriteResultsProtocol(input_, solutions_, protocol.file, MakeContext(document));
    FinishProtocol(protocol);
    CloseResultsEditor();
    StartEditor(resultsEditor, QString::fromStdString(protocol.name), QStringLiteral("Ergebnisse"));
}

void TMainForm::StartEditor(QPointer<QProcess>& handle, const QString& fileName,
                            const QString& kind) {
    // The bundled viewer is looked up next to the program; the setting keeps
    // the full path from then on.
    if (EditorProgram == kBundledViewerName)
        EditorProgram = BundledViewerPath().toStdString();
    const QString program = QString::fromStdString(EditorProgram);
    auto* process = new QProcess(this);
    // The editor's output is not read; it must never block on a full pipe.
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start(program, EditorArguments(program, fileName, kind));
    if (!process->waitForStarted(kEditorStartTimeoutMs)) {
        delete process;
        dialogs_.ShowMessage(
            this, QStringLiteral("Programm '%1' kann nicht ausgeführt werden").arg(program),
            QStringLiteral("Fehler"), MessageIcon::Error);
        return;
    }
    handle = process;
}

void TMainForm::CloseInputEditor() {
    EndEditor(inputEditor);
}

void TMainForm::CloseResultsEditor() {
    EndEditor(resultsEditor);
}

void TMainForm::CloseEditors() {
    CloseInputEditor();
    CloseResultsEditor();
}

void TMainForm::FormClose() {
    if (closed_)
        return;
    closed_ = true;
    if (!configFile.isEmpty())
        WriteSettingsFile(SettingsTree(), configFile.toStdString());
    CloseEditors();
    document.Close();
    if (HelpForm)
        HelpForm->close();
}
