#include "grid/GridBeep.h"

#include <QApplication>

namespace {
std::function<void()>& BeepHook() {
    static std::function<void()> hook;
    return hook;
}
} // namespace

void GridBeep() {
    if (BeepHook())
        BeepHook()();
    else
        QApplication::beep();
}

std::function<void()> SetGridBeepHook(std::function<void()> hook) {
    std::function<void()> previous = std::move(BeepHook());
    BeepHook() = std::move(hook);
    return previous;
}
