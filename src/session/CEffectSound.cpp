// SPDX-License-Identifier: MIT
#include "CEffectSound.h"

#include "CResources.h"
#include "CSoundPlayer.h"
#include "CWaveFile.h"

void PlayEffectSound(CSoundPlayer& player, std::uint16_t id)
{
    // Looked up and read afresh every time: the sounds are tiny, and a
    // damaged one then costs only its own effect.
    const auto resource = FindResource(CResourceType::Wave, id);
    if (!resource)
        return;
    CWaveFile wave;
    if (wave.Parse(resource->pData, resource->nSize))
        player.Play(wave);
}
