// SPDX-License-Identifier: MIT
#include "CProfile.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool HasLineBreakOrNul(const std::string& text)
{
    return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
}

// A name read back must be the name written: no surrounding blanks, which
// a reader trims, and nothing that would end the line.
bool IsNameStorable(const std::string& name)
{
    return !name.empty() && !IsBlank(name.front()) && !IsBlank(name.back()) &&
           !HasLineBreakOrNul(name);
}

}  // namespace

bool CProfileEdit::IsStorable() const
{
    if (!IsNameStorable(section) || section.find(']') != std::string::npos)
        return false;
    // A key must not read as a comment, a section header or a value.
    if (!IsNameStorable(key) || key.find('=') != std::string::npos ||
        std::string(";#[").find(key.front()) != std::string::npos)
        return false;
    return !value || !HasLineBreakOrNul(*value);
}

namespace {

// How a settings value reads as a number: blanks, a sign, then decimal
// digits for as long as they last, accumulated modulo 2^32, so that a
// hand-edited "12 balls" still reads as 12.
int ParseLeadingInt(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool bNegative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        bNegative = text[i++] == '-';
    std::uint32_t nValue = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        nValue = nValue * 10u + static_cast<std::uint32_t>(text[i] - '0');
    if (bNegative)
        nValue = 0u - nValue;
    if (nValue <= static_cast<std::uint32_t>(INT_MAX))
        return static_cast<int>(nValue);
    return static_cast<int>(nValue - 0x80000000u) + INT_MIN;
}

}  // namespace

std::string CProfile::GetString(const std::string& section, const std::string& key,
                                const std::string& def) const
{
    return ValueIn(Current().text, section, key, def);
}

std::string CProfile::ValueIn(const CIniText& text, const std::string& section,
                              const std::string& key, const std::string& def)
{
    std::optional<std::string> value = text.Find(section, key);
    if (!value)
        return def;
    if (value->size() > MAX_VALUE_BYTES)
        value->resize(MAX_VALUE_BYTES);
    return *value;
}

int CProfile::GetInt(const std::string& section, const std::string& key, int def) const
{
    const std::string value = GetString(section, key, std::string());
    return value.empty() ? def : ParseLeadingInt(value);
}

bool CProfile::Update(const CProfileDecision& decide)
{
    m_lastError = LockedUpdate(decide);
    return m_lastError == CProfileError::None;
}

CProfileError CProfile::Edit(const std::string& text, const CProfileDecision& decide,
                             const std::string& newLine, std::optional<std::string>& out)
{
    out.reset();
    CIniText file(text);
    const std::optional<std::vector<CProfileEdit>> edits = decide(file);
    if (!edits)
        return CProfileError::None;
    if (!std::all_of(edits->begin(), edits->end(), [](const CProfileEdit& e) { return e.IsStorable(); }))
        return CProfileError::Unstorable;
    file.Apply(*edits, newLine);
    // The game must never write a file it would refuse to read.
    if (file.Text().size() > MAX_FILE_BYTES)
        return CProfileError::TooBig;
    if (file.Text() != text)
        out = file.Text();
    return CProfileError::None;
}
