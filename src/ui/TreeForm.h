#pragma once

#include "settings/TreeClass.h"

#include <QDialog>
#include <vector>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TMainForm;
class TValueEditForm;
class UiDialogs;

// "Konfiguration": the whole settings tree. A double click edits the
// selected setting (colours in the colour dialog, reals and texts in the value
// dialog); "Voreinstellung" resets every setting after a confirmation. The
// dialog is not modal and stays above the main window.
class TTreeForm : public QDialog, private SettingsTreeView {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 10135;

    // Shows root in the tree view. The value dialog is created with it and
    // lives as long as it.
    TTreeForm(TreeClass& root, UiDialogs& dialogs, QWidget* parent = nullptr);

    // "Konfiguration": shows the dialog, centred on the screen the first
    // time, and gives it the focus.
    void ShowDialog();

    // View index of the selected tree node; -1 until the user selects one.
    int SelectedIndex() const { return selectedIndex_; }
    // The view node with that index; null when there is none.
    QTreeWidgetItem* ViewNode(int index) const;

    void TreeView1DblClick();
    void Button1Click();
    void Button2Click();

    QTreeWidget* TreeView1 = nullptr;
    QPushButton* Button1 = nullptr; // "&Ok"
    QPushButton* Button2 = nullptr; // "Voreinstellung"
    TValueEditForm* ValueEditForm = nullptr;

Q_SIGNALS:
    // A setting was edited or all were reset: the drawings need rebuilding.
    void SettingsChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int AddNode(int parent) override;
    void SetNodeText(int node, const std::string& text) override;
    void TreeView1Change();
    void EditColour(TreeClass& setting);

    TreeClass& root_;
    UiDialogs& dialogs_;
    // The view nodes in the view's depth-first order: a node's index is its
    // view index.
    std::vector<QTreeWidgetItem*> viewNodes_;
    int selectedIndex_ = -1;
    bool placed_ = false;
};

// Creates the settings dialogs as windows of the main window, living as long
// as it, and plugs them into "Einstellung › Konfiguration". Every change of a
// setting asks the child windows to rebuild their drawings keeping their views.
TTreeForm* InstallSettingsDialogs(TMainForm& form, TreeClass& root, UiDialogs& dialogs);
