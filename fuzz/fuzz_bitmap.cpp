// SPDX-License-Identifier: MIT
// The decoder trusts nothing in a file's headers; this holds it to that.
#include <cstddef>
#include <cstdint>

#include "CBitmap.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A bitmap that already holds a picture: a refused file must leave it.
    static const std::uint8_t kTwoByOne[] = {
        'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,     // file header
        40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0,  // info header
        0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0, 0, 0, 0, 0, 0,
        0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0, 0};         // one padded row
    CBitmap bitmap;
    FuzzCheck(bitmap.Decode(kTwoByOne, sizeof kTwoByOne), "the fixture decodes");
    const CSurface before = bitmap.Surface();

    if (!bitmap.Decode(data, size)) {
        FuzzCheck(bitmap.Surface() == before, "a refused file leaves the bitmap as it was");
        return 0;
    }
    const CSurface& surface = bitmap.Surface();
    FuzzCheck(surface.Width() >= 1 && surface.Width() <= CBitmap::kMaxSide &&
                  surface.Height() >= 1 && surface.Height() <= CBitmap::kMaxSide,
              "sides within bounds");
    // Every pixel came out of the file, three bytes each.
    FuzzCheck(static_cast<std::size_t>(surface.Width()) * surface.Height() * 3 <= size,
              "no pixel without its bytes");
    return 0;
}
