// SPDX-License-Identifier: MIT
#include "CTraceDriver.h"

#include <charconv>
#include <iostream>
#include <limits>
#include <ostream>

#include "CBoardGeometry.h"
#include "CIniProfile.h"
#include "CTraceLine.h"

namespace {

bool ParseHex(const std::string& word, std::string& bytes)
{
    bytes.clear();
    if (word == "-")
        return true;
    if (word.empty() || word.size() % 2 != 0)
        return false;
    for (std::size_t i = 0; i < word.size(); i += 2) {
        unsigned value = 0;
        const auto [end, ec] = std::from_chars(word.data() + i, word.data() + i + 2, value, 16);
        if (ec != std::errc() || end != word.data() + i + 2)
            return false;
        bytes += static_cast<char>(value);
    }
    return true;
}

std::string ToHex(const std::string& bytes)
{
    if (bytes.empty())
        return "-";
    static const char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned char b : bytes) {
        hex += kDigits[b >> 4];
        hex += kDigits[b & 15];
    }
    return hex;
}

// Plain decimal: an optional '-' (where allowed) and digits only, in range.
template <typename T>
bool ParseNumber(const std::string& word, T& value)
{
    if (word.empty() || word[0] == '+')
        return false;
    if (word[0] == '-' && !std::numeric_limits<T>::is_signed)
        return false;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value, 10);
    return ec == std::errc() && end == word.data() + word.size();
}

bool IsCell(std::int32_t n)
{
    return n >= 1 && n <= CBoardGeometry::kCells;
}

bool IsBlankLine(const std::string& line)
{
    return line.find_first_not_of(" \t") == std::string::npos;
}

std::vector<std::string> SplitWords(const std::string& line)
{
    std::vector<std::string> words;
    std::size_t start = 0;
    for (;;) {
        const std::size_t blank = line.find(' ', start);
        words.push_back(line.substr(start, blank - start));
        if (blank == std::string::npos)
            return words;
        start = blank + 1;
    }
}

}  // namespace

CTraceDriver::CTraceDriver(std::ostream& out) : m_out(out)
{
    m_session.View().Attach(&m_window);
}

CTraceDriver::~CTraceDriver() = default;

int CTraceDriver::Run(std::istream& in, std::ostream& err)
{
    std::string line;
    for (long number = 1; WaitForLine(in), std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (IsBlankLine(line) || line[0] == '#')
            continue;
        if (!Execute(SplitWords(line))) {
            m_out.flush();
            err << "orvo-trace: line " << number << ": malformed or unknown command: " << line
                << '\n';
            return 2;
        }
    }
    return 0;
}

bool CTraceDriver::Execute(const std::vector<std::string>& words)
{
    for (const std::string& word : words)
        if (word.empty())
            return false;
    const std::string& command = words[0];
    const std::size_t argc = words.size() - 1;

    if (command == "ticks" && argc == 1)
        return ParseNumber(words[1], m_nTicks);
    if (command == "sound" && argc == 1) {
        if (words[1] != "on" && words[1] != "off")
            return false;
        Game().SetSound(words[1] == "on");
        return true;
    }
    if (command == "new" && argc == 0) {
        Game().NewGame();
        return true;
    }
    if ((command == "click" || command == "rclick") && argc == 2) {
        std::int32_t x = 0, y = 0;
        if (!ParseNumber(words[1], x) || !ParseNumber(words[2], y))
            return false;
        m_session.OnMouse();
        if (command == "click")
            Game().OnClick(x, y);
        else
            Game().OnRightClick();
        return true;
    }
    if (command == "key" && argc == 1) {
        static const struct {
            const char* pName;
            CKey key;
        } kKeys[] = {
            {"left", CKey::Left},   {"right", CKey::Right}, {"up", CKey::Up},
            {"down", CKey::Down},   {"space", CKey::Space}, {"enter", CKey::Enter},
            {"backspace", CKey::Backspace}, {"delete", CKey::Delete},
        };
        for (const auto& k : kKeys) {
            if (words[1] == k.pName) {
                m_session.OnKey(k.key);
                return true;
            }
        }
        return false;
    }
    if (command == "focus" && argc == 0) {
        if (m_session.IsFocusShown())
            Line("focus " + std::to_string(m_session.FocusRow()) + " " +
                 std::to_string(m_session.FocusCol()));
        else
            Line("focus none");
        return true;
    }
    if (command == "cell" && argc == 2) {
        // A click in the middle of a cell, so that scripts need no pixels.
        std::int32_t row = 0, col = 0;
        if (!ParseNumber(words[1], row) || !ParseNumber(words[2], col) || !IsCell(row) ||
            !IsCell(col))
            return false;
        m_session.OnMouse();
        Game().OnClick(CBoardGeometry::CentreX(col), CBoardGeometry::CentreY(row));
        return true;
    }
    if (command == "blink" && argc == 0) {
        if (m_bTimerRunning)
            Game().OnBlinkTimer();
        return true;
    }
    if (command == "name" && argc == 1) {
        std::string bytes;
        if (!ParseHex(words[1], bytes))
            return false;
        m_answers.AddName(bytes);
        return true;
    }
    if (command == "cancel" && argc == 0) {
        m_answers.AddCancel();
        return true;
    }
    if (command == "profile" && argc == 1) {
        m_pProfile = std::make_unique<CIniProfile>(words[1]);
        Heroes().SetProfile(m_pProfile.get());
        Heroes().Load();
        return true;
    }
    if (command == "repaint" && argc == 0) {
        Paint();
        return true;
    }
    if (command == "snapshot" && argc == 1) {
        if (!m_window.Surface().WritePpm(words[1]))
            std::cerr << "orvo-trace: cannot write " << words[1] << '\n';
        return true;
    }
    if (command == "heroes" && argc == 0) {
        PrintHeroes();
        return true;
    }
    if (command == "state" && argc == 0) {
        PrintState();
        return true;
    }
    if (command == "encode" && argc == 3) {
        CHeroRecord record;
        std::string name;
        std::int32_t balls = 0, score = 0;
        if (!ParseHex(words[1], name) || !ParseNumber(words[2], balls) ||
            !ParseNumber(words[3], score))
            return false;
        record.SetName(name);
        record.SetBalls(balls);
        record.SetScore(score);
        record.Encode();
        Line("code " + record.GetCode());
        return true;
    }
    if (command == "decode" && argc == 1) {
        CHeroRecord record;
        record.SetCode(words[1]);
        if (record.Decode())
            Line("decoded " + ToHex(record.GetName()) + ' ' + std::to_string(record.GetBalls()) +
                 ' ' + std::to_string(record.GetScore()));
        else
            Line("refused");
        return true;
    }
    return false;
}

void CTraceDriver::WaitForLine(std::istream& in)
{
    // Whoever drives us line by line reads our answer before it writes the
    // next command; a script that is already waiting needs no write per line.
    if (in.rdbuf()->in_avail() <= 0)
        m_out.flush();
}

void CTraceDriver::Line(const std::string& text)
{
    m_out << text << '\n';
}

void CTraceDriver::PrintState()
{
    std::string next;
    for (int i = 0; i < 3; ++i)
        next += ' ' + std::to_string(Game().Next(i));
    Line("count " + std::to_string(Game().Count()) + " balls " + std::to_string(Game().Balls()) +
         " score " + std::to_string(Game().Score()) + " next" + next);
    if (Game().IsSelected())
        Line("selected " + std::to_string(Game().SelRow()) + ' ' +
             std::to_string(Game().SelCol()) + " shown " + (Game().IsShown() ? "1" : "0"));
    else
        Line("selected none");
    for (int r = 1; r <= 9; ++r) {
        std::string row = "row " + std::to_string(r) + ' ';
        for (int c = 1; c <= 9; ++c)
            row += std::to_string(Game().Cell(r, c));
        Line(row);
    }
}

void CTraceDriver::PrintHeroes()
{
    Line("heroes " + std::to_string(Heroes().GetCount()));
    int i = 1;
    for (const auto& record : Heroes().Records())
        Line("hero " + std::to_string(i++) + ' ' + ToHex(record->GetName()) + ' ' +
             std::to_string(record->GetBalls()) + ' ' + std::to_string(record->GetScore()) + ' ' +
             record->GetCode());
}

void CTraceDriver::DrawCell(int row, int col, std::uint8_t value)
{
    Line(CTraceLine::Draw(row, col, value));
    m_session.Drawing().DrawCell(row, col, value);
}

void CTraceDriver::Push(std::uint8_t colour)
{
    Line(CTraceLine::Push(colour));
    m_session.Drawing().Push(colour);
}

void CTraceDriver::SetBallsValue(int value)
{
    Line(CTraceLine::Balls(value));
    m_session.Drawing().SetBallsValue(value);
}

void CTraceDriver::SetScoreValue(int value)
{
    Line(CTraceLine::Score(value));
    m_session.Drawing().SetScoreValue(value);
}

void CTraceDriver::OnSeedRandom(std::uint32_t seed)
{
    Line(CTraceLine::Seed(seed));
}

void CTraceDriver::Paint()
{
    Line(CTraceLine::Paint());
    m_session.Drawing().Paint();
}

void CTraceDriver::PlayEffect(std::uint16_t id)
{
    Line(CTraceLine::Effect(id));
}

void CTraceDriver::Pause(std::uint32_t ms)
{
    Line(CTraceLine::Pause(ms));
}

void CTraceDriver::StartBlinkTimer()
{
    m_bTimerRunning = true;
    Line(CTraceLine::Timer(true));
}

void CTraceDriver::StopBlinkTimer()
{
    m_bTimerRunning = false;
    Line(CTraceLine::Timer(false));
}

void CTraceDriver::ShowGameOver()
{
    Line(CTraceLine::Notice());
}

bool CTraceDriver::TryEnter(int balls, int score)
{
    Line(CTraceLine::Enter(balls, score));
    return m_session.TryEnter(balls, score);
}

bool CTraceDriver::AskName(std::string& name)
{
    Line(CTraceLine::Ask());
    return m_answers.Answer(name);
}
