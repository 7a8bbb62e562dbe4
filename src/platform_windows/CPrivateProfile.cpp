// SPDX-License-Identifier: MIT
#include "CPrivateProfile.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "CInstallMark.h"
#include "CProfilePlace.h"

namespace {

// Bytes as the A functions would pass them: the system's code page.
std::wstring Widen(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int length = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(size, 0)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), size);
    return wide;
}

std::string Narrow(const std::wstring& wide)
{
    if (wide.empty())
        return std::string();
    const int length = static_cast<int>(wide.size());
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr,
                                         nullptr);
    std::string text(static_cast<std::size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), length, text.data(), size, nullptr, nullptr);
    return text;
}

std::wstring FolderOf(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

// A new, empty file of our own in folder; empty when none can be made.
std::wstring MakeTempFile(const std::wstring& folder)
{
    wchar_t path[MAX_PATH + 16] = {};
    if (GetTempFileNameW(folder.c_str(), L"orv", 0, path) == 0)
        return std::wstring();
    return path;
}

}  // namespace

bool CPrivateProfile::IsOversized() const
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(m_strPath.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    const unsigned long long size =
        (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return size > MAX_FILE_BYTES;
}

std::string CPrivateProfile::GetString(const std::string& section, const std::string& key,
                                       const std::string& def) const
{
    if (IsOversized())
        return def;
    wchar_t buffer[4096] = {};
    GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(def).c_str(),
                             buffer, static_cast<DWORD>(std::size(buffer)), m_strPath.c_str());
    return Narrow(buffer);
}

int CPrivateProfile::GetInt(const std::string& section, const std::string& key, int def) const
{
    if (IsOversized())
        return def;
    return static_cast<int>(GetPrivateProfileIntW(Widen(section).c_str(), Widen(key).c_str(),
                                                  def, m_strPath.c_str()));
}

bool CPrivateProfile::Fail(CProfileError why)
{
    m_lastError = why;
    return false;
}

CProfileError CPrivateProfile::SystemError() const
{
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesW(m_strPath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return CProfileError::NotAFile;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return CProfileError::ReadOnly;
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:
        return CProfileError::NoPermission;
    case ERROR_WRITE_PROTECT:
        return CProfileError::ReadOnly;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return CProfileError::DiskFull;
    default:
        return CProfileError::Other;
    }
}

bool CPrivateProfile::Write(const std::vector<CProfileEdit>& edits)
{
    if (m_strPath.empty())
        return Fail(CProfileError::NotAFile);
    if (!std::all_of(edits.begin(), edits.end(), [](const CProfileEdit& e) { return e.IsStorable(); }))
        return Fail(CProfileError::Unstorable);
    if (IsOversized())
        return Fail(CProfileError::Damaged);
    // A read-only file stays as it is; the move below would not ask.
    const DWORD attributes = GetFileAttributesW(m_strPath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return Fail(CProfileError::ReadOnly);
    const std::wstring temp = MakeTempFile(FolderOf(m_strPath));
    if (temp.empty())
        return Fail(SystemError());
    bool ok = CopyFileW(m_strPath.c_str(), temp.c_str(), FALSE) != FALSE ||
              GetLastError() == ERROR_FILE_NOT_FOUND;
    for (const CProfileEdit& edit : edits) {
        if (!ok)
            break;
        const std::wstring value = edit.value ? Widen(*edit.value) : std::wstring();
        ok = WritePrivateProfileStringW(Widen(edit.section).c_str(), Widen(edit.key).c_str(),
                                        edit.value ? value.c_str() : nullptr,
                                        temp.c_str()) != FALSE;
    }
    // The system may keep the file in a cache: flush it to disk before the
    // copy takes the file's place. What this call returns means nothing.
    if (ok)
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, temp.c_str());
    ok = ok && MoveFileExW(temp.c_str(), m_strPath.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    if (!ok) {
        const CProfileError why = SystemError();
        DeleteFileW(temp.c_str());
        return Fail(why);
    }
    m_lastError = CProfileError::None;
    return true;
}

bool CPrivateProfile::CanWriteIn(const std::wstring& folder)
{
    // Only a file that was really made and written says yes: a temporary
    // name can come back from the system where no file could be created.
    const std::wstring probe = folder + L"\\orvo-probe-" + std::to_wstring(GetCurrentProcessId()) +
                               L"-" + std::to_wstring(GetTickCount()) + L".tmp";
    HANDLE hFile = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool wrote = WriteFile(hFile, "\r\n", 2, &written, nullptr) != FALSE && written == 2;
    CloseHandle(hFile);
    return DeleteFileW(probe.c_str()) != FALSE && wrote;
}

std::wstring CPrivateProfile::Locate(const std::wstring& programPath)
{
    const std::wstring beside = CProfilePlace::BesideProgram(programPath);
    const bool bInstalled = CInstallMark::IsBeside(programPath);
    const bool bBesideWritable = !beside.empty() && !bInstalled && CanWriteIn(FolderOf(beside));
    std::wstring players;
    wchar_t appData[MAX_PATH] = {};
    if (!bBesideWritable && SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE,
                                                       nullptr, SHGFP_TYPE_CURRENT, appData))) {
        const std::wstring folder = std::wstring(appData) + L"\\Orvo";
        if (CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
            players = folder + L"\\orvo.ini";
    }
    return CProfilePlace::Choose(beside, bInstalled, bBesideWritable, players);
}
