// SPDX-License-Identifier: MIT
#include "CDisplayGuard.h"

#include <QByteArray>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

struct SHeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

QtMessageHandler g_previous = nullptr;
std::vector<SHeldMessage> g_held;

void Hold(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtFatalMsg) {
        g_held.push_back({type, QByteArray(context.category), text});
        return;
    }
    // The only fatal error on the way is the platform that could not start.
    const std::string line =
        CDisplayGuard::NoDisplayMessage(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"));
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    // Qt is half made: no destructor may run.
    _exit(CDisplayGuard::kExitNoDisplay);
}

}  // namespace

CDisplayGuard::CDisplayGuard()
{
    g_previous = qInstallMessageHandler(Hold);
}

CDisplayGuard::~CDisplayGuard()
{
    qInstallMessageHandler(g_previous);
    for (const SHeldMessage& held : g_held) {
        const char* pCategory = held.category.isEmpty() ? nullptr : held.category.constData();
        const QMessageLogContext context(nullptr, 0, nullptr, pCategory);
        g_previous(held.type, context, held.text);
    }
    g_held.clear();
}

std::string CDisplayGuard::NoDisplayMessage(const char* pX11, const char* pWayland)
{
    std::string names;
    const std::pair<const char*, const char*> variables[] = {{"DISPLAY", pX11},
                                                             {"WAYLAND_DISPLAY", pWayland}};
    for (const auto& [pName, pValue] : variables) {
        if (!pValue || !*pValue)
            continue;
        names += names.empty() ? " (" : ", ";
        names += std::string(pName) + '=' + pValue;
    }
    names += names.empty() ? " (neither DISPLAY nor WAYLAND_DISPLAY is set)" : ")";
    return "orvo: cannot open a display" + names + '\n';
}
