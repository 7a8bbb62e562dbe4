// SPDX-License-Identifier: MIT
// One game per user and display: a second start wakes the first and ends.
// Nothing another user, a crash or a stray file leaves behind keeps the game
// from starting, stops it for good, or makes a start wait on a stranger.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "AppIdentity.h"
#include "AppTestSupport.h"
#include "CSingleInstance.h"
#include "NamedCase.h"
#include "Texts.h"

// Outcomes by name in a failure's message.
void PrintTo(CAppShell::OtherInstance outcome, std::ostream* pOut)
{
    static const char* const kNames[] = {"None", "Woken", "NoAnswer"};
    *pOut << kNames[static_cast<int>(outcome)];
}

namespace {

using Clock = std::chrono::steady_clock;

using OtherInstance = CAppShell::OtherInstance;

// Runs a second start on its own thread, as another process would, while
// this thread keeps the first instance's event loop turning.
OtherInstance SecondStart(const QString& name, const QByteArray& activationToken = QByteArray())
{
    std::atomic<bool> bDecided{false};
    OtherInstance result = OtherInstance::None;
    std::thread second([&] {
        CSingleInstance other;
        result = other.WakeOtherOrListen(name, activationToken);
        bDecided = true;
    });
    const bool bDone = QTest::qWaitFor([&] { return bDecided.load(); }, 20000);
    second.join();
    EXPECT_TRUE(bDone);
    return result;
}

// What the program says on stderr while a test runs.
std::vector<QString> g_said;

void Collect(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtWarningMsg)
        g_said.push_back(message);
}

// Each test meets other starts in folders of its own, and hears what the
// program says about them.
class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_runtime.isValid() && m_temp.isValid());
        m_savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        m_savedTemp = qgetenv("TMPDIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
        g_said.clear();
        m_previousHandler = qInstallMessageHandler(Collect);
    }
    void TearDown() override
    {
        qInstallMessageHandler(m_previousHandler);
        Restore("XDG_RUNTIME_DIR", m_savedRuntime);
        Restore("TMPDIR", m_savedTemp);
    }
    static void Restore(const char* pName, const QByteArray& value)
    {
        if (value.isNull())
            qunsetenv(pName);
        else
            qputenv(pName, value);
    }

    QString SocketPath(const QString& name) { return CSingleInstance::RendezvousFolder() + '/' + name; }
    // Something said on stderr that names what.
    static bool Said(const QString& what)
    {
        return std::any_of(g_said.begin(), g_said.end(), [&](const QString& s) { return s.contains(what); });
    }

    QTemporaryDir m_runtime;
    QTemporaryDir m_temp;
    QByteArray m_savedRuntime;
    QByteArray m_savedTemp;
    QtMessageHandler m_previousHandler = nullptr;
};

// A process of its own on the socket, as a crashed game, a stranger or
// another user would be. Its body runs in the forked child and may only make
// plain system calls; it reports readiness by writing to readyFd.
class CPeer {
public:
    explicit CPeer(const std::function<void(int readyFd)>& body)
    {
        int ready[2];
        if (pipe2(ready, O_CLOEXEC) != 0)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            close(ready[0]);
            body(ready[1]);
            _exit(0);
        }
        close(ready[1]);
        char c = 0;
        m_bReady = m_pid > 0 && read(ready[0], &c, 1) == 1;
        close(ready[0]);
    }
    ~CPeer() { Kill(); }
    bool Ready() const { return m_bReady; }
    // The exit code of a child that ended before it was ready, else -1.
    int ExitCode()
    {
        int status = 0;
        if (m_bReady || m_pid <= 0 || waitpid(m_pid, &status, 0) != m_pid)
            return -1;
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // As a player's kill -STOP, or a game hung hard, would leave it.
    void Stop() { kill(m_pid, SIGSTOP); }
    void Kill()
    {
        if (m_pid <= 0)
            return;
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
    bool m_bReady = false;
};

// For the child: a listening socket at path, or -1.
int ListenAt(const char* pPath)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, pPath, sizeof(address.sun_path) - 1);
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0)
        return -1;
    return fd;
}

// Calls at path without waiting until the listener's queue of calls is
// full; returns the calls, to be closed by the caller, or nothing when the
// queue never filled.
std::vector<int> FillCallQueue(const char* pPath)
{
    std::vector<int> calls;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, pPath, sizeof(address.sun_path) - 1);
    for (int i = 0; i < 256; ++i) {
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0) {
            calls.push_back(fd);
            continue;
        }
        const int nError = errno;
        close(fd);
        if (nError == EAGAIN)
            return calls;
        break;
    }
    for (const int fd : calls)
        close(fd);
    return {};
}

void SayReady(int readyFd)
{
    (void)!write(readyFd, "R", 1);
}

// For the child: answers every caller as a game would, and tells the test
// through woken each time it has been asked to wake.
[[noreturn]] void AnswerLikeAGame(int listener, int woken)
{
    for (;;) {
        const int caller = accept(listener, nullptr, nullptr);
        if (caller < 0)
            continue;
        char line[16] = {};
        if (read(caller, line, sizeof(line) - 1) > 0 && std::strcmp(line, "wake\n") == 0)
            (void)!write(woken, "W", 1);
        (void)!send(caller, "awake\n", 6, MSG_NOSIGNAL);
        close(caller);
    }
}

constexpr int kCannotDrop = 3;

uid_t NobodyUid()
{
    const passwd* pNobody = getpwnam("nobody");
    return pNobody ? pNobody->pw_uid : 65534;
}

// How a stranger can sit where a start looks: the folder name in the
// temporary folder, as a folder or as a link to one, or a socket in our own
// folder. The stranger answers like a game.
enum class CSquat { TempFolder, TempFolderLink, SocketInOurFolder };

struct SSquatCase {
    const char* name;
    CSquat where;
};

// True when every folder on the way to path lets others pass.
bool OthersCanReach(const QByteArray& path)
{
    for (QByteArray step = path; !step.isEmpty(); step.truncate(step.lastIndexOf('/'))) {
        struct stat st {};
        if (stat(step.constData(), &st) != 0 || (st.st_mode & S_IXOTH) == 0)
            return false;
    }
    return true;
}

// The stranger must reach the temporary folder that the game looks in. A
// private TMPDIR (0700, as some sessions have) would keep it out, so the
// shared folder is made where others can pass: in TMPDIR when they can, else
// in the system's own temporary folders.
QString ReachableBase()
{
    const QString candidates[] = {QDir::tempPath(), QStringLiteral("/tmp"),
                                  QStringLiteral("/var/tmp"), QStringLiteral("/dev/shm")};
    for (const QString& base : candidates) {
        if (OthersCanReach(QFile::encodeName(base)))
            return base;
    }
    return QString();
}

class SquatterTest : public SingleInstanceTest, public ::testing::WithParamInterface<SSquatCase> {};

TEST_P(SquatterTest, AnotherUserCannotStopTheGame)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "acting as another user needs root";
    const uid_t nobody = NobodyUid();
    const QString name = UniqueInstanceName();
    int woken[2];
    ASSERT_EQ(pipe2(woken, O_CLOEXEC | O_NONBLOCK), 0);

    QByteArray socketPath;
    QByteArray folder;
    QByteArray link;
    std::unique_ptr<QTemporaryDir> shared;
    if (GetParam().where == CSquat::SocketInOurFolder) {
        socketPath = QFile::encodeName(SocketPath(name));
    } else {
        // Where the program looks when there is no runtime folder: a shared
        // temporary folder like /tmp.
        const QString base = ReachableBase();
        if (base.isEmpty())
            GTEST_SKIP() << "no temporary folder that another user can reach";
        shared.reset(new QTemporaryDir(base + "/orvo-squat-XXXXXX"));
        ASSERT_TRUE(shared->isValid());
        const QByteArray temp = QFile::encodeName(shared->path());
        ASSERT_EQ(chmod(temp.constData(), 01777), 0);
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", temp);
        const QByteArray own = temp + "/orvo-" + QByteArray::number(geteuid());
        folder = GetParam().where == CSquat::TempFolder ? own : temp + "/elsewhere";
        if (GetParam().where == CSquat::TempFolderLink)
            link = own;
        socketPath = folder + '/' + QFile::encodeName(name);
    }
    const char* pFolder = folder.constData();
    const char* pLink = link.constData();
    const char* pSocket = socketPath.constData();
    const bool bBindFirst = GetParam().where == CSquat::SocketInOurFolder;
    CPeer squatter([&](int ready) {
        // A socket in our folder can only be made by root; it then listens as
        // the stranger, which is whom the kernel names as its owner.
        int listener = bBindFirst ? ListenAt(pSocket) : -1;
        if (setresgid(nobody, nobody, nobody) != 0 || setresuid(nobody, nobody, nobody) != 0)
            _exit(kCannotDrop);
        if (!bBindFirst) {
            umask(0);
            if (mkdir(pFolder, 0777) != 0 || (*pLink && symlink(pFolder, pLink) != 0))
                _exit(4);
            listener = ListenAt(pSocket);
        }
        if (listener < 0 || listen(listener, 8) != 0)
            _exit(5);
        SayReady(ready);
        AnswerLikeAGame(listener, woken[1]);
    });
    if (!squatter.Ready() && squatter.ExitCode() == kCannotDrop)
        GTEST_SKIP() << "this machine does not let root become another user";
    ASSERT_TRUE(squatter.Ready());

    CSingleInstance first;
    int nWakes = 0;
    QObject::connect(&first, &CSingleInstance::WakeRequested, [&] { ++nWakes; });
    EXPECT_EQ(first.WakeOtherOrListen(name), OtherInstance::None);
    EXPECT_TRUE(first.IsListening());
    EXPECT_FALSE(g_said.empty()) << "the stranger went unmentioned";

    // The guard still works for the starts that follow.
    EXPECT_EQ(SecondStart(name), OtherInstance::Woken);
    EXPECT_EQ(nWakes, 1);
    char c;
    EXPECT_EQ(read(woken[0], &c, 1), -1) << "the stranger was asked to wake";
    close(woken[0]);
    close(woken[1]);
}

INSTANTIATE_TEST_SUITE_P(Squatters, SquatterTest,
                         ::testing::Values(SSquatCase{"TempFolder", CSquat::TempFolder},
                                           SSquatCase{"TempFolderLink", CSquat::TempFolderLink},
                                           SSquatCase{"SocketInOurFolder", CSquat::SocketInOurFolder}),
                         CaseName());

TEST_F(SingleInstanceTest, NameIsPerDisplay)
{
    const QByteArray saved = qgetenv("DISPLAY");
    const struct {
        const char* pDisplay;
        const char* pName;
    } cases[] = {
        {":0", "orvo-:0"},
        {":0.1", "orvo-:0"},  // another screen of the same display
        {":1", "orvo-:1"},
        {"host:10.0", "orvo-host:10"},
        {"", "orvo"},
    };
    for (const auto& c : cases) {
        qputenv("DISPLAY", c.pDisplay);
        EXPECT_EQ(CSingleInstance::DefaultName(), QString::fromLatin1(c.pName)) << c.pDisplay;
    }
    Restore("DISPLAY", saved);
}

TEST_F(SingleInstanceTest, StartsOnTwoDisplaysAreTwoGames)
{
    const QByteArray saved = qgetenv("DISPLAY");
    qputenv("DISPLAY", ":7");
    CSingleInstance first;
    ASSERT_EQ(first.WakeOtherOrListen(CSingleInstance::DefaultName()), OtherInstance::None);
    qputenv("DISPLAY", ":8");
    CSingleInstance other;
    EXPECT_EQ(other.WakeOtherOrListen(CSingleInstance::DefaultName()), OtherInstance::None);
    EXPECT_TRUE(other.IsListening());
    qputenv("DISPLAY", ":7.0");
    EXPECT_EQ(SecondStart(CSingleInstance::DefaultName()), OtherInstance::Woken);
    Restore("DISPLAY", saved);
}

// Where the rendezvous lives for each state of the surroundings: always a
// real folder of this user's with no access for anyone else.
TEST_F(SingleInstanceTest, RendezvousIsAPrivateFolder)
{
    const QString runtime = m_runtime.path();
    const QString fallback = m_temp.path() + QStringLiteral("/orvo-%1").arg(geteuid());
    const struct {
        const char* pWhat;
        std::function<void()> prepare;
        QString expected;
        bool bSays;
    } cases[] = {
        {"a private runtime folder", [] {}, runtime + "/orvo", false},
        {"no runtime folder", [] { qunsetenv("XDG_RUNTIME_DIR"); }, fallback, false},
        {"a runtime folder open to others",
         [&] { chmod(QFile::encodeName(runtime).constData(), 0755); }, fallback, true},
        {"a runtime folder given as a link",
         [&] {
             QFile::link(runtime, m_temp.path() + "/run-link");
             qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_temp.path() + "/run-link"));
         },
         fallback, true},
        {"our own folder left open",
         [&] { QDir().mkpath(runtime + "/orvo"); chmod(QFile::encodeName(runtime + "/orvo").constData(), 0777); },
         runtime + "/orvo", false},
        {"a link of ours in the folder's place",
         [&] {
             QDir().mkpath(m_temp.path() + "/other");
             QFile::link(m_temp.path() + "/other", runtime + "/orvo");
         },
         runtime + "/orvo", false},
        {"a file of ours in the folder's place",
         [&] { WriteFile(runtime + "/orvo", "x"); }, runtime + "/orvo", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pWhat);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        chmod(QFile::encodeName(runtime).constData(), 0700);
        QDir(runtime + "/orvo").removeRecursively();
        QFile::remove(runtime + "/orvo");
        g_said.clear();
        c.prepare();
        EXPECT_EQ(CSingleInstance::RendezvousFolder(), c.expected);
        struct stat st {};
        ASSERT_EQ(lstat(QFile::encodeName(c.expected).constData(), &st), 0);
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_uid, geteuid());
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        EXPECT_EQ(!g_said.empty(), c.bSays);
    }
    EXPECT_TRUE(QFileInfo(m_temp.path() + "/other").isDir()) << "a link was followed";
}

TEST_F(SingleInstanceTest, FirstStartListensAndASecondStartWakesItAndEnds)
{
    const QString name = UniqueInstanceName();
    CSingleInstance first;
    int nWakes = 0;
    QObject::connect(&first, &CSingleInstance::WakeRequested, [&] { ++nWakes; });
    ASSERT_EQ(first.WakeOtherOrListen(name), OtherInstance::None);
    EXPECT_TRUE(first.IsListening());
    EXPECT_TRUE(g_said.empty());

    EXPECT_EQ(SecondStart(name), OtherInstance::Woken);
    EXPECT_EQ(nWakes, 1);
    EXPECT_EQ(SecondStart(name), OtherInstance::Woken);
    EXPECT_EQ(nWakes, 2);
}

// Whatever sits at the socket path, the game starts, and the starts after
// it find it there.
TEST_F(SingleInstanceTest, ThingsLeftAtThePathAreClearedAndTheGuardHolds)
{
    const struct {
        const char* pWhat;
        std::function<void(const QByteArray&)> leave;
        bool bSays;
    } cases[] = {
        {"a game killed with SIGKILL",
         [](const QByteArray& path) {
             const char* pPath = path.constData();
             CPeer crashed([&](int ready) {
                 const int listener = ListenAt(pPath);
                 if (listener < 0 || listen(listener, 8) != 0)
                     _exit(5);
                 SayReady(ready);
                 for (;;)
                     pause();
             });
             ASSERT_TRUE(crashed.Ready());
         },
         false},
        {"a folder with files in it",
         [](const QByteArray& path) {
             ASSERT_TRUE(QDir().mkpath(QFile::decodeName(path) + "/inner"));
             WriteFile(QFile::decodeName(path) + "/inner/file", "x");
         },
         true},
        {"a file", [](const QByteArray& path) { WriteFile(QFile::decodeName(path), "x"); }, true},
        {"a FIFO", [](const QByteArray& path) { ASSERT_EQ(mkfifo(path.constData(), 0600), 0); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pWhat);
        const QString name = UniqueInstanceName();
        const QByteArray path = QFile::encodeName(SocketPath(name));
        c.leave(path);
        g_said.clear();
        {
            CSingleInstance first;
            int nWakes = 0;
            QObject::connect(&first, &CSingleInstance::WakeRequested, [&] { ++nWakes; });
            EXPECT_EQ(first.WakeOtherOrListen(name), OtherInstance::None);
            EXPECT_TRUE(first.IsListening());
            EXPECT_EQ(!g_said.empty(), c.bSays);
            EXPECT_EQ(SecondStart(name), OtherInstance::Woken);
            EXPECT_EQ(nWakes, 1);
        }
        EXPECT_FALSE(QFile::exists(QFile::decodeName(path))) << "the game's socket outlived it";
    }
}

// However the one at the socket behaves, a start decides in about two
// seconds: a game of ours that says nothing back in that time (stopped,
// hung) is reported and this start ends; a caller that talks nonsense is
// ignored and this start becomes the game.
TEST_F(SingleInstanceTest, DecidesInTimeWhateverTheOtherSideDoes)
{
    const struct {
        const char* pWhat;
        // nullptr: answers as a game does; else sent once, then one space
        // every 200 ms when bTrickle
        const char* pAnswer;
        bool bTrickle;
        bool bStopped;
        bool bQueueFull;  // as after many starts while it was stopped
        OtherInstance outcome;
    } cases[] = {
        {"a game", nullptr, false, false, false, OtherInstance::Woken},
        {"a game stopped with SIGSTOP", nullptr, false, true, false, OtherInstance::NoAnswer},
        {"a stopped game with a full queue of calls", nullptr, false, true, true,
         OtherInstance::NoAnswer},
        {"takes the call and never answers", "", false, false, false, OtherInstance::NoAnswer},
        {"begins the answer, then falls silent", "awa", false, false, false,
         OtherInstance::NoAnswer},
        {"trickles bytes forever", "", true, false, false, OtherInstance::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pWhat);
        const QString name = UniqueInstanceName();
        const QByteArray path = QFile::encodeName(SocketPath(name));
        const char* pPath = path.constData();
        CPeer peer([&](int ready) {
            const int listener = ListenAt(pPath);
            if (listener < 0 || listen(listener, 8) != 0)
                _exit(5);
            SayReady(ready);
            if (!c.pAnswer)
                AnswerLikeAGame(listener, -1);
            const int caller = accept(listener, nullptr, nullptr);
            (void)!send(caller, c.pAnswer, std::strlen(c.pAnswer), MSG_NOSIGNAL);
            for (;;) {
                usleep(200 * 1000);
                if (c.bTrickle)
                    (void)!send(caller, " ", 1, MSG_NOSIGNAL);
            }
        });
        ASSERT_TRUE(peer.Ready());
        if (c.bStopped)
            peer.Stop();
        std::vector<int> calls;
        if (c.bQueueFull) {
            calls = FillCallQueue(pPath);
            ASSERT_FALSE(calls.empty());
        }

        const Clock::time_point start = Clock::now();
        CSingleInstance second;
        EXPECT_EQ(second.WakeOtherOrListen(name), c.outcome);
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
        EXPECT_EQ(second.IsListening(), c.outcome == OtherInstance::None);
        for (const int fd : calls)
            close(fd);
    }
}

// A game whose loop stands still for the whole wait is reported as not
// answering; if it was only busy, it still comes forward once it is free.
TEST_F(SingleInstanceTest, GameSilentForTheWholeWaitIsReportedAndWakesWhenFree)
{
    const QString name = UniqueInstanceName();
    CSingleInstance first;
    int nWakes = 0;
    QObject::connect(&first, &CSingleInstance::WakeRequested, [&] { ++nWakes; });
    ASSERT_EQ(first.WakeOtherOrListen(name), OtherInstance::None);

    OtherInstance outcome = OtherInstance::None;
    std::thread second([&] {
        CSingleInstance other;
        outcome = other.WakeOtherOrListen(name);
    });
    second.join();
    EXPECT_EQ(outcome, OtherInstance::NoAnswer);
    EXPECT_TRUE(QTest::qWaitFor([&] { return nWakes == 1; }, 5000));
}

// A launcher's activation token travels with the wake line, so that a
// Wayland compositor lets the first game come forward.
TEST_F(SingleInstanceTest, ASecondStartHandsOverItsActivationToken)
{
    const QString name = UniqueInstanceName();
    CSingleInstance first;
    std::vector<QByteArray> received;
    QObject::connect(&first, &CSingleInstance::WakeRequested,
                     [&](const QByteArray& token) { received.push_back(token); });
    ASSERT_EQ(first.WakeOtherOrListen(name, QByteArray()), OtherInstance::None);

    const QByteArray longest(400, 'x');
    const struct {
        QByteArray sent;
        QByteArray arrives;
    } cases[] = {
        {"kwin-42_TIME1234", "kwin-42_TIME1234"},
        {"", ""},
        {longest, longest},
        // What cannot travel on the line is left behind; the game still wakes.
        {longest + 'x', ""},
        {"two words", ""},
        {"new\nline", ""},
    };
    for (const auto& c : cases) {
        received.clear();
        EXPECT_EQ(SecondStart(name, c.sent), OtherInstance::Woken) << c.sent.constData();
        ASSERT_EQ(received.size(), 1u) << c.sent.constData();
        EXPECT_EQ(received[0], c.arrives);
    }
}

TEST_F(SingleInstanceTest, OtherMessagesWakeNobody)
{
    const QString name = UniqueInstanceName();
    CSingleInstance first;
    int nWakes = 0;
    QObject::connect(&first, &CSingleInstance::WakeRequested, [&] { ++nWakes; });
    ASSERT_EQ(first.WakeOtherOrListen(name), OtherInstance::None);
    const QByteArray path = QFile::encodeName(SocketPath(name));

    for (const QByteArray message : {"hello\n", "wake two words\n", "wake \n", "wakeup\n"}) {
        const int stranger = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
        ASSERT_EQ(::connect(stranger, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        const auto nSize = static_cast<std::size_t>(message.size());
        ASSERT_EQ(send(stranger, message.constData(), nSize, MSG_NOSIGNAL), message.size());
        // The game hangs up on it without an answer.
        fcntl(stranger, F_SETFL, O_NONBLOCK);
        char c;
        EXPECT_TRUE(QTest::qWaitFor([&] { return read(stranger, &c, 1) == 0; }, 5000))
            << message.constData();
        close(stranger);
    }
    EXPECT_EQ(nWakes, 0);
}

// A start that finds the game stopped tells the player, in a box and on
// stderr, and ends with a failure of its own instead of a window.
TEST_F(SingleInstanceTest, AppStartThatGetsNoAnswerSaysSoAndFails)
{
    const QString name = UniqueInstanceName();
    const QByteArray path = QFile::encodeName(SocketPath(name));
    const char* pPath = path.constData();
    CPeer stopped([&](int ready) {
        const int listener = ListenAt(pPath);
        if (listener < 0 || listen(listener, 8) != 0)
            _exit(5);
        SayReady(ready);
        AnswerLikeAGame(listener, -1);
    });
    ASSERT_TRUE(stopped.Ready());
    stopped.Stop();

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
        testing::internal::CaptureStderr();
        EXPECT_FALSE(app.InitInstance());
        said = testing::internal::GetCapturedStderr();
    }
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
    EXPECT_EQ(SecondStart(started.App().InstanceName()), OtherInstance::Woken);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !frame.isMinimized(); }, 2000));

    frame.hide();
    EXPECT_EQ(SecondStart(started.App().InstanceName()), OtherInstance::Woken);
    EXPECT_TRUE(frame.isVisible());
    EXPECT_FALSE(frame.HasTrayIcon());
}

}  // namespace
