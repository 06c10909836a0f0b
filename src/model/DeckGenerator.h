#pragma once

#include <optional>
#include <string>
#include <vector>

struct InputModel;

// A bridge deck or floor grid described by a few numbers, and the grillage
// made from it.
//
// Layout: the girders run along x, evenly spaced from y = 0 (girder 1) to
// y = width (the last girder). Support line j crosses girder 1 at the sum of
// the first j spans and is the perpendicular of the deck axis turned by the
// skew angle from x toward y: on the girder at y it lies at x = X_j - y tan(skew).
// Every girder therefore has the spans' lengths between its support nodes, and
// a support node's skew angle equals the deck's, so that the node's second
// support axis (angle skew + 90 degrees) lies along the support line.
//
// Cross beams, one on every support line in any mesh:
// - kSkew: parallel to the support lines, at equal fields along each span.
// - kOrthogonal: perpendicular to the girders. Through every support node one
//   runs across all girders that reach it; between the two fans of a span (the
//   part of the span that every girder passes without a support) further ones
//   at equal fields. Without skew both meshes are the same.
// A span's fields: as many as needed for no field longer than crossBeamSpacing,
// or crossBeamCount + 1 when a count is given.
enum class DeckMesh { kOrthogonal, kSkew };

// "pinned": the deflection is held; "fixed": also the rotation about the
// support line.
enum class DeckSupport { kPinned, kFixed };

struct DeckSection {
    double E = 0.0;
    double G = 0.0;
    double Iy = 0.0;
    double It = 0.0;
    double alphaT = 0.0;
};

struct DeckDescription {
    std::vector<double> spans;
    double width = 0.0;
    int girders = 0;
    double skew = 0.0; // degrees
    DeckMesh mesh = DeckMesh::kOrthogonal;
    // Exactly one of the two: a spacing > 0, or a count per span.
    double crossBeamSpacing = 0.0;
    std::vector<int> crossBeamCounts;
    DeckSection girder;
    DeckSection crossBeam;
    std::optional<DeckSection> edgeGirder;   // default: girder
    std::optional<DeckSection> endCrossBeam; // default: crossBeam
    // [support line][girder]; an empty list: every support pinned.
    std::vector<std::vector<DeckSupport>> supports;
    int intervals = 5;
};

// Cross-section type numbers of the generated system.
enum DeckSectionNumber {
    kDeckGirder = 1,
    kDeckEdgeGirder = 2,
    kDeckCrossBeam = 3,
    kDeckEndCrossBeam = 4, // on the first and the last support line
};

inline constexpr double kDeckMaxSkew = 60.0;
inline constexpr int kDeckMaxGirders = 1000;
inline constexpr int kDeckMaxNodes = 200000;
inline constexpr int kDeckMaxIntervals = 1000;

// Empty when the description makes a grillage; else the first fault as a
// German message that starts with the key of the description's file format
// (e.g. "spans[2]: ...").
std::string CheckDeck(const DeckDescription& deck);

// Replaces the system of model by the grillage of a description that passed
// CheckDeck. Nodes girder by girder, each along the deck; beams: the girders
// in the same order, then the cross beams along the deck, each line from
// girder 1 on; cross-section types as DeckSectionNumber; no hinges. Tells the
// tables' observer that the system changed.
void GenerateDeck(const DeckDescription& deck, InputModel& model);
