// SPDX-License-Identifier: MIT
#include "CSingleInstance.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <ftw.h>
#include <functional>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

#include "CFd.h"

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
constexpr int kServeTimeoutMs = 2000;
// Names tried in the temporary folder when another user holds the first.
constexpr int kFolderCandidates = 4;
// A wake line with the longest activation token a compositor hands out.
constexpr int kMaxToken = 400;
constexpr int kMaxLine = 512;

void Say(const QString& strWhy)
{
    qWarning("orvo: %s", qUtf8Printable(strWhy));
}

QString ErrorText(int nError)
{
    return QString::fromLocal8Bit(std::strerror(nError));
}

QString Show(const QByteArray& path)
{
    return QFile::decodeName(path);
}

bool IsPrivateFolder(const struct stat& st)
{
    return S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

QString WhatIsWrong(const struct stat& st)
{
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("a symbolic link");
    if (!S_ISDIR(st.st_mode))
        return QStringLiteral("not a folder");
    if (st.st_uid != geteuid())
        return QStringLiteral("owned by uid %1").arg(st.st_uid);
    return QStringLiteral("open to others (mode %1)").arg(st.st_mode & 0777, 3, 8, QChar('0'));
}

int RemoveEntry(const char* pPath, const struct stat*, int, struct FTW*)
{
    return ::remove(pPath);
}

// Never leaves the file system it starts on and never follows a link.
bool RemoveTree(const QByteArray& path)
{
    return ::nftw(path.constData(), RemoveEntry, 8, FTW_DEPTH | FTW_PHYS | FTW_MOUNT) == 0;
}

// Opens the folder at path, creating it if missing, and only if it is a real
// folder of this user's that nobody else can enter. A leftover of this user's
// own is put right, so that the guard works again from this start on; one of
// another user's is refused.
int OpenPrivateFolder(const QByteArray& path, QString& strWhy)
{
    struct stat st {};
    if (::lstat(path.constData(), &st) == 0 && !S_ISDIR(st.st_mode) && st.st_uid == geteuid()) {
        if (::unlink(path.constData()) != 0) {
            strWhy = QStringLiteral("%1, and it cannot be removed: %2").arg(WhatIsWrong(st), ErrorText(errno));
            return -1;
        }
    }
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
        strWhy = QStringLiteral("cannot be created: %1").arg(ErrorText(errno));
        return -1;
    }
    CFd folder(::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (folder.Get() < 0) {
        const int nError = errno;
        strWhy = ::lstat(path.constData(), &st) == 0 ? WhatIsWrong(st) : ErrorText(nError);
        return -1;
    }
    if (::fstat(folder.Get(), &st) != 0) {
        strWhy = ErrorText(errno);
        return -1;
    }
    if (S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) != 0) {
        if (::fchmod(folder.Get(), 0700) == 0)
            st.st_mode &= ~static_cast<mode_t>(077);
    }
    if (!IsPrivateFolder(st)) {
        strWhy = WhatIsWrong(st);
        return -1;
    }
    return folder.Release();
}

// The folder must still be the one that was checked when it is used.
bool IsStillFolder(const QByteArray& path, int nFolder)
{
    struct stat byPath {};
    struct stat byFd {};
    return ::lstat(path.constData(), &byPath) == 0 && ::fstat(nFolder, &byFd) == 0 &&
           IsPrivateFolder(byPath) && byPath.st_dev == byFd.st_dev && byPath.st_ino == byFd.st_ino;
}

int OpenRendezvousFolder(QByteArray& path)
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        struct stat st {};
        if (runtime.startsWith('/') && ::lstat(runtime.constData(), &st) == 0 && IsPrivateFolder(st)) {
            path = runtime + "/orvo";
            QString strWhy;
            const int nFolder = OpenPrivateFolder(path, strWhy);
            if (nFolder >= 0)
                return nFolder;
            Say(QStringLiteral("%1 is %2; using the temporary folder").arg(Show(path), strWhy));
        } else {
            Say(QStringLiteral("XDG_RUNTIME_DIR (%1) is not a private folder of this user's; "
                               "using the temporary folder").arg(Show(runtime)));
        }
    }
    const QByteArray base =
        QFile::encodeName(QDir::tempPath()) + "/orvo-" + QByteArray::number(geteuid());
    for (int i = 0; i < kFolderCandidates; ++i) {
        path = i == 0 ? base : base + '.' + QByteArray::number(i);
        QString strWhy;
        const int nFolder = OpenPrivateFolder(path, strWhy);
        if (nFolder >= 0)
            return nFolder;
        Say(QStringLiteral("%1 is %2").arg(Show(path), strWhy));
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

sockaddr_un Address(const QByteArray& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
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

bool SendAll(int nFd, const QByteArray& bytes, Clock::time_point deadline)
{
    qsizetype nSent = 0;
    while (nSent < bytes.size()) {
        const ssize_t n = ::send(nFd, bytes.constData() + nSent,
                                 static_cast<std::size_t>(bytes.size() - nSent), MSG_NOSIGNAL);
        if (n > 0) {
            nSent += n;
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
bool IsOurSocket(const QByteArray& path)
{
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISSOCK(st.st_mode) && st.st_uid == geteuid();
}

enum class CAnswer {
    Nobody,    // no live socket at the path: free to take
    Woken,     // a game of this user's has answered the wake line
    Silent,    // a game of this user's has the wake line but does not answer
    Stranger,  // something else listens there: ignored, and the path taken over
};

// Tokens go on one line, unquoted: printable ASCII without spaces.
bool IsToken(const QByteArray& token)
{
    return !token.isEmpty() && token.size() <= kMaxToken &&
           std::all_of(token.begin(), token.end(), [](char c) { return c > ' ' && c < 127; });
}

// "wake\n", or "wake TOKEN\n" to hand over an activation token.
QByteArray WakeLine(const QByteArray& token)
{
    if (!IsToken(token))
        return CSingleInstance::kWakeMessage;
    return "wake " + token + '\n';
}

// True for a wake line; token is what it hands over, or empty.
bool ParseWakeLine(const QByteArray& line, QByteArray& token)
{
    token.clear();
    if (line == CSingleInstance::kWakeMessage)
        return true;
    if (!line.startsWith("wake ") || !line.endsWith('\n'))
        return false;
    token = line.mid(5, line.size() - 6);
    return IsToken(token);
}

CAnswer AskToWake(const QByteArray& path, const QByteArray& token, Clock::time_point deadline,
                  QString& strWhy)
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
            strWhy = QStringLiteral("it takes no calls");
            return CAnswer::Stranger;
        }
        std::this_thread::sleep_for(milliseconds(10));
    }
    uid_t peerUid = static_cast<uid_t>(-1);
    if (!IsPeerThisUser(peer.Get(), peerUid)) {
        strWhy = QStringLiteral("it belongs to uid %1").arg(static_cast<int>(peerUid));
        return CAnswer::Stranger;
    }
    if (!SendAll(peer.Get(), WakeLine(token), deadline)) {
        strWhy = QStringLiteral("it takes no message");
        return CAnswer::Stranger;
    }
    const QByteArray ack = CSingleInstance::kAckMessage;
    QByteArray answer;
    while (!answer.startsWith(ack)) {
        if (!ack.startsWith(answer)) {
            strWhy = QStringLiteral("it answered something else");
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
            strWhy = QStringLiteral("it hung up without an answer");
            return CAnswer::Stranger;
        }
        answer.append(buffer, n);
    }
    return CAnswer::Woken;
}

// Whatever is at the path is a crashed game's socket or something that has
// no business in this private folder: it goes, so that this start and every
// later one meet here.
bool ClearPath(const QByteArray& path)
{
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0)
        return errno == ENOENT;
    if (!S_ISSOCK(st.st_mode))
        Say(QStringLiteral("removing what is in the way at %1").arg(Show(path)));
    const bool bRemoved = S_ISDIR(st.st_mode) ? RemoveTree(path) : ::unlink(path.constData()) == 0;
    if (!bRemoved)
        Say(QStringLiteral("cannot remove %1: %2").arg(Show(path), ErrorText(errno)));
    return bRemoved;
}

// One caller on the socket: reads its line, wakes the game for the right
// one, answers and hangs up. A caller that says nothing in time is dropped.
class CWakeCall : public QObject {
public:
    CWakeCall(int nFd, std::function<void(const QByteArray&)> wake, QObject* pParent)
        : QObject(pParent), m_nFd(nFd), m_notifier(nFd, QSocketNotifier::Read), m_wake(std::move(wake))
    {
        connect(&m_notifier, &QSocketNotifier::activated, this, &CWakeCall::OnReadable);
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, &CWakeCall::HangUp);
        m_timer.start(kServeTimeoutMs);
    }
    ~CWakeCall() override
    {
        m_notifier.setEnabled(false);
        if (m_nFd >= 0)
            ::close(m_nFd);
    }

private:
    void OnReadable()
    {
        char buffer[kMaxLine];
        const ssize_t n = ::read(m_nFd, buffer, sizeof(buffer));
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        if (n <= 0) {
            HangUp();
            return;
        }
        m_line.append(buffer, n);
        const qsizetype nEnd = m_line.indexOf('\n');
        if (nEnd < 0 && m_line.size() < kMaxLine)
            return;
        QByteArray token;
        if (ParseWakeLine(m_line.left(nEnd + 1), token)) {
            m_wake(token);
            const QByteArray ack = CSingleInstance::kAckMessage;
            // The caller decides without the answer if it must; never wait for it here.
            [[maybe_unused]] const ssize_t nSent =
                ::send(m_nFd, ack.constData(), static_cast<std::size_t>(ack.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
        }
        HangUp();
    }

    void HangUp()
    {
        m_notifier.setEnabled(false);
        m_timer.stop();
        deleteLater();
    }

    int m_nFd;
    QSocketNotifier m_notifier;
    QTimer m_timer;
    QByteArray m_line;
    std::function<void(const QByteArray&)> m_wake;
};

}  // namespace

CSingleInstance::CSingleInstance(QObject* pParent) : QObject(pParent) {}

CSingleInstance::~CSingleInstance()
{
    if (m_nListenFd < 0)
        return;
    m_pNotifier->setEnabled(false);
    ::close(m_nListenFd);
    // Only our own socket: a later game may have taken the name over.
    struct stat st {};
    if (::lstat(m_socketPath.constData(), &st) == 0 && st.st_dev == m_socketDev &&
        st.st_ino == m_socketIno)
        ::unlink(m_socketPath.constData());
}

QString CSingleInstance::DefaultName()
{
    QByteArray display = QGuiApplication::platformName() == QLatin1String("wayland")
                             ? qgetenv("WAYLAND_DISPLAY")
                             : qgetenv("DISPLAY");
    // ":0.1" is screen 1 of display :0: the same seat, the same game.
    const qsizetype nColon = display.lastIndexOf(':');
    const qsizetype nDot = display.indexOf('.', nColon + 1);
    if (nColon >= 0 && nDot > nColon)
        display.truncate(nDot);
    display.replace('/', '_');
    return display.isEmpty() ? QStringLiteral("orvo")
                             : QStringLiteral("orvo-") + QString::fromLocal8Bit(display);
}

QString CSingleInstance::RendezvousFolder()
{
    QByteArray path;
    CFd folder(OpenRendezvousFolder(path));
    return folder.Get() >= 0 ? Show(path) : QString();
}

QByteArray CSingleInstance::ActivationToken()
{
    return qgetenv("XDG_ACTIVATION_TOKEN");
}

CAppShell::OtherInstance CSingleInstance::WakeOtherOrListen(const QString& strName,
                                                            const QByteArray& activationToken)
{
    const Clock::time_point deadline = Clock::now() + kExchangeBudget;
    QByteArray folderPath;
    CFd folder(OpenRendezvousFolder(folderPath));
    if (folder.Get() < 0) {
        Say(QStringLiteral("no private folder to meet other starts in; this game runs on its own"));
        return CAppShell::OtherInstance::None;
    }
    const QByteArray path = folderPath + '/' + QFile::encodeName(strName);
    if (static_cast<std::size_t>(path.size()) >= sizeof(sockaddr_un::sun_path)) {
        Say(QStringLiteral("%1 is too long a socket path; this game runs on its own").arg(Show(path)));
        return CAppShell::OtherInstance::None;
    }
    if (!LockFolder(folder.Get(), Clock::now() + kLockBudget))
        Say(QStringLiteral("another start holds %1; going ahead without waiting").arg(Show(folderPath)));

    QString strWhy;
    switch (AskToWake(path, activationToken, deadline, strWhy)) {
    case CAnswer::Woken:
        return CAppShell::OtherInstance::Woken;
    case CAnswer::Silent:
        return CAppShell::OtherInstance::NoAnswer;
    case CAnswer::Stranger:
        Say(QStringLiteral("ignoring what listens at %1: %2").arg(Show(path), strWhy));
        break;
    case CAnswer::Nobody:
        break;
    }
    if (!IsStillFolder(folderPath, folder.Get())) {
        Say(QStringLiteral("%1 changed under us; this game runs on its own").arg(Show(folderPath)));
        return CAppShell::OtherInstance::None;
    }
    if (!ClearPath(path) || !Listen(path))
        Say(QStringLiteral("cannot listen at %1; this game runs on its own").arg(Show(path)));
    return CAppShell::OtherInstance::None;
}

bool CSingleInstance::Listen(const QByteArray& path)
{
    CFd listener(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    const sockaddr_un address = Address(path);
    struct stat st {};
    if (listener.Get() < 0 ||
        ::bind(listener.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(listener.Get(), 8) != 0 || ::lstat(path.constData(), &st) != 0)
        return false;
    m_socketPath = path;
    m_socketDev = st.st_dev;
    m_socketIno = st.st_ino;
    m_nListenFd = listener.Release();
    m_pNotifier = new QSocketNotifier(m_nListenFd, QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, &CSingleInstance::OnNewConnection);
    return true;
}

void CSingleInstance::OnNewConnection()
{
    for (;;) {
        const int nFd = ::accept4(m_nListenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (nFd < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        ServeConnection(nFd);
    }
}

void CSingleInstance::ServeConnection(int nFd)
{
    uid_t peerUid = static_cast<uid_t>(-1);
    if (!IsPeerThisUser(nFd, peerUid)) {
        ::close(nFd);
        return;
    }
    new CWakeCall(nFd, [this](const QByteArray& token) { Q_EMIT WakeRequested(token); }, this);
}
