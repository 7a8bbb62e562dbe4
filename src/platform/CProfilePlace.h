// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// Where the settings file lives, the same on every system. It lies beside
// the program, named after it with the extension replaced by "ini" ("ini"
// added where there is none: build/orvo keeps build/orvo.ini, orvo.exe
// orvo.ini). An installed game, or one whose folder cannot be written,
// keeps it in the player's own settings folder instead. Where there is no
// such folder either, it stays beside the program: the game then plays
// and says so when something cannot be saved, rather than not starting.
class CProfilePlace {
public:
    enum class Where { BesideProgram, PlayersFolder, Nowhere };

    CProfilePlace() = delete;

    // bBesideWritable: a file could really be made in the program's folder;
    // bHavePlayersFolder: the player's settings folder exists or was made.
    static Where Choose(bool bHaveBeside, bool bInstalled, bool bBesideWritable,
                        bool bHavePlayersFolder)
    {
        if (!bHaveBeside)
            return Where::Nowhere;
        if (bBesideWritable && !bInstalled)
            return Where::BesideProgram;
        return bHavePlayersFolder ? Where::PlayersFolder : Where::BesideProgram;
    }

    // The same, with the two places at hand: the path to use, empty when
    // beside is (no program path).
    template <class Path>
    static Path Choose(const Path& beside, bool bInstalled, bool bBesideWritable,
                       const Path& players)
    {
        switch (Choose(!beside.empty(), bInstalled, bBesideWritable, !players.empty())) {
        case Where::BesideProgram:
            return beside;
        case Where::PlayersFolder:
            return players;
        case Where::Nowhere:
            break;
        }
        return Path();
    }

    // Empty for an empty path. Narrow paths are POSIX paths; wide ones are
    // Windows paths, where a backslash separates folders too.
    template <class Path>
    static Path BesideProgram(const Path& programPath)
    {
        using Char = typename Path::value_type;
        if (programPath.empty())
            return Path();
        const Char separators[] = {Char('/'), Char(sizeof(Char) > 1 ? '\\' : '/'), Char(0)};
        const std::size_t slash = programPath.find_last_of(separators);
        const std::size_t nameAt = slash == Path::npos ? 0 : slash + 1;
        const std::size_t dot = programPath.find_last_of(Char('.'));
        // A leading dot names a hidden file, not an extension.
        const bool bHasExtension = dot != Path::npos && dot > nameAt;
        const Char ini[] = {Char('.'), Char('i'), Char('n'), Char('i'), Char(0)};
        return (bHasExtension ? programPath.substr(0, dot) : programPath) + ini;
    }
};
