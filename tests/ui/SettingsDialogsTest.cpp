// The settings dialogs: the tree of all settings, the value dialog, the
// colour dialog, and the refresh of the open windows after a change.
#include "MainFormFixture.h"
#include "MessageSpy.h"
#include "SettingsTreeItems.h"
#include "settings/SettingsTree.h"
#include "settings/SettingsVariables.h"
#include "support/QtTestRegistry.h"
#include "support/RandomSeed.h"
#include "ui/Help.h"
#include "ui/TreeForm.h"
#include "ui/ValueEditForm.h"

#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <cmath>
#include <random>

namespace {

// Every test leaves the program's settings and locale as it found them.
struct SettingsGuard {
    ~SettingsGuard() {
        SettingsTree().ResetAll();
        QLocale::setDefault(locale);
    }
    QLocale locale;
};

// The main window with its settings dialogs and one open child window.
struct DialogsFixture {
    DialogsFixture() {
        tree = InstallSettingsDialogs(*f.form, SettingsTree(), f.dialogs);
        spy = new MessageSpy;
        f.form->mdiArea->addSubWindow(spy)->show();
        f.form->Konfiguration1->trigger();
        QCoreApplication::processEvents();
        spy->received.clear();
    }

    QTreeWidgetItem* Item(const QStringList& path) const { return SettingItem(*tree, path); }

    // The user's double click on a setting (which first selects it).
    void DoubleClick(const QStringList& path) {
        QTreeWidgetItem* item = Item(path);
        QVERIFY2(item, qPrintable(path.join(QStringLiteral(" / "))));
        tree->TreeView1->scrollToItem(item);
        const QPoint at = tree->TreeView1->visualItemRect(item).center();
        QTest::mouseClick(tree->TreeView1->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tree->TreeView1->viewport(), Qt::LeftButton, {}, at);
    }

    // Runs work on the value dialog while it is open; the dialog closes as
    // work leaves it.
    void OnValueDialog(std::function<void(TValueEditForm&)> work) {
        f.dialogs.exec = [work](QDialog* dialog) {
            auto& form = *static_cast<TValueEditForm*>(dialog);
            form.setResult(QDialog::Rejected);
            form.show();
            work(form);
            const bool accepted = form.isHidden() && form.result() == QDialog::Accepted;
            form.hide();
            return accepted;
        };
    }

    SettingsGuard guard;
    MainFormFixture f;
    TTreeForm* tree = nullptr;
    MessageSpy* spy = nullptr;
};

const QStringList kNodeLineWidth = {"Geometrie", "Knoten", "Liniendicke"};
const QStringList kNodeColour = {"Geometrie", "Knoten", "Farbe"};
const QStringList kEditor = {"Editor und Seitenränder",
                             "Editor für die Darstellung der Protokolle"};

void TypeInto(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

} // namespace

class SettingsDialogsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void treeShowsEverySettingInTreeOrder() {
        DialogsFixture d;
        QTreeWidget* view = d.tree->TreeView1;
        QCOMPARE(view->topLevelItemCount(), 1);
        // 25 groups and 77 settings; each view node knows its depth-first index.
        QStringList names;
        for (QTreeWidgetItemIterator it(view); *it; ++it) {
            const int index = int(names.size());
            QCOMPARE(d.tree->ViewNode(index), *it);
            QCOMPARE(QString::fromStdString(SettingsTree().FindByIndex(index)->Name()),
                     (*it)->text(0));
            names << (*it)->text(0);
        }
        QCOMPARE(names.size(), 102);
        QCOMPARE(names.mid(0, 6), QStringList({"Einstellung", "Grafikeinstellung", "Geometrie",
                                               "Knoten", "Liniendicke", "Farbe"}));
        QCOMPARE(names.mid(95), QStringList({"Editor und Seitenränder",
                                             "Editor für die Darstellung der Protokolle",
                                             "Seitenränder (nur für Grafikausdruck)", "Links",
                                             "Rechts", "Oben", "Unten"}));
        QCOMPARE(d.tree->SelectedIndex(), -1);
        view->setCurrentItem(d.Item(kNodeLineWidth));
        QCOMPARE(d.tree->SelectedIndex(), 4);
    }

    void dialogsAreMadeOnceAndLookAsDescribed() {
        DialogsFixture d;
        TTreeForm& tree = *d.tree;
        QVERIFY(tree.isVisible());
        QCOMPARE(tree.windowTitle(), QStringLiteral("Konfiguration"));
        QCOMPARE(tree.size(), QSize(310, 382));
        QCOMPARE(tree.windowType(), Qt::Tool);
        QCOMPARE(tree.parentWidget(), d.f.form.get());
        QVERIFY(tree.Button1->isDefault());
        QCOMPARE(tree.Button1->text(), QStringLiteral("&Ok"));
        QCOMPARE(tree.Button2->text(), QStringLiteral("Voreinstellung"));
        QCOMPARE(FindHelpTopic(tree.TreeView1), 10135);
        TValueEditForm& value = *tree.ValueEditForm;
        QCOMPARE(value.windowTitle(), QStringLiteral("Wertänderung"));
        QCOMPARE(value.parentWidget(), &tree);
        QVERIFY(value.width() >= 325 && value.height() >= 83);
        QVERIFY(value.Button1->isDefault());
        QCOMPARE(value.Button1->text(), QStringLiteral("&Ok"));
        QCOMPARE(value.Button2->text(), QStringLiteral("Voreinstellung"));
        QCOMPARE(FindHelpTopic(value.Edit1), 10135);

        // "&Ok" and Escape hide the tree dialog; the menu shows the same one.
        tree.Button1->click();
        QVERIFY(!tree.isVisible());
        d.f.form->Konfiguration1->trigger();
        QTest::keyClick(tree.TreeView1, Qt::Key_Escape);
        QVERIFY(!tree.isVisible());
        d.f.form->Konfiguration1->trigger();
        QVERIFY(tree.isVisible());
        QCOMPARE(d.f.form->findChildren<TTreeForm*>().size(), 1);
        QCOMPARE(d.f.form->findChildren<TValueEditForm*>().size(), 1);
    }

    void numberDialog_data() {
        QTest::addColumn<QString>("locale");
        QTest::newRow("de_DE") << "de_DE";
        QTest::newRow("C") << "C";
        QTest::newRow("user's locale") << "";
    }

    // Geometrie / Knoten / Liniendicke: default 0.003; a tenth is 0.0003.
    void numberDialog() {
        QFETCH(QString, locale);
        DialogsFixture d;
        if (!locale.isEmpty())
            QLocale::setDefault(QLocale(locale));
        const QString comma = QLocale().decimalPoint();
        auto local = [&](QString text) { return text.replace(QLatin1Char('.'), comma); };

        QString shown, afterArrows;
        d.OnValueDialog([&](TValueEditForm& form) {
            shown = form.Edit1->text();
            QVERIFY(form.UpDown1->isVisibleTo(&form));
            form.UpButton->click();
            form.UpButton->click();
            afterArrows = form.Edit1->text();
            form.Button1->click();
        });
        d.DoubleClick(kNodeLineWidth);
        QCOMPARE(d.f.dialogs.executed.size(), 1);
        QCOMPARE(shown, local("0.003"));
        QCOMPARE(afterArrows, local("0.0036"));
        QCOMPARE(GeoNodeLineWidth, 0.0036);

        // Escape stores the field like "&Ok".
        d.OnValueDialog([&](TValueEditForm& form) {
            TypeInto(form.Edit1, local("0.25"));
            QTest::keyClick(form.Edit1, Qt::Key_Escape);
        });
        d.DoubleClick(kNodeLineWidth);
        QCOMPARE(GeoNodeLineWidth, 0.25);

        // "Voreinstellung" takes effect at once, even when the close box ends
        // the dialog; what was typed afterwards is not stored.
        d.OnValueDialog([&](TValueEditForm& form) {
            form.Button2->click();
            shown = form.Edit1->text();
            TypeInto(form.Edit1, local("7.5"));
            form.close();
        });
        d.DoubleClick(kNodeLineWidth);
        QCOMPARE(shown, local("0.003"));
        QCOMPARE(GeoNodeLineWidth, 0.003);
    }

    void textThatIsNoNumberKeepsTheValue_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        const char* const rows[][3] = {{"German point and comma", "de_DE", "1.000,5"},
                                       {"two points", "C", "1.000.5"},
                                       {"word", "de_DE", "dick"},
                                       {"empty", "C", ""},
                                       {"infinity", "C", "inf"},
                                       {"not a number", "de_DE", "nan"},
                                       {"overflow", "C", "1e400"}};
        for (const auto& row : rows)
            QTest::newRow(row[0]) << QString::fromLatin1(row[1]) << QString::fromLatin1(row[2]);
    }

    void textThatIsNoNumberKeepsTheValue() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        DialogsFixture d;
        QLocale::setDefault(QLocale(locale));
        GeoNodeLineWidth = 0.004;
        bool stillOpen = false;
        d.OnValueDialog([&](TValueEditForm& form) {
            TypeInto(form.Edit1, text);
            form.Button1->click();
            stillOpen = form.isVisible();
            form.close();
        });
        d.DoubleClick(kNodeLineWidth);
        QVERIFY(stillOpen);
        QCOMPARE(GeoNodeLineWidth, 0.004);
        QCOMPARE(d.f.dialogs.messages.size(), 1);
        QCOMPARE(d.f.dialogs.messages[0].text,
                 QStringLiteral("'%1' ist kein gültiger Gleitkommawert").arg(text));
        QCOMPARE(d.f.dialogs.messages[0].icon, MessageIcon::Error);
    }

    void eitherDecimalSeparatorIsAccepted_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("German point") << "de_DE"
                                      << "0.02" << 0.02;
        QTest::newRow("German comma") << "de_DE"
                                      << "0,02" << 0.02;
        QTest::newRow("German point, three decimals") << "de_DE"
                                                      << "1.000" << 1.0;
        QTest::newRow("C comma") << "C"
                                 << "0,003" << 0.003;
        QTest::newRow("C comma and exponent") << "C"
                                              << "2,5E-03" << 0.0025;
    }

    void eitherDecimalSeparatorIsAccepted() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(double, value);
        DialogsFixture d;
        QLocale::setDefault(QLocale(locale));
        d.OnValueDialog([&](TValueEditForm& form) {
            TypeInto(form.Edit1, text);
            form.Button1->click();
        });
        d.DoubleClick(kNodeLineWidth);
        QCOMPARE(GeoNodeLineWidth, value);
        QVERIFY(d.f.dialogs.messages.isEmpty());
    }

    // Whatever is shown reads back as the same number, in both notations,
    // and random typing, arrows and buttons never leave a size that is not
    // finite, nor store anything but the number the field showed.
    void randomNumbersAndKeys() {
        DialogsFixture d;
        const quint32 seed = RandomTestSeed();
        std::mt19937 random(seed);
        const QString context = SeedNote(seed);
        const QString alphabet = QStringLiteral("0123456789,.-+eE in");
        for (const char* name : {"de_DE", "C"}) {
            QLocale::setDefault(QLocale(QString::fromLatin1(name)));
            for (int i = 0; i < 200; ++i) {
                const double x = std::ldexp(std::uniform_real_distribution<>(-1, 1)(random),
                                            std::uniform_int_distribution<>(-30, 30)(random));
                const std::optional<double> back = SettingsNumberFromText(SettingsNumberText(x));
                QVERIFY2(back && std::abs(*back - x) <= 1e-9 * std::abs(x), qPrintable(context));
            }
            TValueEditForm& form = *d.tree->ValueEditForm;
            form.SetUp(*SettingsTree().FindByIndex(4)); // Geometrie / Knoten / Liniendicke
            form.show();
            for (int step = 0; step < 300; ++step) {
                const int action = std::uniform_int_distribution<>(0, 5)(random);
                QString typed;
                for (int k = std::uniform_int_distribution<>(0, 6)(random); k > 0; --k)
                    typed += alphabet[std::uniform_int_distribution<>(0, 18)(random)];
                if (action == 0)
                    TypeInto(form.Edit1, typed);
                else if (action <= 2)
                    (action == 1 ? form.UpButton : form.DownButton)->click();
                else if (action == 3)
                    form.Button2->click();
                else {
                    const std::optional<double> shown = SettingsNumberFromText(form.Edit1->text());
                    const double before = GeoNodeLineWidth;
                    if (action == 4)
                        form.Button1->click();
                    else
                        QTest::keyClick(form.Edit1, Qt::Key_Escape);
                    QVERIFY2(GeoNodeLineWidth == (shown ? *shown : before), qPrintable(context));
                    form.show();
                }
                QVERIFY2(std::isfinite(GeoNodeLineWidth), qPrintable(context));
            }
            form.hide();
        }
    }

    // A real setting with default 0 (a colour kept as a number): the number
    // dialog, and the arrows do not move it.
    void temperatureColourOpensTheNumberDialog() {
        DialogsFixture d;
        QLocale::setDefault(QLocale::c());
        LoadTempColour = 255;
        QString shown;
        d.OnValueDialog([&](TValueEditForm& form) {
            form.UpButton->click();
            form.DownButton->click();
            form.DownButton->click();
            shown = form.Edit1->text();
            form.Button1->click();
        });
        d.DoubleClick({"Belastung", "Temperaturlasten", "Farbe"});
        QCOMPARE(d.f.dialogs.executed.size(), 1);
        QVERIFY(d.f.dialogs.colourDialogs.isEmpty());
        QCOMPARE(shown, QStringLiteral("255"));
        QCOMPARE(LoadTempColour, 255.0);
    }

    void textSettingInTextMode() {
        DialogsFixture d;
        EditorProgram = "kate";
        QString shown, reset;
        d.OnValueDialog([&](TValueEditForm& form) {
            QVERIFY(!form.UpDown1->isVisibleTo(&form));
            shown = form.Edit1->text();
            form.Button2->click();
            reset = QString::fromStdString(EditorProgram);
            TypeInto(form.Edit1, QStringLiteral("/usr/bin/gedit 1.5"));
            QTest::keyClick(form.Edit1, Qt::Key_Escape);
        });
        d.DoubleClick(kEditor);
        QCOMPARE(shown, QStringLiteral("kate"));
        QCOMPARE(reset, QString::fromUtf8(kBundledViewerName));
        QCOMPARE(EditorProgram, std::string("/usr/bin/gedit 1.5"));
    }

    void colourDialogStartsAtTheDefault() {
        DialogsFixture d;
        GeoNodeColour = Rgb(255, 0, 0);
        d.DoubleClick(kNodeColour);
        QCOMPARE(d.f.dialogs.colourDialogs, QList<QColor>({QColor(0, 128, 0)}));
        QCOMPARE(GeoNodeColour, Rgb(255, 0, 0));
        d.f.dialogs.colours = {QColor(0, 0, 255)};
        d.DoubleClick(kNodeColour);
        QCOMPARE(d.f.dialogs.colourDialogs.last(), QColor(0, 128, 0));
        QCOMPARE(GeoNodeColour, 16711680);
        QVERIFY(d.f.dialogs.executed.isEmpty());
    }

    void resetAllAsksFirst() {
        DialogsFixture d;
        GeoNodeColour = 255;
        LoadNodeLineWidth = 0.5;
        d.f.dialogs.answers = {Answer::No};
        d.tree->Button2->click();
        QCOMPARE(d.f.dialogs.questions,
                 QStringList({"Bestätigung | Wollen Sie wirklich alle Werte zurücksetzen ?"}));
        QCOMPARE(GeoNodeColour, 255);
        QCOMPARE(LoadNodeLineWidth, 0.5);
        QCoreApplication::processEvents();
        QCOMPARE(d.spy->Count(UM_REFRESH), 0);

        d.f.dialogs.answers = {Answer::Yes};
        d.tree->Button2->click();
        QCOMPARE(GeoNodeColour, Rgb(0, 128, 0));
        QCOMPARE(LoadNodeLineWidth, 0.003);
        QCoreApplication::processEvents();
        QCOMPARE(d.spy->received, (QList<QPair<int, std::intptr_t>>{{UM_REFRESH, 1}}));
    }

    void doubleClickWithoutSelectionDoesNothing() {
        DialogsFixture d;
        d.tree->TreeView1DblClick();
        QCoreApplication::processEvents();
        QVERIFY(d.f.dialogs.executed.isEmpty());
        QVERIFY(d.f.dialogs.colourDialogs.isEmpty());
        QCOMPARE(d.spy->Count(UM_REFRESH), 0);
        // A group opens nothing.
        d.DoubleClick({"Geometrie", "Knoten"});
        QVERIFY(d.f.dialogs.executed.isEmpty());
        QVERIFY(d.f.dialogs.colourDialogs.isEmpty());
    }

    // Refreshes arrive after the command, one per window and turn, keeping
    // the view unless something in the same turn asked for a refit.
    void openWindowGetsOneRefreshKeepingItsView() {
        DialogsFixture d;
        d.f.dialogs.colours = {QColor(255, 0, 0), QColor(0, 0, 0)};
        d.DoubleClick(kNodeColour);
        d.DoubleClick({"Geometrie", "Stäbe", "Farbe"});
        QCOMPARE(d.spy->Count(UM_REFRESH), 0);
        QCoreApplication::processEvents();
        QCOMPARE(d.spy->received, (QList<QPair<int, std::intptr_t>>{{UM_REFRESH, 1}}));

        d.spy->received.clear();
        d.DoubleClick(kNodeColour);
        d.f.form->DiscardResults();
        QCoreApplication::processEvents();
        QCOMPARE(d.spy->received, (QList<QPair<int, std::intptr_t>>{{UM_REFRESH, 0}}));
    }

    void changedSettingsSurviveARestart() {
        SettingsGuard guard;
        MainFormFixture f;
        const QString config = f.TempPath(QStringLiteral("balkor.dat"));
        f.form = std::make_unique<TMainForm>(f.input, f.solutions, f.dialogs, config);
        TTreeForm* tree = InstallSettingsDialogs(*f.form, SettingsTree(), f.dialogs);
        f.dialogs.colours = {QColor(255, 0, 0)};
        tree->TreeView1->setCurrentItem(tree->ViewNode(5)); // Geometrie / Knoten / Farbe
        tree->TreeView1DblClick();
        f.form->close();

        QFile file(config);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()),
                 QStringLiteral("EinstellungGrafikeinstellungGeometrieKnotenFarbe = 255\n"));
        SettingsTree().ResetAll();
        f.form = std::make_unique<TMainForm>(f.input, f.solutions, f.dialogs, config);
        QCOMPARE(GeoNodeColour, 255);
    }
};

BALKOR_REGISTER_TEST(SettingsDialogsTest);

#include "SettingsDialogsTest.moc"
