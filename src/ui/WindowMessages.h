#pragma once

#include <QEvent>
#include <QObject>
#include <cstdint>

// Messages between the main window and its child windows. Their numbers are
// fixed; each one is a Qt event whose type is that number.
inline constexpr int UM_REFRESH = 3027;
inline constexpr int UM_PRINTCOUNT = 3029;
inline constexpr int UM_PRINTCELL = 3030;
inline constexpr int UM_PRINTEXCLUDE = 3031;
inline constexpr int UM_PRINTINCLUDE = 3032;

// UM_REFRESH parameter: rebuild and refit the view, or rebuild keeping it.
inline constexpr std::intptr_t kRefreshRefit = 0;
inline constexpr std::intptr_t kRefreshKeepView = 1;

// A window message with its two parameters.
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

// Queues the message; it is handled after the current command has finished.
void PostWindowMessage(QObject* receiver, int message, std::intptr_t wParam = 0,
                       std::intptr_t lParam = 0);

// Delivers the message at once; true when the receiver handled it.
bool SendWindowMessage(QObject* receiver, int message, std::intptr_t wParam = 0,
                       std::intptr_t lParam = 0);
