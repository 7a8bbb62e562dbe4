#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

class QLocalSocket;

// One game per user: the running instance listens on a local socket, and a
// second start that reaches it asks it to come forward and then ends.
class CSingleInstance : public QObject {
    Q_OBJECT

public:
    explicit CSingleInstance(QObject* pParent = nullptr);

    // Per user, so that players sharing a machine each get their own game.
    static QString DefaultName();

    // True when an instance answered on strName and has been asked to wake;
    // the caller must then end. Otherwise this one becomes the instance that
    // listens there (a socket left behind by a crash is cleared first) and
    // false is returned.
    bool WakeOtherOrListen(const QString& strName);
    bool IsListening() const { return m_server.isListening(); }

    static constexpr const char* kWakeMessage = "wake\n";
    static constexpr const char* kAckMessage = "awake\n";

Q_SIGNALS:
    void WakeRequested();

private:
    static bool WakeOther(const QString& strName);
    bool Listen(const QString& strName);
    void OnNewConnection();
    void OnReadyRead(QLocalSocket* pSocket);

    QLocalServer m_server;
};
