// The rows of the windows "Lastfälle" and "Kombinationen" without windows:
// what they make of the document and what their check points at.
#include "document/ProjectTables.h"

#include "analysis/SolutionsCont.h"
#include "document/Document.h"
#include "document/LoadCaseTable.h"
#include "model/Tables.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

namespace {

struct QuietShell : DocumentShell {
    Answer Ask(const DocumentQuestion&) override { return Answer::No; }
    void Tell(const DocumentMessage& message) override { messages.push_back(message.text); }
    std::string ChooseFileToOpen(const DocumentHalf&) override { return {}; }
    std::string ChooseFileToSave(const DocumentHalf&) override { return {}; }
    void ShowFile(const DocumentHalf&) override {}
    void ShowMark(const DocumentHalf&) override {}
    void FileUsed(const DocumentHalf&) override {}
    void ResultsDiscarded() override {}
    std::vector<std::string> messages;
};

struct ProjectTablesTest : ::testing::Test {
    ProjectTablesTest() : solutions(input), document(input, solutions, shell), tables(document) {
        document.AddLoadCase();
        document.AddLoadCase();
        tables.Follow();
    }
    // A row as the grid makes one: valid, then its cells.
    void Combination(int row, const char* name, std::vector<double> factors) {
        CombinationTable& t = tables.Combinations();
        t.SetRowValid(row, 0, kFlagUser);
        t.SetCellValue(row, 0, name);
        for (size_t k = 0; k < factors.size(); ++k)
            t.SetCellValue(row, static_cast<int>(k) + 1, &factors[k]);
    }
    void Member(int row, const char* name, const char* member, double sup, double inf,
                int32_t group) {
        EnvelopeTable& t = tables.Envelopes();
        t.SetRowValid(row, 0, kFlagUser);
        t.SetCellValue(row, EnvelopeTable::kName, name);
        t.SetCellValue(row, EnvelopeTable::kMember, member);
        t.SetCellValue(row, EnvelopeTable::kSup, &sup);
        t.SetCellValue(row, EnvelopeTable::kInf, &inf);
        t.SetCellValue(row, EnvelopeTable::kGroup, &group);
    }

    InputModel input;
    SolutionsCont solutions;
    QuietShell shell;
    Document document;
    ProjectTables tables;
};

TEST_F(ProjectTablesTest, RowsBecomeTheDocumentsCombinationsAndEnvelopes) {
    EXPECT_EQ(tables.Combinations().LoadCases(), 3);
    Combination(0, "GZT", {1.35, 1.5, 0.0});
    Member(0, "U", "LF1", 1.35, 1.0, 0);
    Member(1, "U", "lf2", 1.5, 0.0, 1);
    Member(2, "U", "3", 1.5, 0.0, 1);
    Member(3, "U", "K1", 1.0, 0.0, 0);
    ASSERT_EQ(document.Combinations().size(), 1u);
    EXPECT_EQ(CombinationText(document.Combinations()[0]), "GZT=1.35*1+1.5*2");
    ASSERT_EQ(document.Envelopes().size(), 1u);
    EXPECT_EQ(EnvelopeText(document.Envelopes()[0]), "U=1:1.35/1+(2|3):1.5/0+C1:1/0");
    EXPECT_TRUE(tables.Check().ok);
    EXPECT_TRUE(document.ProjectModified());
    // Rows made anew from the document give the same texts.
    document.RemoveLoadCase(2);
    EXPECT_TRUE(tables.Follow());
    EXPECT_EQ(tables.Combinations().LoadCases(), 2);
    EXPECT_EQ(tables.Envelopes().UsedRowCount(), 3);
    EXPECT_EQ(EnvelopeText(document.Envelopes()[0]), "U=1:1.35/1+(2):1.5/0+C1:1/0");
}

// The traffic group is a member of its own, kept through the rows both ways;
// it acts one position at a time, so it belongs to no group of members.
TEST_F(ProjectTablesTest, TheTrafficGroupIsAMemberOfTheEnvelopeRows) {
    TrafficModel traffic;
    traffic.vehicle = "LM2";
    traffic.lanes = {{{{0.0, 0.0}, {10.0, 0.0}}}};
    traffic.groupName = "LM 2";
    document.SetTraffic(traffic);
    Member(0, "U", "LF1", 1.35, 1.0, 0);
    Member(1, "U", "LM 2", 1.5, 0.0, 0);
    ASSERT_EQ(document.Envelopes().size(), 1u);
    EXPECT_EQ(EnvelopeText(document.Envelopes()[0], "LM 2"), "U=1:1.35/1+LM 2:1.5/0");
    EXPECT_TRUE(tables.Check().ok);
    document.AddLoadCase();
    EXPECT_TRUE(tables.Follow());
    EXPECT_EQ(tables.Envelopes().UsedRowCount(), 2);
    EXPECT_EQ(EnvelopeText(document.Envelopes()[0], "LM 2"), "U=1:1.35/1+LM 2:1.5/0");
    Member(1, "U", "LM 2", 1.5, 0.0, 1);
    const ProjectCheck grouped = tables.Check();
    EXPECT_FALSE(grouped.ok);
    EXPECT_EQ(grouped.column, EnvelopeTable::kGroup + 1);
    Member(1, "U", "LM 3", 1.5, 0.0, 0);
    EXPECT_FALSE(tables.Check().ok);
}

// Each fault names its page, row and grid column.
TEST_F(ProjectTablesTest, CheckPointsAtTheCell) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* member;
        double sup;
        int32_t group;
        int page, row, column;
        const char* message;
    } rows[] = {
        {"LF4", 1.5, 0, 1, 1, 2, "Unbekannter Lastfall LF4: das Projekt hat 3 Lastfälle"},
        {"K2", 1.5, 0, 1, 1, 2, "Unbekannte Kombination K2: das Projekt hat 1 Kombinationen"},
        {"Wind", 1.5, 0, 1, 1, 2,
         "Ein Glied ist ein Lastfall (LF1) oder eine Kombination (K1): Wind"},
        {"", 1.5, 0, 1, 1, 2, "Die Umhüllende U hat hier kein Glied (LF1 … LF3 oder K1 …)"},
        {"LF2", inf, 0, 1, 1, 3, "Der Faktor ist keine endliche Zahl"},
        {"LF2", 1.35, 1, 1, 1, 3, "Die Glieder der Gruppe 1 haben verschiedene Faktoren"},
    };
    Combination(0, "K", {1.0, 1.0, 1.0});
    for (const auto& row : rows) {
        SCOPED_TRACE(row.message);
        Member(0, "U", "LF1", 1.5, 0.0, 1);
        Member(1, "U", row.member, row.sup, 0.0, row.group);
        const ProjectCheck check = tables.Check();
        EXPECT_FALSE(check.ok);
        EXPECT_EQ(check.message, row.message);
        EXPECT_EQ(check.page, row.page);
        EXPECT_EQ(check.row, row.row);
        EXPECT_EQ(check.column, row.column);
    }
    const double nan = std::nan("");
    Member(1, "U", "LF2", 1.5, 0.0, 0);
    Combination(0, "K", {1.0, nan, 1.0});
    const ProjectCheck check = tables.Check();
    EXPECT_EQ(check.page, 0);
    EXPECT_EQ(check.column, 3);
}

TEST_F(ProjectTablesTest, LoadCaseRowsFollowTheDocument) {
    LoadCaseTable table(document);
    EXPECT_EQ(table.Count(), 3);
    EXPECT_STREQ(static_cast<const char*>(table.ValuePtr(2, LoadCaseTable::kName)), "LF3");
    EXPECT_STREQ(static_cast<const char*>(table.ValuePtr(2, LoadCaseTable::kCurrent)), "aktuell");
    EXPECT_TRUE(table.IsCellReadOnly(0, LoadCaseTable::kFile));
    EXPECT_FALSE(table.IsCellReadOnly(0, LoadCaseTable::kName));
    table.SetCellValue(0, LoadCaseTable::kName, "Eigengewicht");
    EXPECT_EQ(document.LoadCaseAt(0).Name(), "Eigengewicht");
    table.SetCellValue(0, LoadCaseTable::kName, "");
    EXPECT_EQ(document.LoadCaseAt(0).Name(), "Eigengewicht");
    document.MakeCurrent(0);
    table.Sync();
    EXPECT_STREQ(static_cast<const char*>(table.ValuePtr(0, LoadCaseTable::kCurrent)), "aktuell");
    EXPECT_STREQ(static_cast<const char*>(table.ValuePtr(2, LoadCaseTable::kCurrent)), "");
}

} // namespace
