// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "CHeroList.h"
#include "HeroCode.h"
#include "CMemoryProfile.h"
#include "CScriptedAnswers.h"
#include "CTraceLine.h"

namespace {

class CScriptedPrompt : public CHeroPrompt {
public:
    CScriptedAnswers answers;
    std::vector<std::string> events;

    void PlayEffect(std::uint16_t id) override { events.push_back(CTraceLine::Effect(id)); }
    bool AskName(std::string& name) override
    {
        events.push_back(CTraceLine::Ask() + ' ' + name);
        return answers.Answer(name);
    }
    void ReportSaveFailure(CProfileError why) override
    {
        events.push_back("save failed " + std::to_string(static_cast<int>(why)));
    }
};


std::vector<std::string> Names(const CHeroList& list)
{
    std::vector<std::string> names;
    for (const auto& record : list.Records())
        names.push_back(record->GetName());
    return names;
}

class HeroListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        list.SetProfile(&profile);
        list.SetPrompt(&prompt);
    }
    void Store(int key, const std::string& code) { profile.values[{"TOPTEN", "Hero" + std::to_string(key)}] = code; }
    // Ten entries with 50, 49, ... 41 balls.
    void StoreFullList()
    {
        for (int i = 0; i < 10; ++i)
            Store(i, CodeOf("p" + std::to_string(i), 50 - i, 1000));
        list.Load();
    }

    CMemoryProfile profile;
    CScriptedPrompt prompt;
    CHeroList list;
};

}  // namespace

TEST_F(HeroListTest, LoadOrdersByBallsThenScoreAndKeepsKeyOrderForTies)
{
    Store(0, CodeOf("low", 5, 25));
    Store(2, CodeOf("tieA", 9, 50));
    Store(3, CodeOf("best", 20, 10));
    Store(5, CodeOf("tieB", 9, 50));
    Store(7, CodeOf("more", 9, 60));
    Store(11, CodeOf("ignored", 99, 99));
    profile.values[{"TOPTEN", "Hero1"}] = "";
    list.Load();
    EXPECT_EQ(Names(list), (std::vector<std::string>{"best", "more", "tieA", "tieB", "low"}));
}

TEST_F(HeroListTest, DamagedEntriesAreDroppedSilently)
{
    for (int i = 0; i < 10; ++i)
        Store(i, CodeOf("n" + std::to_string(i), i, i));
    std::string lower = profile.values[{"TOPTEN", "Hero3"}];
    for (auto& ch : lower)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    Store(3, lower);
    Store(4, "NOTACODE");
    list.Load();
    EXPECT_EQ(list.GetCount(), 8);
}

TEST_F(HeroListTest, ShortListTakesEveryResultAndSavesIt)
{
    Store(0, CodeOf("old", 10, 100));
    list.Load();
    prompt.answers.AddName("");
    EXPECT_TRUE(list.TryEnter(0, 0));
    EXPECT_EQ(prompt.events, (std::vector<std::string>{"effect 137", "ask Orvo"}));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"old", ""}));
    EXPECT_EQ(profile.GetString("TOPTEN", "Hero1", ""), CodeOf("", 0, 0));
}

TEST_F(HeroListTest, FullListComparesBallsOnly)
{
    StoreFullList();
    EXPECT_FALSE(list.TryEnter(41, 99999));
    EXPECT_TRUE(prompt.events.empty()) << "no sound and no dialog for a result that misses";

    EXPECT_TRUE(list.TryEnter(42, 0));
    EXPECT_EQ(list.GetCount(), 10);
    EXPECT_EQ(Names(list).back(), "Orvo") << "42 balls beats 41 whatever the scores";
    EXPECT_EQ(profile.GetString("TOPTEN", "Hero9", ""), CodeOf("Orvo", 42, 0));
}

TEST_F(HeroListTest, EqualResultGoesBelowTheOlderOne)
{
    Store(0, CodeOf("first", 30, 300));
    list.Load();
    prompt.answers.AddName("second");
    ASSERT_TRUE(list.TryEnter(30, 300));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"first", "second"}));
}

TEST_F(HeroListTest, CancelChangesNothingAfterTheFanfare)
{
    Store(0, CodeOf("only", 3, 9));
    list.Load();
    const auto before = profile.values;
    prompt.answers.AddCancel();
    EXPECT_FALSE(list.TryEnter(50, 50));
    EXPECT_EQ(prompt.events.front(), "effect 137");
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_EQ(profile.values, before);
    EXPECT_EQ(profile.writes, 0);
}

TEST_F(HeroListTest, SaveRemovesKeysBeyondTheList)
{
    // Damaged Hero0..Hero4 and good Hero5..Hero9: five load. After the next
    // entry the file must hold exactly those six, not the old five twice.
    for (int i = 0; i < 10; ++i)
        Store(i, i < 5 ? "BAD" : CodeOf("g" + std::to_string(i), 20 - i, 0));
    list.Load();
    ASSERT_EQ(list.GetCount(), 5);
    ASSERT_TRUE(list.TryEnter(1, 1));
    EXPECT_EQ(profile.writes, 1) << "the whole list goes out in one write";
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(profile.values.count({"TOPTEN", "Hero" + std::to_string(i)}), i < 6 ? 1u : 0u)
            << i;
    CHeroList reloaded;
    reloaded.SetProfile(&profile);
    reloaded.Load();
    EXPECT_EQ(Names(reloaded), Names(list));
}

TEST_F(HeroListTest, CodesReadFromTheFileAreWrittenBackAsRead)
{
    // Extra characters after the 28th and non-zero filler bytes are kept.
    const std::string odd = CodeOf("abc", 5, 25) + "XYZ";
    Store(0, odd);
    list.Load();
    ASSERT_EQ(list.GetCount(), 1);
    ASSERT_TRUE(list.TryEnter(1, 1));
    EXPECT_EQ(profile.GetString("TOPTEN", "Hero0", ""), odd);
}

TEST_F(HeroListTest, EleventhEntryPushesOutTheLast)
{
    for (int i = 0; i < 11; ++i) {
        prompt.answers.AddName("g" + std::to_string(i));
        ASSERT_TRUE(list.TryEnter(i + 1, 0));
    }
    EXPECT_EQ(list.GetCount(), 10);
    EXPECT_EQ(Names(list).front(), "g10");
    EXPECT_EQ(Names(list).back(), "g1");
}

TEST_F(HeroListTest, WithoutAProfileNothingLoadsOrSaves)
{
    CHeroList bare;
    bare.SetPrompt(&prompt);
    bare.Load();
    EXPECT_TRUE(bare.TryEnter(3, 9));
    EXPECT_EQ(bare.GetCount(), 1);
    EXPECT_FALSE(bare.Save());
    EXPECT_EQ(prompt.events, (std::vector<std::string>{"effect 137", "ask Orvo"}));
}

// A lost entry is not passed off as recorded: the player hears why, after
// the name and before the game goes on; the entry stays for this run.
TEST_F(HeroListTest, FailedSaveIsReportedWithItsReason)
{
    CMemoryProfile full;
    full.failWrites = true;
    full.failure = CProfileError::DiskFull;
    list.SetProfile(&full);
    EXPECT_TRUE(list.TryEnter(3, 9));
    EXPECT_EQ(prompt.events,
              (std::vector<std::string>{
                  "effect 137", "ask Orvo",
                  "save failed " + std::to_string(static_cast<int>(CProfileError::DiskFull))}));
    EXPECT_EQ(list.GetCount(), 1);

    prompt.events.clear();
    list.SetProfile(&profile);
    EXPECT_TRUE(list.TryEnter(3, 9));
    EXPECT_EQ(prompt.events, (std::vector<std::string>{"effect 137", "ask Orvo"}));
}
