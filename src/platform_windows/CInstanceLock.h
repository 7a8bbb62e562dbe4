// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "CInstanceGuard.h"

// One game per session. Looking for the first game's window alone leaves a
// gap: two starts at the same moment both look before either has made its
// window, and both open one. So the first start owns a named mutex from its
// first step to its end; a later start that finds the mutex owned waits, a
// few seconds at most, for the owner's window to appear and answer, wakes
// it, and never makes a window of its own.
class CInstanceLock final : public CInstanceGuard {
public:
    // The session's name: other users' sessions have a game of their own.
    static constexpr const wchar_t* kName = L"Local\\Orvo.Instance";
    static constexpr DWORD kWaitMs = 5000;

    // The running game's window as a later start finds and wakes it: by its
    // class and title; a hidden one is shown by the click that its
    // notification-area icon reports with trayMessage and trayId.
    struct SWindow {
        const char* pClassName;
        const char* pTitle;
        UINT trayMessage;
        WPARAM trayId;
    };

    // wakeOther: true once it has found the owner's window answering and
    // woken it.
    CInstanceLock(std::wstring name, std::function<bool()> wakeOther, DWORD waitMs = kWaitMs);
    CInstanceLock(std::wstring name, const SWindow& window, DWORD waitMs = kWaitMs);
    ~CInstanceLock();
    CInstanceLock(const CInstanceLock&) = delete;
    CInstanceLock& operator=(const CInstanceLock&) = delete;

    // None when this start is the first: the lock is then held until the
    // object goes. Otherwise wakeOther is called until it finds the owner's
    // window answering and wakes it (Woken) or the wait runs out
    // (NoAnswer: the owner is stopped or hung, or never made its window).
    // An owner that ends meanwhile passes the lock on to this start.
    OtherInstance Claim() override;

    // Brings the game whose window this is back: from the notification area,
    // minimised or behind others. False, without waiting long, when the
    // window does not answer.
    static bool WakeWindow(HWND hOther, const SWindow& window);

private:
    std::wstring m_name;
    std::function<bool()> m_wakeOther;
    DWORD m_waitMs;
    HANDLE m_hMutex = nullptr;
    bool m_bOwned = false;
};
