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
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char UTF8_BOM[] = "\xEF\xBB\xBF";

// A rename never leaves a half-written file, but a crash of a writer can
// leave its temporary behind; the next writer steps over it.
const int MAX_TEMP_ATTEMPTS = 100;

// Our own sections are named with this stem, a number and a colon; the
// number is picked so that no section of the file starts the same way.
const char OWN_SECTION_STEM[] = "\x01orvo";

enum class EFileState { Missing, Read, Unreadable };

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

class CFileDescriptor {
public:
    explicit CFileDescriptor(int fd) : m_fd(fd) {}
    ~CFileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;

    int Get() const { return m_fd; }
    bool Close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool ReadAll(int fd, std::string& data)
{
    char buffer[65536];
    for (;;) {
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
}

// Only a regular file counts: a directory, a pipe or a device at the path is
// unreadable (and O_NONBLOCK keeps a pipe from hanging the open).
EFileState ReadWholeFile(const std::string& path, std::string& data, mode_t& mode)
{
    data.clear();
    if (path.empty())
        return EFileState::Missing;
    CFileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.Get() < 0)
        return errno == ENOENT ? EFileState::Missing : EFileState::Unreadable;
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return EFileState::Unreadable;
    mode = info.st_mode & 07777;
    if (!ReadAll(file.Get(), data)) {
        data.clear();
        return EFileState::Unreadable;
    }
    return EFileState::Read;
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

// Reads the file afresh; a missing or unreadable file is an empty one.
void LoadForReading(CIniDocument& doc, const std::string& path)
{
    std::string text;
    mode_t mode = 0;
    if (ReadWholeFile(path, text, mode) != EFileState::Read || !Parse(doc, text))
        doc.ini.Reset();
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool HasLineBreakOrNul(const std::string& text)
{
    return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
}

// A name read back must be the name written: no surrounding blanks, which
// the parser trims, and nothing that would end the line.
bool IsNameStorable(const std::string& name)
{
    return !name.empty() && !IsBlank(name.front()) && !IsBlank(name.back()) &&
           !HasLineBreakOrNul(name);
}

bool IsEditStorable(const CProfileEdit& edit)
{
    if (!IsNameStorable(edit.section) || edit.section.find(']') != std::string::npos)
        return false;
    // A key must not read as a comment, a section header or a value.
    if (!IsNameStorable(edit.key) || edit.key.find('=') != std::string::npos ||
        std::string(";#[").find(edit.key.front()) != std::string::npos)
        return false;
    return !edit.value || !HasLineBreakOrNul(*edit.value);
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

// Creates a temporary file beside the target, never reusing an existing name.
int CreateTemporary(const std::string& target, std::string& tempPath)
{
    const std::string folder = FolderOf(target);
    const std::string base = target.substr(folder.size());
    for (int i = 0; i < MAX_TEMP_ATTEMPTS; ++i) {
        tempPath = folder + "." + base + "." + std::to_string(::getpid()) + "." +
                   std::to_string(i) + ".tmp";
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The new folder entry only survives a power cut once the folder is synced.
void SyncFolder(const std::string& target)
{
    const std::string folder = FolderOf(target);
    CFileDescriptor dir(::open(folder.empty() ? "." : folder.c_str(),
                               O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0)
        ::fsync(dir.Get());
}

bool ReplaceFile(const std::string& target, const std::string& text, const mode_t* pMode)
{
    std::string tempPath;
    CFileDescriptor temp(CreateTemporary(target, tempPath));
    if (temp.Get() < 0)
        return false;
    bool bOk = (!pMode || ::fchmod(temp.Get(), *pMode) == 0) && WriteAll(temp.Get(), text) &&
               ::fsync(temp.Get()) == 0;
    bOk = temp.Close() && bOk;
    bOk = bOk && ::rename(tempPath.c_str(), target.c_str()) == 0;
    if (!bOk) {
        ::unlink(tempPath.c_str());
        return false;
    }
    SyncFolder(target);
    return true;
}

// A link to the settings file stays a link; the file it names is replaced.
std::string ResolveLink(const std::string& path)
{
    char* pResolved = ::realpath(path.c_str(), nullptr);
    if (!pResolved)
        return path;
    std::string resolved = pResolved;
    std::free(pResolved);
    return resolved;
}

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

CIniProfile::CIniProfile(std::string strPath) : m_strPath(std::move(strPath)) {}

std::string CIniProfile::GetProfileString(const std::string& section, const std::string& key,
                                          const std::string& def) const
{
    CIniDocument doc;
    LoadForReading(doc, m_strPath);
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

int CIniProfile::GetProfileInt(const std::string& section, const std::string& key, int def) const
{
    const std::string value = GetProfileString(section, key, std::string());
    if (value.empty())
        return def;
    return ParseLeadingInt(value);
}

bool CIniProfile::Write(const std::vector<CProfileEdit>& edits)
{
    if (m_strPath.empty() || m_strPath.back() == '/')
        return false;
    if (!std::all_of(edits.begin(), edits.end(), IsEditStorable))
        return false;
    const std::string target = ResolveLink(m_strPath);
    std::string text;
    mode_t mode = 0;
    const EFileState state = ReadWholeFile(target, text, mode);
    if (state == EFileState::Unreadable)
        return false;
    CIniDocument doc;
    if (!Parse(doc, text, edits))
        return false;
    for (const CProfileEdit& edit : edits) {
        if (!ApplyEdit(doc.ini, edit))
            return false;
    }
    return ReplaceFile(target, Serialize(doc), state == EFileState::Read ? &mode : nullptr);
}
