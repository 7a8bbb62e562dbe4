// SPDX-License-Identifier: MIT
#include "CTickClock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// Time that moves only when Pause reads or sleeps, as each case prescribes.
class CFakeClock : public CTickClock {
public:
    struct SBehaviour {
        const char* pszName;
        std::uint32_t nPerRead;       // counter advance after each reading
        std::uint32_t nGranularity;   // readings are rounded down to this
        std::uint32_t nSleepPercent;  // how much of a requested sleep passes (rounded up)
        std::uint32_t nOversleep;     // and how much on top of it
    };

    CFakeClock(std::uint32_t nStart, const SBehaviour& behaviour)
        : m_nNow(nStart), m_behaviour(behaviour)
    {
    }

    std::uint32_t GetTickCount() const override
    {
        if (m_aReadings.size() == MAX_READINGS) {
            ADD_FAILURE() << "Pause spins on the clock instead of sleeping";
            m_nNow += 0x10000;  // let it return so that the test can end
        }
        const std::uint32_t nReading = m_nNow - m_nNow % m_behaviour.nGranularity;
        m_aReadings.push_back(nReading);
        m_nNow += m_behaviour.nPerRead;
        return nReading;
    }

    const std::vector<std::uint32_t>& GetReadings() const { return m_aReadings; }
    const std::vector<std::uint32_t>& GetSleeps() const { return m_aSleeps; }

protected:
    void Sleep(std::uint32_t ms) const override
    {
        m_aSleeps.push_back(ms);
        m_nNow += (ms * m_behaviour.nSleepPercent + 99) / 100 + m_behaviour.nOversleep;
    }

private:
    static constexpr std::size_t MAX_READINGS = 1000;

    mutable std::uint32_t m_nNow;
    SBehaviour m_behaviour;
    mutable std::vector<std::uint32_t> m_aReadings;
    mutable std::vector<std::uint32_t> m_aSleeps;
};

constexpr std::uint32_t START = 0xFFFFFFF0;  // wraps to 0 during the pause

}  // namespace

TEST(TickClockTest, PauseEndsAtTheFirstReadingPastItsLengthAcrossTheWrap)
{
    const std::vector<CFakeClock::SBehaviour> behaviours = {
        {"exact sleeps", 0, 1, 100, 0},
        {"sleeps cut short", 0, 1, 10, 0},
        {"oversleeping", 0, 1, 100, 30},
        {"coarse 16 ms ticks", 0, 16, 100, 0},
        {"sleeps that do nothing", 1, 1, 0, 0},
    };
    for (const CFakeClock::SBehaviour& behaviour : behaviours) {
        SCOPED_TRACE(behaviour.pszName);
        const CFakeClock clock(START, behaviour);
        clock.Pause(50);

        const std::vector<std::uint32_t>& readings = clock.GetReadings();
        ASSERT_GE(readings.size(), 2u);
        EXPECT_EQ(readings.front(), START);
        for (std::size_t i = 1; i + 1 < readings.size(); ++i)
            EXPECT_LE(readings[i] - START, 50u) << "kept waiting after reading " << i;
        EXPECT_GT(readings.back() - START, 50u);
        EXPECT_LT(readings.back(), START) << "the counter should have wrapped";
    }
}

TEST(TickClockTest, PauseSleepsForTheTimeStillMissing)
{
    struct SCase {
        CFakeClock::SBehaviour behaviour;
        std::uint32_t nEnd;
        std::vector<std::uint32_t> sleeps;
    };
    const std::vector<SCase> cases = {
        {{"exact", 0, 1, 100, 0}, START + 51, {51}},
        {{"half", 0, 1, 50, 0}, START + 51, {51, 25, 12, 6, 3, 1}},
        {{"late", 0, 1, 100, 30}, START + 81, {51}},
        {{"coarse", 0, 16, 100, 0}, START + 64, {51, 3, 3, 3, 3, 3}},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.behaviour.pszName);
        const CFakeClock clock(START, c.behaviour);
        clock.Pause(50);
        EXPECT_EQ(clock.GetReadings().back(), c.nEnd);
        EXPECT_EQ(clock.GetSleeps(), c.sleeps);
    }
}

TEST(TickClockTest, PauseOfZeroWaitsForTheNextTick)
{
    const CFakeClock clock(START, {"exact", 0, 1, 100, 0});
    clock.Pause(0);
    EXPECT_EQ(clock.GetReadings(), (std::vector<std::uint32_t>{START, START, START + 1}));
    EXPECT_EQ(clock.GetSleeps(), std::vector<std::uint32_t>{1});
}
