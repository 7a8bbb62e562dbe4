// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

#include "AppIdentity.h"
#include "CAppController.h"
#include "CInstanceLock.h"
#include "CMainFrame.h"
#include "CWaveOutPlayer.h"

class CPrivateProfile;

// The application object on Windows: the shell that CAppController runs
// in. It brings the window class, the settings file's place, the main
// window (which reports to the controller itself), the dialogs and the
// message loop.
class CGameApp : private CAppShell {
public:
    explicit CGameApp(HINSTANCE hInstance);
    ~CGameApp();
    CGameApp(const CGameApp&) = delete;
    CGameApp& operator=(const CGameApp&) = delete;

    // CAppController::InitInstance.
    bool InitInstance();
    int Run();
    // The program's exit code: not 0 when a start found another game that
    // did not answer.
    int ExitInstance();

    CAppController& Controller() { return m_controller; }
    CMainFrame* MainFrame() const { return m_pMainWnd.get(); }

    // Where a second start finds this one: true when its window is there,
    // answers, and has been woken.
    static bool FindAndWakeOtherInstance();
    // Brings the game whose window this is back: from the notification area,
    // minimised or behind others. False, without waiting long, when the
    // window does not answer.
    static bool WakeWindow(HWND hOther);
    // The whole scale factor for the screen's pixel density, at least 1.
    static int ScreenScale();

private:
    // CAppShell
    // Another start holds the instance lock: its window, once there and
    // answering, has been woken (or the wait ran out), and this start ends.
    OtherInstance WakeOtherInstance() override
    {
        return m_instanceLock.Acquire(CInstanceLock::kName, FindAndWakeOtherInstance);
    }
    CProfile* OpenProfile() override;
    CAppWindow* CreateMainWindow(CAppInput& input) override;
    void ShowNotice(NoticeKind kind, const std::string& caption, const std::string& text) override;
    bool AskName(std::string& name) override;
    void ShowHeroBoard(const CHeroList& heroes) override;
    void ShowRules(const std::string& text) override;
    void ShowAbout() override;

    HINSTANCE m_hInstance;
    // Held from the first step to the very end, after the window has gone.
    CInstanceLock m_instanceLock;
    CWaveOutPlayer m_player;
    CAppController m_controller{*this, m_player};
    std::unique_ptr<CPrivateProfile> m_pProfile;
    std::unique_ptr<CMainFrame> m_pMainWnd;
};
