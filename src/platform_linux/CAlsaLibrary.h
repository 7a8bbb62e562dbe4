// SPDX-License-Identifier: MIT
#pragma once

#include <alsa/asoundlib.h>

// The few functions of ALSA's library that the player needs, looked up in
// the library at run time. The game loads it when it plays its first sound,
// not at start: a player with the sound off never pays for it.
//
// A library once loaded is never unloaded: a sound that hung in the device
// keeps its thread inside it until the process ends.
class CAlsaLibrary {
public:
    // Loads pszFile and finds every function; when that fails, one line on
    // standard error says why and IsLoaded() is false.
    explicit CAlsaLibrary(const char* pszFile);
    CAlsaLibrary(const CAlsaLibrary&) = delete;
    CAlsaLibrary& operator=(const CAlsaLibrary&) = delete;

    bool IsLoaded() const { return m_bLoaded; }

    // libasound.so.2, loaded by the first call (from any thread, once);
    // null when it cannot be, and the game then has no sound.
    static const CAlsaLibrary* Shared();

    decltype(&snd_pcm_open) pcm_open = nullptr;
    decltype(&snd_pcm_close) pcm_close = nullptr;
    decltype(&snd_pcm_nonblock) pcm_nonblock = nullptr;
    decltype(&snd_pcm_set_params) pcm_set_params = nullptr;
    decltype(&snd_pcm_writei) pcm_writei = nullptr;
    decltype(&snd_pcm_recover) pcm_recover = nullptr;
    decltype(&snd_pcm_drain) pcm_drain = nullptr;

private:
    bool m_bLoaded = false;
};
