// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "CBoardGeometry.h"
#include "CClientWindow.h"
#include "CDC.h"
#include "CGame.h"
#include "CGameView.h"
#include "CRecordingWindow.h"
#include "CSurface.h"
#include "CViewOutput.h"

// Widths of the ball's disc, frame row by frame row, centred in 28 pixels.
constexpr int kDiscRowWidths[28] = {0,  8,  12, 16, 18, 20, 22, 22, 24, 24, 26, 26, 26, 26,
                                    26, 26, 26, 26, 24, 24, 22, 22, 20, 18, 16, 12, 8,  0};

inline bool InDisc(int x, int y)
{
    if (x < 0 || y < 0 || x >= 28 || y >= 28)
        return false;
    const int start = (28 - kDiscRowWidths[y]) / 2;
    return x >= start && x < start + kDiscRowWidths[y];
}

// A ball pixel that tells its colour and its place in the frame, never black.
inline std::uint32_t BallPixel(int colour, int x, int y)
{
    return static_cast<std::uint32_t>(colour * 0x200000 + x * 0x0900 + y * 0x09 + 0x010101);
}

// A strip made to the mask-and-ball rules, independent of the shipped art.
inline CSurface MakeBallStrip()
{
    CSurface strip(224, 28);
    for (int k = 0; k < 8; ++k)
        for (int y = 0; y < 28; ++y)
            for (int x = 0; x < 28; ++x) {
                const bool in = InDisc(x, y);
                const std::uint32_t c = k == 0 ? (in ? 0x000000 : 0xFFFFFF) : (in ? BallPixel(k, x, y) : 0);
                strip.SetPixel(28 * k + x, y, c);
            }
    return strip;
}

// Where two pictures first differ within region (client pixels), or "".
inline std::string FirstDifference(const CSurface& a, const CSurface& b,
                                   CRect region = CRect{0, 0, 308, 348})
{
    for (int y = region.top; y < region.bottom; ++y)
        for (int x = region.left; x < region.right; ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) {
                std::ostringstream text;
                text << "at " << x << ',' << y << ": " << std::hex << a.Pixel(x, y) << " vs "
                     << b.Pixel(x, y);
                return text.str();
            }
    return "";
}

// A window with the view laid out on it, as the program has them.
struct CViewRig {
    CRecordingWindow wnd;
    CGameView view{MakeBallStrip()};

    CViewRig() { view.Attach(&wnd); }
    void Paint(const CGame& game)
    {
        CDC dc = wnd.GetDC();
        view.Paint(dc, game);
        wnd.ReleaseDC(dc);
        wnd.drawn.clear();
    }
    const CSurface& Surface() const { return wnd.Surface(); }
};

// The engine bound to a view as the program binds it, without sound or time.
class CViewOnlyOutput : public CGameOutput {
public:
    CViewOnlyOutput(CGameView& view, const CGame& game) : m_drawing(view, game) {}

    void DrawCell(int row, int col, std::uint8_t value) override { m_drawing.DrawCell(row, col, value); }
    void Push(std::uint8_t colour) override { m_drawing.Push(colour); }
    void SetBallsValue(int value) override { m_drawing.SetBallsValue(value); }
    void SetScoreValue(int value) override { m_drawing.SetScoreValue(value); }
    void Paint() override { m_drawing.Paint(); }
    void PlayEffect(std::uint16_t) override {}
    void Pause(std::uint32_t) override {}
    std::uint32_t GetTickCount() override { return ticks; }
    void StartBlinkTimer() override {}
    void StopBlinkTimer() override {}
    void ShowGameOver() override {}
    bool TryEnter(int, int) override { return false; }

    std::uint32_t ticks = 1;

private:
    CViewOutput m_drawing;
};

// Client point in the middle of a board cell.
inline int CellX(int col) { return CBoardGeometry::CentreX(col); }
inline int CellY(int row) { return CBoardGeometry::CentreY(row); }
