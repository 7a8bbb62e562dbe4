// SPDX-License-Identifier: MIT
#include "CBitmap.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kUncompressed = 0;

std::uint32_t ReadU16(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}

std::uint32_t ReadU32(const std::uint8_t* p)
{
    return ReadU16(p) | ReadU16(p + 2) << 16;
}

std::int32_t ReadI32(const std::uint8_t* p)
{
    return static_cast<std::int32_t>(ReadU32(p));
}

struct CBmpLayout {
    long long width;
    long long height;     // rows, always positive
    bool topDown;
    std::uint64_t offset; // first stored row
    std::uint64_t stride; // bytes per stored row, padded to four
};

// Checks the headers and that every pixel byte lies within size.
bool ReadLayout(const std::uint8_t* data, std::size_t size, CBmpLayout& layout)
{
    if (!data || size < kFileHeaderSize + kInfoHeaderSize || data[0] != 'B' || data[1] != 'M')
        return false;
    const std::uint8_t* info = data + kFileHeaderSize;
    const std::uint32_t infoSize = ReadU32(info);
    if (infoSize < kInfoHeaderSize || infoSize > size - kFileHeaderSize)
        return false;
    const long long width = ReadI32(info + 4);
    const long long height = ReadI32(info + 8);
    if (ReadU16(info + 12) != 1 || ReadU16(info + 14) != 24 || ReadU32(info + 16) != kUncompressed)
        return false;
    const long long rows = height < 0 ? -height : height;
    if (width < 1 || width > CBitmap::kMaxSide || rows < 1 || rows > CBitmap::kMaxSide)
        return false;

    layout.width = width;
    layout.height = rows;
    layout.topDown = height < 0;
    layout.offset = ReadU32(data + 10);
    layout.stride = (static_cast<std::uint64_t>(width) * 3 + 3) & ~std::uint64_t(3);
    if (layout.offset < kFileHeaderSize + infoSize)
        return false;
    // The last row's padding may be missing; its pixels may not.
    const std::uint64_t end = layout.offset + layout.stride * static_cast<std::uint64_t>(rows - 1) +
                              static_cast<std::uint64_t>(width) * 3;
    return end <= size;
}

}  // namespace

bool CBitmap::Decode(const std::uint8_t* data, std::size_t size)
{
    CBmpLayout layout{};
    if (!ReadLayout(data, size, layout))
        return false;
    const int width = static_cast<int>(layout.width);
    const int height = static_cast<int>(layout.height);
    CSurface surface(width, height);
    for (int y = 0; y < height; ++y) {
        const int stored = layout.topDown ? y : height - 1 - y;
        const std::uint8_t* p = data + layout.offset + layout.stride * static_cast<std::uint64_t>(stored);
        for (int x = 0; x < width; ++x, p += 3) {
            // Stored blue, green, red.
            surface.SetPixel(x, y, static_cast<std::uint32_t>(p[2]) << 16 |
                                       static_cast<std::uint32_t>(p[1]) << 8 | p[0]);
        }
    }
    m_surface = std::move(surface);
    return true;
}
