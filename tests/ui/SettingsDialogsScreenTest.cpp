// The settings dialogs with the real message boxes and colour dialog: each box
// the tree dialog opens is modal, lies above it and has the focus. With
// BALKOR_SCREENSHOT_DIR set, the screen is saved there while each box is open
// (run under Xvfb with a window manager to see the stacking).
#include "analysis/SolutionsCont.h"
#include "model/Tables.h"
#include "settings/SettingsTree.h"
#include "settings/SettingsVariables.h"
#include "support/QtTestRegistry.h"
#include "ui/MainForm.h"
#include "ui/TreeForm.h"
#include "ui/UiDialogs.h"
#include "ui/ValueEditForm.h"

#include <QApplication>
#include <QColorDialog>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QTreeWidget>
#include <functional>

namespace {

void SaveScreen(const char* name) {
    const QString folder = qEnvironmentVariable("BALKOR_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    QTest::qWait(300); // let the window manager draw its frames
    QGuiApplication::primaryScreen()->grabWindow(0).save(folder + QLatin1Char('/') +
                                                         QLatin1String(name));
}

// What a box looked like while it was open (boxes are gone afterwards).
struct SeenBox {
    QWidget* window = nullptr; // only to compare with windows that live on
    QString kind;
    QString title;
    QWidget* parent = nullptr;
    bool active = false;
    QWidget* focus = nullptr;
};

// Once a modal box has opened and the window system has given it the focus,
// records it and lets work answer it; a box of another kind is closed.
template <typename Box> void WhenBoxOpens(SeenBox& seen, std::function<void(Box*)> work) {
    QTimer::singleShot(0, [&seen, work] {
        const bool focused = QTest::qWaitFor([] {
            QWidget* box = QApplication::activeModalWidget();
            return box && QApplication::activeWindow() == box;
        });
        QWidget* box = QApplication::activeModalWidget();
        if (!box)
            return;
        seen.window = box;
        seen.kind = QString::fromLatin1(box->metaObject()->className());
        seen.title = box->windowTitle();
        seen.parent = box->parentWidget();
        seen.active = focused;
        seen.focus = QApplication::focusWidget();
        if (auto* expected = qobject_cast<Box*>(box))
            work(expected);
        else
            box->close();
    });
}

QAbstractButton* ButtonWithText(QMessageBox* box, const char* text) {
    for (QAbstractButton* button : box->buttons())
        if (button->text() == QString::fromUtf8(text))
            return button;
    return nullptr;
}

} // namespace

class SettingsDialogsScreenTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void boxesOpenAboveTheTreeDialogWithTheFocus() {
        // Qt's own dialogs in the user's language.
        QTranslator qtTexts;
        if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&qtTexts);
        struct Restore {
            ~Restore() { SettingsTree().ResetAll(); }
        } restore;
        InputModel input;
        SolutionsCont solutions(input);
        QtUiDialogs dialogs;
        TMainForm form(input, solutions, dialogs, QString());
        form.resize(1000, 700);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TTreeForm* tree = InstallSettingsDialogs(form, SettingsTree(), dialogs);
        form.Konfiguration1->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(tree));
        QTRY_COMPARE(QApplication::activeWindow(), tree);
        // The main window brought to the front: the tree dialog stays above it.
        form.raise();
        form.activateWindow();
        SaveScreen("settings-tree.png");
        form.Konfiguration1->trigger();
        QTRY_COMPARE(QApplication::activeWindow(), tree);

        // The value dialog, then its error box for a text that is no number.
        const QString point = QLocale().decimalPoint();
        tree->TreeView1->setCurrentItem(tree->ViewNode(4)); // Geometrie / Knoten / Liniendicke
        SeenBox value, error;
        WhenBoxOpens<QDialog>(value, [&](QDialog*) {
            SaveScreen("settings-value.png");
            QLineEdit* edit = tree->ValueEditForm->Edit1;
            edit->setText(QStringLiteral("0,0,1"));
            WhenBoxOpens<QMessageBox>(error, [](QMessageBox* box) {
                SaveScreen("settings-error.png");
                QTest::keyClick(box, Qt::Key_Return);
            });
            tree->ValueEditForm->Button1->click();
            edit->setText(QStringLiteral("0") + point + QStringLiteral("005"));
            QTest::keyClick(edit, Qt::Key_Escape);
        });
        tree->TreeView1DblClick();
        QCOMPARE(value.window, tree->ValueEditForm);
        QCOMPARE(value.parent, tree);
        QVERIFY(value.active);
        QCOMPARE(value.focus, tree->ValueEditForm->Edit1);
        QCOMPARE(error.kind, QStringLiteral("QMessageBox"));
        QCOMPARE(error.title, QStringLiteral("Balkor"));
        QCOMPARE(error.parent, tree->ValueEditForm);
        QVERIFY(error.active);
        QCOMPARE(GeoNodeLineWidth, 0.005);

        // The colour dialog, at the default colour, confirmed with red.
        tree->TreeView1->setCurrentItem(tree->ViewNode(5)); // Geometrie / Knoten / Farbe
        SeenBox colour;
        QColor opened;
        WhenBoxOpens<QColorDialog>(colour, [&](QColorDialog* dialog) {
            opened = dialog->currentColor();
            SaveScreen("settings-colour.png");
            dialog->setCurrentColor(Qt::red);
            dialog->accept();
        });
        tree->TreeView1DblClick();
        QCOMPARE(colour.kind, QStringLiteral("QColorDialog"));
        QCOMPARE(colour.parent, tree);
        QVERIFY(colour.active);
        QCOMPARE(opened, QColor(0, 128, 0));
        QCOMPARE(GeoNodeColour, 255);

        // The confirmation of "Voreinstellung", answered with Escape: No.
        SeenBox question;
        WhenBoxOpens<QMessageBox>(question, [&](QMessageBox* message) {
            QVERIFY(ButtonWithText(message, "&Ja") && ButtonWithText(message, "&Nein"));
            SaveScreen("settings-reset.png");
            QTest::keyClick(message, Qt::Key_Escape);
        });
        tree->Button2->click();
        QCOMPARE(question.parent, tree);
        QVERIFY(question.active);
        QCOMPARE(question.kind, QStringLiteral("QMessageBox"));
        QCOMPARE(question.title, QStringLiteral("Bestätigung"));
        QCOMPARE(GeoNodeColour, 255);
    }
};

BALKOR_REGISTER_TEST(SettingsDialogsScreenTest);

#include "SettingsDialogsScreenTest.moc"
