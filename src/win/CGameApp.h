// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

#include "AppIdentity.h"
#include "CAppOutput.h"
#include "CMainFrame.h"

class CPrivateProfile;

// The application object: owns the game session for the whole run, starts up in a fixed order and handles every command of
// the menu and the keys, which the window reports through CFrameEvents.
class CGameApp : private CFrameEvents {
public:
    explicit CGameApp(HINSTANCE hInstance);
    ~CGameApp();
    CGameApp(const CGameApp&) = delete;
    CGameApp& operator=(const CGameApp&) = delete;

    // False when the program must end at once: another instance runs (and
    // has been woken), or the program's own path gives no settings file.
    bool InitInstance();
    int Run();
    int ExitInstance();

    CGame& Game() { return m_session.Game(); }
    CHeroList& Heroes() { return m_session.Heroes(); }
    CMainFrame* MainFrame() const { return m_pMainWnd.get(); }
    void OnAppAbout();
    void OnHelpRules();
    void OnGameNew();
    void OnGameSound();
    void OnGameHeroes();

    // Where a second start finds this one.
    static bool WakeOtherInstance();
    // The whole scale factor for the screen's pixel density, at least 1.
    static int ScreenScale();

private:
    // CFrameEvents
    void OnFramePaint(CDC& dc) override;
    void OnFrameLButtonUp(std::uint32_t flags, int x, int y) override;
    void OnFrameRButtonUp(std::uint32_t flags, int x, int y) override;
    void OnFrameBlinkTick(std::uint32_t id) override;
    bool OnFrameCommand(unsigned nId) override;
    bool IsSoundOn() const override { return m_session.Game().IsSoundOn(); }

    HINSTANCE m_hInstance;
    CAppOutput m_session;
    std::unique_ptr<CPrivateProfile> m_pProfile;
    std::unique_ptr<CMainFrame> m_pMainWnd;
};
