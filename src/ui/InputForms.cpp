#include "ui/InputForms.h"

#include "grid/CommandErrors.h"
#include "model/Checks.h"
#include "model/Tables.h"
#include "ui/Help.h"
#include "ui/MainForm.h"
#include "ui/PageControl.h"
#include "ui/ToolIcons.h"
#include "ui/UiDialogs.h"
#include "ui/WindowArrangement.h"
#include "ui/WindowMessages.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr int kToolBarHeight = 29;
constexpr QSize kButtonSize(25, 23);
constexpr int kIconSize = 16;

QIcon ToolIcon(const char* name) {
    return ToolIcon(QStringLiteral(":/icons/") + QLatin1String(name));
}

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The input windows that exist: a new file of one half also ends the steps
// of the other window that changed its tables (through references).
std::vector<TInputForm*>& OpenInputForms() {
    static std::vector<TInputForm*> forms;
    return forms;
}

} // namespace

TInputForm::TInputForm(InputModel& input, TMainForm& mainForm, UiDialogs& dialogs,
                       const Texts& texts, const std::vector<InputPage>& pages,
                       const std::vector<InputPage>& bindOrder)
    : input_(input), mainForm_(mainForm), dialogs_(dialogs), gridDialogs_(dialogs),
      namePrefix_(Text(texts.namePrefix)), pages_(pages) {
    setWindowTitle(Text(texts.caption));
    setWindowIcon(ToolIcon("eingabe"));

    auto* toolBar = new QWidget(this);
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    toolBar->setFixedHeight(kToolBarHeight);
    auto* buttons = new QHBoxLayout(toolBar);
    buttons->setContentsMargins(2, (kToolBarHeight - kButtonSize.height()) / 2, 2, 0);
    buttons->setSpacing(0);
    SpeedButton5 = AddButton(toolBar, "neu", texts.newHint);
    SpeedButton3 = AddButton(toolBar, "oeffnen", texts.openHint);
    SpeedButton2 = AddButton(toolBar, "speichern", texts.saveHint);
    SpeedButton1 = AddButton(toolBar, "zeileloeschen", "Zeile löschen (Strg-Del)");
    SpeedButton4 = AddButton(toolBar, "pruefen", "Plausibilitätkontrolle");
    UndoButton = AddButton(toolBar, "rueckgaengig", "Rückgängig (Strg+Z)");
    RedoButton = AddButton(toolBar, "wiederherstellen", "Wiederherstellen (Strg+Y)");
    buttons->addStretch();
    connect(SpeedButton5, &QToolButton::clicked, this, [this] { NewClick(); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { OpenClick(); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { SaveClick(); });
    connect(SpeedButton1, &QToolButton::clicked, this, &TInputForm::SpeedButton1Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &TInputForm::SpeedButton4Click);
    connect(UndoButton, &QToolButton::clicked, this, &TInputForm::UndoClick);
    connect(RedoButton, &QToolButton::clicked, this, &TInputForm::RedoClick);
    history_.SetChangedHook([this](InputContainer& table) { ShowTablePage(table); });
    history_.SetStateHook([this] { UpdateUndoButtons(); });
    UpdateUndoButtons();

    PageControl1 = new TPageControl(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    layout->addWidget(PageControl1, 1);

    for (const InputPage page : pages_) {
        QWidget* sheet = PageControl1->AddPage(InputPageCaption(page));
        auto* grid = new TUserGrid(sheet);
        SetUpInputPage(*grid, page, this);
        grid->SetDialogs(&gridDialogs_);
        grid->SetUndoHistory(&history_);
        grid->SetReferenceModel(&input_);
        connect(grid, &TUserGrid::PageStepRequested, this, &TInputForm::StepPage);
        // The row of the current cell stays marked while a message box (a
        // failed check) or another window has the focus.
        grid->SetSelectRow(true);
        SetHelpTopic(grid, InputPageHelpTopic(page));
        sheet->setFocusProxy(grid);
        grids_.push_back(grid);
    }
    // The window's focus goes to the grid of the page shown.
    setFocusProxy(PageControl1->ActivePage());
    connect(PageControl1, &TPageControl::ActivePageChanged, this,
            [this](int index) { setFocusProxy(PageControl1->Page(index)); });
    for (const InputPage page : bindOrder)
        for (size_t i = 0; i < pages_.size(); ++i)
            if (pages_[i] == page)
                grids_[i]->SetContainer(&InputPageTable(input_, page));
    FollowParent();
    OpenInputForms().push_back(this);
    qApp->installEventFilter(this);
}

bool TInputForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        const auto* grid = qobject_cast<TUserGrid*>(watched);
        if (tab && (key->modifiers() & Qt::ControlModifier) && grid &&
            std::find(grids_.begin(), grids_.end(), grid) != grids_.end()) {
            const bool back =
                key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
            StepPage(back ? -1 : +1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

TInputForm::~TInputForm() {
    std::erase(OpenInputForms(), this);
    // The grids go after the history (they are child widgets): what they
    // store on their way out is no step.
    for (TUserGrid* grid : grids_)
        grid->SetUndoHistory(nullptr);
}

QToolButton* TInputForm::AddButton(QWidget* bar, const char* icon, const char* hint) {
    auto* button = new QToolButton(bar);
    button->setAutoRaise(true);
    button->setFixedSize(kButtonSize);
    button->setIconSize(QSize(kIconSize, kIconSize));
    button->setIcon(ToolIcon(icon));
    button->setToolTip(Text(hint));
    button->setStatusTip(Text(hint));
    // Like the buttons of a tool bar, they leave the focus in the grid.
    button->setFocusPolicy(Qt::NoFocus);
    bar->layout()->addWidget(button);
    return button;
}

// The main window names no file when it empties the half, for "Neu" and
// before it reads a file ("Speichern unter" names the new file only): the
// steps then refer to records that are gone.
void TInputForm::SetCaption(const QString& text, const QString& label) {
    setWindowTitle(namePrefix_ + (label.isEmpty() ? text : label + QStringLiteral("  ") + text));
}

void TInputForm::SetName(const QString& text, const QString& label) {
    SetCaption(text, label);
    if (!text.isEmpty())
        return;
    history_.Clear();
    for (TInputForm* other : OpenInputForms())
        if (other != this)
            for (const InputPage page : pages_)
                other->history_.ForgetTable(&InputPageTable(input_, page));
}

void TInputForm::UndoClick() {
    TUserGrid* grid = grids_.at(PageControl1->ActivePageIndex());
    RunCommand([grid] { grid->Undo(); });
}

void TInputForm::RedoClick() {
    TUserGrid* grid = grids_.at(PageControl1->ActivePageIndex());
    RunCommand([grid] { grid->Redo(); });
}

void TInputForm::StepPage(int step) {
    const int count = PageCount();
    const int index = ((PageControl1->ActivePageIndex() + step) % count + count) % count;
    PageControl1->SetActivePageIndex(index);
    grids_.at(index)->setFocus(Qt::TabFocusReason);
}

void TInputForm::ShowTablePage(const InputContainer& table) {
    for (size_t i = 0; i < pages_.size(); ++i) {
        const int index = static_cast<int>(i);
        if (&InputPageTable(input_, pages_[i]) != &table ||
            index == PageControl1->ActivePageIndex())
            continue;
        PageControl1->SetActivePageIndex(index);
        grids_[i]->setFocus(Qt::OtherFocusReason);
    }
}

void TInputForm::UpdateUndoButtons() {
    UndoButton->setEnabled(history_.CanUndo());
    RedoButton->setEnabled(history_.CanRedo());
}

int TInputForm::PageIndexOf(const QString& caption) const {
    for (size_t i = 0; i < pages_.size(); ++i)
        if (InputPageCaption(pages_[i]) == caption)
            return static_cast<int>(i);
    return -1;
}

void TInputForm::BringToFront() {
    BringWindowToFront(this);
}

void TInputForm::ShowCheck() {
    mainForm_.document.CommitPendingEdits();
    const CheckReport report = RunCheck();
    if (report.ok) {
        dialogs_.ShowMessage(this, Text(kCheckPassedText), Text(kCheckPassedCaption),
                             MessageIcon::None);
        return;
    }
    BringToFront();
    if (const int index = PageIndexOf(QString::fromStdString(report.page)); index >= 0) {
        PageControl1->SetActivePageIndex(index);
        const QList<QWidget*> controls =
            PageControl1->Page(index)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* control : controls)
            SendWindowMessage(control, UGM_GOTOCELL, report.row, report.column);
    }
    dialogs_.ShowMessage(this, QString::fromStdString(report.message), Text(kCheckFailedCaption),
                         MessageIcon::Warning);
}

void TInputForm::SpeedButton1Click() {
    const QList<QWidget*> controls =
        PageControl1->ActivePage()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* control : controls)
        SendWindowMessage(control, UGM_CLEARROW);
}

// The grids' width follows the window that the user sees move and resize:
// the sub-window of the main window's client area, or this window alone.
void TInputForm::FollowParent() {
    QWidget* form = qobject_cast<QMdiSubWindow*>(parentWidget()) ? parentWidget() : this;
    for (TUserGrid* grid : grids_)
        grid->SetParentForm(form);
}

bool TInputForm::event(QEvent* event) {
    switch (static_cast<int>(event->type())) {
    case UM_REFRESH:
        // The input windows have no drawing to rebuild; the number is also
        // the grids' UGM_GOTOCELL, so it is not passed on to them.
        return true;
    case QEvent::ParentChange:
        FollowParent();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

// ---- the geometry window ------------------------------------------------------------

TSystemInputForm::TSystemInputForm(InputModel& input, TMainForm& mainForm, UiDialogs& dialogs)
    : TInputForm(input, mainForm, dialogs,
                 {"Geometrie", " Geometrie:  ", "Neue Geometrie", "Geometrie öffnen",
                  "Geometrie Speichern"},
                 {InputPage::Knoten, InputPage::Staebe, InputPage::Querschnitte, InputPage::Gelenke,
                  InputPage::Federn},
                 {InputPage::Knoten, InputPage::Staebe, InputPage::Querschnitte, InputPage::Gelenke,
                  InputPage::Federn}) {
    KnotenGrid = PageGrid(0);
    StabGrid = PageGrid(1);
    QuerschnittsGrid = PageGrid(2);
    GelenkGrid = PageGrid(3);
    FederGrid = PageGrid(4);
    SetHelpTopic(this, 10065);
    SetHelpTopic(PageControl1, 10085);
    resize(kGeometryFormSize);
}

CheckReport TSystemInputForm::RunCheck() {
    return CheckSystem(input_);
}

void TSystemInputForm::NewClick() {
    mainForm_.NewSystem();
}

void TSystemInputForm::OpenClick() {
    mainForm_.OpenSystem();
}

void TSystemInputForm::SaveClick() {
    mainForm_.SaveSystem();
}

// ---- the load window -------------------------------------------------------------------

TLoadInputForm::TLoadInputForm(InputModel& input, TMainForm& mainForm, UiDialogs& dialogs)
    : TInputForm(input, mainForm, dialogs,
                 {"Belastung", " Belastung:  ", "Belastung neu", "Belastung öffnen",
                  "Belastung speichern"},
                 {InputPage::Knotenlasten, InputPage::Zwangsverformungen, InputPage::Streckenlasten,
                  InputPage::Einzellasten, InputPage::Gelenklasten, InputPage::Temperatur},
                 {InputPage::Knotenlasten, InputPage::Zwangsverformungen, InputPage::Einzellasten,
                  InputPage::Streckenlasten, InputPage::Temperatur, InputPage::Gelenklasten}) {
    KnotenlastenGrid = PageGrid(0);
    ZwangsGrid = PageGrid(1);
    StreckenlastenGrid = PageGrid(2);
    EinzellastenGrid = PageGrid(3);
    GelenklastenGrid = PageGrid(4);
    TemperaturGrid = PageGrid(5);
    SetHelpTopic(PageControl1, 10115);
    resize(kLoadFormSize);
}

CheckReport TLoadInputForm::RunCheck() {
    return CheckLoads(input_);
}

void TLoadInputForm::NewClick() {
    mainForm_.NewLoadCase();
}

void TLoadInputForm::OpenClick() {
    mainForm_.OpenLoadCase();
}

void TLoadInputForm::SaveClick() {
    mainForm_.SaveLoadCase();
}
