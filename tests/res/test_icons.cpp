// SPDX-License-Identifier: MIT
// The icons and the lookup by number and size.
#include "ByteOrder.h"
#include "CResources.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>

namespace {

struct CIcon {
    int nId;
    int nSize;
};

std::ostream& operator<<(std::ostream& os, const CIcon& i)
{
    return os << i.nId << '/' << i.nSize;
}

const CIcon kIcons[] = {{128, 16}, {128, 32}, {128, 128}, {148, 32}};

class IconTest : public ::testing::TestWithParam<CIcon> {};

TEST_P(IconTest, IsAPngOfItsSize)
{
    const auto res = FindEmbeddedResource(CResourceType::Icon, GetParam().nId, GetParam().nSize);
    ASSERT_TRUE(res);
    ASSERT_GT(res->nSize, 8u + 8u + 13u);
    EXPECT_EQ(std::memcmp(res->pData, "\x89PNG\r\n\x1a\n", 8), 0);
    EXPECT_EQ(std::memcmp(res->pData + 12, "IHDR", 4), 0);
    EXPECT_EQ(Be32(res->pData + 16), std::uint32_t(GetParam().nSize));
    EXPECT_EQ(Be32(res->pData + 20), std::uint32_t(GetParam().nSize));
}

INSTANTIATE_TEST_SUITE_P(Icons, IconTest, ::testing::ValuesIn(kIcons),
                         [](const auto& info) {
                             return "Icon" + std::to_string(info.param.nId) + "_" +
                                    std::to_string(info.param.nSize);
                         });

TEST(ResourceLookupTest, IconSizeZeroTakesTheLargest)
{
    const auto any = FindEmbeddedResource(CResourceType::Icon, 128);
    const auto large = FindEmbeddedResource(CResourceType::Icon, 128, 128);
    ASSERT_TRUE(any);
    ASSERT_TRUE(large);
    EXPECT_EQ(any->pData, large->pData);
}

TEST(ResourceLookupTest, AbsentResourcesAreNotFound)
{
    struct CMiss {
        CResourceType type;
        int nId;
        int nSize;
    };
    const CMiss misses[] = {
        {CResourceType::Icon, 128, 48},   // no such size
        {CResourceType::Icon, 148, 16},
        {CResourceType::Wave, 135, 0},    // no such number
        {CResourceType::Wave, 130, 0},    // the bitmap's number, wrong type
        {CResourceType::Bitmap, 131, 0},  // a sound's number, wrong type
        {CResourceType::Wave, 131, 32},   // sounds have no sizes
    };
    for (const CMiss& miss : misses) {
        EXPECT_FALSE(FindEmbeddedResource(miss.type, miss.nId, miss.nSize))
            << int(miss.type) << " " << miss.nId << " " << miss.nSize;
    }
}

}  // namespace
