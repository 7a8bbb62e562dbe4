// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

// A canonical PCM WAV file in memory: RIFF, a 16-byte fmt chunk and nFrames
// frames of a quiet saw tooth.
inline std::vector<std::uint8_t> MakeWave(unsigned nChannels, unsigned nBits, std::uint32_t nRate,
                                          std::uint32_t nFrames)
{
    const std::uint32_t nBlock = nChannels * nBits / 8;
    const std::uint32_t nData = nFrames * nBlock;
    std::vector<std::uint8_t> bytes;
    auto put = [&](std::uint32_t value, int nWidth) {
        for (int i = 0; i < nWidth; ++i)
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    auto putId = [&](const char* id) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<std::uint8_t>(id[i]));
    };
    putId("RIFF");
    put(4 + 24 + 8 + nData + (nData & 1), 4);
    putId("WAVE");
    putId("fmt ");
    put(16, 4);
    put(1, 2);
    put(nChannels, 2);
    put(nRate, 4);
    put(nRate * nBlock, 4);
    put(nBlock, 2);
    put(nBits, 2);
    putId("data");
    put(nData, 4);
    for (std::uint32_t i = 0; i < nData; ++i)
        bytes.push_back(static_cast<std::uint8_t>(128 + (i % 16) * 4));
    if (nData & 1)
        bytes.push_back(0);
    return bytes;
}
