// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

class CWaveFile;

// Plays one sound at a time through ALSA and waits until it has been heard
// to its end, which is what paces the game's animations. Without a usable
// audio device it gives up at once and silently: the game then simply runs
// without sound. ALSA's library is loaded by the first sound played (see
// CAlsaLibrary); where it cannot be, no sound ever plays.
//
// A device can also hang: in its open, its set-up or its drain, where no
// non-blocking flag reaches. So the sound plays on a thread of its own that
// the caller waits for no longer than the sound's length plus a margin. A
// device that misses that deadline is given up until Reset; its thread is
// left to finish (or to hang) on its own and never holds up the caller or
// the end of the program.
class CAlsaPlayer {
public:
    explicit CAlsaPlayer(std::string strDevice = "default");
    ~CAlsaPlayer();
    CAlsaPlayer(const CAlsaPlayer&) = delete;
    CAlsaPlayer& operator=(const CAlsaPlayer&) = delete;

    // Returns after the last sample has left the device: true when the
    // whole sound was played, false (without waiting) when the wave is not
    // valid, the device cannot be opened or set up for its format, or the
    // device has been given up; false after the deadline when it hangs.
    bool Play(const CWaveFile& wave);

    // Tries the device again at the next sound, unless the sound that hung
    // is hanging still: another try would only hang as well.
    void Reset() { m_bGivenUp = false; }
    bool IsGivenUp() const { return m_bGivenUp; }

    // Beyond the sound's own length: ample for opening a sound server on a
    // busy machine, short enough to be a single hiccup when it hangs.
    static constexpr unsigned DEADLINE_MARGIN_MS = 2000;

private:
    struct SPlayback;

    std::string m_strDevice;
    bool m_bGivenUp = false;
    std::shared_ptr<SPlayback> m_pHung;
};
