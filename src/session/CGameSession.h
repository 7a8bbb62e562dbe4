// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "CAppInput.h"
#include "CBoardGeometry.h"
#include "CGame.h"
#include "CGameView.h"
#include "CHeroList.h"
#include "CViewOutput.h"

class CSoundPlayer;

// One game being played: the engine, the top-ten list and the view of the
// client area, owned together. The engine's outgoing calls and the list's
// questions go to the binding that holds the session (the application's
// controller, orvo-trace, a test), which draws through Drawing(), plays
// through PlayEffect and adds what is its own: time, the blink timer, the
// game-over notice and the name dialog.
class CGameSession {
public:
    // The binding: output and prompt must outlive the session; nothing
    // reaches them before the session is built. Without a player effects
    // are silent.
    CGameSession(CGameOutput& output, CHeroPrompt& prompt, CSoundPlayer* pPlayer = nullptr);
    ~CGameSession();
    CGameSession(const CGameSession&) = delete;
    CGameSession& operator=(const CGameSession&) = delete;

    CGame& Game() { return m_game; }
    const CGame& Game() const { return m_game; }
    CHeroList& Heroes() { return m_heroes; }
    CGameView& View() { return m_view; }
    // Where the binding sends the engine's drawing calls.
    CViewOutput& Drawing() { return m_drawing; }

    // The board from the keyboard. An arrow moves the focus cell one square,
    // stopping at the edges; Space and Enter act on it exactly as a left
    // click in its middle does, Backspace and Delete as a right click. The
    // focus is hidden until the first arrow, Space or Enter, which shows it
    // where it stands without moving or acting: on the selected ball if one
    // is picked up, otherwise where it was last (the centre at first).
    void OnKey(CKey key);
    // The mouse is used on the board: the focus frame goes, so that a mouse
    // player sees the board exactly as it would be without a keyboard.
    void OnMouse();
    bool IsFocusShown() const { return m_bFocusShown; }
    int FocusRow() const { return m_focusRow; }
    int FocusCol() const { return m_focusCol; }

    // Offers a finished game's result to the list.
    bool TryEnter(int balls, int score);
    // Serves the list's fanfare as well as the game's effects: the sound
    // from the program's resources, while the sound is on.
    void PlayEffect(std::uint16_t id);

    // The settings file, kept by the shell for the whole run: the sound
    // switch and the top-ten list are read from it here and written back
    // the moment they change.
    void LoadSettings(CProfile& profile);
    // The settings file given to LoadSettings; null before.
    const CProfile* Profile() const { return m_pProfile; }
    // Flips the sound switch and writes it at once; switching the sound on
    // gives a device that hung another chance. Returns the new state, which
    // holds for this run even when it could not be written; why is then
    // the reason, and None when it was written.
    bool SwitchSound(CProfileError& why);

private:
    // Shows the focus where it starts, or moves it by (dRow, dCol).
    void MoveFocus(int dRow, int dCol);

    CGameView m_view;
    CGame m_game;
    CHeroList m_heroes;
    CViewOutput m_drawing{m_view, m_game};
    CSoundPlayer* m_pPlayer;
    CProfile* m_pProfile = nullptr;
    int m_focusRow = (CBoardGeometry::kCells + 1) / 2;
    int m_focusCol = (CBoardGeometry::kCells + 1) / 2;
    bool m_bFocusShown = false;
};
