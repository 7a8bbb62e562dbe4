// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// The game's millisecond tick counter: 32 bits wide and
// wrapping, read for the random seed and for the pauses between animation
// frames. A test derives from it to drive time by hand.
class CTickClock {
public:
    virtual ~CTickClock() = default;

    // Milliseconds of a monotonic clock, modulo 2^32.
    virtual std::uint32_t GetTickCount() const;

    // Returns at the first reading that exceeds the reading at entry by more
    // than ms (the difference taken modulo 2^32, so a wrap of the counter is
    // harmless). Nothing else is handled meanwhile. It sleeps for the time
    // still missing and checks again, rather than spinning on the clock.
    void Pause(std::uint32_t ms) const;

protected:
    virtual void Sleep(std::uint32_t ms) const;
};
