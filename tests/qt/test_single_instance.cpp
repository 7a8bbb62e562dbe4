// SPDX-License-Identifier: MIT
// The single-instance guard in the program: a second start brings the
// running game back, and one that finds it stopped says so and ends. The
// guard's own rules are tested with it, in platform_linux.

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <atomic>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

#include "AppIdentity.h"
#include "AppTestSupport.h"
#include "CSingleInstance.h"
#include "Texts.h"

// Outcomes by name in a failure's message.
void PrintTo(CAppShell::OtherInstance outcome, std::ostream* pOut)
{
    static const char* const kNames[] = {"None", "Woken", "NoAnswer"};
    *pOut << kNames[static_cast<int>(outcome)];
}

namespace {

using OtherInstance = CAppShell::OtherInstance;

// Runs a second start on its own thread, as another process would, while
// this thread keeps the running game's event loop turning.
OtherInstance SecondStart(const QString& name)
{
    std::atomic<bool> bDecided{false};
    OtherInstance result = OtherInstance::None;
    std::thread second([&] {
        CSingleInstance other(name.toStdString());
        result = other.Claim();
        bDecided = true;
    });
    const bool bDone = QTest::qWaitFor([&] { return bDecided.load(); }, 20000);
    second.join();
    EXPECT_TRUE(bDone);
    return result;
}

// A start that finds the game stopped tells the player, in a box and on
// stderr, and ends with a failure of its own instead of a window.
TEST(SingleInstanceAppTest, StartThatGetsNoAnswerSaysSoAndFails)
{
    const QString name = UniqueInstanceName();
    const std::string path = CSingleInstance::RendezvousFolder() + '/' + name.toStdString();
    ASSERT_LT(path.size(), sizeof(sockaddr_un::sun_path));
    // A game of ours that takes calls but never answers, as one stopped
    // with kill -STOP does.
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(listen(listener, 8), 0);

    QTemporaryDir settings;
    CQtGameApp app;
    app.SetInstanceName(name);
    app.SetProfilePath(settings.filePath("orvo.ini"));
    std::string said;
    {
        CModalScript script({[](QWidget* pModal) {
            auto* pBox = qobject_cast<QMessageBox*>(pModal);
            ASSERT_NE(pBox, nullptr);
            EXPECT_EQ(pBox->windowTitle(), QString::fromUtf8(ORVO_APP_TITLE));
            EXPECT_EQ(pBox->text(), QString::fromUtf8(TXT_OTHER_NO_ANSWER));
            EXPECT_EQ(pBox->icon(), QMessageBox::Warning);
            ASSERT_EQ(pBox->buttons().size(), 1);
            pBox->buttons().front()->click();
        }});
        // Only the game's own words: the offscreen platform's notes go elsewhere.
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        testing::internal::CaptureStderr();
        EXPECT_FALSE(app.InitInstance());
        said = testing::internal::GetCapturedStderr();
        qInstallMessageHandler(previous);
    }
    close(listener);
    unlink(path.c_str());
    EXPECT_NE(app.ExitCode(), 0);
    EXPECT_EQ(said,
              "orvo: another game is running here but does not answer; close it and try again\n");
    EXPECT_EQ(app.MainFrame(), nullptr);
}

TEST(SingleInstanceAppTest, SecondStartBringsTheRunningGameBack)
{
    CStartedApp started;
    ASSERT_TRUE(started.Started());
    CQtMainFrame& frame = started.Frame();

    frame.showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame.isMinimized(); }, 2000));
    EXPECT_EQ(SecondStart(started.InstanceName()), OtherInstance::Woken);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !frame.isMinimized(); }, 2000));

    frame.hide();
    EXPECT_EQ(SecondStart(started.InstanceName()), OtherInstance::Woken);
    EXPECT_TRUE(frame.isVisible());
    EXPECT_FALSE(frame.HasTrayIcon());
}

}  // namespace
