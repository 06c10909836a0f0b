#pragma once

#include "document/DocumentShell.h"
#include "document/ProtocolFiles.h"
#include "model/InputContainer.h"
#include "project/Project.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

struct InputModel;
class CalcStatus;
class Document;
class ProjectAnalysis;
class SolutionsCont;
struct CalcResult;
struct TrafficResults;

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

// The project's messages and questions.
inline constexpr const char* kProjectSaveQuestion = "Projekt erst speichern ?";
inline constexpr const char* kProjectQuestionCaption = "Projekt geändert";
inline constexpr const char* kRemoveLoadCaseQuestion =
    "Lastfall %d (%s) ist geändert. Trotzdem entfernen ?";
inline constexpr const char* kLastLoadCaseMessage =
    "Das Projekt braucht mindestens einen Lastfall.";

// One half of the document, the system or a load case: its file, its change
// mark, the question before it is discarded and the commands New, Open, Save
// and Save as on its tables. The questions and dialogs go through the
// document's shell. The current load case's tables are the program's input
// model, which the windows edit; every other load case keeps its own.
class DocumentHalf {
public:
    DocumentHalf(const HalfKind& kind, Document& document);
    ~DocumentHalf();
    DocumentHalf(const DocumentHalf&) = delete;
    DocumentHalf& operator=(const DocumentHalf&) = delete;

    const HalfKind& Kind() const { return kind_; }
    // The full path of the file; empty for a half not yet saved.
    const std::string& File() const { return file_; }
    bool Modified() const { return modified_; }
    void SetModified(bool modified);
    void SetFile(const std::string& path);
    // A load case's name in the project ("Eigengewicht"); the system has none.
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    // The tables the half's commands read and write.
    InputModel& Tables();

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
    friend class Document;

    const HalfKind& kind_;
    Document& document_;
    std::string file_;
    std::string name_;
    bool modified_ = false;
    bool fileNotRead_ = false;
    std::unique_ptr<InputModel> store_; // a load case that is not the current one
};

// The document: the system and the project's load cases (one of them
// current), the project's file, combinations and envelopes, the validity of
// the analysis results that were computed from them, and the temporary
// protocol files of the run. It is the tables' observer. A document of one
// load case without a project file, combinations or envelopes is the program
// of one load case: no question or result of the project appears.
class Document : public DocumentObserver {
public:
    Document(InputModel& input, SolutionsCont& solutions, DocumentShell& shell);
    ~Document() override;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    DocumentHalf& System() { return system_; }
    // The current load case.
    DocumentHalf& LoadCase() { return *loadCases_[static_cast<size_t>(current_)]; }
    const DocumentHalf& System() const { return system_; }
    const DocumentHalf& LoadCase() const { return *loadCases_[static_cast<size_t>(current_)]; }
    // Every half, the system first, then the load cases in their order: what
    // New, Save and closing go through.
    std::vector<DocumentHalf*> Halves();

    int LoadCaseCount() const { return static_cast<int>(loadCases_.size()); }
    DocumentHalf& LoadCaseAt(int k) { return *loadCases_[static_cast<size_t>(k)]; }
    const DocumentHalf& LoadCaseAt(int k) const { return *loadCases_[static_cast<size_t>(k)]; }
    int CurrentLoadCase() const { return current_; }
    // The position of a load case's half, -1 for the system.
    int IndexOf(const DocumentHalf& half) const;
    // The load case k becomes the one the windows edit (no change mark).
    void MakeCurrent(int k);
    // A new empty load case at the end, made current.
    void AddLoadCase();
    // A load case read from path at the end, made current.
    void AddLoadCaseFile(const std::string& path);
    // Removes load case k after asking when it is modified; its factors and
    // envelope members go with it. False when cancelled or the last one.
    bool RemoveLoadCase(int k);
    void RenameLoadCase(int k, const std::string& name);

    // The project: its file (empty when not saved as one), its change mark
    // (only of a project: IsProject) and its combinations and envelopes.
    const std::string& ProjectFile() const { return projectFile_; }
    bool ProjectModified() const { return projectModified_ && IsProject(); }
    bool IsProject() const;
    // More than one load case, combinations, envelopes or traffic: what the
    // analysis of a project serves.
    bool SeveralResults() const;
    ProjectModel Project() const;
    const std::vector<Combination>& Combinations() const { return combinations_; }
    const std::vector<Envelope>& Envelopes() const { return envelopes_; }
    // New combinations and envelopes mark the project and discard the results.
    void SetCombinations(std::vector<Combination> combinations, std::vector<Envelope> envelopes);
    // The project's traffic: a vehicle moved along lanes. A different one
    // marks the project and discards the results.
    const TrafficModel& Traffic() const { return traffic_; }
    void SetTraffic(TrafficModel traffic);
    // "Projekt öffnen…": the dialog, then OpenProjectFile.
    void OpenProject();
    // Reads the project file first (a bad one changes nothing), then asks
    // about everything modified and opens the system and the load cases.
    void OpenProjectFile(const std::string& path);
    // A system and load-case files in their order, as from the command line.
    void OpenFiles(const std::string& systemFile, const std::vector<std::string>& loadCaseFiles);
    // "Projekt speichern": every half, then the project file (asking for one
    // when there is none); false when cancelled or failed.
    bool SaveProject();
    bool SaveProjectAs();

    // "Neu": each half is asked about and emptied, the next one also when an
    // earlier question was cancelled; the load cases and the project are
    // asked about together and stay as they are when one of them is
    // cancelled, else one empty load case remains.
    void New();
    // "Speichern": each half is saved, and a project file that was modified.
    void Save();
    // Closing: every question comes first, and only when none was cancelled
    // (and every requested save worked) may the program end. Nothing is
    // emptied before.
    bool CloseQuery();
    // The end of the run: the temporary protocol files are deleted.
    void Close();

    void SystemChanged() override { system_.Changed(); }
    void LoadCaseChanged() override { LoadCase().Changed(); }
    // The analysis results are thrown away, and what showed them.
    void DiscardResults();
    bool ResultsValid() const;
    // The analysis of every load case, combination and envelope on a copy of
    // the tables; the results stay in Analysis() until a change.
    CalcResult CalculateProject(CalcStatus* status);
    ProjectAnalysis* Analysis() { return analysis_.get(); }
    // The traffic's results of the last calculation; null without traffic
    // or results.
    const TrafficResults* TrafficRun() const { return trafficResults_.get(); }
    TrafficResults* TrafficRun() { return trafficResults_.get(); }
    // Counts the changes of the results: what was drawn from them is the
    // same while it is.
    long ResultsGeneration() const { return generation_; }
    // Stores an edit still pending in a table's grid, so that a command reads
    // what the user sees; its change discards the results as typing does.
    void CommitPendingEdits();

    InputModel& Input() { return input_; }
    DocumentShell& Shell() { return shell_; }

    TempFileList tempFiles;

private:
    friend class DocumentHalf;
    void MarkProject();
    void SetProjectFile(const std::string& path);
    // The questions of the load cases and the project; false when one was
    // cancelled. Asked, a half counts as unmodified.
    bool AskSaveProjectPart();
    // One empty current load case, no project file, combinations or envelopes.
    void ResetProject();
    std::unique_ptr<DocumentHalf> MakeLoadCase();
    bool WriteProject();

    InputModel& input_;
    SolutionsCont& solutions_;
    DocumentShell& shell_;
    DocumentHalf system_;
    std::vector<std::unique_ptr<DocumentHalf>> loadCases_;
    int current_ = 0;
    std::string projectFile_;
    bool projectModified_ = false;
    long generation_ = 0;
    std::vector<Combination> combinations_;
    std::vector<Envelope> envelopes_;
    std::unique_ptr<InputModel> analysisInput_;
    std::unique_ptr<ProjectAnalysis> analysis_;
    TrafficModel traffic_;
    std::unique_ptr<TrafficResults> trafficResults_;
};

// A load case named by its file: the file name without its extension; "LF k"
// (from 1) without one.
std::string LoadCaseNameOf(const std::string& file, int k);
