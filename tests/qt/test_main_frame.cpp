// SPDX-License-Identifier: MIT
// The main window as the player meets it: its shape, what it shows, and
// what mouse releases, blink ticks and keys do to the game.

#include <gtest/gtest.h>

#include <QImage>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>
#include <array>

#include "AppTestSupport.h"
#include "CBoardGeometry.h"
#include "CBoardPanel.h"
#include "CClientWindow.h"
#include "CGameView.h"
#include "CTickClock.h"

namespace {

QPoint CellCentre(int row, int col)
{
    return QPoint(CBoardGeometry::CentreX(col), CBoardGeometry::CentreY(row));
}

void Release(QWidget* pWidget, Qt::MouseButton button, QPoint pos)
{
    QMouseEvent event(QEvent::MouseButtonRelease, pos, pWidget->mapToGlobal(pos), button,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(pWidget, &event);
}

void Press(QWidget* pWidget, Qt::MouseButton button, QPoint pos)
{
    QMouseEvent event(QEvent::MouseButtonPress, pos, pWidget->mapToGlobal(pos), button, button,
                      Qt::NoModifier);
    QApplication::sendEvent(pWidget, &event);
}

// The whole client area as a fresh paint of the game draws it.
CSurface PaintedFrom(const CGame& game)
{
    CClientWindow window;
    CGameView view(CGameView::LoadBallStrip());
    view.Attach(&window);
    view.PaintNow(game);
    return window.Surface();
}

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_started.Started());
        m_pClient = m_started.Frame().ClientWidget();
    }

    // One blue ball at (5, 5) and one green at (1, 1) on an empty board,
    // shown as a repaint would.
    void PlaceTwoBalls()
    {
        std::array<std::uint8_t, 81> cells{};
        cells[4 * 9 + 4] = 1;
        cells[0] = 2;
        Game().SetPosition(cells.data());
        m_pClient->repaint();
    }

    std::uint32_t ShownAt(int row, int col)
    {
        const QPoint p = CellCentre(row, col);
        return m_started.Frame().ClientWindow().Surface().Pixel(p.x(), p.y()) & CSurface::kRgbMask;
    }
    bool ShowsEmpty(int row, int col) { return ShownAt(row, col) == CBoardPanel::SquareColour(row, col); }

    CGame& Game() { return m_started.Game(); }
    CQtMainFrame& Frame() { return m_started.Frame(); }
    bool BlinkTimerRunning()
    {
        const auto* pTimer = Frame().findChild<QTimer*>(QStringLiteral("BLINK_TIMER_ID"));
        return pTimer && pTimer->isActive();
    }

    CStartedApp m_started;
    QWidget* m_pClient = nullptr;
};

TEST_F(MainFrameTest, ClientAreaIs308By348BelowOneMenuLineAndCannotBeResized)
{
    EXPECT_EQ(m_pClient->size(), QSize(308, 348));
    const QRect bar = Frame().menuBar()->geometry();
    EXPECT_EQ(m_pClient->geometry().topLeft(), QPoint(0, bar.bottom() + 1));
    EXPECT_LT(bar.height(), 2 * Frame().menuBar()->fontMetrics().height()) << "menu wraps";
    EXPECT_EQ(Frame().size(), QSize(308, bar.height() + 348));
    EXPECT_EQ(Frame().minimumSize(), Frame().maximumSize());
    EXPECT_EQ(Frame().windowTitle(), "Orvo");

    const Qt::WindowFlags flags = Frame().windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
}

TEST_F(MainFrameTest, WearsTheApplicationsIconDecodedOnce)
{
    const QIcon icon = Frame().windowIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (int n : {16, 32, 128})
        EXPECT_TRUE(sizes.contains(QSize(n, n))) << n << " pixels";
    // The very icon the application carries, which the tray icon takes as
    // well, not a second decoding of the same pictures.
    EXPECT_EQ(icon.cacheKey(), QApplication::windowIcon().cacheKey());
}

TEST_F(MainFrameTest, StartsCentredAndVisibleWithTheFirstThreeBallsDrawn)
{
    // The window with its border, not the bare window, sits in the middle,
    // from the moment after its first picture.
    QCoreApplication::processEvents();
    const QRect area = Frame().screen()->availableGeometry();
    ASSERT_NE(Frame().frameGeometry(), Frame().geometry()) << "the platform draws no border";
    const QPoint offset = Frame().frameGeometry().center() - area.center();
    EXPECT_LE(std::abs(offset.x()), 1);
    EXPECT_LE(std::abs(offset.y()), 1);

    EXPECT_TRUE(Frame().isVisible());
    EXPECT_EQ(Game().Count(), 3);
    EXPECT_FALSE(BlinkTimerRunning());
    m_pClient->repaint();
    EXPECT_EQ(Frame().ClientWindow().Surface(), PaintedFrom(Game()));
}

TEST_F(MainFrameTest, WindowShowsTheSurfacePixelForPixel)
{
    const QImage shown = m_pClient->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const CSurface& surface = Frame().ClientWindow().Surface();
    ASSERT_EQ(shown.size(), QSize(surface.Width(), surface.Height()));
    int nDiffering = 0;
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            nDiffering += (shown.pixel(x, y) & 0xFFFFFF) != (surface.Pixel(x, y) & 0xFFFFFF);
    EXPECT_EQ(nDiffering, 0);
}

TEST_F(MainFrameTest, LeftReleaseOnABallSelectsItAndTheBlinkTimerShowsAndHidesIt)
{
    PlaceTwoBalls();
    ASSERT_FALSE(ShowsEmpty(5, 5));

    Press(m_pClient, Qt::LeftButton, CellCentre(5, 5));
    EXPECT_FALSE(Game().IsSelected()) << "a press alone must do nothing";

    Release(m_pClient, Qt::LeftButton, CellCentre(5, 5));
    ASSERT_TRUE(Game().IsSelected());
    EXPECT_EQ(Game().SelRow(), 5);
    EXPECT_EQ(Game().SelCol(), 5);
    EXPECT_TRUE(BlinkTimerRunning());
    EXPECT_TRUE(ShowsEmpty(5, 5)) << "the blink starts hidden";

    EXPECT_TRUE(QTest::qWaitFor([&] { return Game().IsShown(); }, 2000));
    EXPECT_FALSE(ShowsEmpty(5, 5));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Game().IsShown(); }, 2000));
    EXPECT_TRUE(ShowsEmpty(5, 5));
}

TEST_F(MainFrameTest, AnUncoveredBoardShowsTheGameAsItPaintsNow)
{
    PlaceTwoBalls();
    Release(m_pClient, Qt::LeftButton, CellCentre(5, 5));
    Frame().StopBlinkTimer();
    ASSERT_TRUE(Game().IsSelected());
    ASSERT_FALSE(Game().IsShown());

    // What the screen holds at the selected cell, not what the surface holds.
    const QPoint cell = m_pClient->mapTo(&Frame(), CellCentre(5, 5));
    const auto onScreen = [&] {
        const QImage image = Frame().screen()->grabWindow(Frame().winId()).toImage();
        return image.pixel(cell) & CSurface::kRgbMask;
    };
    ASSERT_EQ(onScreen(), CBoardPanel::SquareColour(5, 5)) << "the hidden phase is not on the screen";

    // A dialog over the board closes: the platform reports the area uncovered.
    QExposeEvent uncovered(QRegion(m_pClient->geometry()));
    QApplication::sendEvent(Frame().windowHandle(), &uncovered);
    const QPoint centre = CellCentre(5, 5);
    EXPECT_EQ(onScreen(), PaintedFrom(Game()).Pixel(centre.x(), centre.y()) & CSurface::kRgbMask);
    EXPECT_NE(onScreen(), CBoardPanel::SquareColour(5, 5));
}

TEST_F(MainFrameTest, RightReleaseAnywhereInTheClientAreaEndsTheSelection)
{
    PlaceTwoBalls();
    Release(m_pClient, Qt::LeftButton, CellCentre(5, 5));
    ASSERT_TRUE(Game().IsSelected());

    // Off the board, on the score counter.
    Release(m_pClient, Qt::RightButton, QPoint(250, 20));
    EXPECT_FALSE(Game().IsSelected());
    EXPECT_FALSE(BlinkTimerRunning());
    EXPECT_FALSE(ShowsEmpty(5, 5));
}

TEST_F(MainFrameTest, ReleasesThatAreNotLeftOrRightOnTheBoardChangeNothing)
{
    PlaceTwoBalls();
    struct Case {
        Qt::MouseButton button;
        QPoint pos;
    };
    const Case cases[] = {
        {Qt::LeftButton, QPoint(9, 60)},     // left of the board
        {Qt::LeftButton, QPoint(100, 49)},   // above it
        {Qt::LeftButton, QPoint(298, 60)},   // right of it
        {Qt::LeftButton, QPoint(100, 338)},  // below it
        {Qt::LeftButton, QPoint(400, 60)},   // outside the window: released after a drag
        {Qt::MiddleButton, CellCentre(5, 5)},
    };
    for (const Case& c : cases) {
        Release(m_pClient, c.button, c.pos);
        EXPECT_FALSE(Game().IsSelected()) << c.pos.x() << "," << c.pos.y();
    }
}

TEST_F(MainFrameTest, AMoveRunsToItsEndBeforeAnyQueuedEventIsHandled)
{
    PlaceTwoBalls();
    Release(m_pClient, Qt::LeftButton, CellCentre(5, 5));

    // Queued before the move starts: handled only once the move (walk,
    // landing, three falling balls) is over.
    int nCountSeen = -1;
    QTimer::singleShot(0, [&] { nCountSeen = Game().Count(); });
    Release(m_pClient, Qt::LeftButton, CellCentre(5, 8));

    EXPECT_EQ(Game().Cell(5, 8), 1);
    EXPECT_EQ(Game().Count(), 5);
    EXPECT_FALSE(Game().IsSelected());
    EXPECT_FALSE(BlinkTimerRunning());
    EXPECT_EQ(nCountSeen, -1) << "events were handled during the move";
    QTest::qWait(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(nCountSeen, 5);
    EXPECT_EQ(Frame().ClientWindow().Surface(), PaintedFrom(Game()));
}

TEST_F(MainFrameTest, F2StartsANewGameAtOnceAndEndsTheSelection)
{
    PlaceTwoBalls();
    Release(m_pClient, Qt::LeftButton, CellCentre(1, 1));
    ASSERT_TRUE(Game().IsSelected());
    ASSERT_TRUE(m_started.Activate());

    QTest::keyClick(&Frame(), Qt::Key_F2);
    EXPECT_FALSE(Game().IsSelected());
    EXPECT_FALSE(BlinkTimerRunning());
    EXPECT_EQ(Game().Count(), 3);
    EXPECT_EQ(Frame().ClientWindow().Surface(), PaintedFrom(Game()));
}

TEST_F(MainFrameTest, EscWithoutANotificationAreaMinimisesAndAWakeRestores)
{
    // The offscreen platform has no notification area.
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    ASSERT_TRUE(m_started.Activate());

    QTest::keyClick(&Frame(), Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Frame().isMinimized(); }, 2000));
    EXPECT_FALSE(Frame().HasTrayIcon());

    Frame().Wake();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Frame().isMinimized(); }, 2000));
    EXPECT_TRUE(Frame().isVisible());
}

TEST_F(MainFrameTest, AMaximiseByTheWindowSystemIsTakenBackAtOnce)
{
    const QRect geometry = Frame().geometry();
    // A window manager's key or title-bar button: the platform reports the
    // window maximised.
    Frame().windowHandle()->setWindowStates(Qt::WindowMaximized);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Frame().windowHandle()->windowStates() == Qt::WindowNoState; }, 2000));
    EXPECT_FALSE(Frame().isMaximized());
    EXPECT_EQ(Frame().geometry(), geometry);
    EXPECT_TRUE(Frame().isVisible());
}

TEST_F(MainFrameTest, TheBoardsKeysPlayAndOtherKeysDoNothing)
{
    PlaceTwoBalls();
    ASSERT_TRUE(m_started.Activate());

    for (int key : {Qt::Key_A, Qt::Key_F5})
        QTest::keyClick(&Frame(), static_cast<Qt::Key>(key));
    EXPECT_FALSE(m_started.App().Controller().Session().IsFocusShown());
    // The first arrow shows the focus on the centre, where Space picks the
    // ball up; Up and Enter send it a row higher.
    for (int key : {Qt::Key_Right, Qt::Key_Space})
        QTest::keyClick(&Frame(), static_cast<Qt::Key>(key));
    ASSERT_TRUE(Game().IsSelected());
    EXPECT_EQ(Game().SelRow() * 10 + Game().SelCol(), 55);
    for (int key : {Qt::Key_Up, Qt::Key_Return})
        QTest::keyClick(&Frame(), static_cast<Qt::Key>(key));
    EXPECT_FALSE(Game().IsSelected());
    EXPECT_EQ(Game().Cell(4, 5), 1);
    // Delete puts a picked-up ball down, as the right button does.
    Release(m_pClient, Qt::LeftButton, CellCentre(1, 1));
    ASSERT_TRUE(Game().IsSelected());
    EXPECT_FALSE(m_started.App().Controller().Session().IsFocusShown());
    QTest::keyClick(&Frame(), Qt::Key_Delete);
    EXPECT_FALSE(Game().IsSelected());
    EXPECT_TRUE(Frame().isVisible());
    EXPECT_FALSE(Frame().isMinimized());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// Time that passes only when a pause sleeps, so the test sees every sleep.
class CSleepCountingClock : public CTickClock {
public:
    std::uint32_t GetTickCount() const override { return m_nNow; }
    std::uint32_t Slept() const { return m_nSlept; }

protected:
    void Sleep(std::uint32_t ms) const override
    {
        m_nNow += ms;
        m_nSlept += ms;
    }

private:
    mutable std::uint32_t m_nNow = 1000;
    mutable std::uint32_t m_nSlept = 0;
};

TEST(StartTest, FirstBallsFallWithoutPausingUntilTheWindowIsShown)
{
    CSleepCountingClock clock;
    QTemporaryDir dir;
    CQtGameApp app;
    app.SetInstanceName(UniqueInstanceName());
    app.SetProfilePath(dir.filePath("orvo.ini"));
    app.Controller().SetClock(clock);
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(app.Game().Count(), 3);
    EXPECT_EQ(clock.Slept(), 0u);

    // Once the window is up, every landing is paced again.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app.MainFrame()));
    app.Controller().OnGameNew();
    EXPECT_EQ(app.Game().Count(), 3);
    EXPECT_GE(clock.Slept(), 3 * 50u);
}

}  // namespace
