// SPDX-License-Identifier: MIT
#include "CIniProfile.h"

#include <SimpleIni.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "CFd.h"

namespace {

const char UTF8_BOM[] = "\xEF\xBB\xBF";

// Writers take turns on the one temporary name; one that finds the name
// renamed away under its lock tries again, a few times.
const int MAX_LOCK_ATTEMPTS = 16;
// Links followed at most, as the kernel does.
const int MAX_LINKS = 40;

// Our own sections are named with this stem, a number and a colon; the
// number is picked so that no section of the file starts the same way.
const char OWN_SECTION_STEM[] = "\x01orvo";

enum class EFileState { Missing, Read, Unreadable, TooLarge };

// The file as SimpleIni sees it, plus what SimpleIni cannot carry: three
// kinds of sections of our own bracket and patch the text. The head takes
// the keys above any section header, which the old API never found; the
// tail takes the comments after the last entry, which SimpleIni would drop;
// and each header without its closing bracket becomes a section that keeps
// the line as it stood, so that its keys stay out of reach as before and the
// line comes back unchanged instead of growing at every write.
struct CIniDocument {
    CSimpleIniA ini {false, true /* twin keys */, false};
    std::string ownPrefix;
    std::map<std::string, std::string> unclosedHeaders;

    bool IsOwn(const std::string& section) const
    {
        return section.compare(0, ownPrefix.size(), ownPrefix) == 0;
    }
    std::string Head() const { return ownPrefix + "head"; }
    std::string Tail() const { return ownPrefix + "tail"; }
};

// Reads at most nLimit + 1 bytes, enough to tell that the file is too big.
bool ReadAll(int fd, std::string& data, std::size_t nLimit)
{
    char buffer[65536];
    while (data.size() <= nLimit) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
}

// Only a regular file counts: a directory, a pipe or a device at the path is
// unreadable (and O_NONBLOCK keeps a pipe from hanging the open). A file
// beyond the size limit is damaged and is not even read.
EFileState ReadWholeFile(const std::string& path, std::string& data, struct stat& info)
{
    data.clear();
    if (path.empty())
        return EFileState::Missing;
    CFd file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.Get() < 0)
        return errno == ENOENT ? EFileState::Missing : EFileState::Unreadable;
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return EFileState::Unreadable;
    const std::size_t nLimit = CIniProfile::MAX_FILE_BYTES;
    if (info.st_size > static_cast<off_t>(nLimit))
        return EFileState::TooLarge;
    if (!ReadAll(file.Get(), data, nLimit)) {
        data.clear();
        return EFileState::Unreadable;
    }
    if (data.size() > nLimit) {
        data.clear();
        return EFileState::TooLarge;
    }
    return EFileState::Read;
}

bool IsSameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
           a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

// SimpleIni's idea of blanks and line ends.
bool IsIniSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsIniLineEnd(char c) { return c == '\r' || c == '\n'; }

struct SHeaderScan {
    std::vector<std::string> names;
    std::vector<std::pair<std::size_t, std::size_t>> unclosed;  // [begin, end)
    std::vector<std::pair<std::size_t, std::size_t>> dropped;
};

// Finds the section headers where SimpleIni will: at the first non-blank of
// an entry, with blanks (line ends too) allowed after the bracket.
SHeaderScan ScanHeaders(const std::string& text)
{
    SHeaderScan scan;
    const std::size_t n = text.size();
    std::size_t p = 0;
    for (;;) {
        while (p < n && IsIniSpace(text[p]))
            ++p;
        if (p >= n)
            break;
        if (text[p] == '[') {
            const std::size_t begin = p++;
            while (p < n && IsIniSpace(text[p]))
                ++p;
            const std::size_t nameBegin = p;
            while (p < n && text[p] != ']' && !IsIniLineEnd(text[p]))
                ++p;
            if (p < n && text[p] == ']') {
                std::size_t nameEnd = p;
                while (nameEnd > nameBegin && IsIniSpace(text[nameEnd - 1]))
                    --nameEnd;
                scan.names.push_back(text.substr(nameBegin, nameEnd - nameBegin));
            } else if (p > nameBegin) {
                scan.unclosed.emplace_back(begin, p);
            } else {
                // A bracket alone at the end of the file: nothing follows
                // it, so it goes, or it would swallow what a write appends.
                scan.dropped.emplace_back(begin, p);
            }
        }
        while (p < n && !IsIniLineEnd(text[p]))
            ++p;
    }
    return scan;
}

std::string ChooseOwnPrefix(const std::vector<std::string>& names,
                            const std::vector<CProfileEdit>& edits)
{
    const std::size_t nStem = sizeof OWN_SECTION_STEM - 1;
    std::set<std::string> taken;
    auto note = [&](const std::string& name) {
        if (name.compare(0, nStem, OWN_SECTION_STEM) != 0)
            return;
        const std::size_t colon = name.find(':', nStem);
        if (colon != std::string::npos)
            taken.insert(name.substr(nStem, colon - nStem));
    };
    for (const std::string& name : names)
        note(name);
    for (const CProfileEdit& edit : edits)
        note(edit.section);
    int nNumber = 0;
    while (taken.count(std::to_string(nNumber)))
        ++nNumber;
    return OWN_SECTION_STEM + std::to_string(nNumber) + ":";
}

// Edits count when the names are chosen: a section they create must not
// collide with ours either.
bool Parse(CIniDocument& doc, std::string text, const std::vector<CProfileEdit>& edits = {})
{
    if (text.compare(0, 3, UTF8_BOM) == 0)
        text.erase(0, 3);
    // SimpleIni reads up to the first NUL; a damaged file must not hide the
    // lines behind it, and a NUL ends a line as it ended a string before.
    std::replace(text.begin(), text.end(), '\0', '\n');
    const SHeaderScan scan = ScanHeaders(text);
    doc.ownPrefix = ChooseOwnPrefix(scan.names, edits);

    std::string bracketed;
    bracketed.reserve(text.size() + 64);
    bracketed.append("[").append(doc.Head()).append("]\n");
    std::size_t copied = 0;
    for (const auto& [begin, end] : scan.unclosed) {
        const std::string name = doc.ownPrefix + std::to_string(doc.unclosedHeaders.size());
        doc.unclosedHeaders[name] = text.substr(begin, end - begin);
        bracketed.append(text, copied, begin - copied).append("[").append(name).append("]");
        copied = end;
    }
    bracketed.append(text, copied, std::string::npos);
    for (auto it = scan.dropped.rbegin(); it != scan.dropped.rend(); ++it)
        bracketed.erase(bracketed.size() - (text.size() - it->first), it->second - it->first);
    bracketed.append("\n[").append(doc.Tail()).append("]\n");
    return doc.ini.LoadData(bracketed) >= 0;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Names compare as SimpleIni compares them: ASCII letters without case.
bool SameName(const std::string& a, const std::string& b)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return lower(x) == lower(y);
           });
}

// Within one batch the last edit of a key decides. Applying an earlier one
// as well can move the key (removed, then set again at the section's end), so
// that the same batch written again would give other bytes.
bool IsSuperseded(const std::vector<CProfileEdit>& edits, std::size_t nIndex)
{
    return std::any_of(edits.begin() + static_cast<std::ptrdiff_t>(nIndex) + 1, edits.end(),
                       [&](const CProfileEdit& later) {
                           return SameName(later.section, edits[nIndex].section) &&
                                  SameName(later.key, edits[nIndex].key);
                       });
}

// A key named twice reads as its first; setting it keeps the first's place,
// spelling and comment and drops the rest, and removing it removes them all,
// so that no older twin comes to light.
bool ApplyEdit(CSimpleIniA& ini, const CProfileEdit& edit)
{
    if (!edit.value) {
        ini.Delete(edit.section.c_str(), edit.key.c_str(), false);
        return true;
    }
    std::string key = edit.key;
    if (const CSimpleIniA::TKeyVal* pKeys = ini.GetSection(edit.section.c_str())) {
        const auto twins = pKeys->equal_range(CSimpleIniA::Entry(edit.key.c_str()));
        const auto first = std::min_element(twins.first, twins.second, [](const auto& a,
                                                                           const auto& b) {
            return a.first.nOrder < b.first.nOrder;
        });
        if (first != twins.second)
            key = first->first.pItem;
    }
    return ini.SetValue(edit.section.c_str(), key.c_str(), edit.value->c_str(), nullptr,
                        true /* replace every twin */) >= 0;
}

void AppendComment(std::string& out, const char* pComment)
{
    if (pComment)
        out.append(pComment).append("\n");
}

void AppendKeys(std::string& out, const CSimpleIniA& ini, const char* pSection)
{
    const CSimpleIniA::TKeyVal* pKeys = ini.GetSection(pSection);
    if (!pKeys)
        return;
    std::vector<std::pair<CSimpleIniA::Entry, const char*>> keys(pKeys->begin(), pKeys->end());
    std::sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) {
        return CSimpleIniA::Entry::LoadOrder()(a.first, b.first);
    });
    for (const auto& [key, pValue] : keys) {
        AppendComment(out, key.pComment);
        out.append(key.pItem).append("=").append(pValue).append("\n");
    }
}

// Sections in file order, new ones at the end; keys likewise within their
// section. One blank line separates sections; the comments stay above the
// section or key they stood above.
std::string Serialize(const CIniDocument& doc)
{
    CSimpleIniA::TNamesDepend sections;
    doc.ini.GetAllSections(sections);
    sections.sort(CSimpleIniA::Entry::LoadOrder());

    const std::string head = doc.Head();
    const std::string tail = doc.Tail();
    std::string out;
    const char* pTrailingComment = nullptr;
    for (const CSimpleIniA::Entry& section : sections) {
        if (section.pItem == tail) {
            pTrailingComment = section.pComment;
            continue;
        }
        if (section.pItem != head) {
            if (!out.empty())
                out.append("\n");
            AppendComment(out, section.pComment);
            const auto unclosed = doc.unclosedHeaders.find(section.pItem);
            if (unclosed != doc.unclosedHeaders.end())
                out.append(unclosed->second).append("\n");
            else
                out.append("[").append(section.pItem).append("]\n");
        }
        AppendKeys(out, doc.ini, section.pItem);
    }
    AppendComment(out, pTrailingComment);
    // A key above every section may start with the bytes of a byte-order
    // mark, which the next read would strip; a blank line keeps them.
    if (out.compare(0, 3, UTF8_BOM) == 0)
        out.insert(0, "\n");
    return out;
}

bool WriteAll(int fd, const std::string& text)
{
    const char* p = text.data();
    std::size_t nLeft = text.size();
    while (nLeft > 0) {
        const ssize_t n = ::write(fd, p, nLeft);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        nLeft -= static_cast<std::size_t>(n);
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t nSlash = path.rfind('/');
    return nSlash == std::string::npos ? std::string() : path.substr(0, nSlash + 1);
}

CProfileError ErrorFromErrno(int nError)
{
    switch (nError) {
    case EACCES:
    case EPERM:
        return CProfileError::NoPermission;
    case EROFS:
        return CProfileError::ReadOnly;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return CProfileError::DiskFull;
    case EISDIR:
    case ENXIO:
        return CProfileError::NotAFile;
    default:
        return CProfileError::Other;
    }
}

// The new folder entry only survives a power cut once the folder is synced.
void SyncFolder(const std::string& target)
{
    const std::string folder = FolderOf(target);
    CFd dir(::open(folder.empty() ? "." : folder.c_str(),
                               O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0)
        ::fsync(dir.Get());
}

// A link to the settings file stays a link: the file at the end of the chain
// is the one replaced, or created when the chain dangles.
bool FollowLinks(std::string path, std::string& target)
{
    for (int i = 0; i < MAX_LINKS; ++i) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            target = path;
            return true;
        }
        std::string link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= link.size())
            return false;
        link.resize(static_cast<std::size_t>(n));
        path = link.front() == '/' ? link : FolderOf(path) + link;
    }
    errno = ELOOP;
    return false;
}

// One fixed temporary name per settings file, so a writer killed half-way
// leaves at most that one file, which the next writer reuses. The file is
// also the lock that gives writers their turns: a writer that got the lock
// on a temporary its predecessor has since renamed into place lets go and
// tries again, or it would write into the settings file itself.
class CTemporary {
public:
    explicit CTemporary(const std::string& target)
        : m_path(FolderOf(target) + "." + target.substr(FolderOf(target).size()) + ".tmp")
    {
    }
    ~CTemporary()
    {
        if (m_file.Get() >= 0)
            ::unlink(m_path.c_str());
    }
    CTemporary(const CTemporary&) = delete;
    CTemporary& operator=(const CTemporary&) = delete;

    bool Lock()
    {
        for (int i = 0; i < MAX_LOCK_ATTEMPTS; ++i) {
            CFd file(::open(m_path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW |
                                                            O_NONBLOCK | O_CLOEXEC | O_NOCTTY,
                                        0666));
            if (file.Get() < 0)
                return false;
            int nResult;
            while ((nResult = ::flock(file.Get(), LOCK_EX)) != 0 && errno == EINTR) {
            }
            struct stat held {}, named {};
            if (nResult != 0 || ::fstat(file.Get(), &held) != 0)
                return false;
            if (!S_ISREG(held.st_mode)) {
                errno = EISDIR;
                return false;
            }
            if (::stat(m_path.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
                named.st_ino == held.st_ino) {
                m_file.Reset(file.Release());
                return true;
            }
        }
        errno = EBUSY;
        return false;
    }

    // Writes the whole text and renames it over target; the lock goes with
    // the file descriptor.
    bool Replace(const std::string& target, const std::string& text, const mode_t* pMode)
    {
        const int fd = m_file.Get();
        if (::ftruncate(fd, 0) != 0 || (pMode && ::fchmod(fd, *pMode) != 0) ||
            !WriteAll(fd, text) || ::fsync(fd) != 0 ||
            ::rename(m_path.c_str(), target.c_str()) != 0)
            return false;
        m_file.Close();
        SyncFolder(target);
        return true;
    }

private:
    std::string m_path;
    CFd m_file {-1};
};

// The old API's conversion: blanks, a sign, then decimal digits for as long
// as they last, accumulated modulo 2^32.
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

// The file as last read, kept while the file stays the same one: start-up
// reads a dozen keys, and each would otherwise read and parse it again.
struct CIniProfile::SLoaded {
    bool bExists = false;
    bool bOversized = false;
    struct stat identity {};
    CIniDocument doc;
};

CIniProfile::CIniProfile(std::string strPath) : m_strPath(std::move(strPath)) {}

CIniProfile::~CIniProfile() = default;

const CIniProfile::SLoaded& CIniProfile::Loaded() const
{
    struct stat info {};
    const bool bExists = !m_strPath.empty() && ::stat(m_strPath.c_str(), &info) == 0;
    if (m_pLoaded && m_pLoaded->bExists == bExists &&
        (!bExists || IsSameFile(m_pLoaded->identity, info)))
        return *m_pLoaded;
    auto pLoaded = std::make_unique<SLoaded>();
    pLoaded->bExists = bExists;
    pLoaded->identity = info;
    std::string text;
    // A missing, unreadable, foreign or oversized file reads as an empty one.
    if (bExists && S_ISREG(info.st_mode)) {
        const EFileState state = ReadWholeFile(m_strPath, text, pLoaded->identity);
        pLoaded->bOversized = state == EFileState::TooLarge;
        if (state == EFileState::Read && !Parse(pLoaded->doc, text))
            pLoaded->doc.ini.Reset();
    }
    m_pLoaded = std::move(pLoaded);
    return *m_pLoaded;
}

std::string CIniProfile::GetString(const std::string& section, const std::string& key,
                                   const std::string& def) const
{
    const CIniDocument& doc = Loaded().doc;
    if (doc.IsOwn(section))
        return def;
    const char* pValue = doc.ini.GetValue(section.c_str(), key.c_str(), nullptr);
    if (!pValue)
        return def;
    std::string value = pValue;
    if (value.size() > MAX_VALUE_BYTES)
        value.resize(MAX_VALUE_BYTES);
    return value;
}

bool CIniProfile::IsOversized() const
{
    return Loaded().bOversized;
}

int CIniProfile::GetInt(const std::string& section, const std::string& key, int def) const
{
    const std::string value = GetString(section, key, std::string());
    if (value.empty())
        return def;
    return ParseLeadingInt(value);
}

bool CIniProfile::Write(const std::vector<CProfileEdit>& edits)
{
    m_lastError = WriteFile(edits);
    return m_lastError == CProfileError::None;
}

CProfileError CIniProfile::WriteFile(const std::vector<CProfileEdit>& edits) const
{
    if (m_strPath.empty() || m_strPath.back() == '/')
        return CProfileError::NotAFile;
    if (!std::all_of(edits.begin(), edits.end(), [](const CProfileEdit& e) { return e.IsStorable(); }))
        return CProfileError::Unstorable;
    std::string target;
    if (!FollowLinks(m_strPath, target))
        return ErrorFromErrno(errno);
    // The file is read under the lock, so that two writers of different
    // keys cannot undo each other.
    CTemporary temp(target);
    if (!temp.Lock())
        return ErrorFromErrno(errno);
    std::string text;
    struct stat info {};
    switch (ReadWholeFile(target, text, info)) {
    case EFileState::Missing:
        break;
    case EFileState::Unreadable:
        return S_ISREG(info.st_mode) || info.st_mode == 0 ? ErrorFromErrno(errno)
                                                          : CProfileError::NotAFile;
    case EFileState::TooLarge:
        return CProfileError::Damaged;
    case EFileState::Read:
        // Without any write permission the file is read-only, also for the
        // one user whom permissions do not stop.
        if ((info.st_mode & 0222) == 0)
            return CProfileError::ReadOnly;
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return ErrorFromErrno(errno);
        break;
    }
    CIniDocument doc;
    if (!Parse(doc, text, edits))
        return CProfileError::Other;
    for (std::size_t i = 0; i < edits.size(); ++i) {
        if (!IsSuperseded(edits, i) && !ApplyEdit(doc.ini, edits[i]))
            return CProfileError::Other;
    }
    const mode_t mode = info.st_mode & 07777;
    if (!temp.Replace(target, Serialize(doc), info.st_mode ? &mode : nullptr))
        return ErrorFromErrno(errno);
    return CProfileError::None;
}
