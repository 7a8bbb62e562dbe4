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

TEST(HeapTrimTest, FreedMemoryLeavesOnceADialogIsGone)
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

TEST(HeapTrimTest, AStartedGameHasGivenBackWhatItsStartFreed)
{
    const auto pPin = FreeALotBelowTheTop();
    const long nBefore = ResidentKb();
    CStartedApp started;
    ASSERT_TRUE(started.Started());
    QCoreApplication::processEvents();
    EXPECT_LT(ResidentKb(), nBefore - kFreedKb / 2);
}
