// SPDX-License-Identifier: MIT
#pragma once

#include "CClientArea.h"

// The main window: a one-line menu over the 308 x 348 client area (times
// the screen's whole scale factor), fixed in size, centred at every start.
// Paint, mouse releases and blink ticks go to the game through the
// application object; Esc hides the window into the notification area and
// the icon's click, or a second start, brings it back.
class CMainFrame {
public:
    static constexpr const char* kClassName = "OrvoWindow";
    static constexpr UINT kTrayIconId = 128;

    CMainFrame() = default;
    ~CMainFrame();
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    static bool RegisterWindowClass(HINSTANCE hInstance);
    static void UnregisterWindowClass(HINSTANCE hInstance);

    // Creates the window, hidden, with menu and accelerators 128.
    bool Create(HINSTANCE hInstance, const char* pTitle, int nScale);
    void CenterWindow();
    HWND GetSafeHwnd() const { return m_hWnd; }
    HACCEL Accelerators() const { return m_hAccel; }
    CClientArea& ClientWindow() { return m_client; }

    void StartBlinkTimer();
    void StopBlinkTimer();

    void HideToTray();
    void OnTrayNotify(WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void FitClientArea();

    HWND m_hWnd = nullptr;
    HACCEL m_hAccel = nullptr;
    CClientArea m_client;
};
