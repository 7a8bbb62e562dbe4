// SPDX-License-Identifier: MIT
// On a dense screen the client area is scaled by a whole factor: every
// surface pixel becomes a crisp block, and the mouse still hits the cell
// under it.

#include <gtest/gtest.h>

#include <QImage>
#include <QMouseEvent>
#include <array>

#include "AppTestSupport.h"

namespace {

// Before the QApplication exists: a screen of twice the usual density.
[[maybe_unused]] const bool g_bScaled = qputenv("QT_SCALE_FACTOR", "2");

void Release(QWidget* pWidget, QPointF pos)
{
    QMouseEvent event(QEvent::MouseButtonRelease, pos, pWidget->mapToGlobal(pos), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(pWidget, &event);
}

TEST(HighDpiTest, SurfaceIsScaledByAWholeFactorWithoutSmoothing)
{
    CStartedApp started;
    ASSERT_TRUE(started.Started());
    QWidget* pClient = started.Frame().ClientWidget();
    ASSERT_EQ(pClient->devicePixelRatioF(), 2.0);
    EXPECT_EQ(pClient->size(), QSize(308, 348));

    const QImage shown = pClient->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(616, 696));
    const CSurface& surface = started.Frame().ClientWindow().Surface();
    int nDiffering = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            nDiffering += (shown.pixel(x, y) & 0xFFFFFF) != (surface.Pixel(x / 2, y / 2) & 0xFFFFFF);
    EXPECT_EQ(nDiffering, 0);
}

TEST(HighDpiTest, ReleasesAreInSurfacePixels)
{
    CStartedApp started;
    ASSERT_TRUE(started.Started());
    std::array<std::uint8_t, 81> cells{};
    cells[0] = 3;  // row 1, column 1: x 10..41, y 50..81
    started.Game().SetPosition(cells.data());
    QWidget* pClient = started.Frame().ClientWidget();

    // Half a surface pixel short of the board is still off it.
    Release(pClient, QPointF(9.5, 60));
    EXPECT_FALSE(started.Game().IsSelected());
    Release(pClient, QPointF(10, 81.5));
    EXPECT_TRUE(started.Game().IsSelected());
}

}  // namespace
