// SPDX-License-Identifier: MIT
#include "CAlsaPlayer.h"

#include "CAlsaLibrary.h"
#include "CWaveFile.h"

#include <memory>
#include <string>
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

// Plays the whole wave on the device: open, set up, write, drain. A short
// sound may fit in the buffer without starting the device; draining starts
// it and waits for the last frame.
bool PlayOnDevice(const std::string& strDevice, const CWaveFile& wave)
{
    const CAlsaLibrary* pAlsa = CAlsaLibrary::Shared();
    if (!pAlsa)
        return false;
    PcmHandle pcm = OpenDevice(*pAlsa, strDevice);
    return pcm && Configure(*pAlsa, pcm.get(), wave) && WriteAll(*pAlsa, pcm.get(), wave) &&
           pAlsa->pcm_drain(pcm.get()) == 0;
}

}  // namespace

CAlsaPlayer::CAlsaPlayer(std::string strDevice)
    : CSoundPlayer([strDevice = std::move(strDevice)](const CWaveFile& wave) {
          return PlayOnDevice(strDevice, wave);
      })
{
}
