// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "CDC.h"
#include "CSurface.h"

namespace {

constexpr std::uint32_t kBack = 0x123456;

// One character per pixel, so that expected pictures read as pictures.
std::string Picture(const CSurface& s, const std::vector<std::pair<std::uint32_t, char>>& legend)
{
    std::string text;
    for (int y = 0; y < s.Height(); ++y) {
        for (int x = 0; x < s.Width(); ++x) {
            char ch = '?';
            for (const auto& entry : legend)
                if (entry.first == s.Pixel(x, y))
                    ch = entry.second;
            text += ch;
        }
        text += '\n';
    }
    return text;
}

std::string Rows(std::initializer_list<const char*> rows)
{
    std::string text;
    for (const char* row : rows)
        text += std::string(row) + '\n';
    return text;
}

const std::vector<std::pair<std::uint32_t, char>> kEdgeLegend = {
    {kBack, '.'},
    {COLOR_3DHILIGHT_RGB, 'H'},
    {COLOR_3DLIGHT_RGB, 'L'},
    {COLOR_3DSHADOW_RGB, 'S'},
    {COLOR_3DDKSHADOW_RGB, 'D'},
    {0xFF0000, '#'},
};

int CountColour(const CSurface& s, std::uint32_t colour)
{
    int n = 0;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            n += s.Pixel(x, y) == colour;
    return n;
}

TEST(DcFillRect, FillsExclusiveOfRightAndBottomAfterTheOrigin)
{
    CSurface s(8, 6, kBack);
    CDC dc(s);
    dc.SetViewportOrg(2, 1);
    dc.FillRect(CRect{-1, 0, 3, 2}, 0xFF0000);
    EXPECT_EQ(Picture(s, kEdgeLegend), Rows({
                                           "........",
                                           ".####...",
                                           ".####...",
                                           "........",
                                           "........",
                                           "........",
                                       }));
    EXPECT_EQ(dc.Touched(), (CRect{1, 1, 5, 3}));
}

TEST(DcFillRect, EmptyOrInvertedRectanglesFillNothing)
{
    const CRect cases[] = {{2, 2, 2, 5}, {2, 2, 5, 2}, {5, 2, 2, 5}, {2, 5, 5, 2}};
    for (const CRect& rc : cases) {
        CSurface s(8, 8, kBack);
        CDC dc(s);
        dc.FillRect(rc, 0xFF0000);
        EXPECT_EQ(CountColour(s, kBack), 64) << rc.left << ',' << rc.top << ',' << rc.right << ','
                                             << rc.bottom;
        EXPECT_FALSE(dc.HasTouched());
    }
}

struct CEdgeCase {
    const char* name;
    unsigned edge;
    std::string picture;
};

TEST(DcDrawEdge, RingsTakeTheSystemShadesAndBottomRightOwnsTheCorners)
{
    const CEdgeCase cases[] = {
        {"sunken", EDGE_SUNKEN,
         Rows({"SSSSSSSH", "SDDDDDLH", "SD....LH", "SD....LH", "SLLLLLLH", "HHHHHHHH"})},
        {"raised outer", BDR_RAISEDOUTER,
         Rows({"LLLLLLLD", "L......D", "L......D", "L......D", "L......D", "DDDDDDDD"})},
        {"raised", EDGE_RAISED,
         Rows({"LLLLLLLD", "LHHHHHSD", "LH....SD", "LH....SD", "LSSSSSSD", "DDDDDDDD"})},
    };
    for (const CEdgeCase& c : cases) {
        CSurface s(8, 6, kBack);
        CDC dc(s);
        dc.DrawEdge(CRect{0, 0, 8, 6}, c.edge, BF_RECT);
        EXPECT_EQ(Picture(s, kEdgeLegend), c.picture) << c.name;
    }
}

TEST(DcDrawEdge, DrawsOnlyTheSidesAskedFor)
{
    CSurface s(6, 4, kBack);
    CDC dc(s);
    dc.DrawEdge(CRect{0, 0, 6, 4}, BDR_SUNKENOUTER, BF_TOP | BF_RIGHT);
    EXPECT_EQ(Picture(s, kEdgeLegend), Rows({"SSSSSH", ".....H", ".....H", ".....H"}));
}

struct CRopCase {
    std::uint32_t rop;
    std::uint32_t dst, src, expected;
};

TEST(DcBitBlt, CombinesEachRgbValue)
{
    const CRopCase cases[] = {
        {SRCCOPY, 0x123456, 0xABCDEF, 0xABCDEF},
        {SRCAND, 0xF0F0F0, 0x3C5A0F, 0x305000},
        {SRCAND, 0x808080, 0xFFFFFF, 0x808080},
        {SRCAND, 0x808080, 0x000000, 0x000000},
        {SRCINVERT, 0xF0F0F0, 0x3C5A0F, 0xCCAAFF},
        {SRCINVERT, 0x000000, 0x0040BF, 0x0040BF},
        {SRCINVERT, 0x808080, 0x000000, 0x808080},
    };
    for (const CRopCase& c : cases) {
        CSurface dst(3, 3, kBack);
        dst.SetPixel(1, 1, c.dst);
        const CSurface src(1, 1, c.src);
        CDC dc(dst);
        EXPECT_TRUE(dc.BitBlt(1, 1, 1, 1, src, 0, 0, c.rop));
        EXPECT_EQ(dst.Pixel(1, 1), c.expected) << std::hex << c.rop << ' ' << c.dst << ' ' << c.src;
        EXPECT_EQ(CountColour(dst, kBack), 8);
    }
}

TEST(DcBitBlt, UnknownOperationChangesNothing)
{
    CSurface dst(2, 2, kBack);
    const CSurface src(2, 2, 0xFFFFFF);
    CDC dc(dst);
    EXPECT_FALSE(dc.BitBlt(0, 0, 2, 2, src, 0, 0, 0x00EE0086));
    EXPECT_EQ(CountColour(dst, kBack), 4);
}

// A row of distinct pixels, so every moved pixel shows where it came from.
CSurface Ramp(int width, int height)
{
    CSurface s(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            s.SetPixel(x, y, static_cast<std::uint32_t>(y * 16 + x + 1));
    return s;
}

struct COverlapCase {
    const char* name;
    int dx, dy, sx, sy, w, h;
};

TEST(DcBitBlt, OverlappingCopyInOneSurfaceReadsTheWholeSourceFirst)
{
    const COverlapCase cases[] = {
        {"left", 0, 0, 2, 0, 6, 1},     {"right", 2, 0, 0, 0, 6, 1},
        {"down right", 1, 1, 0, 0, 5, 3}, {"up left", 0, 0, 1, 1, 5, 3},
    };
    for (const COverlapCase& c : cases) {
        CSurface s = Ramp(8, 4);
        const CSurface before = s;
        CDC dc(s);
        EXPECT_TRUE(dc.BitBlt(c.dx, c.dy, c.w, c.h, dc, c.sx, c.sy, SRCCOPY));
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 8; ++x) {
                const bool moved = x >= c.dx && x < c.dx + c.w && y >= c.dy && y < c.dy + c.h;
                const std::uint32_t expected =
                    moved ? before.Pixel(x - c.dx + c.sx, y - c.dy + c.sy) : before.Pixel(x, y);
                ASSERT_EQ(s.Pixel(x, y), expected) << c.name << " at " << x << ',' << y;
            }
        }
    }
}

TEST(DcBitBlt, ContextSourceIsAddressedInItsOwnLogicalCoordinates)
{
    CSurface s = Ramp(8, 4);
    const CSurface before = s;
    CDC src(s);
    src.SetViewportOrg(4, 2);
    CSurface dst(4, 4, kBack);
    CDC dc(dst);
    dc.SetViewportOrg(1, 1);
    EXPECT_TRUE(dc.BitBlt(0, 0, 2, 2, src, -1, -1, SRCCOPY));
    EXPECT_EQ(dst.Pixel(1, 1), before.Pixel(3, 1));
    EXPECT_EQ(dst.Pixel(2, 2), before.Pixel(4, 2));
    EXPECT_EQ(CountColour(dst, kBack), 12);
}

TEST(DcBitBlt, PixelsWhoseSourceLiesOutsideTheSourceStayAsTheyWere)
{
    CSurface dst(4, 1, kBack);
    const CSurface src(2, 1, 0xFFFFFF);
    CDC dc(dst);
    EXPECT_TRUE(dc.BitBlt(0, 0, 4, 1, src, -1, 0, SRCCOPY));
    EXPECT_EQ(Picture(dst, {{kBack, '.'}, {0xFFFFFF, 'W'}}), ".WW.\n");
    EXPECT_EQ(dc.Touched(), (CRect{1, 0, 3, 1}));
}

struct CLineCase {
    const char* name;
    int x0, y0, x1, y1;
    std::string picture;
};

TEST(DcLineTo, DrawsUpToButNotIncludingTheEndPoint)
{
    const CLineCase cases[] = {
        {"right", 1, 1, 5, 1, Rows({"......", ".####.", "......", "......"})},
        {"left", 5, 2, 1, 2, Rows({"......", "......", "..####", "......"})},
        {"down", 0, 0, 0, 3, Rows({"#.....", "#.....", "#.....", "......"})},
        {"up", 5, 3, 5, 0, Rows({"......", ".....#", ".....#", ".....#"})},
        {"shallow", 0, 0, 4, 2, Rows({"#.....", ".##...", "...#..", "......"})},
        {"steep", 0, 0, 1, 3, Rows({"#.....", "#.....", ".#....", "......"})},
        {"point", 2, 2, 2, 2, Rows({"......", "......", "......", "......"})},
    };
    for (const CLineCase& c : cases) {
        CSurface s(6, 4, kBack);
        CDC dc(s);
        EXPECT_EQ(dc.SelectPen(0xFF0000), 0u);
        dc.MoveTo(c.x0, c.y0);
        dc.LineTo(c.x1, c.y1);
        EXPECT_EQ(Picture(s, kEdgeLegend), c.picture) << c.name;
    }
}

TEST(DcLineTo, ContinuesFromTheLastEndPointAfterTheOrigin)
{
    CSurface s(6, 4, kBack);
    CDC dc(s);
    dc.SetViewportOrg(1, 1);
    dc.SelectPen(0xFF0000);
    dc.MoveTo(0, 0);
    dc.LineTo(3, 0);
    dc.LineTo(3, 2);
    EXPECT_EQ(Picture(s, kEdgeLegend), Rows({"......", ".####.", "....#.", "......"}));
    EXPECT_EQ(dc.Touched(), (CRect{1, 1, 5, 3}));
}

// Every operation with coordinates at the ends of their range: each draws
// its visible part or nothing, never beyond the surface (the sanitizer
// builds catch a stray write) and never through a wrapped sum.
struct CExtremeCase {
    const char* name;
    void (*draw)(CDC&);
    int changed;  // pixels of the 8 x 5 surface that lose the background
};

struct CFocusCase {
    const char* name;
    CRect rc;
    std::string picture;
};

TEST(DcDrawFocusRect, XorsEveryOtherBorderPixelOnceAndASecondFrameTakesItOff)
{
    // kBack ^ 0x808080 shows as '#'; the dots sit where surface x + y is
    // even, after the origin (1, 0).
    const CFocusCase cases[] = {
        {"frame", {0, 1, 5, 5}, Rows({"......", ".#.#.#", "......", ".#...#", "..#.#."})},
        {"row", {0, 1, 5, 2}, Rows({"......", ".#.#.#", "......", "......", "......"})},
        {"column", {1, 0, 2, 5}, Rows({"..#...", "......", "..#...", "......", "..#..."})},
        {"clipped", {2, -3, 9, 2}, Rows({"......", "...#.#", "......", "......", "......"})},
        {"empty", {2, 2, 2, 4}, Rows({"......", "......", "......", "......", "......"})},
    };
    for (const CFocusCase& c : cases) {
        CSurface s(6, 5, kBack);
        CDC dc(s);
        dc.SetViewportOrg(1, 0);
        dc.DrawFocusRect(c.rc, 0x808080);
        EXPECT_EQ(Picture(s, {{kBack, '.'}, {kBack ^ 0x808080, '#'}}), c.picture) << c.name;
        dc.DrawFocusRect(c.rc, 0x808080);
        EXPECT_EQ(CountColour(s, kBack), 30) << c.name;
    }
}

TEST(DcClipping, ExtremeCoordinatesDrawOnlyTheirVisiblePart)
{
    const CExtremeCase cases[] = {
        {"fill everything",
         [](CDC& dc) { dc.FillRect(CRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 0xFF0000); }, 40},
        {"fill far left",
         [](CDC& dc) { dc.FillRect(CRect{INT_MIN, 0, INT_MIN + 3, 3}, 0xFF0000); }, 0},
        {"origin plus left would wrap to zero",
         [](CDC& dc) {
             dc.SetViewportOrg(INT_MIN, 0);
             dc.FillRect(CRect{INT_MIN, 0, INT_MIN + 3, 3}, 0xFF0000);
         },
         0},
        {"origin far right",
         [](CDC& dc) {
             dc.SetViewportOrg(INT_MAX, INT_MAX);
             dc.FillRect(CRect{0, 0, 5, 5}, 0xFF0000);
         },
         0},
        {"edge around everything",
         [](CDC& dc) { dc.DrawEdge(CRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, EDGE_SUNKEN, BF_RECT); },
         0},
        {"edge of an inverted rectangle",
         [](CDC& dc) { dc.DrawEdge(CRect{INT_MAX, INT_MAX, INT_MIN, INT_MIN}, EDGE_SUNKEN, BF_RECT); },
         0},
        {"edge whose inner ring reaches the surface",
         [](CDC& dc) {
             dc.SetViewportOrg(INT_MAX, INT_MAX);
             dc.DrawEdge(CRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, EDGE_SUNKEN, BF_RECT);
         },
         12},
        {"row across the whole range",
         [](CDC& dc) {
             dc.SelectPen(0xFF0000);
             dc.MoveTo(INT_MIN, 2);
             dc.LineTo(INT_MAX, 2);
         },
         8},
        {"column pushed out by the origin",
         [](CDC& dc) {
             dc.SelectPen(0xFF0000);
             dc.SetViewportOrg(INT_MIN, INT_MIN);
             dc.MoveTo(INT_MIN, INT_MIN);
             dc.LineTo(INT_MIN, INT_MAX);
         },
         0},
        {"steep line far outside",
         [](CDC& dc) {
             dc.SelectPen(0xFF0000);
             dc.MoveTo(INT_MAX, INT_MIN);
             dc.LineTo(INT_MAX - 3, INT_MAX);
         },
         0},
        {"copy of huge extent",
         [](CDC& dc) {
             const CSurface src(3, 3, 0xFF0000);
             dc.BitBlt(INT_MIN, INT_MIN, INT_MAX, INT_MAX, src, INT_MIN, INT_MIN, SRCCOPY);
             dc.BitBlt(0, 0, INT_MAX, INT_MAX, src, 0, 0, SRCCOPY);
         },
         9},
        {"negative extents",
         [](CDC& dc) {
             const CSurface src(3, 3, 0xFF0000);
             dc.BitBlt(2, 2, -2, -2, src, 0, 0, SRCCOPY);
             dc.BitBlt(2, 2, INT_MIN, 2, src, 0, 0, SRCAND);
         },
         0},
        {"copy within itself from far away",
         [](CDC& dc) {
             dc.FillRect(CRect{0, 0, 1, 1}, 0xFF0000);
             dc.BitBlt(INT_MAX, INT_MAX, INT_MAX, INT_MAX, dc, INT_MIN, INT_MIN, SRCCOPY);
             dc.BitBlt(1, 0, 3, 3, dc, INT_MAX, INT_MAX, SRCINVERT);
         },
         1},
    };
    for (const CExtremeCase& c : cases) {
        CSurface s(8, 5, kBack);
        CDC dc(s);
        c.draw(dc);
        EXPECT_EQ(40 - CountColour(s, kBack), c.changed) << c.name;
    }
}

TEST(DcClipping, DiagonalFromFarAwayStaysOnItsExactLine)
{
    CSurface s(5, 5, kBack);
    CDC dc(s);
    dc.SelectPen(0xFF0000);
    dc.MoveTo(INT_MIN, INT_MIN);
    dc.LineTo(INT_MAX, INT_MAX);
    EXPECT_EQ(Picture(s, kEdgeLegend), Rows({"#....", ".#...", "..#..", "...#.", "....#"}));
}

TEST(DcInflateRect, ShrinksAndSaturatesInsteadOfWrapping)
{
    CRect rc{0, 0, 89, 33};
    InflateRect(rc, -2, -2);
    EXPECT_EQ(rc, (CRect{2, 2, 87, 31}));
    CRect huge{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    InflateRect(huge, 1, 1);
    EXPECT_EQ(huge, (CRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}));
}

TEST(SurfacePpm, WritesBinaryRgbRowsTopFirst)
{
    CSurface s(2, 2, 0);
    s.SetPixel(0, 0, 0x010203);
    s.SetPixel(1, 0, 0xFFFEFD);
    s.SetPixel(0, 1, 0x808080);
    std::ostringstream out;
    s.WritePpm(out);
    const std::string expected = std::string("P6\n2 2\n255\n") +
                                 std::string("\x01\x02\x03\xFF\xFE\xFD\x80\x80\x80\x00\x00\x00", 12);
    EXPECT_EQ(out.str(), expected);
}

TEST(SurfacePpm, ReportsAFileThatCannotBeWritten)
{
    const CSurface s(1, 1, 0);
    EXPECT_FALSE(s.WritePpm(std::string(::testing::TempDir()) + "no-such-dir/x.ppm"));
    const std::string path = std::string(::testing::TempDir()) + "orvo-surface.ppm";
    EXPECT_TRUE(s.WritePpm(path));
    std::remove(path.c_str());
}

}  // namespace
