// SPDX-License-Identifier: MIT
#include "CPrivateProfile.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "CInstallMark.h"
#include "CProfilePlace.h"

namespace {

// How often a waiting writer asks for the lock again, in milliseconds.
const DWORD LOCK_POLL_MS = 5;

std::wstring FolderOf(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

// A hidden file of the settings file's own beside it: orvo.ini has
// .orvo.ini.lock and .orvo.ini.tmp, as on Linux.
std::wstring Companion(const std::wstring& path, const wchar_t* pSuffix)
{
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::size_t nameAt = slash == std::wstring::npos ? 0 : slash + 1;
    return path.substr(0, nameAt) + L"." + path.substr(nameAt) + pSuffix;
}

class CHandle {
public:
    explicit CHandle(HANDLE h) : m_h(h) {}
    ~CHandle()
    {
        if (IsOpen())
            CloseHandle(m_h);
    }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    bool IsOpen() const { return m_h != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_h; }
    // Closes now; false when the system reports an error.
    bool Close()
    {
        const bool ok = CloseHandle(m_h) != FALSE;
        m_h = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE m_h;
};

// Why a settings file that stands at path cannot be replaced, or None.
CProfileError RefusalOf(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return CProfileError::NotAFile;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return CProfileError::ReadOnly;
    return CProfileError::None;
}

// Why the system refused, from the error code it left; the file's
// attributes tell the two cases the code does not.
CProfileError ErrorOf(DWORD error, const std::wstring& path)
{
    const CProfileError refusal = RefusalOf(path);
    if (refusal != CProfileError::None)
        return refusal;
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
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return CProfileError::Busy;
    default:
        return CProfileError::Other;
    }
}

// Reads the whole settings file; None with empty text when there is none.
// identity receives what tells this file in this state; when it is known
// already, the text is not read again.
CProfileError ReadSettings(const std::wstring& path, std::string& text, std::wstring& identity,
                           const std::wstring& known = std::wstring())
{
    identity.clear();
    text.clear();
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return CProfileError::NotAFile;
    CHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen()) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND)
            return CProfileError::None;
        // Held by a program that shares it with nobody, for one.
        const CProfileError why = ErrorOf(error, path);
        return why == CProfileError::Busy || why == CProfileError::Other ? CProfileError::Unreadable
                                                                         : why;
    }
    if (GetFileType(file.Get()) != FILE_TYPE_DISK)
        return CProfileError::NotAFile;
    BY_HANDLE_FILE_INFORMATION info {};
    if (!GetFileInformationByHandle(file.Get(), &info))
        return CProfileError::Unreadable;
    if (info.nFileSizeHigh != 0 || info.nFileSizeLow > CProfile::MAX_FILE_BYTES)
        return CProfileError::Damaged;
    const DWORD parts[] = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow,
                           info.nFileSizeLow, info.ftLastWriteTime.dwHighDateTime,
                           info.ftLastWriteTime.dwLowDateTime};
    for (const DWORD part : parts)
        identity.append(std::to_wstring(part)).append(L":");
    if (identity == known)
        return CProfileError::None;
    text.resize(info.nFileSizeLow);
    DWORD nRead = 0;
    if (!text.empty() &&
        (!ReadFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &nRead, nullptr) ||
         nRead != text.size())) {
        text.clear();
        return CProfileError::Unreadable;
    }
    return CProfileError::None;
}

// The writers' turn: an exclusive lock on the first byte of the lock file,
// held until the object goes. The lock file stays, so that every writer
// locks the same file.
class CWriterLock {
public:
    explicit CWriterLock(const std::wstring& path)
        : m_path(path),
          m_file(CreateFileW(Companion(path, L".lock").c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr)),
          m_nOpenError(m_file.IsOpen() ? ERROR_SUCCESS : GetLastError())
    {
    }
    ~CWriterLock()
    {
        if (m_bLocked) {
            OVERLAPPED at {};
            UnlockFileEx(m_file.Get(), 0, 1, 0, &at);
        }
    }
    CWriterLock(const CWriterLock&) = delete;
    CWriterLock& operator=(const CWriterLock&) = delete;

    CProfileError Take()
    {
        if (!m_file.IsOpen())
            return ErrorOf(m_nOpenError, m_path);
        const ULONGLONG deadline = GetTickCount64() + CProfile::LOCK_WAIT_MS;
        for (;;) {
            OVERLAPPED at {};
            if (LockFileEx(m_file.Get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1,
                           0, &at)) {
                m_bLocked = true;
                return CProfileError::None;
            }
            const DWORD error = GetLastError();
            if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING)
                return ErrorOf(error, m_path);
            if (GetTickCount64() >= deadline)
                return CProfileError::Busy;
            Sleep(LOCK_POLL_MS);
        }
    }

private:
    std::wstring m_path;
    CHandle m_file;
    DWORD m_nOpenError;
    bool m_bLocked = false;
};

// Writes text to the one temporary beside path and moves it over path; a
// writer that dies half-way leaves that one file, which the next reuses.
CProfileError Replace(const std::wstring& path, const std::string& text)
{
    const std::wstring temp = Companion(path, L".tmp");
    CHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return ErrorOf(GetLastError(), path);
    DWORD nWritten = 0;
    bool ok = text.empty() || (WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()),
                                         &nWritten, nullptr) &&
                               nWritten == text.size());
    ok = ok && FlushFileBuffers(file.Get());
    DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    ok = file.Close() && ok;
    // A reader may hold the file for a moment without sharing its deletion.
    const ULONGLONG deadline = GetTickCount64() + CProfile::LOCK_WAIT_MS;
    while (ok && !MoveFileExW(temp.c_str(), path.c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) ||
            GetTickCount64() >= deadline)
            ok = false;
        else
            Sleep(LOCK_POLL_MS);
    }
    if (!ok) {
        DeleteFileW(temp.c_str());
        return ErrorOf(error, path);
    }
    return CProfileError::None;
}

}  // namespace

const CProfile::SReading& CPrivateProfile::Current() const
{
    std::string text;
    std::wstring identity;
    const CProfileError why = ReadSettings(m_strPath, text, identity, m_identity);
    if (why == CProfileError::None && !identity.empty() && identity == m_identity)
        return m_reading;
    m_identity = why == CProfileError::None ? identity : std::wstring();
    m_reading.error = why;
    m_reading.text = CIniText(why == CProfileError::None ? std::move(text) : std::string());
    return m_reading;
}

CProfileError CPrivateProfile::LockedUpdate(const CProfileDecision& decide)
{
    if (m_strPath.empty())
        return CProfileError::NotAFile;
    // A read-only file stays as it is; the move below would not ask.
    const CProfileError refusal = RefusalOf(m_strPath);
    if (refusal != CProfileError::None)
        return refusal;

    // The file is read under the lock, and what is written is decided from
    // that reading, so that no writer undoes another's change.
    CWriterLock lock(m_strPath);
    const CProfileError locked = lock.Take();
    if (locked != CProfileError::None)
        return locked;
    std::string text;
    std::wstring identity;
    const CProfileError read = ReadSettings(m_strPath, text, identity);
    if (read != CProfileError::None)
        return read;
    std::optional<std::string> out;
    const CProfileError edited = Edit(text, decide, "\r\n", out);
    if (edited != CProfileError::None || !out)
        return edited;
    return Replace(m_strPath, *out);
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
