// SPDX-License-Identifier: MIT
// The ball sprite strip as the game ships it: the board draws a ball by
// ANDing frame 0 and XORing the ball's frame, which only looks right if the
// frames agree pixel for pixel on where the disc is.
#include "ByteOrder.h"
#include "CResources.h"
#include "NamedCase.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kFrame = 28;
constexpr int kWidth = 8 * kFrame;
constexpr std::size_t kHeaderSize = 14 + 40;
constexpr std::size_t kStride = kWidth * 3;  // already a multiple of four

const int kRowWidths[kFrame] = {0,  8,  12, 16, 18, 20, 22, 22, 24, 24, 26, 26, 26, 26,
                                26, 26, 26, 26, 24, 24, 22, 22, 20, 18, 16, 12, 8,  0};

struct CRgb {
    int r, g, b;
    bool operator==(const CRgb& o) const { return r == o.r && g == o.g && b == o.b; }
    int Luminance() const { return 299 * r + 587 * g + 114 * b; }
};

std::ostream& operator<<(std::ostream& os, const CRgb& c)
{
    return os << '(' << c.r << ", " << c.g << ", " << c.b << ')';
}

const CRgb kBlack{0, 0, 0};
const CRgb kWhite{255, 255, 255};

CResourceData Strip()
{
    const auto res = FindEmbeddedResource(CResourceType::Bitmap, 130);
    if (!res) {
        ADD_FAILURE() << "bitmap 130 is not embedded";
        return {nullptr, 0};
    }
    return *res;
}

// Top-down coordinates within frame k; the file stores its rows bottom-up.
CRgb Pixel(const CResourceData& bmp, int frame, int x, int y)
{
    const unsigned char* p =
        bmp.pData + kHeaderSize + (kFrame - 1 - y) * kStride + (frame * kFrame + x) * 3;
    return {p[2], p[1], p[0]};
}

bool InDisc(int x, int y)
{
    if (x < 0 || y < 0 || x >= kFrame || y >= kFrame)
        return false;
    const int left = (kFrame - kRowWidths[y]) / 2;
    return x >= left && x < left + kRowWidths[y];
}

bool OnRim(int x, int y)
{
    return !(InDisc(x + 1, y) && InDisc(x - 1, y) && InDisc(x, y + 1) && InDisc(x, y - 1));
}

TEST(BallStripTest, IsUncompressedBottomUp24BitOf224By28)
{
    const CResourceData bmp = Strip();
    ASSERT_EQ(bmp.nSize, kHeaderSize + kStride * kFrame);
    const unsigned char* p = bmp.pData;
    EXPECT_EQ(p[0], 'B');
    EXPECT_EQ(p[1], 'M');
    EXPECT_EQ(Le32(p + 2), bmp.nSize);
    EXPECT_EQ(Le32(p + 10), kHeaderSize);
    EXPECT_EQ(Le32(p + 14), 40u);                   // BITMAPINFOHEADER
    EXPECT_EQ(std::int32_t(Le32(p + 18)), kWidth);
    EXPECT_EQ(std::int32_t(Le32(p + 22)), kFrame);  // positive: bottom-up
    EXPECT_EQ(Le16(p + 26), 1);
    EXPECT_EQ(Le16(p + 28), 24);
    EXPECT_EQ(Le32(p + 30), 0u);                    // BI_RGB
}

TEST(BallStripTest, MaskIsACentredBlackDiscOnWhite)
{
    const CResourceData bmp = Strip();
    ASSERT_EQ(bmp.nSize, kHeaderSize + kStride * kFrame);
    int total = 0;
    for (int y = 0; y < kFrame; ++y) {
        for (int x = 0; x < kFrame; ++x) {
            const CRgb c = Pixel(bmp, 0, x, y);
            EXPECT_EQ(c, InDisc(x, y) ? kBlack : kWhite) << "at " << x << ", " << y;
            total += c == kBlack;
        }
    }
    EXPECT_EQ(total, 540);
}

struct CBall {
    int nFrame;
    const char* name;
    CRgb centre;
    CRgb darkest;
};

const CBall kBalls[] = {
    {1, "blue", {0, 64, 191}, {0, 8, 32}},
    {2, "green", {48, 168, 15}, {16, 32, 0}},
    {3, "cyan", {0, 160, 160}, {0, 31, 31}},
    {4, "red", {223, 0, 0}, {95, 0, 0}},
    {5, "magenta", {191, 0, 176}, {16, 8, 15}},
    {6, "yellow", {207, 168, 0}, {64, 48, 0}},
    {7, "silver", {160, 160, 160}, {31, 31, 31}},
};

class BallFrameTest : public ::testing::TestWithParam<CBall> {
protected:
    void SetUp() override
    {
        m_bmp = Strip();
        ASSERT_EQ(m_bmp.nSize, kHeaderSize + kStride * kFrame);
        m_nFrame = GetParam().nFrame;
    }
    CRgb At(int x, int y) const { return Pixel(m_bmp, m_nFrame, x, y); }

    // Every disc pixel whose luminance is extreme (lowest or highest).
    template <typename Better>
    std::vector<std::pair<int, int>> Extremes(Better better) const
    {
        std::vector<std::pair<int, int>> found;
        int best = -1;
        for (int y = 0; y < kFrame; ++y) {
            for (int x = 0; x < kFrame; ++x) {
                if (!InDisc(x, y))
                    continue;
                const int l = At(x, y).Luminance();
                if (found.empty() || better(l, best)) {
                    found.clear();
                    best = l;
                }
                if (l == best)
                    found.emplace_back(x, y);
            }
        }
        return found;
    }

    CResourceData m_bmp{};
    int m_nFrame = 0;
};

TEST_P(BallFrameTest, FillsExactlyTheMaskDisc)
{
    for (int y = 0; y < kFrame; ++y) {
        for (int x = 0; x < kFrame; ++x) {
            if (InDisc(x, y))
                EXPECT_FALSE(At(x, y) == kBlack) << "black inside at " << x << ", " << y;
            else
                EXPECT_EQ(At(x, y), kBlack) << "at " << x << ", " << y;
        }
    }
}

TEST_P(BallFrameTest, ShowsItsOwnColourAtTheCentre)
{
    EXPECT_EQ(At(14, 14), GetParam().centre);
}

TEST_P(BallFrameTest, DarkestShadeLiesOnTheLowerRightRim)
{
    const auto darkest = Extremes([](int l, int best) { return l < best; });
    ASSERT_FALSE(darkest.empty());
    for (const auto& [x, y] : darkest) {
        EXPECT_EQ(At(x, y), GetParam().darkest) << "at " << x << ", " << y;
        EXPECT_GE(x, 14);
        EXPECT_GE(y, 14);
        EXPECT_TRUE(OnRim(x, y)) << x << ", " << y << " is not on the rim";
    }
}

TEST_P(BallFrameTest, HighlightIsPureWhiteNearTheUpperLeft)
{
    EXPECT_EQ(At(10, 10), kWhite);
    for (const auto& [x, y] : Extremes([](int l, int best) { return l > best; })) {
        EXPECT_EQ(At(x, y), kWhite);
        EXPECT_LE(std::abs(x - 10), 2) << "brightest pixel at " << x << ", " << y;
        EXPECT_LE(std::abs(y - 10), 2) << "brightest pixel at " << x << ", " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Colours, BallFrameTest, ::testing::ValuesIn(kBalls), CaseName());

}  // namespace
