// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

// One top-ten entry: name, balls removed, score, and its code string, the
// checksummed base-36 text that the settings file stores. Names are raw
// bytes in code page 936; they are never converted here.
class CHeroRecord {
public:
    static constexpr int kNameBytes = 12;
    static constexpr int kBlockBytes = 18;
    static constexpr int kMaxCodeChars = 28;

    // Whether a name typed in UTF-8 can be kept in a record; pGbk, when
    // given, receives the bytes to keep of a name that fits.
    enum class NameFit { Fits, TooLong, Unstorable };
    static NameFit FitName(const std::string& utf8, std::string* pGbk = nullptr);

    CHeroRecord() = default;
    virtual ~CHeroRecord() = default;

    std::string GetName() const { return m_strName; }
    void SetName(const std::string& name) { m_strName = name; }
    std::string GetCode() const { return m_strCode; }
    void SetCode(const std::string& code) { m_strCode = code; }
    std::int32_t GetBalls() const { return m_nBalls; }
    void SetBalls(std::int32_t balls) { m_nBalls = balls; }
    std::int32_t GetScore() const { return m_nScore; }
    void SetScore(std::int32_t score) { m_nScore = score; }

    // Repeated division of a little-endian digit array; digits is consumed.
    // out must have room for every output digit.
    static bool ConvertBase(std::uint8_t* digits, std::uint8_t* out, int length, int& outCount,
                            int fromBase, int toBase);

    bool Encode();
    bool Decode();

private:
    std::int32_t m_nScore = 0;
    std::int32_t m_nBalls = 0;
    std::string m_strName;
    std::string m_strCode;
};
