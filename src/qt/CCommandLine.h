// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// The game has no options of its own; it answers only the two questions a
// shell or a packager asks of every program, before any window system is
// needed. Everything else on the command line, an option or a plain word,
// is refused with the usage line, so a typo is not silently ignored.
class CCommandLine {
public:
    enum class Action { Run, Help, Version, Refuse };

    // Exit codes for the actions that end the program at once.
    static constexpr int kExitAnswered = 0;
    static constexpr int kExitUsage = 2;

    CCommandLine(int argc, const char* const* argv);

    Action GetAction() const { return m_action; }
    // The text for standard output (Help, Version) or standard error
    // (Refuse); empty for Run.
    std::string Message() const;

private:
    std::string Usage() const;

    Action m_action = Action::Run;
    std::string m_strProgram;
    std::string m_strRefusal;
};
