#pragma once

#include <string>
#include <vector>

#include "CGameOutput.h"

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
        Add("draw " + std::to_string(row) + ' ' + std::to_string(col) + ' ' +
            std::to_string(value));
    }
    void Push(std::uint8_t colour) override { Add("push " + std::to_string(colour)); }
    void SetBallsValue(int value) override { Add("balls " + std::to_string(value)); }
    void SetScoreValue(int value) override { Add("score " + std::to_string(value)); }
    void Paint() override { Add("paint"); }
    void PlayEffect(std::uint16_t id) override { Add("effect " + std::to_string(id)); }
    void Pause(std::uint32_t ms) override { Add("pause " + std::to_string(ms)); }
    std::uint32_t GetTickCount() override { return ticks; }
    void OnSeedRandom(std::uint32_t seed) override { Add("seed " + std::to_string(seed)); }
    void StartBlinkTimer() override
    {
        timerRunning = true;
        Add("timer on");
    }
    void StopBlinkTimer() override
    {
        timerRunning = false;
        Add("timer off");
    }
    void ShowGameOver() override { Add("notice"); }
    bool TryEnter(int balls, int score) override
    {
        Add("enter " + std::to_string(balls) + ' ' + std::to_string(score));
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
