// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

// A broken promise stops the run; libFuzzer keeps the input that broke it.
inline void FuzzCheck(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

// A private folder for the files a fuzz target has to put on disk, removed
// when the process ends. Memory-backed /dev/shm where there is one: the
// settings writer syncs every file it writes, and a disk would make that the
// whole cost of an execution.
class CFuzzScratch {
public:
    static const std::string& Folder()
    {
        static CFuzzScratch scratch;
        return scratch.m_strFolder;
    }

    static std::string File(const char* name) { return Folder() + "/" + name; }

private:
    CFuzzScratch()
    {
        std::string base = "/dev/shm";
        if (::access(base.c_str(), W_OK | X_OK) != 0) {
            const char* tmp = std::getenv("TMPDIR");
            base = tmp && *tmp ? tmp : "/tmp";
        }
        std::string pattern = base + "/orvo-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        m_strFolder = pattern;
    }
    ~CFuzzScratch()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_strFolder, ignored);
    }

    std::string m_strFolder;
};
