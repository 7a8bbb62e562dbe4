// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <vector>

#include "CClientWindow.h"
#include "CDC.h"
#include "CRecordingWindow.h"

namespace {

TEST(ClientWindow, StartsAsTheWholeClientAreaInTheBackgroundColour)
{
    const CClientWindow wnd;
    const CSurface& s = wnd.Surface();
    ASSERT_EQ(s.Width(), 308);
    ASSERT_EQ(s.Height(), 348);
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            ASSERT_EQ(s.Pixel(x, y), COLOR_BTNFACE_RGB) << x << ',' << y;
}

TEST(ClientWindow, ReleaseReportsTheBoundsOfEverythingTheContextDrew)
{
    CRecordingWindow wnd;
    CDC dc = wnd.GetDC();
    dc.SetViewportOrg(8, 48);
    dc.FillRect(RECT{4, 4, 32, 32}, 0x707070);
    dc.SelectPen(0xFFFFFF);
    dc.MoveTo(40, 2);
    dc.LineTo(40, 10);
    wnd.ReleaseDC(dc);
    ASSERT_EQ(wnd.drawn.size(), 1u);
    EXPECT_EQ(wnd.drawn[0], (RECT{12, 50, 49, 80}));
}

TEST(ClientWindow, ReleaseReportsOnlyWhatReachedTheSurface)
{
    CRecordingWindow wnd;
    CDC dc = wnd.GetDC();
    dc.FillRect(RECT{-20, -20, 3, 2}, 0x808080);
    dc.FillRect(RECT{400, 0, 500, 10}, 0x808080);
    wnd.ReleaseDC(dc);
    ASSERT_EQ(wnd.drawn.size(), 1u);
    EXPECT_EQ(wnd.drawn[0], (RECT{0, 0, 3, 2}));

    CDC offscreen = wnd.GetDC();
    offscreen.FillRect(RECT{-20, -20, 0, 0}, 0x808080);
    wnd.ReleaseDC(offscreen);
    EXPECT_EQ(wnd.drawn.size(), 1u);
}

}  // namespace
