// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>

#include "CAppInput.h"
#include "CAppShell.h"
#include "CBoardReader.h"
#include "CGameSession.h"
#include "CHeroRecord.h"
#include "CTickClock.h"

class CDC;

// The application without its window system: the start in its fixed order,
// the five commands, the sound switch and its check mark, the pacing that
// only a shown window needs, the main window's input (where a release
// lands, the blink, the keys) and the end of a game (fanfare, the name and
// its rule, the list's save and what to tell when it fails, the game-over
// box). Each program's CGameApp creates one over its CAppShell; the main
// window reports to it as its CAppInput. It holds the game being played
// (CGameSession) and is that game's output and the list's prompt.
class CAppController final : public CAppInput, public CGameOutput, public CHeroPrompt {
public:
    // Both must outlive the controller.
    CAppController(CAppShell& shell, CSoundPlayer& player);
    ~CAppController() override;
    CAppController(const CAppController&) = delete;
    CAppController& operator=(const CAppController&) = delete;

    CGame& Game() { return m_session.Game(); }
    const CGame& Game() const { return m_session.Game(); }
    CHeroList& Heroes() { return m_session.Heroes(); }
    const CGameSession& Session() const { return m_session; }
    const CBoardReader& Reader() const { return m_reader; }

    // A test's clock, which must outlive the controller.
    void SetClock(const CTickClock& clock) { m_pClock = &clock; }

    // The start: false when the program must end at once with ExitCode().
    // That is when another instance runs (it has been woken, or found not
    // answering, which the player is told) or no window could be made.
    // Otherwise the window is shown with the first game on it; a settings
    // file without a place leaves the game to play unsaved, which the first
    // save tells.
    bool InitInstance();
    int ExitCode() const { return m_nExitCode; }
    static constexpr int kExitNoAnswer = 1;
    // The main window has gone: nothing may draw on it any more.
    void OnMainWindowClosed();

    // CAppInput
    void OnPaint(CDC& dc) override;
    void OnClick(int x, int y) override;
    void OnRightClick(int x, int y) override;
    void OnKey(CKey key) override;
    void OnBlinkTimer() override;
    bool OnCommand(unsigned nId) override;

    void OnAppAbout();
    void OnHelpRules();
    void OnGameNew();
    void OnGameSound();
    void OnGameHeroes();

    // A release at (x, y) in device pixels, nScale of them to a client
    // pixel: true, with (x, y) turned into client pixels, when it lies in
    // the client area.
    static bool ToClientPixels(int nScale, int& x, int& y);
    // Why a typed name cannot be kept; empty when it can.
    static std::string NameRefusal(CHeroRecord::NameFit fit);
    // The second line of the notice for a top-ten list that was not saved.
    static std::string SaveFailureReason(CProfileError why);

    // CGameOutput
    void DrawCell(int row, int col, std::uint8_t value) override;
    void Push(std::uint8_t colour) override;
    void SetBallsValue(int value) override;
    void SetScoreValue(int value) override;
    void Paint() override;
    void PlayEffect(std::uint16_t id) override;
    void Pause(std::uint32_t ms) override;
    std::uint32_t GetTickCount() override;
    void StartBlinkTimer() override;
    void StopBlinkTimer() override;
    void ShowGameOver() override;
    bool TryEnter(int balls, int score) override;

    // CHeroPrompt: the name dialog until it gives a name that can be kept
    // (each refusal told) or is cancelled; name is GBK both ways.
    bool AskName(std::string& name) override;
    void ReportSaveFailure(CProfileError why) override;

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
    // What the last input did, to the screen reader's view of the window.
    void Tell();
    // The window's release point in client pixels; false outside.
    bool ClientPoint(int& x, int& y) const;

    CAppShell& m_shell;
    CNoProfile m_noProfile;
    // The notices told so far: what could not be saved and why (a file too
    // big to be settings is told once for everything).
    std::set<std::pair<std::string, CProfileError>> m_toldFailures;
    CAppWindow* m_pWindow = nullptr;
    CTickClock m_clock;
    const CTickClock* m_pClock = &m_clock;
    int m_nExitCode = 0;
    // Last: the game's calls reach a controller whose members are all built.
    CGameSession m_session;
    CBoardReader m_reader{m_session};
};
