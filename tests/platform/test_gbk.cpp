// SPDX-License-Identifier: MIT
#include "CGbk.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string REPLACEMENT = "\xEF\xBF\xBD";

struct SPair {
    std::string utf8;
    std::string gbk;
};

TEST(Gbk, ConvertsBothWaysExactly)
{
    const SPair pairs[] = {
        {"", ""},
        {"Orvo", "Orvo"},
        {"英雄", "\xD3\xA2\xD0\xDB"},
        {"张三李四王五", "\xD5\xC5\xC8\xFD\xC0\xEE\xCB\xC4\xCD\xF5\xCE\xE5"},
        {"€", "\x80"},  // the one single byte above ASCII in code page 936
        {"a·—", "a\xA1\xA4\xA1\xAA"},
    };
    for (const SPair& pair : pairs) {
        SCOPED_TRACE(pair.utf8);
        EXPECT_EQ(CGbk::Utf8ToGbk(pair.utf8), pair.gbk);
        EXPECT_EQ(CGbk::GbkToUtf8(pair.gbk), pair.utf8);
        EXPECT_EQ(CGbk::GbkLength(pair.utf8), static_cast<int>(pair.gbk.size()));
    }
}

TEST(Gbk, UndecodableBytesBecomeReplacementAndDecodingGoesOn)
{
    const SPair cases[] = {
        {REPLACEMENT, "\xFF"},
        {REPLACEMENT + "A", "\xFF" "A"},
        {REPLACEMENT + "0", "\x81\x30"},  // lead byte without a trail byte: the '0' survives
        {REPLACEMENT, "\xAA\xA1"},        // a well-formed pair with no character is one
        {"a" + REPLACEMENT, "a\xD3"},     // cut after a lead byte
        {"英" + REPLACEMENT + "雄", "\xD3\xA2\xFF\xD0\xDB"},
    };
    for (const SPair& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(CGbk::GbkToUtf8(c.gbk), c.utf8);
    }
}

TEST(Gbk, TwelveByteNameLimitCountsGbkBytes)
{
    EXPECT_EQ(CGbk::GbkLength("张三李四王五"), 12);
    EXPECT_EQ(CGbk::GbkLength("张三李四王五a"), 13);

    // A stored name is cut at 12 bytes, which can split the last character.
    const std::string gbk = *CGbk::Utf8ToGbk("a张三李四王五");
    EXPECT_EQ(CGbk::GbkToUtf8(gbk.substr(0, 12)), "a张三李四王" + REPLACEMENT);
}

TEST(Gbk, RefusesWhatGbkCannotHold)
{
    const std::string refused[] = {
        "😀",
        "Orvo😀",
        "한",             // Hangul is not in GBK
        "\xFF",           // not UTF-8
        "\xE4\xB8",       // cut UTF-8 sequence
        "\xED\xA0\x80",   // encoded surrogate
        "\xC0\xAF",       // overlong '/'
    };
    for (const std::string& text : refused) {
        SCOPED_TRACE(text);
        EXPECT_EQ(CGbk::Utf8ToGbk(text), std::nullopt);
        EXPECT_EQ(CGbk::GbkLength(text), -1);
    }
}

}  // namespace
