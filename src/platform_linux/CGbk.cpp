// SPDX-License-Identifier: MIT
#include "CGbk.h"

#include <cerrno>
#include <climits>
#include <iconv.h>

namespace {

// glibc's CP936 is its GBK table, which already maps 0x80 to the euro sign
// the way the Windows code page does; GB18030 would not.
const char GBK_CHARSET[] = "CP936";
const char UTF8_CHARSET[] = "UTF-8";
const char REPLACEMENT_UTF8[] = "\xEF\xBF\xBD";

// One conversion descriptor, closed with its owner.
class CIconv {
public:
    CIconv(const char* pTo, const char* pFrom) : m_cd(iconv_open(pTo, pFrom)) {}
    ~CIconv()
    {
        if (IsOpen())
            iconv_close(m_cd);
    }
    CIconv(const CIconv&) = delete;
    CIconv& operator=(const CIconv&) = delete;

    bool IsOpen() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of the input as it can; false with errno set where it
    // stopped early.
    bool Convert(char*& pIn, std::size_t& nInLeft, char*& pOut, std::size_t& nOutLeft)
    {
        return iconv(m_cd, &pIn, &nInLeft, &pOut, &nOutLeft) != static_cast<std::size_t>(-1);
    }

private:
    iconv_t m_cd;
};

std::string AsciiOrReplacement(const std::string& gbk)
{
    std::string utf8;
    for (char c : gbk) {
        if (static_cast<unsigned char>(c) < 0x80)
            utf8 += c;
        else
            utf8 += REPLACEMENT_UTF8;
    }
    return utf8;
}

bool IsAscii(const std::string& text)
{
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

}  // namespace

std::string CGbk::GbkToUtf8(const std::string& gbk)
{
    CIconv cd(UTF8_CHARSET, GBK_CHARSET);
    if (!cd.IsOpen())
        return AsciiOrReplacement(gbk);

    std::string input = gbk;
    // One GBK byte never takes more than three UTF-8 bytes (0x80 is the euro
    // sign), and the replacement character is three bytes too.
    std::string utf8(3 * input.size(), '\0');
    char* pIn = input.data();
    std::size_t nInLeft = input.size();
    char* pOut = utf8.data();
    std::size_t nOutLeft = utf8.size();
    while (!cd.Convert(pIn, nInLeft, pOut, nOutLeft)) {
        if (errno != EILSEQ && errno != EINVAL)
            break;
        const std::size_t nSkip = CGbk::SequenceLength(pIn, nInLeft);
        pIn += nSkip;
        nInLeft -= nSkip;
        for (const char* p = REPLACEMENT_UTF8; *p; ++p) {
            *pOut++ = *p;
            --nOutLeft;
        }
    }
    utf8.resize(utf8.size() - nOutLeft);
    return utf8;
}

std::optional<std::string> CGbk::Utf8ToGbk(const std::string& utf8)
{
    CIconv cd(GBK_CHARSET, UTF8_CHARSET);
    if (!cd.IsOpen()) {
        if (IsAscii(utf8))
            return utf8;
        return std::nullopt;
    }

    std::string input = utf8;
    // No character grows on the way to GBK.
    std::string gbk(input.size(), '\0');
    char* pIn = input.data();
    std::size_t nInLeft = input.size();
    char* pOut = gbk.data();
    std::size_t nOutLeft = gbk.size();
    if (!cd.Convert(pIn, nInLeft, pOut, nOutLeft))
        return std::nullopt;
    gbk.resize(gbk.size() - nOutLeft);
    // A converter is allowed to substitute look-alikes; only an exact round
    // trip may be stored.
    if (GbkToUtf8(gbk) != utf8)
        return std::nullopt;
    return gbk;
}

int CGbk::GbkLength(const std::string& utf8)
{
    const std::optional<std::string> gbk = Utf8ToGbk(utf8);
    if (!gbk || gbk->size() > static_cast<std::size_t>(INT_MAX))
        return -1;
    return static_cast<int>(gbk->size());
}
