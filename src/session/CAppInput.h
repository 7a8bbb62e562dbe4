// SPDX-License-Identifier: MIT
#pragma once

class CDC;

// The keys the main window hands on besides its menu's: the board's own.
// Any other key stays with the window (Esc hides it) or goes nowhere.
enum class CKey { Left, Right, Up, Down, Space, Enter, Backspace, Delete };

// What the main window reports of the player and of its timer, in the
// window's own terms: device pixels, the timer's tick, the menu's command
// numbers. Both main frames call it directly; CAppController is the one
// implementation, and decides there what a release at a point means
// (outside the client area nothing; device pixels are divided by the
// window's whole scale factor, CAppWindow::Scale).
//
//     // A frame's mouse handler, on a screen scaled by 2:
//     void CMyFrame::OnLeftButtonUp(int xDevice, int yDevice)
//     {
//         m_input.OnClick(xDevice, yDevice);  // (340, 420) is client (170, 210)
//     }
//     // Its timer: m_input.OnBlinkTimer(); its menu: m_input.OnCommand(ID_GAME_NEW);
//     // its paint: CDC dc(surface); m_input.OnPaint(dc);
class CAppInput {
public:
    // Draws the whole client area on dc, from the game as it stands.
    virtual void OnPaint(CDC& dc) = 0;
    // A left or right button released at (x, y), device pixels from the
    // client area's top-left corner; anywhere, even outside the window.
    virtual void OnClick(int x, int y) = 0;
    virtual void OnRightClick(int x, int y) = 0;
    // A key pressed while the main window has the keyboard.
    virtual void OnKey(CKey key) = 0;
    // The blink timer's tick.
    virtual void OnBlinkTimer() = 0;
    // A menu command or its key; false for one that is not the game's.
    virtual bool OnCommand(unsigned nId) = 0;

protected:
    ~CAppInput() = default;
};
