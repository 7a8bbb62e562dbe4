#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

#include "CAppOutput.h"
#include "CGame.h"
#include "CGameView.h"
#include "CHeroList.h"
#include "CMainFrame.h"
#include "CSingleInstance.h"

class CDC;
class CIniProfile;

// The application object: owns the game, the top-ten list and the view for
// the whole run, starts up in a fixed order, and handles every command of
// the menu and the keys. One exists at a time; the window reaches it
// through Get().
class CGameApp : public QObject {
    Q_OBJECT

public:
    CGameApp();
    ~CGameApp() override;
    CGameApp(const CGameApp&) = delete;
    CGameApp& operator=(const CGameApp&) = delete;

    static CGameApp* Get() { return s_pApp; }
    // Process-wide settings that must precede QApplication.
    static void SetUpBeforeApplication();
    // Name, version and icon of the process; call once after QApplication.
    static void SetUpApplication();
    // The main icon, IDR_MAINFRAME, in every size the program carries.
    static QIcon MainIcon();

    // Where this instance meets the others, and where its settings live.
    // Start-up derives both itself unless they are set before InitInstance.
    void SetInstanceName(const QString& strName) { m_strInstanceName = strName; }
    const QString& InstanceName() const { return m_strInstanceName; }
    void SetProfilePath(const QString& strPath) { m_strProfilePath = strPath; }
    const QString& ProfilePath() const { return m_strProfilePath; }

    // False when the program must end at once: another instance runs (and
    // has been woken) or the settings file cannot be placed anywhere.
    bool InitInstance();

    CGame& Game() { return m_game; }
    CHeroList& Heroes() { return m_heroes; }
    CAppOutput& Output() { return m_output; }
    CMainFrame* MainFrame() const { return m_pMainWnd; }
    // The whole client area, drawn from the game state.
    void PaintGame(CDC& dc);

    // The menu's check mark for the sound switch.
    bool OnUpdateGameSound() const { return m_game.IsSoundOn(); }

public Q_SLOTS:
    void OnAppAbout();
    void OnHelpRules();
    void OnGameNew();
    void OnGameSound();
    void OnGameHeroes();

private:
    void CreateMainFrame();

    static CGameApp* s_pApp;

    CGame m_game;
    CHeroList m_heroes;
    CGameView m_view;
    CAppOutput m_output;
    std::unique_ptr<CIniProfile> m_pProfile;
    CSingleInstance m_instance;
    QPointer<CMainFrame> m_pMainWnd;
    QString m_strInstanceName;
    QString m_strProfilePath;
};
