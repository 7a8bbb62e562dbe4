// SPDX-License-Identifier: MIT
#include "CAlsaPlayer.h"
#include "CWaveFile.h"
#include "WaveBytes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

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
        CAlsaPlayer player(pszDevice);
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
    CAlsaPlayer player("null");
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
    CAlsaPlayer player("null");
    EXPECT_FALSE(player.Play(wave));
}

namespace {

// A FIFO in a folder of its own, and a reader to drain it once asked.
class CUnreadFifo {
public:
    CUnreadFifo()
    {
        char folder[] = "/tmp/orvo-fifo-XXXXXX";
        EXPECT_NE(::mkdtemp(folder), nullptr);
        m_folder = folder;
        m_path = m_folder + "/sink";
        EXPECT_EQ(::mkfifo(m_path.c_str(), 0600), 0);
    }
    ~CUnreadFifo()
    {
        if (m_reader.joinable()) {
            m_bStop = true;
            // Lets a reader waiting for the next writer see the stop. A
            // reader that saw no stop yet but has not reached its open has
            // nobody to meet: knock until it has gone.
            while (!m_bDone) {
                const int fd = ::open(m_path.c_str(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            m_reader.join();
        }
        ::unlink(m_path.c_str());
        ::rmdir(m_folder.c_str());
    }
    // ALSA's file plugin writes the sound into it; the null device is paced
    // like a card.
    std::string Device() const { return "file:FILE=" + m_path + ",FORMAT=raw"; }
    void StartReading()
    {
        m_reader = std::thread([this] {
            while (!m_bStop) {
                const int fd = ::open(m_path.c_str(), O_RDONLY);
                if (fd < 0)
                    break;
                char buffer[4096];
                while (::read(fd, buffer, sizeof buffer) > 0) {
                }
                ::close(fd);
            }
            m_bDone = true;
        });
    }

private:
    std::string m_folder;
    std::string m_path;
    std::thread m_reader;
    std::atomic<bool> m_bStop {false};
    std::atomic<bool> m_bDone {false};
};

}  // namespace

// A device that hangs in its set-up (here: opening a FIFO nobody reads)
// costs one deadline and is then given up, until the sound is switched on
// again and the hung sound has let go.
TEST(WavePlaybackTest, HangingDeviceIsGivenUpAfterItsDeadline)
{
    const CWaveFile wave = ParseWave(MakeWave(1, 8, 11025, 276));
    CUnreadFifo fifo;
    CAlsaPlayer player(fifo.Device());

    EXPECT_FALSE(player.Play(wave));
    EXPECT_TRUE(player.IsGivenUp());
    EXPECT_FALSE(player.Play(wave));

    // Still hanging: switching the sound off and on changes nothing yet.
    player.Reset();
    EXPECT_FALSE(player.IsGivenUp());
    EXPECT_FALSE(player.Play(wave));
    EXPECT_TRUE(player.IsGivenUp());

    // Once a reader comes, the hung sound ends, and the next try plays.
    fifo.StartReading();
    bool bPlayed = false;
    for (int i = 0; i < 100 && !bPlayed; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        player.Reset();
        bPlayed = player.Play(wave);
    }
    EXPECT_TRUE(bPlayed);
    EXPECT_FALSE(player.IsGivenUp());
}
