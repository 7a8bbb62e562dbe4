// One game per user: a second start wakes the first and ends; a socket left
// behind by a crash never keeps the game from starting.

#include <gtest/gtest.h>

#include <QDir>
#include <QLocalSocket>
#include <atomic>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

#include "AppTestSupport.h"
#include "CSingleInstance.h"

namespace {

// Runs a second start on its own thread, as another process would, while
// this thread keeps the first instance's event loop turning.
bool SecondStart(const QString& name)
{
    std::atomic<int> result{-1};
    std::thread second([&] {
        CSingleInstance other;
        result = other.WakeOtherOrListen(name) ? 1 : 0;
    });
    const bool bDone = QTest::qWaitFor([&] { return result != -1; }, 20000);
    second.join();
    EXPECT_TRUE(bDone);
    return result == 1;
}

// What a crashed instance leaves: a socket file with nobody listening.
void LeaveStaleSocket(const QString& name)
{
    const QByteArray path = QDir::temp().filePath(name).toLocal8Bit();
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(static_cast<std::size_t>(path.size()), sizeof(address.sun_path));
    std::copy(path.begin(), path.end(), address.sun_path);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    close(fd);
    ASSERT_TRUE(QFile::exists(QString::fromLocal8Bit(path)));
}

TEST(SingleInstanceTest, NameIsPerUser)
{
    EXPECT_EQ(CSingleInstance::DefaultName(), QStringLiteral("orvo-%1").arg(getuid()));
}

TEST(SingleInstanceTest, FirstStartListensAndASecondStartWakesItAndEnds)
{
    const QString name = UniqueInstanceName();
    CSingleInstance first;
    int nWakes = 0;
    QObject::connect(&first, &CSingleInstance::WakeRequested, [&] { ++nWakes; });
    ASSERT_FALSE(first.WakeOtherOrListen(name));
    EXPECT_TRUE(first.IsListening());

    EXPECT_TRUE(SecondStart(name));
    EXPECT_EQ(nWakes, 1);
    EXPECT_TRUE(SecondStart(name));
    EXPECT_EQ(nWakes, 2);
}

TEST(SingleInstanceTest, SocketLeftByACrashIsClearedAndTheGameStarts)
{
    const QString name = UniqueInstanceName();
    LeaveStaleSocket(name);
    CSingleInstance first;
    EXPECT_FALSE(first.WakeOtherOrListen(name));
    EXPECT_TRUE(first.IsListening());
}

TEST(SingleInstanceTest, OtherMessagesWakeNobody)
{
    const QString name = UniqueInstanceName();
    CSingleInstance first;
    int nWakes = 0;
    QObject::connect(&first, &CSingleInstance::WakeRequested, [&] { ++nWakes; });
    ASSERT_FALSE(first.WakeOtherOrListen(name));

    QLocalSocket stranger;
    stranger.connectToServer(name);
    ASSERT_TRUE(stranger.waitForConnected(2000));
    stranger.write("hello\n");
    stranger.flush();
    EXPECT_TRUE(QTest::qWaitFor([&] { return stranger.state() == QLocalSocket::UnconnectedState; }, 5000));
    EXPECT_EQ(nWakes, 0);
}

TEST(SingleInstanceTest, SecondStartBringsTheRunningGameBack)
{
    CStartedApp started;
    ASSERT_TRUE(started.Started());
    CMainFrame& frame = started.Frame();

    frame.showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame.isMinimized(); }, 2000));
    EXPECT_TRUE(SecondStart(started.App().InstanceName()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !frame.isMinimized(); }, 2000));

    frame.hide();
    EXPECT_TRUE(SecondStart(started.App().InstanceName()));
    EXPECT_TRUE(frame.isVisible());
    EXPECT_FALSE(frame.HasTrayIcon());
}

}  // namespace
