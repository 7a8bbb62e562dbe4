// SPDX-License-Identifier: MIT
#include "CIniText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CProfile.h"

namespace {

using namespace std::string_literals;

// An edit changes its key's line, adds one or takes lines away, and leaves
// every other byte where it was: line ends, blank lines, comments, spacing.
TEST(IniText, EditsChangeOnlyTheirOwnLines)
{
    const struct {
        const char* pName;
        std::string before;
        std::vector<CProfileEdit> edits;
        std::string after;
    } cases[] = {
        {"value replaced, spacing kept", "[A]\r\nk =  old  \r\nj=1\r\n", {{"a", "K", "new"}},
         "[A]\r\nk =  new  \r\nj=1\r\n"},
        {"new key below the last key, with the file's line end",
         "[A]\r\nk=1\r\n; note\r\n\r\n[B]\r\n", {{"A", "n", "2"}},
         "[A]\r\nk=1\r\nn=2\r\n; note\r\n\r\n[B]\r\n"},
        {"new key under a header without keys", "[A]\n\n\n[B]\nx=1\n", {{"A", "k", "v"}},
         "[A]\nk=v\n\n\n[B]\nx=1\n"},
        {"last line without a line end", "[A]\nk=1", {{"A", "j", "2"}}, "[A]\nk=1\nj=2\n"},
        {"new section at the end", "[A]\nk=1", {{"B", "x", "1"}}, "[A]\nk=1\n[B]\nx=1\n"},
        {"new file", "", {{"TOPTEN", "Hero0", "X"}}, "[TOPTEN]\nHero0=X\n"},
        {"lone carriage returns", "[A]\rk=1\r", {{"A", "j", "2"}}, "[A]\rk=1\rj=2\r"},
        {"byte-order mark kept", "\xEF\xBB\xBF[A]\nk=1\n", {{"A", "k", "2"}},
         "\xEF\xBB\xBF[A]\nk=2\n"},
        {"twins dropped, the first keeps its place", "[A]\nk=1\nK=2\n[B]\n[a]\nk=3\nz=0\n",
         {{"A", "k", "9"}}, "[A]\nk=9\n[B]\n[a]\nz=0\n"},
        {"removal takes every twin and nothing else", "[A]\nk=1\n[B]\nk=1\n[a]\nK=2\n",
         {{"A", "k", std::nullopt}}, "[A]\n[B]\nk=1\n[a]\n"},
        {"keys out of reach stay out of reach", "k=1\n[A\nk=2\n", {{"A", "k", "3"}},
         "k=1\n[A\nk=2\n[A]\nk=3\n"},
        {"removing what is not there changes nothing", "; only a comment", {{"A", "k", std::nullopt}},
         "; only a comment"},
        {"last edit of a key decides", "[A]\nk=1\nj=2\n",
         {{"A", "k", std::nullopt}, {"A", "K", "5"}}, "[A]\nk=5\nj=2\n"},
        {"blanks around a new value are not stored", "[A]\nk = 1\n", {{"A", "k", " 2 "}, {"A", "j", "\t3 "}},
         "[A]\nk = 2\nj=3\n"},
        {"a line ended by a NUL", "[A]\0k=1\0[B]\n"s, {{"A", "j", "2"}}, "[A]\0k=1\0j=2\n[B]\n"s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pName);
        CIniText text(c.before);
        text.Apply(c.edits, "\n");
        EXPECT_EQ(text.Text(), c.after);
        // The same edits again change nothing.
        CIniText again(text.Text());
        again.Apply(c.edits, "\n");
        EXPECT_EQ(again.Text(), c.after);
    }
}

TEST(IniText, ReadsNamesWithoutCaseAndValuesTrimmed)
{
    const CIniText text("top=1\n[ Config ]  trailing\n PlaySound = 1 \n; k=c\n#k=h\nnoequals\n"
                        "[broken\nk=x\n[topten]\nHero0=A\nhero0=B\n[TOPTEN]\nHero1=C\n=v\n");
    EXPECT_EQ(text.Find("CONFIG", "playsound"), "1");
    EXPECT_EQ(text.Find("topten", "HERO0"), "A");
    EXPECT_EQ(text.Find("TopTen", "Hero1"), "C");
    EXPECT_EQ(text.Find("config", "k"), std::nullopt);
    EXPECT_EQ(text.Find("broken", "k"), std::nullopt);
    EXPECT_EQ(text.Find("", "top"), std::nullopt);
    EXPECT_EQ(text.Find("config", "noequals"), std::nullopt);
}

}  // namespace
