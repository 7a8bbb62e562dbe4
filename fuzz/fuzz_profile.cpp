// SPDX-License-Identifier: MIT
// The settings file is the game's one input that a person edits by hand.
// Each input is a file and a few edits; the write must keep three promises:
// writing the same edits again gives the same bytes, no key the edits do
// not name reads differently afterwards, and every line that holds none of
// the edited keys stays as it was, byte for byte and in its order.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include "CIniProfile.h"
#include "FuzzSupport.h"

namespace {

// The names the game uses, and a few a hand-edited file might hold.
const char* const kSections[] = {"CONFIG", "TOPTEN", "topten", "X"};
const char* const kKeys[] = {"PlaySound", "Hero1", "Hero5", "hero5", "Hero10", "Y"};
const char* const kValues[] = {"", "0", "1", " 1 ", "[CONFIG]", "a=b", "; c", "PlaySound]",
                               "2ABCDEFGHIJKLMNOPQRSTUVWXYZ0"};

std::string Trim(const std::string& text)
{
    const std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return std::string();
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// Section and key names as the file seems to hold them, so that edits and
// checks reach what is actually there.
void CollectNames(const std::string& text, std::vector<std::string>& sections,
                  std::vector<std::string>& keys)
{
    constexpr std::size_t kMaxEach = 4;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of(std::string("\r\n\0", 3), start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty())
            continue;
        if (line[0] == '[') {
            const std::string name = Trim(line.substr(1, line.find(']') - 1));
            if (!name.empty() && sections.size() < std::size(kSections) + kMaxEach)
                sections.push_back(name);
        } else if (line.find('=') != std::string::npos) {
            const std::string name = Trim(line.substr(0, line.find('=')));
            if (!name.empty() && keys.size() < std::size(kKeys) + kMaxEach)
                keys.push_back(name);
        }
    }
}

// The file's lines but those an edit may touch: lines of an edited key
// (in any section) and headers of edited sections, which a write may add.
// Blank lines do not count, so that line ends split alike however the
// edited lines were ended.
std::vector<std::string> UntouchedLines(const std::string& text, const std::vector<CProfileEdit>& edits)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of(std::string("\r\n\0", 3), start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.empty())
            continue;
        const std::size_t eq = line.find('=');
        const std::string key = eq == std::string::npos ? std::string() : Lower(Trim(line.substr(0, eq)));
        bool bTouched = false;
        for (const CProfileEdit& edit : edits)
            bTouched = bTouched || key == Lower(edit.key) || line == "[" + edit.section + "]";
        if (!bTouched)
            lines.push_back(line);
    }
    return lines;
}

struct CChoice {
    std::uint8_t section;
    std::uint8_t key;
    std::uint8_t value;
};

using CReadings = std::vector<std::string>;

// What every (section, key) pair reads, through a fresh profile as the next
// start of the game would see it.
CReadings ReadAll(const std::string& path, const std::vector<std::string>& sections,
                  const std::vector<std::string>& keys)
{
    const CIniProfile profile(path);
    CReadings readings;
    for (const std::string& section : sections)
        for (const std::string& key : keys)
            readings.push_back(profile.GetString(section, key, "\x01missing"));
    return readings;
}

std::optional<std::string> FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The choices come from the input's last bytes, so that a plain settings
    // file is a useful seed; the rest is the file.
    FuzzedDataProvider provider(data, size);
    std::vector<CChoice> choices(provider.ConsumeIntegralInRange<std::size_t>(0, 3));
    for (CChoice& choice : choices)
        choice = {provider.ConsumeIntegral<std::uint8_t>(), provider.ConsumeIntegral<std::uint8_t>(),
                  provider.ConsumeIntegral<std::uint8_t>()};
    const std::string text = provider.ConsumeRemainingBytesAsString();

    std::vector<std::string> sections(std::begin(kSections), std::end(kSections));
    std::vector<std::string> keys(std::begin(kKeys), std::end(kKeys));
    CollectNames(text, sections, keys);

    std::vector<CProfileEdit> edits;
    for (const CChoice& choice : choices) {
        CProfileEdit edit{sections[choice.section % sections.size()],
                          keys[choice.key % keys.size()], std::nullopt};
        // Values: a removal, one of the pool, or a name from the file.
        const std::size_t nValues = std::size(kValues);
        const std::size_t which = choice.value % (1 + nValues + sections.size());
        if (which > 0 && which <= nValues)
            edit.value = kValues[which - 1];
        else if (which > nValues)
            edit.value = sections[which - nValues - 1];
        edits.push_back(edit);
    }

    const std::string path = CFuzzScratch::File("orvo.ini");
    ::unlink(path.c_str());
    if (!text.empty()) {
        std::ofstream file(path, std::ios::binary);
        file << text;
        FuzzCheck(static_cast<bool>(file.flush()), "scratch file written");
    }

    const CReadings before = ReadAll(path, sections, keys);
    const std::optional<std::string> original = FileBytes(path);
    CIniProfile profile(path);
    if (!profile.Write(edits)) {
        FuzzCheck(FileBytes(path) == original, "a failed write leaves the file as it was");
        return 0;
    }
    const std::optional<std::string> once = FileBytes(path);
    const CReadings after = ReadAll(path, sections, keys);
    FuzzCheck(UntouchedLines(original.value_or(""), edits) ==
                  UntouchedLines(once.value_or(""), edits),
              "lines without an edited key stay as they were");

    std::size_t i = 0;
    for (const std::string& section : sections) {
        for (const std::string& key : keys) {
            // The last edit of a key decides what it reads.
            const CProfileEdit* pEdit = nullptr;
            for (const CProfileEdit& edit : edits)
                if (Lower(edit.section) == Lower(section) && Lower(edit.key) == Lower(key))
                    pEdit = &edit;
            if (!pEdit)
                FuzzCheck(after[i] == before[i], "a key not edited reads as before");
            else if (!pEdit->value)
                FuzzCheck(after[i] == "\x01missing", "a removed key is gone");
            else
                FuzzCheck(after[i] == Trim(*pEdit->value), "an edited key reads its new value");
            ++i;
        }
    }

    FuzzCheck(CIniProfile(path).Write(edits), "a write that worked works again");
    FuzzCheck(FileBytes(path) == once, "the same edits again give the same bytes");
    return 0;
}
