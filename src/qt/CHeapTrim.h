// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

// Hands the heap's free pages back to the system when the game has just
// let go of much memory: once the start is over, and whenever a dialog has
// been closed and destroyed. The C library keeps freed memory for reuse,
// and what lies below the top of the heap it never returns by itself.
class CHeapTrim : public QObject {
    Q_OBJECT

public:
    // Watches for dialogs throughout the application.
    CHeapTrim();

    // Trims when the event loop comes round again; asked several times
    // before that, it still trims once.
    void Soon();

    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    bool m_bQueued = false;
};
