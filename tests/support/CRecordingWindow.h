// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "CClientWindow.h"

// A client area that remembers every rectangle it was asked to show.
class CRecordingWindow : public CClientWindow {
public:
    std::vector<RECT> drawn;

protected:
    void OnDrawn(const RECT& rc) override { drawn.push_back(rc); }
};
