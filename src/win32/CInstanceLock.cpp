// SPDX-License-Identifier: MIT
#include "CInstanceLock.h"

namespace {

// How often a waiting start looks for the owner's window again.
constexpr DWORD kPollMs = 20;

bool Owns(DWORD waitResult)
{
    // Abandoned: the owner ended without letting go; the lock is ours now.
    return waitResult == WAIT_OBJECT_0 || waitResult == WAIT_ABANDONED;
}

}  // namespace

CInstanceLock::~CInstanceLock()
{
    if (m_bOwned)
        ReleaseMutex(m_hMutex);
    if (m_hMutex)
        CloseHandle(m_hMutex);
}

CAppShell::OtherInstance
CInstanceLock::Acquire(const wchar_t* pName, const std::function<bool()>& wakeOther, DWORD waitMs)
{
    using OtherInstance = CAppShell::OtherInstance;
    m_hMutex = CreateMutexW(nullptr, FALSE, pName);
    // Without a mutex (a name taken by another kind of object) the window
    // is all there is to go by.
    if (!m_hMutex)
        return wakeOther() ? OtherInstance::Woken : OtherInstance::None;
    if (Owns(WaitForSingleObject(m_hMutex, 0))) {
        m_bOwned = true;
        return OtherInstance::None;
    }
    const DWORD start = GetTickCount();
    for (;;) {
        if (wakeOther())
            return OtherInstance::Woken;
        if (Owns(WaitForSingleObject(m_hMutex, kPollMs))) {
            m_bOwned = true;
            return OtherInstance::None;
        }
        if (GetTickCount() - start >= waitMs)
            return OtherInstance::NoAnswer;
    }
}
