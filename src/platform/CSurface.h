// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

// A rectangle of RGB pixels: the client area the panels draw on, or a
// decoded bitmap used as a drawing source. Colours go in and out as
// 0xRRGGBB; in memory every pixel carries 0xFF in its top byte, so that a
// window can show Bits() as 32-bit opaque RGB without converting.
class CSurface {
public:
    CSurface() = default;
    CSurface(int width, int height, std::uint32_t colour = 0);

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    bool IsEmpty() const { return m_pixels.empty(); }
    bool Contains(long long x, long long y) const
    {
        return x >= 0 && y >= 0 && x < m_nWidth && y < m_nHeight;
    }

    // (x, y) must lie inside the surface.
    std::uint32_t Pixel(int x, int y) const;
    void SetPixel(int x, int y, std::uint32_t colour);
    void Fill(std::uint32_t colour);

    // Row-major, Width() words per row, no padding, 0xFFRRGGBB.
    const std::uint32_t* Bits() const { return m_pixels.data(); }
    std::uint32_t* Bits() { return m_pixels.data(); }

    // Binary PPM (P6, maxval 255): a picture any image tool opens.
    void WritePpm(std::ostream& out) const;
    bool WritePpm(const std::string& path) const;

    bool operator==(const CSurface& other) const;
    bool operator!=(const CSurface& other) const { return !(*this == other); }

    static constexpr std::uint32_t kOpaque = 0xFF000000u;
    static constexpr std::uint32_t kRgbMask = 0x00FFFFFFu;

private:
    std::size_t Index(int x, int y) const;

    int m_nWidth = 0;
    int m_nHeight = 0;
    std::vector<std::uint32_t> m_pixels;
};
