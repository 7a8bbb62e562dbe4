// SPDX-License-Identifier: MIT
#include "CSoundPlayer.h"

#include "CWaveFile.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace {

unsigned LengthMs(const CWaveFile& wave)
{
    return static_cast<unsigned>(wave.GetFrameCount() * 1000u / wave.GetSampleRate());
}

}  // namespace

// One sound on its way to the device, shared by the waiting caller and the
// thread that plays it; whichever lets go last frees it.
struct CSoundPlayer::SPlayback {
    SPlayback(Device playOn, const CWaveFile& waveToPlay)
        : device(std::move(playOn)), wave(waveToPlay)
    {
    }

    void Run()
    {
        const bool bPlayed = device(wave);
        const std::lock_guard<std::mutex> lock(mutex);
        bResult = bPlayed;
        bDone = true;
        done.notify_all();
    }

    bool IsDone()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return bDone;
    }

    const Device device;
    const CWaveFile wave;
    std::mutex mutex;
    std::condition_variable done;
    bool bDone = false;
    bool bResult = false;
};

CSoundPlayer::CSoundPlayer(Device device, unsigned nMarginMs)
    : m_device(std::move(device)), m_nMarginMs(nMarginMs)
{
}

CSoundPlayer::~CSoundPlayer() = default;

bool CSoundPlayer::Play(const CWaveFile& wave)
{
    if (!wave.IsValid() || m_bGivenUp)
        return false;
    if (m_pHung) {
        if (!m_pHung->IsDone()) {
            m_bGivenUp = true;
            return false;
        }
        m_pHung.reset();
    }
    auto pPlayback = std::make_shared<SPlayback>(m_device, wave);
    std::thread worker;
    try {
        worker = std::thread([pPlayback] { pPlayback->Run(); });
    } catch (const std::system_error&) {
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(LengthMs(wave) + m_nMarginMs);
    std::unique_lock<std::mutex> lock(pPlayback->mutex);
    if (pPlayback->done.wait_until(lock, deadline, [&] { return pPlayback->bDone; })) {
        const bool bResult = pPlayback->bResult;
        lock.unlock();
        worker.join();
        return bResult;
    }
    lock.unlock();
    // Blocked in the system, the thread cannot be stopped; it keeps its
    // own share of the sound, and the end of the process ends it.
    worker.detach();
    m_pHung = std::move(pPlayback);
    m_bGivenUp = true;
    return false;
}
