// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// The engine's random source: the classic 32-bit linear congruential
// generator, kept exact so that a seed always replays the same game.
class CRandom {
public:
    void SeedRandom(std::uint32_t seed) { m_state = seed; }
    std::uint32_t NextRandom()
    {
        m_state = m_state * 214013u + 2531011u;
        return (m_state >> 16) & 0x7FFFu;
    }
    std::uint32_t State() const { return m_state; }

private:
    std::uint32_t m_state = 0;
};
