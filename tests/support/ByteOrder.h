// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// Reading numbers out of the file formats the tests look inside: WAV and
// BMP store them little-endian, PNG big-endian.
inline std::uint16_t Le16(const unsigned char* p)
{
    return std::uint16_t(p[0] | (p[1] << 8));
}

inline std::uint32_t Le32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
}

inline std::uint32_t Be32(const unsigned char* p)
{
    return (std::uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}
