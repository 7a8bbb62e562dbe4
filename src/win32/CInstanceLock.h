// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <functional>

#include "CAppShell.h"

// One game per session. Looking for the first game's window alone leaves a
// gap: two starts at the same moment both look before either has made its
// window, and both open one. So the first start owns a named mutex from its
// first step to its end; a later start that finds the mutex owned waits, a
// few seconds at most, for the owner's window to appear and answer, wakes
// it, and never makes a window of its own.
class CInstanceLock {
public:
    // The session's name: other users' sessions have a game of their own.
    static constexpr const wchar_t* kName = L"Local\\Orvo.Instance";
    static constexpr DWORD kWaitMs = 5000;

    CInstanceLock() = default;
    ~CInstanceLock();
    CInstanceLock(const CInstanceLock&) = delete;
    CInstanceLock& operator=(const CInstanceLock&) = delete;

    // None when this start is the first: the lock is then held until the
    // object goes. Otherwise wakeOther is called until it finds the owner's
    // window answering and wakes it (true: Woken) or the wait runs out
    // (NoAnswer: the owner is stopped or hung, or never made its window).
    // An owner that ends meanwhile passes the lock on to this start.
    CAppShell::OtherInstance Acquire(const wchar_t* pName, const std::function<bool()>& wakeOther,
                                     DWORD waitMs = kWaitMs);

private:
    HANDLE m_hMutex = nullptr;
    bool m_bOwned = false;
};
