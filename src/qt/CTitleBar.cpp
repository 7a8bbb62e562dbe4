// SPDX-License-Identifier: MIT
#include "CTitleBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QWindow>
#include <algorithm>

namespace {

// Space round the icon and the buttons, and between the buttons.
constexpr int kMargin = 4;
constexpr int kSpacing = 2;

}  // namespace

CTitleBar::CTitleBar(QWidget& window) : QWidget(&window), m_window(window)
{
    setObjectName(QStringLiteral("TitleBar"));
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
}

QSize CTitleBar::sizeHint() const
{
    const int nHeight = std::max(style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this),
                                 fontMetrics().height() + 3 * kMargin);
    // No wider than its buttons: the window is as wide as its client area.
    return QSize(3 * nHeight, nHeight);
}

QSize CTitleBar::minimumSizeHint() const
{
    return sizeHint();
}

QRect CTitleBar::ButtonRect(Button button) const
{
    // Squares at the right end: close outermost, minimise beside it.
    const int nSide = height() - 2 * kMargin;
    const int nRight = width() - kMargin;
    switch (button) {
    case Button::Close:
        return QRect(nRight - nSide, kMargin, nSide, nSide);
    case Button::Minimise:
        return QRect(nRight - 2 * nSide - kSpacing, kMargin, nSide, nSide);
    case Button::None:
        break;
    }
    return QRect();
}

CTitleBar::Button CTitleBar::ButtonAt(const QPoint& pos) const
{
    for (Button button : {Button::Minimise, Button::Close})
        if (ButtonRect(button).contains(pos))
            return button;
    return Button::None;
}

void CTitleBar::SetHovered(Button button)
{
    if (button == m_hovered)
        return;
    m_hovered = button;
    update();
}

bool CTitleBar::event(QEvent* pEvent)
{
    switch (pEvent->type()) {
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::WindowTitleChange:
    case QEvent::WindowIconChange:
        update();
        break;
    default:
        break;
    }
    return QWidget::event(pEvent);
}

void CTitleBar::PaintButton(QPainter& painter, Button button) const
{
    QStyleOptionToolButton option;
    option.initFrom(this);
    option.rect = ButtonRect(button);
    // Flat until the pointer is over it, sunken while held there.
    option.state &= ~(QStyle::State_MouseOver | QStyle::State_Sunken | QStyle::State_On);
    option.state |= QStyle::State_AutoRaise;
    if (m_hovered == button) {
        option.state |= QStyle::State_MouseOver | QStyle::State_Raised;
        if (m_pressed == button)
            option.state |= QStyle::State_Sunken;
        style()->drawPrimitive(QStyle::PE_PanelButtonTool, &option, &painter, this);
    }
    // The glyph in the window text's colour, greyed while the window is
    // not active: a bar along the bottom for minimise, a cross for close.
    const QPalette::ColorGroup group =
        m_window.isActiveWindow() ? QPalette::Active : QPalette::Disabled;
    const QColor colour = palette().color(group, QPalette::WindowText);
    const int nGlyph = std::max(6, option.rect.width() * 2 / 5);
    QRect glyph(0, 0, nGlyph, nGlyph);
    glyph.moveCenter(option.rect.center());
    if (button == Button::Minimise) {
        painter.fillRect(glyph.left(), glyph.bottom() - 1, nGlyph, 2, colour);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 1.5));
    const QRectF cross = QRectF(glyph).adjusted(0, 0, 1, 1);
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.topRight(), cross.bottomLeft());
    painter.restore();
}

void CTitleBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int nIcon = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);

    // The icon at the left.
    QRect iconRect(2 * kMargin, (height() - nIcon) / 2, nIcon, nIcon);
    m_window.windowIcon().paint(&painter, iconRect);

    // The title in the middle of the bar, clear of the icon and buttons,
    // greyed while the window is not active.
    const int nSide = std::max(iconRect.right() + 1, width() - ButtonRect(Button::Minimise).left());
    const QRect textRect(nSide, 0, width() - 2 * nSide, height());
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    const QPalette::ColorGroup group =
        m_window.isActiveWindow() ? QPalette::Active : QPalette::Disabled;
    painter.setPen(palette().color(group, QPalette::WindowText));
    const QString title =
        painter.fontMetrics().elidedText(m_window.windowTitle(), Qt::ElideRight, textRect.width());
    painter.drawText(textRect, Qt::AlignCenter, title);

    PaintButton(painter, Button::Minimise);
    PaintButton(painter, Button::Close);
}

void CTitleBar::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton)
        return;
    m_pressed = ButtonAt(pEvent->position().toPoint());
    if (m_pressed != Button::None) {
        m_hovered = m_pressed;
        update();
        return;
    }
    // The window system moves the window while the button is held; where
    // it cannot, the window stays where it is.
    if (QWindow* pWindow = m_window.windowHandle())
        pWindow->startSystemMove();
}

void CTitleBar::mouseMoveEvent(QMouseEvent* pEvent)
{
    SetHovered(ButtonAt(pEvent->position().toPoint()));
}

void CTitleBar::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton || m_pressed == Button::None)
        return;
    // A button acts when released over itself, as push buttons do.
    const Button pressed = m_pressed;
    m_pressed = Button::None;
    update();
    if (ButtonAt(pEvent->position().toPoint()) != pressed)
        return;
    if (pressed == Button::Minimise)
        emit MinimiseClicked();
    else
        emit CloseClicked();
}

void CTitleBar::leaveEvent(QEvent* pEvent)
{
    SetHovered(Button::None);
    QWidget::leaveEvent(pEvent);
}
