// SPDX-License-Identifier: MIT
#include "CInstanceLock.h"

namespace {

// How often a waiting start looks for the owner's window again.
constexpr DWORD kPollMs = 20;
// A game between moves answers at once. A start waiting for one asks again
// after each try until its wait runs out, so this only bounds a single try.
constexpr UINT kAnswerMs = 500;

bool Owns(DWORD waitResult)
{
    // Abandoned: the owner ended without letting go; the lock is ours now.
    return waitResult == WAIT_OBJECT_0 || waitResult == WAIT_ABANDONED;
}

// A plain send to a stopped or hung window would never return.
bool Answers(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(hWnd, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerMs,
                               &result) != 0;
}

}  // namespace

CInstanceLock::CInstanceLock(std::wstring name, std::function<bool()> wakeOther, DWORD waitMs)
    : m_name(std::move(name)), m_wakeOther(std::move(wakeOther)), m_waitMs(waitMs)
{
}

CInstanceLock::CInstanceLock(std::wstring name, const SWindow& window, DWORD waitMs)
    : CInstanceLock(
          std::move(name),
          [window] {
              HWND hOther = FindWindowA(window.pClassName, window.pTitle);
              return hOther && WakeWindow(hOther, window);
          },
          waitMs)
{
}

CInstanceLock::~CInstanceLock()
{
    if (m_bOwned)
        ReleaseMutex(m_hMutex);
    if (m_hMutex)
        CloseHandle(m_hMutex);
}

CInstanceGuard::OtherInstance CInstanceLock::Claim()
{
    m_hMutex = CreateMutexW(nullptr, FALSE, m_name.c_str());
    // Without a mutex (a name taken by another kind of object) the window
    // is all there is to go by.
    if (!m_hMutex)
        return m_wakeOther() ? OtherInstance::Woken : OtherInstance::None;
    if (Owns(WaitForSingleObject(m_hMutex, 0))) {
        m_bOwned = true;
        return OtherInstance::None;
    }
    const DWORD start = GetTickCount();
    for (;;) {
        if (m_wakeOther())
            return OtherInstance::Woken;
        if (Owns(WaitForSingleObject(m_hMutex, kPollMs))) {
            m_bOwned = true;
            return OtherInstance::None;
        }
        if (GetTickCount() - start >= m_waitMs)
            return OtherInstance::NoAnswer;
    }
}

bool CInstanceLock::WakeWindow(HWND hOther, const SWindow& window)
{
    if (!Answers(hOther, WM_NULL, 0, 0))
        return false;
    if (!IsWindowVisible(hOther))
        Answers(hOther, window.trayMessage, window.trayId, WM_LBUTTONUP);
    SetForegroundWindow(hOther);
    if (IsIconic(hOther))
        ShowWindowAsync(hOther, SW_RESTORE);
    return true;
}
