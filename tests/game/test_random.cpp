// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "CRandom.h"

TEST(Random, SeedOneGivesTheKnownDraws)
{
    CRandom random;
    random.SeedRandom(1);
    for (std::uint32_t expected : {41u, 18467u, 6334u, 26500u, 19169u})
        EXPECT_EQ(random.NextRandom(), expected);
}
