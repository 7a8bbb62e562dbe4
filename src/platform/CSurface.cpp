// SPDX-License-Identifier: MIT
#include "CSurface.h"

#include <cassert>
#include <fstream>
#include <ostream>

CSurface::CSurface(int width, int height, std::uint32_t colour)
{
    assert(width >= 0 && height >= 0);
    if (width <= 0 || height <= 0)
        return;
    m_nWidth = width;
    m_nHeight = height;
    m_pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                    (colour & kRgbMask) | kOpaque);
}

std::size_t CSurface::Index(int x, int y) const
{
    assert(Contains(x, y));
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(m_nWidth) +
           static_cast<std::size_t>(x);
}

std::uint32_t CSurface::Pixel(int x, int y) const
{
    return m_pixels[Index(x, y)] & kRgbMask;
}

void CSurface::SetPixel(int x, int y, std::uint32_t colour)
{
    m_pixels[Index(x, y)] = (colour & kRgbMask) | kOpaque;
}

void CSurface::Fill(std::uint32_t colour)
{
    m_pixels.assign(m_pixels.size(), (colour & kRgbMask) | kOpaque);
}

void CSurface::WritePpm(std::ostream& out) const
{
    out << "P6\n" << m_nWidth << ' ' << m_nHeight << "\n255\n";
    std::vector<char> row(static_cast<std::size_t>(m_nWidth) * 3);
    for (int y = 0; y < m_nHeight; ++y) {
        for (int x = 0; x < m_nWidth; ++x) {
            const std::uint32_t c = Pixel(x, y);
            row[3 * x] = static_cast<char>(c >> 16);
            row[3 * x + 1] = static_cast<char>(c >> 8);
            row[3 * x + 2] = static_cast<char>(c);
        }
        out.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
}

bool CSurface::WritePpm(const std::string& path) const
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    WritePpm(file);
    file.flush();
    return static_cast<bool>(file);
}

bool CSurface::operator==(const CSurface& other) const
{
    return m_nWidth == other.m_nWidth && m_nHeight == other.m_nHeight &&
           m_pixels == other.m_pixels;
}
