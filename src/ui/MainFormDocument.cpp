// The main window as the document's shell: the document's questions,
// messages and file dialogs through the program's dialogs, its file names and
// change marks in the tool strip and the input windows' captions.
#include "ui/InputForms.h"
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

void TMainForm::ShowFile(const DocumentHalf& half) {
    const bool system = &half.Kind() == &kSystemHalf;
    const QString path = Text(half.File());
    (system ? StaticTextSystem : StaticTextLoad)->SetFile(FileNamePart(path), path);
    if (TInputForm* window = system ? geometryWindow_ : loadWindow_)
        window->SetName(path);
}

// Files opened from the command line count as much as those chosen in a
// dialog; saving the system with F2 leads the load case's dialog beside it.
void TMainForm::FileUsed(const DocumentHalf& half) {
    dialogs_.SetFileFolder(QFileInfo(Text(half.File())).absolutePath());
}

void TMainForm::ShowMark(const DocumentHalf& half) {
    (&half.Kind() == &kSystemHalf ? Image2 : Image1)->setVisible(half.Modified());
}
