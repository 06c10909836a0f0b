#pragma once

#include <optional>
#include <string>
#include <string_view>

// What the desktop program keeps of its windows from one run to the next: the
// main window's place and size and the folder the file dialogs open in. It
// lies beside the settings file, in a file of its own with the same kind of
// "key = value" lines, so that the settings file stays as it is. Values that
// make no sense (a size of 0, a place far off any screen, a relative folder)
// are ignored, so a damaged file only costs the remembered layout.

// The main window's frame-less rectangle on the desktop, in pixels.
struct WindowRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

struct WindowState {
    std::optional<WindowRect> mainWindow;
    bool maximised = false;
    // Absolute folder of the file last chosen in a file dialog; empty for none.
    std::string fileFolder;
    friend bool operator==(const WindowState&, const WindowState&) = default;
};

// Limits of a remembered rectangle: a size from kMinWindowExtent to
// kMaxWindowCoordinate, a place within ±kMaxWindowCoordinate.
inline constexpr int kMinWindowExtent = 100;
inline constexpr int kMaxWindowCoordinate = 100000;

// "balkor-fenster.dat" beside "balkor.dat"; empty for an empty settings path.
std::string WindowStatePath(const std::string& settingsPath);

// Applies one "key = value" line; unknown keys and bad values change nothing.
void ApplyWindowStateLine(WindowState& state, std::string_view line);

// The state in the file at path; the empty state when there is no readable
// regular file.
WindowState ReadWindowState(const std::string& path);

// The file's text: one line per remembered value, LF line ends.
std::string WindowStateText(const WindowState& state);

// Writes the state with WriteFileSafely (model/SafeFile.h), creating a missing
// folder; false when the file could not be written.
bool WriteWindowState(const WindowState& state, const std::string& path);
