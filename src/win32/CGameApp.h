// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

#include "AppIdentity.h"
#include "CAppController.h"
#include "CInstanceLock.h"
#include "CMainFrame.h"
#include "CWaveOutPlayer.h"
#include "WinResource.h"

class CProfile;

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

    // The whole scale factor for the screen's pixel density, at least 1.
    static int ScreenScale();

private:
    // CAppShell
    OtherInstance WakeOtherInstance() override { return m_instanceLock.Claim(); }
    CProfile* OpenProfile() override;
    CAppWindow* CreateMainWindow(CAppInput& input) override;
    void ShowNotice(NoticeKind kind, const std::string& caption, const std::string& text) override;
    bool AskName(std::string& name) override;
    void ShowHeroBoard(const CHeroList& heroes) override;
    void ShowRules(const std::string& text) override;
    void ShowAbout() override;

    HINSTANCE m_hInstance;
    // Held from the first step to the very end, after the window has gone.
    CInstanceLock m_instanceLock{
        CInstanceLock::kName,
        CInstanceLock::SWindow{CMainFrame::kClassName, ORVO_APP_TITLE, WM_TRAYNOTIFY,
                               CMainFrame::kTrayIconId}};
    CWaveOutPlayer m_player;
    CAppController m_controller{*this, m_player};
    std::unique_ptr<CProfile> m_pProfile;
    std::unique_ptr<CMainFrame> m_pMainWnd;
};
