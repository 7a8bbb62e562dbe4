// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "ViewFixture.h"

namespace {

// The pixels each segment lights in a 10 x 18 digit cell: a run along a row
// (horizontal) or a column, from first to last inclusive.
struct CRun {
    bool horizontal;
    int line, first, last;
};

const std::vector<CRun> kSegmentPixels[7] = {
    {{true, 0, 2, 8}, {true, 1, 3, 7}},      // top
    {{false, 0, 1, 7}, {false, 1, 2, 6}},    // upper left
    {{false, 9, 2, 8}, {false, 8, 3, 7}},    // upper right
    {{true, 8, 2, 6}, {true, 9, 3, 7}},      // middle
    {{false, 0, 9, 15}, {false, 1, 10, 14}}, // lower left
    {{false, 9, 10, 16}, {false, 8, 11, 15}},// lower right
    {{true, 17, 1, 7}, {true, 16, 2, 6}},    // bottom
};

// Which segments each pattern index lights, by segment number 0..6.
const char* const kLitSegments[12] = {"012456", "25",   "02346", "02356", "1235", "01356",
                                      "013456", "025",  "0123456", "012356", "3", ""};

bool Lit(int index, int x, int y)
{
    for (const char* s = kLitSegments[index]; *s; ++s)
        for (const CRun& run : kSegmentPixels[*s - '0']) {
            const int along = run.horizontal ? x : y, across = run.horizontal ? y : x;
            if (across == run.line && along >= run.first && along <= run.last)
                return true;
        }
    return false;
}

// One digit drawn on a grey field, with a viewport origin in play.
CSurface DrawOneDigit(int index)
{
    CSurface s(20, 28, kPanelFill);
    CDC dc(s);
    dc.SetViewportOrg(3, 4);
    CCounterPanel::DrawDigit(dc, 2, 1, index);
    return s;
}

TEST(CounterPanel, DigitLightsExactlyItsSegmentsPixels)
{
    for (int index = 0; index < 12; ++index) {
        const CSurface s = DrawOneDigit(index);
        for (int y = 0; y < s.Height(); ++y)
            for (int x = 0; x < s.Width(); ++x) {
                const std::uint32_t expected = Lit(index, x - 5, y - 5) ? 0xFFFFFFu : kPanelFill;
                ASSERT_EQ(s.Pixel(x, y), expected) << "index " << index << " at " << x - 5 << ','
                                                   << y - 5 << " of the cell";
            }
    }
}

TEST(CounterPanel, IndexOutsideThePatternsDrawsZero)
{
    const CSurface zero = DrawOneDigit(0);
    for (const int index : {-1, 12, INT_MIN, INT_MAX}) {
        EXPECT_TRUE(DrawOneDigit(index) == zero) << index;
    }
}

TEST(CounterPanel, DigitOverAnotherLeavesNoTraceOfIt)
{
    for (int from = 0; from < 12; ++from)
        for (int to = 0; to < 12; ++to) {
            CSurface s(20, 28, kPanelFill);
            CDC dc(s);
            CCounterPanel::DrawDigit(dc, 5, 5, from);
            CCounterPanel::DrawDigit(dc, 5, 5, to);
            ASSERT_TRUE(s == DrawOneDigit(to)) << from << " then " << to;
        }
}

struct CNumberCase {
    std::int32_t value;
    std::vector<int> digits;  // pattern indices from the units leftwards
};

// The counter drawn by hand: frame, then the given digits from x = 70 left.
CSurface ExpectedCounter(const std::vector<int>& digits)
{
    CViewRig rig;
    CDC dc = rig.wnd.GetDC();
    rig.view.BallsPanel().DrawFrame(dc);
    for (std::size_t i = 0; i < digits.size(); ++i)
        CCounterPanel::DrawDigit(dc, 70 - 12 * static_cast<int>(i), 8, digits[i]);
    return rig.Surface();
}

TEST(CounterPanel, NumberIsRightAlignedWithoutLeadingZerosOrSign)
{
    const CNumberCase cases[] = {
        {0, {0}},
        {7, {7}},
        {10, {0, 1}},
        {123456, {6, 5, 4, 3, 2, 1}},
        {8888888, {8, 8, 8, 8, 8, 8, 8}},
        {-15, {0, 0}},  // negative remainders fall outside the patterns
        {INT_MAX, {7, 4, 6, 3, 8, 4, 7, 4, 1, 2}},
        {INT_MIN, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const CNumberCase& c : cases) {
        CViewRig rig;
        rig.view.SetBallsValue(c.value);
        CDC dc = rig.wnd.GetDC();
        rig.view.BallsPanel().Draw(dc);
        EXPECT_EQ(FirstDifference(rig.Surface(), ExpectedCounter(c.digits)), "") << c.value;
    }
}

TEST(CounterPanel, ZeroDrawsOneDigitAndLeavesTheRestOfTheFieldGrey)
{
    CViewRig rig;
    const CGame game;
    rig.Paint(game);
    // Balls counter at client (8, 8): everything of its field left of the
    // units digit (panel x 70) stays grey.
    for (int y = 10; y < 39; ++y)
        for (int x = 10; x < 8 + 70; ++x)
            ASSERT_EQ(rig.Surface().Pixel(x, y), kPanelFill) << x << ',' << y;
    EXPECT_EQ(rig.Surface().Pixel(8 + 72, 16), 0xFFFFFFu) << "top bar of the 0";
}

TEST(CounterPanel, ShorterUpdateLeavesNoTraceOfTheSegmentsItDoesNotUse)
{
    const std::int32_t changes[][2] = {{8, 1}, {88, 11}, {808, 111}, {0, 999999}, {9, 10}};
    for (const auto& change : changes) {
        CViewRig updated, painted;
        const CGame game;
        updated.Paint(game);
        updated.view.SetScoreValue(change[0]);
        updated.view.SetScoreValue(change[1]);
        painted.view.SetScoreValue(change[1]);
        painted.Paint(game);
        EXPECT_EQ(FirstDifference(updated.Surface(), painted.Surface()), "")
            << change[0] << " -> " << change[1];
    }
}

TEST(CounterPanel, SettingTheShownValueDrawsNothing)
{
    CViewRig rig;
    const CGame game;
    rig.Paint(game);
    rig.view.SetBallsValue(0);
    EXPECT_TRUE(rig.wnd.drawn.empty());
    rig.view.SetBallsValue(42);
    ASSERT_EQ(rig.wnd.drawn.size(), 1u);
    const CSurface shown = rig.Surface();
    rig.view.SetBallsValue(42);
    EXPECT_EQ(rig.wnd.drawn.size(), 1u);
    EXPECT_TRUE(rig.Surface() == shown);
}

TEST(CounterPanel, LongNumbersRunPastThePanelAndStopAtTheWindowEdge)
{
    CViewRig rig;
    const CGame game;
    rig.Paint(game);
    const CSurface before = rig.Surface();
    rig.view.SetBallsValue(8888888);
    // The seventh digit's origin is panel x -2, client x 6: its left
    // segments light client column 6 on the window background.
    EXPECT_EQ(rig.Surface().Pixel(6, 8 + 8 + 1), 0xFFFFFFu);
    EXPECT_EQ(rig.Surface().Pixel(5, 8 + 8 + 1), COLOR_BTNFACE_RGB);

    rig.view.SetBallsValue(INT_MAX);
    ASSERT_EQ(rig.wnd.drawn.size(), 2u);
    EXPECT_EQ(rig.wnd.drawn[1].left, 0);
    EXPECT_EQ(rig.wnd.drawn[1].top, 16);
    EXPECT_EQ(rig.wnd.drawn[1].bottom, 34);
    // Nothing lands on the board or below the digits' row.
    EXPECT_EQ(FirstDifference(rig.Surface(), before, CRect{0, 34, 308, 348}), "");
}

}  // namespace
