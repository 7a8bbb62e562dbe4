// SPDX-License-Identifier: MIT
#include <iostream>

#include "CTraceDriver.h"

int main()
{
    std::ios::sync_with_stdio(false);
    // The driver flushes when it is about to wait for input, not on every read.
    std::cin.tie(nullptr);
    CTraceDriver driver(std::cout);
    return driver.Run(std::cin, std::cerr);
}
