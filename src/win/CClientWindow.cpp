// SPDX-License-Identifier: MIT
#include "CClientWindow.h"

CClientWindow::~CClientWindow()
{
    FreeBuffer();
}

void CClientWindow::FreeBuffer()
{
    if (!m_hBufferDC)
        return;
    SelectObject(m_hBufferDC, m_hOldBuffer);
    DeleteObject(m_hBuffer);
    DeleteDC(m_hBufferDC);
    m_hBufferDC = nullptr;
    m_hBuffer = nullptr;
}

void CClientWindow::SetWindow(HWND hWnd, int nScale)
{
    FreeBuffer();
    m_hWnd = hWnd;
    m_nScale = nScale < 1 ? 1 : nScale;
    if (!m_hWnd || m_nScale == 1)
        return;
    HDC hScreen = ::GetDC(nullptr);
    m_hBufferDC = CreateCompatibleDC(hScreen);
    m_hBuffer = CreateCompatibleBitmap(hScreen, kWidth, kHeight);
    ::ReleaseDC(nullptr, hScreen);
    m_hOldBuffer = SelectObject(m_hBufferDC, m_hBuffer);
    const RECT all{0, 0, kWidth, kHeight};
    ::FillRect(m_hBufferDC, &all, GetSysColorBrush(COLOR_BTNFACE));
}

CDC CClientWindow::GetDC()
{
    if (m_hBufferDC)
        return CDC(m_hBufferDC);
    return CDC(m_hWnd ? ::GetDC(m_hWnd) : nullptr);
}

void CClientWindow::ReleaseDC(CDC& dc)
{
    dc.ReleaseObjects();
    // The panels leave their origin behind; the next user starts at 0, 0.
    SetViewportOrgEx(dc.GetSafeHdc(), 0, 0, nullptr);
    if (!m_hWnd)
        return;
    if (!m_hBufferDC) {
        ::ReleaseDC(m_hWnd, dc.GetSafeHdc());
        return;
    }
    HDC hDC = ::GetDC(m_hWnd);
    Present(hDC);
    ::ReleaseDC(m_hWnd, hDC);
}

void CClientWindow::Present(HDC hDC) const
{
    SetStretchBltMode(hDC, COLORONCOLOR);
    StretchBlt(hDC, 0, 0, kWidth * m_nScale, kHeight * m_nScale, m_hBufferDC, 0, 0, kWidth,
               kHeight, SRCCOPY);
}
