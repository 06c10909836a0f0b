#pragma once

#include <functional>

// The system beep of the grids and their number field: a rejected key, a
// value that cannot be stored. Every beep goes through here, so tests count
// them by installing their own hook.
void GridBeep();

// Replaces the beep (an empty function restores QApplication::beep) and
// returns the previous hook.
std::function<void()> SetGridBeepHook(std::function<void()> hook);
