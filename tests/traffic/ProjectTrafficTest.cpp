// The traffic of a project: a point load crossing a simple span, alone and
// in envelopes with a permanent load case, against the closed forms.

#include "traffic/ProjectTraffic.h"

#include "analysis/AnalysisFixture.h"
#include "project/ProjectAnalysis.h"

#include <memory>

namespace {

constexpr double kL = 8.0, kP = 50.0, kG = 10.0;
constexpr int kIntervals = 8;

void Span(Structure& s) {
    s.Section(2.1e8, 8.1e7, 1e-3, 1e-4);
    s.Node(0, 0, 1, 1, 0);
    s.Node(kL, 0, 1, 0, 0);
    s.Beam(1, 2, 1, 0.0, kIntervals);
}

ProjectModel SpanProject() {
    ProjectModel project;
    project.loadCases = {{"Eigengewicht", ""}};
    project.traffic.vehicle = "point:50";
    project.traffic.lanes = {{{{0, 0}, {kL, 0}}}};
    project.traffic.step = kL / kIntervals;
    std::string error;
    for (const char* text : {"E=1:1.35/1+Verkehr:1.5/0", "G=1:1/1"}) {
        Envelope envelope;
        ExpressionError e;
        EXPECT_TRUE(ParseEnvelopeWithTraffic(text, "Verkehr", 1, 0, envelope, e)) << e.message;
        project.envelopes.push_back(envelope);
    }
    return project;
}

// The project's load case (a uniform load g) analysed on a model of its own.
struct PermanentLoad {
    explicit PermanentLoad(const ProjectModel& project) {
        Span(system);
        Structure loaded;
        Span(loaded);
        loaded.BeamLoad(1, 1, kG, kG);
        std::vector<std::unique_ptr<InputModel>> tables;
        tables.push_back(std::make_unique<InputModel>());
        tables.back()->CopyLoadCaseFrom(loaded.input);
        analysis = std::make_unique<ProjectAnalysis>(project, system.input, std::move(tables));
        EXPECT_TRUE(analysis->Calculate().ok);
    }
    Structure system;
    std::unique_ptr<ProjectAnalysis> analysis;
};

const size_t kMidMoment = (kIntervals / 2) * kBeamQuantities + 2;

} // namespace

TEST(ProjectTraffic, TheTrafficAloneAndWithALoadCaseHaveTheClosedForms) {
    const ProjectModel project = SpanProject();
    PermanentLoad permanent(project);
    Structure deck;
    Span(deck);
    ProjectTrafficResults r;
    std::string error;
    ASSERT_TRUE(RunProjectTraffic(project, deck.input, permanent.analysis.get(), r, error))
        << error;
    ASSERT_EQ(r.positions.size(), static_cast<size_t>(kIntervals + 1));
    ASSERT_EQ(r.envelopes.size(), 3u);
    const double PL4 = kP * kL / 4, gL8 = kG * kL * kL / 8;
    struct Row {
        const char* name;
        double sup, inf, max, min;
    } const rows[] = {
        {"Verkehr", 1.0, 0.0, PL4, 0.0},
        {"E", 1.5, 0.0, 1.35 * gL8 + 1.5 * PL4, gL8},
        {"G", 0.0, 0.0, gL8, gL8},
    };
    for (size_t e = 0; e < 3; ++e) {
        const ProjectTrafficEnvelope& envelope = r.envelopes[e];
        EXPECT_EQ(envelope.name, rows[e].name);
        EXPECT_EQ(envelope.sup, rows[e].sup);
        EXPECT_EQ(envelope.inf, rows[e].inf);
        EXPECT_FALSE(envelope.others.traffic.found);
        EXPECT_NEAR(envelope.results.values.max[kMidMoment].value, rows[e].max, 1e-9 * PL4);
        EXPECT_NEAR(envelope.results.values.min[kMidMoment].value, rows[e].min, 1e-9 * PL4);
    }
    const TrafficEnvelopeResults& e = r.envelopes[1].results;
    EXPECT_EQ(e.texts[static_cast<size_t>(e.values.max[kMidMoment].arrangement)],
              "1.35·LF1 + 1.50·Verkehr[5]");
    // The worst moment: the load at mid-span, the fifth position.
    const int worst = r.WorstPosition(2);
    ASSERT_EQ(worst, kIntervals / 2);
    ASSERT_EQ(r.positions[static_cast<size_t>(worst)].wheels.size(), 1u);
    EXPECT_DOUBLE_EQ(r.positions[static_cast<size_t>(worst)].wheels[0].x, kL / 2);
    EXPECT_EQ(r.shares.positions[static_cast<size_t>(worst)].size(), 1u);
}

TEST(ProjectTraffic, ABadVehicleOrStepIsRefused) {
    const struct {
        const char* vehicle;
        double step;
        const char* message; // a part of it
    } cases[] = {
        {"/kein/fahrzeug.bfz", 1.0, "Fahrzeugdatei"},
        {"point:50", 0.0, "Schrittweite"},
    };
    for (const auto& c : cases) {
        ProjectModel project = SpanProject();
        project.traffic.vehicle = c.vehicle;
        project.traffic.step = c.step;
        Structure deck;
        Span(deck);
        ProjectTrafficResults r;
        std::string error;
        EXPECT_FALSE(RunProjectTraffic(project, deck.input, nullptr, r, error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}
