// SPDX-License-Identifier: MIT
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "CSurface.h"

// The sprite strip IDB_BALLS from the program's bitmap resource.
class CBallStrip {
public:
    CBallStrip() = delete;
    // Empty when the bitmap is missing (the balls then do not show).
    static CSurface Load(HINSTANCE hInstance);
};
