#include "model/DeckGenerator.h"

#include "FilesTestSupport.h"
#include "model/InputFiles.h"
#include "model/Tables.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr double kPi = 3.14159265358979323846;

DeckDescription Deck(std::vector<double> spans, double width, int girders, double spacing) {
    DeckDescription deck;
    deck.spans = std::move(spans);
    deck.width = width;
    deck.girders = girders;
    deck.crossBeamSpacing = spacing;
    deck.girder = {3.0e7, 1.2e7, 0.5, 0.1, 1e-5};
    deck.crossBeam = {3.0e7, 1.2e7, 0.05, 0.01, 1e-5};
    return deck;
}

std::unique_ptr<InputModel> Generated(const DeckDescription& deck) {
    EXPECT_EQ(CheckDeck(deck), "");
    auto model = std::make_unique<InputModel>();
    GenerateDeck(deck, *model);
    return model;
}

// Beams of the girders: every field of every span on every girder.
int GirderBeams(InputModel& model) {
    int beams = 0;
    for (int row = 0; row < model.beams.Count(); ++row) {
        const int section = model.beams.At(row)->section;
        beams += section == kDeckGirder || section == kDeckEdgeGirder;
    }
    return beams;
}

TEST(DeckGenerator, OrthogonalDeckNumbersNodesGirderByGirder) {
    const DeckDescription deck = Deck({20, 25}, 8, 5, 5);
    const auto model = Generated(deck);
    ASSERT_EQ(model->nodes.Count(), 5 * 10);
    ASSERT_EQ(model->beams.Count(), 5 * 9 + 10 * 4);
    EXPECT_EQ(model->mats.Count(), 4);
    EXPECT_EQ(model->hinges.Count(), 0);
    for (int g = 0; g < 5; ++g)
        for (int k = 0; k < 10; ++k) {
            const NodeRec* n = model->nodes.At(g * 10 + k);
            EXPECT_DOUBLE_EQ(n->y, 2.0 * g);
            EXPECT_NEAR(n->x, 5.0 * k, 1e-12);
            const bool support = k == 0 || k == 4 || k == 9;
            EXPECT_EQ(n->fixZ, support ? 1 : 0) << "node " << g * 10 + k + 1;
            EXPECT_EQ(n->fixRx + n->fixRy, 0);
        }
    // The girders first, girder by girder, then the cross beams.
    for (int g = 0; g < 5; ++g)
        for (int k = 0; k < 9; ++k) {
            const BeamRec* b = model->beams.At(g * 9 + k);
            EXPECT_EQ(b->start, g * 10 + k + 1);
            EXPECT_EQ(b->end, g * 10 + k + 2);
            EXPECT_EQ(b->section, g == 0 || g == 4 ? kDeckEdgeGirder : kDeckGirder);
            EXPECT_EQ(b->intervals, 5);
        }
    const BeamRec* first = model->beams.At(45);
    EXPECT_EQ(first->start, 1);
    EXPECT_EQ(first->end, 11);
    EXPECT_EQ(first->section, kDeckEndCrossBeam);
    EXPECT_EQ(model->beams.At(46)->start, 11);
    EXPECT_EQ(model->beams.At(49)->section, kDeckCrossBeam);
}

// Cross beams at an angle: (dx, dy) against the support line's direction.
double CrossAngleError(InputModel& model, int row, double lineAngle) {
    const BeamRec* b = model.beams.At(row);
    const NodeRec* a = model.nodes.At(b->start - 1);
    const NodeRec* e = model.nodes.At(b->end - 1);
    const double dx = e->x - a->x;
    const double dy = e->y - a->y;
    return std::fabs(dx * std::sin(lineAngle) - dy * std::cos(lineAngle)) / std::hypot(dx, dy);
}

struct SkewCase {
    double skew;
    DeckMesh mesh;
};

class DeckSkew : public testing::TestWithParam<SkewCase> {};

// The support lines at the skew: every girder has the spans between its
// support nodes, each support node held in w and skewed like its line. Skew
// mesh: every cross beam parallel to the support lines; orthogonal mesh:
// every cross beam perpendicular to the girders but those on the support
// lines.
TEST_P(DeckSkew, SupportsAndCrossBeamsFollowTheSkewAndMesh) {
    DeckDescription deck = Deck({20, 25, 20}, 9, 4, 4);
    deck.skew = GetParam().skew;
    deck.mesh = GetParam().mesh;
    const auto model = Generated(deck);
    const int perGirder = model->nodes.Count() / 4;
    ASSERT_EQ(model->nodes.Count(), 4 * perGirder);
    const double tanSkew = std::tan(deck.skew * kPi / 180);
    for (int g = 0; g < 4; ++g) {
        std::vector<double> supports;
        for (int k = 0; k < perGirder; ++k) {
            const NodeRec* n = model->nodes.At(g * perGirder + k);
            EXPECT_DOUBLE_EQ(n->y, 3.0 * g);
            if (k > 0) {
                EXPECT_LT(model->nodes.At(g * perGirder + k - 1)->x, n->x);
            }
            if (n->fixZ) {
                supports.push_back(n->x);
                EXPECT_EQ(n->skew, deck.skew);
            }
        }
        const std::vector<double> expected = {0, 20, 45, 65};
        ASSERT_EQ(supports.size(), expected.size()) << "girder " << g + 1;
        for (size_t j = 0; j < expected.size(); ++j)
            EXPECT_NEAR(supports[j], expected[j] - 3.0 * g * tanSkew, 1e-9);
    }
    const double lineAngle = (90 + deck.skew) * kPi / 180;
    int onSupportLines = 0;
    for (int row = GirderBeams(*model); row < model->beams.Count(); ++row) {
        const BeamRec* b = model->beams.At(row);
        const bool supportLine = model->nodes.At(b->start - 1)->fixZ &&
                                 model->nodes.At(b->end - 1)->fixZ &&
                                 CrossAngleError(*model, row, lineAngle) < 1e-9;
        onSupportLines += supportLine;
        const double angle = deck.mesh == DeckMesh::kSkew || supportLine ? lineAngle : kPi / 2;
        EXPECT_LT(CrossAngleError(*model, row, angle), 1e-9) << "beam " << row + 1;
    }
    EXPECT_EQ(onSupportLines, 4 * 3);
}

INSTANTIATE_TEST_SUITE_P(
    Angles, DeckSkew,
    testing::Values(SkewCase{0, DeckMesh::kOrthogonal}, SkewCase{0, DeckMesh::kSkew},
                    SkewCase{30, DeckMesh::kSkew}, SkewCase{60, DeckMesh::kSkew},
                    SkewCase{20, DeckMesh::kOrthogonal}, SkewCase{60, DeckMesh::kOrthogonal}));

TEST(DeckGenerator, CountsGiveEqualFieldsAndFixedSupportsHoldTheLineRotation) {
    DeckDescription deck = Deck({12, 18}, 6, 3, 0);
    deck.crossBeamCounts = {2, 5};
    deck.skew = 45;
    deck.mesh = DeckMesh::kSkew;
    deck.supports = {{DeckSupport::kFixed, DeckSupport::kFixed, DeckSupport::kFixed},
                     {DeckSupport::kPinned, DeckSupport::kFixed, DeckSupport::kPinned},
                     {DeckSupport::kPinned, DeckSupport::kPinned, DeckSupport::kPinned}};
    const auto model = Generated(deck);
    ASSERT_EQ(model->nodes.Count(), 3 * (3 + 6 + 1));
    EXPECT_NEAR(model->nodes.At(1)->x, 4.0, 1e-12);
    EXPECT_NEAR(model->nodes.At(4)->x, 15.0, 1e-12);
    const int fixed[] = {1, 11, 14, 21};
    int count = 0;
    for (int row = 0; row < model->nodes.Count(); ++row)
        count += model->nodes.At(row)->fixRy;
    EXPECT_EQ(count, 4);
    for (int number : fixed)
        EXPECT_EQ(model->nodes.At(number - 1)->fixRy, 1) << "node " << number;
}

// The file read back keeps the coordinates and the sections given, and
// written again is the same byte for byte.
TEST(DeckGenerator, GeneratedFileReadsBackToTheSameTables) {
    DeckDescription deck = Deck({20, 25}, 8, 5, 5);
    deck.skew = 25;
    deck.edgeGirder = DeckSection{3.0e7, 1.2e7, 0.7, 0.2, 0};
    const auto model = Generated(deck);
    TempDir dir;
    ASSERT_TRUE(SaveSystemFile(*model, dir.File("a.bsy")));
    InputModel read;
    ASSERT_TRUE(LoadSystemFile(read, dir.File("a.bsy")));
    ASSERT_TRUE(SaveSystemFile(read, dir.File("b.bsy")));
    EXPECT_EQ(ReadBytes(dir.File("b.bsy")), ReadBytes(dir.File("a.bsy")));
    ASSERT_EQ(read.nodes.Count(), model->nodes.Count());
    ASSERT_EQ(read.beams.Count(), model->beams.Count());
    for (int row = 0; row < read.nodes.Count(); ++row) {
        EXPECT_NEAR(read.nodes.At(row)->x, model->nodes.At(row)->x, 1e-12 * 45);
        EXPECT_NEAR(read.nodes.At(row)->y, model->nodes.At(row)->y, 1e-12 * 8);
    }
    ASSERT_EQ(read.mats.Count(), 4);
    EXPECT_DOUBLE_EQ(read.mats.At(1)->Iy, 0.7);
    EXPECT_DOUBLE_EQ(read.mats.At(3)->It, 0.01);
}

struct BadDeck {
    void (*spoil)(DeckDescription&);
    const char* key;
};

class DeckFault : public testing::TestWithParam<BadDeck> {};

TEST_P(DeckFault, MessageNamesTheKey) {
    DeckDescription deck = Deck({20, 25}, 8, 5, 5);
    GetParam().spoil(deck);
    const std::string message = CheckDeck(deck);
    EXPECT_EQ(message.rfind(std::string("\"") + GetParam().key + "\"", 0), 0u) << message;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, DeckFault,
    testing::Values(BadDeck{[](DeckDescription& d) { d.spans = {}; }, "spans"},
                    BadDeck{[](DeckDescription& d) { d.spans[1] = 0; }, "spans"},
                    BadDeck{[](DeckDescription& d) { d.width = -1; }, "width"},
                    BadDeck{[](DeckDescription& d) { d.girders = 1; }, "girders"},
                    BadDeck{[](DeckDescription& d) { d.skew = 90; }, "skew"},
                    BadDeck{[](DeckDescription& d) { d.skew = -5; }, "skew"},
                    BadDeck{[](DeckDescription& d) { d.crossBeamSpacing = -2; },
                            "crossBeams.spacing"},
                    BadDeck{[](DeckDescription& d) {
                                d.crossBeamCounts = {1, 2};
                            },
                            "crossBeams"},
                    BadDeck{[](DeckDescription& d) { d.crossBeamSpacing = 1e-6; }, "crossBeams"},
                    BadDeck{[](DeckDescription& d) { d.girder.It = 0; }, "sections.girder.It"},
                    BadDeck{[](DeckDescription& d) { d.endCrossBeam = DeckSection{}; },
                            "sections.endCrossBeam.E"},
                    BadDeck{[](DeckDescription& d) { d.supports = {{}}; }, "supports"},
                    BadDeck{[](DeckDescription& d) { d.intervals = 0; }, "intervals"}));

} // namespace
