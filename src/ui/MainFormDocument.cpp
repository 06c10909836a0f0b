// The document state of the main window: the system and the load case, their
// files, change marks and the questions before anything is discarded.
#include "model/InputFiles.h"
#include "model/Tables.h"
#include "ui/FileNameLabel.h"
#include "ui/InputForms.h"
#include "ui/MainForm.h"
#include "ui/UiDialogs.h"

namespace {

const FileDialogSpec kOpenSystemDialog = {QStringLiteral("System öffnen"),
                                          QStringLiteral("Balkor Systemdatei (*.bsy)"),
                                          QStringLiteral("bsy")};
const FileDialogSpec kSaveSystemDialog = {QStringLiteral("System speichern"),
                                          QStringLiteral("Balkor Systemdatei (*.bsy)"),
                                          QStringLiteral("bsy")};
const FileDialogSpec kOpenLoadDialog = {QStringLiteral("Lastfall öffnen"),
                                        QStringLiteral("Balkor Belastung (*.bld)"),
                                        QStringLiteral("bld")};
const FileDialogSpec kSaveLoadDialog = {QStringLiteral("Lastfall speichern"),
                                        QStringLiteral("Balkor Belastung (*.bld)"),
                                        QStringLiteral("bld")};

std::string LocalPath(const QString& path) {
    return path.toStdString();
}

} // namespace

// A "Yes" whose save fails or is cancelled keeps the document: nothing the
// user wanted saved is thrown away.
bool TMainForm::AskSaveSystem() {
    if (!systemModified)
        return true;
    switch (dialogs_.AskYesNoCancel(this, QStringLiteral("Geometrie erst speichern ?"),
                                    QStringLiteral("System geändert"))) {
    case Answer::Cancel:
        return false;
    case Answer::Yes:
        return SaveSystem();
    case Answer::No:
        break;
    }
    return true;
}

bool TMainForm::AskSaveLoadCase() {
    if (!loadModified)
        return true;
    switch (dialogs_.AskYesNoCancel(this, QStringLiteral("Lasteingaben erst speichern ?"),
                                    QStringLiteral("Lasfall geändert"))) {
    case Answer::Cancel:
        return false;
    case Answer::Yes:
        return SaveLoadCase();
    case Answer::No:
        break;
    }
    return true;
}

bool TMainForm::NewSystem() {
    if (!AskSaveSystem())
        return false;
    input_.ResetSystem();
    SystemChanged();
    systemModified = false;
    UpdateMarks();
    SetSystemFile(QString());
    return true;
}

bool TMainForm::NewLoadCase() {
    if (!AskSaveLoadCase())
        return false;
    input_.ResetLoadCase();
    LoadCaseChanged();
    loadModified = false;
    UpdateMarks();
    SetLoadFile(QString());
    return true;
}

void TMainForm::OpenSystem() {
    const QString path = dialogs_.OpenFileName(this, kOpenSystemDialog);
    if (!path.isEmpty())
        OpenSystemFile(path);
}

void TMainForm::OpenSystemFile(const QString& path) {
    if (!NewSystem())
        return;
    SetSystemFile(path);
    const bool loaded = LoadSystemFile(input_, LocalPath(path));
    SystemChanged();
    systemModified = false;
    UpdateMarks();
    if (!loaded)
        dialogs_.ShowMessage(this, QString::fromUtf8(kSystemFileError), QStringLiteral("Fehler"),
                             MessageIcon::Error);
}

bool TMainForm::SaveSystem() {
    if (systemFile.isEmpty())
        return SaveSystemAs();
    if (!SaveSystemFile(input_, LocalPath(systemFile))) {
        dialogs_.ShowMessage(this, QString::fromUtf8(kSystemFileError), QStringLiteral("Fehler"),
                             MessageIcon::Error);
        return false;
    }
    systemModified = false;
    UpdateMarks();
    return true;
}

bool TMainForm::SaveSystemAs() {
    const QString path = dialogs_.SaveFileName(this, kSaveSystemDialog);
    if (path.isEmpty())
        return false;
    SetSystemFile(path);
    return SaveSystem();
}

void TMainForm::SetSystemFile(const QString& path) {
    systemFile = path;
    StaticTextSystem->SetFile(FileNamePart(path), path);
    if (geometryWindow_)
        geometryWindow_->SetName(path);
}

void TMainForm::OpenLoadCase() {
    const QString path = dialogs_.OpenFileName(this, kOpenLoadDialog);
    if (!path.isEmpty())
        OpenLoadCaseFile(path);
}

void TMainForm::OpenLoadCaseFile(const QString& path) {
    if (!NewLoadCase())
        return;
    SetLoadFile(path);
    const bool loaded = LoadLoadCaseFile(input_, LocalPath(path));
    LoadCaseChanged();
    loadModified = false;
    UpdateMarks();
    if (!loaded)
        dialogs_.ShowMessage(this, QString::fromUtf8(kLoadCaseFileError), QStringLiteral("Fehler"),
                             MessageIcon::Error);
}

bool TMainForm::SaveLoadCase() {
    if (loadFile.isEmpty())
        return SaveLoadCaseAs();
    if (!SaveLoadCaseFile(input_, LocalPath(loadFile))) {
        dialogs_.ShowMessage(this, QString::fromUtf8(kLoadCaseFileError), QStringLiteral("Fehler"),
                             MessageIcon::Error);
        return false;
    }
    loadModified = false;
    UpdateMarks();
    return true;
}

bool TMainForm::SaveLoadCaseAs() {
    const QString path = dialogs_.SaveFileName(this, kSaveLoadDialog);
    if (path.isEmpty())
        return false;
    SetLoadFile(path);
    return SaveLoadCase();
}

void TMainForm::SetLoadFile(const QString& path) {
    loadFile = path;
    StaticTextLoad->SetFile(FileNamePart(path), path);
    if (loadWindow_)
        loadWindow_->SetName(path);
}

void TMainForm::SystemChanged() {
    systemModified = true;
    UpdateMarks();
    DiscardResults();
}

void TMainForm::LoadCaseChanged() {
    loadModified = true;
    UpdateMarks();
    DiscardResults();
}

void TMainForm::FileNewItemClick() {
    // The load case is asked about even when the system question was cancelled.
    NewSystem();
    NewLoadCase();
}

void TMainForm::Speichern1Click() {
    SaveSystem();
    SaveLoadCase();
}

// Both questions come first; only when neither is cancelled (and every
// requested save worked) does the program end. Nothing is emptied before.
bool TMainForm::CloseQuery() {
    return AskSaveSystem() && AskSaveLoadCase();
}
