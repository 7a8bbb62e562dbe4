#include "CGameApp.h"

#include <QApplication>
#include <QPixmap>
#include <cassert>

#include "AppIdentity.h"
#include "CAboutDlg.h"
#include "CDC.h"
#include "CHeroBoardDlg.h"
#include "CIniProfile.h"
#include "CMainFrame.h"
#include "CProfileLocation.h"
#include "CResources.h"
#include "CRulesDlg.h"
#include "resource.h"

namespace {

const char* const kConfigSection = "CONFIG";
const char* const kSoundKey = "PlaySound";

}  // namespace

CGameApp* CGameApp::s_pApp = nullptr;

CGameApp::CGameApp()
    : m_view(CGameView::LoadBallStrip()), m_output(m_game, m_heroes, m_view)
{
    assert(!s_pApp);
    s_pApp = this;
    m_game.SetOutput(&m_output);
    m_heroes.SetPrompt(&m_output);
    connect(&m_instance, &CSingleInstance::WakeRequested, this, [this] {
        if (m_pMainWnd)
            m_pMainWnd->Wake();
    });
}

CGameApp::~CGameApp()
{
    delete m_pMainWnd;
    m_game.SetOutput(nullptr);
    m_heroes.SetPrompt(nullptr);
    m_heroes.SetProfile(nullptr);
    s_pApp = nullptr;
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
    QGuiApplication::setDesktopFileName("orvo");
    QApplication::setWindowIcon(MainIcon());
}

QIcon CGameApp::MainIcon()
{
    QIcon icon;
    for (int size : {16, 32, 128}) {
        const auto resource = FindResource(CResourceType::Icon, IDR_MAINFRAME, size);
        QPixmap pixmap;
        if (resource && pixmap.loadFromData(resource->pData, static_cast<uint>(resource->nSize)))
            icon.addPixmap(pixmap);
    }
    return icon;
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
    m_game.SetSound(m_pProfile->GetProfileInt(kConfigSection, kSoundKey, 0) != 0);
    m_heroes.SetProfile(m_pProfile.get());
    m_heroes.Load();

    CreateMainFrame();
    m_view.Attach(&m_pMainWnd->ClientWindow());
    // The first three balls fall while the window is still hidden.
    m_game.NewGame();
    m_pMainWnd->show();
    return true;
}

void CGameApp::CreateMainFrame()
{
    m_pMainWnd = new CMainFrame;
    m_output.SetFrame(m_pMainWnd);
    // Closing deletes the frame; nothing may draw on it after that.
    connect(m_pMainWnd, &QObject::destroyed, this, [this] { m_view.Attach(nullptr); });
    m_pMainWnd->CenterWindow();
}

void CGameApp::PaintGame(CDC& dc)
{
    m_view.Paint(dc, m_game);
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
    m_game.NewGame();
}

void CGameApp::OnGameSound()
{
    const bool bOn = !m_game.IsSoundOn();
    m_game.SetSound(bOn);
    if (bOn)
        m_output.OnSoundSwitchedOn();
    if (m_pProfile)
        m_pProfile->WriteProfileInt(kConfigSection, kSoundKey, bOn ? 1 : 0);
}

void CGameApp::OnGameHeroes()
{
    CHeroBoardDlg dlg(m_heroes, m_pMainWnd);
    dlg.DoModal();
}
