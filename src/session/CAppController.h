// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>

#include "CAppShell.h"
#include "CGameSession.h"
#include "CHeroRecord.h"
#include "CTickClock.h"

class CDC;

// The application without its window system: the start in its fixed order,
// the five commands, the sound switch and its check mark, the pacing that
// only a shown window needs, and the end of a game (fanfare, name, the
// list's save and what to tell when it fails, the game-over box). Each
// program's CGameApp creates one over its CAppShell and forwards the
// window's clicks, ticks, paints and commands to it.
class CAppController final : public CGameSession {
public:
    // Both must outlive the controller.
    CAppController(CAppShell& shell, CSoundPlayer& player);

    // A test's clock, which must outlive the controller.
    void SetClock(const CTickClock& clock) { m_pClock = &clock; }

    // False when the program must end at once: another instance runs (and
    // has been woken, or has been found not answering, which the player is
    // told), or no window could be made. Otherwise the window is shown with
    // the first game on it; a settings file without a place leaves the game
    // to play unsaved, which the first save tells.
    bool InitInstance();
    // What the program ends with after InitInstance returned false.
    int ExitCode() const { return m_nExitCode; }
    static constexpr int kExitNoAnswer = 1;
    // The main window has gone: nothing may draw on it any more.
    void OnMainWindowClosed();

    // The main window's input, forwarded by the shell.
    void OnPaint(CDC& dc);
    void OnClick(int x, int y);
    void OnRightClick(int x, int y);
    void OnBlinkTimer();

    // A menu command or its key; false for one that is not the game's.
    bool OnCommand(unsigned nId);
    void OnAppAbout();
    void OnHelpRules();
    void OnGameNew();
    void OnGameSound();
    void OnGameHeroes();

    // Why a name typed in the name dialog cannot be kept; empty when it can.
    static std::string NameRefusal(CHeroRecord::NameFit fit);
    // The second line of the notice for a top-ten list that was not saved.
    static std::string SaveFailureReason(CProfileError why);

    // CGameOutput, beyond what the session draws and plays
    void Pause(std::uint32_t ms) override;
    std::uint32_t GetTickCount() override;
    void StartBlinkTimer() override;
    void StopBlinkTimer() override;
    void ShowGameOver() override;

    // CHeroPrompt
    bool AskName(std::string& name) override;
    void ReportSaveFailure(CProfileError why) override;

protected:
    void ReportSoundSaveFailure(CProfileError why) override;

private:
    // A settings file too big to be one holds no top ten and keeps none:
    // the player is told once a run, the first time it matters.
    void TellOversizedOnce();
    // A save that failed is told once a run for each thing saved and each
    // reason: the first F4 on a read-only file says so, the next ones not.
    void TellSaveFailure(const char* pWhat, CProfileError why);
    // A stopped or hung game holds the place: the player is told, on the
    // screen and on stderr, instead of seeing nothing happen.
    void TellOtherDoesNotAnswer();

    CAppShell& m_shell;
    CNoProfile m_noProfile;
    // The notices told so far: what could not be saved and why (a file too
    // big to be settings is told once for everything).
    std::set<std::pair<std::string, CProfileError>> m_toldFailures;
    CAppWindow* m_pWindow = nullptr;
    CTickClock m_clock;
    const CTickClock* m_pClock = &m_clock;
    int m_nExitCode = 0;
};
