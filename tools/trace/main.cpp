#include <iostream>

#include "CTraceDriver.h"

int main()
{
    std::ios::sync_with_stdio(false);
    CTraceDriver driver(std::cout);
    return driver.Run(std::cin, std::cerr);
}
