// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "CSurface.h"

// A bitmap read from the bytes of a .bmp file: uncompressed 24-bit pixels,
// rows stored bottom-up or top-down. Used as a BitBlt source.
class CBitmap {
public:
    // Anything else (truncated, another depth, compressed, absurd sizes) is
    // refused with false and leaves the bitmap as it was.
    bool Decode(const std::uint8_t* data, std::size_t size);
    bool Decode(const std::vector<std::uint8_t>& bytes) { return Decode(bytes.data(), bytes.size()); }

    const CSurface& Surface() const { return m_surface; }
    CSurface TakeSurface() { return std::move(m_surface); }

    // Sides beyond this are not a picture this program ships.
    static constexpr std::int32_t kMaxSide = 16384;

private:
    CSurface m_surface;
};
