// SPDX-License-Identifier: MIT
// The Windows program's settings file, driven from a test outside Wine:
//   save PATH        sets CONFIG/PlaySound=1 and prints "saved" or
//                    "failed N" (N the CProfileError)
//   hold PATH MS     takes the writers' lock through a save that keeps
//                    it MS milliseconds, printing "holding" once it has it
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "CPrivateProfile.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    const std::wstring command = argv[1];
    CPrivateProfile profile(argv[2]);
    bool ok = false;
    if (command == L"save" && argc == 3) {
        ok = profile.WriteInt("CONFIG", "PlaySound", 1);
    } else if (command == L"hold" && argc == 4) {
        const DWORD ms = static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10));
        ok = profile.Update([&](const CIniText&) {
            std::printf("holding\n");
            std::fflush(stdout);
            Sleep(ms);
            return std::optional<std::vector<CProfileEdit>>({{"CONFIG", "Held", "1"}});
        });
    } else {
        return 2;
    }
    if (ok)
        std::printf("saved\n");
    else
        std::printf("failed %d\n", static_cast<int>(profile.GetLastWriteError()));
    return 0;
}
