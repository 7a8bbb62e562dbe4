// SPDX-License-Identifier: MIT
#include "CProfileLocation.h"

#include <windows.h>

#include "CPrivateProfile.h"

std::unique_ptr<CProfile> CProfileLocation::OpenForThisProgram()
{
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH)
        return nullptr;
    const std::wstring profilePath = CPrivateProfile::Locate(path);
    if (profilePath.empty())
        return nullptr;
    return std::make_unique<CPrivateProfile>(profilePath);
}
