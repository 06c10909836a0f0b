#pragma once

#include "graphics/DisplayFlags.h"
#include "graphics/PaintContainer.h"
#include "graphics/ViewTransform.h"

#include <string_view>
#include <vector>

struct InputModel;
class SolutionsCont;

// The scene of a graphics window without the window: the tabs, the display
// flags they set, and the rebuild that records the structure, the load case
// and the results into the window's drawing list. The window (TGraphForm)
// keeps a ViewState, a PaintContainer and a SceneOptions, calls RebuildScene
// on creation, on tab changes, flag buttons, spin edits, tilt and spin moves
// and on UM_REFRESH, and paints by replaying the list (RenderFitted with the
// view window). balkor-batch --svg draws its pictures the same way.

// --- Tabs

// The five tabs, in their order at the bottom of the window.
enum SceneTab : int {
    kTabGeometrie = 0,
    kTabBiegelinie = 1,
    kTabQuerkraft = 2,
    kTabBiegemoment = 3,
    kTabTorsionsmoment = 4,
};
inline constexpr int kSceneTabCount = 5;

// A tab: its name, the display flag it sets when chosen (0 for none), and the
// section-force function it shows (1 Querkraft, 2 Biegemoment, 3
// Torsionsmoment, 0 none).
struct SceneTabInfo {
    const char* name;
    DisplayFlags flag;
    int function;
};
inline constexpr SceneTabInfo kSceneTabs[kSceneTabCount] = {
    {"Geometrie", ShowLoads, 0}, {"Biegelinie", ShowDeformation, 0}, {"Querkraft", 0, 1},
    {"Biegemoment", 0, 2},       {"Torsionsmoment", 0, 3},
};

// The tab of that name, or −1.
int FindSceneTab(std::string_view name);
// The section-force function of a tab; 0 for a tab that does not exist.
int TabFunction(int tab);

// Choosing a tab resets the load and deflection display and keeps the number,
// support, reaction, value and extremum options: ShowLoads, ShowDeformation,
// ShowStructure and 0x0004 are cleared, ShowStructure and the tab's own flag
// set. The toolbar button "Belastung" is released and, for "Geometrie",
// pressed again: afterwards it is down exactly when ShowLoads is set.
struct TabChange {
    DisplayFlags flags;
    bool loadsButtonDown; // "Belastung"
};
TabChange ChangeTab(DisplayFlags flags, int tab);

// The flags of a new window showing that tab: the initial flags (0x28C8)
// after the tab change.
DisplayFlags NewWindowFlags(int tab);

// --- Rebuild

// The evaluation points of a section-force diagram: the spin edit's range.
inline constexpr int kDefaultEvaluationPoints = 10;
inline constexpr int kMaxEvaluationPoints = 100;

// What a window shows besides the tables, the results and the settings.
struct SceneOptions {
    int tab = kTabGeometrie;
    DisplayFlags flags = NewWindowFlags(kTabGeometrie);
    // The label layout and the caption; a window starts with kNewWindowLayout.
    LayoutFlags layout = 0;
    double textScale = 1.0;         // "Textskalierung" ÷ 100
    double functionScale = 1.0;     // "Funktionsskalierung" ÷ 100
    double displacementScale = 1.0; // "Verschiebungsskalierung" ÷ 100
    // "Anzahl der Auswertungpunkte", shared by all windows: a count below 1
    // counts as 10, one above 100 as 100.
    int evaluationPoints = kDefaultEvaluationPoints;
    // An envelope of several load cases drawn in place of the results of the
    // tab's function (or of the deflection line); reactions are not drawn.
    const struct EnvelopeDiagram* envelope = nullptr;
    // The lanes of the project's traffic, drawn with the structure on
    // "Geometrie"; none when the project has no lanes.
    const std::vector<struct TrafficLane>* lanes = nullptr;
};

// Records the window's scene into the list, in this order:
//   1. the list is cleared and the view prepared (centre and SceneSize from
//      the nodes); with a SceneSize that is not positive nothing is drawn and
//      the view window stays;
//   2. the axis cross (ShowAxisCross);
//   3. the structure (ShowStructure): beams, hinges, supports (ShowSupports),
//      nodes;
//   4. the load case (ShowLoads): loads, constrained displacements,
//      temperature loads;
//   5. with results: reactions (ShowReactions), the deflection line
//      (ShowDeformation), the section-force diagram of the tab;
//   6. with kUntangleLabels, the labels collected meanwhile are placed clear
//      of one another (LabelLayout; the boxes placed go to placedLabels when
//      given); with kShowLegend the caption (the view and the range of its
//      values) above the top left corner of the drawing;
//   7. with the view's keep-view flag 0, the view window becomes the list's
//      bounding box (the picture is fitted).
// results are used only when they are valid (resultsValid); pass null when
// there are none. The scales are limited to ±1000 (the spin edits' ±100000 %).
// The drawing settings are the program-wide setting variables. The tables and
// the results are read, never changed.
void RebuildScene(InputModel& input, const SolutionsCont* results, const SceneOptions& options,
                  ViewState& view, PaintContainer& list,
                  std::vector<TextBox>* placedLabels = nullptr);
