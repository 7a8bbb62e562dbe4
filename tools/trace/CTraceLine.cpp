// SPDX-License-Identifier: MIT
#include "CTraceLine.h"

std::string CTraceLine::Draw(int row, int col, std::uint8_t value)
{
    return "draw " + std::to_string(row) + ' ' + std::to_string(col) + ' ' + std::to_string(value);
}

std::string CTraceLine::Push(std::uint8_t colour)
{
    return "push " + std::to_string(colour);
}

std::string CTraceLine::Balls(int value)
{
    return "balls " + std::to_string(value);
}

std::string CTraceLine::Score(int value)
{
    return "score " + std::to_string(value);
}

std::string CTraceLine::Seed(std::uint32_t seed)
{
    return "seed " + std::to_string(seed);
}

std::string CTraceLine::Paint()
{
    return "paint";
}

std::string CTraceLine::Effect(std::uint16_t id)
{
    return "effect " + std::to_string(id);
}

std::string CTraceLine::Pause(std::uint32_t ms)
{
    return "pause " + std::to_string(ms);
}

std::string CTraceLine::Timer(bool on)
{
    return on ? "timer on" : "timer off";
}

std::string CTraceLine::Notice()
{
    return "notice";
}

std::string CTraceLine::Enter(int balls, int score)
{
    return "enter " + std::to_string(balls) + ' ' + std::to_string(score);
}

std::string CTraceLine::Ask()
{
    return "ask";
}
