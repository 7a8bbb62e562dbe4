// SPDX-License-Identifier: MIT
// A notification area as Wayland desktops have it: a StatusNotifierWatcher
// on the session bus that also says it shows the items. It says "ready" on
// standard output once it owns its name, "registered SERVICE" when an item
// comes and "unregistered SERVICE" when it goes; a line "activate" on
// standard input clicks the last item that came.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QSocketNotifier>
#include <QStringList>
#include <cstdio>
#include <unistd.h>

namespace {

void Say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

}  // namespace

class CWatcher : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ IsHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ ProtocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ Items)

public:
    CWatcher()
    {
        m_services.setConnection(QDBusConnection::sessionBus());
        m_services.setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
        connect(&m_services, &QDBusServiceWatcher::serviceUnregistered, this,
                [this](const QString& service) {
                    m_services.removeWatchedService(service);
                    m_items.removeAll(service);
                    Say("unregistered " + service);
                    emit StatusNotifierItemUnregistered(service);
                });
    }

    bool IsHostRegistered() const { return true; }
    int ProtocolVersion() const { return 0; }
    QStringList Items() const { return m_items; }

    // A click on the item, as a panel makes it.
    void Activate()
    {
        if (m_items.isEmpty())
            return;
        auto call = QDBusMessage::createMethodCall(m_items.last(), "/StatusNotifierItem",
                                                   "org.kde.StatusNotifierItem", "Activate");
        call << 0 << 0;
        QDBusConnection::sessionBus().call(call, QDBus::NoBlock);
    }

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString& service)
    {
        // Some items give a path on their own connection instead.
        const QString name = service.startsWith('/') ? message().service() : service;
        m_items.append(name);
        m_services.addWatchedService(name);
        Say("registered " + name);
        emit StatusNotifierItemRegistered(name);
    }
    void RegisterStatusNotifierHost(const QString&) {}

Q_SIGNALS:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierItemUnregistered(const QString& service);
    void StatusNotifierHostRegistered();

private:
    QStringList m_items;
    QDBusServiceWatcher m_services;
};

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    CWatcher watcher;
    if (!bus.registerObject("/StatusNotifierWatcher", &watcher,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                                QDBusConnection::ExportAllProperties) ||
        !bus.registerService("org.kde.StatusNotifierWatcher")) {
        std::fprintf(stderr, "sni_host: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char line[64];
        const ssize_t n = ::read(STDIN_FILENO, line, sizeof(line));
        if (n <= 0) {
            QCoreApplication::quit();
            return;
        }
        if (QByteArray(line, static_cast<int>(n)).startsWith("activate"))
            watcher.Activate();
    });
    Say("ready");
    return application.exec();
}

#include "sni_host.moc"
