// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

// The Windows side of the stored text: names are kept as code page 936
// (GBK) bytes whatever the system's code page, and shown through the wide
// functions, so a settings file reads the same in both builds.
class CWideText {
public:
    CWideText() = delete;

    // Never fails: what does not decode becomes U+FFFD, byte by byte as
    // CGbk::GbkToUtf8 does.
    static std::wstring FromGbk(const std::string& gbk);
    // nullopt when a character has no GBK form.
    static std::optional<std::string> ToGbk(const std::wstring& text);

    // Plain UTF-8 <-> UTF-16; nullopt for text that is not valid.
    static std::optional<std::wstring> FromUtf8(const std::string& utf8);
    static std::string ToUtf8(const std::wstring& text);
};
