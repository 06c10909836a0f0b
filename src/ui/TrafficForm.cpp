#include "ui/TrafficForm.h"

#include "document/TrafficTable.h"
#include "grid/GridMessages.h"
#include "grid/UserGrid.h"
#include "grid/UserHeader.h"
#include "grid/UserInt.h"
#include "model/Checks.h"
#include "ui/Help.h"
#include "ui/ToolIcons.h"
#include "ui/UiDialogs.h"
#include "ui/WindowArrangement.h"
#include "ui/WindowMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kHelpTopic = 10160;

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// A number as the window shows it, with the decimal comma of the German texts.
QString Shown(double value) {
    return QString::number(value, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
}

struct ColumnSpec {
    const char* caption;
    VarTyp typ;
    int width;
};
const ColumnSpec kLaneColumns[TrafficLaneTable::kColumns] = {
    {"Fahrspur", uInteger, 70}, {"x [m]", uDouble, 90}, {"y [m]", uDouble, 90}};

} // namespace

TTrafficForm::TTrafficForm(TrafficTables& tables, UiDialogs& dialogs, QWidget* parent)
    : QWidget(parent), tables_(tables), dialogs_(dialogs) {
    setWindowTitle(QStringLiteral("Verkehr"));
    setWindowIcon(ToolIcon(QStringLiteral(":/icons/eingabe")));

    auto* bar = new QWidget(this);
    auto* buttons = new QHBoxLayout(bar);
    buttons->setContentsMargins(2, 3, 2, 0);
    buttons->setSpacing(0);
    for (auto [button, icon, hint] :
         {std::tuple{&ClearRowButton, "zeileloeschen", "Zeile löschen (Strg-Del)"},
          std::tuple{&CheckButton, "pruefen", "Plausibilitätkontrolle"}}) {
        *button = new QToolButton(bar);
        (*button)->setAutoRaise(true);
        (*button)->setFixedSize(25, 23);
        (*button)->setIconSize(QSize(16, 16));
        (*button)->setIcon(ToolIcon(QStringLiteral(":/icons/") + QLatin1String(icon)));
        (*button)->setToolTip(Text(hint));
        buttons->addWidget(*button);
    }
    buttons->addStretch();
    connect(CheckButton, &QToolButton::clicked, this, [this] { ShowCheck(); });
    connect(ClearRowButton, &QToolButton::clicked, this,
            [this] { SendWindowMessage(LaneGrid, UGM_CLEARROW); });

    auto* fields = new QFormLayout;
    fields->setContentsMargins(6, 4, 6, 4);
    VehicleBox = new QComboBox(this);
    for (const std::string& entry : VehicleEntries())
        VehicleBox->addItem(QString::fromStdString(entry));
    VehicleBox->setToolTip(QStringLiteral("Eingebautes Fahrzeug, Einzellast oder Fahrzeugdatei"));
    LoadEdit = new QLineEdit(this);
    FileEdit = new QLineEdit(this);
    StepEdit = new QLineEdit(this);
    BothDirectionsBox = new QCheckBox(QStringLiteral("beide Richtungen"), this);
    BothDirectionsBox->setToolTip(QStringLiteral("Jede Fahrspur auch vom Ende zum Anfang"));
    GroupEdit = new QLineEdit(this);
    GroupEdit->setToolTip(QStringLiteral("Der Name der Verkehrsgruppe in den Umhüllenden"));
    fields->addRow(QStringLiteral("Fahrzeug"), VehicleBox);
    fields->addRow(QStringLiteral("Einzellast [kN]"), LoadEdit);
    fields->addRow(QStringLiteral("Fahrzeugdatei"), FileEdit);
    fields->addRow(QStringLiteral("Schrittweite [m]"), StepEdit);
    fields->addRow(QString(), BothDirectionsBox);
    fields->addRow(QStringLiteral("Name der Gruppe"), GroupEdit);
    connect(VehicleBox, &QComboBox::activated, this, &TTrafficForm::VehicleChosen);
    for (QLineEdit* edit : {LoadEdit, FileEdit, StepEdit, GroupEdit})
        connect(edit, &QLineEdit::textEdited, this, &TTrafficForm::FieldsChanged);
    connect(BothDirectionsBox, &QCheckBox::toggled, this, &TTrafficForm::FieldsChanged);

    LaneGrid = new TUserGrid(this);
    LaneGrid->SetColCount(TrafficLaneTable::kColumns + 1);
    LaneGrid->SetFixedRows(1);
    LaneGrid->SetFirstColumnWidth(40);
    LaneGrid->SetSelectRow(true);
    for (int c = 0; c <= TrafficLaneTable::kColumns; ++c) {
        auto* header = new TUserHeader(this);
        header->SetText(c == 0 ? QStringLiteral("Nr") : Text(kLaneColumns[c - 1].caption));
        header->SetSpan(0, 0, c, c);
        header->SetGrid(LaneGrid);
        if (c == 0)
            continue;
        auto* column = new TUserInt(this);
        column->SetTyp(kLaneColumns[c - 1].typ);
        column->SetFormat(kLaneColumns[c - 1].typ == uInteger ? QStringLiteral("%d")
                                                              : QStringLiteral("%#.4lg"));
        column->SetColumn(c);
        column->SetColWidth(kLaneColumns[c - 1].width);
        column->SetGrid(LaneGrid);
    }
    LaneGrid->SetContainer(&tables_.Lanes());
    SetHelpTopic(LaneGrid, kHelpTopic);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addLayout(fields);
    layout->addWidget(LaneGrid, 1);
    SetHelpTopic(this, kHelpTopic);
    ShowSettings();
    resize(360, 420);
}

void TTrafficForm::ShowSettings() {
    showing_ = true;
    const TrafficModel& settings = tables_.Settings();
    const VehicleChoice choice = VehicleChoiceOf(settings.vehicle);
    VehicleBox->setCurrentIndex(VehicleEntryOf(choice));
    LoadEdit->setText(Shown(choice.load));
    FileEdit->setText(QString::fromStdString(choice.file));
    StepEdit->setText(Shown(settings.step));
    BothDirectionsBox->setChecked(settings.bothDirections);
    GroupEdit->setText(QString::fromStdString(settings.groupName));
    EnableFields();
    showing_ = false;
}

void TTrafficForm::EnableFields() {
    const VehicleKind kind = VehicleOfEntry(VehicleBox->currentIndex(), {}).kind;
    LoadEdit->setEnabled(kind == VehicleKind::kPoint);
    FileEdit->setEnabled(kind == VehicleKind::kFile);
    for (QWidget* field : {static_cast<QWidget*>(StepEdit), static_cast<QWidget*>(GroupEdit),
                           static_cast<QWidget*>(BothDirectionsBox)})
        field->setEnabled(kind != VehicleKind::kNone);
}

// "Datei…" asks for the file at once; a cancelled dialog keeps the file shown.
void TTrafficForm::VehicleChosen(int entry) {
    if (VehicleOfEntry(entry, {}).kind == VehicleKind::kFile) {
        const QString path = dialogs_.OpenFileName(this, {QStringLiteral("Fahrzeug öffnen"),
                                                          QStringLiteral("Balkor Fahrzeug (*.bfz)"),
                                                          QStringLiteral("bfz")});
        if (!path.isEmpty())
            FileEdit->setText(path);
    }
    EnableFields();
    FieldsChanged();
}

void TTrafficForm::FieldsChanged() {
    if (showing_)
        return;
    VehicleChoice choice;
    choice.load = TypedNumber(LoadEdit->text().toStdString());
    choice.file = FileEdit->text().toStdString();
    choice = VehicleOfEntry(VehicleBox->currentIndex(), choice);
    TrafficModel settings = tables_.Settings();
    settings.vehicle = VehicleText(choice);
    settings.step = TypedNumber(StepEdit->text().toStdString());
    settings.bothDirections = BothDirectionsBox->isChecked();
    settings.groupName = GroupEdit->text().trimmed().toStdString();
    tables_.SetSettings(settings);
}

void TTrafficForm::BringToFront() {
    BringWindowToFront(this);
}

bool TTrafficForm::ShowCheck() {
    tables_.Lanes().CommitGridEdit();
    const TrafficCheck check = tables_.Check();
    if (check.ok) {
        dialogs_.ShowMessage(this, Text(kCheckPassedText), Text(kCheckPassedCaption),
                             MessageIcon::None);
        return true;
    }
    ShowFault(check);
    return false;
}

void TTrafficForm::ShowFault(const TrafficCheck& check) {
    BringToFront();
    switch (check.field) {
    case TrafficField::kLanes:
        SendWindowMessage(LaneGrid, UGM_GOTOCELL, check.row, check.column);
        break;
    case TrafficField::kVehicle: {
        const VehicleKind kind = VehicleOfEntry(VehicleBox->currentIndex(), {}).kind;
        (kind == VehicleKind::kPoint  ? static_cast<QWidget*>(LoadEdit)
         : kind == VehicleKind::kFile ? static_cast<QWidget*>(FileEdit)
                                      : static_cast<QWidget*>(VehicleBox))
            ->setFocus();
        break;
    }
    case TrafficField::kStep:
        StepEdit->setFocus();
        break;
    case TrafficField::kGroupName:
        GroupEdit->setFocus();
        break;
    }
    dialogs_.ShowMessage(this, QString::fromStdString(check.message), Text(kCheckFailedCaption),
                         MessageIcon::Warning);
}

bool TTrafficForm::event(QEvent* event) {
    // The main window's refresh has the number of the grid's UGM_GOTOCELL:
    // this window has no drawing to rebuild.
    if (static_cast<int>(event->type()) == UM_REFRESH)
        return true;
    return QWidget::event(event);
}
