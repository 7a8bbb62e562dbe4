// SPDX-License-Identifier: MIT
#include "CCounterPanel.h"

#include <algorithm>
#include <limits>

namespace {

struct CStroke {
    std::int8_t x0, y0, x1, y1;
};

// Two strokes per segment, by bit: top, upper left, upper right, middle,
// lower left, lower right, bottom. The right-hand segments sit one pixel
// lower than the left-hand ones, and the bottom bar one pixel further left
// than the top bar; that is the digits' look, not a slip.
constexpr CStroke kSegments[7][2] = {
    {{2, 0, 9, 0}, {3, 1, 8, 1}},
    {{0, 1, 0, 8}, {1, 2, 1, 7}},
    {{9, 2, 9, 9}, {8, 3, 8, 8}},
    {{2, 8, 7, 8}, {3, 9, 8, 9}},
    {{0, 9, 0, 16}, {1, 10, 1, 15}},
    {{9, 10, 9, 17}, {8, 11, 8, 16}},
    {{1, 17, 8, 17}, {2, 16, 7, 16}},
};

// Lit segments of 0..9, the minus sign and the blank.
constexpr std::uint8_t kPatterns[12] = {0x77, 0x24, 0x5D, 0x6D, 0x2E, 0x6B,
                                        0x7B, 0x25, 0x7F, 0x6F, 0x08, 0x00};

// A digit placed at the very end of the coordinate range stays there
// instead of wrapping round onto the surface.
std::int32_t Offset(std::int32_t origin, std::int32_t delta)
{
    const long long v = static_cast<long long>(origin) + delta;
    return static_cast<std::int32_t>(std::clamp<long long>(
        v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

void CCounterPanel::DrawDigit(CDC& dc, std::int32_t x, std::int32_t y, std::int32_t index)
{
    const std::uint8_t pattern = kPatterns[index < 0 || index > 11 ? 0 : index];
    const std::uint32_t oldPen = dc.SelectPen(kPanelFill);
    for (int bit = 0; bit < 7; ++bit) {
        dc.SelectPen(pattern & (1u << bit) ? kLitSegment : kPanelFill);
        for (const CStroke& s : kSegments[bit]) {
            dc.MoveTo(Offset(x, s.x0), Offset(y, s.y0));
            dc.LineTo(Offset(x, s.x1), Offset(y, s.y1));
        }
    }
    dc.SelectPen(oldPen);
}

void CCounterPanel::DrawNumber(CDC& dc) const
{
    std::int32_t v = m_nValue;
    std::int32_t x = kLastDigitX;
    // At least one digit; C++ division truncates towards zero, so a
    // negative remainder gives an out-of-range index and shows as 0.
    do {
        DrawDigit(dc, x, kDigitY, v % 10);
        v /= 10;
        x -= kDigitPitch;
    } while (v != 0);
}

void CCounterPanel::Draw(CDC& dc) const
{
    DrawFrame(dc);
    DrawNumber(dc);
}

void CCounterPanel::SetValue(std::int32_t value)
{
    if (value == m_nValue)
        return;
    m_nValue = value;
    // The field is not refilled: totals only grow within a game, and a new
    // game repaints everything.
    DrawNow([this](CDC& dc) { DrawNumber(dc); });
}
