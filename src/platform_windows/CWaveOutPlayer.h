// SPDX-License-Identifier: MIT
#pragma once

#include "CSoundPlayer.h"

// Sounds through the system's wave mapper (waveOut), each on its own thread
// and with its deadline (see CSoundPlayer). Without a sound device each
// sound fails at once.
class CWaveOutPlayer final : public CSoundPlayer {
public:
    CWaveOutPlayer();

    // The device function: the whole wave through the wave mapper, returning
    // once the device has played the last sample; false when no device
    // takes the wave's format.
    static bool PlayOnDevice(const CWaveFile& wave);
};
