// SPDX-License-Identifier: MIT
// Two games, or a game and anything else, sharing one settings file: no
// entry on disk is ever lost, whatever happens between a game's reading of
// the list and its writing of a new entry. Runs over the real file of each
// system.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
#include "CPrivateProfile.h"
#else
#include "CIniProfile.h"
#endif

#include "CHeldLock.h"
#include "CHeroList.h"
#include "HeroCode.h"

namespace fs = std::filesystem;

namespace {

std::unique_ptr<CProfile> OpenNative(const fs::path& path)
{
#ifdef _WIN32
    return std::make_unique<CPrivateProfile>(path.wstring());
#else
    return std::make_unique<CIniProfile>(path.string());
#endif
}

// Answers the name dialog, after doing whatever another program does
// meanwhile.
class CPrompt : public CHeroPrompt {
public:
    std::string name = "me";
    std::function<void()> meanwhile;
    std::vector<CProfileError> failures;

    void PlayEffect(std::uint16_t) override {}
    bool AskName(std::string& answer) override
    {
        if (meanwhile)
            meanwhile();
        answer = name;
        return true;
    }
    void ReportSaveFailure(CProfileError why) override { failures.push_back(why); }
};

class HeroMergeTest : public ::testing::Test {
public:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() /
                   ("orvo-merge-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                    "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_path = m_folder / "orvo.ini";
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }

    // A settings file with these entries, balls descending.
    void WriteList(const std::vector<std::pair<std::string, int>>& entries) const
    {
        std::string text = "; kept\r\n[TOPTEN]\r\n";
        for (std::size_t i = 0; i < entries.size(); ++i)
            text += "Hero" + std::to_string(i) + "=" +
                    CodeOf(entries[i].first, entries[i].second, entries[i].second * 10) + "\r\n";
        std::ofstream(m_path, std::ios::binary | std::ios::trunc) << text;
    }
    static std::vector<std::pair<std::string, int>> Ten(const std::string& stem, int best)
    {
        std::vector<std::pair<std::string, int>> entries;
        for (int i = 0; i < 10; ++i)
            entries.emplace_back(stem + std::to_string(i), best - i);
        return entries;
    }
    // The names the file holds now, best first, as the next start sees them.
    std::vector<std::string> OnDisk() const
    {
        auto profile = OpenNative(m_path);
        CHeroList list;
        list.SetProfile(profile.get());
        list.Load();
        return NamesIn(list);
    }
    static std::vector<std::string> NamesIn(const CHeroList& list)
    {
        std::vector<std::string> names;
        for (const auto& record : list.Records())
            names.push_back(record->GetName());
        return names;
    }

    // One game: its own profile, list and prompt, started now.
    struct SGame {
        std::unique_ptr<CProfile> profile;
        CHeroList list;
        CPrompt prompt;
    };
    std::unique_ptr<SGame> Start(const std::string& name) const
    {
        auto game = std::make_unique<SGame>();
        game->profile = OpenNative(m_path);
        game->list.SetProfile(game->profile.get());
        game->list.SetPrompt(&game->prompt);
        game->prompt.name = name;
        game->list.Load();
        return game;
    }

    fs::path m_folder;
    fs::path m_path;
};

using Names = std::vector<std::string>;

TEST_F(HeroMergeTest, TwoGamesThatStartedAlikeBothKeepTheirEntries)
{
    for (const bool bFirstEndsFirst : {true, false}) {
        SCOPED_TRACE(bFirstEndsFirst ? "first ends first" : "second ends first");
        WriteList({{"old", 30}});
        auto first = Start("first");
        auto second = Start("second");
        if (bFirstEndsFirst) {
            ASSERT_TRUE(first->list.TryEnter(50, 1));
            ASSERT_TRUE(second->list.TryEnter(40, 1));
        } else {
            ASSERT_TRUE(second->list.TryEnter(40, 1));
            ASSERT_TRUE(first->list.TryEnter(50, 1));
        }
        EXPECT_EQ(OnDisk(), (Names{"first", "second", "old"}));
        // The later game's list is what it wrote.
        EXPECT_EQ(NamesIn((bFirstEndsFirst ? second : first)->list), OnDisk());
    }
}

// What another program does to the file while the name dialog is open, and
// what the file then holds: every entry that was on disk, and the new one
// where it ranks.
TEST_F(HeroMergeTest, TheEntryGoesIntoTheFileAsItIsWhenTheNameIsGiven)
{
    const struct {
        const char* pWhat;
        std::function<void(HeroMergeTest&)> meanwhile;
        bool bEntered;
        Names onDisk;
    } cases[] = {
        {"another game added an entry",
         [](HeroMergeTest& t) { t.WriteList({{"a", 45}, {"other", 35}, {"b", 20}}); }, true,
         {"a", "me", "other", "b"}},
        {"the file was removed", [](HeroMergeTest& t) { fs::remove(t.m_path); }, true, {"me"}},
        {"ten better entries replaced it", [](HeroMergeTest& t) { t.WriteList(Ten("x", 90)); },
         false, {"x0", "x1", "x2", "x3", "x4", "x5", "x6", "x7", "x8", "x9"}},
        {"ten entries, the last of them worse",
         [](HeroMergeTest& t) { t.WriteList(Ten("x", 48)); }, true,
         {"x0", "x1", "x2", "x3", "me", "x4", "x5", "x6", "x7", "x8"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pWhat);
        WriteList({{"a", 45}, {"b", 20}});
        auto game = Start("me");
        game->prompt.meanwhile = [&] { c.meanwhile(*this); };
        EXPECT_EQ(game->list.TryEnter(45, 0), c.bEntered);
        EXPECT_EQ(OnDisk(), c.onDisk);
        EXPECT_EQ(NamesIn(game->list), c.onDisk);
        EXPECT_TRUE(game->prompt.failures.empty());
    }
}

// A file unreadable when the game started was read as an empty list; it must
// not be replaced by that list and one new entry.
TEST_F(HeroMergeTest, AFileUnreadableAtTheStartLosesNothing)
{
    fs::create_directory(m_path);  // something the game cannot read stands there
    auto game = Start("me");
    ASSERT_EQ(game->list.GetCount(), 0);

    // Still unreadable at the end: nothing is written, the player is told,
    // and the entry stays on show for this run.
    EXPECT_TRUE(game->list.TryEnter(5, 5));
    EXPECT_EQ(game->prompt.failures, std::vector<CProfileError>{CProfileError::NotAFile});
    EXPECT_TRUE(fs::is_directory(m_path));
    EXPECT_EQ(NamesIn(game->list), Names{"me"});

    // Readable again by the next game's end: ten good entries are all kept,
    // and the entry that could not be saved is written with the new one
    // where they rank.
    fs::remove(m_path);
    WriteList(Ten("x", 12));
    game->prompt.name = "again";
    EXPECT_TRUE(game->list.TryEnter(10, 0));
    EXPECT_EQ(OnDisk(), (Names{"x0", "x1", "x2", "again", "x3", "x4", "x5", "x6", "x7", "me"}));
}

TEST_F(HeroMergeTest, ALockHeldByAnotherProgramFailsTheSaveAndIsTold)
{
    WriteList({{"a", 45}});
    auto game = Start("me");
    CHeldLock lock(m_folder / ".orvo.ini.lock");
    ASSERT_TRUE(lock.IsHeld());
    EXPECT_TRUE(game->list.TryEnter(50, 0));
    EXPECT_EQ(game->prompt.failures, std::vector<CProfileError>{CProfileError::Busy});
    EXPECT_EQ(OnDisk(), Names{"a"});
    EXPECT_EQ(NamesIn(game->list), (Names{"me", "a"}));
}

}  // namespace
