#pragma once

#include "document/DocumentShell.h"
#include "document/ProtocolFiles.h"
#include "model/InputContainer.h"

#include <array>
#include <span>
#include <string>

struct InputModel;
class Document;
class SolutionsCont;

// What tells the system from the load case: their tables, files and texts.
struct HalfKind {
    const char* saveQuestion;    // before the half is discarded
    const char* questionCaption; // of that question
    const char* openTitle;       // of the open dialog
    const char* saveTitle;       // of the save dialog and the overwrite question
    const char* filterName;      // the file dialogs' filter
    const char* extension;       // without the dot
    const char* openError;
    const char* writeError;
    const char* fileKind; // "Die Systemdatei": the warning about a file of no such sections
    const char* overwriteQuestion; // %s the file that was not read as this half
    bool (*load)(InputModel& input, const std::string& path, int* sectionsFound);
    bool (*save)(InputModel& input, const std::string& path);
    void (*reset)(InputModel& input);
    // The sections the warning names: those every file of the half holds
    // (not the optional springs).
    std::span<InputContainer* const> (*tables)(const InputModel& input);
};
extern const HalfKind kSystemHalf;
extern const HalfKind kLoadCaseHalf;

// Messages of a failed write; a failed open says kSystemFileError or
// kLoadCaseFileError (model/InputFiles.h).
inline constexpr const char* kSystemWriteError = "Fehler beim Schreiben der Systemdatei";
inline constexpr const char* kLoadCaseWriteError = "Fehler beim Schreiben der Lastdatei";

// One half of the document, the system or a load case: its file, its change
// mark, the question before it is discarded and the commands New, Open, Save
// and Save as on its tables. The questions and dialogs go through the
// document's shell.
class DocumentHalf {
public:
    DocumentHalf(const HalfKind& kind, Document& document);
    DocumentHalf(const DocumentHalf&) = delete;
    DocumentHalf& operator=(const DocumentHalf&) = delete;

    const HalfKind& Kind() const { return kind_; }
    // The full path of the file; empty for a half not yet saved.
    const std::string& File() const { return file_; }
    bool Modified() const { return modified_; }
    void SetModified(bool modified);
    void SetFile(const std::string& path);

    // Empties the half after asking to save it; false when cancelled.
    bool New();
    // Asks for a file in the open dialog and opens it.
    void Open();
    // Opens path after asking to save the half. A file that cannot be read
    // leaves the half empty under the new name; a file without any section
    // of the half is read as an empty half, with a warning.
    void OpenFile(const std::string& path);
    // Writes the half to its file (asking for one when it has none); false
    // when cancelled or failed.
    bool Save();
    // Asks for a file in the save dialog and writes the half to it.
    bool SaveAs();
    // Asks to save a modified half before it is discarded. A "Yes" whose save
    // fails or is cancelled counts as cancelled: nothing the user wanted
    // saved is thrown away.
    bool AskSave();
    // The tables' change notification: the half is marked, the results go.
    void Changed();

private:
    // A file that was opened but not read as this half (it held none of its
    // sections, or could not be read) is not overwritten without asking.
    bool MayOverwrite();

    const HalfKind& kind_;
    Document& document_;
    std::string file_;
    bool modified_ = false;
    bool fileNotRead_ = false;
};

// The document: the system and the load case, the validity of the analysis
// results that were computed from them, and the temporary protocol files of
// the run. It is the tables' observer.
class Document : public DocumentObserver {
public:
    Document(InputModel& input, SolutionsCont& solutions, DocumentShell& shell);
    ~Document() override;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    DocumentHalf& System() { return system_; }
    DocumentHalf& LoadCase() { return loadCase_; }
    const DocumentHalf& System() const { return system_; }
    const DocumentHalf& LoadCase() const { return loadCase_; }
    // Every half, the system first: what New, Save and closing go through.
    std::array<DocumentHalf*, 2> Halves() { return {&system_, &loadCase_}; }

    // "Neu": each half is asked about and emptied, the next one also when an
    // earlier question was cancelled.
    void New();
    // "Speichern": each half is saved.
    void Save();
    // Closing: every question comes first, and only when none was cancelled
    // (and every requested save worked) may the program end. Nothing is
    // emptied before.
    bool CloseQuery();
    // The end of the run: the temporary protocol files are deleted.
    void Close();

    void SystemChanged() override { system_.Changed(); }
    void LoadCaseChanged() override { loadCase_.Changed(); }
    // The analysis results are thrown away, and what showed them.
    void DiscardResults();
    bool ResultsValid() const;
    // Stores an edit still pending in a table's grid, so that a command reads
    // what the user sees; its change discards the results as typing does.
    void CommitPendingEdits();

    InputModel& Input() { return input_; }
    DocumentShell& Shell() { return shell_; }

    TempFileList tempFiles;

private:
    InputModel& input_;
    SolutionsCont& solutions_;
    DocumentShell& shell_;
    DocumentHalf system_;
    DocumentHalf loadCase_;
};
