// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

// Reading numbers out of the file formats the tests look inside, and
// writing the ones they build: WAV and BMP store them little-endian, PNG
// big-endian.
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

inline void PutLe16(std::vector<std::uint8_t>& bytes, unsigned value)
{
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void PutLe32(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A chunk's four-character id, as RIFF files spell them. Byte by byte: GCC
// at -O3 takes a four-byte insert for an overflow.
inline void PutId(std::vector<std::uint8_t>& bytes, const char* id)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(id[i]));
}
