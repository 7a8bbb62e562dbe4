// SPDX-License-Identifier: MIT
#pragma once

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
};
