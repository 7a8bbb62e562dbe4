// SPDX-License-Identifier: MIT
// Reports what the end-to-end test cannot see from X: the system colours,
// the tick count, and the game's windows as Windows sees them; given a
// program's path, also the sizes of the images in its main icon.
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

// The icon group's directory as the resource compiler stores it.
#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved, type, count;
    GroupIconEntry entries[1];
};
#pragma pack(pop)

void PrintIconSizes(const char* program)
{
    HMODULE hModule = LoadLibraryExA(program, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC hInfo = hModule ? FindResourceA(hModule, MAKEINTRESOURCEA(128), RT_GROUP_ICON) : nullptr;
    const auto* pGroup =
        hInfo ? static_cast<const GroupIconHeader*>(LockResource(LoadResource(hModule, hInfo)))
              : nullptr;
    std::printf("icon");
    for (WORD i = 0; pGroup && i < pGroup->count; ++i)
        std::printf(" %d", pGroup->entries[i].width ? pGroup->entries[i].width : 256);
    std::printf("\n");
    if (hModule)
        FreeLibrary(hModule);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1)
        PrintIconSizes(argv[1]);
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
