// SPDX-License-Identifier: MIT
#pragma once

// The drawing context the panels use, on Windows: a real device context.
// RECT, SRCCOPY, SRCAND, SRCINVERT, EDGE_* and BF_* are the system's own.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdint>

#include "CSurface.h"

inline bool operator==(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

inline void InflateRect(RECT& rc, std::int32_t dx, std::int32_t dy)
{
    ::InflateRect(&rc, dx, dy);
}

// The game names colours 0xRRGGBB; GDI wants 0x00BBGGRR.
constexpr COLORREF ToColorRef(std::uint32_t rgb)
{
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// Owns nothing of the device context itself (the window hands it out and
// takes it back); the pen it selects is its own and is released with it.
class CDC {
public:
    explicit CDC(HDC hDC) : m_hDC(hDC) {}
    ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    // Puts back the pen the context came with and frees ours; runs before
    // the context goes back to its window.
    void ReleaseObjects();

    void SetViewportOrg(std::int32_t x, std::int32_t y);
    void FillRect(const RECT& rc, std::uint32_t colour);
    // The system's edge, in the system's 3-D colours.
    void DrawEdge(const RECT& rc, unsigned edge, unsigned flags);

    // A surface source (the ball strip) goes through a memory context of its
    // own, so the raster operation is GDI's.
    bool BitBlt(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                const CSurface& src, std::int32_t sx, std::int32_t sy, std::uint32_t rop);
    bool BitBlt(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                const CDC& src, std::int32_t sx, std::int32_t sy, std::uint32_t rop);

    // A one-pixel solid pen; returns the colour of the pen it replaces.
    std::uint32_t SelectPen(std::uint32_t colour);
    void MoveTo(std::int32_t x, std::int32_t y);
    void LineTo(std::int32_t x, std::int32_t y);

private:
    HDC m_hDC;
    HPEN m_hPen = nullptr;
    HGDIOBJ m_hOldPen = nullptr;
    std::uint32_t m_penColour = 0;
};
