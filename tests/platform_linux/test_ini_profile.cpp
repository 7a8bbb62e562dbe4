// SPDX-License-Identifier: MIT
#include "CIniProfile.h"
#include "CHeldLock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>
#include <sys/inotify.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

// A value long enough that a save takes several writes, numbered at its start.
std::string CIniProfileValue(int nKey, long nVersion)
{
    return std::to_string(nVersion) + std::string(2000 + nKey, 'x');
}

std::string CIniProfileKeyLine(int nKey, long nVersion)
{
    return "Hero" + std::to_string(nKey) + "=" + CIniProfileValue(nKey, nVersion) + "\n";
}

class IniProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "orvo-ini-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        m_path = m_folder / "orvo.ini";
    }
    void TearDown() override { fs::remove_all(m_folder); }

    void WriteText(const std::string& text) const
    {
        std::ofstream(m_path, std::ios::binary) << text;
    }
    std::string ReadText() const
    {
        std::ifstream in(m_path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::set<std::string> FolderListing() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_folder))
            names.insert(entry.path().filename().string());
        return names;
    }

    fs::path m_folder;
    fs::path m_path;
};

TEST_F(IniProfileTest, SectionAndKeyNamesIgnoreCase)
{
    WriteText("[Config]\nplaysound=1\n[topten]\nHERO0=ABC\n");
    CIniProfile profile(m_path.string());

    EXPECT_EQ(profile.GetInt("CONFIG", "PlaySound", 7), 1);
    EXPECT_EQ(profile.GetInt("config", "PLAYSOUND", 7), 1);
    EXPECT_EQ(profile.GetString("TOPTEN", "Hero0", "-"), "ABC");
    EXPECT_EQ(profile.GetString("TopTen", "hero0", "-"), "ABC");
    EXPECT_EQ(profile.GetString("CONFIG", "Hero0", "-"), "-");
}

TEST_F(IniProfileTest, FirstOfTwinKeysIsTheOneRead)
{
    // A hand-edited file may name a key twice; the first one counts, as it
    // always did, also when the twin stands in a repeated section.
    WriteText("[TOPTEN]\nHero0=FIRST\nhero0=SECOND\n[CONFIG]\nPlaySound=0\n"
              "[topten]\nHERO0=THIRD\nHero1=ONLY\n");
    CIniProfile profile(m_path.string());
    EXPECT_EQ(profile.GetString("TOPTEN", "Hero0", "-"), "FIRST");
    EXPECT_EQ(profile.GetString("TOPTEN", "Hero1", "-"), "ONLY");
}

TEST_F(IniProfileTest, IntegerIsSignAndLeadingDigits)
{
    struct SCase {
        const char* pValue;
        int nExpected;
    };
    const SCase cases[] = {
        {"7abc", 7},
        {"abc", 0},
        {"-3", -3},
        {"+5", 5},
        {"   12   ", 12},
        {"1.9", 1},
        {"0x10", 0},
        {"- 3", 0},
        {"--3", 0},
        {"", 42},  // an empty value reads like a missing one
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        // Beyond 32 bits the digits wrap modulo 2^32.
        {"2147483648", INT_MIN},
        {"4294967297", 1},
        {"-4294967295", 1},
        {"99999999999999999999", 1661992959},
    };
    std::string text = "[CONFIG]\n";
    for (std::size_t i = 0; i < std::size(cases); ++i)
        text += "k" + std::to_string(i) + "=" + cases[i].pValue + "\n";
    WriteText(text);
    CIniProfile profile(m_path.string());

    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].pValue);
        EXPECT_EQ(profile.GetInt("CONFIG", "k" + std::to_string(i), 42), cases[i].nExpected);
    }
    EXPECT_EQ(profile.GetInt("CONFIG", "missing", 42), 42);
    EXPECT_EQ(profile.GetInt("NOSECTION", "k0", -5), -5);
}

TEST_F(IniProfileTest, StringIsTrimmedRawAndCutTo4095Bytes)
{
    const std::string gbkName = "\xD3\xA2\xD0\xDB";
    const std::string longValue(5000, 'x');
    WriteText("[TOPTEN]\r\nHero0 =  two words \t\r\nName=" + gbkName + "\r\nLong=" + longValue +
              "\r\n");
    CIniProfile profile(m_path.string());

    EXPECT_EQ(profile.GetString("TOPTEN", "Hero0", ""), "two words");
    EXPECT_EQ(profile.GetString("TOPTEN", "Name", ""), gbkName);
    EXPECT_EQ(profile.GetString("TOPTEN", "Long", ""), longValue.substr(0, 4095));
    EXPECT_EQ(profile.GetString("TOPTEN", "Hero1", "default"), "default");
    const CIniProfile absent((m_folder / "absent.ini").string());
    EXPECT_EQ(absent.GetString("TOPTEN", "Hero0", "d"), "d");
}

TEST_F(IniProfileTest, WriteKeepsEverythingElseOfTheFile)
{
    WriteText("Orphan=above every section\n"
              "; Orvo settings\n"
              "[CONFIG]\n"
              "; 1 = sound on\n"
              "PlaySound=0\n"
              "\n"
              "; the hall of fame\n"
              "[TOPTEN]\n"
              "Hero0=1O4V1U29AFMNIVCSZEVCVI9LZ4ND\n"
              "Hero1=L3MQ4RMTQ6TN3MSLTYJD9B4RR3C\n"
              "Hero2=damaged;kept as is\n"
              "; end\n");
    CIniProfile profile(m_path.string());

    ASSERT_TRUE(profile.Write({
        {"config", "playsound", "1"},
        {"TOPTEN", "Hero1", std::nullopt},
        {"TOPTEN", "Hero3", "XYZ"},
        {"Extra", "Key", "v"},
    }));

    EXPECT_EQ(ReadText(), "Orphan=above every section\n"
                          "; Orvo settings\n"
                          "[CONFIG]\n"
                          "; 1 = sound on\n"
                          "PlaySound=1\n"
                          "\n"
                          "; the hall of fame\n"
                          "[TOPTEN]\n"
                          "Hero0=1O4V1U29AFMNIVCSZEVCVI9LZ4ND\n"
                          "Hero2=damaged;kept as is\n"
                          "Hero3=XYZ\n"
                          "; end\n"
                          "[Extra]\n"
                          "Key=v\n");
}

TEST_F(IniProfileTest, WriteCreatesAMissingFileAndKeepsAByteOrderMark)
{
    CIniProfile profile(m_path.string());
    ASSERT_TRUE(profile.WriteString("TOPTEN", "Hero0", "1O4V1U29AFMNIVCSZEVCVI9LZ4ND"));
    EXPECT_EQ(ReadText(), "[TOPTEN]\nHero0=1O4V1U29AFMNIVCSZEVCVI9LZ4ND\n");

    WriteText("\xEF\xBB\xBF[CONFIG]\nPlaySound=0\n");
    ASSERT_TRUE(profile.WriteInt("CONFIG", "PlaySound", 1));
    EXPECT_EQ(ReadText(), "\xEF\xBB\xBF[CONFIG]\nPlaySound=1\n");
}

TEST_F(IniProfileTest, WritersOfDifferentSectionsDoNotUndoEachOther)
{
    CIniProfile config(m_path.string());
    CIniProfile topten(m_path.string());

    ASSERT_TRUE(config.WriteInt("CONFIG", "PlaySound", 1));
    ASSERT_TRUE(topten.WriteString("TOPTEN", "Hero0", "ABC"));
    ASSERT_TRUE(config.WriteInt("CONFIG", "PlaySound", 0));

    EXPECT_EQ(topten.GetInt("CONFIG", "PlaySound", 9), 0);
    EXPECT_EQ(config.GetString("TOPTEN", "Hero0", ""), "ABC");
}

// A link at the path stays a link: the file at the end of the chain is
// replaced, or created when the chain dangles, or the write fails.
TEST_F(IniProfileTest, WriteGoesThroughLinksAndKeepsThem)
{
    struct SCase {
        std::vector<std::pair<std::string, std::string>> links;  // name -> what it names
        const char* pWritten;  // the file that gets the write, or null
    };
    const SCase cases[] = {
        {{{"link.ini", "orvo.ini"}}, "orvo.ini"},
        {{{"link.ini", "new.ini"}}, "new.ini"},
        {{{"link.ini", "chain.ini"}, {"chain.ini", "sub/deep.ini"}}, "sub/deep.ini"},
        {{{"link.ini", "ABSOLUTE/sub/abs.ini"}}, "sub/abs.ini"},
        {{{"link.ini", "no-such-folder/orvo.ini"}}, nullptr},
        {{{"link.ini", "loop.ini"}, {"loop.ini", "link.ini"}}, nullptr},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.links.front().second);
        fs::remove_all(m_folder);
        fs::create_directories(m_folder / "sub");
        WriteText("[CONFIG]\nPlaySound=0\n");
        for (auto [name, to] : c.links) {
            if (to.compare(0, 9, "ABSOLUTE/") == 0)
                to = (m_folder / to.substr(9)).string();
            fs::create_symlink(to, m_folder / name);
        }
        CIniProfile profile((m_folder / "link.ini").string());

        EXPECT_EQ(profile.WriteInt("CONFIG", "PlaySound", 1), c.pWritten != nullptr);
        for (const auto& link : c.links)
            EXPECT_TRUE(fs::is_symlink(m_folder / link.first)) << link.first;
        if (c.pWritten) {
            EXPECT_EQ(profile.GetInt("CONFIG", "PlaySound", 9), 1);
            std::ifstream in(m_folder / c.pWritten, std::ios::binary);
            EXPECT_NE(std::string(std::istreambuf_iterator<char>(in), {}).find("PlaySound=1"),
                      std::string::npos);
        }
        const bool bOriginalWritten = c.pWritten && std::string(c.pWritten) == "orvo.ini";
        EXPECT_EQ(ReadText(), bOriginalWritten ? "[CONFIG]\nPlaySound=1\n" : "[CONFIG]\nPlaySound=0\n");
        for (const auto& entry : fs::recursive_directory_iterator(m_folder))
            EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
    }
}

// Without any write permission the file is read-only, also for root, who
// could otherwise replace it by renaming over it.
TEST_F(IniProfileTest, ReadOnlyFileIsNeverReplaced)
{
    const std::string original = "[CONFIG]\nPlaySound=0\n";
    for (const fs::perms perms : {fs::perms::owner_read | fs::perms::group_read |
                                      fs::perms::others_read,
                                  fs::perms::none}) {
        WriteText(original);
        fs::permissions(m_path, perms);
        const std::set<std::string> listing = FolderListing();
        CIniProfile profile(m_path.string());

        EXPECT_FALSE(profile.WriteInt("CONFIG", "PlaySound", 1));
        EXPECT_EQ(profile.GetLastWriteError(), CProfileError::ReadOnly);
        EXPECT_EQ(fs::status(m_path).permissions(), perms);
        fs::permissions(m_path, fs::perms::owner_read, fs::perm_options::add);
        EXPECT_EQ(ReadText(), original);
        EXPECT_EQ(FolderListing(), listing);
        fs::remove(m_path);
    }
}

// Beyond 1 MiB the file is damaged, not settings: it reads as empty at
// once, whatever it holds, and no write replaces it.
TEST_F(IniProfileTest, OversizedFileReadsAsEmptyAndIsKept)
{
    const std::string head = "[CONFIG]\nPlaySound=1\n[TOPTEN]\nHero0=ABC\n";
    for (const std::size_t nSize : {CIniProfile::MAX_FILE_BYTES, CIniProfile::MAX_FILE_BYTES + 1}) {
        SCOPED_TRACE(nSize);
        const std::string text = head + std::string(nSize - head.size() - 1, ';') + "\n";
        WriteText(text);
        CIniProfile profile(m_path.string());
        const bool bWithin = nSize <= CIniProfile::MAX_FILE_BYTES;

        EXPECT_EQ(profile.IsOversized(), !bWithin);
        EXPECT_EQ(profile.GetInt("CONFIG", "PlaySound", 0), bWithin ? 1 : 0);
        EXPECT_EQ(profile.GetString("TOPTEN", "Hero0", ""), bWithin ? "ABC" : "");
        EXPECT_EQ(profile.WriteInt("CONFIG", "PlaySound", 0), bWithin);
        if (!bWithin) {
            EXPECT_EQ(profile.GetLastWriteError(), CProfileError::Damaged);
            EXPECT_EQ(ReadText(), text);
        }
    }
}

// A big file of many sections gains exactly the edited line, and a write
// that would take the file past what the game reads is refused and leaves
// every byte.
TEST_F(IniProfileTest, WritesNeverGrowTheFilePastWhatTheGameReads)
{
    std::string text = "[TOPTEN]\nHero0=OLD\n";
    for (int i = 0; text.size() < CIniProfile::MAX_FILE_BYTES - 400; ++i)
        text += "[s" + std::to_string(i) + "]\r\nk = v ; kept\r\n";
    WriteText(text);
    CIniProfile profile(m_path.string());

    ASSERT_TRUE(profile.WriteString("TOPTEN", "Hero1", "NEW"));
    std::string expected = text;
    expected.insert(std::string("[TOPTEN]\nHero0=OLD\n").size(), "Hero1=NEW\n");
    EXPECT_EQ(ReadText(), expected);

    const std::string before = ReadText();
    EXPECT_FALSE(profile.WriteString("TOPTEN", "Hero2", std::string(500, 'X')));
    EXPECT_EQ(profile.GetLastWriteError(), CProfileError::TooBig);
    EXPECT_EQ(ReadText(), before);
    EXPECT_EQ(profile.GetString("TOPTEN", "Hero1", ""), "NEW");
}

// Another process holding the lock, the way Wine holds it for the Windows
// program (a process-wide record lock): a save waits a bounded time, then
// fails as busy with the file untouched; once the lock is let go it works,
// and a lock let go during the wait is simply waited for.
TEST_F(IniProfileTest, ALockHeldElsewhereMakesTheSaveWaitThenFail)
{
    WriteText("[CONFIG]\nPlaySound=0\n");
    CIniProfile profile(m_path.string());
    ASSERT_TRUE(profile.WriteInt("CONFIG", "PlaySound", 0));  // makes the lock file

    const fs::path lockFile = m_folder / ".orvo.ini.lock";
    {
        CHeldLock lock(lockFile);
        ASSERT_TRUE(lock.IsHeld());
        EXPECT_FALSE(profile.WriteInt("CONFIG", "PlaySound", 1));
        EXPECT_EQ(profile.GetLastWriteError(), CProfileError::Busy);
        EXPECT_EQ(ReadText(), "[CONFIG]\nPlaySound=0\n");
    }
    EXPECT_TRUE(profile.WriteInt("CONFIG", "PlaySound", 1));

    CHeldLock brief(lockFile, static_cast<int>(CProfile::LOCK_WAIT_MS) / 4);
    ASSERT_TRUE(brief.IsHeld());
    EXPECT_TRUE(profile.WriteInt("CONFIG", "PlaySound", 2));
    EXPECT_EQ(ReadText(), "[CONFIG]\nPlaySound=2\n");
}

// What an update writes is decided from the file as it is under the lock,
// not as this profile last read it.
TEST_F(IniProfileTest, AnUpdateDecidesFromTheFileReadUnderTheLock)
{
    WriteText("[TOPTEN]\nHero0=A\n");
    CIniProfile mine(m_path.string());
    CIniProfile other(m_path.string());
    ASSERT_EQ(mine.GetString("TOPTEN", "Hero0", ""), "A");
    ASSERT_TRUE(other.Write({{"TOPTEN", "Hero0", "B"}, {"TOPTEN", "Hero1", "A"}}));

    std::string seen;
    ASSERT_TRUE(mine.Update([&](const CIniText& file) {
        seen = file.Find("TOPTEN", "Hero0").value_or("");
        return std::optional<std::vector<CProfileEdit>>({{"TOPTEN", "Hero2", seen + "+"}});
    }));
    EXPECT_EQ(seen, "B");
    EXPECT_EQ(ReadText(), "[TOPTEN]\nHero0=B\nHero1=A\nHero2=B+\n");

    // Deciding to write nothing writes nothing.
    const auto before = fs::last_write_time(m_path);
    ASSERT_TRUE(mine.Update([](const CIniText&) { return std::nullopt; }));
    EXPECT_EQ(fs::last_write_time(m_path), before);
}

// A file that is there but cannot be read is neither read as empty for a
// save nor replaced: the save fails and says why. Run as nobody where the
// tests run as root, whom permissions do not stop.
TEST_F(IniProfileTest, AFileThatCannotBeReadIsNotOverwritten)
{
    WriteText("[TOPTEN]\nHero0=A\n");
    fs::permissions(m_path, fs::perms::owner_write);
    auto attempt = [&] {
        CIniProfile profile(m_path.string());
        return profile.GetReadError() == CProfileError::NoPermission &&
               !profile.WriteString("TOPTEN", "Hero1", "B") &&
               profile.GetLastWriteError() == CProfileError::NoPermission;
    };
    if (::geteuid() != 0) {
        EXPECT_TRUE(attempt());
    } else {
        const uid_t nobody = 65534;
        ASSERT_EQ(::chown(m_folder.c_str(), nobody, nobody), 0);
        ASSERT_EQ(::chown(m_path.c_str(), nobody, nobody), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            const bool dropped = ::setgid(nobody) == 0 && ::setuid(nobody) == 0;
            ::_exit(dropped && attempt() ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the save as nobody";
    }
    fs::permissions(m_path, fs::perms::owner_read, fs::perm_options::add);
    EXPECT_EQ(ReadText(), "[TOPTEN]\nHero0=A\n");
}

// Counts the times the settings file is opened while reading, by watching
// it with inotify.
class COpenCounter {
public:
    explicit COpenCounter(const fs::path& path)
        : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        ::inotify_add_watch(m_fd, path.c_str(), IN_OPEN);
    }
    ~COpenCounter() { ::close(m_fd); }
    int Count()
    {
        int n = 0;
        alignas(inotify_event) char buffer[4096];
        for (ssize_t nRead; (nRead = ::read(m_fd, buffer, sizeof buffer)) > 0;)
            n += static_cast<int>(nRead / sizeof(inotify_event));
        return n;
    }

private:
    int m_fd;
};

// Start-up reads the switch and ten entries: one read of the file, and a
// new one only once the file has changed.
TEST_F(IniProfileTest, ManyReadsOfOneFileReadItOnce)
{
    WriteText("[CONFIG]\nPlaySound=1\n[TOPTEN]\nHero0=A\nHero9=J\n");
    CIniProfile profile(m_path.string());
    COpenCounter opens(m_path);

    EXPECT_EQ(profile.GetInt("CONFIG", "PlaySound", 0), 1);
    for (int i = 0; i < 10; ++i)
        profile.GetString("TOPTEN", "Hero" + std::to_string(i), "");
    EXPECT_EQ(profile.GetString("TOPTEN", "Hero9", ""), "J");
    EXPECT_EQ(opens.Count(), 1);

    // Changed in place, same size: read again.
    WriteText("[CONFIG]\nPlaySound=2\n[TOPTEN]\nHero0=A\nHero9=J\n");
    opens.Count();
    EXPECT_EQ(profile.GetInt("CONFIG", "PlaySound", 0), 2);
    EXPECT_EQ(profile.GetString("TOPTEN", "Hero0", ""), "A");
    EXPECT_EQ(opens.Count(), 1);
}

using Probe = std::pair<std::string, std::string>;

// Every key the cases below can touch, our own section names among them.
std::vector<Probe> AllProbes()
{
    std::vector<Probe> probes;
    for (const char* pSection : {"CONFIG", "TOPTEN", "A", "B", "\x01orvo0:head", "\x01orvo0:tail",
                                 "\x01orvo0:0", "\x01orvo1:0", "CONFIG\nPlaySound"}) {
        for (const char* pKey : {"PlaySound", "Hero5", "k", "j"})
            probes.emplace_back(pSection, pKey);
    }
    return probes;
}

bool SameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::vector<std::string> ReadAll(const CIniProfile& profile, const std::vector<Probe>& probes)
{
    std::vector<std::string> seen;
    for (const auto& [section, key] : probes)
        seen.push_back(profile.GetString(section, key, "(none)"));
    return seen;
}

// Writing the same edits a second time changes no byte, and no key but the
// edited ones reads differently after a write.
void ExpectWriteIsAFixpointOfItsKeys(const fs::path& path, const std::string& text,
                                     const std::vector<CProfileEdit>& edits)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    CIniProfile profile(path.string());
    const std::vector<Probe> probes = AllProbes();
    std::vector<std::string> expected = ReadAll(profile, probes);
    for (std::size_t i = 0; i < probes.size(); ++i) {
        for (const CProfileEdit& edit : edits) {
            if (SameName(edit.section, probes[i].first) && SameName(edit.key, probes[i].second))
                expected[i] = edit.value.value_or("(none)");
        }
    }
    auto readFile = [&] {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };

    ASSERT_TRUE(profile.Write(edits));
    const std::string once = readFile();
    EXPECT_EQ(ReadAll(profile, probes), expected) << once;
    ASSERT_TRUE(profile.Write(edits));
    EXPECT_EQ(readFile(), once);
}

TEST_F(IniProfileTest, WriteIsAFixpointAndTouchesOnlyItsKeys)
{
    const std::vector<CProfileEdit> soundOn = {{"CONFIG", "PlaySound", "1"}};
    struct SCase {
        const char* pText;
        std::vector<CProfileEdit> edits;
    };
    const SCase cases[] = {
        {"[CONFIG\nPlaySound=1\n", soundOn},
        {"[CONFIG\r\nPlaySound=1\r\n[TOPTEN]\nHero5=A\n", soundOn},
        {"[\n\nCONFIG\n; note\nPlaySound=1\n[CONFIG\nk=2", soundOn},
        {"[TOPTEN]\nHero5=FIRST\nhero5=SECOND\n", soundOn},
        {"[TOPTEN]\nHero5=FIRST\n[CONFIG]\nPlaySound=0\n[topten]\nHERO5=SECOND\nk=3\n", soundOn},
        {"[TOPTEN]\nHero5=FIRST\n[topten]\nHero5=SECOND\n", {{"TOPTEN", "hero5", "NEW"}}},
        {"[TOPTEN]\nHero5=FIRST\n[topten]\nHero5=SECOND\n", {{"TOPTEN", "Hero5", std::nullopt}}},
        // Sections of the file named like our own.
        {"k=0\n[\x01orvo0:head]\nk=1\n[\x01orvo0:tail]\nk=2\n[A\n;end", soundOn},
        {"[A]\nk=1\n", {{"\x01orvo0:0", "k", "2"}, {"\x01orvo0:tail", "j", "3"}}},
        // One batch removing a key and setting it again.
        {"[CONFIG]\n", {{"CONFIG", "hero5", std::nullopt}, {"CONFIG", "Hero5", "A"},
                        {"CONFIG", "Hero1", "B"}}},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.pText);
        ExpectWriteIsAFixpointOfItsKeys(m_path, c.pText, c.edits);
    }
}

// The same two properties over many small files pieced together from the
// parts that tripped the reader before.
TEST_F(IniProfileTest, RandomFilesKeepBothPropertiesOfAWrite)
{
    const char* const parts[] = {"[", "]", "=", "\n", "\r\n", "\r", ";", "#", " ", "\t", "A", "a",
                                 "B", "k", "K", "j", "1", "\0", "[A]\n", "[a]\n", "[B]\n",
                                 "k=1\n", "K=2\n", "j=3\n", "[\x01orvo0:tail]\n", "[\x01orvo0:0]\n",
                                 "\xEF\xBB\xBF"};
    const std::vector<CProfileEdit> edits[] = {
        {{"A", "k", "new"}},
        {{"a", "K", std::nullopt}},
        {{"B", "j", "x"}, {"A", "j", std::nullopt}},
        {{"C", "k", "v"}},
    };
    std::mt19937 random(4095);
    for (int nCase = 0; nCase < 200; ++nCase) {
        std::string text;
        for (int n = random() % 24; n > 0; --n) {
            const char* pPart = parts[random() % std::size(parts)];
            text.append(pPart, *pPart ? std::strlen(pPart) : 1);
        }
        SCOPED_TRACE(::testing::PrintToString(text));
        ExpectWriteIsAFixpointOfItsKeys(m_path, text, edits[random() % std::size(edits)]);
        if (HasFatalFailure() || HasNonfatalFailure())
            break;
    }
}

// Lowers this process's file-size limit, so that writing more bytes fails as
// on a full disk (the tests run as root, where permissions stop nothing).
class CFileSizeLimit {
public:
    explicit CFileSizeLimit(rlim_t nBytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = nBytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~CFileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old {};
    void (*m_oldHandler)(int);
};

TEST_F(IniProfileTest, FailedWriteLeavesOldFileWholeAndNoTemporary)
{
    const std::string original = "[CONFIG]\nPlaySound=0\n";
    WriteText(original);
    // The lock file stays once made; only the temporary must not.
    const std::set<std::string> listing = {"orvo.ini", ".orvo.ini.lock"};
    CIniProfile profile(m_path.string());

    {
        CFileSizeLimit limit(original.size() + 8);
        EXPECT_FALSE(profile.WriteString("TOPTEN", "Hero0", std::string(200, 'A')));
    }
    EXPECT_EQ(ReadText(), original);
    EXPECT_EQ(FolderListing(), listing);

    const CProfileEdit unstorable[] = {
        {"TOPTEN", "Hero0", "two\nlines"},
        {"TOPTEN", "Hero0", std::string("nul\0byte", 8)},
        {"TOPTEN", "Hero=0", "v"},
        {"TOPTEN", ";Hero0", "v"},
        {"TOPTEN", "", "v"},
        {"TOP]TEN", "Hero0", "v"},
        {" TOPTEN", "Hero0", "v"},
    };
    for (const CProfileEdit& edit : unstorable) {
        SCOPED_TRACE(edit.section + "/" + edit.key);
        EXPECT_FALSE(profile.Write({{"CONFIG", "PlaySound", "1"}, edit}));
        EXPECT_EQ(ReadText(), original);
    }
    EXPECT_EQ(FolderListing(), listing);
}

// A writer killed at any point of a save leaves the old file or the new one,
// whole, and at most the one temporary file, which the next save reuses.
TEST_F(IniProfileTest, WriterKilledAtRandomLeavesAWholeFileAndNoPileOfTemporaries)
{
    auto version = [](long n) {
        std::string text = "[TOPTEN]\n";
        for (int i = 0; i < 10; ++i)
            text += CIniProfileKeyLine(i, n);
        return text;
    };
    auto save = [](CIniProfile& profile, long n) {
        std::vector<CProfileEdit> edits;
        for (int i = 0; i < 10; ++i)
            edits.push_back({"TOPTEN", "Hero" + std::to_string(i), CIniProfileValue(i, n)});
        return profile.Write(edits);
    };
    CIniProfile profile(m_path.string());
    ASSERT_TRUE(save(profile, 0));
    const std::set<std::string> allowed = {"orvo.ini", ".orvo.ini.lock", ".orvo.ini.tmp"};
    std::mt19937 random(9);
    for (int nKill = 1; nKill <= 150; ++nKill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Never outlives the test, whatever becomes of it.
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            CIniProfile writer(m_path.string());
            for (long n = nKill * 100000L;; ++n)
                save(writer, n);
        }
        ::usleep(static_cast<useconds_t>(random() % 20000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);

        const std::string text = ReadText();
        const std::size_t nAt = text.find("Hero0=");
        ASSERT_NE(nAt, std::string::npos) << text.substr(0, 200);
        const long n = std::strtol(text.c_str() + nAt + 6, nullptr, 10);
        ASSERT_EQ(text, version(n)) << "after kill " << nKill;
        const std::set<std::string> listing = FolderListing();
        ASSERT_TRUE(std::includes(allowed.begin(), allowed.end(), listing.begin(), listing.end()))
            << "after kill " << nKill << ": " << listing.size() << " files";
    }
    ASSERT_TRUE(save(profile, 1));
    EXPECT_EQ(FolderListing(), (std::set<std::string>{"orvo.ini", ".orvo.ini.lock"}));
}

TEST_F(IniProfileTest, UnusablePathsReadAsEmptyAndRefuseWrites)
{
    fs::create_directory(m_folder / "dir.ini");
    const std::string paths[] = {
        "",
        (m_folder / "dir.ini").string(),
        (m_folder / "no-such-folder" / "orvo.ini").string(),
        m_folder.string() + "/",
    };
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        CIniProfile profile(path);
        EXPECT_EQ(profile.GetInt("CONFIG", "PlaySound", 3), 3);
        EXPECT_EQ(profile.GetString("TOPTEN", "Hero0", "d"), "d");
        EXPECT_FALSE(profile.WriteInt("CONFIG", "PlaySound", 1));
    }
    EXPECT_TRUE(fs::is_directory(m_folder / "dir.ini"));
    EXPECT_TRUE(fs::is_empty(m_folder / "dir.ini"));
    EXPECT_EQ(FolderListing(), (std::set<std::string> {"dir.ini"}));
}

TEST_F(IniProfileTest, DamagedFileNeitherCrashesNorHidesLaterLines)
{
    std::mt19937 random(936);
    std::string garbage(64 * 1024, '\0');
    for (char& c : garbage)
        c = static_cast<char>(random());
    const std::string longLine(300 * 1024, 'x');
    WriteText(garbage + "\n[CONFIG]\nPlaySound=1\0junk\n"s + longLine + "\nBig=" +
              longLine + "\n[TOPTEN]\nHero0=ABC\n");
    CIniProfile profile(m_path.string());

    EXPECT_EQ(profile.GetInt("CONFIG", "PlaySound", 0), 1);
    EXPECT_EQ(profile.GetString("CONFIG", "Big", "").size(), 4095u);
    EXPECT_EQ(profile.GetString("TOPTEN", "Hero0", ""), "ABC");

    ASSERT_TRUE(profile.WriteString("TOPTEN", "Hero1", "DEF"));
    EXPECT_EQ(profile.GetInt("CONFIG", "PlaySound", 0), 1);
    EXPECT_EQ(profile.GetString("TOPTEN", "Hero0", ""), "ABC");
    EXPECT_EQ(profile.GetString("TOPTEN", "Hero1", ""), "DEF");
    EXPECT_NE(ReadText().find("Big=" + longLine + "\n"), std::string::npos);
}

}  // namespace
