// SPDX-License-Identifier: MIT
#include "CWaveOutPlayer.h"

#include <windows.h>
#include <mmsystem.h>

#include "CWaveFile.h"

CWaveOutPlayer::CWaveOutPlayer() : CSoundPlayer(&CWaveOutPlayer::PlayOnDevice)
{
}

bool CWaveOutPlayer::PlayOnDevice(const CWaveFile& wave)
{
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(wave.GetChannels());
    format.nSamplesPerSec = wave.GetSampleRate();
    format.wBitsPerSample = static_cast<WORD>(wave.GetBitsPerSample());
    format.nBlockAlign = static_cast<WORD>(wave.GetBlockAlign());
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;

    // Signalled when the device opens, finishes the buffer and closes; the
    // buffer's done flag tells which.
    HANDLE hEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!hEvent)
        return false;
    bool bPlayed = false;
    HWAVEOUT hOut = nullptr;
    if (waveOutOpen(&hOut, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(hEvent), 0,
                    CALLBACK_EVENT) == MMSYSERR_NOERROR) {
        WAVEHDR header{};
        // The device only reads the samples.
        header.lpData = reinterpret_cast<LPSTR>(const_cast<std::uint8_t*>(wave.GetSamples()));
        header.dwBufferLength = static_cast<DWORD>(wave.GetSampleBytes());
        if (waveOutPrepareHeader(hOut, &header, sizeof header) == MMSYSERR_NOERROR) {
            if (waveOutWrite(hOut, &header, sizeof header) == MMSYSERR_NOERROR) {
                while (!(header.dwFlags & WHDR_DONE))
                    WaitForSingleObject(hEvent, INFINITE);
                bPlayed = true;
            }
            waveOutUnprepareHeader(hOut, &header, sizeof header);
        }
        waveOutClose(hOut);
    }
    CloseHandle(hEvent);
    return bPlayed;
}
