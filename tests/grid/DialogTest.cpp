// The number dialog of the block and line commands, its number field, and
// the real dialogs behind GridDialogs.
#include "FakeGrid.h"
#include "grid/CellDialog.h"
#include "support/QtTestRegistry.h"

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// Counts the change messages (WM_USER + 1) of its child edits.
class ChangeListener : public QWidget {
public:
    int changes = 0;

protected:
    bool event(QEvent* event) override {
        if (event->type() == TMyEdit::kChangedMessage) {
            ++changes;
            return true;
        }
        return QWidget::event(event);
    }
};

// Runs answer on the modal dialog as soon as it is open.
template <class Dialog> void AnswerModal(std::function<void(Dialog&)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog)
            answer(*dialog);
    });
}

// Switches QLocale's default to German for its lifetime.
class GermanLocale {
public:
    GermanLocale() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    ~GermanLocale() { QLocale::setDefault(previous_); }

private:
    QLocale previous_;
};

} // namespace

class GridDialogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void numberDialogLayout() {
        TCellDialog1 dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Celle Kopieren/Verschieben"));
        QCOMPARE(dialog.Button1->text(), QStringLiteral("OK"));
        QVERIFY(dialog.Button1->isDefault());
        QCOMPARE(dialog.Button2->text(), QStringLiteral("Abbruch"));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize()); // no resizing
        QVERIFY(dialog.width() >= 164 && dialog.height() >= 78);
        const QRect inside = dialog.rect();
        QVERIFY(inside.contains(dialog.MyEdit1->geometry()));
        QVERIFY(inside.contains(dialog.Button2->geometry()));
        QVERIFY(dialog.MyEdit1->geometry().bottom() < dialog.Button1->geometry().top());
        QVERIFY(dialog.Button1->geometry().right() < dialog.Button2->geometry().left());
        // A longer caption widens the dialog so that the title bar shows it.
        const QString caption = QStringLiteral("Verschieben zur Zeile und noch viel weiter");
        const int before = dialog.width();
        dialog.setWindowTitle(caption);
        QVERIFY(dialog.width() > before);
        QVERIFY(dialog.width() > dialog.fontMetrics().horizontalAdvance(caption));
        QVERIFY(dialog.rect().contains(dialog.Button2->geometry()));
        QCOMPARE(dialog.MyEdit1->width(), dialog.width() - 2 * dialog.MyEdit1->x());
    }

    void editMapsAndRefusesCharacters() {
        QWidget parent;
        auto* edit = new TMyEdit(&parent);
        parent.show();
        edit->setFocus();
        BeepCounter beeps;
        TypeText(edit, QStringLiteral("-2,5e3xä"));
        QCOMPARE(edit->text(), QStringLiteral("-2.5E3"));
        QCOMPARE(beeps.count, 2);
    }

    void valueIsADoubleShownWithTheUsersSeparator() {
        GermanLocale german;
        TMyEdit edit;
        edit.setText(QStringLiteral("2,5"));
        QCOMPARE(edit.Value(), 2.5);
        QCOMPARE(edit.text(), QStringLiteral("2,5"));
        edit.setText(QStringLiteral("1.1"));
        QCOMPARE(edit.Value(), 1.1); // the double, not the float 1.10000002
        QCOMPARE(edit.text(), QStringLiteral("1,1"));
        edit.setText(QStringLiteral("abc"));
        QCOMPARE(edit.Value(), 0.0);
        QCOMPARE(edit.text(), QStringLiteral("0"));
        edit.setText(QStringLiteral("1234567,5"));
        QCOMPARE(edit.Value(), 1234567.5);
        QCOMPARE(edit.text(), QStringLiteral("1,23457E+06"));
    }

    void changesAreReportedToTheParent() {
        GermanLocale german;
        ChangeListener parent;
        auto* edit = new TMyEdit(&parent);
        edit->setText(QStringLiteral("1"));
        edit->insert(QStringLiteral("2"));
        QCOMPARE(parent.changes, 2);
        edit->setText(QStringLiteral("1.50"));
        QCOMPARE(parent.changes, 3);
        edit->Value(); // shows 1,5 without reporting it
        QCOMPARE(edit->text(), QStringLiteral("1,5"));
        QCOMPARE(parent.changes, 3);

        edit->SetChangeOnExit(true);
        auto* next = new QLineEdit(&parent);
        next->move(0, 40);
        parent.show();
        parent.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&parent));
        edit->setFocus();
        edit->setText(QStringLiteral("7"));
        QCOMPARE(parent.changes, 3);
        next->setFocus();
        QCOMPARE(parent.changes, 4);
    }

    void enterMovesToTheNextControl() {
        TCellDialog1 dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.MyEdit1->setFocus();
        QTest::keyClicks(dialog.MyEdit1, QStringLiteral("3"));
        QTest::keyClick(dialog.MyEdit1, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), dialog.Button1);
        QVERIFY(dialog.isVisible());
        QTest::keyClick(dialog.Button1, Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void realDialogsAnswer() {
        QtGridDialogs dialogs;
        QString caption;
        AnswerModal<TCellDialog1>([&](TCellDialog1& dialog) {
            caption = dialog.windowTitle();
            dialog.MyEdit1->setText(QStringLiteral("2,5"));
            dialog.Button1->click();
        });
        double number = 0;
        QVERIFY(dialogs.AskNumber(nullptr, QStringLiteral("Kopieren zur Zeile"), number));
        QCOMPARE(number, 2.5);
        QCOMPARE(caption, QStringLiteral("Kopieren zur Zeile"));
        AnswerModal<TCellDialog1>([](TCellDialog1& dialog) { dialog.Button2->click(); });
        QVERIFY(!dialogs.AskNumber(nullptr, QStringLiteral("Verschieben zur Zeile"), number));

        QStringList shown;
        AnswerModal<QMessageBox>([&](QMessageBox& box) {
            shown << box.windowTitle() << box.text();
            for (QAbstractButton* button : box.buttons())
                shown << button->text();
            box.buttons().constFirst()->click();
        });
        QVERIFY(dialogs.AskOkCancel(nullptr, QStringLiteral("Zeile Löschen ?"),
                                    QStringLiteral("Info")));
        QCOMPARE(shown, QStringList({QStringLiteral("Info"), QStringLiteral("Zeile Löschen ?"),
                                     QStringLiteral("OK"), QStringLiteral("Abbrechen")}));
        AnswerModal<QMessageBox>([](QMessageBox& box) { box.reject(); });
        QVERIFY(!dialogs.AskOkCancel(nullptr, QStringLiteral("Zeile Löschen ?"),
                                     QStringLiteral("Info")));
    }
};

BALKOR_REGISTER_TEST(GridDialogTest);

#include "DialogTest.moc"
