// SPDX-License-Identifier: MIT
#include "CBallStrip.h"

#include "WinResource.h"

CSurface CBallStrip::Load(HINSTANCE hInstance)
{
    // A DIB section keeps the stored colours whatever the screen's depth.
    auto hBitmap = static_cast<HBITMAP>(LoadImageA(hInstance, MAKEINTRESOURCEA(IDB_BALLS),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!hBitmap)
        return CSurface();
    BITMAP info{};
    GetObjectA(hBitmap, sizeof info, &info);
    CSurface strip(info.bmWidth, info.bmHeight);
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof request.bmiHeader;
    request.bmiHeader.biWidth = info.bmWidth;
    request.bmiHeader.biHeight = -info.bmHeight;  // top-down, as CSurface keeps its rows
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    HDC hScreen = GetDC(nullptr);
    const int rows = GetDIBits(hScreen, hBitmap, 0, static_cast<UINT>(info.bmHeight), strip.Bits(),
                               &request, DIB_RGB_COLORS);
    ReleaseDC(nullptr, hScreen);
    DeleteObject(hBitmap);
    if (rows != info.bmHeight)
        return CSurface();
    std::uint32_t* bits = strip.Bits();
    for (int i = 0; i < info.bmWidth * info.bmHeight; ++i)
        bits[i] |= CSurface::kOpaque;
    return strip;
}
