// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "CSurface.h"

// Rectangles for the drawing calls: right and bottom are exclusive, so
// (2, 2, 34, 34) is 32 x 32 pixels.
struct CRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

inline bool operator==(const CRect& a, const CRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Grows a rectangle by dx and dy on every side (shrinks it when negative).
void InflateRect(CRect& rc, std::int32_t dx, std::int32_t dy);

// The system colours the game is drawn with: the window background and the
// four shades of a three-dimensional edge.
constexpr std::uint32_t COLOR_BTNFACE_RGB = 0xF0F0F0;
constexpr std::uint32_t COLOR_3DHILIGHT_RGB = 0xFFFFFF;
constexpr std::uint32_t COLOR_3DLIGHT_RGB = 0xE3E3E3;
constexpr std::uint32_t COLOR_3DSHADOW_RGB = 0xA0A0A0;
constexpr std::uint32_t COLOR_3DDKSHADOW_RGB = 0x404040;

// The same five as a set: the ones above unless a shell takes the system's
// own (a window's background and edges then match the rest of the desktop).
struct CSystemColours {
    std::uint32_t btnFace = COLOR_BTNFACE_RGB;
    std::uint32_t hilight3D = COLOR_3DHILIGHT_RGB;
    std::uint32_t light3D = COLOR_3DLIGHT_RGB;
    std::uint32_t shadow3D = COLOR_3DSHADOW_RGB;
    std::uint32_t dkShadow3D = COLOR_3DDKSHADOW_RGB;
};

inline constexpr CSystemColours kDefaultSystemColours{};

// DrawEdge's flags and BitBlt's raster operations under their Windows names
// and values. Where <windows.h> came first they are its macros, with the
// same values; where it comes later, its macros take over the names.
#ifndef BDR_RAISEDOUTER
// DrawEdge: which rings (outer, inner; raised or sunken) and which sides.
constexpr unsigned BDR_RAISEDOUTER = 0x0001;
constexpr unsigned BDR_SUNKENOUTER = 0x0002;
constexpr unsigned BDR_RAISEDINNER = 0x0004;
constexpr unsigned BDR_SUNKENINNER = 0x0008;
constexpr unsigned EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr unsigned BF_LEFT = 0x0001;
constexpr unsigned BF_TOP = 0x0002;
constexpr unsigned BF_RIGHT = 0x0004;
constexpr unsigned BF_BOTTOM = 0x0008;
constexpr unsigned BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
#endif

#ifndef SRCCOPY
// BitBlt raster operations: per-pixel copy, AND, XOR of the RGB values.
constexpr std::uint32_t SRCCOPY = 0x00CC0020;
constexpr std::uint32_t SRCAND = 0x008800C6;
constexpr std::uint32_t SRCINVERT = 0x00660046;
#endif

// A drawing context over a surface, with the calls the panels are written
// against. Coordinates are logical: the viewport origin is added to them.
// Every call clips to the surface, whatever the coordinates, and keeps the
// bounding rectangle of the pixels it wrote so that a window can show them.
class CDC {
public:
    // DrawEdge shades with colours, which must outlive the context.
    explicit CDC(CSurface& surface, const CSystemColours& colours = kDefaultSystemColours)
        : m_pSurface(&surface), m_pColours(&colours)
    {
    }

    CSurface& Surface() const { return *m_pSurface; }

    void SetViewportOrg(std::int32_t x, std::int32_t y);

    // Fills left..right - 1, top..bottom - 1; an empty rectangle fills nothing.
    void FillRect(const CRect& rc, std::uint32_t colour);

    // Rings from the outside in: the outer ring on the rectangle's outermost
    // pixels, the inner one a pixel further in. Top and left sides take the
    // ring's first shade, bottom and right its second; the bottom and right
    // sides are drawn last and so own the top-right and bottom-left corners.
    void DrawEdge(const CRect& rc, unsigned edge, unsigned flags);

    // Combines w x h pixels of the source at (sx, sy) onto (x, y). A surface
    // source is addressed in its own pixels, a context source in its logical
    // coordinates. Only pixels inside both surfaces are touched. Source and
    // destination may overlap: the whole source is read before anything is
    // written. False for an unknown raster operation.
    bool BitBlt(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                const CSurface& src, std::int32_t sx, std::int32_t sy, std::uint32_t rop);
    bool BitBlt(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                const CDC& src, std::int32_t sx, std::int32_t sy, std::uint32_t rop);

    // A one-pixel solid pen; returns the colour of the pen it replaces.
    std::uint32_t SelectPen(std::uint32_t colour);
    void MoveTo(std::int32_t x, std::int32_t y);
    // Draws from the current position up to, not including, (x, y), which
    // becomes the current position.
    void LineTo(std::int32_t x, std::int32_t y);

    // A focus frame in the classic style: every other pixel of the
    // rectangle's one-pixel border, those whose surface x + y is even, XORed
    // with xorColour. Each pixel is visited once, corners too, so drawing
    // the same frame twice leaves the surface as it was.
    void DrawFocusRect(const CRect& rc, std::uint32_t xorColour);

    // Bounding rectangle, in surface pixels, of everything drawn so far.
    bool HasTouched() const { return m_touched.right > m_touched.left; }
    CRect Touched() const { return m_touched; }
    void ResetTouched() { m_touched = CRect{0, 0, 0, 0}; }

private:
    void Fill(long long left, long long top, long long right, long long bottom,
              std::uint32_t colour);
    void DrawRing(long long left, long long top, long long right, long long bottom,
                  std::uint32_t topLeft, std::uint32_t bottomRight, unsigned flags);
    bool Blit(long long x, long long y, long long w, long long h, const CSurface& src,
              long long sx, long long sy, std::uint32_t rop);
    void Plot(long long x, long long y);
    // XORs the pixel at surface (x, y) with colour when it is a dot of the
    // focus pattern and on the surface.
    void XorDot(long long x, long long y, std::uint32_t colour);
    void Touch(int left, int top, int right, int bottom);

    CSurface* m_pSurface;
    const CSystemColours* m_pColours;
    std::int32_t m_orgX = 0;
    std::int32_t m_orgY = 0;
    std::int32_t m_curX = 0;
    std::int32_t m_curY = 0;
    std::uint32_t m_pen = 0;
    CRect m_touched{0, 0, 0, 0};
};
