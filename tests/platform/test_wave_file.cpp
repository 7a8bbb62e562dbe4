// SPDX-License-Identifier: MIT
#include "CWaveFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "ByteOrder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct SFormat {
    unsigned nTag = 1;
    unsigned nChannels = 1;
    std::uint32_t nRate = 11025;
    std::uint32_t nByteRate = 11025;
    unsigned nBlockAlign = 1;
    unsigned nBits = 8;
};

SFormat Stereo16(std::uint32_t nRate)
{
    return SFormat{1, 2, nRate, nRate * 4, 4, 16};
}

Bytes FormatBody(const SFormat& f)
{
    Bytes body;
    PutLe16(body, f.nTag);
    PutLe16(body, f.nChannels);
    PutLe32(body, f.nRate);
    PutLe32(body, f.nByteRate);
    PutLe16(body, f.nBlockAlign);
    PutLe16(body, f.nBits);
    return body;
}

Bytes Chunk(const char* id, const Bytes& body, bool bPad = true)
{
    Bytes chunk;
    PutId(chunk, id);
    PutLe32(chunk, static_cast<std::uint32_t>(body.size()));
    chunk.insert(chunk.end(), body.begin(), body.end());
    if (bPad && body.size() % 2 != 0)
        chunk.push_back(0);
    return chunk;
}

Bytes FmtChunk(const SFormat& f)
{
    return Chunk("fmt ", FormatBody(f));
}

Bytes Samples(std::size_t nCount)
{
    Bytes samples(nCount);
    for (std::size_t i = 0; i < nCount; ++i)
        samples[i] = static_cast<std::uint8_t>(128 + (i * 37) % 64);
    return samples;
}

Bytes Riff(const std::vector<Bytes>& chunks)
{
    Bytes form;
    PutId(form, "WAVE");
    for (const Bytes& chunk : chunks)
        form.insert(form.end(), chunk.begin(), chunk.end());
    Bytes file;
    PutId(file, "RIFF");
    PutLe32(file, static_cast<std::uint32_t>(form.size()));
    file.insert(file.end(), form.begin(), form.end());
    return file;
}

// The layout of the game's landing sound: data followed by a LIST chunk.
Bytes GameLikeFile()
{
    return Riff({FmtChunk(SFormat{}), Chunk("data", Samples(441)),
                 Chunk("LIST", Bytes{'I', 'N', 'F', 'O', 'I', 'C', 'M', 'T', 3, 0, 0, 0, 'h', 'i', 0})});
}

}  // namespace

TEST(WaveFileTest, AcceptsWellFormedLayouts)
{
    const Bytes list = Chunk("LIST", Bytes(7, 'x'));  // odd size: padded
    Bytes fmt18 = FormatBody(Stereo16(22050));
    PutLe16(fmt18, 0);  // a WAVEFORMATEX with no extra bytes

    struct SCase {
        const char* pszName;
        Bytes file;
        unsigned nChannels, nBits;
        std::uint32_t nRate;
        Bytes samples;
    };
    const std::vector<SCase> cases = {
        {"game format", Riff({FmtChunk(SFormat{}), Chunk("data", Samples(276))}), 1, 8, 11025,
         Samples(276)},
        {"data then LIST", GameLikeFile(), 1, 8, 11025, Samples(441)},
        {"16-bit stereo", Riff({FmtChunk(Stereo16(44100)), Chunk("data", Samples(400))}), 2, 16,
         44100, Samples(400)},
        {"data before fmt, padded LIST between",
         Riff({list, Chunk("data", Samples(3)), list, FmtChunk(SFormat{}), list}), 1, 8, 11025,
         Samples(3)},
        {"18-byte fmt", Riff({Chunk("fmt ", fmt18), Chunk("data", Samples(8))}), 2, 16, 22050,
         Samples(8)},
        {"empty data", Riff({FmtChunk(SFormat{}), Chunk("data", {})}), 1, 8, 11025, {}},
        {"last odd chunk without its pad byte",
         Riff({FmtChunk(SFormat{}), Chunk("data", Samples(5), false)}), 1, 8, 11025, Samples(5)},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        Bytes file = c.file;
        file.insert(file.end(), {'j', 'u', 'n', 'k'});  // after the RIFF form: ignored
        CWaveFile wave;
        ASSERT_TRUE(wave.Parse(file.data(), file.size())) << wave.GetError();
        EXPECT_TRUE(wave.IsValid());
        EXPECT_EQ(wave.GetError(), "");
        EXPECT_EQ(wave.GetChannels(), c.nChannels);
        EXPECT_EQ(wave.GetBitsPerSample(), c.nBits);
        EXPECT_EQ(wave.GetSampleRate(), c.nRate);
        EXPECT_EQ(wave.GetBlockAlign(), c.nChannels * c.nBits / 8);
        EXPECT_EQ(Bytes(wave.GetSamples(), wave.GetSamples() + wave.GetSampleBytes()), c.samples);
        EXPECT_EQ(wave.GetFrameCount(), c.samples.size() / wave.GetBlockAlign());
    }
}

TEST(WaveFileTest, RefusesMalformedFilesWithAReason)
{
    const Bytes data = Chunk("data", Samples(10));
    auto withFormat = [&](auto change) {
        SFormat f;
        change(f);
        return Riff({FmtChunk(f), data});
    };
    auto patched = [](Bytes file, std::size_t nOffset, const char* pszBytes) {
        std::memcpy(file.data() + nOffset, pszBytes, std::strlen(pszBytes));
        return file;
    };
    Bytes riffTooLong = GameLikeFile();
    riffTooLong[4] += 1;
    Bytes riffTiny = GameLikeFile();
    riffTiny[4] = 3;
    riffTiny[5] = riffTiny[6] = riffTiny[7] = 0;
    Bytes dataTooLong = Riff({FmtChunk(SFormat{}), data});
    dataTooLong[dataTooLong.size() - 10 - 4] = 11;  // data size 11 of 10 bytes present
    Bytes strayTail = Riff({FmtChunk(SFormat{}), data, Bytes{'L', 'I', 'S'}});

    struct SCase {
        const char* pszName;
        Bytes file;
        const char* pszError;
    };
    const std::vector<SCase> cases = {
        {"empty", {}, "too short"},
        {"not RIFF", patched(GameLikeFile(), 0, "RIFX"), "not a RIFF file"},
        {"not WAVE", patched(GameLikeFile(), 8, "AVI "), "not a WAVE file"},
        {"RIFF size past the end", riffTooLong, "runs past the end"},
        {"RIFF size too small", riffTiny, "cannot hold"},
        {"no fmt", Riff({data}), "no 'fmt ' chunk"},
        {"no data", Riff({FmtChunk(SFormat{})}), "no 'data' chunk"},
        {"two data chunks", Riff({FmtChunk(SFormat{}), data, data}), "more than one 'data'"},
        {"two fmt chunks", Riff({FmtChunk(SFormat{}), data, FmtChunk(SFormat{})}),
         "more than one 'fmt '"},
        {"short fmt", Riff({Chunk("fmt ", Bytes(14, 1)), data}), "too short"},
        {"float", withFormat([](SFormat& f) { f.nTag = 3; }), "not PCM"},
        {"no channels", withFormat([](SFormat& f) { f.nChannels = 0; }), "0 channels"},
        {"three channels", withFormat([](SFormat& f) { f.nChannels = 3; }), "3 channels"},
        {"zero rate", withFormat([](SFormat& f) { f.nRate = 0; }), "sample rate of 0"},
        {"24 bits", withFormat([](SFormat& f) { f.nBits = 24; }), "24 bits"},
        {"block align", withFormat([](SFormat& f) { f.nBlockAlign = 2; }), "block align 2"},
        {"byte rate", withFormat([](SFormat& f) { f.nByteRate = 22050; }), "byte rate 22050"},
        {"chunk past the RIFF form", dataTooLong, "'data' at offset 36 claims 11 bytes"},
        {"partial frame", Riff({FmtChunk(Stereo16(8000)), Chunk("data", Samples(6))}),
         "whole number of 4-byte frames"},
        {"stray bytes after the last chunk", strayTail, "incomplete chunk header"},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        CWaveFile wave;
        EXPECT_FALSE(wave.Parse(c.file.data(), c.file.size()));
        EXPECT_FALSE(wave.IsValid());
        EXPECT_NE(wave.GetError().find(c.pszError), std::string::npos) << wave.GetError();
    }
}

TEST(WaveFileTest, FailedParseForgetsTheEarlierSound)
{
    const Bytes good = Riff({FmtChunk(Stereo16(8000)), Chunk("data", Samples(8))});
    const Bytes bad = Riff({FmtChunk(Stereo16(8000)), Chunk("data", Samples(6))});
    CWaveFile wave;
    ASSERT_TRUE(wave.Parse(good.data(), good.size()));
    ASSERT_FALSE(wave.Parse(bad.data(), bad.size()));
    EXPECT_EQ(wave.GetSampleBytes(), 0u);
    EXPECT_EQ(wave.GetFrameCount(), 0u);
    EXPECT_EQ(wave.GetChannels(), 0u);
    EXPECT_FALSE(wave.GetError().empty());
}

// Each prefix lives in a buffer of exactly its own size, so the sanitizer
// build catches any read past it.
TEST(WaveFileTest, RefusesEveryTruncation)
{
    const Bytes file = GameLikeFile();
    const Bytes samples = Samples(441);
    const std::size_t nDataEnd = 12 + 24 + 8 + samples.size();
    for (std::size_t nSize = 0; nSize < file.size(); ++nSize) {
        SCOPED_TRACE(nSize);
        Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(nSize));
        CWaveFile wave;
        EXPECT_FALSE(wave.Parse(prefix.data(), prefix.size()));
        EXPECT_FALSE(wave.GetError().empty());

        // With the RIFF size cut down to match, the chunk walk meets the cut
        // instead. Only a cut that takes just a pad byte or the whole LIST
        // chunk leaves a playable file.
        if (nSize < 8)
            continue;
        const std::uint32_t nRiffSize = static_cast<std::uint32_t>(nSize - 8);
        for (int i = 0; i < 4; ++i)
            prefix[4 + i] = static_cast<std::uint8_t>(nRiffSize >> (8 * i));
        const bool bValid = wave.Parse(prefix.data(), prefix.size());
        const bool bWhole = nSize == nDataEnd || nSize == nDataEnd + 1 || nSize == file.size() - 1;
        EXPECT_EQ(bValid, bWhole) << wave.GetError();
        if (bValid) {
            EXPECT_EQ(Bytes(wave.GetSamples(), wave.GetSamples() + wave.GetSampleBytes()),
                      samples);
        }
    }
}

TEST(WaveFileTest, SurvivesGarbageAndDamage)
{
    std::mt19937 random(20240611);
    const Bytes file = GameLikeFile();
    int nAccepted = 0;
    for (int i = 0; i < 20000; ++i) {
        Bytes bytes;
        if (i % 2 == 0) {
            bytes.resize(random() % 80);
            for (std::uint8_t& b : bytes)
                b = static_cast<std::uint8_t>(random());
        } else {
            // Damage a real file in a few places, headers included, and often
            // cut it: this reaches the chunk walk and the format checks.
            bytes = file;
            for (int n = 0; n < 3; ++n)
                bytes[random() % 60] = static_cast<std::uint8_t>(random());
            if (random() % 2 == 0)
                bytes.resize(random() % (bytes.size() + 1));
        }
        CWaveFile wave;
        const bool bValid = wave.Parse(bytes.data(), bytes.size());
        ASSERT_EQ(wave.IsValid(), bValid);
        ASSERT_EQ(wave.GetError().empty(), bValid);
        if (!bValid)
            continue;
        ++nAccepted;
        ASSERT_TRUE(wave.GetChannels() == 1 || wave.GetChannels() == 2);
        ASSERT_TRUE(wave.GetBitsPerSample() == 8 || wave.GetBitsPerSample() == 16);
        ASSERT_EQ(wave.GetFrameCount() * wave.GetBlockAlign(), wave.GetSampleBytes());
        ASSERT_LE(wave.GetSampleBytes(), bytes.size());
    }
    // Damage to the samples or the LIST text leaves a playable file; make sure
    // the accepting path was exercised too.
    EXPECT_GT(nAccepted, 0);
}
