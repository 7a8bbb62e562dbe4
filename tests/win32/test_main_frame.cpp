// SPDX-License-Identifier: MIT
#include "CMainFrame.h"

#include <gtest/gtest.h>

#include "CClientWindow.h"

namespace {

// Nobody plays: the window is only moved about.
class CNoInput final : public CAppInput {
public:
    void OnPaint(CDC&) override {}
    void OnClick(int, int) override {}
    void OnRightClick(int, int) override {}
    void OnKey(CKey) override {}
    void OnBlinkTimer() override {}
    bool OnCommand(unsigned) override { return false; }
};

// A move to a monitor of another density: the window goes where the system
// suggests, and the board takes the whole factor of the new density, the
// client area exactly that many times the board's size.
TEST(MainFrame, DensityChangeKeepsAWholeFactorAndTheSuggestedPlace)
{
    HINSTANCE hInstance = GetModuleHandleW(nullptr);
    ASSERT_TRUE(CMainFrame::RegisterWindowClass(hInstance));
    CNoInput input;
    CMainFrame frame(input);
    ASSERT_TRUE(frame.Create(hInstance, "Orvo", 1));
    const struct {
        int dpi, scale;
    } cases[] = {{192, 2}, {96, 1}, {144, 2}, {120, 1}, {168, 2}, {72, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        // The system scales the frame by the exact factor: a size that
        // cannot hold the whole-factor board.
        const int exact = CClientWindow::kWidth * c.dpi / 96;
        RECT suggested{40, 30, 40 + exact, 30 + exact};
        SendMessageW(frame.GetSafeHwnd(), WM_DPICHANGED, MAKEWPARAM(c.dpi, c.dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(frame.ClientWindow().Scale(), c.scale);
        RECT client{}, window{};
        GetClientRect(frame.GetSafeHwnd(), &client);
        GetWindowRect(frame.GetSafeHwnd(), &window);
        EXPECT_EQ(client.right, CClientWindow::kWidth * c.scale);
        EXPECT_EQ(client.bottom, CClientWindow::kHeight * c.scale);
        EXPECT_EQ(window.left, 40);
        EXPECT_EQ(window.top, 30);
    }
}

TEST(MainFrame, ScaleRoundsTheDensityToAWholeFactor)
{
    const struct {
        int dpi, scale;
    } cases[] = {{0, 1}, {96, 1}, {143, 1}, {144, 2}, {239, 2}, {240, 3}};
    for (const auto& c : cases)
        EXPECT_EQ(CMainFrame::ScaleForDpi(c.dpi), c.scale) << c.dpi;
}

}  // namespace
