// SPDX-License-Identifier: MIT
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QSystemTrayIcon>
#include <QTimer>

#include "CAppShell.h"

class CClientWidget;
class CClientWindow;
class QAction;
class QMenu;
class QMenuBar;
class QWindow;
namespace QtUi {
struct MenuEntry;
}

// The main window: a one-line menu over the 308 x 348 client area, fixed in
// size, centred at every start. Paints, mouse releases, the board's keys,
// blink ticks and menu commands go to its CAppInput; Esc hides the window
// into the notification area. On Wayland a title bar of its own sits over
// the menu (see DrawsOwnTitleBar). It knows nothing of the game.
class CQtMainFrame : public QMainWindow, public CAppWindow {
    Q_OBJECT

public:
    // input must outlive the frame.
    explicit CQtMainFrame(CAppInput& input);
    ~CQtMainFrame() override;

    // The main icon, IDR_MAINFRAME, in every size the program carries.
    static QIcon MainIcon();

    CClientWindow& ClientWindow() override;
    int Scale() const override;
    QWidget* ClientWidget();
    // Centred now, and again once the window manager has put its border
    // round the window: the bordered window is what sits in the middle.
    void CenterWindow();

    void Show() override { show(); }
    bool IsShown() const override { return isVisible(); }
    // The menu's check mark for the sound switch.
    void SetSoundChecked(bool bOn) override;
    void OnReadingChanged(const CBoardReader& reader) override;

    void StartBlinkTimer(unsigned nIntervalMs) override;
    void StopBlinkTimer() override;

    // Esc: into the notification area, or onto the task bar where the
    // desktop has no notification area.
    void HideToTray();
    bool HasTrayIcon() const { return m_pTrayIcon != nullptr; }
    // A click on the icon or a second start: out of the tray, restored and
    // in front. A Wayland compositor lets a window come forward only with
    // an activation token, which a second start may bring.
    void Wake(const QByteArray& activationToken = QByteArray());

protected:
    // The board's keys go to the input.
    void keyPressEvent(QKeyEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void MoveToCentre();
    void CreateMenu();
    static bool DrawsOwnTitleBar();
    void CreateTitleBar();
    QAction* AddCommand(QMenu* pMenu, const QtUi::MenuEntry& item);
    static bool IsWayland();
    void OnStatesReported(QWindow* pWindow);
    void Remake();
    void OnTimer();
    void OnTrayActivated(QSystemTrayIcon::ActivationReason reason);
    void RemoveTrayIcon();

    CAppInput& m_input;
    CClientWidget* m_pClient = nullptr;
    // Under the game's own title bar where it has one; QMainWindow::menuBar()
    // would then make a second one.
    QMenuBar* m_pMenuBar = nullptr;
    QAction* m_pSoundAction = nullptr;
    QSystemTrayIcon* m_pTrayIcon = nullptr;
    // A child, so that a test can find it by its name.
    QTimer* m_pBlinkTimer = nullptr;
    bool m_bCentreWhenShown = false;
    bool m_bWatchingStates = false;
    // Handed to the compositor to minimise, and not active since.
    bool m_bMaybeMinimised = false;
    // Maximised by a Wayland compositor: shows nothing until made anew.
    bool m_bHeldForRemake = false;
    QElapsedTimer m_lastRemake;
};
