// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "CClientWindow.h"

// A client area that remembers every rectangle it was asked to show.
class CRecordingWindow : public CClientWindow {
public:
    std::vector<CRect> drawn;

protected:
    void OnDrawn(const CRect& rc) override { drawn.push_back(rc); }
};
