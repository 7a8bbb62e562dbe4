// SPDX-License-Identifier: MIT
#include "CMainFrame.h"

#include <shellapi.h>
#include <windowsx.h>

#include <cstring>

#include "AppIdentity.h"
#include "CenterWindow.h"
#include "WinResource.h"

namespace {

// The timer that makes a selected ball blink.
constexpr UINT_PTR BLINK_TIMER_ID = 128;

// The board's keys, as the window hands them on.
bool BoardKey(WPARAM nVirtualKey, CKey& key)
{
    static const struct {
        WPARAM nVirtualKey;
        CKey key;
    } kKeys[] = {
        {VK_LEFT, CKey::Left},   {VK_RIGHT, CKey::Right},         {VK_UP, CKey::Up},
        {VK_DOWN, CKey::Down},   {VK_SPACE, CKey::Space},         {VK_RETURN, CKey::Enter},
        {VK_BACK, CKey::Backspace}, {VK_DELETE, CKey::Delete},
    };
    for (const auto& k : kKeys) {
        if (k.nVirtualKey == nVirtualKey) {
            key = k.key;
            return true;
        }
    }
    return false;
}

// The density of the monitor the window is on, or 0 where the system
// cannot tell (before Windows 10, whose exports must not be imported).
int WindowDpi(HWND hWnd)
{
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto pGetDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    return pGetDpiForWindow ? static_cast<int>(pGetDpiForWindow(hWnd)) : 0;
}

}  // namespace

int CMainFrame::ScaleForDpi(int nDpi)
{
    const int scale = (nDpi + 48) / 96;
    return scale < 1 ? 1 : scale;
}

CMainFrame::~CMainFrame()
{
    if (m_hWnd)
        DestroyWindow(m_hWnd);
}

bool CMainFrame::RegisterWindowClass(HINSTANCE hInstance)
{
    WNDCLASSA wc{};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconA(hInstance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void CMainFrame::UnregisterWindowClass(HINSTANCE hInstance)
{
    UnregisterClassA(kClassName, hInstance);
}

bool CMainFrame::Create(HINSTANCE hInstance, const char* pTitle, int nScale)
{
    const DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    const int width = CClientWindow::kWidth * nScale + 2 * GetSystemMetrics(SM_CXDLGFRAME);
    const int height = CClientWindow::kHeight * nScale + GetSystemMetrics(SM_CYCAPTION) +
                       GetSystemMetrics(SM_CYMENU) + 2 * GetSystemMetrics(SM_CYDLGFRAME);
    HMENU hMenu = LoadMenuW(hInstance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    m_hWnd = CreateWindowExA(0, kClassName, pTitle, style, CW_USEDEFAULT, CW_USEDEFAULT, width,
                             height, nullptr, hMenu, hInstance, this);
    if (!m_hWnd)
        return false;
    m_hAccel = LoadAcceleratorsW(hInstance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    // The screen's density is the one the system started with; the
    // monitor's may have changed since.
    const int dpi = WindowDpi(m_hWnd);
    m_client.SetWindow(m_hWnd, dpi > 0 ? ScaleForDpi(dpi) : nScale);
    m_accessibility.Connect(m_hWnd, m_client);
    FitClientArea();
    return true;
}

// The sum of the system's metrics gives the client area on every system we
// know; should a theme's frame differ, the window is grown or shrunk by
// what is missing, so the board never loses its margins.
void CMainFrame::FitClientArea()
{
    RECT client{}, window{};
    GetClientRect(m_hWnd, &client);
    GetWindowRect(m_hWnd, &window);
    const int dx = CClientWindow::kWidth * m_client.Scale() - (client.right - client.left);
    const int dy = CClientWindow::kHeight * m_client.Scale() - (client.bottom - client.top);
    if (dx == 0 && dy == 0)
        return;
    SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left + dx,
                 window.bottom - window.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMainFrame::OnDpiChanged(int nDpi, const RECT& suggested)
{
    m_client.SetWindow(m_hWnd, ScaleForDpi(nDpi));
    // The suggested frame is scaled by the exact factor, the board by a
    // whole one: take its place, then fit the client area.
    SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    FitClientArea();
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CMainFrame::CenterWindow()
{
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    CenterWindowIn(m_hWnd, work);
}

void CMainFrame::Show()
{
    ShowWindow(m_hWnd, SW_SHOW);
    UpdateWindow(m_hWnd);
}

void CMainFrame::StartBlinkTimer(unsigned nIntervalMs)
{
    SetTimer(m_hWnd, BLINK_TIMER_ID, nIntervalMs, nullptr);
}

void CMainFrame::StopBlinkTimer()
{
    KillTimer(m_hWnd, BLINK_TIMER_ID);
}

void CMainFrame::SetSoundChecked(bool bOn)
{
    CheckMenuItem(GetMenu(m_hWnd), ID_GAME_SOUND, MF_BYCOMMAND | (bOn ? MF_CHECKED : MF_UNCHECKED));
}

void CMainFrame::OnReadingChanged(const CBoardReader& reader)
{
    m_accessibility.OnReadingChanged(reader);
}

void CMainFrame::HideToTray()
{
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = m_hWnd;
    nid.uID = kTrayIconId;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = WM_TRAYNOTIFY;
    nid.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    std::strncpy(nid.szTip, ORVO_APP_TITLE, sizeof nid.szTip - 1);
    Shell_NotifyIconA(NIM_ADD, &nid);
    ShowWindow(m_hWnd, SW_HIDE);
}

void CMainFrame::OnTrayNotify(WPARAM, LPARAM lParam)
{
    if (lParam != WM_LBUTTONUP)
        return;
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = m_hWnd;
    nid.uID = kTrayIconId;
    Shell_NotifyIconA(NIM_DELETE, &nid);
    ShowWindow(m_hWnd, SW_SHOW);
}

void CMainFrame::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hDC = BeginPaint(m_hWnd, &ps);
    m_client.Paint(hDC, [this](CDC& dc) { m_input.OnPaint(dc); });
    EndPaint(m_hWnd, &ps);
}

LRESULT CALLBACK CMainFrame::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* pCreate = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* pFrame = static_cast<CMainFrame*>(pCreate->lpCreateParams);
        pFrame->m_hWnd = hWnd;
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pFrame));
    }
    auto* pFrame = reinterpret_cast<CMainFrame*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (!pFrame)
        return DefWindowProcA(hWnd, message, wParam, lParam);
    return pFrame->OnMessage(message, wParam, lParam);
}

LRESULT CMainFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_LBUTTONUP:
        m_input.OnClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_RBUTTONUP:
        m_input.OnRightClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_TIMER:
        if (wParam == BLINK_TIMER_ID)
            m_input.OnBlinkTimer();
        return 0;
    case WM_KEYDOWN: {
        CKey key{};
        if (wParam == VK_ESCAPE)
            HideToTray();
        else if (BoardKey(wParam, key))
            m_input.OnKey(key);
        return 0;
    }
    case WM_TRAYNOTIFY:
        OnTrayNotify(wParam, lParam);
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SYSCOLORCHANGE:
        m_client.TakeSystemColours();
        InvalidateRect(m_hWnd, nullptr, FALSE);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == ID_APP_EXIT) {
            SendMessageA(m_hWnd, WM_CLOSE, 0, 0);
            return 0;
        }
        if (m_input.OnCommand(LOWORD(wParam)))
            return 0;
        break;
    case WM_GETOBJECT:
        if (const LRESULT result = m_accessibility.OnGetObject(wParam, lParam))
            return result;
        break;
    case WM_DESTROY:
        // A screen reader may hold the client area's objects longer.
        m_accessibility.Disconnect();
        KillTimer(m_hWnd, BLINK_TIMER_ID);
        m_client.SetWindow(nullptr, 1);
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY: {
        HWND hWnd = m_hWnd;
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
        m_hWnd = nullptr;
        return DefWindowProcA(hWnd, message, wParam, lParam);
    }
    default:
        break;
    }
    return DefWindowProcA(m_hWnd, message, wParam, lParam);
}
