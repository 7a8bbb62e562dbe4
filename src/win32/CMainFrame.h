// SPDX-License-Identifier: MIT
#pragma once

#include "CAppShell.h"
#include "CBoardAccessibility.h"
#include "CClientArea.h"

// The main window: a one-line menu over the 308 x 348 client area (times
// the whole scale factor of the monitor it is on), fixed in size, centred at
// every start. Paints, mouse releases (in device pixels), the board's keys,
// blink ticks and commands go to its CAppInput; Esc hides the window into
// the notification area and the icon's click, or a second start, brings it
// back. It knows nothing of the game; a screen reader reads the client
// area through CBoardAccessibility.
class CMainFrame : public CAppWindow {
public:
    static constexpr const char* kClassName = "OrvoWindow";
    static constexpr UINT kTrayIconId = 128;

    // input must outlive the frame.
    explicit CMainFrame(CAppInput& input) : m_input(input) {}
    ~CMainFrame();
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // The whole factor for a density in dots per inch, at least 1, rounded
    // as on Linux (144 and up is 2): the board is never scaled by a fraction.
    static int ScaleForDpi(int nDpi);

    static bool RegisterWindowClass(HINSTANCE hInstance);
    static void UnregisterWindowClass(HINSTANCE hInstance);

    // Creates the window, hidden, with menu and accelerators 128.
    bool Create(HINSTANCE hInstance, const char* pTitle, int nScale);
    void CenterWindow();
    HWND GetSafeHwnd() const { return m_hWnd; }
    HACCEL Accelerators() const { return m_hAccel; }
    CClientArea& ClientWindow() override { return m_client; }
    int Scale() const override { return m_client.Scale(); }
    void Show() override;
    bool IsShown() const override { return IsWindowVisible(m_hWnd) != FALSE; }

    void StartBlinkTimer(unsigned nIntervalMs) override;
    void StopBlinkTimer() override;
    // The menu's check mark beside the sound switch.
    void SetSoundChecked(bool bOn) override;
    void OnReadingChanged(const CBoardReader& reader) override;

    void HideToTray();
    void OnTrayNotify(WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    // The window moved to a monitor of another density: the system
    // suggests where it goes; the board takes the new whole factor.
    void OnDpiChanged(int nDpi, const RECT& suggested);
    void FitClientArea();

    HWND m_hWnd = nullptr;
    HACCEL m_hAccel = nullptr;
    CAppInput& m_input;
    CClientArea m_client;
    CBoardAccessibility m_accessibility;
};
