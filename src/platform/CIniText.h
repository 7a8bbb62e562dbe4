// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct CProfileEdit;

// A settings file's bytes, read and edited line by line. An edit changes the
// line of its key (or adds one, or removes it) and not one other byte: the
// player's comments, spacing, order and line ends stay as they stood.
//
// How the bytes read:
// - A line ends at "\r\n", "\r", "\n" or a NUL; a UTF-8 byte-order mark at
//   the very start is not part of the first line.
// - Blanks (spaces, tabs) around names and values do not count.
// - "[name]" starts a section; text after the bracket is ignored. A header
//   without its closing bracket starts a section nobody can name, so the
//   keys under it are out of reach, as are keys above every header.
// - A line starting with ';' or '#' is a comment; "key=value" is a key;
//   any other line is ignored.
// - Names compare without regard to the case of ASCII letters; sections of
//   one name count as one. Where a key appears twice, the first one counts.
class CIniText {
public:
    CIniText() = default;
    explicit CIniText(std::string text);

    const std::string& Text() const { return m_text; }

    // The value of the key, blanks trimmed, as it stands in the file.
    std::optional<std::string> Find(const std::string& section, const std::string& key) const;

    // Applies the edits in order; within one batch the last edit of a key
    // decides. Setting a key replaces the value on its first line and drops
    // its twins; a new key goes below the last key of the section's first
    // header (a new section at the end of the file); a removal takes every
    // line of the key. New lines end as the file's first line does, or with
    // newLine in a file without any. Every edit must be storable.
    void Apply(const std::vector<CProfileEdit>& edits, const std::string& newLine);

private:
    enum class Kind { Blank, Header, Key, Other };
    struct SLine {
        std::size_t begin;   // first byte of the line
        std::size_t end;     // where its line end starts
        std::size_t next;    // first byte of the next line
        Kind kind;
        int section;         // index of the reachable section, or -1
        std::size_t nameBegin, nameEnd;    // section or key name
        std::size_t valueBegin, valueEnd;  // a key's value
    };

    void Index();
    bool NameIs(std::size_t begin, std::size_t end, const std::string& name) const;
    bool IsKeyOf(const SLine& line, const std::string& section, const std::string& key) const;
    void Set(const CProfileEdit& edit, const std::string& newLine);
    void Remove(const CProfileEdit& edit);
    std::string LineEnd(const std::string& fallback) const;

    std::string m_text;
    std::vector<SLine> m_lines;
    // Name range of each reachable section's header, by index.
    std::vector<std::pair<std::size_t, std::size_t>> m_sections;
};
