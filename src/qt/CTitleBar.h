// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

// A title bar drawn by the game itself, for a frameless window: the
// window's icon and title, a minimise button and a close button, in the
// palette and style of the rest of the window, and no maximise button.
// Dragging it anywhere off the buttons hands the window to the window
// system to move.
class CTitleBar : public QWidget {
    Q_OBJECT

public:
    enum class Button { None, Minimise, Close };

    explicit CTitleBar(QWidget& window);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    QRect ButtonRect(Button button) const;

signals:
    void MinimiseClicked();
    void CloseClicked();

protected:
    bool event(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;

private:
    Button ButtonAt(const QPoint& pos) const;
    void SetHovered(Button button);
    void PaintButton(QPainter& painter, Button button) const;

    QWidget& m_window;
    Button m_hovered = Button::None;
    // The button the left button went down on, until it comes up.
    Button m_pressed = Button::None;
};
