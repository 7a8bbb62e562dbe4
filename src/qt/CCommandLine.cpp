// SPDX-License-Identifier: MIT
#include "CCommandLine.h"

#include <cstring>

#include "AppIdentity.h"

namespace {

bool IsOption(const char* pArg)
{
    // A lone "-" is, by custom, a file name for standard input, not an option.
    return pArg[0] == '-' && pArg[1] != '\0';
}

}  // namespace

CCommandLine::CCommandLine(int argc, const char* const* argv)
    : m_strProgram(argc > 0 && argv[0] && *argv[0] ? argv[0] : "orvo")
{
    const std::size_t slash = m_strProgram.rfind('/');
    if (slash != std::string::npos)
        m_strProgram.erase(0, slash + 1);
    const char* pStray = nullptr;
    bool bOptionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const char* pArg = argv[i];
        if (!bOptionsEnd && std::strcmp(pArg, "--") == 0) {
            bOptionsEnd = true;
            continue;
        }
        if (bOptionsEnd || !IsOption(pArg)) {
            if (!pStray)
                pStray = pArg;
            continue;
        }
        // The first question asked wins wherever it stands, as with most GNU
        // programs, even after a word that would be refused.
        if (std::strcmp(pArg, "--help") == 0 || std::strcmp(pArg, "-h") == 0) {
            m_action = Action::Help;
            return;
        }
        if (std::strcmp(pArg, "--version") == 0) {
            m_action = Action::Version;
            return;
        }
        m_action = Action::Refuse;
        m_strRefusal = "unknown option '" + std::string(pArg) + "'";
        return;
    }
    // The game opens no files: a word left over is a mistake, not a request.
    if (pStray) {
        m_action = Action::Refuse;
        m_strRefusal = "unexpected argument '" + std::string(pStray) + "'";
    }
}

std::string CCommandLine::Message() const
{
    switch (m_action) {
    case Action::Run:
        return std::string();
    case Action::Help:
        return Usage() +
               "Orvo, a puzzle game: line up five or more balls of one colour on a 9 x 9 board.\n"
               "Started without options, it opens the game window.\n"
               "\n"
               "  -h, --help     show this help and exit\n"
               "      --version  show the version and exit\n"
               "\n"
               "Settings and the top-ten list: $XDG_CONFIG_HOME/orvo/orvo.ini\n"
               "(~/.config/orvo/orvo.ini) for an installed game, else orvo.ini beside\n"
               "the program.\n";
    case Action::Version:
        return ORVO_APP_TITLE " " ORVO_VERSION "\n";
    case Action::Refuse:
        return m_strProgram + ": " + m_strRefusal + "\n" + Usage();
    }
    return std::string();
}

std::string CCommandLine::Usage() const
{
    return "Usage: " + m_strProgram + " [--help | --version]\n";
}
