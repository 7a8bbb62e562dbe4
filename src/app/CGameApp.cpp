// SPDX-License-Identifier: MIT
#include "CGameApp.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "AppIdentity.h"
#include "CAboutDlg.h"
#include "CDC.h"
#include "CGame.h"
#include "CHeroBoardDlg.h"
#include "CIniProfile.h"
#include "CMainFrame.h"
#include "CProfileLocation.h"
#include "CRulesDlg.h"

CGameApp::CGameApp()
{
    connect(&m_instance, &CSingleInstance::WakeRequested, this, [this] {
        if (m_pMainWnd)
            m_pMainWnd->Wake();
    });
}

CGameApp::~CGameApp()
{
    delete m_pMainWnd;
}

void CGameApp::SetUpBeforeApplication()
{
    // The board is drawn pixel for pixel: scale it by whole factors only.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
}

void CGameApp::SetUpApplication()
{
    QCoreApplication::setApplicationName("orvo");
    QCoreApplication::setApplicationVersion(ORVO_VERSION);
    QGuiApplication::setDesktopFileName(ORVO_APP_ID);
    QApplication::setWindowIcon(CMainFrame::MainIcon());
    LoadQtTranslation();
}

void CGameApp::LoadQtTranslation()
{
    // The game speaks Chinese whatever the desktop's language, so Qt's own
    // texts (a line edit's context menu, standard buttons) must too. Without
    // the translations installed they stay English; the game still runs.
    static QTranslator s_qtTranslator;
    if (s_qtTranslator.isEmpty() &&
        s_qtTranslator.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                            QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&s_qtTranslator);
}

CMainFrame* CGameApp::MainFrame() const
{
    return m_pMainWnd;
}

bool CGameApp::InitInstance()
{
    if (m_strInstanceName.isEmpty())
        m_strInstanceName = CSingleInstance::DefaultName();
    if (m_instance.WakeOtherOrListen(m_strInstanceName))
        return false;

    if (m_strProfilePath.isEmpty())
        m_strProfilePath = CProfileLocation::Locate(QCoreApplication::applicationFilePath());
    if (m_strProfilePath.isEmpty())
        return false;
    m_pProfile = std::make_unique<CIniProfile>(m_strProfilePath.toStdString());
    m_session.LoadSettings(*m_pProfile);

    CreateMainFrame();
    m_session.View().Attach(&m_pMainWnd->ClientWindow());
    // The first three balls fall while the window is still hidden.
    Game().NewGame();
    m_pMainWnd->show();
    // What the start needed only for a moment (reading the fonts'
    // configuration above all) goes back to the system.
    m_heapTrim.Soon();
    return true;
}

void CGameApp::CreateMainFrame()
{
    m_pMainWnd = new CMainFrame;
    m_session.SetFrame(m_pMainWnd);
    // Closing deletes the frame; nothing may draw on it after that.
    connect(m_pMainWnd, &QObject::destroyed, this, [this] { m_session.View().Attach(nullptr); });
    ConnectMainFrame();
    m_pMainWnd->SetSoundChecked(Game().IsSoundOn());
    m_pMainWnd->CenterWindow();
}

void CGameApp::ConnectMainFrame()
{
    CMainFrame* pFrame = m_pMainWnd;
    CGame& game = Game();
    pFrame->SetPainter([this](CDC& dc) { PaintGame(dc); });
    connect(pFrame, &CMainFrame::LButtonUp, this, [&game](int x, int y) { game.OnClick(0, x, y); });
    connect(pFrame, &CMainFrame::RButtonUp, this,
            [&game](int x, int y) { game.OnRightClick(0, x, y); });
    connect(pFrame, &CMainFrame::BlinkTick, this, [&game] { game.OnBlinkTimer(BLINK_TIMER_ID); });
    connect(pFrame, &CMainFrame::GameNew, this, &CGameApp::OnGameNew);
    connect(pFrame, &CMainFrame::GameHeroes, this, &CGameApp::OnGameHeroes);
    connect(pFrame, &CMainFrame::GameSound, this, &CGameApp::OnGameSound);
    connect(pFrame, &CMainFrame::HelpRules, this, &CGameApp::OnHelpRules);
    connect(pFrame, &CMainFrame::AppAbout, this, &CGameApp::OnAppAbout);
}

void CGameApp::PaintGame(CDC& dc)
{
    m_session.View().Paint(dc, Game());
}

void CGameApp::OnAppAbout()
{
    CAboutDlg dlg(m_pMainWnd);
    dlg.DoModal();
}

void CGameApp::OnHelpRules()
{
    CRulesDlg dlg(m_pMainWnd);
    dlg.m_strText = CRulesDlg::RulesText();
    dlg.DoModal();
}

void CGameApp::OnGameNew()
{
    Game().NewGame();
}

void CGameApp::OnGameSound()
{
    const bool bOn = m_session.SwitchSound();
    if (m_pMainWnd)
        m_pMainWnd->SetSoundChecked(bOn);
}

void CGameApp::OnGameHeroes()
{
    CHeroBoardDlg dlg(Heroes(), m_pMainWnd);
    dlg.DoModal();
}
