// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>

#include "CHeroRecord.h"
#include "HeroCode.h"

namespace {


}  // namespace

TEST(HeroRecord, WorkedExamplesEncodeAndDecode)
{
    const struct {
        std::string name;
        std::string code;
    } cases[] = {{"abc", "1O4V1U29AFMNIVCSZEVCVI9LZ4ND"},
                 {"abcdefghijkl", "L3MQ4RMTQ6TN3MSLTYJD9B4RR3C"}};
    for (const auto& tc : cases) {
        EXPECT_EQ(CodeOf(tc.name, 5, 25), tc.code);
        CHeroRecord record;
        record.SetCode(tc.code);
        ASSERT_TRUE(record.Decode());
        EXPECT_EQ(record.GetName(), tc.name);
        EXPECT_EQ(record.GetBalls(), 5);
        EXPECT_EQ(record.GetScore(), 25);
        EXPECT_EQ(record.GetCode(), tc.code) << "decoding never rewrites the code";
    }
}

TEST(HeroRecord, RoundTripsKeepWhatTheBlockHolds)
{
    const struct {
        std::string name;
        int balls, score;
        std::string decodedName;
        int decodedBalls, decodedScore;
    } cases[] = {
        {"", 0, 0, "", 0, 0},
        {"abcdefghijklmnop", 7, 49, "abcdefghijkl", 7, 49},        // cut to 12 bytes
        {"\xD5\xC5\xC8\xFD", 300, 9000, "\xD5\xC5\xC8\xFD", 300, 9000},  // GBK bytes kept
        {"x", 65535, 65535, "x", 65535, 65535},
        {"x", 65536, 70000, "x", 65535, 65535},                    // saturated, not wrapped
        {"x", 2147483647, 131072, "x", 65535, 65535},
        {"x", -1, -5, "x", 0, 0},
    };
    for (const auto& tc : cases) {
        CHeroRecord record;
        record.SetCode(CodeOf(tc.name, tc.balls, tc.score));
        ASSERT_TRUE(record.Decode()) << tc.name;
        EXPECT_EQ(record.GetName(), tc.decodedName);
        EXPECT_EQ(record.GetBalls(), tc.decodedBalls);
        EXPECT_EQ(record.GetScore(), tc.decodedScore);
        EXPECT_LE(record.GetCode().size(), 28u);
        EXPECT_NE(record.GetCode().back(), '0');
    }
}

TEST(HeroRecord, DamagedCodesAreRefusedAndChangeNothing)
{
    const std::string good = "1O4V1U29AFMNIVCSZEVCVI9LZ4ND";
    std::string lower = good;
    lower[1] = 'o';
    std::string flipped = good;
    flipped[5] = flipped[5] == 'Z' ? 'Y' : static_cast<char>(flipped[5] + 1);
    const std::string refused[] = {"", lower, flipped, good.substr(0, 27), " " + good,
                                   std::string("1O4V\x80") + good.substr(5)};
    for (const auto& code : refused) {
        CHeroRecord record;
        record.SetName("keep");
        record.SetBalls(3);
        record.SetScore(9);
        record.SetCode(code);
        EXPECT_FALSE(record.Decode()) << code;
        EXPECT_EQ(record.GetName(), "keep");
        EXPECT_EQ(record.GetBalls(), 3);
        EXPECT_EQ(record.GetScore(), 9);
    }
}

TEST(HeroRecord, CharactersBeyondTheTwentyEighthAreIgnored)
{
    CHeroRecord record;
    record.SetCode("1O4V1U29AFMNIVCSZEVCVI9LZ4NDzz!?");
    ASSERT_TRUE(record.Decode());
    EXPECT_EQ(record.GetName(), "abc");
}

TEST(HeroRecord, PunctuationBetweenDigitsAndLettersReadsAsThreeToNine)
{
    // ':' reads as 3, so swapping a '3' for ':' decodes the same record.
    const std::string code = CodeOf("a", 1, 1);
    const auto at = code.find('3');
    ASSERT_NE(at, std::string::npos) << code;
    std::string odd = code;
    odd[at] = ':';
    CHeroRecord record;
    record.SetCode(odd);
    ASSERT_TRUE(record.Decode());
    EXPECT_EQ(record.GetName(), "a");
}

TEST(HeroRecord, ShortCodeWithZeroHighBytesStillDecodes)
{
    // Look for a record whose checksum's low byte is zero: its code is at most
    // 27 characters, the missing top byte reading as zero.
    for (int balls = 0; balls < 4000; ++balls) {
        const std::string code = CodeOf("", balls, 0);
        if (code.size() > 27)
            continue;
        CHeroRecord record;
        record.SetCode(code);
        ASSERT_TRUE(record.Decode());
        EXPECT_EQ(record.GetBalls(), balls);
        return;
    }
    FAIL() << "no short code found";
}

TEST(HeroRecord, ConvertBaseRefusesBadArguments)
{
    std::uint8_t digits[2] = {1, 2}, out[8];
    int count = -7;
    EXPECT_FALSE(CHeroRecord::ConvertBase(nullptr, out, 2, count, 10, 2));
    EXPECT_FALSE(CHeroRecord::ConvertBase(digits, nullptr, 2, count, 10, 2));
    EXPECT_FALSE(CHeroRecord::ConvertBase(digits, out, 2, count, 1, 10));
    EXPECT_FALSE(CHeroRecord::ConvertBase(digits, out, 2, count, 10, 257));
    EXPECT_FALSE(CHeroRecord::ConvertBase(digits, out, -1, count, 10, 2));
    EXPECT_EQ(count, -7);

    EXPECT_TRUE(CHeroRecord::ConvertBase(digits, out, 0, count, 10, 2));
    EXPECT_EQ(count, 0);
    std::uint8_t zeros[3] = {0, 0, 0};
    EXPECT_TRUE(CHeroRecord::ConvertBase(zeros, out, 3, count, 10, 16));
    EXPECT_EQ(count, 1);
    EXPECT_EQ(out[0], 0);
    std::uint8_t number[3] = {5, 5, 2};  // 255 in decimal, least significant first
    EXPECT_TRUE(CHeroRecord::ConvertBase(number, out, 3, count, 10, 16));
    ASSERT_EQ(count, 2);
    EXPECT_EQ(out[0], 15);
    EXPECT_EQ(out[1], 15);
}
