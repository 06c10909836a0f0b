#pragma once

#include "grid/GridBeep.h"
#include "grid/GridCore.h"
#include "grid/GridDialogs.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPoint>
#include <QStringList>
#include <QTest>
#include <deque>
#include <optional>

// A grid without a window: every character is 7 pixels wide and 13 high,
// the client area is 700 × 400 pixels (18 fully visible data rows below one
// header row), and the clipboard, the menus and focus requests are recorded.
class FakeGrid : public GridCore {
public:
    ~FakeGrid() override { Detach(); }

    int TextWidth(const QString& text) const override { return 7 * static_cast<int>(text.size()); }
    int TextHeight() const override { return 13; }
    void ShowStatus(const QString& text) override { status = text; }
    void SwitchPage(int step) override { pageSteps += step; }
    bool HasFocus() const override { return focus; }
    int ClientWidth() const override { return clientWidth; }
    int ClientHeight() const override { return clientHeight; }
    QString ClipboardText() const override { return clipboard; }
    void SetClipboardText(const QString& text) override { clipboard = text; }
    QWidget* DialogParent() override { return nullptr; }
    void OpenListMenu(QMenu* menu, int x, int y) override {
        listMenu = menu;
        menuAt = QPoint(x, y);
    }

    bool focus = true;
    int clientWidth = 700;
    int clientHeight = 400;
    QString clipboard;
    QString status;
    int pageSteps = 0;
    QMenu* listMenu = nullptr;
    QPoint menuAt;
    int blockMenus = 0;
    int focusRequests = 0;

protected:
    void InvalidateRect(const QRect&) override {}
    void InvalidateAll() override {}
    void RowsChanged() override {}
    void ColumnsResized() override {}
    void OpenBlockMenu(int x, int y) override {
        ++blockMenus;
        menuAt = QPoint(x, y);
    }
    void TakeFocus() override { ++focusRequests; }
};

// Answers the number dialog and the OK/Cancel question from queues; an empty
// queue cancels. Records every caption and question.
class FakeGridDialogs : public GridDialogs {
public:
    bool AskNumber(QWidget*, const QString& caption, double& number) override {
        captions << caption;
        if (numbers.empty())
            return false;
        const std::optional<double> answer = numbers.front();
        numbers.pop_front();
        if (!answer)
            return false;
        number = *answer;
        return true;
    }
    bool AskOkCancel(QWidget*, const QString& text, const QString& caption) override {
        questions << caption + QStringLiteral(" | ") + text;
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    bool AskYesNo(QWidget*, const QString& text, const QString& caption) override {
        questions << caption + QStringLiteral(" | ") + text;
        if (yesNo.empty())
            return false;
        const bool answer = yesNo.front();
        yesNo.pop_front();
        return answer;
    }
    bool AskSeries(QWidget*, const QString& caption, double& start, double& step) override {
        captions << caption;
        if (series.empty())
            return false;
        start = series.front().first;
        step = series.front().second;
        series.pop_front();
        return true;
    }

    std::deque<std::optional<double>> numbers; // nullopt: Abbruch
    std::deque<bool> answers;                  // true: OK
    std::deque<bool> yesNo;                    // true: Ja
    std::deque<std::pair<double, double>> series;
    QStringList captions;
    QStringList questions;
};

// Counts the beeps of its lifetime instead of sounding them.
class BeepCounter {
public:
    BeepCounter() : previous_(SetGridBeepHook([this] { ++count; })) {}
    ~BeepCounter() { SetGridBeepHook(std::move(previous_)); }
    BeepCounter(const BeepCounter&) = delete;
    BeepCounter& operator=(const BeepCounter&) = delete;
    int count = 0;

private:
    std::function<void()> previous_;
};

// Types text into a widget key by key; characters beyond ASCII (umlauts),
// which QTest cannot map to keys, arrive as key events carrying their text.
inline void TypeText(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        if (ch.unicode() < 128) {
            QTest::keyClicks(widget, QString(ch));
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &release);
    }
}
