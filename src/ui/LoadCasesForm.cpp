#include "ui/LoadCasesForm.h"

#include "document/Document.h"
#include "grid/GridMessages.h"
#include "grid/UserGrid.h"
#include "grid/UserHeader.h"
#include "grid/UserInt.h"
#include "ui/Help.h"
#include "ui/ToolIcons.h"
#include "ui/UiDialogs.h"
#include "ui/WindowArrangement.h"

#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVBoxLayout>

namespace {

constexpr int kHelpTopic = 10150;

struct ColumnSpec {
    const char* caption;
    int width;
};
const ColumnSpec kColumns[LoadCaseTable::kColumns] = {
    {"Name", 160}, {"Datei", 260}, {"Änderung", 70}, {"Eingabe", 60}};

} // namespace

TLoadCasesForm::TLoadCasesForm(Document& document, UiDialogs& dialogs, QWidget* parent)
    : QWidget(parent), document_(document), dialogs_(dialogs), table_(document) {
    setWindowTitle(QStringLiteral("Lastfälle"));
    setWindowIcon(ToolIcon(QStringLiteral(":/icons/eingabe")));

    auto* bar = new QWidget(this);
    auto* buttons = new QHBoxLayout(bar);
    buttons->setContentsMargins(2, 2, 2, 2);
    auto addButton = [&](const char* caption, const char* hint) {
        auto* button = new QPushButton(QString::fromUtf8(caption), bar);
        button->setToolTip(QString::fromUtf8(hint));
        button->setAutoDefault(false);
        buttons->addWidget(button);
        return button;
    };
    NewButton = addButton("Neu", "Einen leeren Lastfall anhängen");
    OpenButton = addButton("Aus Datei…", "Einen Lastfall aus einer Lastdatei anhängen");
    RemoveButton = addButton("Entfernen", "Den gewählten Lastfall aus dem Projekt nehmen");
    RenameButton = addButton("Umbenennen", "Den Namen des gewählten Lastfalls eingeben");
    CurrentButton =
        addButton("Bearbeiten", "Den gewählten Lastfall im Fenster Belastung bearbeiten");
    buttons->addStretch();
    connect(NewButton, &QPushButton::clicked, this, &TLoadCasesForm::NewClick);
    connect(OpenButton, &QPushButton::clicked, this, &TLoadCasesForm::OpenClick);
    connect(RemoveButton, &QPushButton::clicked, this, &TLoadCasesForm::RemoveClick);
    connect(RenameButton, &QPushButton::clicked, this, &TLoadCasesForm::RenameClick);
    connect(CurrentButton, &QPushButton::clicked, this, &TLoadCasesForm::CurrentClick);

    Grid = new TUserGrid(this);
    Grid->SetDialogs(&gridDialogs_);
    Grid->SetColCount(LoadCaseTable::kColumns + 1);
    Grid->SetFixedRows(1);
    Grid->SetFirstColumnWidth(40);
    Grid->SetSelectRow(true);
    auto* number = new TUserHeader(this);
    number->SetText(QStringLiteral("Nr"));
    number->SetSpan(0, 0, 0, 0);
    number->SetGrid(Grid);
    int width = 40;
    for (int c = 0; c < LoadCaseTable::kColumns; ++c) {
        auto* column = new TUserInt(this);
        column->SetTyp(uString);
        column->SetColumn(c + 1);
        column->SetColWidth(kColumns[c].width);
        column->SetOnlyRead(c != LoadCaseTable::kName);
        column->SetGrid(Grid);
        auto* header = new TUserHeader(this);
        header->SetText(QString::fromUtf8(kColumns[c].caption));
        header->SetSpan(0, 0, c + 1, c + 1);
        header->SetGrid(Grid);
        width += kColumns[c].width;
    }
    Grid->SetContainer(&table_);
    SetHelpTopic(Grid, kHelpTopic);
    SetHelpTopic(this, kHelpTopic);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(Grid, 1);
    setFocusProxy(Grid);
    resize(width + 30, 260);
}

void TLoadCasesForm::ShowLoadCases() {
    table_.Sync();
}

void TLoadCasesForm::BringToFront() {
    BringWindowToFront(this);
}

int TLoadCasesForm::SelectedLoadCase() const {
    const int k = Grid->CurrentRow() - Grid->FixedRows();
    return k >= 0 && k < document_.LoadCaseCount() ? k : -1;
}

void TLoadCasesForm::Select(int k) {
    SendWindowMessage(Grid, UGM_GOTOCELL, k, LoadCaseTable::kName + 1);
}

void TLoadCasesForm::NewClick() {
    document_.AddLoadCase();
    Select(document_.CurrentLoadCase());
}

void TLoadCasesForm::OpenClick() {
    const QString extension = QString::fromUtf8(kLoadCaseHalf.extension);
    const QString path = dialogs_.OpenFileName(
        this,
        {QString::fromUtf8(kLoadCaseHalf.openTitle),
         QStringLiteral("%1 (*.%2)").arg(QString::fromUtf8(kLoadCaseHalf.filterName), extension),
         extension});
    if (path.isEmpty())
        return;
    document_.AddLoadCaseFile(path.toStdString());
    Select(document_.CurrentLoadCase());
}

void TLoadCasesForm::RemoveClick() {
    const int k = SelectedLoadCase();
    if (k >= 0)
        document_.RemoveLoadCase(k);
    Select(document_.CurrentLoadCase());
}

void TLoadCasesForm::RenameClick() {
    const int k = SelectedLoadCase();
    Select(k >= 0 ? k : document_.CurrentLoadCase());
    Grid->setFocus(Qt::OtherFocusReason);
}

void TLoadCasesForm::CurrentClick() {
    const int k = SelectedLoadCase();
    if (k >= 0)
        document_.MakeCurrent(k);
}
