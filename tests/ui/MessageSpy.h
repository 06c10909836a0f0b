#pragma once

#include "ui/WindowMessages.h"

#include <QList>
#include <QPair>
#include <QWidget>

// A child window that records the window messages it receives.
class MessageSpy : public QWidget {
public:
    explicit MessageSpy(const QString& title = QString()) { setWindowTitle(title); }

    QList<QPair<int, std::intptr_t>> received;

    int Count(int message) const {
        int n = 0;
        for (const auto& entry : received)
            n += entry.first == message;
        return n;
    }

protected:
    bool event(QEvent* event) override {
        if (event->type() >= UM_REFRESH && event->type() <= UM_PRINTINCLUDE) {
            const auto* message = static_cast<WindowMessage*>(event);
            received.append({message->Message(), message->WParam()});
            return true;
        }
        return QWidget::event(event);
    }
};
