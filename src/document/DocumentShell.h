#pragma once

#include <string>

class DocumentHalf;

// The answers of a question.
enum class Answer { Yes, No, Cancel };

// A question of a document command: its text and caption, answered Yes / No
// / Cancel, or Yes / No only.
struct DocumentQuestion {
    std::string text;
    std::string caption;
    bool withCancel = true;
};

enum class DocumentMessageKind { Warning, Error };

// A message of a document command, shown with one OK button.
struct DocumentMessage {
    std::string text;
    std::string caption;
    DocumentMessageKind kind = DocumentMessageKind::Error;
};

// What the document needs of the program around it: its dialogs, and the
// display of the file names, change marks and results. The desktop program's
// main window is one; tests answer with prepared replies.
class DocumentShell {
public:
    virtual ~DocumentShell() = default;
    virtual Answer Ask(const DocumentQuestion& question) = 0;
    virtual void Tell(const DocumentMessage& message) = 0;
    // The path the user chose in the half's open dialog (an existing file)
    // or save dialog (an existing file only after agreeing to overwrite it);
    // empty when cancelled.
    virtual std::string ChooseFileToOpen(const DocumentHalf& half) = 0;
    virtual std::string ChooseFileToSave(const DocumentHalf& half) = 0;
    // The half's file name changed, or its change mark.
    virtual void ShowFile(const DocumentHalf& half) = 0;
    virtual void ShowMark(const DocumentHalf& half) = 0;
    // The half's file was read or written: its folder is where the user
    // works, and the next file dialog opens there.
    virtual void FileUsed(const DocumentHalf& half) = 0;
    // The analysis results were thrown away: what was shown of them goes.
    virtual void ResultsDiscarded() = 0;
    // The project's file, change mark, load cases (their names, order, files
    // and marks) or the current one changed. A program of one load case shows
    // none of it.
    virtual void ShowProject() {}
    // The project file to open or to save as (an existing one only after
    // agreeing to overwrite it); empty when cancelled.
    virtual std::string ChooseProjectFile(bool /*save*/) { return {}; }
};
