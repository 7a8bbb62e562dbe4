// SPDX-License-Identifier: MIT
#include "CWaveFile.h"

#include <cstring>
#include <utility>

namespace {

constexpr std::size_t RIFF_HEADER_BYTES = 12;  // "RIFF", size, "WAVE"
constexpr std::size_t CHUNK_HEADER_BYTES = 8;  // id, size
constexpr std::uint32_t PCM_FORMAT_BYTES = 16;
constexpr std::uint16_t WAVE_FORMAT_PCM = 1;

std::uint16_t ReadU16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t ReadU32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool HasId(const std::uint8_t* p, const char* id)
{
    return std::memcmp(p, id, 4) == 0;
}

// A chunk id for an error message; garbage ids must not garble the text.
std::string IdText(const std::uint8_t* p)
{
    std::string strId = "'";
    for (int i = 0; i < 4; ++i)
        strId += (p[i] >= 0x20 && p[i] < 0x7F) ? static_cast<char>(p[i]) : '?';
    return strId + "'";
}

}  // namespace

bool CWaveFile::Parse(const void* pData, std::size_t nSize)
{
    Reset();
    const auto* pBytes = static_cast<const std::uint8_t*>(pData);
    if (pBytes == nullptr)
        nSize = 0;

    std::size_t nRiffEnd = 0;
    SChunk fmt;
    SChunk data;
    if (!CheckRiffHeader(pBytes, nSize, nRiffEnd) || !FindChunks(pBytes, nRiffEnd, fmt, data) ||
        !ReadFormat(fmt) || !ReadSamples(data)) {
        std::string strError = std::move(m_strError);
        Reset();
        m_strError = std::move(strError);
        return false;
    }

    m_bValid = true;
    m_strError.clear();
    return true;
}

std::size_t CWaveFile::GetFrameCount() const
{
    return m_nBlockAlign == 0 ? 0 : m_aSamples.size() / m_nBlockAlign;
}

void CWaveFile::Reset()
{
    *this = CWaveFile();
}

bool CWaveFile::Fail(std::string strError)
{
    m_strError = std::move(strError);
    return false;
}

bool CWaveFile::CheckRiffHeader(const std::uint8_t* pBytes, std::size_t nSize,
                                std::size_t& nRiffEnd)
{
    if (nSize < RIFF_HEADER_BYTES)
        return Fail("file of " + std::to_string(nSize) + " bytes is too short for a RIFF header");
    if (!HasId(pBytes, "RIFF"))
        return Fail("not a RIFF file: it starts with " + IdText(pBytes));
    if (!HasId(pBytes + 8, "WAVE"))
        return Fail("not a WAVE file: the RIFF form is " + IdText(pBytes + 8));

    const std::uint32_t nRiffSize = ReadU32(pBytes + 4);
    if (nRiffSize < 4)
        return Fail("RIFF size " + std::to_string(nRiffSize) + " cannot hold the WAVE form");
    // Bytes after the RIFF form are ignored, but the form itself must be whole.
    if (nRiffSize > nSize - 8)
        return Fail("RIFF size " + std::to_string(nRiffSize) + " runs past the end of the " +
                    std::to_string(nSize) + "-byte file");
    nRiffEnd = 8 + static_cast<std::size_t>(nRiffSize);
    return true;
}

bool CWaveFile::FindChunks(const std::uint8_t* pBytes, std::size_t nRiffEnd, SChunk& fmt,
                           SChunk& data)
{
    std::size_t nPos = RIFF_HEADER_BYTES;
    while (nPos < nRiffEnd) {
        if (nRiffEnd - nPos < CHUNK_HEADER_BYTES)
            return Fail("incomplete chunk header at offset " + std::to_string(nPos));
        const std::uint8_t* pHeader = pBytes + nPos;
        const std::uint32_t nChunkSize = ReadU32(pHeader + 4);
        const std::size_t nBody = nPos + CHUNK_HEADER_BYTES;
        if (nChunkSize > nRiffEnd - nBody)
            return Fail("chunk " + IdText(pHeader) + " at offset " + std::to_string(nPos) +
                        " claims " + std::to_string(nChunkSize) + " bytes but only " +
                        std::to_string(nRiffEnd - nBody) + " remain");

        SChunk* pFound = HasId(pHeader, "fmt ") ? &fmt : HasId(pHeader, "data") ? &data : nullptr;
        if (pFound != nullptr) {
            if (pFound->pBody != nullptr)
                return Fail("more than one " + IdText(pHeader) + " chunk");
            pFound->pBody = pBytes + nBody;
            pFound->nSize = nChunkSize;
        }
        // Odd-sized chunks are followed by a pad byte; a writer that left out
        // the last one only makes nPos overshoot the end by one.
        nPos = nBody + nChunkSize + (nChunkSize & 1u);
    }
    if (fmt.pBody == nullptr)
        return Fail("no 'fmt ' chunk");
    if (data.pBody == nullptr)
        return Fail("no 'data' chunk");
    return true;
}

bool CWaveFile::ReadFormat(const SChunk& fmt)
{
    if (fmt.nSize < PCM_FORMAT_BYTES)
        return Fail("'fmt ' chunk of " + std::to_string(fmt.nSize) + " bytes is too short");

    const std::uint16_t nTag = ReadU16(fmt.pBody);
    const unsigned nChannels = ReadU16(fmt.pBody + 2);
    const std::uint32_t nRate = ReadU32(fmt.pBody + 4);
    const std::uint32_t nByteRate = ReadU32(fmt.pBody + 8);
    const unsigned nBlockAlign = ReadU16(fmt.pBody + 12);
    const unsigned nBits = ReadU16(fmt.pBody + 14);

    if (nTag != WAVE_FORMAT_PCM)
        return Fail("format tag " + std::to_string(nTag) + " is not PCM (1)");
    if (nChannels != 1 && nChannels != 2)
        return Fail(std::to_string(nChannels) + " channels; only 1 or 2 can be played");
    if (nRate == 0)
        return Fail("sample rate of 0");
    if (nBits != 8 && nBits != 16)
        return Fail(std::to_string(nBits) + " bits per sample; only 8 or 16 can be played");
    const unsigned nFrameBytes = nChannels * nBits / 8;
    if (nBlockAlign != nFrameBytes)
        return Fail("block align " + std::to_string(nBlockAlign) + " should be " +
                    std::to_string(nFrameBytes));
    const std::uint64_t nExpectedRate = static_cast<std::uint64_t>(nRate) * nFrameBytes;
    if (nByteRate != nExpectedRate)
        return Fail("byte rate " + std::to_string(nByteRate) + " should be " +
                    std::to_string(nExpectedRate));

    m_nChannels = nChannels;
    m_nSampleRate = nRate;
    m_nBitsPerSample = nBits;
    m_nBlockAlign = nBlockAlign;
    return true;
}

bool CWaveFile::ReadSamples(const SChunk& data)
{
    if (data.nSize % m_nBlockAlign != 0)
        return Fail("'data' chunk of " + std::to_string(data.nSize) +
                    " bytes is not a whole number of " + std::to_string(m_nBlockAlign) +
                    "-byte frames");
    m_aSamples.assign(data.pBody, data.pBody + data.nSize);
    return true;
}
