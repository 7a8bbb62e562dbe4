// SPDX-License-Identifier: MIT
#include "CSoundPlayer.h"
#include "CWaveFile.h"
#include "WaveBytes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// 25 ms of sound: with a 20 ms margin its deadline is 45 ms away.
CWaveFile ShortWave()
{
    const auto bytes = MakeWave(1, 8, 11025, 276);
    CWaveFile wave;
    EXPECT_TRUE(wave.Parse(bytes.data(), bytes.size())) << wave.GetError();
    return wave;
}

constexpr unsigned kMarginMs = 20;

// A stand-in device that counts its sounds and, while held, hangs in them
// until released. Shared with the device function, which may outlive the
// test's player.
struct SDevice {
    bool Play(const CWaveFile& wave)
    {
        std::unique_lock<std::mutex> lock(mutex);
        ++nCalls;
        nLastFrames = wave.GetFrameCount();
        ++nInside;
        changed.notify_all();
        changed.wait(lock, [this] { return !bHeld; });
        --nInside;
        changed.notify_all();
        return bResult;
    }
    void Hold()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        bHeld = true;
    }
    void Release()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        bHeld = false;
        changed.notify_all();
    }
    void WaitUntilIdle()
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [this] { return nInside == 0; });
    }
    int Calls()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return nCalls;
    }

    std::mutex mutex;
    std::condition_variable changed;
    bool bHeld = false;
    bool bResult = true;
    int nCalls = 0;
    int nInside = 0;
    std::size_t nLastFrames = 0;
};

CSoundPlayer::Device DeviceOf(const std::shared_ptr<SDevice>& pDevice)
{
    return [pDevice](const CWaveFile& wave) { return pDevice->Play(wave); };
}

}  // namespace

// The device's answer is the player's, and a device that refuses a sound is
// tried again at the next one: only a hang gives it up.
TEST(SoundPlayerTest, ReturnsWhatTheDeviceSays)
{
    const CWaveFile wave = ShortWave();
    for (const bool bResult : {true, false}) {
        SCOPED_TRACE(bResult);
        auto pDevice = std::make_shared<SDevice>();
        pDevice->bResult = bResult;
        CSoundPlayer player(DeviceOf(pDevice), kMarginMs);
        EXPECT_EQ(player.Play(wave), bResult);
        EXPECT_EQ(player.Play(wave), bResult);
        EXPECT_EQ(pDevice->Calls(), 2);
        EXPECT_EQ(pDevice->nLastFrames, wave.GetFrameCount());
        EXPECT_FALSE(player.IsGivenUp());
    }
}

TEST(SoundPlayerTest, AnUnparsedWaveNeverReachesTheDevice)
{
    auto pDevice = std::make_shared<SDevice>();
    CSoundPlayer player(DeviceOf(pDevice), kMarginMs);
    EXPECT_FALSE(player.Play(CWaveFile()));
    EXPECT_EQ(pDevice->Calls(), 0);
    EXPECT_FALSE(player.IsGivenUp());
}

// A hang costs one deadline; then the device is given up without being
// tried, and switching the sound on again helps only once the hung sound
// has let go.
TEST(SoundPlayerTest, AHangingDeviceIsGivenUpUntilResetAfterItLetsGo)
{
    const CWaveFile wave = ShortWave();
    auto pDevice = std::make_shared<SDevice>();
    CSoundPlayer player(DeviceOf(pDevice), kMarginMs);
    pDevice->Hold();

    EXPECT_FALSE(player.Play(wave));
    EXPECT_TRUE(player.IsGivenUp());
    EXPECT_FALSE(player.Play(wave));
    player.Reset();
    EXPECT_FALSE(player.Play(wave)) << "tried again while the hung sound still hangs";
    EXPECT_TRUE(player.IsGivenUp());
    EXPECT_EQ(pDevice->Calls(), 1);

    pDevice->Release();
    pDevice->WaitUntilIdle();
    EXPECT_FALSE(player.Play(wave)) << "given up until Reset";
    // The hung sound's thread notes its end just after the device returns.
    bool bPlayed = false;
    for (int i = 0; i < 100 && !bPlayed; ++i) {
        if (i > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        player.Reset();
        bPlayed = player.Play(wave);
    }
    EXPECT_TRUE(bPlayed);
    EXPECT_FALSE(player.IsGivenUp());
    EXPECT_EQ(pDevice->Calls(), 2);
}

// The hung sound keeps what it plays: the player may go first.
TEST(SoundPlayerTest, AHungSoundOutlivesItsPlayer)
{
    auto pDevice = std::make_shared<SDevice>();
    pDevice->Hold();
    {
        CSoundPlayer player(DeviceOf(pDevice), kMarginMs);
        EXPECT_FALSE(player.Play(ShortWave()));
    }
    pDevice->Release();
    pDevice->WaitUntilIdle();
    EXPECT_EQ(pDevice->Calls(), 1);
    EXPECT_EQ(pDevice->nLastFrames, 276u);
}
