// SPDX-License-Identifier: MIT
#pragma once

// What the window tests share: the QApplication (offscreen, set up exactly
// as the program does it), a started game in a temporary folder, and a way
// to play the user in modal dialogs that a command or a move opens.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPointer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "CQtGameApp.h"
#include "CQtMainFrame.h"

class CQtAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        CQtGameApp::SetUpBeforeApplication();
        m_pApp = std::make_unique<QApplication>(m_argc, m_argv);
        CQtGameApp::SetUpApplication();
        // Settings that fall back to the configuration folder stay in the
        // test's own corner of it.
        QStandardPaths::setTestModeEnabled(true);
    }
    void TearDown() override { m_pApp.reset(); }

private:
    int m_argc = 1;
    char m_name[16] = "orvo_app_test";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_pApp;
};

[[maybe_unused]] inline const auto* const g_pQtAppEnvironment =
    ::testing::AddGlobalTestEnvironment(new CQtAppEnvironment);

// A name no running game or other test uses.
inline QString UniqueInstanceName()
{
    static int s_nCounter = 0;
    return QStringLiteral("orvo-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(++s_nCounter);
}

inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// A game started as the program starts it, with its settings file in a
// fresh folder; iniText, when given, is that file's content beforehand.
class CStartedApp {
public:
    explicit CStartedApp(const QByteArray& iniText = QByteArray())
    {
        m_strIni = m_dir.filePath("orvo.ini");
        if (!iniText.isNull())
            WriteFile(m_strIni, iniText);
        m_app.SetInstanceName(m_strInstanceName);
        m_app.SetProfilePath(m_strIni);
        m_bStarted = m_app.InitInstance();
        // Until the window is on the screen nothing can be drawn on it.
        if (m_bStarted)
            m_bStarted = QTest::qWaitForWindowExposed(m_app.MainFrame());
    }

    bool Started() const { return m_bStarted; }
    CQtGameApp& App() { return m_app; }
    CGame& Game() { return m_app.Game(); }
    CQtMainFrame& Frame() { return *m_app.MainFrame(); }
    const QString& IniPath() const { return m_strIni; }
    const QString& InstanceName() const { return m_strInstanceName; }
    QByteArray IniText() const { return ReadFile(m_strIni); }

    // Shortcuts reach only the active window.
    bool Activate()
    {
        Frame().activateWindow();
        return QTest::qWaitForWindowActive(&Frame());
    }

private:
    QTemporaryDir m_dir;
    QString m_strIni;
    QString m_strInstanceName = UniqueInstanceName();
    CQtGameApp m_app;
    bool m_bStarted = false;
};

// Plays the user in the modal windows that open while the test is blocked
// in an action: each handler gets the next modal window once it is up and
// must close it. A window left open (or one too many) fails the test and is
// closed, so that a broken test never hangs.
class CModalScript : public QObject {
public:
    using Handler = std::function<void(QWidget*)>;

    explicit CModalScript(std::vector<Handler> handlers) : m_handlers(std::move(handlers))
    {
        connect(&m_poll, &QTimer::timeout, this, &CModalScript::Poll);
        m_poll.start(20);
    }
    ~CModalScript() override
    {
        EXPECT_EQ(m_nNext, m_handlers.size()) << "fewer modal windows opened than expected";
    }

private:
    void Poll()
    {
        QWidget* pModal = QApplication::activeModalWidget();
        if (!pModal || pModal == m_pLast || !pModal->isVisible())
            return;
        m_pLast = pModal;
        if (m_nNext < m_handlers.size()) {
            m_handlers[m_nNext++](pModal);
        } else {
            ADD_FAILURE() << "unexpected modal window " << pModal->metaObject()->className();
        }
        // Whatever the handler did, the window must not stay up.
        if (pModal->isVisible()) {
            if (auto* pDialog = qobject_cast<QDialog*>(pModal))
                pDialog->reject();
            else
                pModal->close();
        }
    }

    std::vector<Handler> m_handlers;
    std::size_t m_nNext = 0;
    QPointer<QWidget> m_pLast;
    QTimer m_poll;
};
