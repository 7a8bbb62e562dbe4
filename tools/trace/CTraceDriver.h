// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "CClientWindow.h"
#include "CGameSession.h"
#include "CScriptedAnswers.h"

class CProfile;

// Runs a script of commands against the real engine and top-ten list and
// prints one line for every outgoing call the engine makes.
class CTraceDriver final : public CGameOutput, public CHeroPrompt {
public:
    explicit CTraceDriver(std::ostream& out);
    ~CTraceDriver() override;
    CTraceDriver(const CTraceDriver&) = delete;
    CTraceDriver& operator=(const CTraceDriver&) = delete;

    // Runs the script to its end. Returns 0, or 2 after reporting the first
    // malformed line on err (everything before it has run).
    int Run(std::istream& in, std::ostream& err);

    // CGameOutput
    void DrawCell(int row, int col, std::uint8_t value) override;
    void Push(std::uint8_t colour) override;
    void SetBallsValue(int value) override;
    void SetScoreValue(int value) override;
    void Paint() override;
    void PlayEffect(std::uint16_t id) override;
    void Pause(std::uint32_t ms) override;
    std::uint32_t GetTickCount() override { return m_nTicks; }
    void OnSeedRandom(std::uint32_t seed) override;
    void StartBlinkTimer() override;
    void StopBlinkTimer() override;
    void ShowGameOver() override;
    bool TryEnter(int balls, int score) override;

    // CHeroPrompt
    bool AskName(std::string& name) override;

private:
    // Executes one command line split into words; false when it is malformed.
    bool Execute(const std::vector<std::string>& words);
    // Sends what is printed so far unless the next line is already there.
    void WaitForLine(std::istream& in);
    void Line(const std::string& text);
    void PrintState();
    void PrintHeroes();
    CGame& Game() { return m_session.Game(); }
    CHeroList& Heroes() { return m_session.Heroes(); }

    std::ostream& m_out;
    // The client area in memory: every update draws here as it would on screen.
    CClientWindow m_window;
    std::unique_ptr<CProfile> m_pProfile;
    std::uint32_t m_nTicks = 0;
    bool m_bTimerRunning = false;
    CScriptedAnswers m_answers;
    // Last: the engine's calls reach a driver whose members are all built.
    CGameSession m_session{*this, *this};
};
