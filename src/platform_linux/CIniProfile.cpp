// SPDX-License-Identifier: MIT
#include "CIniProfile.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "CFd.h"

namespace {

// Links followed at most, as the kernel does.
const int MAX_LINKS = 40;
// How often a waiting writer asks for the lock again.
const auto LOCK_POLL = std::chrono::milliseconds(5);

enum class EFileState { Missing, Read, Unreadable, TooLarge };

// Reads at most nLimit + 1 bytes, enough to tell that the file is too big.
bool ReadAll(int fd, std::string& data, std::size_t nLimit)
{
    char buffer[65536];
    while (data.size() <= nLimit) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
}

// Only a regular file counts: a directory, a pipe or a device at the path is
// unreadable (and O_NONBLOCK keeps a pipe from hanging the open). A file
// beyond the size limit is damaged and is not even read.
EFileState ReadWholeFile(const std::string& path, std::string& data, struct stat& info)
{
    data.clear();
    if (path.empty())
        return EFileState::Missing;
    CFd file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.Get() < 0)
        return errno == ENOENT ? EFileState::Missing : EFileState::Unreadable;
    if (::fstat(file.Get(), &info) != 0)
        return EFileState::Unreadable;
    if (!S_ISREG(info.st_mode)) {
        errno = EISDIR;
        return EFileState::Unreadable;
    }
    const std::size_t nLimit = CProfile::MAX_FILE_BYTES;
    if (info.st_size > static_cast<off_t>(nLimit))
        return EFileState::TooLarge;
    if (!ReadAll(file.Get(), data, nLimit)) {
        data.clear();
        return EFileState::Unreadable;
    }
    if (data.size() > nLimit) {
        data.clear();
        return EFileState::TooLarge;
    }
    return EFileState::Read;
}

bool IsSameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
           a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

bool WriteAll(int fd, const std::string& text)
{
    const char* p = text.data();
    std::size_t nLeft = text.size();
    while (nLeft > 0) {
        const ssize_t n = ::write(fd, p, nLeft);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        nLeft -= static_cast<std::size_t>(n);
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t nSlash = path.rfind('/');
    return nSlash == std::string::npos ? std::string() : path.substr(0, nSlash + 1);
}

// A hidden file of the settings file's own beside it: orvo.ini has
// .orvo.ini.lock and .orvo.ini.tmp.
std::string Companion(const std::string& target, const char* pSuffix)
{
    const std::string folder = FolderOf(target);
    return folder + "." + target.substr(folder.size()) + pSuffix;
}

CProfileError ErrorFromErrno(int nError)
{
    switch (nError) {
    case EACCES:
    case EPERM:
        return CProfileError::NoPermission;
    case EROFS:
        return CProfileError::ReadOnly;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return CProfileError::DiskFull;
    case EISDIR:
    case ENXIO:
        return CProfileError::NotAFile;
    default:
        return CProfileError::Other;
    }
}

// The new folder entry only survives a power cut once the folder is synced.
void SyncFolder(const std::string& target)
{
    const std::string folder = FolderOf(target);
    CFd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0)
        ::fsync(dir.Get());
}

// A link to the settings file stays a link: the file at the end of the chain
// is the one replaced, or created when the chain dangles.
bool FollowLinks(std::string path, std::string& target)
{
    for (int i = 0; i < MAX_LINKS; ++i) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            target = path;
            return true;
        }
        std::string link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= link.size())
            return false;
        link.resize(static_cast<std::size_t>(n));
        path = link.front() == '/' ? link : FolderOf(path) + link;
    }
    errno = ELOOP;
    return false;
}

// The writers' turn: an exclusive lock on the first byte of the lock file,
// held until the object goes. The lock file stays, empty, so that every
// writer locks the same file; deleting it would let two writers lock two.
class CWriterLock {
public:
    CProfileError Take(const std::string& target)
    {
        m_file.Reset(::open(Companion(target, ".lock").c_str(),
                            O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY,
                            0666));
        struct stat info {};
        if (m_file.Get() < 0 || ::fstat(m_file.Get(), &info) != 0)
            return ErrorFromErrno(errno);
        if (!S_ISREG(info.st_mode))
            return CProfileError::NotAFile;
        struct flock range {};
        range.l_type = F_WRLCK;
        range.l_whence = SEEK_SET;
        range.l_start = 0;
        range.l_len = 1;
        const auto deadline = std::chrono::steady_clock::now() +
                              std::chrono::milliseconds(CProfile::LOCK_WAIT_MS);
        for (;;) {
            if (::fcntl(m_file.Get(), F_OFD_SETLK, &range) == 0)
                return CProfileError::None;
            if (errno != EAGAIN && errno != EACCES && errno != EINTR) {
                // A file system without record locks (some network
                // shares): saving unlocked beats never saving.
                return errno == ENOLCK || errno == EINVAL || errno == EOPNOTSUPP
                           ? CProfileError::None
                           : ErrorFromErrno(errno);
            }
            if (std::chrono::steady_clock::now() >= deadline)
                return CProfileError::Busy;
            std::this_thread::sleep_for(LOCK_POLL);
        }
    }

private:
    CFd m_file {-1};
};

// Writes text to the one temporary beside target and renames it over
// target; a writer killed half-way leaves that one file, which the next
// writer reuses.
CProfileError Replace(const std::string& target, const std::string& text, const mode_t* pMode)
{
    const std::string temp = Companion(target, ".tmp");
    CFd file(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK |
                                      O_CLOEXEC | O_NOCTTY,
                    0666));
    if (file.Get() < 0)
        return ErrorFromErrno(errno);
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        ::unlink(temp.c_str());
        return CProfileError::NotAFile;
    }
    if ((pMode && ::fchmod(file.Get(), *pMode) != 0) || !WriteAll(file.Get(), text) ||
        ::fsync(file.Get()) != 0 || !file.Close() || ::rename(temp.c_str(), target.c_str()) != 0) {
        const int nError = errno;
        ::unlink(temp.c_str());
        return ErrorFromErrno(nError);
    }
    SyncFolder(target);
    return CProfileError::None;
}

// Why a file that is there cannot be written, or None; asked before the lock
// is taken, so that a plainly refused write leaves no lock file behind, and
// again under it.
CProfileError RefusalOf(const std::string& target, const struct stat& info)
{
    if (!S_ISREG(info.st_mode))
        return CProfileError::NotAFile;
    // Without any write permission the file is read-only, also for the one
    // user whom permissions do not stop.
    if ((info.st_mode & 0222) == 0)
        return CProfileError::ReadOnly;
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        return ErrorFromErrno(errno);
    return CProfileError::None;
}

}  // namespace

// The file as last read, kept while the file stays the same one.
struct CIniProfile::SLoaded {
    bool bExists = false;
    struct stat identity {};
    SReading reading;
};

CIniProfile::CIniProfile(std::string strPath) : m_strPath(std::move(strPath)) {}

CIniProfile::~CIniProfile() = default;

const CProfile::SReading& CIniProfile::Current() const
{
    struct stat info {};
    const bool bExists = !m_strPath.empty() && ::stat(m_strPath.c_str(), &info) == 0;
    if (m_pLoaded && m_pLoaded->bExists == bExists &&
        (!bExists || IsSameFile(m_pLoaded->identity, info)))
        return m_pLoaded->reading;
    auto pLoaded = std::make_unique<SLoaded>();
    pLoaded->bExists = bExists;
    pLoaded->identity = info;
    if (bExists && !S_ISREG(info.st_mode)) {
        // A folder, a pipe or a device is not even opened.
        pLoaded->reading.error = CProfileError::NotAFile;
    } else if (bExists) {
        std::string text;
        switch (ReadWholeFile(m_strPath, text, pLoaded->identity)) {
        case EFileState::Missing:
            break;
        case EFileState::Read:
            pLoaded->reading.text = CIniText(std::move(text));
            break;
        case EFileState::Unreadable: {
            const CProfileError why = ErrorFromErrno(errno);
            pLoaded->reading.error = why == CProfileError::Other ? CProfileError::Unreadable : why;
            break;
        }
        case EFileState::TooLarge:
            pLoaded->reading.error = CProfileError::Damaged;
            break;
        }
    }
    m_pLoaded = std::move(pLoaded);
    return m_pLoaded->reading;
}

CProfileError CIniProfile::LockedUpdate(const CProfileDecision& decide)
{
    if (m_strPath.empty() || m_strPath.back() == '/')
        return CProfileError::NotAFile;
    std::string target;
    if (!FollowLinks(m_strPath, target))
        return ErrorFromErrno(errno);
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0) {
        const CProfileError why = RefusalOf(target, info);
        if (why != CProfileError::None)
            return why;
    }

    // The file is read under the lock, and what is written is decided from
    // that reading, so that no writer undoes another's change.
    CWriterLock lock;
    const CProfileError locked = lock.Take(target);
    if (locked != CProfileError::None)
        return locked;
    std::string text;
    info = {};
    switch (ReadWholeFile(target, text, info)) {
    case EFileState::Missing:
        break;
    case EFileState::Unreadable: {
        if (info.st_mode != 0 && !S_ISREG(info.st_mode))
            return CProfileError::NotAFile;
        const CProfileError why = ErrorFromErrno(errno);
        return why == CProfileError::Other ? CProfileError::Unreadable : why;
    }
    case EFileState::TooLarge:
        return CProfileError::Damaged;
    case EFileState::Read: {
        const CProfileError why = RefusalOf(target, info);
        if (why != CProfileError::None)
            return why;
        break;
    }
    }
    std::optional<std::string> out;
    const CProfileError edited = Edit(text, decide, "\n", out);
    if (edited != CProfileError::None || !out)
        return edited;
    const mode_t mode = info.st_mode & 07777;
    return Replace(target, *out, info.st_mode ? &mode : nullptr);
}
