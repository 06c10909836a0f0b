// Long seeded random sequences of keys, clicks, drags, menus, messages and
// commands on a grid bound to each kind of table (loaded with the bridge
// example). After every step the table and the grid must still be sound.
// Each run takes a fresh seed (BALKOR_SEED repeats one); a failure names the
// seed, the page and the step.
#include "GridWindow.h"
#include "grid/GridMessages.h"
#include "grid/UserInt.h"
#include "grid/UserList.h"
#include "model/InputFiles.h"
#include "support/QtTestRegistry.h"
#include "support/RandomSeed.h"
#include "ui/BalkorApplication.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QScrollBar>
#include <cmath>
#include <random>

// Fewer events under the sanitizers, which make every step many times slower.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BALKOR_SANITIZED_BUILD 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(BALKOR_SANITIZED_BUILD)
constexpr int kRandomEvents = 30000;
#else
constexpr int kRandomEvents = 100000;
#endif

namespace {

using Random = std::mt19937;

int Pick(Random& random, int count) {
    return std::uniform_int_distribution<int>(0, count - 1)(random);
}

template <class T> T PickOf(Random& random, std::initializer_list<T> choices) {
    return *(choices.begin() + Pick(random, static_cast<int>(choices.size())));
}

double RandomNumber(Random& random) {
    return PickOf<double>(
        random, {0, 1, -1, 0.7, 1.5, -3, 2, 1e9, -1e300, 1e300, qInf(), qQNaN(), 2.5e-8, 40, 1e6});
}

QString RandomClipboard(Random& random) {
    static const QStringList pieces = {
        QStringLiteral("1"),    QStringLiteral("-2,5"),  QStringLiteral("3.75e2"),
        QStringLiteral("J"),    QStringLiteral("n"),     QStringLiteral("Biege"),
        QStringLiteral("Last"), QStringLiteral("1e999"), QStringLiteral("99999999999"),
        QStringLiteral("äöü"),  QStringLiteral("\t"),    QStringLiteral("\t"),
        QStringLiteral("\r\n"), QStringLiteral("\n"),    QStringLiteral("\r")};
    QString text;
    const int length = Pick(random, 12);
    for (int i = 0; i < length; ++i)
        text += pieces[Pick(random, static_cast<int>(pieces.size()))];
    return text;
}

class RandomSession {
public:
    RandomSession(GridWindow& w, Random& random) : w_(w), random_(random) {}

    // One random event; returns its description.
    QString Step() {
        // Every dialog gets one prepared answer (or none: cancelled).
        w_.dialogs.numbers.clear();
        w_.dialogs.answers.clear();
        if (Pick(random_, 4) > 0)
            w_.dialogs.numbers.push_back(RandomNumber(random_));
        w_.dialogs.answers.push_back(Pick(random_, 2) == 0);
        const int kind = Pick(random_, 100);
        if (kind < 33)
            return TypeCharacter();
        if (kind < 38)
            return TypeBurst();
        if (kind < 60)
            return EditingKey();
        if (kind < 66)
            return CommandKey();
        if (kind < 76)
            return Click();
        if (kind < 81)
            return Drag();
        if (kind < 85)
            return RightClick();
        if (kind < 88)
            return SetClipboard();
        if (kind < 92)
            return Command();
        if (kind < 95)
            return Message();
        if (kind < 97)
            return Focus();
        return Scroll();
    }

private:
    QString TypeCharacter() {
        static const QString characters =
            QStringLiteral("0123456789012345,.-+eEabcdJNnjqQbBtTlLvVxyzäöüÄÖÜß #()<>=\\");
        const QChar ch = characters[Pick(random_, static_cast<int>(characters.size()))];
        TypeText(w_.grid, QString(ch));
        return QStringLiteral("type ") + ch;
    }

    QString TypeBurst() {
        const QString text =
            PickOf<QString>(random_, {QStringLiteral("99999999999"), QStringLiteral("1e999"),
                                      QStringLiteral("-2147483649"), QStringLiteral("1,5,3"),
                                      QStringLiteral("Torsion"), QStringLiteral("2147483647")});
        QTest::keyClicks(w_.grid, text);
        return QStringLiteral("type ") + text;
    }

    Qt::KeyboardModifiers RandomModifiers() {
        const int which = Pick(random_, 20);
        if (which < 16)
            return Qt::NoModifier;
        return PickOf<Qt::KeyboardModifiers>(random_, {Qt::ShiftModifier, Qt::ControlModifier,
                                                       Qt::AltModifier,
                                                       Qt::ControlModifier | Qt::AltModifier});
    }

    QString EditingKey() {
        const Qt::Key key = PickOf<Qt::Key>(
            random_,
            {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Escape,  Qt::Key_Home,   Qt::Key_End,
             Qt::Key_Left,      Qt::Key_Right,  Qt::Key_Up,      Qt::Key_Down,   Qt::Key_PageUp,
             Qt::Key_PageDown,  Qt::Key_Tab,    Qt::Key_Backtab, Qt::Key_Return, Qt::Key_Enter,
             Qt::Key_Insert,    Qt::Key_Space,  Qt::Key_Tab,     Qt::Key_Return, Qt::Key_Down});
        const Qt::KeyboardModifiers modifiers = RandomModifiers();
        QTest::keyClick(w_.grid, key, modifiers);
        return QStringLiteral("key %1 modifiers %2").arg(key).arg(int(modifiers));
    }

    QString CommandKey() {
        const bool ctrl = Pick(random_, 2) == 0;
        const Qt::Key key =
            ctrl ? PickOf<Qt::Key>(random_, {Qt::Key_C, Qt::Key_V, Qt::Key_X, Qt::Key_Delete})
                 : PickOf<Qt::Key>(random_, {Qt::Key_C, Qt::Key_V, Qt::Key_Insert, Qt::Key_Delete});
        QTest::keyClick(w_.grid, key, ctrl ? Qt::ControlModifier : Qt::AltModifier);
        return QStringLiteral("%1+key %2").arg(ctrl ? "ctrl" : "alt").arg(key);
    }

    QPoint RandomPoint() {
        const QSize size = w_.grid->viewport()->size();
        return QPoint(Pick(random_, size.width() + 40) - 10,
                      Pick(random_, size.height() + 40) - 10);
    }

    QString Click() {
        const QPoint at = RandomPoint();
        if (Pick(random_, 5) == 0)
            QTest::mouseDClick(w_.grid->viewport(), Qt::LeftButton, {}, at);
        else
            QTest::mouseClick(w_.grid->viewport(), Qt::LeftButton, {}, at);
        return QStringLiteral("click %1,%2").arg(at.x()).arg(at.y());
    }

    QString Drag() {
        QWidget* viewport = w_.grid->viewport();
        const QPoint from = RandomPoint();
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        const int moves = 1 + Pick(random_, 4);
        QPoint to = from;
        for (int i = 0; i < moves; ++i) {
            to = RandomPoint();
            QTest::mouseMove(viewport, to);
        }
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
        return QStringLiteral("drag to %1,%2").arg(to.x()).arg(to.y());
    }

    QString RightClick() {
        const QPoint at = RandomPoint();
        QTest::mouseClick(w_.grid->viewport(), Qt::RightButton, {}, at);
        QString what = QStringLiteral("right click %1,%2").arg(at.x()).arg(at.y());
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            const QList<QAction*> actions = menu->actions();
            if (!actions.isEmpty() && Pick(random_, 3) > 0) {
                const int chosen = Pick(random_, static_cast<int>(actions.size()));
                what += QStringLiteral(", menu item ") + actions[chosen]->text();
                menu->close();
                actions[chosen]->trigger();
            } else {
                menu->close();
            }
        }
        return what;
    }

    QString SetClipboard() {
        const QString text = RandomClipboard(random_);
        QGuiApplication::clipboard()->setText(text);
        return QStringLiteral("clipboard ") + QString(text).replace(u'\t', u'|');
    }

    QString Command() {
        GridCore& grid = *w_.grid;
        const int rows = grid.RowCount();
        const int row = Pick(random_, rows + 3);
        switch (Pick(random_, 6)) {
        case 0: {
            const double x = RandomNumber(random_);
            grid.AddBlock(x);
            return QStringLiteral("add %1").arg(x);
        }
        case 1: {
            const double x = RandomNumber(random_);
            grid.MultBlock(x);
            return QStringLiteral("multiply %1").arg(x);
        }
        case 2:
            grid.DelPoupClick();
            return QStringLiteral("delete block");
        case 3:
            grid.LineInsert(row);
            return QStringLiteral("insert line %1").arg(row);
        case 4:
            grid.LineDelete(row);
            return QStringLiteral("delete line %1").arg(row);
        default: {
            const int other = Pick(random_, rows + 3);
            const int col = Pick(random_, grid.ColCount() + 1);
            grid.SetBlock(row, col, other, Pick(random_, grid.ColCount() + 1), Pick(random_, 2));
            return QStringLiteral("block %1,%2 to %3").arg(row).arg(col).arg(other);
        }
        }
    }

    QString Message() {
        switch (Pick(random_, 3)) {
        case 0:
            SendWindowMessage(w_.grid, UGM_CLEARROW);
            return QStringLiteral("clear row");
        case 1: {
            const int row = Pick(random_, w_.grid->RowCount() + 5) - 2;
            const int col = Pick(random_, 25) - 2;
            SendWindowMessage(w_.grid, UGM_GOTOCELL, row, col);
            return QStringLiteral("go to %1,%2").arg(row).arg(col);
        }
        default: {
            QEvent refresh(static_cast<QEvent::Type>(UGM_GOTOCELL));
            QApplication::sendEvent(w_.grid, &refresh);
            return QStringLiteral("refresh");
        }
        }
    }

    QString Focus() {
        if (w_.grid->hasFocus()) {
            w_.other->setFocus();
            return QStringLiteral("focus away");
        }
        w_.grid->setFocus();
        return QStringLiteral("focus back");
    }

    QString Scroll() {
        QScrollBar* bar = w_.grid->verticalScrollBar();
        const int value = Pick(random_, bar->maximum() + 1);
        bar->setValue(value);
        return QStringLiteral("scroll %1").arg(value);
    }

    GridWindow& w_;
    Random& random_;
};

// Empty when the grid and its table are sound.
QString Unsound(TUserGrid& grid) {
    InputContainer& table = *grid.Container();
    std::vector<int> used;
    for (int row = 0; row < table.Count(); ++row)
        if (table.IsRowUsed(row))
            used.push_back(row);
    if (table.ValidCount() != static_cast<int>(used.size()))
        return QStringLiteral("valid-row index %1, recount %2")
            .arg(table.ValidCount())
            .arg(used.size());
    for (size_t k = 0; k < used.size(); ++k)
        if (table.ValidRow(static_cast<int>(k)) != table.At(used[k]))
            return QStringLiteral("valid row %1 is not row %2").arg(k).arg(used[k]);
    for (int col = 1; col < grid.ColCount(); ++col) {
        if (const auto* number = dynamic_cast<const TUserInt*>(grid.Columns(col));
            number && number->Typ() == uDouble) {
            for (int row = 0; row < table.Count(); ++row)
                if (!std::isfinite(*static_cast<const double*>(table.ValuePtr(row, col - 1))))
                    return QStringLiteral("real not finite at %1,%2").arg(row).arg(col);
        } else if (auto* list = dynamic_cast<TUserList*>(grid.Columns(col))) {
            for (int row : used) {
                const int32_t index = *static_cast<const int32_t*>(table.ValuePtr(row, col - 1));
                if (index < 0 || index >= list->ListCount())
                    return QStringLiteral("list index %1 at %2,%3").arg(index).arg(row).arg(col);
            }
        }
    }
    const int fixed = grid.FixedRows();
    auto inside = [&](int row, int col) {
        return row >= fixed && row < grid.RowCount() && col >= 1 && col < grid.ColCount();
    };
    if (!inside(grid.Row(), grid.Col()))
        return QStringLiteral("current cell %1,%2").arg(grid.Row()).arg(grid.Col());
    if (grid.EditRow() != -1 && !inside(grid.EditRow(), grid.EditCol()))
        return QStringLiteral("edit cell %1,%2").arg(grid.EditRow()).arg(grid.EditCol());
    if (grid.CursorPos() < 0 || grid.CursorPos() > grid.EditText().size())
        return QStringLiteral("caret %1 in %2").arg(grid.CursorPos()).arg(grid.EditText());
    if (grid.AnchorRow() != -1 &&
        (!inside(grid.AnchorRow(), grid.AnchorCol()) || !inside(grid.EndRow(), grid.EndCol())))
        return QStringLiteral("block corner outside");
    if (grid.TopRow() < fixed || grid.TopRow() >= grid.RowCount())
        return QStringLiteral("top row %1").arg(grid.TopRow());
    if (grid.RowCount() - fixed < table.UsedRowCount())
        return QStringLiteral("%1 rows for %2 used records")
            .arg(grid.RowCount())
            .arg(table.UsedRowCount());
    return QString();
}

} // namespace

// Drops the offscreen platform's notes about popups (raise, keyboard grab)
// and the note of a key event ended by a failed paste, which every random run
// produces hundreds of times; everything else is passed on.
class QuietPlatformNotes {
public:
    QuietPlatformNotes() { previous_ = qInstallMessageHandler(&Filter); }
    ~QuietPlatformNotes() { qInstallMessageHandler(previous_); }
    QuietPlatformNotes(const QuietPlatformNotes&) = delete;
    QuietPlatformNotes& operator=(const QuietPlatformNotes&) = delete;

private:
    static void Filter(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (text.contains(QStringLiteral("This plugin does not support")) ||
            text.contains(QStringLiteral("not accepted by receiving widget")))
            return;
        previous_(type, context, text);
    }
    static inline QtMessageHandler previous_ = nullptr;
};

class GridRobustnessTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void randomEventsOnEveryTable() {
        const quint32 seed = RandomTestSeed();
        auto* app = static_cast<BalkorApplication*>(QCoreApplication::instance());
        QString unexpectedError;
        app->SetErrorHandler([&](const QString& message) {
            if (message != QStringLiteral("Kopierbeireich außerhalb der Tabelle"))
                unexpectedError = message;
        });
        BeepCounter beeps;
        QuietPlatformNotes quiet;
        const int perPage = kRandomEvents / kPageCount;
        for (int page = 0; page < kPageCount; ++page) {
            GridWindow w(static_cast<Page>(page));
            QVERIFY(LoadSystemFile(w.model, BALKOR_SOURCE_DIR "/examples/bruecke.bsy"));
            QVERIFY(LoadLoadCaseFile(w.model, BALKOR_SOURCE_DIR "/examples/bruecke.bld"));
            QVERIFY(w.Show());
            Random random(seed + static_cast<quint32>(page));
            RandomSession session(w, random);
            for (int step = 0; step < perPage; ++step) {
                const QString event = session.Step();
                QString problem = Unsound(*w.grid);
                if (problem.isEmpty() && !unexpectedError.isEmpty())
                    problem = QStringLiteral("error box: ") + unexpectedError;
                if (!problem.isEmpty()) {
                    app->SetErrorHandler(nullptr);
                    QFAIL(qPrintable(QStringLiteral("%1, page %2, step %3 (%4): %5")
                                         .arg(SeedNote(seed))
                                         .arg(PageName(static_cast<Page>(page)))
                                         .arg(step)
                                         .arg(event, problem)));
                }
                if (step % 64 == 0)
                    QCoreApplication::processEvents();
                if (step % 1024 == 0)
                    w.grid->viewport()->grab();
            }
            qInfo("%s: %d events, %d rows, %d valid", qPrintable(PageName(static_cast<Page>(page))),
                  perPage, w.grid->RowCount(), w.grid->Container()->ValidCount());
        }
        app->SetErrorHandler(nullptr);
    }
};

BALKOR_REGISTER_TEST(GridRobustnessTest);

#include "RobustnessTest.moc"
