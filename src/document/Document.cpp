#include "document/Document.h"

#include "analysis/SolutionsCont.h"
#include "model/Format.h"
#include "model/InputFiles.h"
#include "model/Tables.h"

#include <filesystem>

namespace {

void ResetSystem(InputModel& input) {
    input.ResetSystem();
}

void ResetLoadCase(InputModel& input) {
    input.ResetLoadCase();
}

std::span<InputContainer* const> SystemTables(const InputModel& input) {
    return input.systemTables;
}

std::span<InputContainer* const> LoadTables(const InputModel& input) {
    return input.loadTables;
}

// Overwriting loses nothing where there is no file or an empty one.
bool HoldsSomething(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status))
        return false;
    return !std::filesystem::is_regular_file(status) || std::filesystem::file_size(path, error) > 0;
}

} // namespace

const HalfKind kSystemHalf = {
    "Geometrie erst speichern ?",
    "System geändert",
    "System öffnen",
    "System speichern",
    "Balkor Systemdatei",
    "bsy",
    kSystemFileError,
    kSystemWriteError,
    "Die Systemdatei",
    "Die Datei %s wurde nicht als System gelesen. Soll sie durch das System ersetzt werden ?",
    LoadSystemFile,
    SaveSystemFile,
    ResetSystem,
    SystemTables,
};

const HalfKind kLoadCaseHalf = {
    "Lasteingaben erst speichern ?",
    "Lasfall geändert",
    "Lastfall öffnen",
    "Lastfall speichern",
    "Balkor Belastung",
    "bld",
    kLoadCaseFileError,
    kLoadCaseWriteError,
    "Die Lastdatei",
    "Die Datei %s wurde nicht als Lastfall gelesen. Soll sie durch den Lastfall ersetzt werden ?",
    LoadLoadCaseFile,
    SaveLoadCaseFile,
    ResetLoadCase,
    LoadTables,
};

// ---- one half ----------------------------------------------------------------------

DocumentHalf::DocumentHalf(const HalfKind& kind, Document& document)
    : kind_(kind), document_(document) {}

void DocumentHalf::SetModified(bool modified) {
    modified_ = modified;
    document_.Shell().ShowMark(*this);
}

void DocumentHalf::SetFile(const std::string& path) {
    file_ = path;
    fileNotRead_ = false;
    document_.Shell().ShowFile(*this);
}

void DocumentHalf::Changed() {
    SetModified(true);
    document_.DiscardResults();
}

bool DocumentHalf::AskSave() {
    if (!modified_)
        return true;
    switch (document_.Shell().Ask({kind_.saveQuestion, kind_.questionCaption})) {
    case Answer::Cancel:
        return false;
    case Answer::Yes:
        return Save();
    case Answer::No:
        break;
    }
    return true;
}

bool DocumentHalf::New() {
    if (!AskSave())
        return false;
    kind_.reset(document_.Input());
    Changed();
    SetModified(false);
    SetFile("");
    return true;
}

void DocumentHalf::Open() {
    const std::string path = document_.Shell().ChooseFileToOpen(*this);
    if (!path.empty())
        OpenFile(path);
}

void DocumentHalf::OpenFile(const std::string& path) {
    if (!New())
        return;
    SetFile(path);
    int sections = 0;
    const bool loaded = kind_.load(document_.Input(), path, &sections);
    Changed();
    SetModified(false);
    fileNotRead_ = !loaded || sections == 0;
    if (loaded)
        document_.Shell().FileUsed(*this);
    if (!loaded)
        document_.Shell().Tell({kind_.openError, "Fehler"});
    else if (sections == 0)
        document_.Shell().Tell(
            {MissingSectionsWarning(kind_.fileKind, kind_.tables(document_.Input()), path),
             "Warnung", DocumentMessageKind::Warning});
}

bool DocumentHalf::MayOverwrite() {
    if (!fileNotRead_ || !HoldsSomething(file_))
        return true;
    const DocumentQuestion question{Format(kind_.overwriteQuestion, file_.c_str()), kind_.saveTitle,
                                    false};
    return document_.Shell().Ask(question) == Answer::Yes;
}

bool DocumentHalf::Save() {
    if (file_.empty())
        return SaveAs();
    if (!MayOverwrite())
        return false;
    if (!kind_.save(document_.Input(), file_)) {
        document_.Shell().Tell({kind_.writeError, "Fehler"});
        return false;
    }
    fileNotRead_ = false;
    SetModified(false);
    document_.Shell().FileUsed(*this);
    return true;
}

bool DocumentHalf::SaveAs() {
    const std::string path = document_.Shell().ChooseFileToSave(*this);
    if (path.empty())
        return false;
    SetFile(path);
    return Save();
}

// ---- the document ------------------------------------------------------------------

Document::Document(InputModel& input, SolutionsCont& solutions, DocumentShell& shell)
    : input_(input), solutions_(solutions), shell_(shell), system_(kSystemHalf, *this),
      loadCase_(kLoadCaseHalf, *this) {
    input_.SetObserver(this);
}

Document::~Document() {
    input_.SetObserver(nullptr);
}

void Document::New() {
    for (DocumentHalf* half : Halves())
        half->New();
}

void Document::Save() {
    for (DocumentHalf* half : Halves())
        half->Save();
}

bool Document::CloseQuery() {
    for (DocumentHalf* half : Halves())
        if (!half->AskSave())
            return false;
    return true;
}

void Document::Close() {
    tempFiles.DeleteAll();
}

void Document::DiscardResults() {
    solutions_.Clear();
    shell_.ResultsDiscarded();
}

bool Document::ResultsValid() const {
    return solutions_.resultsValid != 0;
}

void Document::CommitPendingEdits() {
    for (InputContainer* table : input_.systemFileTables)
        table->CommitGridEdit();
    for (InputContainer* table : input_.loadTables)
        table->CommitGridEdit();
}
