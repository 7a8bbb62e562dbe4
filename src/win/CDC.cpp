// SPDX-License-Identifier: MIT
#include "CDC.h"

CDC::~CDC()
{
    ReleaseObjects();
}

void CDC::ReleaseObjects()
{
    if (!m_hPen)
        return;
    SelectObject(m_hDC, m_hOldPen);
    DeleteObject(m_hPen);
    m_hPen = nullptr;
}

void CDC::SetViewportOrg(std::int32_t x, std::int32_t y)
{
    SetViewportOrgEx(m_hDC, x, y, nullptr);
}

void CDC::FillRect(const RECT& rc, std::uint32_t colour)
{
    HBRUSH hBrush = CreateSolidBrush(ToColorRef(colour));
    ::FillRect(m_hDC, &rc, hBrush);
    DeleteObject(hBrush);
}

void CDC::DrawEdge(const RECT& rc, unsigned edge, unsigned flags)
{
    RECT copy = rc;
    ::DrawEdge(m_hDC, &copy, edge, flags);
}

bool CDC::BitBlt(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                 const CSurface& src, std::int32_t sx, std::int32_t sy, std::uint32_t rop)
{
    if (src.IsEmpty())
        return true;
    // CSurface rows are top-down 0xFFRRGGBB words: a 32-bit top-down DIB.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = src.Width();
    info.bmiHeader.biHeight = -src.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hBitmap = CreateDIBSection(m_hDC, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (!hBitmap)
        return false;
    CopyMemory(pBits, src.Bits(),
               static_cast<SIZE_T>(src.Width()) * static_cast<SIZE_T>(src.Height()) * 4);
    HDC hMemDC = CreateCompatibleDC(m_hDC);
    HGDIOBJ hOld = SelectObject(hMemDC, hBitmap);
    const BOOL ok = ::BitBlt(m_hDC, x, y, w, h, hMemDC, sx, sy, rop);
    SelectObject(hMemDC, hOld);
    DeleteDC(hMemDC);
    DeleteObject(hBitmap);
    return ok != FALSE;
}

bool CDC::BitBlt(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                 const CDC& src, std::int32_t sx, std::int32_t sy, std::uint32_t rop)
{
    return ::BitBlt(m_hDC, x, y, w, h, src.m_hDC, sx, sy, rop) != FALSE;
}

std::uint32_t CDC::SelectPen(std::uint32_t colour)
{
    const std::uint32_t old = m_penColour;
    HPEN hPen = CreatePen(PS_SOLID, 1, ToColorRef(colour));
    HGDIOBJ hPrevious = SelectObject(m_hDC, hPen);
    if (m_hPen)
        DeleteObject(m_hPen);
    else
        m_hOldPen = hPrevious;
    m_hPen = hPen;
    m_penColour = colour & CSurface::kRgbMask;
    return old;
}

void CDC::MoveTo(std::int32_t x, std::int32_t y)
{
    MoveToEx(m_hDC, x, y, nullptr);
}

void CDC::LineTo(std::int32_t x, std::int32_t y)
{
    ::LineTo(m_hDC, x, y);
}
