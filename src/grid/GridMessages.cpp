#include "grid/GridMessages.h"

#include <QCoreApplication>

bool SendWindowMessage(QObject* receiver, int message, std::intptr_t wParam, std::intptr_t lParam) {
    WindowMessage event(message, wParam, lParam);
    return QCoreApplication::sendEvent(receiver, &event);
}

void PostWindowMessage(QObject* receiver, int message, std::intptr_t wParam, std::intptr_t lParam) {
    QCoreApplication::postEvent(receiver, new WindowMessage(message, wParam, lParam));
}
