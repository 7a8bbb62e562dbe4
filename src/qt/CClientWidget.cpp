// SPDX-License-Identifier: MIT
#include "CClientWidget.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "CAppInput.h"
#include "CBoardAccessible.h"
#include "CDC.h"
#include "CStartupProbe.h"

CClientWidget::CClientWidget(QWidget& parent, CAppInput& input) : QWidget(&parent), m_input(input)
{
    setFixedSize(kWidth, kHeight);
    // Every pixel comes from the surface; nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A screen reader sees the board, counters and preview through their
    // own interfaces rather than as one picture.
    static const bool bFactory = (QAccessible::installFactory(&CClientAccessible::Create), true);
    static_cast<void>(bFactory);
}

void CClientWidget::OnReadingChanged(const CBoardReader& reader)
{
    m_pReader = &reader;
    // Nothing is made for accessibility until a client asks.
    if (!QAccessible::isActive())
        return;
    if (auto* pClient = dynamic_cast<CClientAccessible*>(QAccessible::queryAccessibleInterface(this)))
        pClient->Update();
}

void CClientWidget::OnDrawn(const CRect& rc)
{
    m_bShowOnly = true;
    repaint(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    m_bShowOnly = false;
}

void CClientWidget::paintEvent(QPaintEvent* pEvent)
{
    if (!m_bShowOnly) {
        CDC dc(Surface());
        m_input.OnPaint(dc);
    }
    const CSurface& surface = Surface();
    const QImage image(reinterpret_cast<const uchar*>(surface.Bits()), surface.Width(),
                       surface.Height(), surface.Width() * 4, QImage::Format_RGB32);
    // Logical pixels are surface pixels; on a dense screen the painter
    // multiplies them by a whole factor, and without smoothing each one
    // becomes a crisp block.
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(pEvent->rect(), image, pEvent->rect());
    CStartupProbe::OnPainted();
}

int CClientWidget::Scale() const
{
    return std::max(1, qRound(devicePixelRatioF()));
}

void CClientWidget::mouseReleaseEvent(QMouseEvent* pEvent)
{
    // Qt gives logical pixels, in fractions on a dense screen; the input
    // takes the device pixel under the pointer.
    const QPointF pos = pEvent->position() * Scale();
    const int x = static_cast<int>(std::floor(pos.x()));
    const int y = static_cast<int>(std::floor(pos.y()));
    if (pEvent->button() == Qt::LeftButton)
        m_input.OnClick(x, y);
    else if (pEvent->button() == Qt::RightButton)
        m_input.OnRightClick(x, y);
}
