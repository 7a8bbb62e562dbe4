// SPDX-License-Identifier: MIT
#include "CHeapTrim.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QTimer>

#ifdef __GLIBC__
#include <malloc.h>
#endif

CHeapTrim::CHeapTrim()
{
    QCoreApplication::instance()->installEventFilter(this);
}

void CHeapTrim::Soon()
{
    if (m_bQueued)
        return;
    m_bQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_bQueued = false;
#ifdef __GLIBC__
        malloc_trim(0);
#endif
    });
}

bool CHeapTrim::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    // Shown is when a dialog is sure to exist; its memory is free only once
    // it is gone, and a modal one goes after its exec() has returned.
    if (pEvent->type() == QEvent::Show)
        if (auto* pDialog = qobject_cast<QDialog*>(pWatched))
            connect(pDialog, &QObject::destroyed, this, &CHeapTrim::Soon, Qt::UniqueConnection);
    return QObject::eventFilter(pWatched, pEvent);
}
