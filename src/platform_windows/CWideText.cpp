// SPDX-License-Identifier: MIT
#include "CWideText.h"

#include <windows.h>

#include <algorithm>

#include "CGbk.h"

namespace {

constexpr UINT CP_GBK = 936;
constexpr wchar_t kReplacement = 0xFFFD;

// The system's table sends unassigned and user-defined codes to the private
// use area; GBK proper has no character there.
bool IsPrivateUse(wchar_t c) { return c >= 0xE000 && c <= 0xF8FF; }

// One character from one or two bytes; false when GBK has none.
bool DecodeOne(const char* p, int n, wchar_t& out)
{
    wchar_t buffer[2];
    const int got = MultiByteToWideChar(CP_GBK, MB_ERR_INVALID_CHARS, p, n, buffer, 2);
    if (got != 1 || IsPrivateUse(buffer[0]))
        return false;
    out = buffer[0];
    return true;
}

}  // namespace

std::wstring CWideText::FromGbk(const std::string& gbk)
{
    std::wstring text;
    const std::size_t size = gbk.size();
    for (std::size_t i = 0; i < size;) {
        const auto c = static_cast<unsigned char>(gbk[i]);
        wchar_t w = kReplacement;
        if (c < 0x80) {
            text += static_cast<wchar_t>(c);
            ++i;
        } else {
            const std::size_t n = CGbk::SequenceLength(&gbk[i], size - i);
            DecodeOne(&gbk[i], static_cast<int>(n), w);
            text += w;
            i += n;
        }
    }
    return text;
}

std::optional<std::string> CWideText::ToGbk(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    // The system would store these as user-defined codes, which GBK lacks.
    if (std::any_of(text.begin(), text.end(), IsPrivateUse))
        return std::nullopt;
    const int length = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(CP_GBK, WC_NO_BEST_FIT_CHARS, text.data(), length,
                                         nullptr, 0, nullptr, &usedDefault);
    if (size <= 0 || usedDefault)
        return std::nullopt;
    std::string gbk(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_GBK, WC_NO_BEST_FIT_CHARS, text.data(), length, gbk.data(), size,
                        nullptr, &usedDefault);
    if (usedDefault)
        return std::nullopt;
    return gbk;
}

std::optional<std::wstring> CWideText::FromUtf8(const std::string& utf8)
{
    if (utf8.empty())
        return std::wstring();
    const int length = static_cast<int>(utf8.size());
    const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length,
                                         nullptr, 0);
    if (size <= 0)
        return std::nullopt;
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, text.data(), size);
    return text;
}

std::string CWideText::ToUtf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr,
                                         nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, utf8.data(), size, nullptr, nullptr);
    return utf8;
}
