// SPDX-License-Identifier: MIT
#include "CStartupProbe.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <cstdio>
#include <ctime>

void CStartupProbe::OnPainted()
{
    static bool s_bSeen = false;
    if (s_bSeen)
        return;
    s_bSeen = true;
    const QByteArray mode = qgetenv("ORVO_STARTUP_PROBE");
    if (mode.isEmpty())
        return;
    // Queued: the painted frame is flushed to the window system after the
    // paint event returns, in the same pass of the event loop.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [mode] {
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            std::printf("painted %lld\n",
                        static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
            std::fflush(stdout);
            if (mode == "exit")
                QCoreApplication::quit();
        },
        Qt::QueuedConnection);
}
