// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "CPanel.h"

// A number in white seven-segment digits on the grey field, right-aligned.
class CCounterPanel : public CPanel {
public:
    static constexpr std::int32_t kLastDigitX = 70;  // origin of the units digit
    static constexpr std::int32_t kDigitY = 8;
    static constexpr std::int32_t kDigitPitch = 12;
    static constexpr std::uint32_t kLitSegment = 0xFFFFFF;

    ~CCounterPanel() override = default;

    void Draw(CDC& dc) const;
    // The digits of m_nValue from the units leftwards, as many as it has;
    // positions further left are left as they are.
    void DrawNumber(CDC& dc) const;
    // Pattern index 0..9 a digit, 10 a minus sign, 11 blank; any other index
    // draws 0. Every segment is drawn, unlit ones in the field's grey.
    static void DrawDigit(CDC& dc, std::int32_t x, std::int32_t y, std::int32_t index);
    // Shows value on the window at once, unless it is already shown.
    void SetValue(std::int32_t value);

    std::int32_t Value() const { return m_nValue; }

private:
    std::int32_t m_nValue = 0;
};
