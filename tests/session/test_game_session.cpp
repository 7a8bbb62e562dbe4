// SPDX-License-Identifier: MIT
#include "CGameSession.h"
#include "CMemoryProfile.h"
#include "CSoundPlayer.h"
#include "CWaveFile.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

// What reached the sound device: the length of each wave, in frames. While
// held, the device hangs until released.
struct SHeard {
    bool Play(const CWaveFile& wave)
    {
        std::unique_lock<std::mutex> lock(mutex);
        frames.push_back(wave.GetFrameCount());
        reached.notify_all();
        released.wait(lock, [this] { return !bHeld; });
        return true;
    }
    void Release()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        bHeld = false;
        released.notify_all();
    }
    std::size_t Count()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return frames.size();
    }
    // The sound's thread may start late on a busy machine: true once n
    // sounds have reached the device.
    bool WaitForCount(std::size_t n)
    {
        std::unique_lock<std::mutex> lock(mutex);
        return reached.wait_for(lock, std::chrono::seconds(10), [&] { return frames.size() >= n; });
    }

    std::mutex mutex;
    std::condition_variable released;
    std::condition_variable reached;
    bool bHeld = false;
    std::vector<std::size_t> frames;
};

// A binding with nothing of its own but a player; its session is the one
// under test.
class CQuietSession final : public CGameOutput, public CHeroPrompt {
public:
    explicit CQuietSession(const std::shared_ptr<SHeard>& pHeard)
        : m_player([pHeard](const CWaveFile& wave) { return pHeard->Play(wave); }, 20)
    {
    }
    CSoundPlayer& Player() { return m_player; }
    CGame& Game() { return m_session.Game(); }
    void LoadSettings(CProfile& profile) { m_session.LoadSettings(profile); }
    bool SwitchSound()
    {
        CProfileError why = CProfileError::None;
        const bool bOn = m_session.SwitchSound(why);
        EXPECT_EQ(why, CProfileError::None);
        return bOn;
    }

    void DrawCell(int, int, std::uint8_t) override {}
    void Push(std::uint8_t) override {}
    void SetBallsValue(int) override {}
    void SetScoreValue(int) override {}
    void Paint() override {}
    void PlayEffect(std::uint16_t id) override { m_session.PlayEffect(id); }
    bool TryEnter(int balls, int score) override { return m_session.TryEnter(balls, score); }
    void Pause(std::uint32_t) override {}
    std::uint32_t GetTickCount() override { return 0; }
    void StartBlinkTimer() override {}
    void StopBlinkTimer() override {}
    void ShowGameOver() override {}
    bool AskName(std::string&) override { return false; }

private:
    CSoundPlayer m_player;
    CGameSession m_session{*this, *this, &m_player};
};

}  // namespace

// Effects are looked up in the program's sounds and played while the sound
// is on; a number with no sound plays nothing.
TEST(GameSessionTest, PlaysTheEffectsSoundOnlyWhileTheSoundIsOn)
{
    const struct {
        const char* pWhat;
        bool bSoundOn;
        std::uint16_t id;
        bool bHeard;
    } cases[] = {
        {"step, sound on", true, IDR_WAVE_STEP, true},
        {"fanfare, sound on", true, IDR_WAVE_HERO, true},
        {"step, sound off", false, IDR_WAVE_STEP, false},
        {"no such sound", true, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pWhat);
        auto pHeard = std::make_shared<SHeard>();
        CQuietSession session(pHeard);
        session.Game().SetSound(c.bSoundOn);
        session.PlayEffect(c.id);
        ASSERT_EQ(pHeard->Count(), c.bHeard ? 1u : 0u);
        if (c.bHeard) {
            EXPECT_GT(pHeard->frames[0], 0u);
        }
    }
}

// The switch starts as the settings file has it (off when it says nothing)
// and is written back at every flip.
TEST(GameSessionTest, TheSoundSwitchLivesInTheSettingsFile)
{
    for (const char* pStored : {"1", "0", ""}) {
        SCOPED_TRACE(pStored);
        CMemoryProfile profile;
        if (*pStored)
            profile.values[{"CONFIG", "PlaySound"}] = pStored;
        CQuietSession session(std::make_shared<SHeard>());
        session.LoadSettings(profile);
        const bool bOn = std::string(pStored) == "1";
        EXPECT_EQ(session.Game().IsSoundOn(), bOn);
        EXPECT_EQ(profile.writes, 0);

        EXPECT_EQ(session.SwitchSound(), !bOn);
        EXPECT_EQ(session.Game().IsSoundOn(), !bOn);
        EXPECT_EQ((profile.values[{"CONFIG", "PlaySound"}]), bOn ? "0" : "1");
        EXPECT_EQ(profile.writes, 1);
    }
}

// A device given up after a hang is tried again once the sound is switched
// on again (and the hung sound has let go).
TEST(GameSessionTest, SwitchingTheSoundOnTriesAHungDeviceAgain)
{
    auto pHeard = std::make_shared<SHeard>();
    pHeard->bHeld = true;
    CQuietSession session(pHeard);
    session.Game().SetSound(true);
    session.PlayEffect(IDR_WAVE_STEP);
    ASSERT_TRUE(session.Player().IsGivenUp());
    ASSERT_TRUE(pHeard->WaitForCount(1));
    pHeard->Release();
    session.PlayEffect(IDR_WAVE_STEP);
    EXPECT_EQ(pHeard->Count(), 1u) << "given up until the sound is switched on";

    EXPECT_FALSE(session.SwitchSound());
    EXPECT_TRUE(session.Player().IsGivenUp()) << "switching off is no new chance";
    EXPECT_TRUE(session.SwitchSound());
    EXPECT_FALSE(session.Player().IsGivenUp());
}
