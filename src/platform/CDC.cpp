// SPDX-License-Identifier: MIT
#include "CDC.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <vector>

namespace {

// Products of line lengths can exceed 64 bits once coordinates and the
// origin reach the ends of their range.
__extension__ typedef __int128 Wide;

std::int32_t Saturate(long long v)
{
    return static_cast<std::int32_t>(std::clamp<long long>(
        v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// The steps k in [0, count) for which start + k * step (step +1 or -1) lies
// in [0, limit): [first, last). Keeps a line's walk to the visible part.
bool VisibleSteps(long long start, long long step, long long count, long long limit,
                  long long& first, long long& last)
{
    const long long lo = step > 0 ? -start : start - limit + 1;
    const long long hi = step > 0 ? limit - start : start + 1;
    first = std::max(0LL, lo);
    last = std::min(count, hi);
    return first < last;
}

struct CRingShades {
    std::uint32_t topLeft;
    std::uint32_t bottomRight;
};

}  // namespace

void InflateRect(CRect& rc, std::int32_t dx, std::int32_t dy)
{
    rc.left = Saturate(static_cast<long long>(rc.left) - dx);
    rc.top = Saturate(static_cast<long long>(rc.top) - dy);
    rc.right = Saturate(static_cast<long long>(rc.right) + dx);
    rc.bottom = Saturate(static_cast<long long>(rc.bottom) + dy);
}

void CDC::SetViewportOrg(std::int32_t x, std::int32_t y)
{
    m_orgX = x;
    m_orgY = y;
}

void CDC::Touch(int left, int top, int right, int bottom)
{
    if (!HasTouched()) {
        m_touched = CRect{left, top, right, bottom};
        return;
    }
    m_touched.left = std::min(m_touched.left, left);
    m_touched.top = std::min(m_touched.top, top);
    m_touched.right = std::max(m_touched.right, right);
    m_touched.bottom = std::max(m_touched.bottom, bottom);
}

void CDC::Fill(long long left, long long top, long long right, long long bottom,
               std::uint32_t colour)
{
    const long long l = std::max(0LL, left + m_orgX);
    const long long t = std::max(0LL, top + m_orgY);
    const long long r = std::min<long long>(m_pSurface->Width(), right + m_orgX);
    const long long b = std::min<long long>(m_pSurface->Height(), bottom + m_orgY);
    if (l >= r || t >= b)
        return;
    const std::uint32_t pixel = (colour & CSurface::kRgbMask) | CSurface::kOpaque;
    std::uint32_t* bits = m_pSurface->Bits();
    const long long stride = m_pSurface->Width();
    for (long long y = t; y < b; ++y)
        std::fill(bits + y * stride + l, bits + y * stride + r, pixel);
    Touch(static_cast<int>(l), static_cast<int>(t), static_cast<int>(r), static_cast<int>(b));
}

void CDC::FillRect(const CRect& rc, std::uint32_t colour)
{
    Fill(rc.left, rc.top, rc.right, rc.bottom, colour);
}

void CDC::DrawRing(long long left, long long top, long long right, long long bottom,
                   std::uint32_t topLeft, std::uint32_t bottomRight, unsigned flags)
{
    if (flags & BF_TOP)
        Fill(left, top, right - 1, top + 1, topLeft);
    if (flags & BF_LEFT)
        Fill(left, top, left + 1, bottom - 1, topLeft);
    if (flags & BF_BOTTOM)
        Fill(left, bottom - 1, right, bottom, bottomRight);
    if (flags & BF_RIGHT)
        Fill(right - 1, top, right, bottom, bottomRight);
}

void CDC::DrawEdge(const CRect& rc, unsigned edge, unsigned flags)
{
    const CSystemColours& c = *m_pColours;
    const CRingShades raisedOuter{c.light3D, c.dkShadow3D};
    const CRingShades sunkenOuter{c.shadow3D, c.hilight3D};
    const CRingShades raisedInner{c.hilight3D, c.shadow3D};
    const CRingShades sunkenInner{c.dkShadow3D, c.light3D};

    const long long l = rc.left, t = rc.top, r = rc.right, b = rc.bottom;
    const CRingShades* outer = (edge & BDR_RAISEDOUTER)   ? &raisedOuter
                               : (edge & BDR_SUNKENOUTER) ? &sunkenOuter
                                                          : nullptr;
    const CRingShades* inner = (edge & BDR_RAISEDINNER)   ? &raisedInner
                               : (edge & BDR_SUNKENINNER) ? &sunkenInner
                                                          : nullptr;
    if (outer)
        DrawRing(l, t, r, b, outer->topLeft, outer->bottomRight, flags);
    if (inner)
        DrawRing(l + 1, t + 1, r - 1, b - 1, inner->topLeft, inner->bottomRight, flags);
}

bool CDC::BitBlt(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                 const CSurface& src, std::int32_t sx, std::int32_t sy, std::uint32_t rop)
{
    return Blit(static_cast<long long>(x) + m_orgX, static_cast<long long>(y) + m_orgY, w, h,
                src, sx, sy, rop);
}

bool CDC::BitBlt(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                 const CDC& src, std::int32_t sx, std::int32_t sy, std::uint32_t rop)
{
    return Blit(static_cast<long long>(x) + m_orgX, static_cast<long long>(y) + m_orgY, w, h,
                *src.m_pSurface, static_cast<long long>(sx) + src.m_orgX,
                static_cast<long long>(sy) + src.m_orgY, rop);
}

bool CDC::Blit(long long x, long long y, long long w, long long h, const CSurface& src,
               long long sx, long long sy, std::uint32_t rop)
{
    if (rop != SRCCOPY && rop != SRCAND && rop != SRCINVERT)
        return false;
    const long long i0 = std::max({0LL, -x, -sx});
    const long long i1 = std::min<long long>({w, m_pSurface->Width() - x, src.Width() - sx});
    const long long j0 = std::max({0LL, -y, -sy});
    const long long j1 = std::min<long long>({h, m_pSurface->Height() - y, src.Height() - sy});
    if (i0 >= i1 || j0 >= j1)
        return true;

    const long long cols = i1 - i0;
    const long long rows = j1 - j0;
    const long long srcStride = src.Width();
    const std::uint32_t* from = src.Bits() + (sy + j0) * srcStride + (sx + i0);
    // Reading within the same surface: take the whole block first, so that
    // an overlapping copy never reads what it has just written.
    std::vector<std::uint32_t> block;
    if (&src == m_pSurface) {
        block.resize(static_cast<std::size_t>(cols * rows));
        for (long long j = 0; j < rows; ++j)
            std::copy(from + j * srcStride, from + j * srcStride + cols, block.begin() + j * cols);
        from = block.data();
    }
    const long long fromStride = block.empty() ? srcStride : cols;

    const long long dstStride = m_pSurface->Width();
    std::uint32_t* to = m_pSurface->Bits() + (y + j0) * dstStride + (x + i0);
    const auto combine = [&](auto op) {
        for (long long j = 0; j < rows; ++j) {
            const std::uint32_t* s = from + j * fromStride;
            std::uint32_t* d = to + j * dstStride;
            for (long long i = 0; i < cols; ++i)
                d[i] = op(d[i], s[i]);
        }
    };
    // One loop per operation, so that none of them tests rop per pixel.
    if (rop == SRCCOPY) {
        for (long long j = 0; j < rows; ++j)
            std::copy(from + j * fromStride, from + j * fromStride + cols, to + j * dstStride);
    } else if (rop == SRCAND)
        combine([](std::uint32_t d, std::uint32_t s) { return d & s; });
    else
        combine([](std::uint32_t d, std::uint32_t s) { return (d ^ s) | CSurface::kOpaque; });
    Touch(static_cast<int>(x + i0), static_cast<int>(y + j0), static_cast<int>(x + i1),
          static_cast<int>(y + j1));
    return true;
}

std::uint32_t CDC::SelectPen(std::uint32_t colour)
{
    const std::uint32_t old = m_pen;
    m_pen = colour & CSurface::kRgbMask;
    return old;
}

void CDC::MoveTo(std::int32_t x, std::int32_t y)
{
    m_curX = x;
    m_curY = y;
}

void CDC::Plot(long long x, long long y)
{
    if (!m_pSurface->Contains(x, y))
        return;
    const int px = static_cast<int>(x), py = static_cast<int>(y);
    m_pSurface->SetPixel(px, py, m_pen);
    Touch(px, py, px + 1, py + 1);
}

void CDC::XorDot(long long x, long long y, std::uint32_t colour)
{
    if ((x + y) % 2 != 0 || !m_pSurface->Contains(x, y))
        return;
    const int px = static_cast<int>(x), py = static_cast<int>(y);
    m_pSurface->SetPixel(px, py, m_pSurface->Pixel(px, py) ^ (colour & CSurface::kRgbMask));
    Touch(px, py, px + 1, py + 1);
}

void CDC::DrawFocusRect(const CRect& rc, std::uint32_t xorColour)
{
    const long long l = static_cast<long long>(rc.left) + m_orgX;
    const long long t = static_cast<long long>(rc.top) + m_orgY;
    const long long r = static_cast<long long>(rc.right) + m_orgX;
    const long long b = static_cast<long long>(rc.bottom) + m_orgY;
    if (l >= r || t >= b)
        return;
    // The top and bottom rows whole, then the sides between them; a frame
    // one pixel high or wide has a single row or column.
    for (long long x = l; x < r; ++x) {
        XorDot(x, t, xorColour);
        if (b - 1 > t)
            XorDot(x, b - 1, xorColour);
    }
    for (long long y = t + 1; y < b - 1; ++y) {
        XorDot(l, y, xorColour);
        if (r - 1 > l)
            XorDot(r - 1, y, xorColour);
    }
}

// Walks the major axis one pixel per step and rounds the minor axis to the
// nearest pixel; only the steps that can land on the surface are visited.
void CDC::LineTo(std::int32_t x, std::int32_t y)
{
    const long long x0 = static_cast<long long>(m_curX) + m_orgX;
    const long long y0 = static_cast<long long>(m_curY) + m_orgY;
    const long long x1 = static_cast<long long>(x) + m_orgX;
    const long long y1 = static_cast<long long>(y) + m_orgY;
    m_curX = x;
    m_curY = y;

    const bool xMajor = std::llabs(x1 - x0) >= std::llabs(y1 - y0);
    const long long major0 = xMajor ? x0 : y0, minor0 = xMajor ? y0 : x0;
    const long long majorLen = std::llabs(xMajor ? x1 - x0 : y1 - y0);
    const long long minorLen = std::llabs(xMajor ? y1 - y0 : x1 - x0);
    const long long majorStep = (xMajor ? x1 - x0 : y1 - y0) < 0 ? -1 : 1;
    const long long minorStep = (xMajor ? y1 - y0 : x1 - x0) < 0 ? -1 : 1;
    const long long majorLimit = xMajor ? m_pSurface->Width() : m_pSurface->Height();

    long long first = 0, last = 0;
    if (majorLen == 0 || !VisibleSteps(major0, majorStep, majorLen, majorLimit, first, last))
        return;
    for (long long k = first; k < last; ++k) {
        const Wide num = Wide(2) * k * minorLen + majorLen;
        const long long minor = minor0 + minorStep * static_cast<long long>(num / (Wide(2) * majorLen));
        const long long major = major0 + majorStep * k;
        if (xMajor)
            Plot(major, minor);
        else
            Plot(minor, major);
    }
}
