// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "ViewFixture.h"

namespace {

const CRect kPreview{104, 8, 204, 41};

// The preview as Paint would show colours a, b, c (0 leaves a slot grey).
void DrawPreview(CViewRig& rig, std::uint8_t a, std::uint8_t b, std::uint8_t c)
{
    CDC dc = rig.wnd.GetDC();
    const CPreviewPanel& panel = rig.view.PreviewPanel();
    panel.Draw(dc);
    const std::uint8_t colours[3] = {a, b, c};
    for (int i = 0; i < 3; ++i)
        if (colours[i] != 0)
            panel.DrawBall(dc, CPreviewPanel::SlotX(i), CPreviewPanel::kSlotY, colours[i]);
    rig.wnd.ReleaseDC(dc);
    rig.wnd.drawn.clear();
}

TEST(PreviewPanel, PushMovesThePictureOneSlotLeftAndShowsTheNewColourLast)
{
    const std::uint8_t sequences[][4] = {{1, 2, 3, 4}, {7, 7, 5, 7}, {4, 6, 6, 1}};
    for (const auto& q : sequences) {
        CViewRig pushed, expected;
        DrawPreview(pushed, q[0], q[1], q[2]);
        pushed.view.Push(q[3]);
        DrawPreview(expected, q[1], q[2], q[3]);
        EXPECT_EQ(FirstDifference(pushed.Surface(), expected.Surface()), "")
            << int(q[0]) << int(q[1]) << int(q[2]) << " then " << int(q[3]);
        ASSERT_EQ(pushed.wnd.drawn.size(), 1u);
        EXPECT_EQ(pushed.wnd.drawn[0], (CRect{112, 10, 196, 38}));
    }
}

TEST(PreviewPanel, EmptyQueueEntriesStayPlainGreyInPaint)
{
    CViewRig rig;
    const CGame game;  // constructed: preview 0 0 0
    rig.Paint(game);
    for (int y = kPreview.top + 2; y < kPreview.bottom - 2; ++y)
        for (int x = kPreview.left + 2; x < kPreview.right - 2; ++x)
            ASSERT_EQ(rig.Surface().Pixel(x, y), kPanelFill) << x << ',' << y;
}

}  // namespace
