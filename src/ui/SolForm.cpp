#include "ui/SolForm.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kBevelWidth = 2;
// How long a run waits for its window to appear on the screen.
constexpr int kExposureWaitMs = 2000;

// Shows or hides the raised frame around a stage name; the name keeps its
// place either way, so the window never has to grow.
void SetBevelVisible(QFrame* bevel, bool visible) {
    bevel->setFrameStyle(visible ? QFrame::Panel | QFrame::Raised : QFrame::NoFrame);
    const int pad = visible ? 0 : kBevelWidth;
    bevel->layout()->setContentsMargins(8 + pad, 3 + pad, 8 + pad, 3 + pad);
    // Placed now: the run does not return to the event loop, which would do
    // it later, and the name would be drawn off its place inside the frame.
    bevel->layout()->activate();
}

int CaptionWidth(const QLabel* label, const char* caption) {
    return label->fontMetrics().horizontalAdvance(QString::fromUtf8(caption));
}

QFrame* MakeBevel(QWidget* parent, QFrame::Shadow shadow) {
    auto* frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::Panel | shadow);
    frame->setLineWidth(kBevelWidth);
    return frame;
}

} // namespace

TSolForm::TSolForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Status der Berechnung"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowStaysOnTopHint);
    setModal(false);
    setMinimumSize(363, 271);

    Bevel1 = MakeBevel(this, QFrame::Sunken);
    auto* stages = new QVBoxLayout(Bevel1);
    stages->setSpacing(2);
    for (int i = 0; i < kStageCount; ++i) {
        // The raised bevel around the name is the highlight of the running stage.
        stageBevels_[i] = MakeBevel(Bevel1, QFrame::Raised);
        stageLabels_[i] = new QLabel(QString::fromUtf8(StageName(i + 1)), stageBevels_[i]);
        auto* inner = new QHBoxLayout(stageBevels_[i]);
        inner->setContentsMargins(8, 3, 8, 3);
        SetBevelVisible(stageBevels_[i], false);
        inner->addWidget(stageLabels_[i]);
        stages->addWidget(stageBevels_[i]);
    }
    stages->addStretch();

    Bevel7 = MakeBevel(this, QFrame::Sunken);
    auto* counters = new QGridLayout(Bevel7);
    counters->addWidget(new QLabel(QStringLiteral("Anzahl der "), Bevel7), 0, 0, 1, 2);
    NodeNb = AddCounter(counters, 1, QStringLiteral("Knoten"));
    ElNb = AddCounter(counters, 2, QStringLiteral("Elemente"));
    FGNb = AddCounter(counters, 3, QStringLiteral("Freiheitsgrade"));
    BCNb = AddCounter(counters, 4, QStringLiteral("Randbedingungen"));
    Memory = AddCounter(counters, 5, QString::fromUtf8(MemoryCaption(false)), &Label11);
    Bandbreite = AddCounter(counters, 6, QString::fromUtf8(SizeCaption(false)), &Label13);
    // A project's run also shows its load cases and their factorisations.
    QLabel* casesCaption = nullptr;
    QLabel* factorisationsCaption = nullptr;
    LoadCaseNb = AddCounter(counters, 7, QStringLiteral("Lastfälle"), &casesCaption);
    FactorNb = AddCounter(counters, 8, QStringLiteral("Zerlegungen"), &factorisationsCaption);
    projectRows_ = {casesCaption, LoadCaseNb, factorisationsCaption, FactorNb};
    for (QLabel* label : projectRows_)
        label->setVisible(false);
    QLabel* positionsCaption = nullptr;
    VehiclePositionNb =
        AddCounter(counters, 9, QStringLiteral("Fahrzeugstellungen"), &positionsCaption);
    trafficRow_ = {positionsCaption, VehiclePositionNb};
    ShowVehiclePositions(0);
    counters->setRowStretch(10, 1);
    // Room for the captions of either solver: the window cannot grow while
    // the run goes on.
    for (QLabel* caption : {Label11, Label13})
        caption->setMinimumWidth(std::max({CaptionWidth(caption, MemoryCaption(false)),
                                           CaptionWidth(caption, MemoryCaption(true)),
                                           CaptionWidth(caption, SizeCaption(false)),
                                           CaptionWidth(caption, SizeCaption(true))}));

    BitBtn1 = new QPushButton(QStringLiteral("Fertig"), this);
    BitBtn2 = new QPushButton(QStringLiteral("Fehler"), this);
    connect(BitBtn1, &QPushButton::clicked, this, &TSolForm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TSolForm::BitBtn2Click);

    auto* columns = new QHBoxLayout;
    columns->addWidget(Bevel1);
    columns->addWidget(Bevel7, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);

    FormShow();
}

QLabel* TSolForm::AddCounter(QGridLayout* grid, int row, const QString& caption,
                             QLabel** captionLabel) {
    auto* value = new QLabel(QStringLiteral("0"), Bevel7);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Room for large counts, so that the window keeps its size during a run.
    value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    auto* name = new QLabel(caption, Bevel7);
    grid->addWidget(name, row, 0);
    grid->addWidget(value, row, 1);
    if (captionLabel)
        *captionLabel = name;
    return value;
}

void TSolForm::SetCounter(QLabel* label, long k) {
    const QString text = QString::number(k);
    if (label->text() == text)
        return;
    label->setText(text);
    label->repaint();
}

void TSolForm::SetCaption(QLabel* label, const char* caption) {
    const QString text = QString::fromUtf8(caption);
    if (label->text() == text)
        return;
    label->setText(text);
    label->repaint();
}

void TSolForm::SetNodeCount(long k) {
    SetCounter(NodeNb, k);
}
void TSolForm::SetElementCount(long k) {
    SetCounter(ElNb, k);
}
void TSolForm::SetDofCount(long k) {
    SetCounter(FGNb, k);
}
void TSolForm::SetConstraintCount(long k) {
    SetCounter(BCNb, k);
}
void TSolForm::SetMemory(long k) {
    SetCounter(Memory, k);
}
void TSolForm::SetBandwidth(long k) {
    SetCounter(Bandbreite, k);
}

void TSolForm::ShowStage(int k) {
    if (k < 0 || k > kStageCount)
        return;
    if (k == 0) {
        if (highlighted_) {
            SetBevelVisible(highlighted_, false);
            highlighted_->repaint();
        }
        highlighted_ = nullptr;
        return;
    }
    QFrame* bevel = stageBevels_[k - 1];
    SetBevelVisible(bevel, true);
    if (bevel != highlighted_) {
        if (highlighted_) {
            SetBevelVisible(highlighted_, false);
            highlighted_->repaint();
        }
        bevel->repaint();
        highlighted_ = bevel;
    }
}

int TSolForm::HighlightedStage() const {
    for (int i = 0; i < kStageCount; ++i)
        if (stageBevels_[i] == highlighted_)
            return i + 1;
    return 0;
}

void TSolForm::FormShow() {
    BitBtn1->hide();
    BitBtn2->show();
    BitBtn2->setText(QStringLiteral("Berechnung"));
    BitBtn2->setDefault(true);
    BitBtn2->setFocus();
    // Hidden bevels: the frames disappear, the names stay readable.
    for (QFrame* bevel : stageBevels_)
        SetBevelVisible(bevel, false);
    highlighted_ = nullptr;
}

void TSolForm::BeginRun() {
    if (!isVisible()) {
        CenterOnParent();
        show();
    }
    FormShow();
    raise();
    // The window takes the keyboard, so that Enter and Escape reach its
    // buttons when the run ends.
    activateWindow();
    WaitUntilOnScreen();
    repaint();
}

// The run repaints the window itself, on this thread, without returning to
// the event loop. A window just shown (the first run, or one after the window
// was closed) is not on the screen before the window system has mapped and
// exposed it, and a repaint until then is dropped: the window would stay an
// empty frame until the run ends. So the run waits here for the exposure,
// a bounded time (a minimised main window may never show it), handling no
// user input meanwhile, so that no command can start inside the run.
// WA_Mapped is what the repaints themselves go by; the window's exposure
// still reads true just after the window was hidden and shown again.
void TSolForm::WaitUntilOnScreen() {
    if (testAttribute(Qt::WA_Mapped))
        return;
    QTimer limit;
    limit.setSingleShot(true);
    limit.start(kExposureWaitMs);
    while (!testAttribute(Qt::WA_Mapped) && limit.isActive())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::ExcludeSocketNotifiers |
                                        QEventLoop::WaitForMoreEvents);
}

void TSolForm::ShowFinished() {
    BitBtn2->hide();
    BitBtn1->show();
    BitBtn1->setDefault(true);
    BitBtn1->setFocus();
    BitBtn1->repaint();
}

void TSolForm::ShowFailed() {
    BitBtn1->hide();
    BitBtn2->setText(QStringLiteral("Fehler"));
    BitBtn2->show();
    BitBtn2->setDefault(true);
    BitBtn2->setFocus();
    BitBtn2->repaint();
}

void TSolForm::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TSolForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (!BitBtn1->isHidden())
            BitBtn1->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TSolForm::CenterOnParent() {
    if (!parentWidget())
        return;
    adjustSize();
    const QRect frame = parentWidget()->window()->frameGeometry();
    move(frame.center() - rect().center());
}

void TSolForm::BitBtn1Click() {
    hide();
}

void TSolForm::BitBtn2Click() {
    hide();
}

void TSolForm::StageStarted(int stage) {
    if (stage == kStageElements)
        BeginRun();
    ShowStage(stage);
}

void TSolForm::StageFinished(int stage, bool ok) {
    if (!ok) {
        ShowFailed();
        return;
    }
    if (stage == kStageEvaluate) {
        ShowStage(kStageNone);
        ShowFinished();
    }
}

void TSolForm::ShowVehiclePositions(long count) {
    for (QLabel* label : trafficRow_)
        label->setVisible(count > 0);
    if (count > 0)
        SetCounter(VehiclePositionNb, count);
}

void TSolForm::CountersChanged(const CalcCounters& counters) {
    SetNodeCount(counters.nodes);
    SetElementCount(counters.elements);
    SetDofCount(counters.dofs);
    SetConstraintCount(counters.conditions);
    SetCaption(Label11, MemoryCaption(counters.sparse));
    SetCaption(Label13, SizeCaption(counters.sparse));
    SetMemory(counters.memoryBytes);
    SetBandwidth(SizeCounter(counters));
    const bool project = counters.loadCases > 1;
    if (project == LoadCaseNb->isHidden())
        for (QLabel* label : projectRows_)
            label->setVisible(project);
    if (project) {
        SetCounter(LoadCaseNb, counters.loadCases);
        SetCounter(FactorNb, counters.factorisations);
    }
}
