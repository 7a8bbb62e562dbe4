// SPDX-License-Identifier: MIT
#include "CAlsaPlayer.h"

#include "CAlsaLibrary.h"
#include "CWaveFile.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace {

// Enough buffer to ride out a busy moment of the desktop, small enough that
// a 25 ms step sound is not noticeably late.
constexpr unsigned LATENCY_US = 100000;
// snd_pcm_recover normally cures an underrun at the first try; a device that
// keeps failing is given up rather than looped on forever.
constexpr int MAX_RECOVERIES = 8;

using PcmHandle = std::unique_ptr<snd_pcm_t, decltype(&snd_pcm_close)>;

PcmHandle OpenDevice(const CAlsaLibrary& alsa, const std::string& strDevice)
{
    snd_pcm_t* pPcm = nullptr;
    // Opening without NONBLOCK would hang until another program lets go of
    // an exclusive device; the writes below block as they should.
    if (alsa.pcm_open(&pPcm, strDevice.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return PcmHandle(nullptr, alsa.pcm_close);
    PcmHandle pcm(pPcm, alsa.pcm_close);
    if (alsa.pcm_nonblock(pcm.get(), 0) < 0)
        pcm.reset();
    return pcm;
}

bool Configure(const CAlsaLibrary& alsa, snd_pcm_t* pPcm, const CWaveFile& wave)
{
    const snd_pcm_format_t format =
        wave.GetBitsPerSample() == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
    return alsa.pcm_set_params(pPcm, format, SND_PCM_ACCESS_RW_INTERLEAVED, wave.GetChannels(),
                               wave.GetSampleRate(), 1 /* allow resampling */, LATENCY_US) == 0;
}

bool WriteAll(const CAlsaLibrary& alsa, snd_pcm_t* pPcm, const CWaveFile& wave)
{
    const std::uint8_t* pNext = wave.GetSamples();
    snd_pcm_uframes_t nLeft = wave.GetFrameCount();
    int nRecoveries = 0;
    while (nLeft > 0) {
        const snd_pcm_sframes_t nWritten = alsa.pcm_writei(pPcm, pNext, nLeft);
        if (nWritten < 0) {
            if (++nRecoveries > MAX_RECOVERIES ||
                alsa.pcm_recover(pPcm, static_cast<int>(nWritten), 1 /* silent */) < 0)
                return false;
            continue;
        }
        pNext += static_cast<std::size_t>(nWritten) * wave.GetBlockAlign();
        nLeft -= static_cast<snd_pcm_uframes_t>(nWritten);
    }
    return true;
}

unsigned LengthMs(const CWaveFile& wave)
{
    return static_cast<unsigned>(wave.GetFrameCount() * 1000u / wave.GetSampleRate());
}

}  // namespace

// One sound on its way to the device, shared by the waiting caller and the
// thread that plays it; whichever lets go last frees it.
struct CAlsaPlayer::SPlayback {
    SPlayback(const CAlsaLibrary& alsaLibrary, std::string strDeviceName,
              const CWaveFile& waveToPlay)
        : alsa(alsaLibrary), strDevice(std::move(strDeviceName)), wave(waveToPlay)
    {
    }

    void Run()
    {
        PcmHandle pcm = OpenDevice(alsa, strDevice);
        // A short sound may fit in the buffer without starting the device;
        // draining starts it and waits for the last frame.
        const bool bPlayed = pcm && Configure(alsa, pcm.get(), wave) &&
                             WriteAll(alsa, pcm.get(), wave) && alsa.pcm_drain(pcm.get()) == 0;
        pcm.reset();
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

    const CAlsaLibrary& alsa;
    const std::string strDevice;
    const CWaveFile wave;
    std::mutex mutex;
    std::condition_variable done;
    bool bDone = false;
    bool bResult = false;
};

CAlsaPlayer::CAlsaPlayer(std::string strDevice) : m_strDevice(std::move(strDevice))
{
}

CAlsaPlayer::~CAlsaPlayer() = default;

bool CAlsaPlayer::Play(const CWaveFile& wave)
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
    const CAlsaLibrary* pAlsa = CAlsaLibrary::Shared();
    if (!pAlsa)
        return false;
    auto pPlayback = std::make_shared<SPlayback>(*pAlsa, m_strDevice, wave);
    std::thread worker;
    try {
        worker = std::thread([pPlayback] { pPlayback->Run(); });
    } catch (const std::system_error&) {
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(LengthMs(wave) + DEADLINE_MARGIN_MS);
    std::unique_lock<std::mutex> lock(pPlayback->mutex);
    if (pPlayback->done.wait_until(lock, deadline, [&] { return pPlayback->bDone; })) {
        const bool bResult = pPlayback->bResult;
        lock.unlock();
        worker.join();
        return bResult;
    }
    lock.unlock();
    // Blocked in the kernel, the thread cannot be stopped; it keeps its
    // own share of the sound, and the end of the process ends it.
    worker.detach();
    m_pHung = std::move(pPlayback);
    m_bGivenUp = true;
    return false;
}
