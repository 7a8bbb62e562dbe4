// SPDX-License-Identifier: MIT
// ALSA's library comes into the process with the first sound, not before:
// a game with the sound off never maps it. A program of its own, so that
// no other test has played a sound first.
#include "CAlsaLibrary.h"
#include "CAlsaPlayer.h"
#include "CWaveFile.h"
#include "WaveBytes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

bool IsMapped(const std::string& strLibrary)
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
        if (line.find(strLibrary) != std::string::npos)
            return true;
    return false;
}

}  // namespace

TEST(AlsaLibraryTest, IsMappedByTheFirstSoundPlayedAndNotBefore)
{
    ASSERT_FALSE(IsMapped("libasound.so")) << "linked at start";
    CAlsaPlayer player("null");
    CWaveFile unparsed;
    EXPECT_FALSE(player.Play(unparsed));
    EXPECT_FALSE(IsMapped("libasound.so")) << "loaded for a wave that cannot play";

    const std::vector<std::uint8_t> bytes = MakeWave(1, 8, 8000, 400);
    CWaveFile wave;
    ASSERT_TRUE(wave.Parse(bytes.data(), bytes.size())) << wave.GetError();
    EXPECT_TRUE(player.Play(wave));
    EXPECT_TRUE(IsMapped("libasound.so"));
    EXPECT_NE(CAlsaLibrary::Shared(), nullptr);
}

TEST(AlsaLibraryTest, ALibraryThatCannotBeLoadedMeansNoSoundAndSaysWhy)
{
    testing::internal::CaptureStderr();
    const CAlsaLibrary missing("liborvo-no-such-library.so.2");
    const std::string strErr = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(missing.IsLoaded());
    EXPECT_EQ(strErr.rfind("orvo: no sound: ", 0), 0u) << strErr;
    EXPECT_NE(strErr.find("liborvo-no-such-library.so.2"), std::string::npos) << strErr;
    EXPECT_EQ(strErr.back(), '\n');
    EXPECT_EQ(strErr.find('\n'), strErr.size() - 1) << "more than one line: " << strErr;
}

TEST(AlsaLibraryTest, ALibraryWithoutThePcmFunctionsIsNotTaken)
{
    // The C library loads, but plays nothing.
    testing::internal::CaptureStderr();
    const CAlsaLibrary wrong("libc.so.6");
    const std::string strErr = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(wrong.IsLoaded());
    EXPECT_EQ(strErr, "orvo: no sound: libc.so.6 has no snd_pcm_open\n");
}
