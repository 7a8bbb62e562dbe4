// SPDX-License-Identifier: MIT
#include "CSingleInstance.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <ftw.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/timerfd.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// From the first attempt to the decision, whatever the other side does. A
// game between moves answers at once, and nearly every move is over well
// within this: one silent for longer is most likely stopped or hung (were
// it merely busy, it still comes forward once it reads the wake line).
constexpr milliseconds kExchangeBudget{2000};
// A start deciding at the same moment holds the folder no longer than this.
constexpr milliseconds kLockBudget{1500};
// A caller that has not said its line by then is dropped.
constexpr milliseconds kServeTimeout{2000};
// Names tried in the temporary folder when another user holds the first.
constexpr int kFolderCandidates = 4;
// A wake line with the longest activation token a compositor hands out.
constexpr std::size_t kMaxToken = 400;
constexpr std::size_t kMaxLine = 512;

void Say(const std::string& why)
{
    std::fprintf(stderr, "orvo: %s\n", why.c_str());
}

std::string ErrorText(int nError)
{
    return std::strerror(nError);
}

std::string Getenv(const char* pName)
{
    const char* pValue = std::getenv(pName);
    return pValue ? pValue : std::string();
}

bool IsPrivateFolder(const struct stat& st)
{
    return S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

std::string WhatIsWrong(const struct stat& st)
{
    if (S_ISLNK(st.st_mode))
        return "a symbolic link";
    if (!S_ISDIR(st.st_mode))
        return "not a folder";
    if (st.st_uid != geteuid())
        return "owned by uid " + std::to_string(st.st_uid);
    char mode[8];
    std::snprintf(mode, sizeof(mode), "%03o", static_cast<unsigned>(st.st_mode & 0777));
    return std::string("open to others (mode ") + mode + ")";
}

int RemoveEntry(const char* pPath, const struct stat*, int, struct FTW*)
{
    return ::remove(pPath);
}

// Never leaves the file system it starts on and never follows a link.
bool RemoveTree(const std::string& path)
{
    return ::nftw(path.c_str(), RemoveEntry, 8, FTW_DEPTH | FTW_PHYS | FTW_MOUNT) == 0;
}

// Opens the folder at path, creating it if missing, and only if it is a real
// folder of this user's that nobody else can enter. A leftover of this user's
// own is put right, so that the guard works again from this start on; one of
// another user's is refused.
int OpenPrivateFolder(const std::string& path, std::string& why)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) && st.st_uid == geteuid()) {
        if (::unlink(path.c_str()) != 0) {
            why = WhatIsWrong(st) + ", and it cannot be removed: " + ErrorText(errno);
            return -1;
        }
    }
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        why = "cannot be created: " + ErrorText(errno);
        return -1;
    }
    CFd folder(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (folder.Get() < 0) {
        const int nError = errno;
        why = ::lstat(path.c_str(), &st) == 0 ? WhatIsWrong(st) : ErrorText(nError);
        return -1;
    }
    if (::fstat(folder.Get(), &st) != 0) {
        why = ErrorText(errno);
        return -1;
    }
    if (S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) != 0) {
        if (::fchmod(folder.Get(), 0700) == 0)
            st.st_mode &= ~static_cast<mode_t>(077);
    }
    if (!IsPrivateFolder(st)) {
        why = WhatIsWrong(st);
        return -1;
    }
    return folder.Release();
}

// The folder must still be the one that was checked when it is used.
bool IsStillFolder(const std::string& path, int nFolder)
{
    struct stat byPath {};
    struct stat byFd {};
    return ::lstat(path.c_str(), &byPath) == 0 && ::fstat(nFolder, &byFd) == 0 &&
           IsPrivateFolder(byPath) && byPath.st_dev == byFd.st_dev && byPath.st_ino == byFd.st_ino;
}

// $TMPDIR, else /tmp, with links resolved where it exists.
std::string TempFolder()
{
    std::string temp = Getenv("TMPDIR");
    if (temp.empty())
        temp = "/tmp";
    char resolved[PATH_MAX];
    if (::realpath(temp.c_str(), resolved))
        return resolved;
    while (temp.size() > 1 && temp.back() == '/')
        temp.pop_back();
    return temp;
}

int OpenRendezvousFolder(std::string& path)
{
    const std::string runtime = Getenv("XDG_RUNTIME_DIR");
    if (!runtime.empty()) {
        struct stat st {};
        if (runtime[0] == '/' && ::lstat(runtime.c_str(), &st) == 0 && IsPrivateFolder(st)) {
            path = runtime + "/orvo";
            std::string why;
            const int nFolder = OpenPrivateFolder(path, why);
            if (nFolder >= 0)
                return nFolder;
            Say(path + " is " + why + "; using the temporary folder");
        } else {
            Say("XDG_RUNTIME_DIR (" + runtime +
                ") is not a private folder of this user's; using the temporary folder");
        }
    }
    const std::string base = TempFolder() + "/orvo-" + std::to_string(geteuid());
    for (int i = 0; i < kFolderCandidates; ++i) {
        path = i == 0 ? base : base + '.' + std::to_string(i);
        std::string why;
        const int nFolder = OpenPrivateFolder(path, why);
        if (nFolder >= 0)
            return nFolder;
        Say(path + " is " + why);
    }
    path.clear();
    return -1;
}

// Two starts at the same moment must not both decide that they are first.
bool LockFolder(int nFolder, Clock::time_point until)
{
    for (;;) {
        if (::flock(nFolder, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return false;
        if (Clock::now() >= until)
            return false;
        std::this_thread::sleep_for(milliseconds(10));
    }
}

sockaddr_un Address(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    return address;
}

int MillisecondsLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

bool IsPeerThisUser(int nFd, uid_t& peerUid)
{
    ucred credentials{};
    socklen_t nLength = sizeof(credentials);
    if (::getsockopt(nFd, SOL_SOCKET, SO_PEERCRED, &credentials, &nLength) != 0)
        return false;
    peerUid = credentials.uid;
    return credentials.uid == geteuid();
}

bool SendAll(int nFd, const std::string& bytes, Clock::time_point deadline)
{
    std::size_t nSent = 0;
    while (nSent < bytes.size()) {
        const ssize_t n = ::send(nFd, bytes.data() + nSent, bytes.size() - nSent, MSG_NOSIGNAL);
        if (n > 0) {
            nSent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        pollfd wait{nFd, POLLOUT, 0};
        if (MillisecondsLeft(deadline) == 0 || ::poll(&wait, 1, MillisecondsLeft(deadline)) == 0)
            return false;
    }
    return true;
}

// In our private folder, a socket of our own is a game of ours.
bool IsOurSocket(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode) && st.st_uid == geteuid();
}

enum class CAnswer {
    Nobody,    // no live socket at the path: free to take
    Woken,     // a game of this user's has answered the wake line
    Silent,    // a game of this user's has the wake line but does not answer
    Stranger,  // something else listens there: ignored, and the path taken over
};

bool StartsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

// Tokens go on one line, unquoted: printable ASCII without spaces.
bool IsToken(const std::string& token)
{
    return !token.empty() && token.size() <= kMaxToken &&
           std::all_of(token.begin(), token.end(), [](char c) { return c > ' ' && c < 127; });
}

// "wake\n", or "wake TOKEN\n" to hand over an activation token.
std::string WakeLine(const std::string& token)
{
    if (!IsToken(token))
        return CSingleInstance::kWakeMessage;
    return "wake " + token + '\n';
}

// True for a wake line; token is what it hands over, or empty.
bool ParseWakeLine(const std::string& line, std::string& token)
{
    token.clear();
    if (line == CSingleInstance::kWakeMessage)
        return true;
    if (!StartsWith(line, "wake ") || line.back() != '\n')
        return false;
    token = line.substr(5, line.size() - 6);
    return IsToken(token);
}

CAnswer AskToWake(const std::string& path, const std::string& token, Clock::time_point deadline,
                  std::string& why)
{
    CFd peer(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (peer.Get() < 0)
        return CAnswer::Nobody;
    const sockaddr_un address = Address(path);
    while (::connect(peer.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN)
            return CAnswer::Nobody;
        // A full backlog: a game of ours accepts far faster than this,
        // unless it is stopped or hung. Taking its place then would make
        // two games here once it runs again.
        if (MillisecondsLeft(deadline) == 0) {
            if (IsOurSocket(path))
                return CAnswer::Silent;
            why = "it takes no calls";
            return CAnswer::Stranger;
        }
        std::this_thread::sleep_for(milliseconds(10));
    }
    uid_t peerUid = static_cast<uid_t>(-1);
    if (!IsPeerThisUser(peer.Get(), peerUid)) {
        why = "it belongs to uid " + std::to_string(static_cast<int>(peerUid));
        return CAnswer::Stranger;
    }
    if (!SendAll(peer.Get(), WakeLine(token), deadline)) {
        why = "it takes no message";
        return CAnswer::Stranger;
    }
    const std::string ack = CSingleInstance::kAckMessage;
    std::string answer;
    while (!StartsWith(answer, ack)) {
        if (!StartsWith(ack, answer)) {
            why = "it answered something else";
            return CAnswer::Stranger;
        }
        pollfd wait{peer.Get(), POLLIN, 0};
        const int nReady = ::poll(&wait, 1, MillisecondsLeft(deadline));
        if (nReady < 0 && errno == EINTR)
            continue;
        if (nReady <= 0)
            return CAnswer::Silent;
        char buffer[kMaxLine];
        const ssize_t n = ::read(peer.Get(), buffer, sizeof(buffer));
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (n <= 0) {
            why = "it hung up without an answer";
            return CAnswer::Stranger;
        }
        answer.append(buffer, static_cast<std::size_t>(n));
    }
    return CAnswer::Woken;
}

// Whatever is at the path is a crashed game's socket or something that has
// no business in this private folder: it goes, so that this start and every
// later one meet here.
bool ClearPath(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return errno == ENOENT;
    if (!S_ISSOCK(st.st_mode))
        Say("removing what is in the way at " + path);
    const bool bRemoved = S_ISDIR(st.st_mode) ? RemoveTree(path) : ::unlink(path.c_str()) == 0;
    if (!bRemoved)
        Say("cannot remove " + path + ": " + ErrorText(errno));
    return bRemoved;
}

bool Watch(int nEvents, int nFd)
{
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = nFd;
    return ::epoll_ctl(nEvents, EPOLL_CTL_ADD, nFd, &event) == 0;
}

}  // namespace

CSingleInstance::CSingleInstance(std::string name, std::string activationToken)
    : m_name(std::move(name)), m_activationToken(std::move(activationToken))
{
}

CSingleInstance::~CSingleInstance()
{
    while (!m_calls.empty())
        HangUp(m_calls.size() - 1);
    if (m_listener.Get() < 0)
        return;
    m_listener.Reset();
    // Only our own socket: a later game may have taken the name over.
    struct stat st {};
    if (::lstat(m_socketPath.c_str(), &st) == 0 && st.st_dev == m_socketDev &&
        st.st_ino == m_socketIno)
        ::unlink(m_socketPath.c_str());
}

std::string CSingleInstance::DefaultName(bool bWayland)
{
    std::string display = Getenv(bWayland ? "WAYLAND_DISPLAY" : "DISPLAY");
    // ":0.1" is screen 1 of display :0: the same seat, the same game.
    const std::size_t nColon = display.rfind(':');
    if (nColon != std::string::npos) {
        const std::size_t nDot = display.find('.', nColon + 1);
        if (nDot != std::string::npos)
            display.resize(nDot);
    }
    std::replace(display.begin(), display.end(), '/', '_');
    return display.empty() ? "orvo" : "orvo-" + display;
}

std::string CSingleInstance::RendezvousFolder()
{
    std::string path;
    CFd folder(OpenRendezvousFolder(path));
    return folder.Get() >= 0 ? path : std::string();
}

std::string CSingleInstance::ActivationToken()
{
    return Getenv("XDG_ACTIVATION_TOKEN");
}

CInstanceGuard::OtherInstance CSingleInstance::Claim()
{
    const Clock::time_point deadline = Clock::now() + kExchangeBudget;
    std::string folderPath;
    CFd folder(OpenRendezvousFolder(folderPath));
    if (folder.Get() < 0) {
        Say("no private folder to meet other starts in; this game runs on its own");
        return OtherInstance::None;
    }
    const std::string path = folderPath + '/' + m_name;
    if (path.size() >= sizeof(sockaddr_un::sun_path)) {
        Say(path + " is too long a socket path; this game runs on its own");
        return OtherInstance::None;
    }
    if (!LockFolder(folder.Get(), Clock::now() + kLockBudget))
        Say("another start holds " + folderPath + "; going ahead without waiting");

    std::string why;
    switch (AskToWake(path, m_activationToken, deadline, why)) {
    case CAnswer::Woken:
        return OtherInstance::Woken;
    case CAnswer::Silent:
        return OtherInstance::NoAnswer;
    case CAnswer::Stranger:
        Say("ignoring what listens at " + path + ": " + why);
        break;
    case CAnswer::Nobody:
        break;
    }
    if (!IsStillFolder(folderPath, folder.Get())) {
        Say(folderPath + " changed under us; this game runs on its own");
        return OtherInstance::None;
    }
    if (!ClearPath(path) || !Listen(path))
        Say("cannot listen at " + path + "; this game runs on its own");
    return OtherInstance::None;
}

bool CSingleInstance::Listen(const std::string& path)
{
    CFd listener(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    CFd events(::epoll_create1(EPOLL_CLOEXEC));
    CFd timer(::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC));
    const sockaddr_un address = Address(path);
    struct stat st {};
    if (listener.Get() < 0 || events.Get() < 0 || timer.Get() < 0 ||
        !Watch(events.Get(), listener.Get()) || !Watch(events.Get(), timer.Get()) ||
        ::bind(listener.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(listener.Get(), 8) != 0 || ::lstat(path.c_str(), &st) != 0)
        return false;
    m_socketPath = path;
    m_socketDev = st.st_dev;
    m_socketIno = st.st_ino;
    m_listener.Reset(listener.Release());
    m_events.Reset(events.Release());
    m_timer.Reset(timer.Release());
    return true;
}

void CSingleInstance::OnReadable()
{
    if (m_events.Get() < 0)
        return;
    epoll_event ready[16];
    const int nReady = ::epoll_wait(m_events.Get(), ready, 16, 0);
    for (int i = 0; i < nReady; ++i) {
        const int nFd = ready[i].data.fd;
        if (nFd == m_listener.Get()) {
            AcceptCalls();
        } else if (nFd == m_timer.Get()) {
            std::uint64_t nExpiries = 0;
            [[maybe_unused]] const ssize_t n = ::read(nFd, &nExpiries, sizeof(nExpiries));
        } else {
            const auto call = std::find_if(m_calls.begin(), m_calls.end(),
                                           [nFd](const SCall& c) { return c.nFd == nFd; });
            std::string token;
            if (call == m_calls.end() || ServeCall(*call, token) == CCallState::Talking)
                continue;
            const bool bWake = call->bWake;
            // Off the list before the game wakes: waking may run the loop.
            HangUp(static_cast<std::size_t>(call - m_calls.begin()), false);
            if (bWake) {
                if (m_wake)
                    m_wake(token);
                // The caller decides without the answer if it must; never wait for it here.
                const std::string ack = kAckMessage;
                [[maybe_unused]] const ssize_t nSent =
                    ::send(nFd, ack.data(), ack.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
            }
            ::close(nFd);
        }
    }
    // A caller that says nothing in time is dropped.
    const Clock::time_point now = Clock::now();
    for (std::size_t i = m_calls.size(); i-- > 0;) {
        if (m_calls[i].deadline <= now)
            HangUp(i);
    }
    ArmTimer();
}

void CSingleInstance::AcceptCalls()
{
    for (;;) {
        const int nFd = ::accept4(m_listener.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (nFd < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        uid_t peerUid = static_cast<uid_t>(-1);
        if (!IsPeerThisUser(nFd, peerUid) || !Watch(m_events.Get(), nFd)) {
            ::close(nFd);
            continue;
        }
        m_calls.push_back(SCall{nFd, Clock::now() + kServeTimeout, std::string(), false});
    }
}

// One caller on the socket says its line: a wake line wakes the game and
// is answered; the caller is hung up on after its line, or when it hangs up.
CSingleInstance::CCallState CSingleInstance::ServeCall(SCall& call, std::string& token)
{
    char buffer[kMaxLine];
    const ssize_t n = ::read(call.nFd, buffer, sizeof(buffer));
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return CCallState::Talking;
    if (n <= 0)
        return CCallState::Over;
    call.line.append(buffer, static_cast<std::size_t>(n));
    const std::size_t nEnd = call.line.find('\n');
    if (nEnd == std::string::npos && call.line.size() < kMaxLine)
        return CCallState::Talking;
    call.bWake =
        ParseWakeLine(call.line.substr(0, nEnd == std::string::npos ? 0 : nEnd + 1), token);
    return CCallState::Over;
}

void CSingleInstance::HangUp(std::size_t nCall, bool bClose)
{
    ::epoll_ctl(m_events.Get(), EPOLL_CTL_DEL, m_calls[nCall].nFd, nullptr);
    if (bClose)
        ::close(m_calls[nCall].nFd);
    m_calls.erase(m_calls.begin() + static_cast<std::ptrdiff_t>(nCall));
}

void CSingleInstance::ArmTimer()
{
    itimerspec when{};
    if (!m_calls.empty()) {
        const auto first = std::min_element(
            m_calls.begin(), m_calls.end(),
            [](const SCall& a, const SCall& b) { return a.deadline < b.deadline; });
        // Never zero, which would disarm it.
        const auto left = std::max(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                       first->deadline - Clock::now()),
                                   std::chrono::nanoseconds(1));
        when.it_value.tv_sec = static_cast<time_t>(left.count() / 1000000000);
        when.it_value.tv_nsec = static_cast<long>(left.count() % 1000000000);
    }
    ::timerfd_settime(m_timer.Get(), 0, &when, nullptr);
}
