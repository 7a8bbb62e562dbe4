// SPDX-License-Identifier: MIT
// Reports what the end-to-end test cannot see from X: the system colours,
// the tick count, and the game's windows as Windows sees them.
#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

const struct {
    int index;
    const char* name;
} kColours[] = {
    {COLOR_BTNFACE, "COLOR_BTNFACE"},       {COLOR_3DHILIGHT, "COLOR_3DHILIGHT"},
    {COLOR_3DLIGHT, "COLOR_3DLIGHT"},       {COLOR_3DSHADOW, "COLOR_3DSHADOW"},
    {COLOR_3DDKSHADOW, "COLOR_3DDKSHADOW"},
};

BOOL CALLBACK CollectGameWindow(HWND hWnd, LPARAM lParam)
{
    char className[64] = {}, title[64] = {};
    GetClassNameA(hWnd, className, sizeof className);
    GetWindowTextA(hWnd, title, sizeof title);
    if (lstrcmpA(className, "OrvoWindow") == 0 && lstrcmpA(title, "Orvo") == 0)
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

}  // namespace

int main()
{
    std::printf("ticks %lu\n", static_cast<unsigned long>(GetTickCount()));
    for (const auto& colour : kColours) {
        const COLORREF c = GetSysColor(colour.index);
        std::printf("colour %s %02X%02X%02X\n", colour.name, GetRValue(c), GetGValue(c),
                    GetBValue(c));
    }
    std::vector<HWND> windows;
    EnumWindows(CollectGameWindow, reinterpret_cast<LPARAM>(&windows));
    std::printf("windows %zu\n", windows.size());
    for (HWND hWnd : windows) {
        RECT client{};
        GetClientRect(hWnd, &client);
        POINT origin{0, 0};
        ClientToScreen(hWnd, &origin);
        std::printf("window visible %d iconic %d client %ld %ld origin %ld %ld\n",
                    IsWindowVisible(hWnd) ? 1 : 0, IsIconic(hWnd) ? 1 : 0,
                    client.right - client.left, client.bottom - client.top, origin.x, origin.y);
    }
    return 0;
}
