// SPDX-License-Identifier: MIT
#include "CInstanceLock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

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
              CInstanceLock lock;
              m_bFirst = lock.Acquire(name.c_str(), [] { return false; });
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

bool SecondStart(const std::wstring& name, const std::function<bool()>& wakeOther, DWORD waitMs)
{
    bool first = false;
    std::thread([&] {
        CInstanceLock lock;
        first = lock.Acquire(name.c_str(), wakeOther, waitMs);
    }).join();
    return first;
}

TEST_F(InstanceLockTest, SecondStartWaitsForTheFirstWindowAndWakesIt)
{
    FirstStart first(m_name);
    ASSERT_TRUE(first.WasFirst());
    // The first start's window appears only on the fourth look.
    int looks = 0;
    EXPECT_FALSE(SecondStart(m_name, [&] { return ++looks == 4; }, 5000));
    EXPECT_EQ(looks, 4);
}

TEST_F(InstanceLockTest, SecondStartGivesUpWithoutAWindowOfItsOwn)
{
    FirstStart first(m_name);
    int looks = 0;
    EXPECT_FALSE(SecondStart(m_name, [&] { return ++looks, false; }, 200));
    // It looked again and again while the wait lasted.
    EXPECT_GT(looks, 1);
}

TEST_F(InstanceLockTest, LockPassesOnWhenTheFirstEnds)
{
    {
        FirstStart first(m_name);
        first.End();
    }
    EXPECT_TRUE(SecondStart(m_name, [] { return false; }, 200));
    // While the first still waits to end, a start that finds no window
    // takes over the moment it does.
    FirstStart first(m_name);
    std::thread ender([&] {
        Sleep(100);
        first.End();
    });
    EXPECT_TRUE(SecondStart(m_name, [] { return false; }, 5000));
    ender.join();
}

}  // namespace
