// SPDX-License-Identifier: MIT
#include "CQtGameApp.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTranslator>

#include "AppIdentity.h"
#include "CQtAboutDlg.h"
#include "CDialogLayout.h"
#include "CQtHeroBoardDlg.h"
#include "CIniProfile.h"
#include "CQtMainFrame.h"
#include "CQtNewHeroDlg.h"
#include "CProfileLocation.h"
#include "CQtRulesDlg.h"
#include "CSingleInstance.h"

CQtGameApp::CQtGameApp() = default;

CQtGameApp::~CQtGameApp()
{
    delete m_pMainWnd;
}

void CQtGameApp::SetUpBeforeApplication()
{
    // The board is drawn pixel for pixel: scale it by whole factors only.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
}

void CQtGameApp::SetUpApplication()
{
    QCoreApplication::setApplicationName("orvo");
    QCoreApplication::setApplicationVersion(ORVO_VERSION);
    QGuiApplication::setDesktopFileName(ORVO_APP_ID);
    QApplication::setWindowIcon(CQtMainFrame::MainIcon());
    LoadQtTranslation();
}

void CQtGameApp::LoadQtTranslation()
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

CQtMainFrame* CQtGameApp::MainFrame() const
{
    return m_pMainWnd;
}

bool CQtGameApp::InitInstance()
{
    if (!m_controller.InitInstance())
        return false;
    // What the start needed only for a moment (reading the fonts'
    // configuration above all) goes back to the system.
    m_heapTrim.Soon();
    return true;
}

CAppShell::OtherInstance CQtGameApp::WakeOtherInstance()
{
    const bool bWayland = QGuiApplication::platformName() == QLatin1String("wayland");
    const std::string name = m_strInstanceName.isEmpty() ? CSingleInstance::DefaultName(bWayland)
                                                         : m_strInstanceName.toStdString();
    m_pInstance = std::make_unique<CSingleInstance>(name);
    m_pInstance->SetWakeHandler([this](const std::string& token) {
        if (m_pMainWnd)
            m_pMainWnd->Wake(QByteArray::fromStdString(token));
    });
    const OtherInstance found = m_pInstance->Claim();
    if (m_pInstance->IsListening()) {
        m_pInstanceNotifier =
            std::make_unique<QSocketNotifier>(m_pInstance->EventFd(), QSocketNotifier::Read);
        connect(m_pInstanceNotifier.get(), &QSocketNotifier::activated, this,
                [this] { m_pInstance->OnReadable(); });
    }
    return found;
}

CProfile* CQtGameApp::OpenProfile()
{
    m_pProfile = m_strProfilePath.isEmpty()
                     ? CProfileLocation::OpenForThisProgram()
                     : std::make_unique<CIniProfile>(m_strProfilePath.toStdString());
    return m_pProfile.get();
}

CAppWindow* CQtGameApp::CreateMainWindow(CAppInput& input)
{
    m_pMainWnd = new CQtMainFrame(input);
    // Closing deletes the frame; nothing may draw on it after that.
    connect(m_pMainWnd, &QObject::destroyed, this, [this] { m_controller.OnMainWindowClosed(); });
    m_pMainWnd->CenterWindow();
    return m_pMainWnd;
}

void CQtGameApp::ShowNotice(NoticeKind kind, const std::string& caption, const std::string& text)
{
    const bool bWarning = kind == NoticeKind::Warning;
    QMessageBox box(bWarning ? QMessageBox::Warning : QMessageBox::Information,
                    QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::NoButton, m_pMainWnd);
    box.setObjectName(bWarning ? "WarningBox" : "NoticeBox");
    box.setDefaultButton(box.addButton(CDialogLayout::OkText(), QMessageBox::AcceptRole));
    box.exec();
}

bool CQtGameApp::AskName(std::string& name)
{
    CQtNewHeroDlg dlg(m_pMainWnd);
    dlg.m_strName = name;
    if (dlg.DoModal() != QDialog::Accepted)
        return false;
    name = dlg.m_strName;
    return true;
}

void CQtGameApp::ShowHeroBoard(const CHeroList& heroes)
{
    CQtHeroBoardDlg dlg(heroes, m_pMainWnd);
    dlg.DoModal();
}

void CQtGameApp::ShowRules(const std::string& text)
{
    CQtRulesDlg dlg(m_pMainWnd);
    dlg.m_strText = text;
    dlg.DoModal();
}

void CQtGameApp::ShowAbout()
{
    CQtAboutDlg dlg(m_pMainWnd);
    dlg.DoModal();
}
