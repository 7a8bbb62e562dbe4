// SPDX-License-Identifier: MIT
#include "CGameApp.h"

#include "CAboutDlg.h"
#include "CHeroBoardDlg.h"
#include "CNewHeroDlg.h"
#include "CProfile.h"
#include "CProfileLocation.h"
#include "CRulesDlg.h"
#include "CWideText.h"
#include "WinResource.h"

namespace {

std::wstring Wide(const std::string& utf8)
{
    return CWideText::FromUtf8(utf8).value_or(std::wstring());
}

}  // namespace

CGameApp::CGameApp(HINSTANCE hInstance) : m_hInstance(hInstance) {}

CGameApp::~CGameApp()
{
    m_controller.OnMainWindowClosed();
    m_pMainWnd.reset();
}

int CGameApp::ScreenScale()
{
    HDC hScreen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(hScreen, LOGPIXELSY);
    ReleaseDC(nullptr, hScreen);
    return CMainFrame::ScaleForDpi(dpi);
}

bool CGameApp::InitInstance()
{
    return m_controller.InitInstance();
}

CProfile* CGameApp::OpenProfile()
{
    m_pProfile = CProfileLocation::OpenForThisProgram();
    return m_pProfile.get();
}

CAppWindow* CGameApp::CreateMainWindow(CAppInput& input)
{
    if (!CMainFrame::RegisterWindowClass(m_hInstance))
        return nullptr;
    m_pMainWnd = std::make_unique<CMainFrame>(input);
    if (!m_pMainWnd->Create(m_hInstance, ORVO_APP_TITLE, ScreenScale()))
        return nullptr;
    CDialog::SetDefaultOwner(m_pMainWnd->GetSafeHwnd());
    m_pMainWnd->CenterWindow();
    return m_pMainWnd.get();
}

void CGameApp::ShowNotice(NoticeKind kind, const std::string& caption, const std::string& text)
{
    const UINT icon = kind == NoticeKind::Warning ? MB_ICONWARNING : MB_ICONINFORMATION;
    MessageBoxW(m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr, Wide(text).c_str(),
                Wide(caption).c_str(), MB_OK | icon);
}

bool CGameApp::AskName(std::string& name)
{
    CNewHeroDlg dlg;
    dlg.m_strName = name;
    if (dlg.DoModal() != IDOK)
        return false;
    name = dlg.m_strName;
    return true;
}

void CGameApp::ShowHeroBoard(const CHeroList& heroes)
{
    CHeroBoardDlg dlg(heroes);
    dlg.DoModal();
}

void CGameApp::ShowRules(const std::string& text)
{
    CRulesDlg dlg;
    dlg.m_strText = Wide(text);
    dlg.DoModal();
}

void CGameApp::ShowAbout()
{
    CAboutDlg dlg;
    dlg.DoModal();
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
    return m_controller.ExitCode();
}
