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

// A system with colours of its own: the background is cleared to its face
// colour, and its contexts draw edges in its shades.
TEST(ClientWindow, DrawsInTheSystemColoursItIsGiven)
{
    const CSystemColours system{0xF5F5F5, 0xFEFEFE, 0xE0E0E0, 0xA6A6A6, 0x6A6A6A};
    CClientWindow wnd;
    wnd.SetSystemColours(system);
    const CSurface& s = wnd.Surface();
    EXPECT_EQ(s.Pixel(0, 0), system.btnFace);
    EXPECT_EQ(s.Pixel(307, 347), system.btnFace);

    CDC dc = wnd.GetDC();
    dc.DrawEdge(CRect{10, 10, 20, 20}, EDGE_SUNKEN, BF_RECT);
    dc.DrawEdge(CRect{30, 10, 40, 20}, EDGE_RAISED, BF_RECT);
    wnd.ReleaseDC(dc);
    const struct {
        int x, y;
        std::uint32_t colour;
    } shades[] = {
        {10, 10, system.shadow3D},   {19, 19, system.hilight3D},
        {11, 11, system.dkShadow3D}, {18, 18, system.light3D},
        {30, 10, system.light3D},    {39, 19, system.dkShadow3D},
        {31, 11, system.hilight3D},  {38, 18, system.shadow3D},
    };
    for (const auto& shade : shades)
        EXPECT_EQ(s.Pixel(shade.x, shade.y), shade.colour) << shade.x << ',' << shade.y;
}

TEST(ClientWindow, ReleaseReportsTheBoundsOfEverythingTheContextDrew)
{
    CRecordingWindow wnd;
    CDC dc = wnd.GetDC();
    dc.SetViewportOrg(8, 48);
    dc.FillRect(CRect{4, 4, 32, 32}, 0x707070);
    dc.SelectPen(0xFFFFFF);
    dc.MoveTo(40, 2);
    dc.LineTo(40, 10);
    wnd.ReleaseDC(dc);
    ASSERT_EQ(wnd.drawn.size(), 1u);
    EXPECT_EQ(wnd.drawn[0], (CRect{12, 50, 49, 80}));
}

TEST(ClientWindow, ReleaseReportsOnlyWhatReachedTheSurface)
{
    CRecordingWindow wnd;
    CDC dc = wnd.GetDC();
    dc.FillRect(CRect{-20, -20, 3, 2}, 0x808080);
    dc.FillRect(CRect{400, 0, 500, 10}, 0x808080);
    wnd.ReleaseDC(dc);
    ASSERT_EQ(wnd.drawn.size(), 1u);
    EXPECT_EQ(wnd.drawn[0], (CRect{0, 0, 3, 2}));

    CDC offscreen = wnd.GetDC();
    offscreen.FillRect(CRect{-20, -20, 0, 0}, 0x808080);
    wnd.ReleaseDC(offscreen);
    EXPECT_EQ(wnd.drawn.size(), 1u);
}

}  // namespace
