// The main window's commands that reach the analysis, the protocols, the
// protocol editors and the settings file.
#include "analysis/SolutionsCont.h"
#include "document/TrafficResults.h"
#include "model/BalkorError.h"
#include "model/Checks.h"
#include "model/Format.h"
#include "model/Tables.h"
#include "project/ProjectAnalysis.h"
#include "project/ProjectProtocol.h"
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
    Tables().Combinations().CommitGridEdit();
    Tables().Envelopes().CommitGridEdit();
    // Combinations and envelopes are checked like the input.
    if (const ProjectCheck check = Tables().Check(); !check.ok) {
        ShowCombinationsWindow()->ShowFault(check);
        return;
    }
    Traffic().Lanes().CommitGridEdit();
    if (const TrafficCheck check = Traffic().Check(); !check.ok) {
        ShowTrafficWindow()->ShowFault(check);
        return;
    }
    CloseResultsEditor();
    CalcResult result;
    try {
        // A project analyses every load case, combination and envelope on
        // copies of the tables; one load case alone is the run of today.
        result = document.SeveralResults() ? document.CalculateProject(SolForm)
                                           : solutions_.Calculate(SolForm);
    } catch (...) {
        // The windows show what the abandoned run left: no results.
        RefreshChildWindows(kRefreshRefit);
        throw;
    }
    if (!result.ok) {
        // The input window of the half at fault shows the page, the cell and
        // the message of its check.
        // A load case of a project is made current first.
        if (result.inputError && result.check.loadWindow && result.failedCase >= 0)
            document.MakeCurrent(result.failedCase);
        if (result.inputError)
            ShowInputWindow(result.check.loadWindow)->ShowCheck();
        else
            ShowCalculationError(result);
    }
    const TrafficResults* traffic = document.TrafficRun();
    SolForm->ShowVehiclePositions(traffic ? static_cast<long>(traffic->run.positions.size()) : 0);
    RefreshChildWindows(kRefreshRefit);
}

void TMainForm::ShowCalculationError(const CalcResult& result) {
    QString message = QString::fromStdString(result.message);
    if (result.failedCase >= 0 && result.failedCase < document.LoadCaseCount())
        message = QStringLiteral("Lastfall %1 (%2):\n")
                      .arg(result.failedCase + 1)
                      .arg(QString::fromStdString(document.LoadCaseAt(result.failedCase).Name())) +
                  message;
    dialogs_.ShowMessage(this, message, QString::fromStdString(result.title), MessageIcon::Warning);
    // The keyboard goes back to the status window, whose "Fehler" Enter
    // presses; the box may have opened before the window manager gave the
    // status window the focus, and would hand it back to the main window.
    if (SolForm->isVisible())
        SolForm->activateWindow();
}

void TMainForm::Eingabeprotocoll1Click() {
    document.CommitPendingEdits();
    ProtocolFile protocol = document.tempFiles.MakeProtocolFile();
    if (document.LoadCaseCount() > 1)
        WriteProjectInputProtocol(protocol.file);
    else
        WriteInputProtocol(input_, protocol.file, MakeContext(document));
    FinishProtocol(protocol);
    CloseInputEditor();
    StartEditor(inputEditor, QString::fromStdString(protocol.name),
                QStringLiteral("Eingabeprotokoll"));
}

// Every load case's input protocol after its title line, as balkor-batch
// writes them.
void TMainForm::WriteProjectInputProtocol(std::FILE* file) {
    InputModel tables;
    tables.CopySystemFrom(input_);
    for (int k = 0; k < document.LoadCaseCount(); ++k) {
        const DocumentHalf& half = document.LoadCaseAt(k);
        std::fputs(Format("%sLastfall %d: %s\n", k ? "\n" : "", k + 1, half.Name().c_str()).c_str(),
                   file);
        tables.CopyLoadCaseFrom(document.LoadCaseAt(k).Tables());
        ProtocolContext context = MakeContext(document);
        context.loadCaseFile = half.File();
        WriteInputProtocol(tables, file, context);
    }
}

void TMainForm::Ergebnisse1Click() {
    document.CommitPendingEdits();
    if (!document.ResultsValid()) {
        dialogs_.ShowMessage(this, QString::fromUtf8(kNoResultsMessage),
                             QStringLiteral("Information"), MessageIcon::Information);
        return;
    }
    ProtocolFile protocol = document.tempFiles.MakeProtocolFile();
    if (ProjectAnalysis* analysis = document.Analysis()) {
        // The protocol of the whole project, as balkor-batch writes it.
        std::vector<std::string> files;
        for (int k = 0; k < document.LoadCaseCount(); ++k)
            files.push_back(document.LoadCaseAt(k).File());
        WriteProjectResultsProtocol(*analysis, protocol.file, MakeContext(document), files);
    } else {
        WriteResultsProtocol(input_, solutions_, protocol.file, MakeContext(document));
    }
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
