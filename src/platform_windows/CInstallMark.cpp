// SPDX-License-Identifier: MIT
#include "CInstallMark.h"

#include <windows.h>

bool CInstallMark::IsBeside(const std::wstring& programPath)
{
    const std::size_t slash = programPath.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return false;
    const std::wstring mark = programPath.substr(0, slash + 1) + kFileName;
    const DWORD attributes = GetFileAttributesW(mark.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
