#include "ui/TreeForm.h"

#include "ui/Help.h"
#include "ui/MainForm.h"
#include "ui/UiDialogs.h"
#include "ui/ValueEditForm.h"
#include "ui/WindowMessages.h"

#include <QColor>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

namespace {

// Settings keep colours as 0x00BBGGRR, red in the low byte.
QColor ToQColor(Colour colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

Colour FromQColor(const QColor& colour) {
    return Rgb(colour.red(), colour.green(), colour.blue());
}

constexpr int kViewIndexRole = Qt::UserRole;

constexpr QSize kDialogSize(310, 382);
constexpr QRect kTreeRect(8, 16, 293, 317);
constexpr int kButtonTop = 348;

} // namespace

TTreeForm::TTreeForm(TreeClass& root, UiDialogs& dialogs, QWidget* parent)
    : QDialog(parent), root_(root), dialogs_(dialogs) {
    setWindowTitle(QStringLiteral("Konfiguration"));
    // A tool window of the main window: the window manager keeps it above
    // the main window, and the boxes it opens above itself.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    SetHelpTopic(this, kHelpTopic);

    TreeView1 = new QTreeWidget(this);
    TreeView1->setGeometry(kTreeRect);
    TreeView1->setHeaderHidden(true);
    TreeView1->setIndentation(19);
    // Long names scroll sideways instead of being cut short.
    TreeView1->header()->setStretchLastSection(false);
    TreeView1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(TreeView1, &QTreeWidget::itemSelectionChanged, this, &TTreeForm::TreeView1Change);
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, this, &TTreeForm::TreeView1DblClick);

    Button1 = new QPushButton(QStringLiteral("&Ok"), this);
    Button1->setGeometry(12, kButtonTop, 101, 25);
    Button2 = new QPushButton(QStringLiteral("Voreinstellung"), this);
    Button2->setGeometry(124, kButtonTop, std::max(93, Button2->sizeHint().width()), 25);
    // Enter presses "&Ok" as the default button; Escape (reject) hides the
    // dialog just as "&Ok" does.
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TTreeForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TTreeForm::Button2Click);
    // It opens at its described size and can be made larger, so that long
    // names ("Editor für die Darstellung der Protokolle") show in full.
    setMinimumSize(kDialogSize);
    resize(kDialogSize);
    setSizeGripEnabled(true);

    root_.FillTreeView(*this, AddNode(kViewTopLevel));
    // The root and its two groups are open: the drawing groups and the editor
    // settings are in sight.
    TreeView1->expandToDepth(1);

    ValueEditForm = new TValueEditForm(dialogs_, this);
}

int TTreeForm::AddNode(int parent) {
    auto* item = parent == kViewTopLevel ? new QTreeWidgetItem(TreeView1)
                                         : new QTreeWidgetItem(viewNodes_.at(size_t(parent)));
    const int index = static_cast<int>(viewNodes_.size());
    item->setData(0, kViewIndexRole, index);
    viewNodes_.push_back(item);
    return index;
}

void TTreeForm::SetNodeText(int node, const std::string& text) {
    QTreeWidgetItem* item = viewNodes_.at(size_t(node));
    item->setText(0, QString::fromStdString(text));
    // The whole name also where the tree is too narrow for it.
    item->setToolTip(0, item->text(0));
}

void TTreeForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // The tree takes what the dialog grows by; the buttons keep their
    // distance from the lower edge.
    const QSize growth = size() - kDialogSize;
    TreeView1->setGeometry(QRect(kTreeRect.topLeft(), kTreeRect.size() + growth));
    for (QPushButton* button : {Button1, Button2})
        button->move(button->x(), kButtonTop + growth.height());
}

QTreeWidgetItem* TTreeForm::ViewNode(int index) const {
    if (index < 0 || size_t(index) >= viewNodes_.size())
        return nullptr;
    return viewNodes_[size_t(index)];
}

void TTreeForm::ShowDialog() {
    if (!placed_) {
        CenterOnScreen(this);
        placed_ = true;
    }
    if (isVisible())
        raise();
    else
        show();
    activateWindow();
}

void TTreeForm::TreeView1Change() {
    const QList<QTreeWidgetItem*> selected = TreeView1->selectedItems();
    if (selected.size() == 1)
        selectedIndex_ = selected.front()->data(0, kViewIndexRole).toInt();
}

void TTreeForm::TreeView1DblClick() {
    TreeClass* setting = root_.FindByIndex(selectedIndex_);
    if (!setting)
        return;
    switch (setting->Kind()) {
    case SettingKind::Colour:
        EditColour(*setting);
        break;
    case SettingKind::Real:
    case SettingKind::Text:
        ValueEditForm->SetUp(*setting);
        dialogs_.Exec(ValueEditForm);
        break;
    case SettingKind::Group:
        break;
    }
    Q_EMIT SettingsChanged();
}

void TTreeForm::EditColour(TreeClass& setting) {
    // The dialog starts at the setting's default colour, whatever it holds now.
    QColor colour = ToQColor(std::get<Colour>(setting.DefaultValue()));
    if (dialogs_.ChooseColour(this, colour))
        *setting.ColourVariable() = FromQColor(colour);
}

void TTreeForm::Button1Click() {
    hide();
}

void TTreeForm::Button2Click() {
    if (dialogs_.AskYesNo(this, QStringLiteral("Wollen Sie wirklich alle Werte zurücksetzen ?"),
                          QStringLiteral("Bestätigung")) != Answer::Yes)
        return;
    root_.ResetAll();
    Q_EMIT SettingsChanged();
}

TTreeForm* InstallSettingsDialogs(TMainForm& form, TreeClass& root, UiDialogs& dialogs) {
    auto* tree = new TTreeForm(root, dialogs, &form);
    QObject::connect(tree, &TTreeForm::SettingsChanged, &form,
                     [&form] { form.RefreshChildWindows(kRefreshKeepView); });
    form.SetSettingsDialog([tree] { tree->ShowDialog(); });
    return tree;
}
