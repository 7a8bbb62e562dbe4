// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>

class CWaveFile;

// Plays one sound at a time on a device and waits until it has been heard
// to its end, which is what paces the game's animations. Without a usable
// device the device function gives up at once and silently: the game then
// simply runs without sound.
//
// A device can also hang (in its open, its set-up or its drain) where no
// non-blocking flag reaches. So the sound plays on a thread of its own that
// the caller waits for no longer than the sound's length plus a margin. A
// device that misses that deadline is given up until Reset; its thread is
// left to finish (or to hang) on its own and never holds up the caller or
// the end of the program.
class CSoundPlayer {
public:
    // Plays the whole wave and returns once its last sample has been heard:
    // true when all of it played. Runs on the sound's own thread, with its
    // own copy of the wave, and may outlive the player.
    using Device = std::function<bool(const CWaveFile& wave)>;

    // Beyond the sound's own length: ample for opening a sound server on a
    // busy machine, short enough to be a single hiccup when it hangs.
    static constexpr unsigned DEADLINE_MARGIN_MS = 2000;

    explicit CSoundPlayer(Device device, unsigned nMarginMs = DEADLINE_MARGIN_MS);
    virtual ~CSoundPlayer();
    CSoundPlayer(const CSoundPlayer&) = delete;
    CSoundPlayer& operator=(const CSoundPlayer&) = delete;

    // Returns after the whole sound was heard: true when it played, false
    // (without waiting) when the wave is not valid, the thread cannot start
    // or the device has been given up; false after the deadline when the
    // device hangs, which gives it up.
    bool Play(const CWaveFile& wave);

    // Tries the device again at the next sound, unless the sound that hung
    // is hanging still: another try would only hang as well.
    void Reset() { m_bGivenUp = false; }
    bool IsGivenUp() const { return m_bGivenUp; }

private:
    struct SPlayback;

    Device m_device;
    unsigned m_nMarginMs;
    bool m_bGivenUp = false;
    std::shared_ptr<SPlayback> m_pHung;
};
