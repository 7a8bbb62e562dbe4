// SPDX-License-Identifier: MIT
// The five effects as the game ships them. Their lengths are part of the
// game's pacing, since every effect is played to its end before play goes on.
#include "ByteOrder.h"
#include "CResources.h"
#include "NamedCase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct CChunk {
    std::string strTag;
    const unsigned char* pBody;
    std::uint32_t nSize;
};

// The chunks inside RIFF/WAVE, in file order; odd-sized chunks carry a pad
// byte. Fails the test when a chunk runs past the end of the file.
std::vector<CChunk> ReadChunks(const CResourceData& wav)
{
    std::vector<CChunk> chunks;
    std::size_t pos = 12;
    while (pos + 8 <= wav.nSize) {
        const std::uint32_t size = Le32(wav.pData + pos + 4);
        if (pos + 8 + size > wav.nSize) {
            ADD_FAILURE() << "chunk at " << pos << " runs past the end";
            break;
        }
        chunks.push_back({std::string(reinterpret_cast<const char*>(wav.pData + pos), 4),
                          wav.pData + pos + 8, size});
        pos += 8 + size + (size & 1);
    }
    EXPECT_EQ(pos, wav.nSize) << "bytes left after the last chunk";
    return chunks;
}

struct CSound {
    int nId;
    const char* name;
    std::uint32_t nSamples;
    bool bInfoList;
};

const CSound kSounds[] = {
    {131, "line", 6069, false},
    {132, "place", 441, true},
    {133, "step", 276, false},
    {134, "nopath", 334, false},
    {137, "hero", 18957, false},
};

class SoundTest : public ::testing::TestWithParam<CSound> {
protected:
    void SetUp() override
    {
        const auto res = FindEmbeddedResource(CResourceType::Wave, GetParam().nId);
        ASSERT_TRUE(res) << "wave " << GetParam().nId << " is not embedded";
        m_wav = *res;
        ASSERT_GE(m_wav.nSize, 12u);
        m_chunks = ReadChunks(m_wav);
        ASSERT_GE(m_chunks.size(), 2u);
    }

    CResourceData m_wav{};
    std::vector<CChunk> m_chunks;
};

TEST_P(SoundTest, IsRiffWaveOf8BitMonoPcmAt11025Hz)
{
    EXPECT_EQ(std::memcmp(m_wav.pData, "RIFF", 4), 0);
    EXPECT_EQ(Le32(m_wav.pData + 4), m_wav.nSize - 8);
    EXPECT_EQ(std::memcmp(m_wav.pData + 8, "WAVE", 4), 0);

    const CChunk& fmt = m_chunks[0];
    ASSERT_EQ(fmt.strTag, "fmt ");
    ASSERT_EQ(fmt.nSize, 16u);
    EXPECT_EQ(Le16(fmt.pBody + 0), 1);  // PCM
    EXPECT_EQ(Le16(fmt.pBody + 2), 1);  // channels
    EXPECT_EQ(Le32(fmt.pBody + 4), 11025u);
    EXPECT_EQ(Le32(fmt.pBody + 8), 11025u);
    EXPECT_EQ(Le16(fmt.pBody + 12), 1);  // block align
    EXPECT_EQ(Le16(fmt.pBody + 14), 8);
}

TEST_P(SoundTest, HasItsSampleCountAndNoChunkButInfoAfterTheData)
{
    ASSERT_EQ(m_chunks[1].strTag, "data");
    EXPECT_EQ(m_chunks[1].nSize, GetParam().nSamples);
    if (GetParam().bInfoList) {
        ASSERT_EQ(m_chunks.size(), 3u);
        EXPECT_EQ(m_chunks[2].strTag, "LIST");
        ASSERT_GE(m_chunks[2].nSize, 4u);
        EXPECT_EQ(std::memcmp(m_chunks[2].pBody, "INFO", 4), 0);
    } else {
        EXPECT_EQ(m_chunks.size(), 2u);
    }
}

TEST_P(SoundTest, StartsAndEndsOnSilenceAndNeverClips)
{
    const CChunk& data = m_chunks[1];
    ASSERT_EQ(data.strTag, "data");
    ASSERT_GT(data.nSize, 0u);
    EXPECT_LE(std::abs(data.pBody[0] - 128), 2);
    EXPECT_LE(std::abs(data.pBody[data.nSize - 1] - 128), 2);
    const auto [lo, hi] = std::minmax_element(data.pBody, data.pBody + data.nSize);
    EXPECT_GT(*lo, 0);
    EXPECT_LT(*hi, 255);
    // Audible: a sound that is barely more than silence is a broken asset.
    EXPECT_GE(std::max(128 - *lo, *hi - 128), 32);
}

INSTANTIATE_TEST_SUITE_P(Effects, SoundTest, ::testing::ValuesIn(kSounds), CaseName());

}  // namespace
