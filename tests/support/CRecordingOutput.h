// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "CGameOutput.h"
#include "CTraceLine.h"

// Records every outgoing call of the engine as one short line, the way the
// trace driver prints them, so tests can compare whole call sequences.
class CRecordingOutput : public CGameOutput {
public:
    std::vector<std::string> calls;
    std::uint32_t ticks = 0;
    bool timerRunning = false;
    bool enterResult = false;

    void DrawCell(int row, int col, std::uint8_t value) override
    {
        Add(CTraceLine::Draw(row, col, value));
    }
    void Push(std::uint8_t colour) override { Add(CTraceLine::Push(colour)); }
    void SetBallsValue(int value) override { Add(CTraceLine::Balls(value)); }
    void SetScoreValue(int value) override { Add(CTraceLine::Score(value)); }
    void Paint() override { Add(CTraceLine::Paint()); }
    void PlayEffect(std::uint16_t id) override { Add(CTraceLine::Effect(id)); }
    void Pause(std::uint32_t ms) override { Add(CTraceLine::Pause(ms)); }
    std::uint32_t GetTickCount() override { return ticks; }
    void OnSeedRandom(std::uint32_t seed) override { Add(CTraceLine::Seed(seed)); }
    void StartBlinkTimer() override
    {
        timerRunning = true;
        Add(CTraceLine::Timer(true));
    }
    void StopBlinkTimer() override
    {
        timerRunning = false;
        Add(CTraceLine::Timer(false));
    }
    void ShowGameOver() override { Add(CTraceLine::Notice()); }
    bool TryEnter(int balls, int score) override
    {
        Add(CTraceLine::Enter(balls, score));
        return enterResult;
    }

    void Add(const std::string& call) { calls.push_back(call); }
    std::vector<std::string> Take()
    {
        std::vector<std::string> taken;
        taken.swap(calls);
        return taken;
    }
};
