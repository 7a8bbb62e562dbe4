// SPDX-License-Identifier: MIT
// Memory the program has freed goes back to the system once a dialog has
// been closed and destroyed, and once the start is over.
#include <gtest/gtest.h>

#include <QDialog>
#include <memory>
#include <unistd.h>
#include <vector>

#include "AppTestSupport.h"
#include "CHeapTrim.h"

namespace {

// AddressSanitizer brings an allocator of its own, which keeps freed memory
// in quarantine and knows nothing of the C library's trim.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kOwnAllocator = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kOwnAllocator = true;
#else
constexpr bool kOwnAllocator = false;
#endif
#else
constexpr bool kOwnAllocator = false;
#endif

class HeapTrimTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (kOwnAllocator)
            GTEST_SKIP() << "the sanitizer's allocator does not give memory back on a trim";
    }
};

long ResidentKb()
{
    long nPages = 0, nResident = 0;
    std::FILE* pFile = std::fopen("/proc/self/statm", "r");
    if (pFile) {
        if (std::fscanf(pFile, "%ld %ld", &nPages, &nResident) != 2)
            nResident = 0;
        std::fclose(pFile);
    }
    return nResident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Far more than a start or a dialog allocates meanwhile.
constexpr long kFreedKb = 64 * 1024;

// 64 MB in small blocks, written to and freed again, with one block kept
// after them so that the heap's top cannot simply shrink over the hole.
std::unique_ptr<char[]> FreeALotBelowTheTop()
{
    std::vector<std::unique_ptr<char[]>> blocks;
    for (long n = 0; n < kFreedKb * 1024 / 512; ++n) {
        blocks.emplace_back(new char[512]);
        std::fill_n(blocks.back().get(), 512, 'x');
    }
    std::unique_ptr<char[]> pPin(new char[512]);
    blocks.clear();
    return pPin;
}

}  // namespace

TEST_F(HeapTrimTest, FreedMemoryLeavesOnceADialogIsGone)
{
    CHeapTrim trim;
    const auto pPin = FreeALotBelowTheTop();
    const long nBefore = ResidentKb();
    {
        QDialog dialog;
        dialog.show();
        QCoreApplication::processEvents();
        EXPECT_GT(ResidentKb(), nBefore - kFreedKb / 2) << "given back while the dialog is open";
    }
    QCoreApplication::processEvents();
    EXPECT_LT(ResidentKb(), nBefore - kFreedKb / 2);
}

TEST_F(HeapTrimTest, AStartedGameHasGivenBackWhatItsStartFreed)
{
    const auto pPin = FreeALotBelowTheTop();
    const long nBefore = ResidentKb();
    CStartedApp started;
    ASSERT_TRUE(started.Started());
    QCoreApplication::processEvents();
    EXPECT_LT(ResidentKb(), nBefore - kFreedKb / 2);
}
