#include "document/Document.h"

#include "analysis/SolutionsCont.h"
#include "document/TrafficResults.h"
#include "document/TrafficTable.h"
#include "model/Format.h"
#include "model/InputFiles.h"
#include "model/Tables.h"
#include "project/ProjectAnalysis.h"
#include "project/ProjectFile.h"
#include "settings/TextEncoding.h"

#include <algorithm>
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

DocumentHalf::~DocumentHalf() = default;

InputModel& DocumentHalf::Tables() {
    return store_ ? *store_ : document_.Input();
}

void DocumentHalf::SetModified(bool modified) {
    modified_ = modified;
    document_.Shell().ShowMark(*this);
    if (&kind_ == &kLoadCaseHalf)
        document_.Shell().ShowProject();
}

void DocumentHalf::SetFile(const std::string& path) {
    const bool moved = path != file_;
    file_ = path;
    fileNotRead_ = false;
    document_.Shell().ShowFile(*this);
    // The project file names its load cases' files.
    if (moved && &kind_ == &kLoadCaseHalf)
        document_.MarkProject();
}

void DocumentHalf::Changed() {
    SetModified(true);
    document_.DiscardResults();
}

bool DocumentHalf::AskSave() {
    if (!modified_)
        return true;
    std::string text = kind_.saveQuestion;
    // Among several load cases the question names the one it is about.
    if (&kind_ == &kLoadCaseHalf && document_.LoadCaseCount() > 1)
        text = Format("Lasteingaben von Lastfall %d (%s) erst speichern ?",
                      document_.IndexOf(*this) + 1, name_.c_str());
    switch (document_.Shell().Ask({text, kind_.questionCaption})) {
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
    kind_.reset(Tables());
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
    const bool loaded = kind_.load(Tables(), path, &sections);
    Changed();
    SetModified(false);
    fileNotRead_ = !loaded || sections == 0;
    if (loaded)
        document_.Shell().FileUsed(*this);
    if (!loaded)
        document_.Shell().Tell({kind_.openError, "Fehler"});
    else if (sections == 0)
        document_.Shell().Tell(
            {MissingSectionsWarning(kind_.fileKind, kind_.tables(Tables()), path), "Warnung",
             DocumentMessageKind::Warning});
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
    if (!kind_.save(Tables(), file_)) {
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

std::string LoadCaseNameOf(const std::string& file, int k) {
    const std::string stem = std::filesystem::path(file).stem().string();
    if (stem.empty())
        return "LF" + std::to_string(k + 1);
    return IsValidUtf8(stem) ? stem : Windows1252ToUtf8(stem);
}

Document::Document(InputModel& input, SolutionsCont& solutions, DocumentShell& shell)
    : input_(input), solutions_(solutions), shell_(shell), system_(kSystemHalf, *this) {
    loadCases_.push_back(MakeLoadCase());
    input_.SetObserver(this);
}

Document::~Document() {
    input_.SetObserver(nullptr);
}

std::unique_ptr<DocumentHalf> Document::MakeLoadCase() {
    auto half = std::make_unique<DocumentHalf>(kLoadCaseHalf, *this);
    half->name_ = "LF" + std::to_string(loadCases_.size() + 1);
    return half;
}

std::vector<DocumentHalf*> Document::Halves() {
    std::vector<DocumentHalf*> halves{&system_};
    for (const auto& half : loadCases_)
        halves.push_back(half.get());
    return halves;
}

int Document::IndexOf(const DocumentHalf& half) const {
    for (size_t k = 0; k < loadCases_.size(); ++k)
        if (loadCases_[k].get() == &half)
            return static_cast<int>(k);
    return -1;
}

bool Document::IsProject() const {
    return !projectFile_.empty() || SeveralResults();
}

bool Document::SeveralResults() const {
    return loadCases_.size() > 1 || !combinations_.empty() || !envelopes_.empty() ||
           traffic_.Active();
}

void Document::MarkProject() {
    projectModified_ = true;
    shell_.ShowProject();
}

void Document::SetProjectFile(const std::string& path) {
    projectFile_ = path;
    shell_.ShowProject();
}

void Document::MakeCurrent(int k) {
    if (k == current_ || k < 0 || k >= LoadCaseCount())
        return;
    CommitPendingEdits();
    DocumentHalf& old = LoadCase();
    old.store_ = std::make_unique<InputModel>();
    old.store_->CopyLoadCaseFrom(input_);
    DocumentHalf& next = LoadCaseAt(k);
    input_.CopyLoadCaseFrom(*next.store_);
    next.store_.reset();
    // The grids show the new rows; the pending edit was stored above.
    for (InputContainer* table : input_.loadTables)
        if (TableGrid* grid = table->Grid()) {
            grid->SetRowCount(std::max(table->UsedRowCount(), 40) + grid->FixedRows());
            grid->Repaint();
        }
    current_ = k;
    shell_.ShowFile(next);
    shell_.ShowMark(next);
    shell_.ShowProject();
}

void Document::AddLoadCase() {
    auto half = MakeLoadCase();
    // Empty tables of its own until it becomes current.
    half->store_ = std::make_unique<InputModel>();
    loadCases_.push_back(std::move(half));
    DiscardResults();
    MarkProject();
    MakeCurrent(LoadCaseCount() - 1);
}

void Document::AddLoadCaseFile(const std::string& path) {
    AddLoadCase();
    LoadCase().name_ = LoadCaseNameOf(path, current_);
    LoadCase().OpenFile(path);
}

bool Document::RemoveLoadCase(int k) {
    if (k < 0 || k >= LoadCaseCount())
        return false;
    if (LoadCaseCount() == 1) {
        shell_.Tell({kLastLoadCaseMessage, "Information", DocumentMessageKind::Warning});
        return false;
    }
    DocumentHalf& half = LoadCaseAt(k);
    if (half.Modified() && shell_.Ask({Format(kRemoveLoadCaseQuestion, k + 1, half.Name().c_str()),
                                       kLoadCaseHalf.questionCaption, false}) != Answer::Yes)
        return false;
    if (k == current_)
        MakeCurrent(k == 0 ? 1 : k - 1);
    loadCases_.erase(loadCases_.begin() + k);
    if (current_ > k)
        --current_;
    for (Combination& combination : combinations_)
        if (static_cast<size_t>(k) < combination.factors.size())
            combination.factors.erase(combination.factors.begin() + k);
    for (Envelope& envelope : envelopes_) {
        for (EnvelopeTerm& term : envelope.terms) {
            std::erase_if(term.members,
                          [k](const EnvelopeMember& m) { return !m.combination && m.index == k; });
            for (EnvelopeMember& member : term.members)
                if (!member.combination && member.index > k)
                    --member.index;
        }
        std::erase_if(envelope.terms, [](const EnvelopeTerm& t) { return t.members.empty(); });
    }
    DiscardResults();
    MarkProject();
    shell_.ShowFile(LoadCase());
    shell_.ShowMark(LoadCase());
    return true;
}

void Document::RenameLoadCase(int k, const std::string& name) {
    if (k < 0 || k >= LoadCaseCount() || LoadCaseAt(k).name_ == name)
        return;
    LoadCaseAt(k).name_ = name;
    MarkProject();
    // The protocols and pictures name it.
    DiscardResults();
}

ProjectModel Document::Project() const {
    ProjectModel project;
    project.systemFile = system_.File();
    for (const auto& half : loadCases_)
        project.loadCases.push_back({half->Name(), half->File()});
    project.combinations = combinations_;
    for (Combination& combination : project.combinations)
        combination.factors.resize(loadCases_.size(), 0.0);
    project.envelopes = envelopes_;
    project.traffic = traffic_;
    return project;
}

void Document::SetCombinations(std::vector<Combination> combinations,
                               std::vector<Envelope> envelopes) {
    combinations_ = std::move(combinations);
    envelopes_ = std::move(envelopes);
    DiscardResults();
    MarkProject();
}

void Document::SetTraffic(TrafficModel traffic) {
    if (SameTraffic(traffic, traffic_))
        return;
    traffic_ = std::move(traffic);
    DiscardResults();
    MarkProject();
}

bool Document::AskSaveProjectPart() {
    for (const auto& half : loadCases_)
        if (!half->AskSave())
            return false;
    if (ProjectModified()) {
        switch (shell_.Ask({kProjectSaveQuestion, kProjectQuestionCaption})) {
        case Answer::Cancel:
            return false;
        case Answer::Yes:
            if (!SaveProject())
                return false;
            break;
        case Answer::No:
            break;
        }
    }
    return true;
}

void Document::ResetProject() {
    if (current_ != 0)
        MakeCurrent(0);
    loadCases_.erase(loadCases_.begin() + 1, loadCases_.end());
    combinations_.clear();
    envelopes_.clear();
    traffic_ = TrafficModel();
    DocumentHalf& half = LoadCase();
    half.name_ = "LF1";
    kLoadCaseHalf.reset(input_);
    half.Changed();
    half.SetModified(false);
    half.SetFile("");
    projectFile_.clear();
    projectModified_ = false;
    shell_.ShowProject();
}

void Document::New() {
    system_.New();
    if (AskSaveProjectPart())
        ResetProject();
}

void Document::Save() {
    for (DocumentHalf* half : Halves())
        half->Save();
    // A project that has its file keeps it up to date with the files.
    if (!projectFile_.empty() && ProjectModified())
        WriteProject();
}

bool Document::CloseQuery() {
    if (!system_.AskSave())
        return false;
    return AskSaveProjectPart();
}

void Document::OpenProject() {
    const std::string path = shell_.ChooseProjectFile(false);
    if (!path.empty())
        OpenProjectFile(path);
}

void Document::OpenProjectFile(const std::string& path) {
    ProjectModel project;
    std::string error;
    if (!LoadProjectFile(path, project, error)) {
        shell_.Tell({error, "Fehler"});
        return;
    }
    if (!system_.AskSave() || !AskSaveProjectPart())
        return;
    // Each was asked once; opening asks no more.
    projectModified_ = false;
    system_.SetModified(false);
    for (const auto& half : loadCases_)
        half->SetModified(false);
    std::vector<std::string> files;
    for (const LoadCaseEntry& entry : project.loadCases)
        files.push_back(entry.file);
    OpenFiles(project.systemFile, files);
    for (size_t k = 0; k < project.loadCases.size(); ++k)
        loadCases_[k]->name_ = project.loadCases[k].name;
    combinations_ = project.combinations;
    envelopes_ = project.envelopes;
    traffic_ = project.traffic;
    projectFile_ = path;
    projectModified_ = false;
    shell_.ShowProject();
}

void Document::OpenFiles(const std::string& systemFile,
                         const std::vector<std::string>& loadCaseFiles) {
    if (!systemFile.empty())
        system_.OpenFile(systemFile);
    if (loadCaseFiles.empty())
        return;
    if (!AskSaveProjectPart())
        return;
    ResetProject();
    LoadCase().name_ = LoadCaseNameOf(loadCaseFiles.front(), 0);
    LoadCase().OpenFile(loadCaseFiles.front());
    for (size_t k = 1; k < loadCaseFiles.size(); ++k)
        AddLoadCaseFile(loadCaseFiles[k]);
    MakeCurrent(0);
    projectModified_ = false;
    shell_.ShowProject();
}

bool Document::WriteProject() {
    if (!SaveProjectFile(Project(), projectFile_)) {
        shell_.Tell({kProjectWriteError, "Fehler"});
        return false;
    }
    projectModified_ = false;
    shell_.ShowProject();
    return true;
}

bool Document::SaveProject() {
    if (projectFile_.empty())
        return SaveProjectAs();
    // The project file names every file: each half is written first.
    for (DocumentHalf* half : Halves())
        if ((half->Modified() || half->File().empty()) && !half->Save())
            return false;
    return WriteProject();
}

bool Document::SaveProjectAs() {
    const std::string path = shell_.ChooseProjectFile(true);
    if (path.empty())
        return false;
    SetProjectFile(path);
    return SaveProject();
}

void Document::Close() {
    tempFiles.DeleteAll();
}

void Document::DiscardResults() {
    ++generation_;
    solutions_.Clear();
    analysis_.reset();
    analysisInput_.reset();
    trafficResults_.reset();
    shell_.ResultsDiscarded();
}

bool Document::ResultsValid() const {
    if (analysis_)
        return true;
    return solutions_.resultsValid != 0;
}

CalcResult Document::CalculateProject(CalcStatus* status) {
    CommitPendingEdits();
    DiscardResults();
    auto input = std::make_unique<InputModel>();
    input->CopySystemFrom(input_);
    std::vector<std::unique_ptr<InputModel>> tables;
    for (const auto& half : loadCases_) {
        auto own = std::make_unique<InputModel>();
        own->CopyLoadCaseFrom(half->Tables());
        tables.push_back(std::move(own));
    }
    auto analysis = std::make_unique<ProjectAnalysis>(Project(), *input, std::move(tables));
    CalcResult result = analysis->Calculate(status);
    if (!result.ok)
        return result;
    std::unique_ptr<TrafficResults> traffic;
    if (traffic_.Active()) {
        // The traffic runs on its own copy of the system, whose loads it empties.
        traffic = std::make_unique<TrafficResults>();
        result = RunTraffic(Project(), *input, analysis.get(), *traffic);
        if (!result.ok)
            return result;
    }
    ++generation_;
    analysisInput_ = std::move(input);
    analysis_ = std::move(analysis);
    trafficResults_ = std::move(traffic);
    return result;
}

void Document::CommitPendingEdits() {
    for (InputContainer* table : input_.systemFileTables)
        table->CommitGridEdit();
    for (InputContainer* table : input_.loadTables)
        table->CommitGridEdit();
}
