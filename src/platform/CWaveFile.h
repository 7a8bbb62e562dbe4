// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A PCM sound read from the bytes of a RIFF WAVE file: 8-bit unsigned or
// 16-bit signed little-endian samples, mono or stereo. Parse checks every
// field it relies on and never reads outside the given bytes, so a damaged
// file is refused with a readable reason instead of being played as noise.
class CWaveFile {
public:
    // Checks the file and keeps a copy of its samples. On failure the object
    // holds no sound and GetError says what is wrong.
    bool Parse(const void* pData, std::size_t nSize);

    bool IsValid() const { return m_bValid; }
    const std::string& GetError() const { return m_strError; }

    unsigned GetChannels() const { return m_nChannels; }
    std::uint32_t GetSampleRate() const { return m_nSampleRate; }
    unsigned GetBitsPerSample() const { return m_nBitsPerSample; }
    // Bytes of one sample frame (all channels).
    unsigned GetBlockAlign() const { return m_nBlockAlign; }

    // The interleaved samples exactly as stored in the file.
    const std::uint8_t* GetSamples() const { return m_aSamples.data(); }
    std::size_t GetSampleBytes() const { return m_aSamples.size(); }
    std::size_t GetFrameCount() const;

private:
    struct SChunk {
        const std::uint8_t* pBody = nullptr;
        std::uint32_t nSize = 0;
    };

    void Reset();
    bool Fail(std::string strError);
    bool CheckRiffHeader(const std::uint8_t* pBytes, std::size_t nSize, std::size_t& nRiffEnd);
    bool FindChunks(const std::uint8_t* pBytes, std::size_t nRiffEnd, SChunk& fmt, SChunk& data);
    bool ReadFormat(const SChunk& fmt);
    bool ReadSamples(const SChunk& data);

    bool m_bValid = false;
    std::string m_strError = "no file parsed";
    unsigned m_nChannels = 0;
    std::uint32_t m_nSampleRate = 0;
    unsigned m_nBitsPerSample = 0;
    unsigned m_nBlockAlign = 0;
    std::vector<std::uint8_t> m_aSamples;
};
