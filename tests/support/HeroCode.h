// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "CHeroRecord.h"

// The code string a fresh record with these fields encodes to.
inline std::string CodeOf(const std::string& name, int balls, int score)
{
    CHeroRecord record;
    record.SetName(name);
    record.SetBalls(balls);
    record.SetScore(score);
    record.Encode();
    return record.GetCode();
}
