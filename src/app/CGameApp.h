// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

#include "CAppOutput.h"
#include "CHeapTrim.h"
#include "CSingleInstance.h"

class CDC;
class CGame;
class CHeroList;
class CIniProfile;
class CMainFrame;

// The application object: owns the game session for the whole run, starts
// up in a fixed order, creates the main window and connects its clicks,
// ticks and commands to the game and to the command handlers below.
class CGameApp : public QObject {
    Q_OBJECT

public:
    CGameApp();
    ~CGameApp() override;
    CGameApp(const CGameApp&) = delete;
    CGameApp& operator=(const CGameApp&) = delete;

    // Process-wide settings that must precede QApplication.
    static void SetUpBeforeApplication();
    // Name, version and icon of the process; call once after QApplication.
    static void SetUpApplication();
    // Qt's own Chinese texts, where the system has them.
    static void LoadQtTranslation();

    // Where this instance meets the others, and where its settings live.
    // Start-up derives both itself unless they are set before InitInstance.
    void SetInstanceName(const QString& strName) { m_strInstanceName = strName; }
    const QString& InstanceName() const { return m_strInstanceName; }
    void SetProfilePath(const QString& strPath) { m_strProfilePath = strPath; }
    const QString& ProfilePath() const { return m_strProfilePath; }

    // False when the program must end at once: another instance runs (and
    // has been woken) or the settings file cannot be placed anywhere.
    bool InitInstance();

    CGame& Game() { return m_session.Game(); }
    CHeroList& Heroes() { return m_session.Heroes(); }
    CAppOutput& Output() { return m_session; }
    CMainFrame* MainFrame() const;
    // The whole client area, drawn from the game state.
    void PaintGame(CDC& dc);

public Q_SLOTS:
    void OnAppAbout();
    void OnHelpRules();
    void OnGameNew();
    void OnGameSound();
    void OnGameHeroes();

private:
    void CreateMainFrame();
    void ConnectMainFrame();

    CAppOutput m_session;
    std::unique_ptr<CIniProfile> m_pProfile;
    CSingleInstance m_instance;
    QPointer<CMainFrame> m_pMainWnd;
    QString m_strInstanceName;
    QString m_strProfilePath;
    CHeapTrim m_heapTrim;
};
