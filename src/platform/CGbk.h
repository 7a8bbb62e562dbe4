// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>

// Conversion between the game's stored text, code page 936 (GBK, with 0x80
// as the euro sign), and the UTF-8 that the user interface works in. The
// 12-byte name limit counts GBK bytes, hence GbkLength.
class CGbk {
public:
    CGbk() = delete;

    // Never fails: every byte or pair that does not decode becomes U+FFFD and
    // decoding goes on with the next byte (a lead byte followed by an ASCII
    // byte costs only the lead byte).
    static std::string GbkToUtf8(const std::string& gbk);

    // nullopt when the text is not valid UTF-8 or holds a character that GBK
    // cannot represent; such a name must be refused, never stored mangled.
    static std::optional<std::string> Utf8ToGbk(const std::string& utf8);

    // Length of the text in GBK bytes, or -1 when Utf8ToGbk would refuse it.
    static int GbkLength(const std::string& utf8);

    // The bytes of the sequence at the start of n > 0 bytes of GBK text: two
    // for a lead byte followed by a trail byte, one for anything else. It is
    // also what a sequence that does not decode costs: a well-formed pair
    // with no character behind it is one unknown character, while a stray
    // lead byte costs only itself, so that an ASCII byte after it survives.
    static std::size_t SequenceLength(const char* p, std::size_t n)
    {
        const auto lead = static_cast<unsigned char>(p[0]);
        if (n < 2 || lead < 0x81 || lead > 0xFE)
            return 1;
        const auto trail = static_cast<unsigned char>(p[1]);
        return trail >= 0x40 && trail <= 0xFE && trail != 0x7F ? 2 : 1;
    }
};
