// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

class CSoundPlayer;

// Plays the game's sound effect id from the program's resources on player,
// to its end; nothing when it is missing or damaged. Kept apart from the
// session, whose list header brings in <windows.h> on Windows, where
// FindResource names the system's function.
void PlayEffectSound(CSoundPlayer& player, std::uint16_t id);
