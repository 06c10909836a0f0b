#include "ui/CombinationsForm.h"

#include "document/Document.h"
#include "document/ProjectTables.h"
#include "grid/GridMessages.h"
#include "grid/UserGrid.h"
#include "grid/UserHeader.h"
#include "grid/UserInt.h"
#include "model/Checks.h"
#include "ui/Help.h"
#include "ui/PageControl.h"
#include "ui/ToolIcons.h"
#include "ui/UiDialogs.h"
#include "ui/WindowArrangement.h"
#include "ui/WindowMessages.h"

#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVBoxLayout>

namespace {

constexpr int kHelpTopic = 10155;

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

void AddHeader(TUserGrid* grid, QObject* owner, int col, const QString& text) {
    auto* header = new TUserHeader(owner);
    header->SetText(text);
    header->SetSpan(0, 0, col, col);
    header->SetGrid(grid);
}

TUserInt* AddColumn(TUserGrid* grid, QObject* owner, int col, VarTyp typ, int width) {
    auto* column = new TUserInt(owner);
    column->SetTyp(typ);
    column->SetFormat(typ == uInteger ? QStringLiteral("%d") : QStringLiteral("%#.4lg"));
    column->SetColumn(col);
    column->SetColWidth(width);
    column->SetGrid(grid);
    return column;
}

QToolButton* AddButton(QWidget* bar, const char* icon, const char* hint) {
    auto* button = new QToolButton(bar);
    button->setAutoRaise(true);
    button->setFixedSize(25, 23);
    button->setIconSize(QSize(16, 16));
    button->setIcon(ToolIcon(QStringLiteral(":/icons/") + QLatin1String(icon)));
    button->setToolTip(Text(hint));
    bar->layout()->addWidget(button);
    return button;
}

} // namespace

TCombinationsForm::TCombinationsForm(ProjectTables& tables, Document& document, UiDialogs& dialogs,
                                     QWidget* parent)
    : QWidget(parent), tables_(tables), document_(document), dialogs_(dialogs) {
    setWindowTitle(QStringLiteral("Kombinationen"));
    setWindowIcon(ToolIcon(QStringLiteral(":/icons/eingabe")));
    auto* bar = new QWidget(this);
    auto* buttons = new QHBoxLayout(bar);
    buttons->setContentsMargins(2, 3, 2, 0);
    buttons->setSpacing(0);
    ClearRowButton = AddButton(bar, "zeileloeschen", "Zeile löschen (Strg-Del)");
    CheckButton = AddButton(bar, "pruefen", "Plausibilitätkontrolle");
    buttons->addStretch();
    connect(CheckButton, &QToolButton::clicked, this, [this] { ShowCheck(); });
    connect(ClearRowButton, &QToolButton::clicked, this, [this] {
        SendWindowMessage(PageControl1->ActivePageIndex() == 0 ? CombinationGrid : EnvelopeGrid,
                          UGM_CLEARROW);
    });

    PageControl1 = new TPageControl(this);
    PageControl1->AddPage(QStringLiteral("Kombinationen"));
    QWidget* envelopePage = PageControl1->AddPage(QStringLiteral("Umhüllende"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(PageControl1, 1);

    EnvelopeGrid = new TUserGrid(envelopePage);
    EnvelopeGrid->SetDialogs(&gridDialogs_);
    EnvelopeGrid->SetColCount(EnvelopeTable::kColumns + 1);
    EnvelopeGrid->SetFixedRows(1);
    EnvelopeGrid->SetFirstColumnWidth(40);
    EnvelopeGrid->SetSelectRow(true);
    AddHeader(EnvelopeGrid, this, 0, QStringLiteral("Nr"));
    const struct {
        const char* caption;
        VarTyp typ;
        int width;
    } columns[] = {{"Umhüllende", uString, 120},
                   {"Glied (LF1, K1)", uString, 110},
                   {"γsup", uDouble, 70},
                   {"γinf", uDouble, 70},
                   {"Gruppe", uInteger, 60}};
    for (int c = 0; c < EnvelopeTable::kColumns; ++c) {
        AddColumn(EnvelopeGrid, this, c + 1, columns[c].typ, columns[c].width);
        AddHeader(EnvelopeGrid, this, c + 1, Text(columns[c].caption));
    }
    EnvelopeGrid->SetContainer(&tables_.Envelopes());
    SetHelpTopic(EnvelopeGrid, kHelpTopic);
    envelopePage->setFocusProxy(EnvelopeGrid);
    RebuildCombinations();
    SetHelpTopic(this, kHelpTopic);
    resize(520, 300);
}

void TCombinationsForm::RebuildCombinations() {
    QWidget* page = PageControl1->Page(0);
    delete CombinationGrid;
    CombinationGrid = new TUserGrid(page);
    CombinationGrid->SetDialogs(&gridDialogs_);
    const int cases = tables_.Combinations().LoadCases();
    CombinationGrid->SetColCount(cases + 2);
    CombinationGrid->SetFixedRows(1);
    CombinationGrid->SetFirstColumnWidth(40);
    CombinationGrid->SetSelectRow(true);
    AddHeader(CombinationGrid, CombinationGrid, 0, QStringLiteral("Nr"));
    AddColumn(CombinationGrid, CombinationGrid, 1, uString, 120);
    AddHeader(CombinationGrid, CombinationGrid, 1, QStringLiteral("Name"));
    for (int k = 0; k < cases; ++k) {
        AddColumn(CombinationGrid, CombinationGrid, k + 2, uDouble, 70);
        AddHeader(CombinationGrid, CombinationGrid, k + 2, QStringLiteral("LF%1").arg(k + 1));
    }
    CombinationGrid->SetContainer(&tables_.Combinations());
    SetHelpTopic(CombinationGrid, kHelpTopic);
    page->setFocusProxy(CombinationGrid);
    CombinationGrid->show();
}

void TCombinationsForm::BringToFront() {
    BringWindowToFront(this);
}

bool TCombinationsForm::ShowCheck() {
    tables_.Combinations().CommitGridEdit();
    tables_.Envelopes().CommitGridEdit();
    const ProjectCheck check = tables_.Check();
    if (check.ok) {
        dialogs_.ShowMessage(this, Text(kCheckPassedText), Text(kCheckPassedCaption),
                             MessageIcon::None);
        return true;
    }
    ShowFault(check);
    return false;
}

void TCombinationsForm::ShowFault(const ProjectCheck& check) {
    BringToFront();
    PageControl1->SetActivePageIndex(check.page);
    SendWindowMessage(check.page == 0 ? CombinationGrid : EnvelopeGrid, UGM_GOTOCELL, check.row,
                      check.column);
    dialogs_.ShowMessage(this, QString::fromStdString(check.message), Text(kCheckFailedCaption),
                         MessageIcon::Warning);
}

bool TCombinationsForm::event(QEvent* event) {
    // The main window's refresh has the number of the grids' UGM_GOTOCELL:
    // this window has no drawing to rebuild.
    if (static_cast<int>(event->type()) == UM_REFRESH)
        return true;
    return QWidget::event(event);
}
