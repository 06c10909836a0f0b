#include "grid/GridMessages.h"

#include <QCoreApplication>

bool SendGridMessage(QObject* receiver, int message, std::intptr_t wParam, std::intptr_t lParam) {
    GridMessage event(message, wParam, lParam);
    return QCoreApplication::sendEvent(receiver, &event);
}

void PostGridMessage(QObject* receiver, int message, std::intptr_t wParam, std::intptr_t lParam) {
    QCoreApplication::postEvent(receiver, new GridMessage(message, wParam, lParam));
}
