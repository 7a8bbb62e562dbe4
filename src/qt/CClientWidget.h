// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

#include "CClientWindow.h"

class CAppInput;
class CBoardReader;

// The main window's client area: shows the 308 x 348 surface the panels draw
// on, pixel for pixel (scaled by a whole factor on a dense screen), and
// hands paint requests and mouse releases, in device pixels, to the input.
class CClientWidget : public QWidget, public CClientWindow {
    Q_OBJECT

public:
    CClientWidget(QWidget& parent, CAppInput& input);

    // Device pixels per surface pixel: the screen's whole factor.
    int Scale() const;

    // What a screen reader reads of the client area has changed; reader
    // stays valid while the widget lives.
    void OnReadingChanged(const CBoardReader& reader);
    const CBoardReader* Reader() const { return m_pReader; }

protected:
    // The panels have just drawn rc: put it on the screen before returning,
    // since a move is animated without going back to the event loop.
    void OnDrawn(const CRect& rc) override;

    void paintEvent(QPaintEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;

private:
    CAppInput& m_input;
    const CBoardReader* m_pReader = nullptr;
    // Set while an immediate update is shown: the surface already holds the
    // picture, and drawing the game anew would undo a blink's hidden phase.
    bool m_bShowOnly = false;
};
