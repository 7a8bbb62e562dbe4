// SPDX-License-Identifier: MIT
// The title bar the game draws itself where the window system leaves that to
// it: a button acts when the left button comes up over the button it went
// down on, as push buttons do, and not otherwise.

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "CTitleBar.h"

namespace {

using Button = CTitleBar::Button;

struct ClickCase {
    const char* name;
    Button pressed;  // None: the bar beside its title
    Button released;
    Qt::MouseButton mouseButton;
    int nMinimised;
    int nClosed;
};

constexpr ClickCase kClicks[] = {
    {"minimise", Button::Minimise, Button::Minimise, Qt::LeftButton, 1, 0},
    {"close", Button::Close, Button::Close, Qt::LeftButton, 0, 1},
    {"slid from minimise onto close", Button::Minimise, Button::Close, Qt::LeftButton, 0, 0},
    {"slid off close onto the bar", Button::Close, Button::None, Qt::LeftButton, 0, 0},
    {"pressed on the bar, released on close", Button::None, Button::Close, Qt::LeftButton, 0, 0},
    {"right button on close", Button::Close, Button::Close, Qt::RightButton, 0, 0},
};

TEST(TitleBarTest, AButtonActsOnlyWhenReleasedOverTheButtonPressed)
{
    QWidget window;
    CTitleBar bar(window);
    bar.setGeometry(0, 0, 308, bar.sizeHint().height());
    window.resize(bar.size());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const auto at = [&](Button button) {
        return button == Button::None ? QPoint(bar.width() / 4, bar.height() / 2)
                                      : bar.ButtonRect(button).center();
    };
    ASSERT_TRUE(bar.rect().contains(bar.ButtonRect(Button::Minimise)));
    ASSERT_TRUE(bar.rect().contains(bar.ButtonRect(Button::Close)));
    ASSERT_FALSE(bar.ButtonRect(Button::Minimise).intersects(bar.ButtonRect(Button::Close)));

    for (const ClickCase& c : kClicks) {
        int nMinimised = 0;
        int nClosed = 0;
        const auto minimised =
            QObject::connect(&bar, &CTitleBar::MinimiseClicked, [&] { ++nMinimised; });
        const auto closed = QObject::connect(&bar, &CTitleBar::CloseClicked, [&] { ++nClosed; });
        QTest::mousePress(&bar, c.mouseButton, Qt::NoModifier, at(c.pressed));
        QTest::mouseMove(&bar, at(c.released));
        QTest::mouseRelease(&bar, c.mouseButton, Qt::NoModifier, at(c.released));
        EXPECT_EQ(nMinimised, c.nMinimised) << c.name;
        EXPECT_EQ(nClosed, c.nClosed) << c.name;
        QObject::disconnect(minimised);
        QObject::disconnect(closed);
    }
}

}  // namespace
