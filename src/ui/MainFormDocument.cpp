// The main window as the document's shell: the document's questions,
// messages and file dialogs through the program's dialogs, its file names and
// change marks in the tool strip and the input windows' captions.
#include "ui/InputForms.h"
#include "ui/LoadCasesForm.h"
#include "ui/MainForm.h"
#include "ui/UiDialogs.h"

#include <QFileInfo>

namespace {

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

FileDialogSpec FileDialog(const HalfKind& kind, const char* title) {
    const QString extension = QString::fromUtf8(kind.extension);
    return {QString::fromUtf8(title),
            QStringLiteral("%1 (*.%2)").arg(QString::fromUtf8(kind.filterName), extension),
            extension};
}

} // namespace

QString TMainForm::SystemFile() const {
    return Text(document.System().File());
}

QString TMainForm::LoadFile() const {
    return Text(document.LoadCase().File());
}

Answer TMainForm::Ask(const DocumentQuestion& question) {
    if (question.withCancel)
        return dialogs_.AskYesNoCancel(this, Text(question.text), Text(question.caption));
    return dialogs_.AskYesNo(this, Text(question.text), Text(question.caption));
}

void TMainForm::Tell(const DocumentMessage& message) {
    dialogs_.ShowMessage(this, Text(message.text), Text(message.caption),
                         message.kind == DocumentMessageKind::Warning ? MessageIcon::Warning
                                                                      : MessageIcon::Error);
}

std::string TMainForm::ChooseFileToOpen(const DocumentHalf& half) {
    return dialogs_.OpenFileName(this, FileDialog(half.Kind(), half.Kind().openTitle))
        .toStdString();
}

std::string TMainForm::ChooseFileToSave(const DocumentHalf& half) {
    return dialogs_.SaveFileName(this, FileDialog(half.Kind(), half.Kind().saveTitle))
        .toStdString();
}

// Only the current load case is shown in the tool strip and the load window;
// the window "Lastfälle" lists them all.
void TMainForm::ShowFile(const DocumentHalf& half) {
    const bool system = &half.Kind() == &kSystemHalf;
    if (!system && &half != &document.LoadCase())
        return;
    const QString path = Text(half.File());
    (system ? StaticTextSystem : StaticTextLoad)->SetFile(FileNamePart(path), path);
    if (TInputForm* window = system ? geometryWindow_ : loadWindow_) {
        window->SetName(path);
        if (!system && document.IsProject()) {
            window->SetCaption(path, LoadCaseCaption());
            loadCaptionLabelled_ = true;
        }
    }
}

QString TMainForm::LoadCaseCaption() const {
    const int k = document.CurrentLoadCase();
    return QStringLiteral("Lastfall %1 (%2)").arg(k + 1).arg(Text(document.LoadCase().Name()));
}

void TMainForm::ShowProject() {
    const bool project = document.IsProject();
    const QString path = Text(document.ProjectFile());
    StaticTextProject->SetFile(path.isEmpty() ? QStringLiteral("(neu)") : FileNamePart(path), path);
    StaticTextProject->setVisible(project);
    Image3->setVisible(project && document.ProjectModified());
    // Another load case became current: the load window's undo steps name
    // the records of the one before.
    if (shownLoadCase_ != &document.LoadCase()) {
        shownLoadCase_ = &document.LoadCase();
        if (TLoadInputForm* window = LoadWindow())
            window->History().Clear();
    }
    // The caption names the load case while there is a project; a program of
    // one load case keeps the caption of today.
    if (TInputForm* window = loadWindow_; window && (project || loadCaptionLabelled_)) {
        window->SetCaption(Text(document.LoadCase().File()),
                           project ? LoadCaseCaption() : QString());
        loadCaptionLabelled_ = project;
    }
    if (loadCasesWindow_)
        loadCasesWindow_->ShowLoadCases();
    // A project opened, a load case added or removed: the tables of the
    // window "Kombinationen" follow.
    if (projectTables_ && projectTables_->Follow() && combinationsWindow_)
        combinationsWindow_->RebuildCombinations();
    // The window "Verkehr" as well, whose rows stay the grid's.
    if (trafficTables_ && trafficTables_->Follow() && trafficWindow_)
        trafficWindow_->ShowSettings();
}

std::string TMainForm::ChooseProjectFile(bool save) {
    const FileDialogSpec spec{save ? QStringLiteral("Projekt speichern")
                                   : QStringLiteral("Projekt öffnen"),
                              QStringLiteral("Balkor Projekt (*.bpj)"), QStringLiteral("bpj")};
    return (save ? dialogs_.SaveFileName(this, spec) : dialogs_.OpenFileName(this, spec))
        .toStdString();
}

void TMainForm::OpenFiles(const QString& systemFile, const QStringList& loadCaseFiles) {
    std::vector<std::string> files;
    for (const QString& file : loadCaseFiles)
        files.push_back(file.toStdString());
    document.OpenFiles(systemFile.toStdString(), files);
}

// Files opened from the command line count as much as those chosen in a
// dialog; saving the system with F2 leads the load case's dialog beside it.
void TMainForm::FileUsed(const DocumentHalf& half) {
    dialogs_.SetFileFolder(QFileInfo(Text(half.File())).absolutePath());
}

void TMainForm::ShowMark(const DocumentHalf& half) {
    const bool system = &half.Kind() == &kSystemHalf;
    if (!system && &half != &document.LoadCase())
        return;
    (system ? Image2 : Image1)->setVisible(half.Modified());
}
