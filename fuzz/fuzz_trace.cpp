// SPDX-License-Identifier: MIT
// Plays the input as an orvo-trace script against the real engine, list and
// drawing code. Text after the first NUL byte is the settings file that a
// `profile` command finds. Every path a script names is redirected into a
// scratch folder: a fuzzer must not write where its input says.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>

#include "CTraceDriver.h"
#include "FuzzSupport.h"

namespace {

// A `profile X` or `snapshot X` line names a scratch file instead; any other
// line, malformed ones included, is played as written.
std::string Redirect(const std::string& script, const std::string& profile,
                     const std::string& snapshot)
{
    std::string out;
    std::size_t start = 0;
    while (start < script.size()) {
        std::size_t end = script.find('\n', start);
        if (end == std::string::npos)
            end = script.size();
        std::string line = script.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t blank = line.find(' ');
        const bool oneWord = blank != std::string::npos && blank + 1 < line.size() &&
                             line.find(' ', blank + 1) == std::string::npos;
        if (oneWord && line.compare(0, blank, "profile") == 0)
            line = "profile " + profile;
        else if (oneWord && line.compare(0, blank, "snapshot") == 0)
            line = "snapshot " + snapshot;
        out += line;
        out += '\n';
    }
    return out;
}

// The first words of every line the format knows; no other kind may appear.
const std::set<std::string>& KnownLines()
{
    static const std::set<std::string> known = {
        "seed",   "paint", "draw",     "push",  "balls", "score",   "effect",
        "pause",  "timer", "enter",    "ask",   "notice", "count",  "selected",
        "row",    "heroes", "hero",    "code",  "decoded", "refused",
        // The keyboard's focus, which only the focus command prints.
        "focus"};
    return known;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string profile = CFuzzScratch::File("orvo.ini");
    ::unlink(profile.c_str());
    if (nul != std::string::npos) {
        std::ofstream file(profile, std::ios::binary);
        file << input.substr(nul + 1);
    }

    std::istringstream script(Redirect(input.substr(0, nul), profile,
                                       CFuzzScratch::File("snapshot.ppm")));
    std::ostringstream out;
    std::ostringstream err;
    const int status = CTraceDriver(out).Run(script, err);
    FuzzCheck(status == 0 || status == 2, "exit status 0 or 2");
    FuzzCheck((status == 2) == !err.str().empty(), "a malformed line, and only that, is reported");

    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        FuzzCheck(!line.empty() && line.back() != ' ', "no empty line, no trailing blank");
        FuzzCheck(KnownLines().count(line.substr(0, line.find(' '))) == 1,
                  "only kinds of line the format knows");
    }
    return 0;
}
