// SPDX-License-Identifier: MIT
#include "CGameApp.h"

#include "CAboutDlg.h"
#include "CHeroBoardDlg.h"
#include "CPrivateProfile.h"
#include "CRulesDlg.h"
#include "WinResource.h"

namespace {

std::wstring LoadWideString(HINSTANCE hInstance, UINT id)
{
    const wchar_t* pText = nullptr;
    // Length 0 asks for a pointer into the resource itself.
    const int length = LoadStringW(hInstance, id, reinterpret_cast<LPWSTR>(&pText), 0);
    return length > 0 ? std::wstring(pText, static_cast<std::size_t>(length)) : std::wstring();
}

}  // namespace

CGameApp::CGameApp(HINSTANCE hInstance) : m_hInstance(hInstance) {}

CGameApp::~CGameApp()
{
    m_session.View().Attach(nullptr);
    m_session.SetFrame(nullptr);
    m_pMainWnd.reset();
    m_session.Heroes().SetProfile(nullptr);
}

bool CGameApp::WakeOtherInstance()
{
    HWND hOther = FindWindowA(CMainFrame::kClassName, ORVO_APP_TITLE);
    if (!hOther)
        return false;
    if (!IsWindowVisible(hOther))
        SendMessageA(hOther, WM_TRAYNOTIFY, CMainFrame::kTrayIconId, WM_LBUTTONUP);
    SetForegroundWindow(hOther);
    if (IsIconic(hOther))
        ShowWindow(hOther, SW_RESTORE);
    return true;
}

int CGameApp::ScreenScale()
{
    HDC hScreen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(hScreen, LOGPIXELSY);
    ReleaseDC(nullptr, hScreen);
    // Rounded to the nearest whole factor, as on Linux: 144 dpi and up is 2.
    const int scale = (dpi + 48) / 96;
    return scale < 1 ? 1 : scale;
}

bool CGameApp::InitInstance()
{
    if (WakeOtherInstance())
        return false;
    if (!CMainFrame::RegisterWindowClass(m_hInstance))
        return false;

    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH)
        return false;
    const std::wstring profilePath = CPrivateProfile::Locate(path);
    if (profilePath.empty())
        return false;
    m_pProfile = std::make_unique<CPrivateProfile>(profilePath);
    m_session.LoadSettings(*m_pProfile);

    m_pMainWnd = std::make_unique<CMainFrame>();
    if (!m_pMainWnd->Create(m_hInstance, ORVO_APP_TITLE, ScreenScale()))
        return false;
    m_pMainWnd->SetEvents(this);
    CDialog::SetDefaultOwner(m_pMainWnd->GetSafeHwnd());
    m_session.SetFrame(m_pMainWnd.get());
    m_pMainWnd->CenterWindow();
    m_session.View().Attach(&m_pMainWnd->ClientWindow());
    // The first three balls fall while the window is still hidden.
    Game().NewGame();
    ShowWindow(m_pMainWnd->GetSafeHwnd(), SW_SHOW);
    UpdateWindow(m_pMainWnd->GetSafeHwnd());
    return true;
}

int CGameApp::Run()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        HWND hFrame = m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr;
        if (hFrame && TranslateAcceleratorW(hFrame, m_pMainWnd->Accelerators(), &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

int CGameApp::ExitInstance()
{
    CMainFrame::UnregisterWindowClass(m_hInstance);
    return 0;
}

void CGameApp::OnFramePaint(CDC& dc)
{
    m_session.View().Paint(dc, Game());
}

void CGameApp::OnFrameLButtonUp(std::uint32_t flags, int x, int y)
{
    Game().OnClick(flags, x, y);
}

void CGameApp::OnFrameRButtonUp(std::uint32_t flags, int x, int y)
{
    Game().OnRightClick(flags, x, y);
}

void CGameApp::OnFrameBlinkTick(std::uint32_t id)
{
    Game().OnBlinkTimer(id);
}

bool CGameApp::OnFrameCommand(unsigned nId)
{
    switch (nId) {
    case ID_APP_ABOUT:
        OnAppAbout();
        return true;
    case ID_HELP_RULES:
        OnHelpRules();
        return true;
    case ID_GAME_NEW:
        OnGameNew();
        return true;
    case ID_GAME_SOUND:
        OnGameSound();
        return true;
    case ID_GAME_HEROES:
        OnGameHeroes();
        return true;
    default:
        return false;
    }
}

void CGameApp::OnAppAbout()
{
    CAboutDlg dlg;
    dlg.DoModal();
}

void CGameApp::OnHelpRules()
{
    CRulesDlg dlg;
    dlg.m_strText = LoadWideString(m_hInstance, IDS_RULES);
    dlg.DoModal();
}

void CGameApp::OnGameNew()
{
    Game().NewGame();
}

void CGameApp::OnGameSound()
{
    m_session.SwitchSound();
}

void CGameApp::OnGameHeroes()
{
    CHeroBoardDlg dlg(Heroes());
    dlg.DoModal();
}
