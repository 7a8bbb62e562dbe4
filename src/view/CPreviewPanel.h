// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "CPanel.h"

// The next three colours, the one to fall first on the left.
class CPreviewPanel : public CPanel {
public:
    static constexpr std::int32_t kSlotY = 2;

    ~CPreviewPanel() override = default;

    // Frame and grey interior; the balls are drawn by the caller.
    void Draw(CDC& dc) const { DrawFrame(dc); }
    // Scrolls the picture one slot left and shows colour in the last slot,
    // on the window at once.
    void Push(std::uint8_t colour);

    // Corner of slot i (0..2), in preview coordinates.
    static std::int32_t SlotX(int i) { return 8 + kBallSize * i; }
};
