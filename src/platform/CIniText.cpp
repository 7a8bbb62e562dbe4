// SPDX-License-Identifier: MIT
#include "CIniText.h"

#include <algorithm>
#include <string_view>

#include "CProfile.h"

namespace {

const char UTF8_BOM[] = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n' || c == '\0'; }

// Names compare without regard to the case of ASCII letters.
bool SameName(std::string_view a, std::string_view b)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

// Within one batch the last edit of a key decides. Applying an earlier one
// as well could move the key (removed, then added again below), so that the
// same batch written twice would give other bytes.
bool IsSuperseded(const std::vector<CProfileEdit>& edits, std::size_t nIndex)
{
    return std::any_of(edits.begin() + static_cast<std::ptrdiff_t>(nIndex) + 1, edits.end(),
                       [&](const CProfileEdit& later) {
                           return SameName(later.section, edits[nIndex].section) &&
                                  SameName(later.key, edits[nIndex].key);
                       });
}

}  // namespace

CIniText::CIniText(std::string text) : m_text(std::move(text))
{
    Index();
}

void CIniText::Index()
{
    m_lines.clear();
    m_sections.clear();
    const std::size_t n = m_text.size();
    int nSection = -1;
    std::size_t p = m_text.compare(0, 3, UTF8_BOM) == 0 ? 3 : 0;
    while (p < n) {
        SLine line {};
        line.begin = p;
        std::size_t end = p;
        while (end < n && !IsLineEnd(m_text[end]))
            ++end;
        line.end = end;
        line.next = end < n && m_text[end] == '\r' && end + 1 < n && m_text[end + 1] == '\n'
                        ? end + 2
                        : std::min(end + 1, n);
        std::size_t q = p;
        while (q < end && IsBlank(m_text[q]))
            ++q;
        // Searches stay within the line: a long file of broken lines must
        // not cost a scan to its end for each of them.
        auto FindIn = [&](char c, std::size_t from, std::size_t to) {
            return static_cast<std::size_t>(std::find(m_text.begin() + static_cast<std::ptrdiff_t>(from),
                                                      m_text.begin() + static_cast<std::ptrdiff_t>(to), c) -
                                            m_text.begin());
        };
        auto trimmedEnd = [&](std::size_t from, std::size_t to) {
            while (to > from && IsBlank(m_text[to - 1]))
                --to;
            return to;
        };
        if (q == end) {
            line.kind = Kind::Blank;
        } else if (m_text[q] == '[') {
            line.kind = Kind::Header;
            const std::size_t close = FindIn(']', q + 1, end);
            if (close < end) {
                line.nameBegin = q + 1;
                while (line.nameBegin < close && IsBlank(m_text[line.nameBegin]))
                    ++line.nameBegin;
                line.nameEnd = trimmedEnd(line.nameBegin, close);
                nSection = static_cast<int>(m_sections.size());
                m_sections.emplace_back(line.nameBegin, line.nameEnd);
            } else {
                nSection = -1;
            }
        } else if (m_text[q] == ';' || m_text[q] == '#') {
            line.kind = Kind::Other;
        } else {
            const std::size_t eq = FindIn('=', q, end);
            line.kind = Kind::Other;
            if (eq < end) {
                line.nameBegin = q;
                line.nameEnd = trimmedEnd(q, eq);
                line.valueBegin = eq + 1;
                while (line.valueBegin < end && IsBlank(m_text[line.valueBegin]))
                    ++line.valueBegin;
                line.valueEnd = trimmedEnd(line.valueBegin, end);
                if (line.nameEnd > line.nameBegin)
                    line.kind = Kind::Key;
            }
        }
        line.section = nSection;
        m_lines.push_back(line);
        p = line.next;
    }
}

bool CIniText::NameIs(std::size_t begin, std::size_t end, const std::string& name) const
{
    return SameName(std::string_view(m_text).substr(begin, end - begin), name);
}

bool CIniText::IsKeyOf(const SLine& line, const std::string& section, const std::string& key) const
{
    if (line.kind != Kind::Key || line.section < 0)
        return false;
    const auto& [begin, end] = m_sections[static_cast<std::size_t>(line.section)];
    return NameIs(begin, end, section) && NameIs(line.nameBegin, line.nameEnd, key);
}

std::optional<std::string> CIniText::Find(const std::string& section, const std::string& key) const
{
    for (const SLine& line : m_lines) {
        if (IsKeyOf(line, section, key))
            return m_text.substr(line.valueBegin, line.valueEnd - line.valueBegin);
    }
    return std::nullopt;
}

void CIniText::Apply(const std::vector<CProfileEdit>& edits, const std::string& newLine)
{
    for (std::size_t i = 0; i < edits.size(); ++i) {
        if (IsSuperseded(edits, i))
            continue;
        if (edits[i].value)
            Set(edits[i], newLine);
        else
            Remove(edits[i]);
        Index();
    }
}

std::string CIniText::LineEnd(const std::string& fallback) const
{
    const std::size_t at = m_text.find_first_of("\r\n");
    if (at == std::string::npos)
        return fallback;
    if (m_text[at] == '\n')
        return "\n";
    return m_text.compare(at, 2, "\r\n") == 0 ? "\r\n" : "\r";
}

void CIniText::Set(const CProfileEdit& edit, const std::string& newLine)
{
    // Blanks around a value never read back; stored, they would pile up
    // beside the kept spacing of a line written again.
    std::string value = *edit.value;
    value.erase(0, value.find_first_not_of(" \t"));
    value.erase(value.find_last_not_of(" \t") + 1);

    const SLine* pFirst = nullptr;
    for (auto it = m_lines.rbegin(); it != m_lines.rend(); ++it) {
        if (!IsKeyOf(*it, edit.section, edit.key))
            continue;
        // Twins go from the back, so that the offsets before them hold.
        if (pFirst)
            m_text.erase(pFirst->begin, pFirst->next - pFirst->begin);
        pFirst = &*it;
    }
    if (pFirst) {
        m_text.replace(pFirst->valueBegin, pFirst->valueEnd - pFirst->valueBegin, value);
        return;
    }

    const std::string eol = LineEnd(newLine);
    const std::string entry = edit.key + "=" + value + eol;
    const SLine* pAfter = nullptr;
    int nSection = -1;
    for (const SLine& line : m_lines) {
        if (nSection < 0 && line.kind == Kind::Header && line.section >= 0 &&
            NameIs(line.nameBegin, line.nameEnd, edit.section)) {
            nSection = line.section;
            pAfter = &line;
        } else if (nSection >= 0 && line.section == nSection && line.kind == Kind::Key) {
            pAfter = &line;
        }
    }
    if (pAfter) {
        // The last line of a file may have no line end of its own yet.
        const std::string before = pAfter->next == pAfter->end ? eol : std::string();
        m_text.insert(pAfter->next, before + entry);
        return;
    }
    if (!m_text.empty() && !IsLineEnd(m_text.back()))
        m_text += eol;
    m_text += "[" + edit.section + "]" + eol + entry;
}

void CIniText::Remove(const CProfileEdit& edit)
{
    for (auto it = m_lines.rbegin(); it != m_lines.rend(); ++it) {
        if (IsKeyOf(*it, edit.section, edit.key))
            m_text.erase(it->begin, it->next - it->begin);
    }
}
