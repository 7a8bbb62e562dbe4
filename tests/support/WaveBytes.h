// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

#include "ByteOrder.h"

// A canonical PCM WAV file in memory: RIFF, a 16-byte fmt chunk and nFrames
// frames of a quiet saw tooth.
inline std::vector<std::uint8_t> MakeWave(unsigned nChannels, unsigned nBits, std::uint32_t nRate,
                                          std::uint32_t nFrames)
{
    const std::uint32_t nBlock = nChannels * nBits / 8;
    const std::uint32_t nData = nFrames * nBlock;
    std::vector<std::uint8_t> bytes;
    PutId(bytes, "RIFF");
    PutLe32(bytes, 4 + 24 + 8 + nData + (nData & 1));
    PutId(bytes, "WAVE");
    PutId(bytes, "fmt ");
    PutLe32(bytes, 16);
    PutLe16(bytes, 1);
    PutLe16(bytes, nChannels);
    PutLe32(bytes, nRate);
    PutLe32(bytes, nRate * nBlock);
    PutLe16(bytes, nBlock);
    PutLe16(bytes, nBits);
    PutId(bytes, "data");
    PutLe32(bytes, nData);
    for (std::uint32_t i = 0; i < nData; ++i)
        bytes.push_back(static_cast<std::uint8_t>(128 + (i % 16) * 4));
    if (nData & 1)
        bytes.push_back(0);
    return bytes;
}
