// SPDX-License-Identifier: MIT
#include "CTickClock.h"

#include <chrono>
#include <thread>

std::uint32_t CTickClock::GetTickCount() const
{
    const auto elapsed = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
    return static_cast<std::uint32_t>(ms);
}

void CTickClock::Pause(std::uint32_t ms) const
{
    const std::uint32_t nStart = GetTickCount();
    for (;;) {
        const std::uint32_t nElapsed = GetTickCount() - nStart;
        if (nElapsed > ms)
            return;
        // The clock may tick late or sleeps may be cut short; the loop
        // re-reads the clock either way.
        const std::uint32_t nMissing = ms - nElapsed;
        Sleep(nMissing == UINT32_MAX ? nMissing : nMissing + 1);
    }
}

void CTickClock::Sleep(std::uint32_t ms) const
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
