// Several load cases on one analysis model against the load cases run one
// by one, and envelopes against closed forms.

#include "project/ProjectAnalysis.h"

#include "analysis/AnalysisFixture.h"
#include "project/Envelope.h"
#include "support/TestSeed.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <random>

namespace {

using Builder = std::function<void(Structure&)>;

// A system under several load cases: each load case solved alone in its own
// model, and all of them as one project.
class ProjectRun {
public:
    ProjectRun(const Builder& system, const std::vector<Builder>& loadCases, ProjectModel model) {
        system(projectSystem_);
        std::vector<std::unique_ptr<InputModel>> tables;
        for (size_t k = 0; k < loadCases.size(); ++k) {
            auto& alone = alone_.emplace_back(std::make_unique<Structure>());
            system(*alone);
            loadCases[k](*alone);
            alone->Run();
            tables.push_back(std::make_unique<InputModel>());
            tables.back()->CopyLoadCaseFrom(alone->input);
            model.loadCases.push_back({"LF" + std::to_string(k + 1), ""});
        }
        project_ =
            std::make_unique<ProjectAnalysis>(model, projectSystem_.input, std::move(tables));
        result_ = project_->Calculate(&status_);
    }

    ProjectAnalysis& Project() { return *project_; }
    Structure& Alone(int k) { return *alone_[static_cast<size_t>(k)]; }
    const CalcResult& Result() const { return result_; }
    const RecordingStatus& Status() const { return status_; }

    // The values at every evaluation point and reaction of what the model shows.
    std::vector<double> Shown() {
        return EnvelopeValues(project_->Input(), project_->Solutions(), Layout());
    }
    std::vector<double> AloneValues(int k) {
        return EnvelopeValues(Alone(k).input, Alone(k).solutions, Layout());
    }
    EnvelopeLayout Layout() { return MakeEnvelopeLayout(project_->Input()); }

private:
    Structure projectSystem_;
    std::vector<std::unique_ptr<Structure>> alone_;
    std::unique_ptr<ProjectAnalysis> project_;
    RecordingStatus status_;
    CalcResult result_;
};

double Largest(const std::vector<double>& values) {
    double largest = 0.0;
    for (double v : values)
        largest = std::max(largest, std::fabs(v));
    return largest;
}

// 1e-11 of the largest value: the shared division's elements of a fifth of a
// beam round their end forces about (L/h)^3 times more than the run alone
// (docs/performance.md); 1e-12 failed about one random model in twenty.
void ExpectSameValues(const std::vector<double>& actual, const std::vector<double>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    const double tolerance = 1e-11 * Largest(expected);
    for (size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "value " << i;
}

constexpr double kE = 2.1e8, kG = 8.1e7, kIy = 2e-4, kIt = 3e-4;

// Two girders of two spans joined by a cross beam, with a bending hinge.
void Grillage(Structure& s) {
    s.Section(kE, kG, kIy, kIt, 1.2e-5);
    const int a = s.Node(0, 0, 1, 1), b = s.Node(5, 0), c = s.Node(10, 0, 1, 1);
    const int d = s.Node(0, 4, 1, 1), e = s.Node(5, 4, 1), f = s.Node(10, 4, 1, 1);
    s.Beam(a, b, 1, 0.4, 4);
    s.Beam(b, c, 1, 0.4, 4);
    s.Beam(d, e, 1, 0.4, 4);
    s.Beam(e, f, 1, 0.4, 4);
    s.Beam(b, e, 1, 0.4, 4);
    s.Hinge(5, 0.5, 1);
}

const std::vector<Builder> kGrillageCases = {
    [](Structure& s) {
        s.BeamLoad(1, 2, 10.0, 10.0);
        s.PointLoad(1, 0.3, 40.0);
    },
    [](Structure& s) {
        s.PointLoad(4, 0.7, 25.0, 3.0, -2.0);
        s.Temperature(5, 5, 15.0);
        s.NodeLoad(2, 2, 0.0, 4.0);
    },
    // Constrains a component: its own factorisation.
    [](Structure& s) {
        s.Zwv(2, 2, 0.01);
        s.HingeLoad(1, 1, 0.002);
    },
    [](Structure& s) {
        s.HingeLoad(1, 0, 12.0);
        s.BeamLoad(5, 5, 3.0, 8.0, 1.0, 0.5);
        s.PointLoad(1, 0.55, 5.0);
    },
};

// A grillage of nx × ny random fields on vertical supports along two opposite edges,
// and load cases of random loads of every kind (one may settle a support,
// which takes a factorisation of its own).
struct RandomGrillage {
    explicit RandomGrillage(std::mt19937& random) {
        std::uniform_int_distribution<int> fields(1, 3);
        std::uniform_real_distribution<double> spacing(2.0, 6.0);
        nx = fields(random);
        ny = fields(random) + 1;
        dx = spacing(random);
        dy = spacing(random);
        beams = nx * (ny + 1) + ny * (nx + 1);
        for (int k = 0; k < 3; ++k)
            loadCases.push_back(LoadCase(random, k));
    }

    void System(Structure& s) const {
        s.Section(kE, kG, kIy, kIt, 1.2e-5);
        for (int j = 0; j <= ny; ++j)
            for (int i = 0; i <= nx; ++i)
                s.Node(i * dx, j * dy, j == 0 || j == ny);
        auto node = [this](int i, int j) { return j * (nx + 1) + i + 1; };
        for (int j = 0; j <= ny; ++j)
            for (int i = 0; i < nx; ++i)
                s.Beam(node(i, j), node(i + 1, j), 1, 0.4, 4);
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i <= nx; ++i)
                s.Beam(node(i, j), node(i, j + 1), 1, 0.4, 4);
    }

    Builder LoadCase(std::mt19937& random, int k) const {
        std::uniform_int_distribution<int> beam(1, beams), node(1, (nx + 1) * (ny + 1));
        std::uniform_real_distribution<double> value(-50.0, 50.0);
        // Point loads at fifths: no element of the common division is much shorter than its beam's.
        std::uniform_int_distribution<int> fifth(1, 4);
        const int from = beam(random), to = std::max(from, beam(random));
        const double q1 = value(random), q2 = value(random), mt = value(random) / 10;
        const int b1 = beam(random), b2 = beam(random), loaded = node(random);
        const double x1 = fifth(random) / 5.0, x2 = fifth(random) / 5.0, p = value(random),
                     m = value(random) / 5;
        const double dT = value(random), w = k == 2 ? value(random) * 1e-4 : 0.0;
        return [=](Structure& s) {
            s.BeamLoad(from, to, q1, q2, mt, -mt);
            s.PointLoad(b1, x1, p, m, -m);
            s.PointLoad(b2, x2, -p / 2);
            s.NodeLoad(loaded, loaded, p, m, m / 2);
            s.Temperature(to, to, dT);
            if (w != 0.0)
                s.Zwv(nx + 2, nx + 2, w);
        };
    }

    int nx = 0, ny = 0, beams = 0;
    double dx = 0.0, dy = 0.0;
    std::vector<Builder> loadCases;
};

} // namespace

TEST(ProjectAnalysis, EveryLoadCaseOfARandomGrillageGivesItsResultsOfARunAlone) {
    const unsigned seed = TestSeed();
    SCOPED_TRACE(SeedTrace(seed));
    std::mt19937 random(seed);
    for (int model = 0; model < 3; ++model) {
        const RandomGrillage grillage(random);
        ProjectRun run([&grillage](Structure& s) { grillage.System(s); }, grillage.loadCases, {});
        ASSERT_TRUE(run.Result().ok) << run.Result().message;
        EXPECT_EQ(run.Status().counters.factorisations, 2);
        for (int k = 0; k < 3; ++k) {
            run.Project().ShowLoadCase(k);
            ExpectSameValues(run.Shown(), run.AloneValues(k));
        }
    }
}

TEST(ProjectAnalysis, EveryLoadCaseGivesItsResultsOfARunAlone) {
    ProjectRun run(Grillage, kGrillageCases, {});
    ASSERT_TRUE(run.Result().ok) << run.Result().message;
    EXPECT_EQ(run.Status().counters.loadCases, 4);
    EXPECT_EQ(run.Status().counters.factorisations, 2);
    for (int k = 0; k < 4; ++k) {
        run.Project().ShowLoadCase(k);
        ExpectSameValues(run.Shown(), run.AloneValues(k));
        // The extrema sample the load case's own division, not the others' point loads.
        for (int beam = 1; beam <= 5; ++beam)
            for (int kind = 1; kind <= 3; ++kind) {
                const BeamExtremum own = run.Alone(k).solutions.BeamExtrema(beam, kind);
                const BeamExtremum shown = run.Project().Solutions().BeamExtrema(beam, kind);
                EXPECT_DOUBLE_EQ(shown.xiMax, own.xiMax) << k << " " << beam << " " << kind;
                EXPECT_DOUBLE_EQ(shown.xiMin, own.xiMin) << k << " " << beam << " " << kind;
            }
    }
}

TEST(ProjectAnalysis, ACombinationIsTheFactoredSumOfTheSeparateRuns) {
    ProjectModel model;
    model.combinations.push_back({"K", {1.35, -0.5, 1.5, 0.0}});
    ProjectRun run(Grillage, kGrillageCases, model);
    ASSERT_TRUE(run.Result().ok) << run.Result().message;
    std::vector<double> expected(run.AloneValues(0).size(), 0.0);
    for (int k = 0; k < 4; ++k) {
        const std::vector<double> alone = run.AloneValues(k);
        for (size_t i = 0; i < expected.size(); ++i)
            expected[i] += model.combinations[0].factors[static_cast<size_t>(k)] * alone[i];
    }
    run.Project().ShowCombination(0);
    ExpectSameValues(run.Shown(), expected);
}

namespace {

constexpr double kSpan = 10.0;

// A simply supported beam of span 10 with evaluation points every 1/10.
void SimpleBeam(Structure& s) {
    s.Section(kE, kG, kIy, kIt);
    s.Beam(s.Node(0, 0, 1, 1), s.Node(kSpan, 0, 1, 1), 1, 0.0, 10);
}

// The envelope value of quantity q (0 w, 1 Q, 2 M, 3 T) at point m of beam 1.
const EnvelopeExtreme& At(const std::vector<EnvelopeExtreme>& extremes, int m, int q) {
    return extremes[static_cast<size_t>(m * kBeamQuantities + q)];
}

} // namespace

TEST(ProjectAnalysis, EnvelopeOfPermanentAndVariableLoadHasTheFactoredMidSpanMoments) {
    const double g = 10.0, q = 4.0;
    ProjectModel model;
    model.envelopes.push_back(
        {"U", {{{{false, 0}}, false, 1.35, 1.0}, {{{false, 1}}, false, 1.5, 0.0}}});
    ProjectRun run(SimpleBeam,
                   {[g](Structure& s) { s.BeamLoad(1, 1, g, g); },
                    [q](Structure& s) { s.BeamLoad(1, 1, q, q); }},
                   model);
    ASSERT_TRUE(run.Result().ok) << run.Result().message;
    EXPECT_EQ(run.Status().counters.factorisations, 1);
    const EnvelopeResults r = run.Project().EvaluateEnvelope(0);
    const int mid = 5;
    EXPECT_REL(At(r.max, mid, 2).value, (1.35 * g + 1.5 * q) * kSpan * kSpan / 8);
    EXPECT_REL(At(r.min, mid, 2).value, g * kSpan * kSpan / 8);
    EXPECT_EQ(r.ArrangementOf(At(r.max, mid, 2)), "1.35·LF1 + 1.50·LF2");
    EXPECT_EQ(r.ArrangementOf(At(r.min, mid, 2)), "1.00·LF1");
    // The concurrent values follow from the same factors: no shear at mid-span,
    // the shear at the support of the maximum is (1.35 g + 1.5 q) L / 2.
    EXPECT_ZERO(At(r.max, mid, 2).concurrent[1], g * kSpan);
    EXPECT_REL(At(r.max, 0, 1).value, (1.35 * g + 1.5 * q) * kSpan / 2);
    EXPECT_REL(At(r.max, 0, 1).concurrent[1], At(r.max, 0, 1).value);
    // The reactions: −(1.35 g + 1.5 q) L / 2 is the smallest.
    const size_t reactions = r.layout.beamPoints * kBeamQuantities;
    EXPECT_REL(r.min[reactions].value, -(1.35 * g + 1.5 * q) * kSpan / 2);
    EXPECT_REL(r.max[reactions].value, -g * kSpan / 2);
}

TEST(ProjectAnalysis, ExclusiveGroupOfPointLoadsGivesTheInfluenceLineMaximum) {
    const double P = 100.0;
    std::vector<Builder> positions;
    EnvelopeTerm group{{}, true, 1.0, 0.0};
    for (int i = 1; i <= 9; ++i) {
        positions.push_back([P, i](Structure& s) { s.PointLoad(1, 0.1 * i, P); });
        group.members.push_back({false, i - 1});
    }
    ProjectModel model;
    model.envelopes.push_back({"Fahrzeug", {group}});
    ProjectRun run(SimpleBeam, positions, model);
    ASSERT_TRUE(run.Result().ok) << run.Result().message;
    EXPECT_EQ(run.Status().counters.loadCases, 9);
    EXPECT_EQ(run.Status().counters.factorisations, 1);
    const EnvelopeResults r = run.Project().EvaluateEnvelope(0);
    for (int m = 1; m <= 9; ++m) {
        const double xi = 0.1 * m;
        EXPECT_REL(At(r.max, m, 2).value, P * xi * (1 - xi) * kSpan) << m;
        EXPECT_EQ(r.ArrangementOf(At(r.max, m, 2)), "1.00·LF" + std::to_string(m)) << m;
        // No member acting is the smallest moment: a load never lifts it.
        EXPECT_EQ(At(r.min, m, 2).value, 0.0) << m;
        EXPECT_EQ(r.ArrangementOf(At(r.min, m, 2)), "0") << m;
    }
}

TEST(ProjectAnalysis, AFailingLoadCaseIsNamed) {
    ProjectRun run(SimpleBeam,
                   {[](Structure& s) { s.BeamLoad(1, 1, 1.0, 1.0); },
                    [](Structure& s) { s.PointLoad(7, 0.5, 1.0); }},
                   {});
    EXPECT_FALSE(run.Result().ok);
    EXPECT_TRUE(run.Result().inputError);
    EXPECT_EQ(run.Result().failedCase, 1);
}

TEST(ProjectAnalysis, AnOverflowingLoadCaseOfALaterBlockIsNamed) {
    // Blocks are solved while the one before is evaluated: the failure is
    // still the load case's own, and no earlier one is blamed.
    std::vector<Builder> cases;
    for (int k = 1; k <= 37; ++k)
        cases.push_back([k](Structure& s) {
            if (k == 30)
                s.BeamLoad(1, 1, 1e308, 1e308);
            else
                s.PointLoad(1, 0.5, 10.0 * k);
        });
    ProjectRun run(SimpleBeam, cases, {});
    EXPECT_FALSE(run.Result().ok);
    EXPECT_FALSE(run.Result().inputError);
    EXPECT_EQ(run.Result().failedCase, 29);
    EXPECT_EQ(run.Result().message.rfind("Überlauf in der Berechnung", 0), 0u)
        << run.Result().message;
}

TEST(ProjectAnalysis, ManyLoadCasesInSeveralBlocksGiveTheirClosedFormMoments) {
    // More load cases than are solved together; the node loads leave the
    // element loads of their load cases all zero.
    const auto beam = [](Structure& s) {
        s.Section(kE, kG, kIy, kIt);
        const int mid = s.Node(kSpan / 2, 0);
        s.Beam(s.Node(0, 0, 1, 1), mid, 1, 0.0, 5);
        s.Beam(mid, s.Node(kSpan, 0, 1, 1), 1, 0.0, 5);
    };
    std::vector<Builder> cases;
    for (int k = 1; k <= 37; ++k)
        cases.push_back([k](Structure& s) {
            if (k % 2)
                s.BeamLoad(1, 2, k, k);
            else
                s.NodeLoad(1, 1, 10.0 * k, 0.0, 0.0);
        });
    ProjectRun run(beam, cases, {});
    ASSERT_TRUE(run.Result().ok) << run.Result().message;
    EXPECT_EQ(run.Status().counters.factorisations, 1);
    for (int k = 1; k <= 37; ++k) {
        run.Project().ShowLoadCase(k - 1);
        const double expected = k % 2 ? k * kSpan * kSpan / 8 : 10.0 * k * kSpan / 4;
        EXPECT_REL(run.Project().Solutions().SectionForce(0, 1.0, 2), expected) << k;
    }
}
