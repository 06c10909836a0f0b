#pragma once

#include <QEvent>
#include <cstdint>

class QObject;

// The messages a grid understands. Their numbers are fixed; each one is a Qt
// event whose type is that number. UGM_GOTOCELL shares its number with the
// child windows' UM_REFRESH: grids take it only as a GridMessage.
inline constexpr int UGM_ADJUST = 3024;   // adjust the column widths (the grid posts it itself)
inline constexpr int UGM_CLEARROW = 3025; // clear the current row
inline constexpr int UGM_GOTOCELL = 3027; // wParam table row, lParam grid column

// A grid message with its two parameters.
class GridMessage : public QEvent {
public:
    GridMessage(int message, std::intptr_t wParam = 0, std::intptr_t lParam = 0)
        : QEvent(static_cast<QEvent::Type>(message)), wParam_(wParam), lParam_(lParam) {}

    int Message() const { return static_cast<int>(type()); }
    std::intptr_t WParam() const { return wParam_; }
    std::intptr_t LParam() const { return lParam_; }

private:
    std::intptr_t wParam_;
    std::intptr_t lParam_;
};

// Delivers the message at once; true when the receiver handled it. The input
// windows send UGM_CLEARROW and UGM_GOTOCELL to every control of a page.
bool SendGridMessage(QObject* receiver, int message, std::intptr_t wParam = 0,
                     std::intptr_t lParam = 0);

// Queues the message.
void PostGridMessage(QObject* receiver, int message, std::intptr_t wParam = 0,
                     std::intptr_t lParam = 0);
