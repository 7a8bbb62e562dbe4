// SPDX-License-Identifier: MIT
#include "CWaveOutPlayer.h"
#include "CWaveFile.h"
#include "WaveBytes.h"

#include <gtest/gtest.h>

#include <cstdio>

// Whether or not the system has a sound device, each of the game's sample
// formats comes back from waveOut before its deadline: played, or refused
// at once. A device function that waited for a buffer the device never
// finishes would be given up here.
TEST(WaveOutPlayerTest, EachFormatEndsBeforeItsDeadline)
{
    struct SCase {
        unsigned nChannels, nBits;
        std::uint32_t nRate, nFrames;
    };
    CWaveOutPlayer player;
    for (const SCase& c : {SCase{1, 8, 11025, 441}, SCase{2, 16, 44100, 4410}}) {
        SCOPED_TRACE(c.nBits);
        const auto bytes = MakeWave(c.nChannels, c.nBits, c.nRate, c.nFrames);
        CWaveFile wave;
        ASSERT_TRUE(wave.Parse(bytes.data(), bytes.size())) << wave.GetError();
        const bool bPlayed = player.Play(wave);
        EXPECT_FALSE(player.IsGivenUp());
        std::printf("%u-bit sound %s\n", c.nBits, bPlayed ? "played" : "refused: no device");
    }
}
