// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

#include "CAlsaPlayer.h"
#include "CAppController.h"
#include "CHeapTrim.h"

class CGame;
class CHeroList;
class CQtMainFrame;
class CSingleInstance;
class QSocketNotifier;

// The application object on Qt: the shell that CAppController runs in. It
// brings the single-instance socket, the settings file's place, the main
// window (which reports to the controller itself) and the dialogs.
class CQtGameApp : public QObject, private CAppShell {
    Q_OBJECT

public:
    CQtGameApp();
    ~CQtGameApp() override;
    CQtGameApp(const CQtGameApp&) = delete;
    CQtGameApp& operator=(const CQtGameApp&) = delete;

    // Process-wide settings that must precede QApplication.
    static void SetUpBeforeApplication();
    // Name, version and icon of the process; call once after QApplication.
    static void SetUpApplication();
    // Qt's own Chinese texts, where the system has them.
    static void LoadQtTranslation();

    // Where this instance meets the others, and where its settings live.
    // Start-up derives both itself unless they are set before InitInstance.
    void SetInstanceName(const QString& strName) { m_strInstanceName = strName; }
    void SetProfilePath(const QString& strPath) { m_strProfilePath = strPath; }

    // CAppController::InitInstance, and a trim of the heap once it is up.
    bool InitInstance();
    int ExitCode() const { return m_controller.ExitCode(); }

    CAppController& Controller() { return m_controller; }
    CGame& Game() { return m_controller.Game(); }
    CHeroList& Heroes() { return m_controller.Heroes(); }
    CQtMainFrame* MainFrame() const;

private:
    // CAppShell
    OtherInstance WakeOtherInstance() override;
    CProfile* OpenProfile() override;
    CAppWindow* CreateMainWindow(CAppInput& input) override;
    void ShowNotice(NoticeKind kind, const std::string& caption, const std::string& text) override;
    bool AskName(std::string& name) override;
    void ShowHeroBoard(const CHeroList& heroes) override;
    void ShowRules(const std::string& text) override;
    void ShowAbout() override;

    CAlsaPlayer m_player;
    CAppController m_controller{*this, m_player};
    std::unique_ptr<CProfile> m_pProfile;
    std::unique_ptr<CSingleInstance> m_pInstance;
    // Goes before m_pInstance, whose descriptor it watches.
    std::unique_ptr<QSocketNotifier> m_pInstanceNotifier;
    QPointer<CQtMainFrame> m_pMainWnd;
    QString m_strInstanceName;
    QString m_strProfilePath;
    CHeapTrim m_heapTrim;
};
