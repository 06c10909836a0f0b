#include "ui/GraphForm.h"

#include "analysis/SolutionsCont.h"
#include "document/TrafficResults.h"
#include "graphics/CursorValues.h"
#include "graphics/InfluencePick.h"
#include "graphics/Render.h"
#include "graphics/SvgCanvas.h"
#include "graphics/ViewMapping.h"
#include "grid/CommandErrors.h"
#include "model/Tables.h"
#include "project/ProjectAnalysis.h"
#include "ui/GraphicsPrinting.h"
#include "ui/Help.h"
#include "ui/MainForm.h"
#include "ui/PageControl.h"
#include "ui/QtCanvas.h"
#include "ui/ToolIcons.h"
#include "ui/UiDialogs.h"
#include "ui/WindowMessages.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetrics>
#include <QImage>
#include <QLayout>
#include <QLineEdit>
#include <QList>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int kGraphHelpTopic = 10120;
constexpr int kIconSize = 16;
constexpr int kDefaultScalePercent = 100;
constexpr int kScaleStep = 10;
// How near a beam the cursor must come for its values, in pixels.
constexpr double kCursorReach = 5.0;

int evaluationPoints = kDefaultEvaluationPoints;

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QIcon GraphIcon(const char* name) {
    return ToolIcon(QStringLiteral(":/icons/grafik/") + QLatin1String(name));
}

MouseButton ToMouseButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::RightButton:
        return MouseButton::Right;
    case Qt::MiddleButton:
        return MouseButton::Middle;
    default:
        return MouseButton::Left;
    }
}

DevicePoint ToDevicePoint(QPoint p) {
    return {p.x(), p.y()};
}

// A handler of the window as the slot of a control: an error that ends it is
// reported and does not unwind through Qt's event dispatch.
auto Command(TGraphForm* form, void (TGraphForm::*handler)()) {
    return [form, handler] { RunCommand([form, handler] { (form->*handler)(); }); };
}
auto Command(TGraphForm* form, void (TGraphForm::*handler)(bool)) {
    return [form, handler](bool down) {
        RunCommand([form, handler, down] { (form->*handler)(down); });
    };
}

// The rows of the window's toolbars: each toolbar keeps its size and the
// next one goes on the same row while it fits, else on a row below, so that
// every control stays reachable in a narrow window.
class ToolRowsLayout : public QLayout {
public:
    explicit ToolRowsLayout(QWidget* parent) : QLayout(parent) {
        setContentsMargins(0, 0, 0, 0);
        setSpacing(0);
    }
    ~ToolRowsLayout() override { qDeleteAll(items_); }

    void addItem(QLayoutItem* item) override { items_.append(item); }
    int count() const override { return static_cast<int>(items_.size()); }
    QLayoutItem* itemAt(int index) const override { return items_.value(index); }
    QLayoutItem* takeAt(int index) override {
        return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
    }
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return Arrange(QRect(0, 0, width, 0), false); }
    void setGeometry(const QRect& rect) override {
        QLayout::setGeometry(rect);
        Arrange(rect, true);
    }
    QSize sizeHint() const override {
        int width = 0, height = 0;
        for (const QLayoutItem* item : items_) {
            width += item->sizeHint().width();
            height = std::max(height, item->sizeHint().height());
        }
        return {width, height};
    }
    QSize minimumSize() const override {
        QSize size;
        for (const QLayoutItem* item : items_)
            size = size.expandedTo(item->minimumSize());
        return size;
    }

private:
    // Places the items row by row inside rect; returns the height used.
    int Arrange(const QRect& rect, bool place) const {
        int x = rect.x(), y = rect.y(), rowHeight = 0;
        for (QLayoutItem* item : items_) {
            const QSize hint = item->sizeHint();
            if (x > rect.x() && x + hint.width() > rect.right() + 1) {
                x = rect.x();
                y += rowHeight;
                rowHeight = 0;
            }
            if (place)
                item->setGeometry(QRect(QPoint(x, y), hint));
            x += hint.width();
            rowHeight = std::max(rowHeight, hint.height());
        }
        return y + rowHeight - rect.y();
    }

    QList<QLayoutItem*> items_;
};

QToolBar* NewToolBar(QWidget* parent) {
    auto* bar = new QToolBar(parent);
    bar->setIconSize(QSize(kIconSize, kIconSize));
    bar->setFloatable(false);
    bar->setMovable(false);
    return bar;
}

} // namespace

// ---- spin edit ---------------------------------------------------------------------------

TCSpinEdit::TCSpinEdit(int minimum, int maximum, int step, int value, QWidget* parent)
    : QSpinBox(parent) {
    setRange(minimum, maximum);
    setSingleStep(step);
    setValue(value);
    setAccelerated(true);
    // The value changes as it is typed, as the buttons change it.
    setKeyboardTracking(true);
    lineEdit()->installEventFilter(this);
}

bool TCSpinEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonDblClick) {
        Q_EMIT DoubleClicked();
        return true;
    }
    return QSpinBox::eventFilter(watched, event);
}

// ---- paint box ---------------------------------------------------------------------------

TPaintBox::TPaintBox(TGraphForm& form, QWidget* parent) : QWidget(parent), form_(form) {
    // The right button belongs to the mouse modes (zoom out, spin), never to
    // a context menu of the main window.
    setContextMenuPolicy(Qt::PreventContextMenu);
    // Hovering shows the values at the cursor.
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::ClickFocus);
}

void TPaintBox::paintEvent(QPaintEvent*) {
    // The picture is drawn into an image of the box's pixels, where the
    // canvas writes the thin lines itself, and shown in one piece.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (pixels.isEmpty())
        return;
    if (picture_.size() != pixels || picture_.devicePixelRatio() != ratio) {
        picture_ = QImage(pixels, QImage::Format_RGB32);
        picture_.setDevicePixelRatio(ratio);
        shown_.reset();
    }
    if (!ShowsWhatTheFormDraws())
        ReplayIntoPicture();
    QPainter(this).drawImage(QPoint(0, 0), picture_);
}

bool TPaintBox::ShowsWhatTheFormDraws() const {
    // Qt's paint region cannot tell: a change asks for the whole box, but the
    // region comes clipped by what covers the box.
    return shown_ && *shown_ == form_.PaintBox1Source();
}

void TPaintBox::ReplayIntoPicture() {
    const PictureSource source = form_.PaintBox1Source();
    shown_.reset();
    picture_.fill(Qt::white);
    bool complete = false;
    {
        QPainter painter(&picture_);
        RunCommand([&] {
            form_.PaintBox1Paint(painter);
            complete = true;
        });
    }
    ++replays_;
    if (complete)
        shown_ = source;
}

void TPaintBox::Redraw() {
    shown_.reset();
    repaint();
}

void TPaintBox::mousePressEvent(QMouseEvent* event) {
    RunCommand([&] { form_.PaintBox1MouseDown(event->position().toPoint(), event->button()); });
}

void TPaintBox::mouseMoveEvent(QMouseEvent* event) {
    RunCommand([&] {
        const QPoint p = event->position().toPoint();
        // The box follows the mouse also without a button (the values at the
        // cursor): a drag whose release never arrived ends at the first such
        // move instead of panning or spinning on.
        if (event->buttons() == Qt::NoButton)
            form_.EndLostDrag(p);
        form_.PaintBox1MouseMove(p);
    });
}

void TPaintBox::leaveEvent(QEvent*) {
    form_.HideCursorValues();
}

void TPaintBox::mouseReleaseEvent(QMouseEvent* event) {
    RunCommand([&] { form_.PaintBox1MouseUp(event->position().toPoint(), event->button()); });
}

void TPaintBox::mouseDoubleClickEvent(QMouseEvent* event) {
    RunCommand([&] { form_.PaintBox1DblClick(event->position().toPoint(), event->button()); });
}

void TPaintBox::wheelEvent(QWheelEvent* event) {
    // The wheel zooms like a double click (in) and a right click (out).
    const int steps = event->angleDelta().y();
    RunCommand([&] {
        if (steps > 0)
            form_.View().ZoomIn();
        else if (steps < 0)
            form_.View().ZoomOut();
    });
    update();
    event->accept();
}

// ---- graphics window --------------------------------------------------------------------------

int TGraphForm::EvaluationPoints() {
    return evaluationPoints;
}

void TGraphForm::SetEvaluationPoints(int count) {
    evaluationPoints = std::clamp(count, 1, kMaxEvaluationPoints);
}

TGraphForm::TGraphForm(InputModel& input, const SolutionsCont& solutions, TMainForm& mainForm,
                       UiDialogs& dialogs, int tab)
    : input_(input), solutions_(solutions), mainForm_(mainForm), dialogs_(dialogs),
      machine_(view_, list_, *this) {
    setWindowTitle(Text(kGraphFormCaption));
    setWindowIcon(GraphIcon("fenster"));
    SetHelpTopic(this, kGraphHelpTopic);
    resize(kGraphFormSize);

    CreateToolBar();
    Panel1 = new QWidget(this);
    Panel1->setAutoFillBackground(true);
    QPalette white = Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(white);
    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    PaintBox1 = new TPaintBox(*this, Panel1);
    panelLayout->addWidget(PaintBox1);
    RubberBand = new QRubberBand(QRubberBand::Rectangle, PaintBox1);
    TabControl2 = new TPageTabs(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolRows);
    layout->addWidget(Panel1, 1);
    layout->addWidget(TabControl2);
    connect(TabControl2, &TPageTabs::TabClicked, this, [this](int index) {
        TabControl2->SetCurrentIndex(index);
        RunCommand([this] { TabControl2Change(); });
    });

    // A new window: structure, supports, loads, extrema and values; the
    // picture fitted; every scale 100 %.
    paintPen_ = QPen(QBrush(Qt::black), 0);
    paintBrush_ = QBrush(Qt::white, Qt::SolidPattern);
    options_.flags = kInitialDisplayFlags;
    options_.layout = kNewWindowLayout;
    options_.textScale = options_.functionScale = options_.displacementScale = 1.0;
    view_.SetWindow(list_.BoundingBox());
    view_.SetKeepView(0);
    TabUpdate();
    const std::pair<TCSpinEdit*, double> scales[] = {{CSpinEdit2, options_.textScale},
                                                     {CSpinEdit3, options_.functionScale},
                                                     {CSpinEdit4, options_.displacementScale}};
    for (const auto& [edit, scale] : scales) {
        const QSignalBlocker block(edit);
        edit->setValue(static_cast<int>(scale * 100));
    }
    view_.SetKeepView(0);
    Rebuild();
    view_.SetKeepView(1);
    UpdateCaption();
    if (tab >= 0 && tab < kSceneTabCount)
        SelectTab(tab);
}

TGraphForm::~TGraphForm() = default;

QAction* TGraphForm::AddButton(QToolBar* bar, const char* icon, const char* hint, bool checkable,
                               bool down) {
    QAction* action = bar->addAction(GraphIcon(icon), Text(hint));
    action->setToolTip(Text(hint));
    action->setStatusTip(Text(hint));
    action->setCheckable(checkable);
    action->setChecked(down);
    return action;
}

TCSpinEdit* TGraphForm::AddSpinEdit(const char* hint, int minimum, int maximum, int step,
                                    int value) {
    auto* edit = new TCSpinEdit(minimum, maximum, step, value, ToolBar2);
    edit->setToolTip(Text(hint));
    edit->setStatusTip(Text(hint));
    edit->setAccessibleName(Text(hint));
    ToolBar2->addWidget(edit);
    ToolBar2->addSeparator();
    return edit;
}

void TGraphForm::CreateToolBar() {
    // The buttons of the view, the display toggles and the spin edits are
    // three toolbars that share a row while the window is wide enough and
    // wrap into further rows when it is not.
    ToolRows = new QWidget(this);
    auto* rows = new ToolRowsLayout(ToolRows);
    ToolBar1 = NewToolBar(ToolRows);
    ToolBar3 = NewToolBar(ToolRows);
    ToolBar2 = NewToolBar(ToolRows);
    rows->addWidget(ToolBar1);
    rows->addWidget(ToolBar3);
    rows->addWidget(ToolBar2);
    QToolBar* bar = ToolBar1;
    ToolButton1 = AddButton(bar, "drucken", "Grafik Drucken", false, false);
    ToolButton2 = AddButton(bar, "kopieren", "In Zwichenablage kopieren", false, false);
    ToolButton3 = AddButton(bar, "ausschnitt", "Ausschnitt", true, false);
    ToolButton4 = AddButton(bar, "alles", "Alles zeigen", false, false);
    ToolButton5 = AddButton(bar, "verschieben", "Verschieben", true, true);
    ToolButton6 = AddButton(bar, "rotieren", "Rotieren (linke ode rechte Maustaste)", true, false);
    ResetViewButton = AddButton(bar, "zuruecksetzen", "Ansicht zurücksetzen", false, false);
    CaseSelector = new QComboBox(bar);
    CaseSelector->setToolTip(QStringLiteral("Lastfall, Kombination oder Umhüllende"));
    CaseSelector->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    CaseSelector->setFocusPolicy(Qt::ClickFocus);
    caseSelectorAction_ = bar->addWidget(CaseSelector);
    caseSelectorAction_->setVisible(false);
    connect(CaseSelector, &QComboBox::activated, this,
            [this](int index) { RunCommand([this, index] { Select(index); }); });
    InfluenceButton = bar->addAction(QStringLiteral("Einflussfläche…"));
    InfluenceButton->setToolTip(
        QStringLiteral("Einflussfläche: einen Knoten (w, Auflagerkraft) oder einen Stab (Q, M, "
                       "T nach der Ansicht) anklicken"));
    InfluenceButton->setCheckable(true);
    InfluenceButton->setVisible(false);
    bar = ToolBar3;
    ToolButton7 = bar->addSeparator();
    ToolButton8 = AddButton(bar, "achsen", "Achsenkreuz", true, false);
    ToolButton9 = AddButton(bar, "knoten", "Knotennummern", true, false);
    ToolButton10 = AddButton(bar, "staebe", "Stabnummern", true, false);
    ToolButton11 = AddButton(bar, "gelenke", "Gelenknummern", true, false);
    ToolButton12 = AddButton(bar, "material", "Materialnummern", true, false);
    ToolButton13 = AddButton(bar, "werte", "Wertangaben", true, true);
    ToolButton14 = AddButton(bar, "extrema", "Funktionsextrema", true, true);
    ToolButton15 = AddButton(bar, "belastung", "Belastung", true, true);
    ToolButton16 = AddButton(bar, "auflager", "Auflager", true, true);
    ToolButton17 = AddButton(bar, "auflagerkraefte", "Auflagerkräfte", true, false);
    bar->addSeparator();
    UntangleButton = AddButton(bar, "entzerren", kLayoutToggles[0].hint, true, true);
    LegendButton = AddButton(bar, "legende", kLayoutToggles[1].hint, true, true);
    CSpinEdit1 =
        AddSpinEdit("Anzahl der Auswertungpunkte", 1, kMaxEvaluationPoints, 1, evaluationPoints);
    CSpinEdit2 = AddSpinEdit("Textskalierung", -kScaleSpinLimit, kScaleSpinLimit, kScaleStep,
                             kDefaultScalePercent);
    CSpinEdit3 = AddSpinEdit("Funktionsskalierung", -kScaleSpinLimit, kScaleSpinLimit, kScaleStep,
                             kDefaultScalePercent);
    CSpinEdit4 = AddSpinEdit("Verschiebungsskalierung", -kScaleSpinLimit, kScaleSpinLimit,
                             kScaleStep, kDefaultScalePercent);

    connect(ToolButton1, &QAction::triggered, this, Command(this, &TGraphForm::ToolButton1Click));
    connect(ToolButton2, &QAction::triggered, this, Command(this, &TGraphForm::ToolButton2Click));
    connect(ToolButton3, &QAction::triggered, this, Command(this, &TGraphForm::ToolButton3Click));
    connect(ToolButton4, &QAction::triggered, this, Command(this, &TGraphForm::ToolButton4Click));
    connect(ToolButton5, &QAction::triggered, this, Command(this, &TGraphForm::ToolButton5Click));
    connect(ToolButton6, &QAction::triggered, this, Command(this, &TGraphForm::ToolButton6Click));
    connect(ResetViewButton, &QAction::triggered, this,
            Command(this, &TGraphForm::ResetViewButtonClick));
    for (QAction* button : {UntangleButton, LegendButton}) {
        const LayoutFlags flag = button == UntangleButton ? kUntangleLabels : kShowLegend;
        connect(button, &QAction::triggered, this, [this, flag](bool down) {
            RunCommand([this, flag, down] { LayoutButtonClick(flag, down); });
        });
    }
    QAction* const flagButtons[] = {ToolButton8,  ToolButton9,  ToolButton10, ToolButton11,
                                    ToolButton12, ToolButton13, ToolButton14, ToolButton15,
                                    ToolButton16, ToolButton17};
    for (int i = 0; i < static_cast<int>(std::size(flagButtons)); ++i) {
        QAction* button = flagButtons[i];
        const DisplayFlags flag = kDisplayToggles[i].flag;
        connect(button, &QAction::triggered, this, [this, button, flag](bool down) {
            RunCommand([this, button, flag, down] { FlagButtonClick(button, flag, down); });
        });
    }
    connect(CSpinEdit1, &QSpinBox::valueChanged, this,
            Command(this, &TGraphForm::CSpinEdit1Change));
    connect(CSpinEdit2, &QSpinBox::valueChanged, this,
            Command(this, &TGraphForm::CSpinEdit2Change));
    connect(CSpinEdit3, &QSpinBox::valueChanged, this,
            Command(this, &TGraphForm::CSpinEdit3Change));
    connect(CSpinEdit4, &QSpinBox::valueChanged, this,
            Command(this, &TGraphForm::CSpinEdit4Change));
    connect(CSpinEdit1, &TCSpinEdit::DoubleClicked, this,
            Command(this, &TGraphForm::CSpinEdit1DblClick));
    connect(CSpinEdit2, &TCSpinEdit::DoubleClicked, this,
            Command(this, &TGraphForm::CSpinEdit2DblClick));
    connect(CSpinEdit3, &TCSpinEdit::DoubleClicked, this,
            Command(this, &TGraphForm::CSpinEdit3DblClick));
    connect(CSpinEdit4, &TCSpinEdit::DoubleClicked, this,
            Command(this, &TGraphForm::CSpinEdit4DblClick));
}

// ---- tabs and rebuild ---------------------------------------------------------------------------

void TGraphForm::TabUpdate() {
    if (tabTable_ == kSceneTabs)
        return;
    tabTable_ = kSceneTabs;
    if (TabControl2->Count() == 0)
        for (const SceneTabInfo& info : kSceneTabs)
            TabControl2->AddTab(Text(info.name));
    TabControl2->SetCurrentIndex(0);
    TabControl2Change();
}

void TGraphForm::TabControl2Change() {
    const int tab = std::max(TabControl2->CurrentIndex(), 0);
    options_.tab = tab;
    const TabChange change = ChangeTab(options_.flags, tab);
    options_.flags = change.flags;
    ToolButton15->setChecked(change.loadsButtonDown);
    Rebuild();
    paintPen_.setWidth(1);
    paintPen_.setColor(Qt::black);
    UpdateCaption();
}

void TGraphForm::SelectTab(int tab) {
    TabControl2->SetCurrentIndex(tab);
    TabControl2Change();
}

// ξ of evaluation point m of n, as the protocols print it (protocols/ResultValues.h,
// whose BeamPoint is not the cursor's).
double EvaluationPoint(long m, long n);

void TGraphForm::FillCaseSelector() {
    ProjectAnalysis* analysis = mainForm_.document.Analysis();
    QStringList items;
    if (analysis) {
        const ProjectModel& project = analysis->GetProject();
        for (size_t k = 0; k < project.loadCases.size(); ++k)
            items << QStringLiteral("LF%1 %2").arg(k + 1).arg(
                QString::fromStdString(project.loadCases[k].name));
        for (size_t j = 0; j < project.combinations.size(); ++j)
            items << QStringLiteral("K%1 %2").arg(j + 1).arg(
                QString::fromStdString(project.combinations[j].name));
        for (size_t e = 0; e < project.envelopes.size(); ++e)
            items << QStringLiteral("U%1 %2").arg(e + 1).arg(
                QString::fromStdString(project.envelopes[e].name));
        if (mainForm_.document.TrafficRun()) {
            const QString group = QString::fromStdString(project.traffic.groupName);
            items << QStringLiteral("V %1").arg(group)
                  << QStringLiteral("V %1 ungünstigste Stellung").arg(group);
            if (influence_ && influenceGeneration_ == mainForm_.document.ResultsGeneration())
                items << QStringLiteral("E %1").arg(
                    QString::fromStdString(influence_->target.text));
        }
    }
    const bool traffic = analysis && mainForm_.document.TrafficRun();
    InfluenceButton->setVisible(traffic);
    if (!traffic)
        InfluenceButton->setChecked(false);
    QStringList shown;
    for (int i = 0; i < CaseSelector->count(); ++i)
        shown << CaseSelector->itemText(i);
    if (shown != items) {
        const QSignalBlocker block(CaseSelector);
        CaseSelector->clear();
        CaseSelector->addItems(items);
    }
    if (selection_ >= items.size())
        selection_ = 0;
    if (!items.isEmpty() && CaseSelector->currentIndex() != selection_) {
        const QSignalBlocker block(CaseSelector);
        CaseSelector->setCurrentIndex(selection_);
    }
    caseSelectorAction_->setVisible(!items.isEmpty());
}

void TGraphForm::Select(int index) {
    selection_ = std::max(index, 0);
    Rebuild();
}

QString TGraphForm::SelectionName() const {
    ProjectAnalysis* analysis = mainForm_.document.Analysis();
    if (!analysis)
        return QString();
    const ProjectModel& project = analysis->GetProject();
    const int cases = static_cast<int>(project.loadCases.size());
    const int combinations = static_cast<int>(project.combinations.size());
    const size_t i = static_cast<size_t>(selection_);
    if (selection_ < cases)
        return QStringLiteral("Lastfall %1: %2")
            .arg(selection_ + 1)
            .arg(QString::fromStdString(project.loadCases[i].name));
    if (selection_ < cases + combinations)
        return QStringLiteral("Kombination %1: %2")
            .arg(selection_ - cases + 1)
            .arg(QString::fromStdString(project.combinations[i - cases].name));
    const QString group = QString::fromStdString(project.traffic.groupName);
    switch (TrafficEntry()) {
    case 0:
        return QStringLiteral("Verkehr: %1").arg(group);
    case 1:
        return worstPosition_ < 0 ? QStringLiteral("Verkehr: %1, ungünstigste Stellung").arg(group)
                                  : QStringLiteral("Verkehr: %1, ungünstigste Stellung %2")
                                        .arg(group)
                                        .arg(worstPosition_ + 1);
    case 2:
        return QStringLiteral("Einflussfläche: %1")
            .arg(QString::fromStdString(influence_->target.text));
    default:
        break;
    }
    return QStringLiteral("Umhüllende %1: %2")
        .arg(selection_ - cases - combinations + 1)
        .arg(QString::fromStdString(project.envelopes[i - cases - combinations].name));
}

int TGraphForm::ProjectEntries() const {
    ProjectAnalysis* analysis = mainForm_.document.Analysis();
    if (!analysis)
        return 0;
    const ProjectModel& project = analysis->GetProject();
    return static_cast<int>(project.loadCases.size() + project.combinations.size() +
                            project.envelopes.size());
}

int TGraphForm::TrafficEntry() const {
    if (!mainForm_.document.TrafficRun())
        return -1;
    const int entry = selection_ - ProjectEntries();
    const bool influence =
        influence_ && influenceGeneration_ == mainForm_.document.ResultsGeneration();
    return entry >= 0 && entry < (influence ? 3 : 2) ? entry : -1;
}

namespace {

// An influence surface as a diagram of one line (max and min the same).
EnvelopeDiagram InfluenceDiagram(const InfluenceSurface& surface) {
    EnvelopeDiagram diagram;
    for (const EnvelopeLayout::Beam& beam : surface.layout.beams) {
        EnvelopeDiagram::Beam line{beam.beam, {}, {}, {}};
        for (long m = 0; m <= beam.n; ++m) {
            line.xi.push_back(EvaluationPoint(m, beam.n));
            line.max.push_back(surface.beamValues[beam.first + static_cast<size_t>(m)]);
        }
        line.min = line.max;
        diagram.beams.push_back(std::move(line));
    }
    return diagram;
}

} // namespace

EnvelopeDiagram TGraphForm::TrafficEnvelopeOfTab(const ProjectTrafficEnvelope& envelope) const {
    EnvelopeDiagram diagram = EnvelopeOfTab(envelope.results.values, options_.tab);
    diagram.arrangementTexts = envelope.results.texts;
    return diagram;
}

EnvelopeDiagram TGraphForm::EnvelopeOfSelection(ProjectAnalysis& analysis, int e) const {
    // An envelope with the traffic term is the traffic run's, with its positions.
    const TrafficResults* traffic = mainForm_.document.TrafficRun();
    if (traffic && analysis.GetProject().envelopes[static_cast<size_t>(e)].traffic.found)
        return TrafficEnvelopeOfTab(traffic->run.envelopes[1 + static_cast<size_t>(e)]);
    return EnvelopeOfTab(analysis.EvaluateEnvelope(e), options_.tab);
}

void TGraphForm::ShowTraffic(ProjectAnalysis& analysis, int entry) {
    const TrafficResults& traffic = *mainForm_.document.TrafficRun();
    const long generation = mainForm_.document.ResultsGeneration();
    if (entry == 1) {
        // The worst position of the tab's quantity (w on the tabs without
        // one) as an ordinary load case: its loads, results and reactions.
        const int quantity = TabFunction(options_.tab);
        if (generation != worstGeneration_ || quantity != worstQuantity_) {
            worstPosition_ = traffic.run.WorstPosition(quantity);
            worstInput_ = std::make_unique<InputModel>();
            worstInput_->CopySystemFrom(analysis.Input());
            if (worstPosition_ >= 0)
                AppendPositionLoads(
                    traffic.run.shares.positions[static_cast<size_t>(worstPosition_)],
                    *worstInput_);
            worstSolutions_ = std::make_unique<SolutionsCont>(*worstInput_);
            worstSolutions_->Calculate();
            worstGeneration_ = generation;
            worstQuantity_ = quantity;
        }
        shownInput_ = worstInput_.get();
        shownSolutions_ = worstSolutions_.get();
        return;
    }
    // The envelope and the influence surface are diagrams over the bare structure.
    const int key = -2 - entry;
    if (generation != envelopeGeneration_ || key != envelopeIndex_ ||
        options_.tab != envelopeTab_) {
        envelopeDiagram_ = entry == 0 ? TrafficEnvelopeOfTab(traffic.run.envelopes.front())
                                      : InfluenceDiagram(*influence_);
        envelopeGeneration_ = generation;
        envelopeIndex_ = key;
        envelopeTab_ = options_.tab;
    }
    analysis.Input().ResetLoadCase();
    options_.envelope = &envelopeDiagram_;
    shownSolutions_ = nullptr;
}

bool TGraphForm::ChooseInfluenceAt(QPoint p) {
    TrafficResults* traffic = mainForm_.document.TrafficRun();
    const std::optional<ViewMapping> mapping = FitMapping(view_.Window(), PaintBoxRect(), 1.0);
    if (!traffic || !mapping || !(mapping->scaleX > 0))
        return false;
    const std::string text =
        InfluenceTargetAt(input_, view_.Matrix(), DeviceToScene(*mapping, p.x(), p.y()),
                          kCursorReach / mapping->scaleX, options_.tab);
    std::string error = "Hier ist kein Knoten und kein Stab: bitte einen anklicken.";
    InfluenceTarget target;
    auto surface = std::make_unique<InfluenceSurface>();
    if (text.empty() || !ParseInfluenceTarget(text, target, error) ||
        !traffic->analysis->Influence(target, *surface, error)) {
        dialogs_.ShowMessage(this, QString::fromStdString(error), QStringLiteral("Einflussfläche"),
                             MessageIcon::Warning);
        return false;
    }
    influence_ = std::move(surface);
    influenceGeneration_ = mainForm_.document.ResultsGeneration();
    selection_ = ProjectEntries() + 2;
    // Drawn like the deflection line, with its values.
    SelectTab(kTabBiegelinie);
    return true;
}

void TGraphForm::UpdateCaption() {
    const QString name = SelectionName();
    setWindowTitle(Text(kSceneTabs[options_.tab].name) +
                   (name.isEmpty() ? QString() : QStringLiteral(" – ") + name));
}

void TGraphForm::Rebuild() {
    TabUpdate();
    options_.evaluationPoints = evaluationPoints;
    options_.envelope = nullptr;
    const std::vector<TrafficLane>& lanes = mainForm_.document.Traffic().lanes;
    options_.lanes = lanes.empty() ? nullptr : &lanes;
    shownInput_ = &input_;
    shownSolutions_ = &solutions_;
    FillCaseSelector();
    if (ProjectAnalysis* analysis = mainForm_.document.Analysis()) {
        // The selection's results are put into the analysis's own model.
        const ProjectModel& project = analysis->GetProject();
        const int cases = static_cast<int>(project.loadCases.size());
        const int combinations = static_cast<int>(project.combinations.size());
        shownInput_ = &analysis->Input();
        shownSolutions_ = &analysis->Solutions();
        if (selection_ < cases) {
            analysis->ShowLoadCase(selection_);
        } else if (selection_ < cases + combinations) {
            analysis->ShowCombination(selection_ - cases);
        } else if (const int entry = TrafficEntry(); entry >= 0) {
            ShowTraffic(*analysis, entry);
        } else {
            const int e = selection_ - cases - combinations;
            const long generation = mainForm_.document.ResultsGeneration();
            if (generation != envelopeGeneration_ || e != envelopeIndex_ ||
                options_.tab != envelopeTab_) {
                envelopeDiagram_ = EnvelopeOfSelection(*analysis, e);
                envelopeGeneration_ = generation;
                envelopeIndex_ = e;
                envelopeTab_ = options_.tab;
            }
            // The structure under the envelope's diagrams, without the loads
            // of any one load case.
            analysis->Input().ResetLoadCase();
            options_.envelope = &envelopeDiagram_;
            shownSolutions_ = nullptr;
        }
    }
    ::RebuildScene(const_cast<InputModel&>(*shownInput_), shownSolutions_, options_, view_, list_);
    options_.envelope = nullptr;
    UpdateCaption();
    ++rebuilds_;
    // The spin edit shows the count the drawing uses, also when another
    // window changed it.
    if (CSpinEdit1->value() != evaluationPoints) {
        const QSignalBlocker block(CSpinEdit1);
        CSpinEdit1->setValue(evaluationPoints);
    }
    SyncFlagButtons();
    PaintBox1->update();
}

void TGraphForm::SyncFlagButtons() {
    QAction* const flagButtons[] = {ToolButton8,  ToolButton9,  ToolButton10, ToolButton11,
                                    ToolButton12, ToolButton13, ToolButton14, ToolButton15,
                                    ToolButton16, ToolButton17};
    // While rotating, the bare structure is drawn; the buttons keep showing
    // the user's choice.
    if (machine_.Mode() == MouseMode::Tilting || machine_.Mode() == MouseMode::Spinning)
        return;
    for (int i = 0; i < static_cast<int>(std::size(flagButtons)); ++i)
        flagButtons[i]->setChecked((options_.flags & kDisplayToggles[i].flag) != 0);
}

void TGraphForm::FlagButtonClick(QAction* button, DisplayFlags flag, bool down) {
    button->setChecked(down);
    if (down)
        options_.flags |= flag;
    else
        options_.flags &= static_cast<DisplayFlags>(~flag);
    Rebuild();
}

// ---- spin edits ---------------------------------------------------------------------------

void TGraphForm::CSpinEdit1Change() {
    SetEvaluationPoints(CSpinEdit1->value());
    view_.SetKeepView(1);
    Rebuild();
}

void TGraphForm::ScaleChanged(double& scale, const TCSpinEdit* edit) {
    scale = edit->value() * 0.01;
    view_.SetKeepView(1);
    Rebuild();
}

void TGraphForm::CSpinEdit2Change() {
    ScaleChanged(options_.textScale, CSpinEdit2);
}

void TGraphForm::CSpinEdit3Change() {
    ScaleChanged(options_.functionScale, CSpinEdit3);
}

void TGraphForm::CSpinEdit4Change() {
    ScaleChanged(options_.displacementScale, CSpinEdit4);
}

void TGraphForm::ResetSpinEdit(TCSpinEdit* edit, int value) {
    // One rebuild, also when the value is already the default.
    {
        const QSignalBlocker block(edit);
        edit->setValue(value);
    }
    if (edit == CSpinEdit1)
        CSpinEdit1Change();
    else if (edit == CSpinEdit2)
        CSpinEdit2Change();
    else if (edit == CSpinEdit3)
        CSpinEdit3Change();
    else
        CSpinEdit4Change();
}

void TGraphForm::CSpinEdit1DblClick() {
    ResetSpinEdit(CSpinEdit1, kDefaultEvaluationPoints);
}

void TGraphForm::CSpinEdit2DblClick() {
    ResetSpinEdit(CSpinEdit2, kDefaultScalePercent);
}

void TGraphForm::CSpinEdit3DblClick() {
    ResetSpinEdit(CSpinEdit3, kDefaultScalePercent);
}

void TGraphForm::CSpinEdit4DblClick() {
    ResetSpinEdit(CSpinEdit4, kDefaultScalePercent);
}

// ---- toolbar ---------------------------------------------------------------------------

void TGraphForm::ToolButton1Click() {
    mainForm_.PrintGraphicsWindow(this);
}

void TGraphForm::ToolButton2Click() {
    CopyToClipboard();
}

void TGraphForm::ToolButton3Click(bool down) {
    machine_.ZoomWindowButton(down);
}

void TGraphForm::ToolButton4Click() {
    machine_.FitAllButton();
}

void TGraphForm::ToolButton5Click(bool down) {
    machine_.PanButton(down);
}

void TGraphForm::ToolButton6Click(bool down) {
    machine_.RotateButton(down);
}

void TGraphForm::ResetViewButtonClick() {
    machine_.ResetViewButton();
}

void TGraphForm::LayoutButtonClick(LayoutFlags flag, bool down) {
    if (down)
        options_.layout |= flag;
    else
        options_.layout &= static_cast<LayoutFlags>(~flag);
    view_.SetKeepView(1);
    Rebuild();
}

void TGraphForm::ToolsChanged() {
    ToolButton3->setChecked(machine_.ZoomWindowDown());
    ToolButton5->setChecked(machine_.PanDown());
    ToolButton6->setChecked(machine_.RotateDown());
    switch (machine_.Cursor()) {
    case NavigationCursor::Cross:
        PaintBox1->setCursor(Qt::CrossCursor);
        break;
    case NavigationCursor::SizeAll:
        PaintBox1->setCursor(Qt::SizeAllCursor);
        break;
    case NavigationCursor::Default:
        PaintBox1->unsetCursor();
        break;
    }
}

// ---- painting and mouse
// ---------------------------------------------------------------------------

DeviceRect TGraphForm::PaintBoxRect() const {
    return {0, 0, PaintBox1->width(), PaintBox1->height()};
}

void TGraphForm::SetPaintBoxPenWidth(int pixels) {
    paintPen_.setWidth(pixels);
}

void TGraphForm::ShowRubberBand(DevicePoint c1, DevicePoint c2) {
    RubberBand->setGeometry(QRect(QPoint(c1.x, c1.y), QPoint(c2.x, c2.y)).normalized());
    RubberBand->show();
}

void TGraphForm::HideRubberBand() {
    RubberBand->hide();
}

void TGraphForm::Repaint() {
    PaintBox1->update();
}

PictureSource TGraphForm::PaintBox1Source() const {
    return {list_.Fills(),     list_.ByteCount(), view_.Window(),
            PaintBox1->size(), paintPen_,         paintBrush_};
}

void TGraphForm::PaintBox1Paint(QPainter& painter) {
    painter.setPen(paintPen_);
    painter.setBrush(paintBrush_);
    {
        QtCanvas canvas(painter);
        RenderFitted(list_, canvas, view_.Window(), PaintBoxRect(), 1.0);
    }
    paintPen_ = painter.pen();
    paintBrush_ = painter.brush();
}

void TGraphForm::PaintBox1MouseDown(QPoint p, Qt::MouseButton button) {
    if (InfluenceButton->isChecked() && button == Qt::LeftButton) {
        InfluenceButton->setChecked(false);
        ChooseInfluenceAt(p);
        return;
    }
    machine_.Press(ToDevicePoint(p), ToMouseButton(button));
}

void TGraphForm::PaintBox1MouseMove(QPoint p) {
    machine_.Move(ToDevicePoint(p));
    ShowCursorValues(p);
}

void TGraphForm::EndLostDrag(QPoint p) {
    switch (machine_.Mode()) {
    case MouseMode::ZoomDragging:
    case MouseMode::Panning:
    case MouseMode::Tilting:
    case MouseMode::Spinning:
        machine_.Release(ToDevicePoint(p), MouseButton::Left);
        break;
    default:
        break;
    }
}

void TGraphForm::ShowCursorValues(QPoint p) {
    QStatusBar* bar = mainForm_.statusBar();
    const std::optional<ViewMapping> mapping = FitMapping(view_.Window(), PaintBoxRect(), 1.0);
    std::optional<BeamPoint> at;
    if (mapping && mapping->scaleX > 0)
        at = BeamAt(input_, view_.Matrix(), DeviceToScene(*mapping, p.x(), p.y()),
                    kCursorReach / mapping->scaleX);
    // The values of what the window shows: the program's results or the
    // load case or combination of a project (an envelope has none at a point).
    const SolutionsCont* shown = shownSolutions_;
    if (shown == &solutions_ && !solutions_.resultsValid)
        shown = nullptr;
    // Another window or a protocol may have put other results into the
    // project's model since.
    if (ProjectAnalysis* analysis = mainForm_.document.Analysis();
        analysis && shown == &analysis->Solutions()) {
        const int cases = static_cast<int>(analysis->GetProject().loadCases.size());
        if (selection_ < cases)
            analysis->ShowLoadCase(selection_);
        else
            analysis->ShowCombination(selection_ - cases);
    }
    if (at) {
        bar->showMessage(QString::fromStdString(CursorValueText(shown, options_.tab, *at)));
        cursorValuesShown_ = true;
    } else {
        HideCursorValues();
    }
}

void TGraphForm::HideCursorValues() {
    if (cursorValuesShown_)
        mainForm_.statusBar()->clearMessage();
    cursorValuesShown_ = false;
}

void TGraphForm::PaintBox1MouseUp(QPoint p, Qt::MouseButton button) {
    machine_.Release(ToDevicePoint(p), ToMouseButton(button));
}

void TGraphForm::PaintBox1DblClick(QPoint p, Qt::MouseButton button) {
    machine_.DoubleClick(ToDevicePoint(p), ToMouseButton(button));
}

// ---- clipboard and printing
// ---------------------------------------------------------------------------

void TGraphForm::CopyToClipboard() {
    const SceneBox& window = view_.Window();
    if (!(window.Width() > 0 && window.Height() > 0))
        return;
    bool copied = false;
    try {
        const DeviceRect device = PaintBoxRect();
        QImage image(std::max(device.right, 1), std::max(device.bottom, 1), QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            SetNewCanvasState(painter);
            QtCanvas canvas(painter);
            RenderFitted(list_, canvas, window, device, 1.0);
        }
        const std::string svg = RenderSvg(list_, window, device);
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (!image.isNull() && !svg.empty() && clipboard) {
            auto* data = new QMimeData;
            data->setData(QStringLiteral("image/svg+xml"), QByteArray::fromStdString(svg));
            data->setImageData(image);
            clipboard->setMimeData(data);
            copied = true;
        }
    } catch (const std::exception&) {
        copied = false;
    }
    if (!copied)
        dialogs_.ShowMessage(this, Text(kCopyErrorText), Text(kErrorBoxCaption),
                             MessageIcon::Error);
}

void TGraphForm::PrintCell(QPainter& painter, double aspect) {
    const QRect clip = painter.clipBoundingRect().toAlignedRect();
    const DeviceRect target{clip.left(), clip.top(), clip.left() + clip.width(),
                            clip.top() + clip.height()};
    const QFontMetrics metrics = painter.fontMetrics();
    const QString selection = SelectionName();
    painter.drawText(
        QPoint(target.left + 6, target.bottom - metrics.height() - 6 + metrics.ascent()),
        Text(kSceneTabs[options_.tab].name) +
            (selection.isEmpty() ? QString() : QStringLiteral(" – ") + selection));
    {
        QtCanvas canvas(painter);
        RenderFitted(list_, canvas, view_.Window(), target, aspect);
    }
    painter.setPen(QPen(QBrush(Qt::black), 1));
    const QPoint frame[] = {{target.left, target.top},
                            {target.right - 1, target.top},
                            {target.right - 1, target.bottom - 1},
                            {target.left, target.bottom - 1},
                            {target.left, target.top}};
    painter.drawPolyline(frame, 5);
}

// ---- messages ---------------------------------------------------------------------------

void TGraphForm::DeliverRefresh() {
    refreshPending_ = false;
    if (refreshRefit_)
        view_.SetKeepView(0);
    refreshRefit_ = false;
    RunCommand([this] { Rebuild(); });
}

bool TGraphForm::event(QEvent* event) {
    const auto type = static_cast<int>(event->type());
    if (type >= UM_REFRESH && type <= UM_PRINTINCLUDE) {
        const auto* message = static_cast<const WindowMessage*>(event);
        switch (type) {
        case UM_REFRESH:
            // Requests that arrive before the window rebuilds are merged into
            // one rebuild, a refit when any of them asked for one.
            refreshRefit_ = refreshRefit_ || message->WParam() == kRefreshRefit;
            if (!refreshPending_) {
                refreshPending_ = true;
                QMetaObject::invokeMethod(this, &TGraphForm::DeliverRefresh, Qt::QueuedConnection);
            }
            return true;
        case UM_PRINTCOUNT:
            if (!printExcluded)
                printSlot = mainForm_.printCellCount++;
            return true;
        case UM_PRINTCELL:
            if (!printExcluded && message->WParam() == printSlot && message->LParam()) {
                const auto* target = reinterpret_cast<const PrintCellTarget*>(message->LParam());
                RunCommand([&] { PrintCell(*target->painter, target->aspect); });
            }
            return true;
        case UM_PRINTEXCLUDE:
            printExcluded = 1;
            return true;
        case UM_PRINTINCLUDE:
            printExcluded = 0;
            return true;
        default:
            return true;
        }
    }
    if (event->type() == QEvent::ParentChange)
        FollowSubWindow();
    return QWidget::event(event);
}

void TGraphForm::FollowSubWindow() {
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!sub)
        return;
    // A window that loses the focus refits its picture at the next rebuild.
    connect(sub, &QMdiSubWindow::windowStateChanged, this,
            [this](Qt::WindowStates before, Qt::WindowStates now) {
                if ((before & Qt::WindowActive) && !(now & Qt::WindowActive))
                    view_.SetKeepView(0);
            });
}

void InstallGraphicsWindows(TMainForm& form, InputModel& input, const SolutionsCont& solutions,
                            UiDialogs& dialogs) {
    form.SetGraphicsWindowFactory(
        [&form, &input, &solutions, &dialogs](QWidget*, int tab) -> QWidget* {
            TGraphForm* window = nullptr;
            RunCommand([&] { window = new TGraphForm(input, solutions, form, dialogs, tab); });
            return window;
        });
    form.SetGraphicsPrint([&form, &dialogs] { RunCommand([&] { PrintGraphics(form, dialogs); }); });
}
