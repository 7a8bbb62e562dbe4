// SPDX-License-Identifier: MIT
#include "CResources.h"

#include "resource.h"

namespace orvo_embedded {
#define ORVO_EMBEDDED(name) \
    extern const unsigned char name[]; \
    extern const std::size_t name##_size;
ORVO_EMBEDDED(balls_bmp)
ORVO_EMBEDDED(line_wav)
ORVO_EMBEDDED(place_wav)
ORVO_EMBEDDED(step_wav)
ORVO_EMBEDDED(nopath_wav)
ORVO_EMBEDDED(hero_wav)
ORVO_EMBEDDED(orvo_16_png)
ORVO_EMBEDDED(orvo_32_png)
ORVO_EMBEDDED(orvo_128_png)
ORVO_EMBEDDED(hero_32_png)
#undef ORVO_EMBEDDED
}  // namespace orvo_embedded

namespace {

struct CResourceEntry {
    CResourceType type;
    int nId;
    int nSize;  // pixels for icons, 0 otherwise
    const unsigned char* pData;
    const std::size_t* pSize;
};

#define ORVO_ENTRY(type, id, size, name) \
    {CResourceType::type, id, size, orvo_embedded::name, &orvo_embedded::name##_size}

// Icons largest first: asking for size 0 takes the first that matches.
const CResourceEntry g_resources[] = {
    ORVO_ENTRY(Bitmap, IDB_BALLS, 0, balls_bmp),
    ORVO_ENTRY(Wave, IDR_WAVE_LINE, 0, line_wav),
    ORVO_ENTRY(Wave, IDR_WAVE_PLACE, 0, place_wav),
    ORVO_ENTRY(Wave, IDR_WAVE_STEP, 0, step_wav),
    ORVO_ENTRY(Wave, IDR_WAVE_NOPATH, 0, nopath_wav),
    ORVO_ENTRY(Wave, IDR_WAVE_HERO, 0, hero_wav),
    ORVO_ENTRY(Icon, IDR_MAINFRAME, 128, orvo_128_png),
    ORVO_ENTRY(Icon, IDR_MAINFRAME, 32, orvo_32_png),
    ORVO_ENTRY(Icon, IDR_MAINFRAME, 16, orvo_16_png),
    ORVO_ENTRY(Icon, IDI_HERO, 32, hero_32_png),
};

#undef ORVO_ENTRY

bool Matches(const CResourceEntry& entry, CResourceType type, int id, int size)
{
    if (entry.type != type || entry.nId != id) {
        return false;
    }
    return size == entry.nSize || (type == CResourceType::Icon && size == 0);
}

}  // namespace

std::optional<CResourceData> FindEmbeddedResource(CResourceType type, int id, int size)
{
    for (const CResourceEntry& entry : g_resources) {
        if (Matches(entry, type, id, size)) {
            return CResourceData{entry.pData, *entry.pSize};
        }
    }
    return std::nullopt;
}
