// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

// The text of the line orvo-trace prints for each outgoing call of the
// engine and the top-ten list. The tests' recorders use the same words, so
// a call sequence reads alike in a test and in a trace.
class CTraceLine {
public:
    static std::string Draw(int row, int col, std::uint8_t value);
    static std::string Push(std::uint8_t colour);
    static std::string Balls(int value);
    static std::string Score(int value);
    static std::string Seed(std::uint32_t seed);
    static std::string Paint();
    static std::string Effect(std::uint16_t id);
    static std::string Pause(std::uint32_t ms);
    static std::string Timer(bool on);
    static std::string Notice();
    static std::string Enter(int balls, int score);
    static std::string Ask();
};
