// SPDX-License-Identifier: MIT
#include "CLinuxProfileLocation.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "CIniProfile.h"
#include "CProfileLocation.h"
#include "CProfilePlace.h"

namespace {

namespace fs = std::filesystem;

// The real path where it exists, so that a prefix reached through a symbolic
// link still matches the program's own (always resolved) path.
std::string Resolved(const std::string& path)
{
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved))
        return resolved;
    std::error_code error;
    std::string cleaned = fs::absolute(path, error).lexically_normal().string();
    while (cleaned.size() > 1 && cleaned.back() == '/')
        cleaned.pop_back();
    return cleaned;
}

std::string FolderOf(const std::string& path)
{
    std::error_code error;
    return fs::absolute(path, error).parent_path().string();
}

bool IsWritableFolder(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && ::access(path.c_str(), W_OK) == 0;
}

// Every missing folder on the way, as mkdir -p does.
bool MakePath(const std::string& path)
{
    std::error_code error;
    fs::create_directories(path, error);
    return fs::is_directory(path, error);
}

}  // namespace

bool CLinuxProfileLocation::IsInstalled(const std::string& programPath,
                                        const std::string& installPrefix)
{
    if (programPath.empty() || installPrefix.empty())
        return false;
    const std::string folder = Resolved(FolderOf(programPath));
    const std::string prefix = Resolved(installPrefix);
    for (const char* pSubfolder : {"bin", "games"}) {
        if (folder == Resolved(prefix + '/' + pSubfolder))
            return true;
    }
    return false;
}

std::string CLinuxProfileLocation::Locate(const std::string& programPath,
                                          const std::string& installPrefix)
{
    const std::string beside = CProfilePlace::BesideProgram(programPath);
    const bool bBesideWritable = !beside.empty() && IsWritableFolder(FolderOf(beside));
    const bool bInstalled = IsInstalled(programPath, installPrefix);
    // The player's folder is made only when it is wanted.
    const std::string players = bBesideWritable && !bInstalled ? std::string() : PlayersFile();
    return CProfilePlace::Choose(beside, bInstalled, bBesideWritable, players);
}

std::string CLinuxProfileLocation::Locate(const std::string& programPath)
{
    return Locate(programPath, ORVO_INSTALL_PREFIX);
}

std::string CLinuxProfileLocation::PlayersFile()
{
    const char* pConfig = std::getenv("XDG_CONFIG_HOME");
    const char* pHome = std::getenv("HOME");
    std::string folder;
    if (pConfig && *pConfig)
        folder = pConfig;
    else if (pHome && *pHome)
        folder = std::string(pHome) + "/.config";
    else
        return std::string();
    folder += "/orvo";
    if (!MakePath(folder))
        return std::string();
    return folder + "/orvo.ini";
}

std::string CLinuxProfileLocation::ProgramPath()
{
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof(path) - 1);
    return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
}

std::unique_ptr<CProfile> CProfileLocation::OpenForThisProgram()
{
    const std::string path = CLinuxProfileLocation::Locate(CLinuxProfileLocation::ProgramPath());
    if (path.empty())
        return nullptr;
    return std::make_unique<CIniProfile>(path);
}
