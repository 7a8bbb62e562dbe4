// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "CBoardPanel.h"
#include "CClientWindow.h"
#include "CCounterPanel.h"
#include "CDC.h"
#include "CPreviewPanel.h"
#include "CSurface.h"

class CGame;

// What the player sees of a game: the four panels of the main window and
// the sprite strip they draw balls from. The engine's output binding
// forwards its drawing calls here; the view reads the game only in Paint.
class CGameView {
public:
    // ballStrip: the decoded IDB_BALLS strip, kept for the view's lifetime.
    explicit CGameView(CSurface ballStrip);
    CGameView(const CGameView&) = delete;
    CGameView& operator=(const CGameView&) = delete;

    // The strip from the program's resources; empty when it is missing or
    // cannot be decoded (the balls then do not show).
    static CSurface LoadBallStrip();

    // Where the three panels above the board lie in the client area, as
    // CPanel::Init takes them.
    static constexpr CRect kBallsRect{8, 8, 96, 40};
    static constexpr CRect kPreviewRect{104, 8, 203, 40};
    static constexpr CRect kScoreRect{211, 8, 299, 40};

    // Lays the panels out on the window's client area. Draws nothing.
    void Attach(CClientWindow* pWnd);

    // The whole client content from the game state: board, its balls,
    // preview, its balls, then the two counters.
    void Paint(CDC& dc, const CGame& game) const;
    // Paint on a context of the attached window, shown before returning.
    void PaintNow(const CGame& game);

    // Immediate updates, each shown before it returns.
    void DrawCell(std::int32_t row, std::int32_t col, std::uint8_t value)
    {
        m_boardPanel.DrawCell(row, col, value);
    }
    void Push(std::uint8_t colour) { m_previewPanel.Push(colour); }
    void SetBallsValue(std::int32_t value) { m_ballsPanel.SetValue(value); }
    void SetScoreValue(std::int32_t value) { m_scorePanel.SetValue(value); }
    // The keyboard's focus frame on a cell, or none with row 0.
    void SetFocus(std::int32_t row, std::int32_t col) { m_boardPanel.SetFocus(row, col); }

    const CCounterPanel& BallsPanel() const { return m_ballsPanel; }
    const CPreviewPanel& PreviewPanel() const { return m_previewPanel; }
    const CCounterPanel& ScorePanel() const { return m_scorePanel; }
    const CBoardPanel& BoardPanel() const { return m_boardPanel; }

private:
    CSurface m_ballStrip;
    CClientWindow* m_pWnd = nullptr;
    CCounterPanel m_ballsPanel;
    CPreviewPanel m_previewPanel;
    CCounterPanel m_scorePanel;
    CBoardPanel m_boardPanel;
};
