// Windows that open in full sight: the help window on a small screen, and
// the settings tree dialog, which can be made wide enough for its longest
// names.
#include "FakeDialogs.h"
#include "settings/SettingsTree.h"
#include "support/QtTestRegistry.h"
#include "ui/HelpWindow.h"
#include "ui/QtProgram.h"
#include "ui/TreeForm.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

// The window with the frame it is given before the window manager's is known.
QRect OuterRect(const QWidget& window) {
    return QRect(window.pos(), window.size() + kWindowFrameAllowance);
}

} // namespace

class WindowFitTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void helpWindowFitsTheScreen() {
        THelpForm help;
        help.ShowContents();
        const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY2(free.contains(OuterRect(help)),
                 qPrintable(QStringLiteral("%1x%2").arg(help.width()).arg(help.height())));
    }

    void treeDialogGrowsForLongNames() {
        FakeDialogs dialogs;
        TTreeForm tree(SettingsTree(), dialogs);
        QCOMPARE(tree.size(), QSize(310, 382));
        QCOMPARE(tree.minimumSize(), QSize(310, 382));
        tree.show();
        tree.resize(620, 500);
        QCOMPARE(tree.TreeView1->geometry(), QRect(8, 16, 603, 435));
        QCOMPARE(tree.Button1->y(), 466);
        QCOMPARE(tree.Button2->y(), 466);
        QTreeWidgetItem* editor = nullptr;
        for (QTreeWidgetItemIterator it(tree.TreeView1); *it; ++it)
            if ((*it)->text(0) == QStringLiteral("Editor für die Darstellung der Protokolle"))
                editor = *it;
        QVERIFY(editor);
        QCOMPARE(editor->toolTip(0), editor->text(0));
        tree.TreeView1->scrollToItem(editor);
        const QRect shown = tree.TreeView1->visualItemRect(editor);
        const int textWidth = tree.TreeView1->fontMetrics().horizontalAdvance(editor->text(0));
        QVERIFY(shown.left() + textWidth <= tree.TreeView1->viewport()->width());
    }
};

BALKOR_REGISTER_TEST(WindowFitTest);
#include "WindowFitTest.moc"
