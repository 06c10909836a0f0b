// The traffic of a project without windows: the rows of the window "Verkehr"
// make the document's lanes, its check points at the cell or field at fault,
// and the example project's envelope holds its traffic (superposition).
#include "analysis/SolutionsCont.h"
#include "document/Document.h"
#include "document/TrafficResults.h"
#include "document/TrafficTable.h"
#include "model/InputFiles.h"
#include "model/Tables.h"
#include "project/ProjectAnalysis.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

struct QuietShell : DocumentShell {
    Answer Ask(const DocumentQuestion&) override { return Answer::No; }
    void Tell(const DocumentMessage&) override {}
    std::string ChooseFileToOpen(const DocumentHalf&) override { return {}; }
    std::string ChooseFileToSave(const DocumentHalf&) override { return {}; }
    void ShowFile(const DocumentHalf&) override {}
    void ShowMark(const DocumentHalf&) override {}
    void FileUsed(const DocumentHalf&) override {}
    void ResultsDiscarded() override { ++discarded; }
    int discarded = 0;
};


struct TrafficDocumentTest : ::testing::Test {
    TrafficDocumentTest() : solutions(input), document(input, solutions, shell), tables(document) {}

    void Point(int row, int32_t lane, double x, double y) {
        TrafficLaneTable& t = tables.Lanes();
        t.SetRowValid(row, 0, kFlagUser);
        t.SetCellValue(row, TrafficLaneTable::kLane, &lane);
        t.SetCellValue(row, TrafficLaneTable::kX, &x);
        t.SetCellValue(row, TrafficLaneTable::kY, &y);
    }
    void Settings(const std::string& vehicle, double step, const std::string& group = "Verkehr") {
        TrafficModel settings = tables.Settings();
        settings.vehicle = vehicle;
        settings.step = step;
        settings.groupName = group;
        tables.SetSettings(settings);
    }

    InputModel input;
    SolutionsCont solutions;
    QuietShell shell;
    Document document;
    TrafficTables tables;
};

TEST_F(TrafficDocumentTest, RowsMakeLanesByNumberInTheirOrder) {
    Point(0, 2, 0.0, 3.0);
    Point(1, 1, 0.0, 0.0);
    Point(2, 2, 8.0, 3.0);
    Point(3, 1, 8.0, 1.0);
    Settings("LM2", 0.5);
    const TrafficModel& traffic = document.Traffic();
    ASSERT_EQ(traffic.lanes.size(), 2u);
    EXPECT_EQ(traffic.lanes[0].points[1].y, 1.0);
    EXPECT_EQ(traffic.lanes[1].points[0].y, 3.0);
    EXPECT_EQ(traffic.vehicle, "LM2");
    EXPECT_EQ(traffic.step, 0.5);
    EXPECT_TRUE(document.ProjectModified());
    EXPECT_TRUE(document.SeveralResults());
    EXPECT_TRUE(tables.Check().ok);

    // The same traffic once more changes nothing; another one discards the results.
    const int discarded = shell.discarded;
    Settings("LM2", 0.5);
    EXPECT_EQ(shell.discarded, discarded);
    Settings("LM2", 0.25);
    EXPECT_GT(shell.discarded, discarded);
}

TEST_F(TrafficDocumentTest, CheckPointsAtTheCellOrFieldAtFault) {
    struct Row {
        std::vector<std::array<double, 3>> points; // lane, x, y
        std::string vehicle;
        double step;
        TrafficField field;
        int row, column;
        const char* message;
        std::string group = "Verkehr";
    };
    const double nan = std::nan("");
    const std::vector<std::array<double, 3>> lane = {{1, 0, 0}, {1, 1, 0}};
    const Row rows[] = {
        {{{0, 0, 0}, {0, 1, 0}}, "LM2", 1, TrafficField::kLanes, 0, 1, "1 oder größer"},
        {{{1, 0, 0}, {1, nan, 0}}, "LM2", 1, TrafficField::kLanes, 1, 2, "keine endliche Zahl"},
        {{{1, 0, 0}, {1, 1, 0}, {2, 5, 5}}, "LM2", 1, TrafficField::kLanes, 2, 1, "2 hat nur"},
        {{{1, 2, 2}, {1, 2, 2}}, "LM2", 1, TrafficField::kLanes, 0, 2, "die Länge 0"},
        {{}, "LM2", 1, TrafficField::kLanes, 0, 1, "braucht eine Fahrspur"},
        {lane, "/nirgends/kein.bfz", 1, TrafficField::kVehicle, 0, 0, "Fahrzeug: "},
        {lane, "point:100", 0, TrafficField::kStep, 0, 0, "Schrittweite"},
        {lane, "point:100", nan, TrafficField::kStep, 0, 0, "Schrittweite"},
        {lane, "point:100", 1, TrafficField::kGroupName, 0, 0, "Verkehrsgruppe", "LM:1"},
    };
    for (const Row& row : rows) {
        tables.Lanes().Reset();
        for (size_t k = 0; k < row.points.size(); ++k)
            Point(static_cast<int>(k), static_cast<int32_t>(row.points[k][0]), row.points[k][1],
                  row.points[k][2]);
        Settings(row.vehicle, row.step, row.group);
        const TrafficCheck check = tables.Check();
        EXPECT_FALSE(check.ok) << row.message;
        EXPECT_EQ(check.field, row.field) << row.message;
        EXPECT_EQ(check.row, row.row) << row.message;
        EXPECT_EQ(check.column, row.column) << row.message;
        EXPECT_NE(check.message.find(row.message), std::string::npos) << check.message;
    }
}

TEST(VehicleChoices, TextsAndSelectorEntriesGoBothWays) {
    const std::vector<std::string> entries = VehicleEntries();
    EXPECT_EQ(entries.front(), "kein Verkehr");
    EXPECT_EQ(entries.back(), "Datei…");
    const struct {
        const char* text;
        VehicleKind kind;
        const char* back; // the text the choice gives
    } rows[] = {{"", VehicleKind::kNone, ""},
                {"lm1-ts1", VehicleKind::kBuiltIn, "LM1-TS1"},
                {"point:150", VehicleKind::kPoint, "point:150"},
                {"point:2,5", VehicleKind::kPoint, "point:2.5"},
                {"/lkw/schwer.bfz", VehicleKind::kFile, "/lkw/schwer.bfz"}};
    for (const auto& row : rows) {
        const VehicleChoice choice = VehicleChoiceOf(row.text);
        EXPECT_EQ(choice.kind, row.kind) << row.text;
        EXPECT_EQ(VehicleText(choice), row.back);
        EXPECT_EQ(VehicleOfEntry(VehicleEntryOf(choice), choice).kind, row.kind) << row.text;
    }
    EXPECT_EQ(entries[static_cast<size_t>(VehicleEntryOf(VehicleChoiceOf("HL93")))], "HL93");
}

} // namespace

namespace {

// The example traffic project opens with its traffic and its envelope's
// traffic term; calculated, that envelope is the dead load under 1.35/1.0
// plus the traffic group under 1.5/0, point by point (superposition).
TEST_F(TrafficDocumentTest, TheExampleProjectsEnvelopeHoldsItsTraffic) {
    document.OpenProjectFile(BALKOR_SOURCE_DIR "/examples/bruecke-verkehr.bpj");
    ASSERT_TRUE(document.Traffic().Active());
    ASSERT_EQ(document.Envelopes().size(), 1u);
    EXPECT_TRUE(document.Envelopes()[0].traffic.found);
    ASSERT_TRUE(document.CalculateProject(nullptr).ok);
    const ProjectTrafficResults& run = document.TrafficRun()->run;
    ASSERT_EQ(run.envelopes.size(), 2u);
    const EnvelopeResults dead = document.Analysis()->EvaluateEnvelope(0);
    const EnvelopeResults& traffic = run.envelopes[0].results.values;
    const EnvelopeResults& both = run.envelopes[1].results.values;
    ASSERT_EQ(both.max.size(), traffic.max.size());
    double largest = 0.0;
    for (const EnvelopeExtreme& e : both.max)
        largest = std::max(largest, std::fabs(e.value));
    for (size_t i = 0; i < both.max.size(); ++i) {
        // The project's envelope without its traffic term: max(1.35 g, 1.0 g).
        const double expected = dead.max[i].value + std::max(1.5 * traffic.max[i].value, 0.0);
        EXPECT_NEAR(both.max[i].value, expected, 1e-12 * largest) << i;
    }
}

} // namespace
