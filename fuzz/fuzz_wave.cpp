// SPDX-License-Identifier: MIT
// The sounds are embedded today, but the reader is the one place where a
// file's own numbers decide how much is read and copied.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "CWaveFile.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CWaveFile wave;
    const bool valid = wave.Parse(data, size);
    FuzzCheck(valid == wave.IsValid(), "Parse and IsValid agree");
    if (!valid) {
        FuzzCheck(!wave.GetError().empty(), "a refusal says why");
        FuzzCheck(wave.GetSampleBytes() == 0, "a refused file keeps no samples");
        return 0;
    }
    // What the player is handed is exactly what it can play.
    FuzzCheck(wave.GetError().empty(), "no error on success");
    FuzzCheck(wave.GetChannels() == 1 || wave.GetChannels() == 2, "mono or stereo");
    FuzzCheck(wave.GetBitsPerSample() == 8 || wave.GetBitsPerSample() == 16, "8 or 16 bits");
    FuzzCheck(wave.GetBlockAlign() == wave.GetChannels() * wave.GetBitsPerSample() / 8,
              "frame size matches the format");
    FuzzCheck(wave.GetSampleRate() > 0, "a sample rate");
    FuzzCheck(wave.GetSampleBytes() == wave.GetFrameCount() * wave.GetBlockAlign(),
              "whole frames only");
    // The samples are a copy of bytes of the file: the file may go away.
    const std::uint8_t* samples = wave.GetSamples();
    const std::size_t count = wave.GetSampleBytes();
    FuzzCheck(count == 0 || samples + count <= data || samples >= data + size,
              "samples are a copy");
    FuzzCheck(std::search(data, data + size, samples, samples + count) != data + size ||
                  count == 0,
              "samples come from the file");
    return 0;
}
