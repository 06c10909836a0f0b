// The document without windows: New, Open, Save and Save as of both halves,
// their change marks, every question before something is discarded, and the
// closing questions.
#include "document/Document.h"

#include "analysis/SolutionsCont.h"
#include "model/InputFiles.h"
#include "model/Tables.h"
#include "project/ProjectAnalysis.h"
#include "project/ProjectFile.h"
#include "support/SmallExamples.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Answers from prepared queues and notes what the document showed; a
// question or dialog without a prepared answer is noted and cancelled.
struct FakeShell : DocumentShell {
    Answer Ask(const DocumentQuestion& question) override {
        questions.push_back(question.caption + " | " + question.text);
        return Next(answers, Answer::Cancel, "question");
    }
    void Tell(const DocumentMessage& message) override { messages.push_back(message.text); }
    std::string ChooseFileToOpen(const DocumentHalf& half) override {
        dialogs.push_back(half.Kind().openTitle);
        return Next(names, std::string(), "open dialog");
    }
    std::string ChooseFileToSave(const DocumentHalf& half) override {
        dialogs.push_back(half.Kind().saveTitle);
        return Next(names, std::string(), "save dialog");
    }
    void ShowFile(const DocumentHalf&) override {}
    void ShowMark(const DocumentHalf&) override {}
    void FileUsed(const DocumentHalf& half) override { used.push_back(half.File()); }
    void ResultsDiscarded() override { ++discarded; }

    template <class T> T Next(std::deque<T>& queue, T none, const char* what) {
        if (queue.empty()) {
            unexpected.push_back(what);
            return none;
        }
        T next = queue.front();
        queue.pop_front();
        return next;
    }

    std::deque<Answer> answers;
    std::deque<std::string> names; // an empty name is a cancelled dialog
    std::vector<std::string> questions, messages, dialogs, unexpected, used;
    int discarded = 0;
};

const std::string kSystemQuestion = "System geändert | Geometrie erst speichern ?";
const std::string kLoadQuestion = "Lasfall geändert | Lasteingaben erst speichern ?";

struct DocumentFixture : ::testing::Test {
    DocumentFixture() : solutions(input), document(input, solutions, shell) {
        folder = fs::temp_directory_path() / ("balkor-document-" + std::to_string(getpid()));
        fs::create_directories(folder);
    }
    ~DocumentFixture() override { fs::remove_all(folder); }

    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = (folder / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    static std::string Read(const std::string& path) {
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    }
    // Types a value into the first row, as the grid does.
    void EditNode() {
        const double x = 3.5;
        input.nodes.RowRecord(0)->flag = kFlagUser;
        input.nodes.InvalidateIndex();
        input.nodes.SetCellValue(0, 1, &x);
    }
    void EditNodeLoad() {
        const double value = 7.0;
        input.nodeLoads.RowRecord(0)->flag = kFlagUser;
        input.nodeLoads.InvalidateIndex();
        input.nodeLoads.SetCellValue(0, 3, &value);
    }
    void OpenTwoSpan() {
        document.System().OpenFile(Write("a.bsy", kTwoSpanSystem));
        document.LoadCase().OpenFile(Write("a.bld", kTwoSpanLoads));
    }

    fs::path folder;
    InputModel input;
    SolutionsCont solutions;
    FakeShell shell;
    Document document;
};

using DocumentTest = DocumentFixture;

TEST_F(DocumentTest, ChangesMarkTheirHalfAndDiscardTheResults) {
    solutions.resultsValid = 1;
    EditNode();
    EXPECT_TRUE(document.System().Modified());
    EXPECT_FALSE(document.LoadCase().Modified());
    EXPECT_FALSE(document.ResultsValid());
    EXPECT_GT(shell.discarded, 0);
    EditNodeLoad();
    EXPECT_TRUE(document.LoadCase().Modified());
}

TEST_F(DocumentTest, OpenReadsTheTablesUnderTheFileName) {
    const std::string path = Write("a.bsy", kTwoSpanSystem);
    shell.names = {path};
    document.System().Open();
    EXPECT_EQ(shell.dialogs, std::vector<std::string>{"System öffnen"});
    EXPECT_EQ(input.nodes.ValidCount(), 3);
    EXPECT_EQ(document.System().File(), path);
    EXPECT_FALSE(document.System().Modified());
    EXPECT_TRUE(shell.questions.empty() && shell.messages.empty());
    EXPECT_EQ(shell.used, std::vector<std::string>{path});

    shell.names = {""};
    document.LoadCase().Open();
    EXPECT_EQ(shell.dialogs.back(), "Lastfall öffnen");
    EXPECT_TRUE(document.LoadCase().File().empty());
}

TEST_F(DocumentTest, AFileThatCannotBeReadKeepsItsNameWithEmptyTables) {
    const std::string missing = (folder / "fehlt.bsy").string();
    document.System().OpenFile(missing);
    document.LoadCase().OpenFile((folder / "fehlt.bld").string());
    EXPECT_EQ(shell.messages, (std::vector<std::string>{"Fehler beim öffnen der Systemdatei",
                                                        "Fehler beim öffnen der Lastdatei"}));
    EXPECT_EQ(document.System().File(), missing);
    EXPECT_EQ(input.nodes.ValidCount(), 0);
    EXPECT_TRUE(shell.used.empty());
}

// The question before a modified half is emptied (New) or replaced (Open):
// Yes saves first, No discards, Cancel keeps everything and opens nothing.
TEST_F(DocumentTest, QuestionBeforeNewAndOpen) {
    const struct {
        Answer answer;
        bool open, done, saved;
    } rows[] = {
        {Answer::Yes, false, true, true},      {Answer::No, false, true, false},
        {Answer::Cancel, false, false, false}, {Answer::Yes, true, true, true},
        {Answer::No, true, true, false},       {Answer::Cancel, true, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << int(row.answer) << (row.open ? " open" : " new"));
        const std::string path = Write("a.bsy", kTwoSpanSystem);
        document.System().SetModified(false);
        document.System().OpenFile(path);
        EditNode();
        shell.questions.clear();
        shell.answers = {row.answer};
        const std::string other = Write("b.bsy", "");
        if (row.open)
            document.System().OpenFile(other);
        else
            EXPECT_EQ(document.System().New(), row.done);
        EXPECT_EQ(shell.questions, std::vector<std::string>{kSystemQuestion});
        EXPECT_EQ(Read(path) != kTwoSpanSystem, row.saved);
        EXPECT_EQ(input.nodes.ValidCount(), row.done ? 0 : 3);
        EXPECT_EQ(document.System().Modified(), !row.done);
        EXPECT_EQ(document.System().File(), row.done ? (row.open ? other : "") : path);
    }
    EXPECT_TRUE(shell.unexpected.empty());
}

// "Yes" whose save dialog is cancelled, or whose write fails, keeps the half
// instead of emptying it unsaved; a failed write says that writing failed.
TEST_F(DocumentTest, AFailedSaveAfterYesKeepsTheHalf) {
    EditNode();
    shell.answers = {Answer::Yes};
    shell.names = {""};
    EXPECT_FALSE(document.System().New());
    EXPECT_EQ(input.nodes.ValidCount(), 1);

    shell.answers = {Answer::Yes};
    shell.names = {(folder / "fehlt" / "a.bsy").string()};
    EXPECT_FALSE(document.System().New());
    EXPECT_EQ(shell.messages, std::vector<std::string>{"Fehler beim Schreiben der Systemdatei"});
    EXPECT_EQ(input.nodes.ValidCount(), 1);
    EXPECT_TRUE(document.System().Modified());

    EditNodeLoad();
    document.LoadCase().SetFile((folder / "fehlt" / "a.bld").string());
    EXPECT_FALSE(document.LoadCase().Save());
    EXPECT_EQ(shell.messages.back(), "Fehler beim Schreiben der Lastdatei");
    EXPECT_TRUE(document.LoadCase().Modified());
    EXPECT_TRUE(shell.used.empty());
}

// "Neu" asks about the load case also when the system's question was
// cancelled; afterwards both halves are empty, unnamed and unmarked.
TEST_F(DocumentTest, NewAsksAboutBothHalves) {
    OpenTwoSpan();
    EditNode();
    EditNodeLoad();
    shell.answers = {Answer::Cancel, Answer::No};
    document.New();
    EXPECT_EQ(shell.questions, (std::vector<std::string>{kSystemQuestion, kLoadQuestion}));
    EXPECT_EQ(input.nodes.ValidCount(), 3);
    EXPECT_EQ(input.beamLoads.ValidCount(), 0);
    EXPECT_TRUE(document.LoadCase().File().empty());
    EXPECT_FALSE(document.LoadCase().Modified());
}

TEST_F(DocumentTest, SaveAsksForTheNamesOfUnnamedHalves) {
    EditNode();
    EditNodeLoad();
    const std::string loadPath = (folder / "neu.bld").string();
    shell.names = {"", loadPath};
    document.Save();
    EXPECT_EQ(shell.dialogs, (std::vector<std::string>{"System speichern", "Lastfall speichern"}));
    EXPECT_TRUE(document.System().Modified());
    EXPECT_FALSE(document.LoadCase().Modified());
    EXPECT_EQ(document.LoadCase().File(), loadPath);
    EXPECT_EQ(shell.used, std::vector<std::string>{loadPath});
    InputModel copy;
    EXPECT_TRUE(LoadLoadCaseFile(copy, loadPath));
    EXPECT_EQ(copy.nodeLoads.ValidCount(), 1);
}

// Closing asks every question before anything is emptied: a Cancel of either
// keeps the program and all input, also the system answered with No.
TEST_F(DocumentTest, ClosingQuestions) {
    EXPECT_TRUE(document.CloseQuery());
    EXPECT_TRUE(shell.questions.empty());
    EditNode();
    EditNodeLoad();
    const struct {
        std::deque<Answer> answers;
        bool closes;
        size_t questions;
    } rows[] = {
        {{Answer::No, Answer::Cancel}, false, 2},
        {{Answer::Cancel}, false, 1},
        {{Answer::No, Answer::No}, true, 2},
    };
    for (const auto& row : rows) {
        shell.questions.clear();
        shell.answers = row.answers;
        EXPECT_EQ(document.CloseQuery(), row.closes);
        EXPECT_EQ(shell.questions.size(), row.questions);
        EXPECT_EQ(input.nodes.ValidCount(), 1);
        EXPECT_EQ(input.nodeLoads.ValidCount(), 1);
        EXPECT_TRUE(document.System().Modified() && document.LoadCase().Modified());
    }
}

TEST_F(DocumentTest, CloseDeletesTheTemporaryFiles) {
    const std::string name = document.tempFiles.MakeProtocolFile(folder.string()).name;
    EXPECT_TRUE(fs::exists(name));
    document.Close();
    EXPECT_FALSE(fs::exists(name));
}

// A file that held none of the half's sections is read as an empty half with
// the batch command's warning, and is not overwritten without asking; an
// empty file holds nothing to lose.
TEST_F(DocumentTest, AFileNotReadAsTheHalfIsNotOverwrittenSilently) {
    const std::string notes = Write("notes.txt", "Einkaufsliste\n");
    document.System().OpenFile(notes);
    EXPECT_EQ(shell.messages, std::vector<std::string>{MissingSectionsWarning(
                                  "Die Systemdatei", input.systemTables, notes)});
    EXPECT_EQ(shell.messages[0].rfind("Warnung: Die Systemdatei enthält keinen der Abschnitte "
                                      "NODES, BEAMS, MATERIALS, HINGES: ",
                                      0),
              0u);
    shell.answers = {Answer::No};
    EXPECT_FALSE(document.System().Save());
    EXPECT_EQ(shell.questions,
              std::vector<std::string>{"System speichern | Die Datei " + notes +
                                       " wurde nicht als System gelesen. Soll sie durch das "
                                       "System ersetzt werden ?"});
    EXPECT_EQ(Read(notes), "Einkaufsliste\n");
    shell.answers = {Answer::Yes};
    EXPECT_TRUE(document.System().Save());
    EXPECT_NE(Read(notes), "Einkaufsliste\n");
    EXPECT_TRUE(document.System().Save()); // now it holds a system
    EXPECT_EQ(shell.questions.size(), 2u);

    document.LoadCase().OpenFile(Write("leer.bld", ""));
    EXPECT_TRUE(document.LoadCase().Save());
    EXPECT_EQ(shell.questions.size(), 2u);
    EXPECT_TRUE(shell.unexpected.empty());
}

// A grid's pending edit is stored before a command reads the tables.
TEST_F(DocumentTest, PendingEditsAreCommitted) {
    struct Grid : TableGrid {
        void DrawCell(int, int) override {}
        void DrawRow(int) override {}
        void Fill(int row, int col) override { filled.push_back({row, col}); }
        int RowCount() const override { return 41; }
        void SetRowCount(int) override {}
        int FixedRows() const override { return 1; }
        int CurrentRow() const override { return 2; }
        int CurrentCol() const override { return 3; }
        void Repaint() override {}
        void ContainerDestroyed() override {}
        std::vector<std::pair<int, int>> filled;
    } nodes, hingeLoads;
    input.nodes.AttachGrid(&nodes);
    input.hingeLoads.AttachGrid(&hingeLoads);
    nodes.filled.clear();
    hingeLoads.filled.clear();
    document.CommitPendingEdits();
    EXPECT_EQ(nodes.filled, (std::vector<std::pair<int, int>>{{2, 3}}));
    EXPECT_EQ(hingeLoads.filled.size(), 1u);
    input.nodes.AttachGrid(nullptr);
    input.hingeLoads.AttachGrid(nullptr);
}

void ParseCombinationOrFail(const std::string& text, int cases, Combination& combination) {
    ExpressionError error;
    ASSERT_TRUE(ParseCombination(text, cases, combination, error)) << error.message;
}

// ---- a project of several load cases -----------------------------------------------

// The project dialogs answer from the same queue of names.
struct ProjectShell : FakeShell {
    std::string ChooseProjectFile(bool save) override {
        dialogs.push_back(save ? "Projekt speichern" : "Projekt öffnen");
        return Next(names, std::string(), "project dialog");
    }
};

struct ProjectDocumentTest : ::testing::Test {
    ProjectDocumentTest() : solutions(input), document(input, solutions, shell) {
        folder = fs::temp_directory_path() / ("balkor-project-" + std::to_string(getpid()));
        fs::create_directories(folder);
    }
    ~ProjectDocumentTest() override { fs::remove_all(folder); }
    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = (folder / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    void EditNodeLoad(double value) {
        input.nodeLoads.RowRecord(0)->flag = kFlagUser;
        input.nodeLoads.InvalidateIndex();
        input.nodeLoads.SetCellValue(0, 3, &value);
    }
    // Two-span system; LF1 and LF2 the loads q = 10, LF3 new and empty.
    void OpenThree() {
        document.OpenFiles(Write("a.bsy", kTwoSpanSystem),
                           {Write("g.bld", kTwoSpanLoads), Write("q.bld", kTwoSpanLoads)});
        document.AddLoadCase();
    }

    fs::path folder;
    InputModel input;
    SolutionsCont solutions;
    ProjectShell shell;
    Document document;
};

TEST_F(ProjectDocumentTest, LoadCasesKeepTheirOwnTablesWhenAnotherIsCurrent) {
    OpenThree();
    ASSERT_EQ(document.LoadCaseCount(), 3);
    EXPECT_EQ(document.CurrentLoadCase(), 2);
    EXPECT_EQ(input.beamLoads.ValidCount(), 0);
    EditNodeLoad(7.0);
    document.MakeCurrent(0);
    EXPECT_EQ(input.beamLoads.ValidCount(), 1);
    EXPECT_EQ(input.nodeLoads.ValidCount(), 0);
    EXPECT_EQ(document.LoadCaseAt(0).Name(), "g");
    EXPECT_FALSE(document.LoadCaseAt(0).Modified());
    EXPECT_TRUE(document.LoadCaseAt(2).Modified());
    document.MakeCurrent(2);
    EXPECT_EQ(input.nodeLoads.ValidCount(), 1);
    EXPECT_TRUE(document.ProjectModified());
}

// Every modified load case, the system and the project are asked about once;
// a Cancel anywhere keeps all of them.
TEST_F(ProjectDocumentTest, ClosingAndNewAskEachOnce) {
    OpenThree();
    EditNodeLoad(7.0);
    document.MakeCurrent(1);
    EditNodeLoad(8.0);
    const std::vector<std::string> all = {
        "Lasfall geändert | Lasteingaben von Lastfall 2 (q) erst speichern ?",
        "Lasfall geändert | Lasteingaben von Lastfall 3 (LF3) erst speichern ?",
        "Projekt geändert | Projekt erst speichern ?"};
    shell.answers = {Answer::No, Answer::No, Answer::No};
    EXPECT_TRUE(document.CloseQuery());
    EXPECT_EQ(shell.questions, all);
    for (size_t cancelAt = 0; cancelAt < all.size(); ++cancelAt) {
        shell.questions.clear();
        shell.answers.assign(cancelAt, Answer::No);
        shell.answers.push_back(Answer::Cancel);
        document.New();
        EXPECT_EQ(shell.questions.size(), cancelAt + 1);
        EXPECT_EQ(document.LoadCaseCount(), 3);
        EXPECT_EQ(input.nodeLoads.ValidCount(), 1);
        EXPECT_TRUE(document.LoadCaseAt(2).Modified());
    }
    shell.answers = {Answer::No, Answer::No, Answer::No};
    document.New();
    EXPECT_EQ(document.LoadCaseCount(), 1);
    EXPECT_EQ(input.beamLoads.ValidCount(), 0);
    EXPECT_FALSE(document.ProjectModified());
    EXPECT_TRUE(document.CloseQuery());
    EXPECT_TRUE(shell.unexpected.empty());
}

TEST_F(ProjectDocumentTest, SavedProjectOpensWithTheSameLoadCasesAndExpressions) {
    OpenThree();
    EditNodeLoad(7.0);
    document.RenameLoadCase(2, "Wind");
    Combination k1;
    ParseCombinationOrFail("K1=1.35*1+1.5*3", 3, k1);
    Envelope u1;
    ExpressionError error;
    ASSERT_TRUE(ParseEnvelope("U1=1:1.35/1+(2|3):1.5/0", 3, 1, u1, error));
    document.SetCombinations({k1}, {u1});
    const std::string windFile = (folder / "w.bld").string();
    const std::string projectFile = (folder / "p.bpj").string();
    shell.names = {projectFile, windFile};
    ASSERT_TRUE(document.SaveProject());
    EXPECT_EQ(shell.dialogs, (std::vector<std::string>{"Projekt speichern", "Lastfall speichern"}));
    EXPECT_FALSE(document.ProjectModified());

    InputModel other;
    SolutionsCont otherSolutions(other);
    ProjectShell otherShell;
    Document reopened(other, otherSolutions, otherShell);
    reopened.OpenProjectFile(projectFile);
    ASSERT_EQ(reopened.LoadCaseCount(), 3);
    EXPECT_EQ(reopened.ProjectFile(), projectFile);
    EXPECT_EQ(reopened.LoadCaseAt(2).Name(), "Wind");
    EXPECT_EQ(reopened.LoadCaseAt(2).File(), windFile);
    EXPECT_EQ(CombinationText(reopened.Combinations().at(0)), CombinationText(k1));
    EXPECT_EQ(EnvelopeText(reopened.Envelopes().at(0)), EnvelopeText(u1));
    EXPECT_EQ(other.beamLoads.ValidCount(), 1);
    reopened.MakeCurrent(2);
    EXPECT_EQ(other.nodeLoads.ValidCount(), 1);
    EXPECT_FALSE(reopened.ProjectModified());
    EXPECT_TRUE(otherShell.messages.empty() && otherShell.questions.empty());
}

// Removing asks only about a modified load case; the combinations and
// envelopes lose its factor and its member.
TEST_F(ProjectDocumentTest, RemovingALoadCase) {
    OpenThree();
    Combination k1;
    ParseCombinationOrFail("K1=1*1+2*2+3*3", 3, k1);
    Envelope u1;
    ExpressionError error;
    ASSERT_TRUE(ParseEnvelope("U1=2:1.5/0+3:1/0+C1:1/1", 3, 1, u1, error));
    document.SetCombinations({k1}, {u1});
    EditNodeLoad(7.0);
    shell.answers = {Answer::No};
    EXPECT_FALSE(document.RemoveLoadCase(2));
    EXPECT_EQ(document.LoadCaseCount(), 3);
    EXPECT_TRUE(document.RemoveLoadCase(0));
    EXPECT_EQ(shell.questions.size(), 1u);
    ASSERT_EQ(document.LoadCaseCount(), 2);
    EXPECT_EQ(document.CurrentLoadCase(), 1);
    EXPECT_EQ(input.nodeLoads.ValidCount(), 1);
    EXPECT_EQ(document.Combinations()[0].factors, (std::vector<double>{2.0, 3.0}));
    EXPECT_EQ(EnvelopeText(document.Envelopes()[0]), "U1=1:1.5/0+2:1/0+C1:1/1");
}

// The envelope of g (1.35 / 1.0) and q (1.5 / 0), both q = 10 on two spans of
// 6: the middle support carries 1.25·q·L = 75 under each.
TEST_F(ProjectDocumentTest, CalculateGivesTheEnvelopeOfTheSuperposedLoadCases) {
    document.OpenFiles(Write("a.bsy", kTwoSpanSystem),
                       {Write("g.bld", kTwoSpanLoads), Write("q.bld", kTwoSpanLoads)});
    Envelope u1;
    ExpressionError error;
    ASSERT_TRUE(ParseEnvelope("U1=1:1.35/1+2:1.5/0", 2, 0, u1, error));
    document.SetCombinations({}, {u1});
    ASSERT_TRUE(document.CalculateProject(nullptr).ok);
    ASSERT_TRUE(document.ResultsValid());
    const EnvelopeResults r = document.Analysis()->EvaluateEnvelope(0);
    const auto& nodes = r.layout.reactionNodes;
    const size_t middle =
        static_cast<size_t>(std::find(nodes.begin(), nodes.end(), 2) - nodes.begin());
    ASSERT_LT(middle, nodes.size());
    const size_t at = r.layout.beamPoints * kBeamQuantities + middle * kReactionQuantities;
    const double reaction = 1.25 * 10.0 * 6.0;
    EXPECT_NEAR(std::max(std::abs(r.max[at].value), std::abs(r.min[at].value)), 2.85 * reaction,
                1e-9);
    EXPECT_NEAR(std::min(std::abs(r.max[at].value), std::abs(r.min[at].value)), reaction, 1e-9);
    EXPECT_TRUE(input.beamLoads.ValidCount() == 1); // the windows' tables stay as they were
    EditNodeLoad(1.0);
    EXPECT_FALSE(document.ResultsValid());
}

} // namespace
