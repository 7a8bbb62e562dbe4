// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

// Moves hWnd, keeping its size and place in the z-order, so that its
// middle is the middle of area (screen coordinates).
inline void CenterWindowIn(HWND hWnd, const RECT& area)
{
    RECT window{};
    GetWindowRect(hWnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    SetWindowPos(hWnd, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
