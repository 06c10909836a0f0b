#pragma once

#include <QEvent>
#include <cstdint>

class QObject;

// The window messages of the program: one Qt event class for all of them,
// whose type is the message's fixed number. A number means what its receiver
// makes of it: 3027 is UGM_GOTOCELL for a grid and UM_REFRESH
// (ui/WindowMessages.h) for a child window of the main window; the main
// window sends UM_REFRESH only to its child windows, the input windows send
// UGM_GOTOCELL only to grids.
class WindowMessage : public QEvent {
public:
    WindowMessage(int message, std::intptr_t wParam = 0, std::intptr_t lParam = 0)
        : QEvent(static_cast<QEvent::Type>(message)), wParam_(wParam), lParam_(lParam) {}

    int Message() const { return static_cast<int>(type()); }
    std::intptr_t WParam() const { return wParam_; }
    std::intptr_t LParam() const { return lParam_; }

private:
    std::intptr_t wParam_;
    std::intptr_t lParam_;
};

// Delivers the message at once; true when the receiver handled it.
bool SendWindowMessage(QObject* receiver, int message, std::intptr_t wParam = 0,
                       std::intptr_t lParam = 0);

// Queues the message; it is handled after the current command has finished.
void PostWindowMessage(QObject* receiver, int message, std::intptr_t wParam = 0,
                       std::intptr_t lParam = 0);

// The messages a grid understands.
inline constexpr int UGM_ADJUST = 3024;   // adjust the column widths (the grid posts it itself)
inline constexpr int UGM_CLEARROW = 3025; // clear the current row
inline constexpr int UGM_GOTOCELL = 3027; // wParam table row, lParam grid column
