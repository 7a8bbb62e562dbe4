// SPDX-License-Identifier: MIT
#include "CInstanceLock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

// Outcomes by name in a failure's message.
void PrintTo(CInstanceGuard::OtherInstance outcome, std::ostream* pOut)
{
    static const char* const kNames[] = {"None", "Woken", "NoAnswer"};
    *pOut << kNames[static_cast<int>(outcome)];
}

namespace {

using OtherInstance = CInstanceGuard::OtherInstance;

// The click a hidden game's notification-area icon reports.
constexpr UINT kTrayMessage = WM_APP + 6;
constexpr WPARAM kTrayId = 7;
const CInstanceLock::SWindow kWindow{"OrvoTestOtherWindow", "", kTrayMessage, kTrayId};

// A mutex belongs to a thread, so each start here runs on a thread of its
// own, as each start of the game is a process of its own.
class InstanceLockTest : public ::testing::Test {
protected:
    std::wstring m_name = L"Local\\Orvo.Test." + std::to_wstring(GetCurrentProcessId()) + L"." +
                          std::to_wstring(GetTickCount());
};

// The first start holds the lock until it ends.
class FirstStart {
public:
    explicit FirstStart(const std::wstring& name)
        : m_thread([this, name] {
              CInstanceLock lock(name, [] { return false; });
              m_bFirst = lock.Claim() == OtherInstance::None;
              m_bHolding = true;
              while (!m_bEnd)
                  Sleep(1);
          })
    {
        while (!m_bHolding)
            Sleep(1);
    }
    ~FirstStart() { End(); }
    void End()
    {
        m_bEnd = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    bool WasFirst() const { return m_bFirst; }

private:
    std::atomic<bool> m_bFirst{false}, m_bHolding{false}, m_bEnd{false};
    std::thread m_thread;
};

OtherInstance SecondStart(const std::wstring& name, const std::function<bool()>& wakeOther,
                          DWORD waitMs)
{
    OtherInstance found = OtherInstance::None;
    std::thread([&] {
        CInstanceLock lock(name, wakeOther, waitMs);
        found = lock.Claim();
    }).join();
    return found;
}

TEST_F(InstanceLockTest, SecondStartWaitsForTheFirstWindowAndWakesIt)
{
    FirstStart first(m_name);
    ASSERT_TRUE(first.WasFirst());
    // The first start's window appears only on the fourth look.
    int looks = 0;
    EXPECT_EQ(SecondStart(m_name, [&] { return ++looks == 4; }, 5000), OtherInstance::Woken);
    EXPECT_EQ(looks, 4);
}

// The lock is held but no window answers in time (the first start is
// stopped or hung): the second says so, and makes no window of its own.
TEST_F(InstanceLockTest, SecondStartReportsAnOwnerWhoseWindowNeverAnswers)
{
    FirstStart first(m_name);
    int looks = 0;
    EXPECT_EQ(SecondStart(m_name, [&] { return ++looks, false; }, 200), OtherInstance::NoAnswer);
    // It looked again and again while the wait lasted.
    EXPECT_GT(looks, 1);
}

TEST_F(InstanceLockTest, LockPassesOnWhenTheFirstEnds)
{
    {
        FirstStart first(m_name);
        first.End();
    }
    EXPECT_EQ(SecondStart(m_name, [] { return false; }, 200), OtherInstance::None);
    // While the first still waits to end, a start that finds no window
    // takes over the moment it does.
    FirstStart first(m_name);
    std::thread ender([&] {
        Sleep(100);
        first.End();
    });
    EXPECT_EQ(SecondStart(m_name, [] { return false; }, 5000), OtherInstance::None);
    ender.join();
}

// The running game's window, on a thread of its own as in the game's own
// process, hidden as in the notification area. Until Pump its thread takes
// no messages, as a stopped or hung game's does not.
class COtherWindow {
public:
    COtherWindow()
        : m_hPump(CreateEventW(nullptr, TRUE, FALSE, nullptr)), m_thread([this] { Run(); })
    {
        while (!m_bMade)
            Sleep(1);
    }
    ~COtherWindow()
    {
        PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
        Pump();
        m_thread.join();
        CloseHandle(m_hPump);
    }
    HWND Window() const { return m_hWnd; }
    void Pump() { SetEvent(m_hPump); }
    int TrayClicks() const { return s_nTrayClicks; }

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == kTrayMessage && wParam == kTrayId && lParam == WM_LBUTTONUP)
            ++s_nTrayClicks;
        if (message == WM_DESTROY)
            PostQuitMessage(0);
        return DefWindowProcW(hWnd, message, wParam, lParam);
    }
    void Run()
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"OrvoTestOtherWindow";
        RegisterClassW(&windowClass);
        s_nTrayClicks = 0;
        m_hWnd = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                 100, nullptr, nullptr, windowClass.hInstance, nullptr);
        m_bMade = true;
        if (!m_hWnd)
            return;
        WaitForSingleObject(m_hPump, INFINITE);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0)
            DispatchMessageW(&msg);
    }

    static inline std::atomic<int> s_nTrayClicks{0};
    HANDLE m_hPump;
    std::atomic<HWND> m_hWnd{nullptr};
    std::atomic<bool> m_bMade{false};
    std::thread m_thread;
};

TEST(WakeWindow, AWindowThatDoesNotAnswerIsNotCountedAsWoken)
{
    COtherWindow other;
    ASSERT_NE(other.Window(), nullptr);
    EXPECT_FALSE(CInstanceLock::WakeWindow(other.Window(), kWindow));
    EXPECT_EQ(other.TrayClicks(), 0);
    // Once it takes messages again, the wake is its icon's click.
    other.Pump();
    EXPECT_TRUE(CInstanceLock::WakeWindow(other.Window(), kWindow));
    EXPECT_EQ(other.TrayClicks(), 1);
}

}  // namespace
