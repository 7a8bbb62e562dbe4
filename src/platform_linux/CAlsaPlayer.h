// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "CSoundPlayer.h"

// Sounds through an ALSA device, each on its own thread and with its
// deadline (see CSoundPlayer). Without a usable device each sound fails at
// once and prints nothing. ALSA's library is loaded by the first sound
// played (see CAlsaLibrary); where it cannot be, no sound ever plays.
class CAlsaPlayer final : public CSoundPlayer {
public:
    explicit CAlsaPlayer(std::string strDevice = "default");
};
