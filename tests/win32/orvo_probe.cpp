// SPDX-License-Identifier: MIT
// Reports what the end-to-end test cannot see from X: the system colours,
// the tick count, and the game's windows as Windows sees them; given a
// program's path, also the sizes of the images in its main icon. With
// --reading, only what a screen reader in another process reads of the
// game's client area.
#include <windows.h>
#include <ole2.h>
#include <oleacc.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CWideText.h"

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

VARIANT ChildId(LONG id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// An object's name in UTF-8; "-" for none.
std::string NameOf(IAccessible* pAcc, LONG id)
{
    BSTR name = nullptr;
    if (FAILED(pAcc->get_accName(ChildId(id), &name)) || !name || !*name) {
        SysFreeString(name);
        return "-";
    }
    const std::string text = CWideText::ToUtf8(std::wstring(name, SysStringLen(name)));
    SysFreeString(name);
    return text;
}

// The client area's tree, one line a part: "part N name" for the client
// area's children, "cell R C name" for the board's cells, row by row, and
// "focus name" for the focus cell ("-" for none).
int PrintReading(HWND hWnd)
{
    IAccessible* pClient = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hWnd, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&pClient)))) {
        std::printf("no client object\n");
        return 1;
    }
    LONG parts = 0;
    pClient->get_accChildCount(&parts);
    for (LONG i = 1; i <= parts; ++i)
        std::printf("part %ld %s\n", i, NameOf(pClient, i).c_str());
    IDispatch* pDispatch = nullptr;
    IAccessible* pBoard = nullptr;
    if (SUCCEEDED(pClient->get_accChild(ChildId(1), &pDispatch)) && pDispatch) {
        pDispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&pBoard));
        pDispatch->Release();
    }
    LONG cells = 0;
    if (pBoard)
        pBoard->get_accChildCount(&cells);
    for (LONG i = 1; i <= cells; ++i)
        std::printf("cell %ld %ld %s\n", (i - 1) / 9 + 1, (i - 1) % 9 + 1,
                    NameOf(pBoard, i).c_str());
    VARIANT focus;
    VariantInit(&focus);
    std::string focusName = "-";
    if (pClient->get_accFocus(&focus) == S_OK && focus.vt == VT_DISPATCH && focus.pdispVal) {
        IAccessible* pFocus = nullptr;
        focus.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&pFocus));
        if (pFocus) {
            focusName = NameOf(pFocus, CHILDID_SELF);
            pFocus->Release();
        }
    }
    VariantClear(&focus);
    std::printf("focus %s\n", focusName.c_str());
    if (pBoard)
        pBoard->Release();
    pClient->Release();
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--reading") == 0) {
        std::vector<HWND> windows;
        EnumWindows(CollectGameWindow, reinterpret_cast<LPARAM>(&windows));
        if (windows.size() != 1) {
            std::printf("windows %zu\n", windows.size());
            return 1;
        }
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        const int result = PrintReading(windows[0]);
        CoUninitialize();
        return result;
    }
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
