#pragma once

#include "graphics/MouseNavigation.h"
#include "graphics/PaintContainer.h"
#include "graphics/ResultScene.h"
#include "graphics/SceneRebuild.h"
#include "graphics/ViewTransform.h"

#include <QBrush>
#include <QImage>
#include <QPen>
#include <QSpinBox>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>

class QAction;
class QRubberBand;
class QToolBar;
class ProjectAnalysis;
class SolutionsCont;
class QComboBox;
class TMainForm;
class TPageTabs;
class UiDialogs;
struct InfluenceSurface;
struct ProjectTrafficEnvelope;
struct InputModel;

// A spin edit of the graphics window's toolbar: a whole number with up and
// down buttons; a double click on its text resets it (DoubleClicked).
class TCSpinEdit : public QSpinBox {
    Q_OBJECT
public:
    TCSpinEdit(int minimum, int maximum, int step, int value, QWidget* parent = nullptr);

Q_SIGNALS:
    void DoubleClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

class TGraphForm;

// What a paint of a graphics window's box draws from: the list (which fill,
// how long), the view window, the box's size and the pen and brush the
// replay starts with. Equal sources give equal pictures.
struct PictureSource {
    std::uint64_t listFills = 0;
    int listBytes = 0;
    SceneBox window;
    QSize box;
    QPen pen;
    QBrush brush;
    bool operator==(const PictureSource&) const = default;
};

// The white drawing area of a graphics window; it hands its painting and
// mouse events to the window.
class TPaintBox : public QWidget {
public:
    TPaintBox(TGraphForm& form, QWidget* parent);

    // Replays the window's list into the picture at once, even when nothing
    // changed (the benchmark's full paint).
    void Redraw();
    // Replays of the list since creation.
    int Replays() const { return replays_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    bool ShowsWhatTheFormDraws() const;
    void ReplayIntoPicture();

    TGraphForm& form_;
    // The last replay of the list, shown again where a part of the box is
    // uncovered (the rubber band moved, a box above it closed) while nothing
    // it was drawn from has changed.
    QImage picture_;
    std::optional<PictureSource> shown_;
    int replays_ = 0;
};

// A graphics window: the structure, the loads or a result diagram of the
// current input, drawn from the window's own drawing list. The toolbar
// prints, copies, navigates and toggles what is drawn; the spin edits set the
// evaluation points and the text, function and displacement scales; the tabs
// at the bottom choose the view. The window reads the tables, the results and
// the drawing settings and never changes them.
class TGraphForm : public QWidget, public NavigationHost {
    Q_OBJECT
public:
    // A new window on the first tab; tab 0 … 4 then chooses that tab, as the
    // main window's context menu does.
    TGraphForm(InputModel& input, const SolutionsCont& solutions, TMainForm& mainForm,
               UiDialogs& dialogs, int tab = -1);
    ~TGraphForm() override;

    // "Anzahl der Auswertungpunkte": one count for every graphics window.
    static int EvaluationPoints();
    static void SetEvaluationPoints(int count);

    // The handlers of the window's controls.
    void TabControl2Change();
    void ToolButton1Click(); // "Grafik Drucken"
    void ToolButton2Click(); // "In Zwichenablage kopieren"
    void ToolButton3Click(bool down);
    void ToolButton4Click();
    void ToolButton5Click(bool down);
    void ToolButton6Click(bool down);
    void ResetViewButtonClick();                         // "Ansicht zurücksetzen"
    void LayoutButtonClick(LayoutFlags flag, bool down); // "Beschriftung entzerren", "Legende"
    void FlagButtonClick(QAction* button, DisplayFlags flag, bool down);
    void CSpinEdit1Change();
    void CSpinEdit2Change();
    void CSpinEdit3Change();
    void CSpinEdit4Change();
    void CSpinEdit1DblClick();
    void CSpinEdit2DblClick();
    void CSpinEdit3DblClick();
    void CSpinEdit4DblClick();

    // The paint box's events.
    void PaintBox1Paint(QPainter& painter);
    PictureSource PaintBox1Source() const;
    void PaintBox1MouseDown(QPoint p, Qt::MouseButton button);
    void PaintBox1MouseMove(QPoint p);
    void PaintBox1MouseUp(QPoint p, Qt::MouseButton button);
    void PaintBox1DblClick(QPoint p, Qt::MouseButton button);
    // The beam under the cursor, ξ and the value of the tab there, in the
    // main window's status bar; and away again.
    void ShowCursorValues(QPoint p);
    // A move without a button while a drag is under way: its release went
    // astray, and the drag ends as if it had arrived.
    void EndLostDrag(QPoint p);
    void HideCursorValues();

    // Records the scene anew and repaints.
    void Rebuild();
    // What a project's window shows: a load case, a combination or an
    // envelope, by its place in the selector (load cases, combinations, then
    // envelopes); the selector is there while a project's results are.
    int Selection() const { return selection_; }
    void Select(int index);
    // After the envelopes, a project with traffic offers the envelope of the
    // traffic alone, its worst position for the tab's quantity (drawn as a
    // load case, its wheels as point loads) and, once one was chosen, an
    // influence surface.
    // "Lastfall 2: q", "Kombination 1: K1", "Umhüllende 1: U1", "Verkehr: V",
    // "Einflussfläche: M:beam=1:xi=0.5"; empty when the window shows the one
    // load case of today.
    QString SelectionName() const;
    // "Einflussfläche…": the result at the click (a node's w or R, Q, M or T
    // at a beam's evaluation point) whose influence surface is then shown on
    // "Biegelinie"; false, with a message, when nothing is there or the
    // project has no traffic results.
    bool ChooseInfluenceAt(QPoint p);
    // The influence surface last chosen, null before.
    const InfluenceSurface* Influence() const { return influence_.get(); }
    // Chooses the view tab (0 … 4) and shows it.
    void SelectTab(int tab);
    // Copies the picture to the clipboard as SVG and as a bitmap.
    void CopyToClipboard();
    // Draws the current view into the printer cell: the painter's clipping
    // rectangle, with the printer's pixel aspect.
    void PrintCell(QPainter& painter, double aspect);

    // State, for the main window's printing and for tests.
    DisplayFlags Flags() const { return options_.flags; }
    const SceneOptions& Options() const { return options_; }
    const ViewState& View() const { return view_; }
    ViewState& View() { return view_; }
    const PaintContainer& List() const { return list_; }
    const MouseModeMachine& Navigation() const { return machine_; }
    int CurrentTab() const { return options_.tab; }
    int printExcluded = 0;
    int printSlot = -1;
    // Rebuilds since creation (merged refreshes count once).
    int RebuildCount() const { return rebuilds_; }

    // NavigationHost
    DeviceRect PaintBoxRect() const override;
    void SetPaintBoxPenWidth(int pixels) override;
    void ShowRubberBand(DevicePoint c1, DevicePoint c2) override;
    void HideRubberBand() override;
    void RebuildScene() override { Rebuild(); }
    void Repaint() override;
    DisplayFlags GetDisplayFlags() const override { return options_.flags; }
    void SetDisplayFlags(DisplayFlags flags) override { options_.flags = flags; }
    void ToolsChanged() override;

    QWidget* ToolRows = nullptr;        // the toolbars, wrapped into rows
    QToolBar* ToolBar1 = nullptr;       // printing, copying and the view's buttons
    QToolBar* ToolBar3 = nullptr;       // the display and layout toggles
    QToolBar* ToolBar2 = nullptr;       // the spin edits
    QAction* ToolButton1 = nullptr;     // "Grafik Drucken"
    QAction* ToolButton2 = nullptr;     // "In Zwichenablage kopieren"
    QAction* ToolButton3 = nullptr;     // "Ausschnitt"
    QAction* ToolButton4 = nullptr;     // "Alles zeigen"
    QAction* ToolButton5 = nullptr;     // "Verschieben"
    QAction* ToolButton6 = nullptr;     // "Rotieren (linke ode rechte Maustaste)"
    QAction* ResetViewButton = nullptr; // "Ansicht zurücksetzen"
    QAction* ToolButton7 = nullptr;     // the separator before the display toggles
    QAction* ToolButton8 = nullptr;     // "Achsenkreuz"
    QAction* ToolButton9 = nullptr;     // "Knotennummern"
    QAction* ToolButton10 = nullptr;    // "Stabnummern"
    QAction* ToolButton11 = nullptr;    // "Gelenknummern"
    QAction* ToolButton12 = nullptr;    // "Materialnummern"
    QAction* ToolButton13 = nullptr;    // "Wertangaben"
    QAction* ToolButton14 = nullptr;    // "Funktionsextrema"
    QAction* ToolButton15 = nullptr;    // "Belastung"
    QAction* ToolButton16 = nullptr;    // "Auflager"
    QAction* ToolButton17 = nullptr;    // "Auflagerkräfte"
    QAction* UntangleButton = nullptr;  // "Beschriftung entzerren"
    QAction* LegendButton = nullptr;    // "Legende"
    QAction* InfluenceButton = nullptr; // "Einflussfläche…", while there are traffic results
    QComboBox* CaseSelector = nullptr;  // the load case, combination or envelope shown
    TCSpinEdit* CSpinEdit1 = nullptr;   // "Anzahl der Auswertungpunkte"
    TCSpinEdit* CSpinEdit2 = nullptr;   // "Textskalierung"
    TCSpinEdit* CSpinEdit3 = nullptr;   // "Funktionsskalierung"
    TCSpinEdit* CSpinEdit4 = nullptr;   // "Verschiebungsskalierung"
    QWidget* Panel1 = nullptr;
    TPaintBox* PaintBox1 = nullptr;
    TPageTabs* TabControl2 = nullptr;
    QRubberBand* RubberBand = nullptr;

protected:
    bool event(QEvent* event) override;

private:
    void CreateToolBar();
    QAction* AddButton(QToolBar* bar, const char* icon, const char* hint, bool checkable,
                       bool down);
    TCSpinEdit* AddSpinEdit(const char* hint, int minimum, int maximum, int step, int value);
    void TabUpdate();
    void SyncFlagButtons();
    void ScaleChanged(double& scale, const TCSpinEdit* edit);
    void ResetSpinEdit(TCSpinEdit* edit, int value);
    void FollowSubWindow();
    void DeliverRefresh();
    void FillCaseSelector();
    // Load cases, combinations and envelopes: the entries before the traffic's.
    int ProjectEntries() const;
    // The traffic's entry selected: 0 its envelope, 1 the worst position, 2
    // the influence surface; −1 for none.
    int TrafficEntry() const;
    EnvelopeDiagram TrafficEnvelopeOfTab(const ProjectTrafficEnvelope& envelope) const;
    EnvelopeDiagram EnvelopeOfSelection(ProjectAnalysis& analysis, int e) const;
    void ShowTraffic(ProjectAnalysis& analysis, int entry);
    void UpdateCaption();

    InputModel& input_;
    const SolutionsCont& solutions_;
    TMainForm& mainForm_;
    UiDialogs& dialogs_;
    PaintContainer list_;
    ViewState view_;
    SceneOptions options_;
    MouseModeMachine machine_;
    const SceneTabInfo* tabTable_ = nullptr;
    // The paint box canvas's pen and brush, kept between paintings.
    QPen paintPen_;
    QBrush paintBrush_;
    bool cursorValuesShown_ = false;
    bool refreshPending_ = false;
    bool refreshRefit_ = false;
    int rebuilds_ = 0;
    QAction* caseSelectorAction_ = nullptr;
    int selection_ = 0;
    // The results shown: the program's, or those of the project's selection.
    const SolutionsCont* shownSolutions_ = nullptr;
    const InputModel* shownInput_ = nullptr;
    // The envelope drawn, kept while the results are the same.
    EnvelopeDiagram envelopeDiagram_;
    long envelopeGeneration_ = -1;
    int envelopeIndex_ = -1;
    int envelopeTab_ = -1;
    // The worst position as a load case of its own, and the influence
    // surface chosen, kept while the results are the same.
    std::unique_ptr<InputModel> worstInput_;
    std::unique_ptr<SolutionsCont> worstSolutions_;
    long worstGeneration_ = -1;
    int worstQuantity_ = -1;
    int worstPosition_ = -1;
    std::unique_ptr<InfluenceSurface> influence_;
    long influenceGeneration_ = -1;
};

// Plugs the graphics windows and the printing of graphics into the main
// window: "Zeigen › Grafik", the client area's context menu and "Datei ›
// Grafik drucken".
void InstallGraphicsWindows(TMainForm& form, InputModel& input, const SolutionsCont& solutions,
                            UiDialogs& dialogs);

// The message when the picture cannot be put on the clipboard.
inline constexpr const char* kCopyErrorText =
    "Fehler beim Kopieren des Bildes in die Zwischenablage!";
// The caption of a new graphics window, before it shows its tab's name.
inline constexpr const char* kGraphFormCaption = "Graphische Darstellung";
inline constexpr QSize kGraphFormSize(736, 425);
// The scale spin edits' range in percent: wide, and the scenes limit what
// they draw.
inline constexpr int kScaleSpinLimit = 100000;
