// SPDX-License-Identifier: MIT
#include "CHeroRecord.h"

#include <algorithm>
#include <utility>

#include "CGbk.h"

namespace {

constexpr int kNameEnd = CHeroRecord::kNameBytes;   // bytes 12-13 balls, 14-15 score
constexpr int kChecksumAt = 16;

// The stored counters are 16 bits wide. A larger result keeps the highest
// value the field holds rather than wrapping round to a poor one.
std::uint16_t Narrow(std::int32_t n)
{
    return static_cast<std::uint16_t>(std::clamp<std::int32_t>(n, 0, 0xFFFF));
}

void PutWord(std::uint8_t* block, int at, std::uint16_t value)
{
    block[at] = static_cast<std::uint8_t>(value >> 8);
    block[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

int Checksum(const std::uint8_t* block)
{
    int sum = 0;
    for (int i = 0; i < kChecksumAt; ++i)
        sum += block[i] ^ 0xFE;
    return sum;
}

}  // namespace

bool CHeroRecord::ConvertBase(std::uint8_t* digits, std::uint8_t* out, int length, int& outCount,
                              int fromBase, int toBase)
{
    if (!digits || !out || fromBase < 2 || fromBase > 256 || toBase < 2 || toBase > 256 ||
        length < 0)
        return false;
    outCount = 0;
    while (length > 0) {
        int remainder = 0;
        for (int j = length - 1; j >= 0; --j) {
            const int v = remainder * fromBase + digits[j];
            digits[j] = static_cast<std::uint8_t>(v / toBase);
            remainder = v % toBase;
        }
        out[outCount++] = static_cast<std::uint8_t>(remainder);
        while (length > 0 && digits[length - 1] == 0)
            --length;
    }
    return true;
}

bool CHeroRecord::Encode()
{
    std::uint8_t block[kBlockBytes] = {};
    const std::size_t nameLen = std::min<std::size_t>(m_strName.size(), kNameBytes);
    std::copy_n(m_strName.begin(), nameLen, block);
    PutWord(block, kNameEnd, Narrow(m_nBalls));
    PutWord(block, kNameEnd + 2, Narrow(m_nScore));
    PutWord(block, kChecksumAt, static_cast<std::uint16_t>(Checksum(block)));

    std::uint8_t digits[kMaxCodeChars + 4];
    int count = 0;
    if (!ConvertBase(block, digits, kBlockBytes, count, 256, 36))
        return false;
    m_strCode.clear();
    for (int i = 0; i < count; ++i) {
        const int d = digits[i];
        m_strCode += static_cast<char>(d <= 9 ? '0' + d : 'A' + (d - 10));
    }
    return true;
}

bool CHeroRecord::Decode()
{
    if (m_strCode.empty())
        return false;
    const int n = static_cast<int>(std::min<std::size_t>(m_strCode.size(), kMaxCodeChars));
    std::uint8_t values[kMaxCodeChars];
    for (int i = 0; i < n; ++i) {
        std::uint8_t v = static_cast<std::uint8_t>(static_cast<unsigned char>(m_strCode[i]) - 48);
        if (v > 9)
            v = static_cast<std::uint8_t>(v - 7);
        if (v > 35)
            return false;
        values[i] = v;
    }
    // 36^28 < 256^19: a 28-character code can carry a 19th byte, ignored.
    std::uint8_t block[kBlockBytes + 1] = {};
    int count = 0;
    if (!ConvertBase(values, block, n, count, 36, 256))
        return false;
    if (Checksum(block) != block[kChecksumAt] * 256 + block[kChecksumAt + 1])
        return false;

    const auto* nameBegin = reinterpret_cast<const char*>(block);
    m_strName.assign(nameBegin, std::find(nameBegin, nameBegin + kNameBytes, '\0'));
    m_nBalls = block[kNameEnd] * 256 + block[kNameEnd + 1];
    m_nScore = block[kNameEnd + 2] * 256 + block[kNameEnd + 3];
    return true;
}

CHeroRecord::NameFit CHeroRecord::FitName(const std::string& utf8, std::string* pGbk)
{
    std::optional<std::string> gbk = CGbk::Utf8ToGbk(utf8);
    if (!gbk)
        return NameFit::Unstorable;
    if (gbk->size() > static_cast<std::size_t>(kNameBytes))
        return NameFit::TooLong;
    if (pGbk)
        *pGbk = std::move(*gbk);
    return NameFit::Fits;
}
