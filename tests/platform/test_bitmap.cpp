// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "CBitmap.h"

namespace {

void PutU16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void PutU32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    PutU16(b, at, v & 0xFFFF);
    PutU16(b, at + 2, v >> 16);
}

std::uint32_t Colour(int x, int y)
{
    return static_cast<std::uint32_t>(0x100000 * (x + 1) + 0x000300 * (y + 1) + 0x40 + x + y);
}

// A 24-bit file written by hand: 14-byte file header, 40-byte info header,
// rows padded to four bytes, bottom row first unless topDown.
std::vector<std::uint8_t> MakeBmp(int width, int height, bool topDown)
{
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t(3);
    std::vector<std::uint8_t> b(54 + stride * height, 0);
    b[0] = 'B';
    b[1] = 'M';
    PutU32(b, 2, static_cast<std::uint32_t>(b.size()));
    PutU32(b, 10, 54);
    PutU32(b, 14, 40);
    PutU32(b, 18, static_cast<std::uint32_t>(width));
    PutU32(b, 22, static_cast<std::uint32_t>(topDown ? -height : height));
    PutU16(b, 26, 1);
    PutU16(b, 28, 24);
    for (int y = 0; y < height; ++y) {
        const int stored = topDown ? y : height - 1 - y;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = Colour(x, y);
            const std::size_t at = 54 + stride * stored + 3 * x;
            b[at] = static_cast<std::uint8_t>(c);
            b[at + 1] = static_cast<std::uint8_t>(c >> 8);
            b[at + 2] = static_cast<std::uint8_t>(c >> 16);
        }
    }
    return b;
}

TEST(BitmapDecode, ReadsBottomUpAndTopDownRows)
{
    for (const bool topDown : {false, true}) {
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.Decode(MakeBmp(3, 2, topDown))) << topDown;
        const CSurface& s = bitmap.Surface();
        ASSERT_EQ(s.Width(), 3);
        ASSERT_EQ(s.Height(), 2);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(s.Pixel(x, y), Colour(x, y)) << topDown << ' ' << x << ',' << y;
    }
}

TEST(BitmapDecode, RefusesEveryCutThatLosesPixelBytes)
{
    const std::vector<std::uint8_t> bytes = MakeBmp(3, 2, false);  // rows of 9 + 3 padding
    for (std::size_t n = 0; n < bytes.size() - 3; ++n) {
        CBitmap bitmap;
        EXPECT_FALSE(bitmap.Decode(bytes.data(), n)) << n;
    }
    CBitmap bitmap;
    EXPECT_TRUE(bitmap.Decode(bytes.data(), bytes.size() - 3)) << "only the last padding missing";
}

struct CDamage {
    const char* name;
    std::size_t at;
    int width;  // 2 or 4 bytes
    std::uint32_t value;
};

TEST(BitmapDecode, RefusesWhatIsNotAnUncompressed24BitPicture)
{
    const CDamage cases[] = {
        {"signature", 0, 2, 0x4142},
        {"pixels beyond the end", 10, 4, 60},
        {"pixels inside the header", 10, 4, 20},
        {"offset near 4 GiB", 10, 4, 0xFFFFFFF0u},
        {"short info header", 14, 4, 12},
        {"info header beyond the end", 14, 4, 0xFFFFFFFFu},
        {"zero width", 18, 4, 0},
        {"negative width", 18, 4, static_cast<std::uint32_t>(-3)},
        {"absurd width", 18, 4, 0x40000000},
        {"width past the limit", 18, 4, 16385},
        {"zero height", 22, 4, 0},
        {"most negative height", 22, 4, 0x80000000u},
        {"absurd height", 22, 4, 0x7FFFFFFF},
        {"two planes", 26, 2, 2},
        {"8 bits", 28, 2, 8},
        {"32 bits", 28, 2, 32},
        {"run-length compressed", 30, 4, 1},
        {"bit fields", 30, 4, 3},
    };
    for (const CDamage& c : cases) {
        std::vector<std::uint8_t> bytes = MakeBmp(3, 2, false);
        if (c.width == 2)
            PutU16(bytes, c.at, c.value);
        else
            PutU32(bytes, c.at, c.value);
        CBitmap bitmap;
        EXPECT_FALSE(bitmap.Decode(bytes)) << c.name;
    }
}

TEST(BitmapDecode, RefusalKeepsWhatWasDecodedBefore)
{
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.Decode(MakeBmp(3, 2, true)));
    std::vector<std::uint8_t> bad = MakeBmp(5, 5, true);
    PutU16(bad, 28, 16);
    EXPECT_FALSE(bitmap.Decode(bad));
    EXPECT_FALSE(bitmap.Decode(nullptr, 0));
    EXPECT_EQ(bitmap.Surface().Width(), 3);
    EXPECT_EQ(bitmap.Surface().Pixel(2, 1), Colour(2, 1));
}

TEST(BitmapDecode, ReadsTheShippedBallStrip)
{
    const char* root = std::getenv("ORVO_SOURCE_DIR");
    if (!root)
        GTEST_SKIP() << "ORVO_SOURCE_DIR not set";
    std::ifstream file(std::string(root) + "/res/balls.bmp", std::ios::binary);
    if (!file)
        GTEST_SKIP() << "no res/balls.bmp yet";
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                          std::istreambuf_iterator<char>());
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.Decode(bytes));
    const CSurface& s = bitmap.Surface();
    ASSERT_EQ(s.Width(), 224);
    ASSERT_EQ(s.Height(), 28);
    // The mask: white corners, black centre. The balls' highlight sits up
    // and to the left, so rows read the wrong way up would show it low.
    EXPECT_EQ(s.Pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(s.Pixel(14, 14), 0x000000u);
    for (int k = 1; k <= 7; ++k) {
        const auto sum = [&](int x, int y) {
            const std::uint32_t c = s.Pixel(28 * k + x, y);
            return (c >> 16) + (c >> 8 & 0xFF) + (c & 0xFF);
        };
        EXPECT_GT(sum(10, 10), sum(10, 17)) << "frame " << k;
    }
}

}  // namespace
