#pragma once

#include <string>

class CWaveFile;

// Plays one sound at a time through ALSA and waits until it has been heard
// to its end, which is what paces the game's animations. Without a usable
// audio device it gives up at once and silently: the game then simply runs
// without sound.
class CAlsaPlayer {
public:
    explicit CAlsaPlayer(std::string strDevice = "default");

    // Returns after the last sample has left the device: true when the
    // whole sound was played, false (without waiting) when the wave is not
    // valid or the device cannot be opened or set up for its format.
    bool Play(const CWaveFile& wave) const;

private:
    std::string m_strDevice;
};
