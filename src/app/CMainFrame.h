#pragma once

#include <QMainWindow>
#include <QSystemTrayIcon>
#include <QTimer>

class CClientWidget;
class CClientWindow;
class CDC;
class QAction;
class QMenu;

// The main window: a one-line menu over the 308 x 348 client area, fixed in
// size, centred at every start. It forwards paint, mouse releases and blink
// ticks to the game through the application object, and hides itself into
// the notification area on Esc.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    CMainFrame();
    ~CMainFrame() override;

    CClientWindow& ClientWindow();
    QWidget* ClientWidget();
    void CenterWindow();

    // The blink timer: 500 ms ticks reach the game only while it runs.
    void StartBlinkTimer();
    void StopBlinkTimer();
    bool IsBlinkTimerRunning() const { return m_blinkTimer.isActive(); }

    // Esc: into the notification area, or onto the task bar where the
    // desktop has no notification area.
    void HideToTray();
    bool HasTrayIcon() const { return m_pTrayIcon != nullptr; }
    // A click on the icon or a second start: out of the tray, restored and
    // in front.
    void Wake();

    // Forwarded by the client area.
    void OnPaint(CDC& dc);
    void OnLButtonUp(int x, int y);
    void OnRButtonUp(int x, int y);

private:
    void CreateMenu();
    QAction* AddCommand(QMenu* pMenu, const char* pText, const char* pId, int nKey);
    void OnTimer();
    void OnTrayActivated(QSystemTrayIcon::ActivationReason reason);
    void RemoveTrayIcon();

    CClientWidget* m_pClient = nullptr;
    QAction* m_pSoundAction = nullptr;
    QSystemTrayIcon* m_pTrayIcon = nullptr;
    QTimer m_blinkTimer;
};
