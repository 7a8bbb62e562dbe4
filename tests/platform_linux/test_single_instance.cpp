// SPDX-License-Identifier: MIT
// One game per user and display: a second start wakes the first and ends.
// Nothing another user, a crash or a stray file leaves behind keeps the game
// from starting, stops it for good, or makes a start wait on a stranger.

#include "CSingleInstance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <poll.h>
#include <pwd.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "NamedCase.h"

using OtherInstance = CInstanceGuard::OtherInstance;

// Outcomes by name in a failure's message.
void PrintTo(OtherInstance outcome, std::ostream* pOut)
{
    static const char* const kNames[] = {"None", "Woken", "NoAnswer"};
    *pOut << kNames[static_cast<int>(outcome)];
}

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A fresh folder, gone with its contents when the test is done.
class CTempFolder {
public:
    explicit CTempFolder(const std::string& pattern = fs::temp_directory_path().string() +
                                                      "/orvo-test-XXXXXX")
        : m_path(pattern)
    {
        if (!::mkdtemp(m_path.data()))
            m_path.clear();
    }
    ~CTempFolder()
    {
        std::error_code error;
        if (!m_path.empty())
            fs::remove_all(m_path, error);
    }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// A name no running game or other test uses.
std::string UniqueInstanceName()
{
    static int s_nCounter = 0;
    return "orvo-test-" + std::to_string(getpid()) + "-" + std::to_string(++s_nCounter);
}

void SetEnv(const char* pName, const std::string& value)
{
    setenv(pName, value.c_str(), 1);
}

// Turns the listening game's event loop until done() or timeout.
bool Pump(CSingleInstance& game, const std::function<bool()>& done, int nTimeoutMs = 20000)
{
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(nTimeoutMs);
    while (!done()) {
        if (Clock::now() >= until)
            return false;
        pollfd wait{game.EventFd(), POLLIN, 0};
        if (game.EventFd() >= 0 && poll(&wait, 1, 10) > 0)
            game.OnReadable();
        else if (game.EventFd() < 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// Runs a second start on its own thread, as another process would, while
// this thread keeps the first game's event loop turning.
OtherInstance SecondStart(CSingleInstance& first, const std::string& name,
                          const std::string& activationToken = std::string())
{
    std::atomic<bool> bDecided{false};
    OtherInstance result = OtherInstance::None;
    std::thread second([&] {
        CSingleInstance other(name, activationToken);
        result = other.Claim();
        bDecided = true;
    });
    const bool bDone = Pump(first, [&] { return bDecided.load(); });
    second.join();
    EXPECT_TRUE(bDone);
    return result;
}

// Each test meets other starts in folders of its own, and hears what the
// program says about them on stderr.
class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(m_runtime.Path().empty() || m_temp.Path().empty());
        ASSERT_EQ(chmod(m_runtime.Path().c_str(), 0700), 0);
        Save("XDG_RUNTIME_DIR");
        Save("TMPDIR");
        Save("DISPLAY");
        Save("WAYLAND_DISPLAY");
        SetEnv("XDG_RUNTIME_DIR", m_runtime.Path());
        SetEnv("TMPDIR", m_temp.Path());
        testing::internal::CaptureStderr();
    }
    void TearDown() override
    {
        // What was said goes on to the test's own output.
        std::fputs(testing::internal::GetCapturedStderr().c_str(), stderr);
        for (const auto& [name, value] : m_saved) {
            if (value)
                SetEnv(name.c_str(), *value);
            else
                unsetenv(name.c_str());
        }
    }
    void Save(const char* pName)
    {
        const char* pValue = std::getenv(pName);
        m_saved.emplace_back(pName, pValue ? std::optional<std::string>(pValue) : std::nullopt);
    }

    std::string SocketPath(const std::string& name)
    {
        return CSingleInstance::RendezvousFolder() + '/' + name;
    }
    // What the program has said on stderr since the last ForgetSaid.
    const std::string& Heard()
    {
        m_said += testing::internal::GetCapturedStderr();
        testing::internal::CaptureStderr();
        return m_said;
    }
    bool SaidNothing() { return Heard().empty(); }
    void ForgetSaid()
    {
        Heard();
        m_said.clear();
    }

    CTempFolder m_runtime;
    CTempFolder m_temp;
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
    std::string m_said;
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
bool OthersCanReach(const std::string& path)
{
    for (std::string step = path; !step.empty(); step.resize(step.rfind('/'))) {
        struct stat st {};
        if (stat(step.c_str(), &st) != 0 || (st.st_mode & S_IXOTH) == 0)
            return false;
    }
    return true;
}

// The stranger must reach the temporary folder that the game looks in. A
// private TMPDIR (0700, as some sessions have) would keep it out, so the
// shared folder is made where others can pass: in TMPDIR when they can, else
// in the system's own temporary folders.
std::string ReachableBase()
{
    const char* pTemp = std::getenv("TMPDIR");
    const std::string candidates[] = {pTemp && *pTemp ? pTemp : "/tmp", "/tmp", "/var/tmp",
                                      "/dev/shm"};
    for (const std::string& base : candidates) {
        if (OthersCanReach(base))
            return base;
    }
    return std::string();
}

class SquatterTest : public SingleInstanceTest, public ::testing::WithParamInterface<SSquatCase> {};

TEST_P(SquatterTest, AnotherUserCannotStopTheGame)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "acting as another user needs root";
    const uid_t nobody = NobodyUid();
    const std::string name = UniqueInstanceName();
    int woken[2];
    ASSERT_EQ(pipe2(woken, O_CLOEXEC | O_NONBLOCK), 0);

    std::string socketPath;
    std::string folder;
    std::string link;
    std::unique_ptr<CTempFolder> shared;
    if (GetParam().where == CSquat::SocketInOurFolder) {
        socketPath = SocketPath(name);
    } else {
        // Where the program looks when there is no runtime folder: a shared
        // temporary folder like /tmp.
        const std::string base = ReachableBase();
        if (base.empty())
            GTEST_SKIP() << "no temporary folder that another user can reach";
        shared = std::make_unique<CTempFolder>(base + "/orvo-squat-XXXXXX");
        const std::string temp = shared->Path();
        ASSERT_FALSE(temp.empty());
        ASSERT_EQ(chmod(temp.c_str(), 01777), 0);
        unsetenv("XDG_RUNTIME_DIR");
        SetEnv("TMPDIR", temp);
        const std::string own = temp + "/orvo-" + std::to_string(geteuid());
        folder = GetParam().where == CSquat::TempFolder ? own : temp + "/elsewhere";
        if (GetParam().where == CSquat::TempFolderLink)
            link = own;
        socketPath = folder + '/' + name;
    }
    const char* pFolder = folder.c_str();
    const char* pLink = link.c_str();
    const char* pSocket = socketPath.c_str();
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

    CSingleInstance first(name);
    int nWakes = 0;
    first.SetWakeHandler([&](const std::string&) { ++nWakes; });
    ForgetSaid();
    EXPECT_EQ(first.Claim(), OtherInstance::None);
    EXPECT_TRUE(first.IsListening());
    EXPECT_FALSE(SaidNothing()) << "the stranger went unmentioned";

    // The guard still works for the starts that follow.
    EXPECT_EQ(SecondStart(first, name), OtherInstance::Woken);
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
    const struct {
        bool bWayland;
        const char* pDisplay;
        const char* pName;
    } cases[] = {
        {false, ":0", "orvo-:0"},
        {false, ":0.1", "orvo-:0"},  // another screen of the same display
        {false, ":1", "orvo-:1"},
        {false, "host:10.0", "orvo-host:10"},
        {false, "", "orvo"},
        {true, "wayland-0", "orvo-wayland-0"},
        {true, "/run/user/7/wayland-1", "orvo-_run_user_7_wayland-1"},
    };
    for (const auto& c : cases) {
        // The other system's variable never counts.
        SetEnv(c.bWayland ? "WAYLAND_DISPLAY" : "DISPLAY", c.pDisplay);
        SetEnv(c.bWayland ? "DISPLAY" : "WAYLAND_DISPLAY", ":9");
        EXPECT_EQ(CSingleInstance::DefaultName(c.bWayland), c.pName) << c.pDisplay;
    }
}

TEST_F(SingleInstanceTest, StartsOnTwoDisplaysAreTwoGames)
{
    SetEnv("DISPLAY", ":7");
    CSingleInstance first(CSingleInstance::DefaultName(false));
    ASSERT_EQ(first.Claim(), OtherInstance::None);
    SetEnv("DISPLAY", ":8");
    CSingleInstance other(CSingleInstance::DefaultName(false));
    EXPECT_EQ(other.Claim(), OtherInstance::None);
    EXPECT_TRUE(other.IsListening());
    SetEnv("DISPLAY", ":7.0");
    EXPECT_EQ(SecondStart(first, CSingleInstance::DefaultName(false)), OtherInstance::Woken);
}

// Where the rendezvous lives for each state of the surroundings: always a
// real folder of this user's with no access for anyone else.
TEST_F(SingleInstanceTest, RendezvousIsAPrivateFolder)
{
    const std::string runtime = m_runtime.Path();
    const std::string temp = fs::canonical(m_temp.Path()).string();
    const std::string fallback = temp + "/orvo-" + std::to_string(geteuid());
    const struct {
        const char* pWhat;
        std::function<void()> prepare;
        std::string expected;
        bool bSays;
    } cases[] = {
        {"a private runtime folder", [] {}, runtime + "/orvo", false},
        {"no runtime folder", [] { unsetenv("XDG_RUNTIME_DIR"); }, fallback, false},
        {"a runtime folder open to others", [&] { chmod(runtime.c_str(), 0755); }, fallback, true},
        {"a runtime folder given as a link",
         [&] {
             fs::create_directory_symlink(runtime, temp + "/run-link");
             SetEnv("XDG_RUNTIME_DIR", temp + "/run-link");
         },
         fallback, true},
        {"our own folder left open",
         [&] {
             fs::create_directories(runtime + "/orvo");
             chmod((runtime + "/orvo").c_str(), 0777);
         },
         runtime + "/orvo", false},
        {"a link of ours in the folder's place",
         [&] {
             fs::create_directories(temp + "/other");
             fs::create_directory_symlink(temp + "/other", runtime + "/orvo");
         },
         runtime + "/orvo", false},
        {"a file of ours in the folder's place", [&] { WriteFile(runtime + "/orvo", "x"); },
         runtime + "/orvo", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pWhat);
        SetEnv("XDG_RUNTIME_DIR", runtime);
        chmod(runtime.c_str(), 0700);
        std::error_code error;
        fs::remove_all(runtime + "/orvo", error);
        fs::remove(temp + "/run-link", error);
        c.prepare();
        ForgetSaid();
        EXPECT_EQ(CSingleInstance::RendezvousFolder(), c.expected);
        struct stat st {};
        ASSERT_EQ(lstat(c.expected.c_str(), &st), 0);
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_uid, geteuid());
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        EXPECT_EQ(!SaidNothing(), c.bSays) << Heard();
    }
    EXPECT_TRUE(fs::is_directory(temp + "/other")) << "a link was followed";
}

TEST_F(SingleInstanceTest, FirstStartListensAndASecondStartWakesItAndEnds)
{
    const std::string name = UniqueInstanceName();
    CSingleInstance first(name);
    int nWakes = 0;
    first.SetWakeHandler([&](const std::string&) { ++nWakes; });
    ASSERT_EQ(first.Claim(), OtherInstance::None);
    EXPECT_TRUE(first.IsListening());
    EXPECT_TRUE(SaidNothing()) << Heard();

    EXPECT_EQ(SecondStart(first, name), OtherInstance::Woken);
    EXPECT_EQ(nWakes, 1);
    EXPECT_EQ(SecondStart(first, name), OtherInstance::Woken);
    EXPECT_EQ(nWakes, 2);
}

// Whatever sits at the socket path, the game starts, and the starts after
// it find it there.
TEST_F(SingleInstanceTest, ThingsLeftAtThePathAreClearedAndTheGuardHolds)
{
    const struct {
        const char* pWhat;
        std::function<void(const std::string&)> leave;
        bool bSays;
    } cases[] = {
        {"a game killed with SIGKILL",
         [](const std::string& path) {
             const char* pPath = path.c_str();
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
         [](const std::string& path) {
             ASSERT_TRUE(fs::create_directories(path + "/inner"));
             WriteFile(path + "/inner/file", "x");
         },
         true},
        {"a file", [](const std::string& path) { WriteFile(path, "x"); }, true},
        {"a FIFO", [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pWhat);
        const std::string name = UniqueInstanceName();
        const std::string path = SocketPath(name);
        c.leave(path);
        ForgetSaid();
        {
            CSingleInstance first(name);
            int nWakes = 0;
            first.SetWakeHandler([&](const std::string&) { ++nWakes; });
            EXPECT_EQ(first.Claim(), OtherInstance::None);
            EXPECT_TRUE(first.IsListening());
            EXPECT_EQ(!SaidNothing(), c.bSays) << Heard();
            EXPECT_EQ(SecondStart(first, name), OtherInstance::Woken);
            EXPECT_EQ(nWakes, 1);
        }
        struct stat st {};
        EXPECT_NE(lstat(path.c_str(), &st), 0) << "the game's socket outlived it";
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
        const std::string name = UniqueInstanceName();
        const std::string path = SocketPath(name);
        const char* pPath = path.c_str();
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
        CSingleInstance second(name);
        EXPECT_EQ(second.Claim(), c.outcome);
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
    const std::string name = UniqueInstanceName();
    CSingleInstance first(name);
    int nWakes = 0;
    first.SetWakeHandler([&](const std::string&) { ++nWakes; });
    ASSERT_EQ(first.Claim(), OtherInstance::None);

    OtherInstance outcome = OtherInstance::None;
    std::thread second([&] {
        CSingleInstance other(name);
        outcome = other.Claim();
    });
    second.join();
    EXPECT_EQ(outcome, OtherInstance::NoAnswer);
    EXPECT_TRUE(Pump(first, [&] { return nWakes == 1; }, 5000));
}

// A launcher's activation token travels with the wake line, so that a
// Wayland compositor lets the first game come forward.
TEST_F(SingleInstanceTest, ASecondStartHandsOverItsActivationToken)
{
    const std::string name = UniqueInstanceName();
    CSingleInstance first(name, std::string());
    std::vector<std::string> received;
    first.SetWakeHandler([&](const std::string& token) { received.push_back(token); });
    ASSERT_EQ(first.Claim(), OtherInstance::None);

    const std::string longest(400, 'x');
    const struct {
        std::string sent;
        std::string arrives;
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
        EXPECT_EQ(SecondStart(first, name, c.sent), OtherInstance::Woken) << c.sent;
        ASSERT_EQ(received.size(), 1u) << c.sent;
        EXPECT_EQ(received[0], c.arrives);
    }
}

// Callers that say something else, or nothing, are hung up on; the game
// stays where it is.
TEST_F(SingleInstanceTest, OtherMessagesWakeNobody)
{
    const std::string name = UniqueInstanceName();
    CSingleInstance first(name);
    int nWakes = 0;
    first.SetWakeHandler([&](const std::string&) { ++nWakes; });
    ASSERT_EQ(first.Claim(), OtherInstance::None);
    const std::string path = SocketPath(name);

    const auto call = [&](const std::string& message) {
        const int stranger = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
        EXPECT_EQ(::connect(stranger, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        EXPECT_EQ(send(stranger, message.data(), message.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(message.size()));
        fcntl(stranger, F_SETFL, O_NONBLOCK);
        return stranger;
    };
    for (const std::string message : {"hello\n", "wake two words\n", "wake \n", "wakeup\n"}) {
        const int stranger = call(message);
        // The game hangs up on it without an answer.
        char c;
        EXPECT_TRUE(Pump(first, [&] { return read(stranger, &c, 1) == 0; }, 5000)) << message;
        close(stranger);
    }
    // One that says nothing is dropped once its time is up, and a game
    // that calls meanwhile is served.
    const int silent = call("");
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(SecondStart(first, name), OtherInstance::Woken);
    char c;
    EXPECT_TRUE(Pump(first, [&] { return read(silent, &c, 1) == 0; }, 5000));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(1500));
    close(silent);
    EXPECT_EQ(nWakes, 1);
}

}  // namespace
