// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// The installer leaves a small file beside the program it installs. A game
// that finds it is an installed one: it keeps its settings in the player's
// folder even where it could write its own (run elevated, with UAC off, or
// under Wine), so that one player's scores live in one place however the
// game was started, and nothing is left in Program Files to uninstall. The
// zip carries no such file: an unpacked copy keeps them beside itself.
// The mark belongs to its folder, not to a registry entry naming a folder,
// so a copy of the program elsewhere is never taken for the installed one.
class CInstallMark {
public:
    // The build names it once, for the program and the installer both.
    static constexpr const wchar_t* kFileName = L"" ORVO_INSTALL_MARK;

    CInstallMark() = delete;

    // Whether the mark lies in the folder of the program at programPath.
    static bool IsBeside(const std::wstring& programPath);
};
