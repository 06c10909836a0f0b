// The menu, the window commands, the window messages, the about dialog, the
// help window and the top-level error handler.
#include "MainFormFixture.h"
#include "MessageSpy.h"
#include "model/BalkorError.h"
#include "support/QtTestRegistry.h"
#include "ui/AboutBox.h"
#include "ui/BalkorApplication.h"
#include "ui/Help.h"
#include "ui/HelpWindow.h"

#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <memory>

namespace {

// Plugs in spy windows as graphics windows and opens n of them. The factory
// notes each requested tab in tabs (which must outlive the form).
QList<MessageSpy*> OpenSpyWindows(TMainForm& form, int n, QList<int>* tabs = nullptr) {
    auto spies = std::make_shared<QList<MessageSpy*>>();
    form.SetGraphicsWindowFactory([spies, tabs](QWidget*, int tab) {
        if (tabs)
            *tabs << tab;
        auto* spy = new MessageSpy(QStringLiteral("Grafik %1").arg(spies->size() + 1));
        spy->resize(200, 150);
        *spies << spy;
        return spy;
    });
    for (int i = 0; i < n; ++i)
        form.Grafik1->trigger();
    return *spies;
}

// An object whose event handler fails like a command that meets an error.
class FailingObject : public QObject {
protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User)
            throw BalkorError("Stab nicht gefunden");
        return QObject::event(event);
    }
};

} // namespace

class WindowsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void menuHasCaptionsShortcutsAndHints() {
        MainFormFixture f;
        QStringList titles;
        for (QAction* action : f.form->menuBar()->actions())
            titles << action->text();
        QCOMPARE(titles, QStringList({"&Datei", "&Eingabe", "&Berechnen", "&Zeigen", "Ein&stellung",
                                      "&Fenster", "&Hilfe"}));
        QCOMPARE(f.form->Speichern1->shortcut(), QKeySequence(Qt::Key_F2));
        QCOMPARE(f.form->Systemffnen1->shortcut(), QKeySequence(Qt::Key_F3));
        QCOMPARE(f.form->Belastungffnen1->shortcut(), QKeySequence(Qt::Key_F4));
        QCOMPARE(f.form->System1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(f.form->Belastung1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
        QCOMPARE(f.form->menuBar()->actions()[0]->statusTip(), QStringLiteral("Dateibefehle"));
        QCOMPARE(f.form->WindowArrangeItem->statusTip(),
                 QStringLiteral("Fenstersymbole am unteren Rand des Hauptfensters anordnen"));

        // A highlighted item's hint shows in the status bar.
        f.form->FileNewItem->showStatusText(f.form.get());
        QCOMPARE(f.form->statusBar()->currentMessage(), QStringLiteral("Neue Datei erzeugen"));
    }

    void commandsOfMissingWindowsAreDisabledUntilPluggedIn() {
        MainFormFixture f;
        for (QAction* action : {f.form->Grafik1, f.form->Grafikdrucken1, f.form->Konfiguration1})
            QVERIFY(!action->isEnabled());
        // The input windows are part of the main window.
        QVERIFY(f.form->System1->isEnabled());
        QVERIFY(f.form->Belastung1->isEnabled());
        f.form->FillPopupMenu();
        for (QAction* item : f.form->PopupMenu1->actions())
            QVERIFY(!item->isEnabled());
        int shown = 0;
        f.form->SetSettingsDialog([&shown] { ++shown; });
        f.form->Konfiguration1->trigger();
        QCOMPARE(shown, 1);
        f.form->SetGraphicsPrint([&shown] { shown += 10; });
        QVERIFY(f.form->Grafikdrucken1->isEnabled());
        f.form->Grafikdrucken1->trigger();
        QCOMPARE(shown, 11);
    }

    void popupMenuOffersTheFiveViews() {
        QList<int> tabs;
        MainFormFixture f;
        OpenSpyWindows(*f.form, 0, &tabs);
        f.form->FillPopupMenu();
        f.form->FillPopupMenu(); // refilled, not appended
        QStringList names;
        for (QAction* item : f.form->PopupMenu1->actions())
            names << item->text();
        QCOMPARE(names, QStringList({"Geometrie", "Biegelinie", "Querkraft", "Biegemoment",
                                     "Torsionsmoment"}));
        f.form->PopupMenu1->actions()[3]->trigger();
        QCOMPARE(tabs, QList<int>({3}));
        QCOMPARE(f.form->mdiArea->subWindowList().size(), 1);
    }

    void windowCommandsArrangeTheChildren() {
        MainFormFixture f;
        f.form->resize(800, 600);
        f.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
        OpenSpyWindows(*f.form, 3);
        const QList<QMdiSubWindow*> windows = f.form->mdiArea->subWindowList();
        QCOMPARE(windows.size(), 3);

        f.form->WindowCascadeItem->trigger();
        QVERIFY(windows[0]->pos() != windows[1]->pos());
        QVERIFY(windows[1]->pos() != windows[2]->pos());

        f.form->WindowTileItem->trigger();
        for (int i = 0; i < 3; ++i)
            for (int j = i + 1; j < 3; ++j)
                QVERIFY(!windows[i]->geometry().intersects(windows[j]->geometry()));

        f.form->WindowMinimizeItem->trigger();
        for (QMdiSubWindow* window : windows)
            QVERIFY(window->isMinimized());
        f.form->WindowArrangeItem->trigger();
        const int bottom = f.form->mdiArea->viewport()->height();
        for (QMdiSubWindow* window : windows)
            QCOMPARE(window->geometry().bottom() + 1, bottom);
        QCOMPARE(windows[0]->x(), 0);
        QVERIFY(windows[1]->x() >= windows[0]->geometry().right());
    }

    void windowMenuListsTheChildren() {
        MainFormFixture f;
        f.form->show();
        OpenSpyWindows(*f.form, 2);
        Q_EMIT f.form->WindowMenu->aboutToShow();
        Q_EMIT f.form->WindowMenu->aboutToShow(); // rebuilt, not appended
        QStringList entries;
        for (QAction* action : f.form->WindowMenu->actions())
            if (!action->isSeparator())
                entries << action->text();
        QCOMPARE(entries, QStringList({"Ü&berlappend", "&Nebeneinander", "&Symbole anordnen",
                                       "&Alle verkleinern", "&1 Grafik 1", "&2 Grafik 2"}));
        QAction* first = f.form->WindowMenu->actions().at(5);
        first->trigger();
        QCOMPARE(f.form->mdiArea->activeSubWindow(), f.form->mdiArea->subWindowList().at(0));
    }

    void refreshIsPostedAndPrintMessagesAreSent() {
        MainFormFixture f;
        const QList<MessageSpy*> spies = OpenSpyWindows(*f.form, 2);
        QCoreApplication::processEvents();
        for (MessageSpy* spy : spies)
            spy->received.clear();

        f.form->DiscardResults();
        QCOMPARE(spies[0]->Count(UM_REFRESH), 0);
        QCoreApplication::processEvents();
        for (MessageSpy* spy : spies) {
            QCOMPARE(spy->Count(UM_REFRESH), 1);
            QCOMPARE(spy->received.last().second, kRefreshRefit);
        }

        f.form->SendToChildren(UM_PRINTCELL, 2, 0);
        f.form->SendToChildren(UM_PRINTEXCLUDE);
        for (MessageSpy* spy : spies) {
            QCOMPARE(spy->Count(UM_PRINTCELL), 1);
            QCOMPARE(spy->Count(UM_PRINTEXCLUDE), 1);
        }
        QCOMPARE(UM_REFRESH, 3027);
        QCOMPARE(UM_PRINTCOUNT, 3029);
        QCOMPARE(UM_PRINTINCLUDE, 3032);
    }

    void closedChildWindowIsForgotten() {
        MainFormFixture f;
        f.form->System1Click();
        QPointer<QWidget> window = f.form->GeometryWindow();
        QVERIFY(window);
        f.form->mdiArea->subWindowList().at(0)->close();
        QTRY_VERIFY(!window);
        QVERIFY(!f.form->GeometryWindow());
        f.form->System1Click();
        QVERIFY(f.form->GeometryWindow());
    }

    void aboutShowsTheVersion() {
        MainFormFixture f;
        f.form->HelpAboutItem->trigger();
        QCOMPARE(f.dialogs.executed.size(), 1);
        auto* about = qobject_cast<TAboutBox*>(f.dialogs.executed[0]);
        QVERIFY(about);
        QCOMPARE(about->windowTitle(), QStringLiteral("Info"));
        QCOMPARE(about->Version->text(), QStringLiteral("Ver. ") + ProgramVersion());
        QVERIFY(!ProgramVersion().isEmpty());
        QCOMPARE(about->ProgramIcon->size(), QSize(249, 57));
    }

    void helpShowsContentsIndexAndTopics() {
        MainFormFixture f;
        THelpForm& help = *f.form->HelpForm;
        f.form->Inhalt1->trigger();
        QVERIFY(help.isVisible());
        QCOMPARE(help.Browser->source().toString(), QStringLiteral("qrc:/help/index.html"));
        QVERIFY(help.Browser->toPlainText().contains(QStringLiteral("Inhalt")));

        f.form->Suche1->trigger();
        QCOMPARE(help.Tabs->currentIndex(), 1);
        QCOMPARE(help.KeywordEdit->text(), QString());
        QVERIFY(help.KeywordList->count() > 20);
        help.KeywordEdit->setText(QStringLiteral("seiten"));
        help.OpenSelectedKeyword();
        QCOMPARE(help.Browser->source().toString(),
                 QStringLiteral("qrc:/help/einstellungen.html#editor"));

        help.ShowTopic(10075);
        QCOMPARE(help.Browser->source().toString(),
                 QStringLiteral("qrc:/help/eingabe_system.html#staebe"));
        help.ShowTopic(4711);
        QCOMPARE(help.Browser->source().toString(), QStringLiteral("qrc:/help/index.html"));
    }

    void everyTopicHasItsPage() {
        for (int topic : {10065, 10070, 10075, 10080, 10085, 10090, 10095, 10100, 10105, 10115,
                          10120, 10130, 10135}) {
            const QString url = HelpTopicUrl(topic);
            QVERIFY2(url != QLatin1String(kHelpContentsUrl), qPrintable(QString::number(topic)));
            const QString file = url.mid(3).section('#', 0, 0);
            QVERIFY2(QFile::exists(file), qPrintable(file));
        }
    }

    void f1ShowsTheTopicOfTheFocusedWindow() {
        MainFormFixture f;
        QWidget page;
        SetHelpTopic(&page, 10120);
        auto* field = new QLineEdit(&page);
        QCOMPARE(FindHelpTopic(field), 10120);
        HelpKeyFilter filter(*f.form->HelpForm);
        QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
        QVERIFY(filter.eventFilter(field, &f1));
        QCOMPARE(f.form->HelpForm->Browser->source().toString(),
                 QStringLiteral("qrc:/help/grafik.html"));
        QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
        QVERIFY(!filter.eventFilter(field, &other));
    }

    // An error out of a command is shown and the program goes on.
    void errorsOfCommandsAreCaughtAtTheTop() {
        auto* app = qobject_cast<BalkorApplication*>(QCoreApplication::instance());
        QVERIFY(app);
        QStringList shown;
        app->SetErrorHandler([&shown](const QString& message) { shown << message; });
        FailingObject failing;
        QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        QCOMPARE(shown, QStringList({"Stab nicht gefunden"}));
        QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        QCOMPARE(shown.size(), 2);
        app->SetErrorHandler(nullptr);
    }
};

BALKOR_REGISTER_TEST(WindowsTest);
#include "WindowsTest.moc"
