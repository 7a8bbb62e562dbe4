// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

// Another program holding the settings writers' lock (the first byte of the
// lock file) until the object goes, or for nHoldMs: on Linux another process
// with a process-wide record lock, as Wine holds one for the Windows
// program; on Windows another handle.
class CHeldLock {
public:
    explicit CHeldLock(const std::filesystem::path& lockFile, int nHoldMs = -1)
    {
#ifdef _WIN32
        (void)nHoldMs;
        m_h = CreateFileW(lockFile.wstring().c_str(), GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        OVERLAPPED at {};
        m_bHeld = LockFileEx(m_h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at);
#else
        // The child holds the lock until the parent closes its end of
        // release, or dies: it must never outlive the test, nor hold the
        // test's output open for whoever waits on it.
        int ready[2];
        int release[2];
        if (::pipe2(ready, O_CLOEXEC) != 0)
            return;
        if (::pipe2(release, O_CLOEXEC) != 0) {
            ::close(ready[0]);
            ::close(ready[1]);
            return;
        }
        const pid_t parent = ::getpid();
        m_child = ::fork();
        if (m_child == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (::getppid() != parent)
                ::_exit(1);
            const int quiet = ::open("/dev/null", O_RDWR);
            ::dup2(quiet, STDOUT_FILENO);
            ::dup2(quiet, STDERR_FILENO);
            ::close(ready[0]);
            ::close(release[1]);
            const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT, 0666);
            struct flock range {};
            range.l_type = F_WRLCK;
            range.l_whence = SEEK_SET;
            range.l_len = 1;
            const char answer = fd >= 0 && ::fcntl(fd, F_SETLK, &range) == 0 ? 'y' : 'n';
            (void)!::write(ready[1], &answer, 1);
            struct pollfd until {release[0], POLLIN, 0};
            while (::poll(&until, 1, nHoldMs) < 0 && errno == EINTR) {
            }
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        m_release = release[1];
        char answer = 0;
        m_bHeld = m_child > 0 && ::read(ready[0], &answer, 1) == 1 && answer == 'y';
        ::close(ready[0]);
#endif
    }
    ~CHeldLock() { Release(); }
    CHeldLock(const CHeldLock&) = delete;
    CHeldLock& operator=(const CHeldLock&) = delete;

    bool IsHeld() const { return m_bHeld; }
    void Release()
    {
#ifdef _WIN32
        if (m_h != INVALID_HANDLE_VALUE)
            CloseHandle(m_h);
        m_h = INVALID_HANDLE_VALUE;
#else
        if (m_release >= 0)
            ::close(m_release);
        m_release = -1;
        if (m_child > 0) {
            ::kill(m_child, SIGKILL);
            int status = 0;
            ::waitpid(m_child, &status, 0);
        }
        m_child = -1;
#endif
    }

private:
    bool m_bHeld = false;
#ifdef _WIN32
    HANDLE m_h = INVALID_HANDLE_VALUE;
#else
    pid_t m_child = -1;
    int m_release = -1;
#endif
};
