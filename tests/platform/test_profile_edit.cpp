// SPDX-License-Identifier: MIT
// What a settings file can carry so that it reads back as written: one rule
// for both systems' files.

#include <gtest/gtest.h>

#include <string>

#include "CProfile.h"

namespace {

TEST(ProfileEditTest, OnlyEditsThatReadBackAsWrittenAreStorable)
{
    const struct {
        const char* pWhat;
        CProfileEdit edit;
        bool bStorable;
    } cases[] = {
        {"a value", {"TOPTEN", "Hero0", std::string("1O4V1U29")}, true},
        {"a removal", {"TOPTEN", "Hero0", std::nullopt}, true},
        {"an empty value", {"TOPTEN", "Hero0", std::string()}, true},
        {"blanks inside names", {"MY CONFIG", "Play Sound", std::string("1")}, true},
        {"no section", {"", "Hero0", std::string("x")}, false},
        {"no key", {"TOPTEN", "", std::string("x")}, false},
        {"a section that ends early", {"TOP]TEN", "Hero0", std::string("x")}, false},
        {"a key with its own value", {"TOPTEN", "Hero=0", std::string("x")}, false},
        {"a key read as a comment", {"TOPTEN", ";Hero0", std::string("x")}, false},
        {"a key read as an old comment", {"TOPTEN", "#Hero0", std::string("x")}, false},
        {"a key read as a section", {"TOPTEN", "[Hero0", std::string("x")}, false},
        {"a trimmed section", {" TOPTEN", "Hero0", std::string("x")}, false},
        {"a trimmed key", {"TOPTEN", "Hero0\t", std::string("x")}, false},
        {"a line break in a value", {"TOPTEN", "Hero0", std::string("a\nb")}, false},
        {"a carriage return in a key", {"TOPTEN", "He\rro0", std::string("x")}, false},
        {"a NUL in a value", {"TOPTEN", "Hero0", std::string("a\0b", 3)}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pWhat);
        EXPECT_EQ(c.edit.IsStorable(), c.bStorable);
    }
}

}  // namespace
