// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>

// The bytes of one asset carried inside the executable, as its file holds
// them; they stay valid for the whole run.
struct CResourceData {
    const unsigned char* pData;
    std::size_t nSize;
};

enum class CResourceType { Bitmap, Wave, Icon };

// Looks up an embedded resource by its number; nullopt when absent.
// Icons exist in several pixel sizes: size picks one, 0 the largest.
// Bitmaps and sounds have one size only, asked for as 0.
std::optional<CResourceData> FindEmbeddedResource(CResourceType type, int id, int size = 0);
