// SPDX-License-Identifier: MIT
#include "CProfile.h"

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
