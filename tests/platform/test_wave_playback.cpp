#include "CAlsaPlayer.h"
#include "CWaveFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> MakeWave(unsigned nChannels, unsigned nBits, std::uint32_t nRate,
                                   std::uint32_t nFrames)
{
    const std::uint32_t nBlock = nChannels * nBits / 8;
    const std::uint32_t nData = nFrames * nBlock;
    std::vector<std::uint8_t> bytes;
    auto put = [&](std::uint32_t value, int nWidth) {
        for (int i = 0; i < nWidth; ++i)
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    auto putId = [&](const char* id) { bytes.insert(bytes.end(), id, id + 4); };
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

CWaveFile ParseWave(const std::vector<std::uint8_t>& bytes)
{
    CWaveFile wave;
    EXPECT_TRUE(wave.Parse(bytes.data(), bytes.size())) << wave.GetError();
    return wave;
}

}  // namespace

// No sound card is needed: a device that is not there must cost nothing and
// leave the console clean, however often the game tries it.
TEST(WavePlaybackTest, MissingDeviceFailsQuietly)
{
    const CWaveFile wave = ParseWave(MakeWave(1, 8, 11025, 276));
    for (const char* pszDevice : {"orvo_no_such_device", "hw:31,0"}) {
        SCOPED_TRACE(pszDevice);
        const CAlsaPlayer player(pszDevice);
        testing::internal::CaptureStderr();
        const bool bFirst = player.Play(wave);
        const bool bAgain = player.Play(wave);
        const std::string strErr = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(bFirst);
        EXPECT_FALSE(bAgain);
        EXPECT_EQ(strErr, "");
    }
}

// ALSA's null device takes samples like a card but needs none, so the whole
// open / configure / write / drain path runs for each sample format.
TEST(WavePlaybackTest, PlaysEachFormatThroughTheNullDevice)
{
    struct SCase {
        unsigned nChannels, nBits;
        std::uint32_t nRate, nFrames;
    };
    const CAlsaPlayer player("null");
    for (const SCase& c : {SCase{1, 8, 11025, 441}, SCase{2, 16, 44100, 20000}}) {
        SCOPED_TRACE(c.nBits);
        const CWaveFile wave = ParseWave(MakeWave(c.nChannels, c.nBits, c.nRate, c.nFrames));
        testing::internal::CaptureStderr();
        const bool bPlayed = player.Play(wave);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_TRUE(bPlayed);
    }
}

TEST(WavePlaybackTest, RefusesAnUnparsedWave)
{
    const std::vector<std::uint8_t> garbage(64, 0x55);
    CWaveFile wave;
    ASSERT_FALSE(wave.Parse(garbage.data(), garbage.size()));
    EXPECT_FALSE(CAlsaPlayer("null").Play(wave));
}
