// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

#include "CAppOutput.h"
#include "CMainFrame.h"

class CPrivateProfile;

// The application object: owns the game session for the whole run, starts up in a fixed order and handles every command of
// the menu and the keys. The window reaches it through Get().
class CGameApp {
public:
    static constexpr const char* kAppTitle = "Orvo";

    explicit CGameApp(HINSTANCE hInstance);
    ~CGameApp();
    CGameApp(const CGameApp&) = delete;
    CGameApp& operator=(const CGameApp&) = delete;

    static CGameApp* Get() { return s_pApp; }

    // False when the program must end at once: another instance runs (and
    // has been woken), or the program's own path gives no settings file.
    bool InitInstance();
    int Run();
    int ExitInstance();

    CGame& Game() { return m_session.Game(); }
    CHeroList& Heroes() { return m_session.Heroes(); }
    CMainFrame* MainFrame() const { return m_pMainWnd.get(); }
    void PaintGame(CDC& dc);

    bool OnUpdateGameSound() const { return m_session.Game().IsSoundOn(); }
    // The commands of the menu and the keys; false for one that is not ours.
    bool OnCommand(unsigned nId);
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
    static CGameApp* s_pApp;

    HINSTANCE m_hInstance;
    CAppOutput m_session;
    std::unique_ptr<CPrivateProfile> m_pProfile;
    std::unique_ptr<CMainFrame> m_pMainWnd;
};
