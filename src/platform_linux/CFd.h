// SPDX-License-Identifier: MIT
#pragma once

#include <unistd.h>

// A file descriptor, closed with its owner unless released.
class CFd {
public:
    explicit CFd(int nFd = -1) : m_nFd(nFd) {}
    ~CFd() { Reset(); }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;

    int Get() const { return m_nFd; }
    int Release()
    {
        const int nFd = m_nFd;
        m_nFd = -1;
        return nFd;
    }
    void Reset(int nFd = -1)
    {
        if (m_nFd >= 0)
            ::close(m_nFd);
        m_nFd = nFd;
    }
    // Closes now; false when the close reports an error, which for a file
    // just written means its data may not have reached the disk.
    bool Close() { return ::close(Release()) == 0; }

private:
    int m_nFd;
};
