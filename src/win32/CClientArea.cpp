// SPDX-License-Identifier: MIT
#include "CClientArea.h"

namespace {

std::uint32_t SystemRgb(int index)
{
    const COLORREF colour = GetSysColor(index);
    return (std::uint32_t{GetRValue(colour)} << 16) | (std::uint32_t{GetGValue(colour)} << 8) |
           GetBValue(colour);
}

}  // namespace

void CClientArea::SetWindow(HWND hWnd, int nScale)
{
    m_hWnd = hWnd;
    m_nScale = nScale < 1 ? 1 : nScale;
    if (m_hWnd)
        TakeSystemColours();
}

void CClientArea::TakeSystemColours()
{
    SetSystemColours(CSystemColours{SystemRgb(COLOR_BTNFACE), SystemRgb(COLOR_3DHILIGHT),
                                    SystemRgb(COLOR_3DLIGHT), SystemRgb(COLOR_3DSHADOW),
                                    SystemRgb(COLOR_3DDKSHADOW)});
}

void CClientArea::Paint(HDC hPaintDC, const std::function<void(CDC&)>& draw)
{
    CDC dc = GetDC();
    draw(dc);
    Present(hPaintDC, CRect{0, 0, kWidth, kHeight});
}

void CClientArea::OnDrawn(const CRect& rc)
{
    if (!m_hWnd)
        return;
    HDC hDC = ::GetDC(m_hWnd);
    Present(hDC, rc);
    ::ReleaseDC(m_hWnd, hDC);
}

void CClientArea::Present(HDC hDC, const CRect& rc) const
{
    // The surface's rows are top-down 0xFFRRGGBB words: a 32-bit top-down
    // DIB, whose unused top byte the system ignores. The whole surface is
    // stretched, clipped to the part that changed.
    const CSurface& surface = Surface();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = surface.Width();
    info.bmiHeader.biHeight = -surface.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const int saved = SaveDC(hDC);
    IntersectClipRect(hDC, rc.left * m_nScale, rc.top * m_nScale, rc.right * m_nScale,
                      rc.bottom * m_nScale);
    // Nearest pixel: a crisp block for each surface pixel.
    SetStretchBltMode(hDC, COLORONCOLOR);
    StretchDIBits(hDC, 0, 0, surface.Width() * m_nScale, surface.Height() * m_nScale, 0, 0,
                  surface.Width(), surface.Height(), surface.Bits(), &info, DIB_RGB_COLORS,
                  SRCCOPY);
    RestoreDC(hDC, saved);
}
