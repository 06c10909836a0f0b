#pragma once

#include "grid/GridMessages.h"

#include <cstdint>

// Messages from the main window to its child windows, sent and posted as
// WindowMessage (grid/GridMessages.h). Their numbers are fixed.
inline constexpr int UM_REFRESH = 3027; // the same number as the grids' UGM_GOTOCELL
inline constexpr int UM_PRINTCOUNT = 3029;
inline constexpr int UM_PRINTCELL = 3030;
inline constexpr int UM_PRINTEXCLUDE = 3031;
inline constexpr int UM_PRINTINCLUDE = 3032;

// UM_REFRESH parameter: rebuild and refit the view, or rebuild keeping it.
inline constexpr std::intptr_t kRefreshRefit = 0;
inline constexpr std::intptr_t kRefreshKeepView = 1;
