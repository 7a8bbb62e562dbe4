// SPDX-License-Identifier: MIT
// What a save of the settings file costs the window that waits for it:
// the sound switch and a top-ten merge with nobody else about, beside the
// least an atomic replacement of the same bytes can cost (write, fsync,
// rename), and the wait when another program keeps the lock.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "CHeldLock.h"
#include "CIniProfile.h"
#include "HeroCode.h"

namespace fs = std::filesystem;

namespace {

// A folder on the disk the build lives on, not a memory file system, so
// that fsync costs what it costs a player.
// Never destroyed: the clean-up at exit still needs it.
const fs::path& Folder()
{
    static const fs::path* pFolder = [] {
        std::string pattern = (fs::current_path() / "orvo-bench-XXXXXX").string();
        const char* pMade = ::mkdtemp(pattern.data());
        auto* pPath = new fs::path(pMade ? pMade : ".");
        std::atexit([] {
            if (Folder() != ".")
                fs::remove_all(Folder());
        });
        return pPath;
    }();
    return *pFolder;
}

std::string SmallFile()
{
    std::string text = "[CONFIG]\nPlaySound=0\n[TOPTEN]\n";
    for (int i = 0; i < 10; ++i)
        text += "Hero" + std::to_string(i) + "=" + CodeOf("player" + std::to_string(i), 90 - i, 900) + "\n";
    return text;
}

fs::path FreshFile(const char* pName)
{
    const fs::path path = Folder() / pName;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << SmallFile();
    return path;
}

void BM_AtomicReplaceAlone(benchmark::State& state)
{
    const fs::path path = FreshFile("bare.ini");
    const std::string temp = path.string() + ".tmp";
    const std::string text = SmallFile();
    for (auto _ : state) {
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        benchmark::DoNotOptimize(::write(fd, text.data(), text.size()));
        ::fsync(fd);
        ::close(fd);
        ::rename(temp.c_str(), path.c_str());
    }
}
BENCHMARK(BM_AtomicReplaceAlone)->Unit(benchmark::kMillisecond);

void BM_SoundSwitchSave(benchmark::State& state)
{
    CIniProfile profile(FreshFile("sound.ini").string());
    int n = 0;
    for (auto _ : state) {
        if (!profile.WriteInt("CONFIG", "PlaySound", ++n & 1))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SoundSwitchSave)->Unit(benchmark::kMillisecond);

void BM_TopTenMergeSave(benchmark::State& state)
{
    CIniProfile profile(FreshFile("topten.ini").string());
    int n = 0;
    for (auto _ : state) {
        const std::string code = CodeOf("new", 95, ++n);
        const bool bSaved = profile.Update([&](const CIniText& file) {
            std::vector<CProfileEdit> edits;
            for (int i = 0; i < 10; ++i) {
                const std::string key = "Hero" + std::to_string(i);
                edits.push_back({"TOPTEN", key, i == 0 ? code : CProfile::ValueIn(file, "TOPTEN", key, "")});
            }
            return std::optional<std::vector<CProfileEdit>>(edits);
        });
        if (!bSaved)
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_TopTenMergeSave)->Unit(benchmark::kMillisecond);

// The longest a save keeps the window waiting: the whole bounded wait for
// a lock that another process never lets go.
void BM_SaveAgainstAHeldLock(benchmark::State& state)
{
    const fs::path path = FreshFile("held.ini");
    CIniProfile profile(path.string());
    profile.WriteInt("CONFIG", "PlaySound", 1);
    CHeldLock lock(Folder() / ".held.ini.lock");
    if (!lock.IsHeld())
        state.SkipWithError("the lock could not be taken");
    for (auto _ : state) {
        if (profile.WriteInt("CONFIG", "PlaySound", 0))
            state.SkipWithError("the lock was not held");
    }
}
BENCHMARK(BM_SaveAgainstAHeldLock)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
