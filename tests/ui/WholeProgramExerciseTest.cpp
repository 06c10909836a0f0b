// A seeded random exercise of the whole main window: menu commands, keys
// and clicks into every child window, the program's dialogs answered at
// random, files and projects opened from a set of valid and malformed files,
// "Berechnen", the protocols and the graphics windows' choice of a load case,
// combination or envelope. After every step: the program is still consistent, a
// saved file reads back to the tables as they are, and no file the user did
// not save has changed. Two pinned seeds and a fresh one each run; BALKOR_SEED
// runs that one seed alone. A failure names the seed and the step.
#include "FakeDialogs.h"
#include "StandInEditor.h"
#include "analysis/SolutionsCont.h"
#include "grid/CellDialog.h"
#include "grid/UserGrid.h"
#include "model/BalkorError.h"
#include "model/InputFiles.h"
#include "model/Tables.h"
#include "settings/SettingsTree.h"
#include "support/QtTestRegistry.h"
#include "support/ScopedEnvironment.h"
#include "support/TestSeed.h"
#include "ui/CombinationsForm.h"
#include "ui/FileNameLabel.h"
#include "ui/GraphForm.h"
#include "ui/InputForms.h"
#include "ui/LoadCasesForm.h"
#include "ui/MainForm.h"
#include "ui/PageControl.h"
#include "ui/TreeForm.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWheelEvent>
#include <chrono>
#include <clocale>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <thread>

// Fewer steps under the sanitizers, which make every step many times slower.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BALKOR_SANITIZED_EXERCISE 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(BALKOR_SANITIZED_EXERCISE)
constexpr int kStepsPerSeed = 500;
#else
constexpr int kStepsPerSeed = 2000;
#endif
constexpr unsigned kPinnedSeeds[] = {19, 4711};

namespace {

using Random = std::mt19937;

int Pick(Random& random, int count) {
    return std::uniform_int_distribution<int>(0, count - 1)(random);
}

template <class T> const T& PickOf(Random& random, const std::vector<T>& choices) {
    return choices[Pick(random, static_cast<int>(choices.size()))];
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// The example project and the files it names.
const char* const kProjectFiles[] = {"bruecke.bpj",   "bruecke.bsy",    "bruecke.bld",
                                     "bruecke-g.bld", "bruecke-q1.bld", "bruecke-q2.bld",
                                     "bruecke-q3.bld"};

// The example project with a few characters replaced at random: a number, a
// name, a reference or an expression may break, or nothing may.
QByteArray MutatedProject(Random& random) {
    QByteArray project = ReadAll(QStringLiteral(BALKOR_SOURCE_DIR "/examples/bruecke.bpj"));
    static const QByteArray replacements("0123456789 -.\"|()*+:/\r\nx");
    for (int i = 1 + Pick(random, 3); i > 0 && !project.isEmpty(); --i)
        project[Pick(random, static_cast<int>(project.size()))] =
            replacements[Pick(random, static_cast<int>(replacements.size()))];
    return project;
}

// Files the user may open: the examples, the example project and a mutated
// copy of it, and files that are damaged in every way a file can be: empty,
// cut off, binary, swapped, absurd counts and numbers, the other line ends,
// a byte order mark.
void MakeFilePool(const QString& folder, Random& random) {
    const QString examples = QStringLiteral(BALKOR_SOURCE_DIR "/examples/");
    for (const char* name : {"beispiel", "zweifeld"})
        for (const char* extension : {".bsy", ".bld"})
            QFile::copy(examples + name + extension, folder + "/" + name + extension);
    for (const char* name : kProjectFiles)
        QFile::copy(examples + name, folder + "/" + name);
    WriteFile(folder + "/veraendert.bpj", MutatedProject(random));
    const QByteArray bridge = ReadAll(examples + "bruecke.bsy");
    const QByteArray bridgeLoads = ReadAll(examples + "bruecke.bld");
    const std::map<QString, QByteArray> damaged = {
        {"leer.bsy", ""},
        {"leer.bld", ""},
        {"abgeschnitten.bsy", bridge.left(bridge.size() / 2)},
        {"abgeschnitten.bld", bridgeLoads.left(bridgeLoads.size() / 3)},
        {"vertauscht.bsy", bridgeLoads},
        {"vertauscht.bld", bridge},
        {"binaer.bsy", QByteArray("\x00\xff\x7fNODES\x00\x01\x02", 12).repeated(50)},
        {"riesig.bsy", "NODES\n2147483647\n    1 0 0 1 1 1 0\n"},
        {"negativ.bld", "NODELOAD\n-5\n    1 1 1 1 0 0\n"},
        {"nan.bsy", "NODES\n2\n    1 nan inf 1 1 1 0\n    2 1e400 0 0 0 0 -nan\n\n"
                    "BEAMS\n1\n    1 1 2 1 1e999 2147483647\n\nMATERIALS\n1\n"
                    "    1 nan 1 1 1 1\n\nHINGES\n1\n    1 1 7.5 9\n\n"},
        {"verweise.bld", "NODELOAD\n1\n    1 -3 99999 1 0 0\n\nBEAMLOAD\n1\n"
                         "    1 0 2147483647 1 1 0 0\n\nHINGELOAD\n1\n    1 77 3 1\n\n"},
        {"mac.bsy", QByteArray(bridge).replace("\r\n", "\r")},
        {"unix.bld", QByteArray(bridgeLoads).replace("\r\n", "\n")},
        {"bom.bsy", "\xef\xbb\xbf" + bridge},
    };
    for (const auto& [name, content] : damaged)
        WriteFile(folder + "/" + name, content);
    QDir(folder).mkdir(QStringLiteral("ordner.bsy"));
}

// Name and content hash of every file below folder.
std::map<QString, QByteArray> Snapshot(const QString& folder) {
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[path] = QCryptographicHash::hash(ReadAll(path), QCryptographicHash::Sha1);
    }
    return files;
}

// The half of the model as its file holds it.
QByteArray HalfAsFile(InputModel& model, bool loadCase, const QString& path) {
    const bool written = loadCase ? SaveLoadCaseFile(model, path.toStdString())
                                  : SaveSystemFile(model, path.toStdString());
    return written ? ReadAll(path) : QByteArray("(nicht geschrieben)");
}

// The test dialogs, whose file dialogs answer at random from files of their
// own kind (by extension; a damaged file may still hold anything), or
// cancel. The names given in save dialogs are noted.
class RandomFileDialogs : public FakeDialogs {
public:
    explicit RandomFileDialogs(Random& random) : random_(random) {}

    QString OpenFileName(QWidget*, const FileDialogSpec& spec) override {
        if (!chosen.empty()) {
            fileDialogs << spec;
            const QString name = chosen.front();
            chosen.pop_front();
            return name;
        }
        return Choose(open, spec);
    }
    QString SaveFileName(QWidget*, const FileDialogSpec& spec) override {
        const QString name = Choose(save, spec);
        if (!name.isEmpty())
            savedAs << name;
        return name;
    }

    // Candidates of each dialog; an empty name cancels.
    std::deque<QString> chosen; // the next open dialogs' answers, before any candidate
    std::vector<QString> open;
    std::vector<QString> save;
    QStringList savedAs;

private:
    QString Choose(const std::vector<QString>& names, const FileDialogSpec& spec) {
        fileDialogs << spec;
        std::vector<QString> fitting;
        for (const QString& name : names)
            if (name.isEmpty() || name.endsWith(QLatin1Char('.') + spec.defaultSuffix))
                fitting.push_back(name);
        return PickOf(random_, fitting);
    }

    Random& random_;
};

class Exercise {
public:
    Exercise(unsigned seed, const QString& folder)
        : random_(seed), folder_(folder), solutions_(input_), dialogs_(random_) {
        files_ = folder + "/dateien";
        saves_ = folder + "/gespeichert";
        QDir().mkpath(files_);
        QDir().mkpath(saves_);
        QDir().mkpath(folder + "/tmp");
        MakeFilePool(files_, random_);
        environment_.Set("TMP", (folder + "/tmp").toStdString());
        form_ = std::make_unique<TMainForm>(input_, solutions_, dialogs_, QString());
        tree_ = InstallSettingsDialogs(*form_, SettingsTree(), dialogs_);
        InstallGraphicsWindows(*form_, input_, solutions_, dialogs_);
        form_->resize(1100, 800);
        form_->show();
        QDirIterator it(files_, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        while (it.hasNext())
            openable_.push_back(it.next());
        openable_.push_back(files_ + "/fehlt.bsy");
        openable_.push_back(files_ + "/fehlt.bld");
        openable_.push_back(QString());
        dialogs_.open = openable_;
        dialogs_.save = {saves_ + "/a.bsy",
                         saves_ + "/b.bsy",
                         saves_ + "/a.bld",
                         saves_ + "/b.bld",
                         saves_ + "/a.bpj",
                         folder + "/kein/ordner/d.bsy",
                         folder + "/kein/ordner/d.bld",
                         QString()};
        dialogs_.exec = [this](QDialog* dialog) { return AnswerDialog(dialog); };
    }
    ~Exercise() {
        form_.reset();
        SettingsTree().ResetAll();
    }

    // One random step; returns its description. QVERIFY failures inside
    // end the step early, the caller looks at QTest::currentTestFailed().
    QString Step() {
        PrepareAnswers();
        before_ = Snapshot(folder_ + "/dateien");
        const auto saved = Snapshot(saves_);
        before_.insert(saved.begin(), saved.end());
        documentFilesBefore_ = DocumentFiles();
        mayWrite_ = false;
        const int kind = Pick(random_, 100);
        QString what;
        try {
            if (kind < 30)
                what = MenuCommand();
            else if (kind < 60)
                what = KeysIntoChild();
            else if (kind < 80)
                what = ClicksIntoChild();
            else if (kind < 88)
                what = MainWindowKey();
            else if (kind < 91)
                what = SettingsDialog();
            else if (kind < 95)
                what = ExampleCalculated();
            else
                what = WindowOrClientArea();
        } catch (const BalkorError& error) {
            // An error that ends a command: the application shows it.
            what += QStringLiteral(" → Fehler: ") + QString::fromUtf8(error.what());
        }
        QCoreApplication::processEvents();
        return what;
    }

    // What must hold after every step.
    void Check() {
        QVERIFY(form_->isVisible());
        QCOMPARE(form_->Image2->isVisible(), form_->document.System().Modified());
        QCOMPARE(form_->Image1->isVisible(), form_->document.LoadCase().Modified());
        QVERIFY(form_->StaticTextSystem->text().startsWith(QStringLiteral("System: ")));
        QVERIFY(form_->StaticTextLoad->text().startsWith(QStringLiteral("Lastfall: ")));
        CheckFiles();
    }

    // What the steps reached, so that a change that makes them miss the
    // program shows.
    struct Counts {
        int calculations = 0;
        int savesReadBack = 0;
        int projectCalculations = 0;
        int selections = 0;
    } counts;

    void Close() {
        dialogs_.answers = {Answer::No, Answer::No};
        form_->close();
    }

private:
    void PrepareAnswers() {
        dialogs_.answers.clear();
        dialogs_.savedAs.clear();
        dialogs_.colours.clear();
        dialogs_.unexpected.clear();
        for (int i = Pick(random_, 4); i > 0; --i)
            dialogs_.answers.push_back(
                PickOf<Answer>(random_, {Answer::Yes, Answer::No, Answer::Cancel}));
        if (Pick(random_, 2) == 0)
            dialogs_.colours.push_back(QColor::fromRgb(random_() & 0xffffff));
    }

    // The number dialog of the grids, the value dialog, the editor dialog and
    // the about box: accepted or cancelled, a number dialog with a number.
    bool AnswerDialog(QDialog* dialog) {
        // Printing goes into a PDF file, never to a printer.
        if (auto* print = qobject_cast<QPrintDialog*>(dialog)) {
            print->printer()->setOutputFormat(QPrinter::PdfFormat);
            print->printer()->setOutputFileName(folder_ + QStringLiteral("/druck.pdf"));
        }
        if (auto* cell = qobject_cast<TCellDialog1*>(dialog))
            cell->MyEdit1->setText(PickOf<QString>(
                random_, {"2", "-1,5", "0", "1e300", "abc", "", "0.001", "99999999999"}));
        return Pick(random_, 2) == 0;
    }

    QString MenuCommand() {
        struct Command {
            QAction* action;
            bool saves; // may write a system or load-case file
        };
        TMainForm& f = *form_;
        // Questions answered Yes save too.
        const bool yes = std::find(dialogs_.answers.begin(), dialogs_.answers.end(), Answer::Yes) !=
                         dialogs_.answers.end();
        const std::vector<Command> commands = {
            {f.FileNewItem, yes},
            {f.Systemffnen1, yes},
            {f.Belastungffnen1, yes},
            {f.Speichern1, true},
            {f.System2, true},
            {f.Belstung1, true},
            {f.System1, false},
            {f.Belastung1, false},
            {f.Berechnen1, false},
            {f.Berechnen1, false},
            {f.Eingabeprotocoll1, false},
            {f.Ergebnisse1, false},
            {f.Grafik1, false},
            {f.DruckerundAusgabeeditor1, false},
            {f.Konfiguration1, false},
            {f.WindowCascadeItem, false},
            {f.WindowTileItem, false},
            {f.WindowArrangeItem, false},
            {f.WindowMinimizeItem, false},
            {f.Inhalt1, false},
            {f.Suche1, false},
            {f.Grafikdrucken1, false},
            {f.HelpAboutItem, false},
            {f.Lastfaelle1, false},
            {f.Kombinationen1, false},
            {f.ProjektOeffnen1, yes},
            {f.ProjektSpeichern1, true},
            {f.ProjektSpeichernUnter1, true},
        };
        const Command& command = PickOf(random_, commands);
        mayWrite_ = command.saves;
        if (!command.action->isEnabled())
            return QStringLiteral("Menü (gesperrt) ") + command.action->text();
        command.action->trigger();
        if (command.action == f.Berechnen1)
            CountCalculation();
        return QStringLiteral("Menü ") + command.action->text();
    }

    QWidget* RandomChild() {
        const QList<QMdiSubWindow*> windows = form_->mdiArea->subWindowList();
        if (windows.isEmpty())
            return nullptr;
        QMdiSubWindow* window = windows[Pick(random_, static_cast<int>(windows.size()))];
        form_->mdiArea->setActiveSubWindow(window);
        return window->widget();
    }

    // The widget inside a child window that takes keys: for an input window
    // the grid of a page chosen by a click on its tab.
    QWidget* KeyTarget(QWidget* child, QString& where) {
        if (auto* input = qobject_cast<TInputForm*>(child)) {
            const int page = Pick(random_, input->PageCount());
            TPageTabs* tabs = input->PageControl1->Tabs();
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->TabRect(page).center());
            where = input->windowTitle() + QStringLiteral(" Seite %1").arg(page);
            return input->PageGrid(page);
        }
        if (auto* cases = qobject_cast<TLoadCasesForm*>(child)) {
            where = QStringLiteral("Lastfälle");
            return cases->Grid;
        }
        if (auto* tables = qobject_cast<TCombinationsForm*>(child)) {
            const int page = Pick(random_, 2);
            TPageTabs* tabs = tables->PageControl1->Tabs();
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->TabRect(page).center());
            where = QStringLiteral("Kombinationen Seite %1").arg(page);
            return page == 0 ? tables->CombinationGrid : tables->EnvelopeGrid;
        }
        where = child->metaObject()->className();
        return child;
    }

    QString KeysIntoChild() {
        QWidget* child = RandomChild();
        if (!child)
            return QStringLiteral("keine Fenster");
        QString where;
        QWidget* target = KeyTarget(child, where);
        if (!target)
            return where;
        // Keys that only edit the tables: the saving buttons are clicked, not typed.
        mayWrite_ = false;
        QString keys;
        for (int i = 1 + Pick(random_, 12); i > 0; --i) {
            const int which = Pick(random_, 30);
            if (which < 14) {
                static const QString characters = QStringLiteral("0123456789,.-eEJNjnbtqBLlVv xä");
                const QChar ch = characters[Pick(random_, static_cast<int>(characters.size()))];
                if (ch.unicode() < 128)
                    QTest::keyClicks(target, QString(ch));
                else
                    QTest::sendKeyEvent(QTest::Click, target, Qt::Key_Adiaeresis, QString(ch),
                                        Qt::NoModifier);
                keys += ch;
                continue;
            }
            static const std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> special = {
                {Qt::Key_Tab, Qt::NoModifier},         {Qt::Key_Backtab, Qt::ShiftModifier},
                {Qt::Key_Return, Qt::NoModifier},      {Qt::Key_Backspace, Qt::NoModifier},
                {Qt::Key_Delete, Qt::NoModifier},      {Qt::Key_Up, Qt::NoModifier},
                {Qt::Key_Down, Qt::NoModifier},        {Qt::Key_Left, Qt::NoModifier},
                {Qt::Key_Right, Qt::NoModifier},       {Qt::Key_Home, Qt::NoModifier},
                {Qt::Key_End, Qt::NoModifier},         {Qt::Key_PageDown, Qt::NoModifier},
                {Qt::Key_PageUp, Qt::NoModifier},      {Qt::Key_Escape, Qt::NoModifier},
                {Qt::Key_Delete, Qt::ControlModifier}, {Qt::Key_Insert, Qt::AltModifier},
                {Qt::Key_Delete, Qt::AltModifier},     {Qt::Key_C, Qt::ControlModifier},
                {Qt::Key_V, Qt::ControlModifier},      {Qt::Key_X, Qt::ControlModifier},
                {Qt::Key_C, Qt::AltModifier},          {Qt::Key_V, Qt::AltModifier},
                {Qt::Key_Down, Qt::ShiftModifier},     {Qt::Key_Right, Qt::ShiftModifier},
                {Qt::Key_F1, Qt::NoModifier},          {Qt::Key_Plus, Qt::NoModifier},
                {Qt::Key_Minus, Qt::NoModifier},       {Qt::Key_Space, Qt::NoModifier},
            };
            const auto& [key, modifiers] = PickOf(random_, special);
            QTest::keyClick(target, key, modifiers);
            keys += QStringLiteral("<%1:%2>").arg(key, 0, 16).arg(int(modifiers), 0, 16);
        }
        return QStringLiteral("Tasten in ") + where + QStringLiteral(": ") + keys;
    }

    QString ClicksIntoChild() {
        QWidget* child = RandomChild();
        if (!child)
            return QStringLiteral("keine Fenster");
        if (auto* graph = qobject_cast<TGraphForm*>(child))
            return GraphicsWindowAction(*graph);
        if (Pick(random_, 3) == 0)
            if (const QString pressed = ProjectWindowButton(child); !pressed.isEmpty())
                return pressed;
        if (auto* input = qobject_cast<TInputForm*>(child); input && Pick(random_, 4) == 0) {
            // A toolbar button; new, open and save reach the document.
            const std::vector<QToolButton*> buttons = {input->SpeedButton5, input->SpeedButton3,
                                                       input->SpeedButton2, input->SpeedButton1,
                                                       input->SpeedButton4};
            QToolButton* button = PickOf(random_, buttons);
            mayWrite_ = button == input->SpeedButton2 ||
                        (button != input->SpeedButton1 && button != input->SpeedButton4);
            QTest::mouseClick(button, Qt::LeftButton);
            return input->windowTitle() + QStringLiteral(" Knopf ") + button->toolTip();
        }
        QString where;
        QWidget* target = KeyTarget(child, where);
        QWidget* area = target;
        if (auto* grid = qobject_cast<TUserGrid*>(target))
            area = grid->viewport();
        QString clicks;
        for (int i = 1 + Pick(random_, 4); i > 0; --i) {
            const QPoint at(Pick(random_, qMax(1, area->width())),
                            Pick(random_, qMax(1, area->height())));
            const int which = Pick(random_, 10);
            if (which < 5) {
                QTest::mouseClick(area, Qt::LeftButton, {}, at);
                clicks += QStringLiteral(" Klick(%1,%2)").arg(at.x()).arg(at.y());
            } else if (which < 7) {
                QTest::mouseDClick(area, Qt::LeftButton, {}, at);
                clicks += QStringLiteral(" Doppelklick(%1,%2)").arg(at.x()).arg(at.y());
            } else if (which < 9) {
                const QPoint to(Pick(random_, qMax(1, area->width())),
                                Pick(random_, qMax(1, area->height())));
                QTest::mousePress(area, Qt::LeftButton, {}, at);
                QTest::mouseMove(area, (at + to) / 2);
                QTest::mouseMove(area, to);
                QTest::mouseRelease(area, Qt::LeftButton, {}, to);
                clicks += QStringLiteral(" Ziehen(%1,%2→%3,%4)")
                              .arg(at.x())
                              .arg(at.y())
                              .arg(to.x())
                              .arg(to.y());
            } else {
                // The right button opens the grid's menus; they close again.
                QTest::mouseClick(area, Qt::RightButton, {}, at);
                if (QWidget* popup = QApplication::activePopupWidget())
                    popup->close();
                clicks += QStringLiteral(" Rechtsklick(%1,%2)").arg(at.x()).arg(at.y());
            }
        }
        return QStringLiteral("Maus in ") + where + clicks;
    }

    // A button of the windows "Lastfälle" and "Kombinationen"; empty for
    // another window. Removing a load case may save it when asked.
    QString ProjectWindowButton(QWidget* child) {
        std::vector<QAbstractButton*> buttons;
        if (auto* cases = qobject_cast<TLoadCasesForm*>(child))
            buttons = {cases->NewButton, cases->OpenButton, cases->RemoveButton,
                       cases->RenameButton, cases->CurrentButton};
        else if (auto* tables = qobject_cast<TCombinationsForm*>(child))
            buttons = {tables->CheckButton, tables->ClearRowButton};
        else
            return QString();
        QAbstractButton* button = PickOf(random_, buttons);
        mayWrite_ = true;
        QTest::mouseClick(button, Qt::LeftButton);
        return child->windowTitle() + QStringLiteral(" Knopf ") + button->text() +
               button->toolTip();
    }

    // The user opens an example pair with F3 and F4, without saving the
    // document before, and calculates it.
    QString ExampleCalculated() {
        if (Pick(random_, 3) == 0)
            return ExampleProjectCalculated();
        static const char* const examples[] = {"bruecke", "beispiel", "zweifeld"};
        const QString name = QString::fromUtf8(examples[Pick(random_, 3)]);
        // Fresh copies: the pool's may have been saved over.
        const QString fresh = folder_ + QStringLiteral("/frisch/%1").arg(++freshCopies_);
        QDir().mkpath(fresh);
        const QString source = QStringLiteral(BALKOR_SOURCE_DIR "/examples/") + name;
        QFile::copy(source + ".bsy", fresh + "/" + name + ".bsy");
        QFile::copy(source + ".bld", fresh + "/" + name + ".bld");
        dialogs_.chosen = {fresh + "/" + name + ".bsy", fresh + "/" + name + ".bld"};
        // The changes so far are thrown away.
        dialogs_.answers = {Answer::No, Answer::No};
        QTest::keyClick(form_.get(), Qt::Key_F3);
        QTest::keyClick(form_.get(), Qt::Key_F4);
        dialogs_.chosen.clear();
        form_->Berechnen1->trigger();
        CountCalculation();
        return QStringLiteral("Beispiel %1 berechnet").arg(name);
    }

    void CountCalculation() {
        if (form_->document.ResultsValid())
            ++(form_->document.Analysis() ? counts.projectCalculations : counts.calculations);
    }

    // The user opens the example project, without saving anything before,
    // calculates it and looks at its windows.
    QString ExampleProjectCalculated() {
        const QString fresh = folder_ + QStringLiteral("/frisch/%1").arg(++freshCopies_);
        QDir().mkpath(fresh);
        for (const char* name : kProjectFiles)
            QFile::copy(QStringLiteral(BALKOR_SOURCE_DIR "/examples/") + name, fresh + "/" + name);
        dialogs_.chosen = {fresh + QStringLiteral("/bruecke.bpj")};
        // Every changed load case, the system and the project are thrown away.
        dialogs_.answers.assign(16, Answer::No);
        form_->ProjektOeffnen1->trigger();
        dialogs_.chosen.clear();
        [&] { QCOMPARE(form_->document.LoadCaseCount(), 5); }();
        form_->Berechnen1->trigger();
        CountCalculation();
        form_->Lastfaelle1->trigger();
        form_->Kombinationen1->trigger();
        return QStringLiteral("Beispielprojekt berechnet");
    }

    // The selector of a project's load cases, combinations and envelopes,
    // by keys: the caption names what the window shows.
    QString ChooseInSelector(TGraphForm& graph) {
        QComboBox* selector = graph.CaseSelector;
        if (!selector->isVisibleTo(&graph) || selector->count() == 0)
            return QStringLiteral("Grafik: keine Auswahl");
        const int index = Pick(random_, selector->count());
        selector->setFocus();
        QTest::keyClick(selector, Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(selector, Qt::Key_Down);
        QCoreApplication::sendPostedEvents();
        [&] { QVERIFY(graph.windowTitle().endsWith(graph.SelectionName())); }();
        ++counts.selections;
        return QStringLiteral("Grafik: Auswahl %1").arg(index);
    }

    // A toolbar button, a spin edit, a tab, the selector, or the mouse on the
    // drawing.
    QString GraphicsWindowAction(TGraphForm& graph) {
        const int which = Pick(random_, 11);
        if (which == 10)
            return ChooseInSelector(graph);
        if (which < 3) {
            const std::vector<QAction*> buttons = {
                graph.ToolButton1,  graph.ToolButton2,  graph.ToolButton3,  graph.ToolButton4,
                graph.ToolButton5,  graph.ToolButton6,  graph.ToolButton8,  graph.ToolButton9,
                graph.ToolButton10, graph.ToolButton11, graph.ToolButton12, graph.ToolButton13,
                graph.ToolButton14, graph.ToolButton15, graph.ToolButton16, graph.ToolButton17};
            QAction* button = PickOf(random_, buttons);
            button->trigger();
            return QStringLiteral("Grafik: Knopf ") + button->toolTip();
        }
        if (which == 3) {
            TCSpinEdit* edits[] = {graph.CSpinEdit1, graph.CSpinEdit2, graph.CSpinEdit3,
                                   graph.CSpinEdit4};
            TCSpinEdit* edit = edits[Pick(random_, 4)];
            const int value = PickOf<int>(random_, {-100000, -50, 0, 1, 7, 100, 350, 100000});
            edit->setValue(value);
            return QStringLiteral("Grafik: Wert %1").arg(value);
        }
        if (which == 4) {
            TPageTabs* tabs = graph.TabControl2;
            const int tab = Pick(random_, kGraphicsViewCount);
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->TabRect(tab).center());
            return QStringLiteral("Grafik: Reiter %1").arg(tab);
        }
        QWidget* box = graph.PaintBox1;
        const auto point = [&] {
            return QPoint(Pick(random_, qMax(1, box->width())),
                          Pick(random_, qMax(1, box->height())));
        };
        const Qt::MouseButton button = Pick(random_, 3) ? Qt::LeftButton : Qt::RightButton;
        const QPoint from = point();
        if (which < 8) {
            const QPoint to = point();
            QTest::mousePress(box, button, {}, from);
            for (int i = 1; i <= 3; ++i) {
                const QPointF at = from + (to - from) * i / 3.0;
                QMouseEvent move(QEvent::MouseMove, at, box->mapToGlobal(at), button, button, {});
                QApplication::sendEvent(box, &move);
            }
            QTest::mouseRelease(box, button, {}, to);
            return QStringLiteral("Grafik: Ziehen");
        }
        if (which == 8) {
            QTest::mouseDClick(box, button, {}, from);
            return QStringLiteral("Grafik: Doppelklick");
        }
        QWheelEvent wheel(QPointF(from), box->mapToGlobal(QPointF(from)), QPoint(),
                          QPoint(0, Pick(random_, 2) ? 120 : -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(box, &wheel);
        return QStringLiteral("Grafik: Rad");
    }

    QString MainWindowKey() {
        static const std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys = {
            {Qt::Key_F2, Qt::NoModifier},     {Qt::Key_F3, Qt::NoModifier},
            {Qt::Key_F4, Qt::NoModifier},     {Qt::Key_S, Qt::ControlModifier},
            {Qt::Key_B, Qt::ControlModifier}, {Qt::Key_F1, Qt::NoModifier},
        };
        const auto& [key, modifiers] = PickOf(random_, keys);
        mayWrite_ = key == Qt::Key_F2 || key == Qt::Key_F3 || key == Qt::Key_F4;
        QTest::keyClick(form_.get(), key, modifiers);
        return QStringLiteral("Taste im Hauptfenster %1").arg(key, 0, 16);
    }

    QString SettingsDialog() {
        form_->Konfiguration1->trigger();
        const int index = Pick(random_, 60);
        QTreeWidgetItem* item = tree_->ViewNode(index);
        if (!item)
            return QStringLiteral("Konfiguration ohne Knoten %1").arg(index);
        tree_->TreeView1->scrollToItem(item);
        const QPoint at = tree_->TreeView1->visualItemRect(item).center();
        QTest::mouseClick(tree_->TreeView1->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tree_->TreeView1->viewport(), Qt::LeftButton, {}, at);
        if (Pick(random_, 8) == 0)
            tree_->Button2Click();
        if (Pick(random_, 2) == 0)
            QTest::mouseClick(tree_->Button1, Qt::LeftButton);
        return QStringLiteral("Konfiguration ") + item->text(0);
    }

    QString WindowOrClientArea() {
        const QList<QMdiSubWindow*> windows = form_->mdiArea->subWindowList();
        const int which = Pick(random_, 4);
        if (which == 0 && !windows.isEmpty()) {
            QMdiSubWindow* window = windows[Pick(random_, static_cast<int>(windows.size()))];
            window->close();
            return QStringLiteral("Fenster geschlossen");
        }
        if (which == 1 && !windows.isEmpty()) {
            QMdiSubWindow* window = windows[Pick(random_, static_cast<int>(windows.size()))];
            window->resize(60 + Pick(random_, 900), 40 + Pick(random_, 700));
            return QStringLiteral("Fenstergröße");
        }
        if (which == 2 && !windows.isEmpty()) {
            QMdiSubWindow* window = windows[Pick(random_, static_cast<int>(windows.size()))];
            Pick(random_, 2) ? window->showMaximized() : window->showMinimized();
            return QStringLiteral("Fenster maximiert/minimiert");
        }
        // The client area's menu of graphics views: it runs its own loop,
        // which a view chosen by keys (or Escape) ends.
        const int steps = Pick(random_, 6);
        QTimer::singleShot(0, [steps] {
            QWidget* popup = QApplication::activePopupWidget();
            if (!popup)
                return;
            for (int i = 0; i < steps; ++i)
                QTest::keyClick(popup, Qt::Key_Down);
            QTest::keyClick(popup, steps ? Qt::Key_Return : Qt::Key_Escape);
            // A menu without an enabled entry stays open on Return.
            if (QApplication::activePopupWidget() == popup)
                popup->close();
        });
        QWidget* area = form_->mdiArea->viewport();
        const QPoint at(Pick(random_, area->width()), Pick(random_, area->height()));
        Q_EMIT form_->mdiArea->customContextMenuRequested(at);
        return QStringLiteral("Kontextmenü %1").arg(steps);
    }

    // A step changes no file, unless it may save; then only the files of the
    // document before and after it, and each reads back to the tables.
    void CheckFiles() {
        auto after = Snapshot(files_);
        const auto saved = Snapshot(saves_);
        after.insert(saved.begin(), saved.end());
        for (const auto& [path, hash] : after) {
            const auto old = before_.find(path);
            if (old != before_.end() && old->second == hash)
                continue;
            QVERIFY2(mayWrite_,
                     qPrintable(QStringLiteral("ungespeicherte Datei geändert: ") + path));
            // A name the user gave in a save dialog during the step counts too.
            const bool named = dialogs_.savedAs.contains(path);
            const bool document =
                documentFilesBefore_.contains(path) || DocumentFiles().contains(path) || named;
            QVERIFY2(document, qPrintable(QStringLiteral("fremde Datei geändert: ") + path));
            CheckReadsBack(path);
        }
        for (const auto& [path, hash] : before_)
            QVERIFY2(after.count(path), qPrintable(QStringLiteral("Datei verschwunden: ") + path));
    }

    // The files of the document: the system, every load case, the project.
    QStringList DocumentFiles() const {
        const Document& document = form_->document;
        QStringList files{QString::fromStdString(document.System().File()),
                          QString::fromStdString(document.ProjectFile())};
        for (int k = 0; k < document.LoadCaseCount(); ++k)
            files << QString::fromStdString(document.LoadCaseAt(k).File());
        return files;
    }

    // A file just saved for the current, unmodified document holds the tables.
    void CheckReadsBack(const QString& path) {
        const bool system = path == form_->SystemFile() && !form_->document.System().Modified();
        const bool loads = path == form_->LoadFile() && !form_->document.LoadCase().Modified();
        // A system saved over the load case's file (or the other way round)
        // holds only what was written last.
        if ((!system && !loads) || form_->SystemFile() == form_->LoadFile())
            return;
        InputModel reread;
        const bool read = system ? LoadSystemFile(reread, path.toStdString())
                                 : LoadLoadCaseFile(reread, path.toStdString());
        QVERIFY2(read, qPrintable(path));
        const QString scratch = folder_ + "/vergleich";
        QCOMPARE(HalfAsFile(reread, !system, scratch + "1"),
                 HalfAsFile(input_, !system, scratch + "2"));
        ++counts.savesReadBack;
    }

    Random random_;
    QString folder_;
    QString files_;
    QString saves_;
    ScopedEnvironment environment_;
    InputModel input_;
    SolutionsCont solutions_;
    RandomFileDialogs dialogs_;
    std::unique_ptr<TMainForm> form_;
    TTreeForm* tree_ = nullptr;
    std::vector<QString> openable_;
    std::map<QString, QByteArray> before_;
    QStringList documentFilesBefore_;
    bool mayWrite_ = false;
    int freshCopies_ = 0;
};

// Ends the program with the seed and the step when one step hangs, which a
// check after the step could never report.
class StepWatchdog {
public:
    StepWatchdog() : thread_([this] { Watch(); }) {}
    ~StepWatchdog() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    void Start(unsigned seed, int step) {
        std::lock_guard<std::mutex> lock(mutex_);
        seed_ = seed;
        step_ = step;
        started_ = std::chrono::steady_clock::now();
    }

private:
    void Watch() {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!done_) {
            wake_.wait_for(lock, std::chrono::seconds(1));
            if (!done_ && std::chrono::steady_clock::now() - started_ > kStepLimit) {
                std::fprintf(stderr, "Zufallsübung hängt: Samen %u (BALKOR_SEED=%u), Schritt %d\n",
                             seed_, seed_, step_);
                std::abort();
            }
        }
    }

    static constexpr std::chrono::seconds kStepLimit{60};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    unsigned seed_ = 0;
    int step_ = 0;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
    std::thread thread_;
};

std::vector<unsigned> Seeds() {
    if (const std::optional<unsigned> chosen = ChosenTestSeed())
        return {*chosen};
    std::vector<unsigned> seeds(std::begin(kPinnedSeeds), std::end(kPinnedSeeds));
    seeds.push_back(TestSeed());
    return seeds;
}

} // namespace

class WholeProgramExerciseTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { std::setlocale(LC_NUMERIC, "C"); }

    void randomStepsNeitherCrashNorLoseFiles() {
        // The protocol editor ends at once; the protocols are still written.
        QTemporaryDir editorDir;
        const QString editor = editorDir.filePath(QStringLiteral("editor.sh"));
        WriteFile(editor, "#!/bin/sh\nexit 0\n");
        QFile::setPermissions(editor, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EditorSetting editorSetting(editor);
        StepWatchdog watchdog;
        int calculations = 0;
        int projectCalculations = 0;
        int savesReadBack = 0;
        int selections = 0;
        for (const unsigned seed : Seeds()) {
            QTemporaryDir dir;
            Exercise exercise(seed, dir.path());
            if (QTest::currentTestFailed())
                return;
            QString last;
            for (int step = 0; step < kStepsPerSeed; ++step) {
                watchdog.Start(seed, step);
                last = exercise.Step();
                if (!QTest::currentTestFailed())
                    exercise.Check();
                if (QTest::currentTestFailed()) {
                    qWarning("Zufallsübung: Samen %u (BALKOR_SEED=%u), Schritt %d: %s", seed, seed,
                             step, qPrintable(last));
                    return;
                }
            }
            exercise.Close();
            qInfo("Samen %u: %d Schritte, %d Berechnungen (%d von Projekten), %d gespeicherte "
                  "Dateien gelesen, %d Auswahlen in Grafikfenstern",
                  seed, kStepsPerSeed, exercise.counts.calculations,
                  exercise.counts.projectCalculations, exercise.counts.savesReadBack,
                  exercise.counts.selections);
            calculations += exercise.counts.calculations;
            projectCalculations += exercise.counts.projectCalculations;
            savesReadBack += exercise.counts.savesReadBack;
            selections += exercise.counts.selections;
        }
        QVERIFY(calculations > 0);
        QVERIFY(projectCalculations > 0);
        QVERIFY(savesReadBack > 0);
        QVERIFY(selections > 0);
    }
};

BALKOR_REGISTER_TEST(WholeProgramExerciseTest);

#include "WholeProgramExerciseTest.moc"
