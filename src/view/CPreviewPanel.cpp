// SPDX-License-Identifier: MIT
#include "CPreviewPanel.h"

void CPreviewPanel::Push(std::uint8_t colour)
{
    DrawNow([&](CDC& dc) {
        // Slots 2 and 3 move to 1 and 2 as they are on screen; the new disc
        // covers whatever slot 3 showed, so it is not cleared first.
        dc.BitBlt(SlotX(0), kSlotY, 2 * kBallSize, kBallSize, dc, SlotX(1), kSlotY, SRCCOPY);
        DrawBall(dc, SlotX(2), kSlotY, colour);
    });
}
