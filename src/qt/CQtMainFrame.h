// SPDX-License-Identifier: MIT
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>

#include "CAppShell.h"

class CClientWidget;
class CClientWindow;
class CDC;
class QAction;
class QMenu;
class QWindow;
namespace QtUi {
struct MenuEntry;
}

// The main window: a one-line menu over the 308 x 348 client area, fixed in
// size, centred at every start. It reports mouse releases, blink ticks and
// menu commands as signals for the application to connect, asks its painter
// for the client area's picture, and hides itself into the notification
// area on Esc. It knows nothing of the game.
class CQtMainFrame : public QMainWindow, public CAppWindow {
    Q_OBJECT

public:
    CQtMainFrame();
    ~CQtMainFrame() override;

    // The main icon, IDR_MAINFRAME, in every size the program carries.
    static QIcon MainIcon();

    CClientWindow& ClientWindow() override;
    QWidget* ClientWidget();
    // Centred now, and again once the window manager has put its border
    // round the window: the bordered window is what sits in the middle.
    void CenterWindow();

    // Draws the whole client area whenever it must be painted anew.
    void SetPainter(std::function<void(CDC&)> painter) { m_painter = std::move(painter); }
    void Show() override { show(); }
    bool IsShown() const override { return isVisible(); }
    // The menu's check mark for the sound switch.
    void SetSoundChecked(bool bOn) override;

    // The blink timer: BlinkTick comes every 500 ms only while it runs.
    void StartBlinkTimer() override;
    void StopBlinkTimer() override;
    bool IsBlinkTimerRunning() const { return m_blinkTimer.isActive(); }

    // Esc: into the notification area, or onto the task bar where the
    // desktop has no notification area.
    void HideToTray();
    bool HasTrayIcon() const { return m_pTrayIcon != nullptr; }
    // A click on the icon or a second start: out of the tray, restored and
    // in front. A Wayland compositor lets a window come forward only with
    // an activation token, which a second start may bring.
    void Wake(const QByteArray& activationToken = QByteArray());

    // Forwarded by the client area.
    void OnPaint(CDC& dc);
    void OnLButtonUp(int x, int y);
    void OnRButtonUp(int x, int y);

Q_SIGNALS:
    void LButtonUp(int x, int y);
    void RButtonUp(int x, int y);
    void BlinkTick();
    // A menu item or its key, by its command number (Exit closes the window).
    void Command(unsigned nId);

protected:
    void showEvent(QShowEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void MoveToCentre();
    void CreateMenu();
    QAction* AddCommand(QMenu* pMenu, const QtUi::MenuEntry& item);
    static bool IsWayland();
    void OnStatesReported(QWindow* pWindow);
    void Remake();
    void OnTimer();
    void OnTrayActivated(QSystemTrayIcon::ActivationReason reason);
    void RemoveTrayIcon();

    CClientWidget* m_pClient = nullptr;
    QAction* m_pSoundAction = nullptr;
    QSystemTrayIcon* m_pTrayIcon = nullptr;
    QTimer m_blinkTimer;
    std::function<void(CDC&)> m_painter;
    bool m_bCentreWhenShown = false;
    bool m_bWatchingStates = false;
    // Handed to the compositor to minimise, and not active since.
    bool m_bMaybeMinimised = false;
    // Maximised by a Wayland compositor: shows nothing until made anew.
    bool m_bHeldForRemake = false;
    QElapsedTimer m_lastRemake;
};
