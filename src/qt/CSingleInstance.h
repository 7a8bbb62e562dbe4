// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <sys/types.h>

#include "CAppShell.h"

class QSocketNotifier;

// One game per user and display: the running instance listens on a Unix
// socket in a folder only this user can reach, and a second start that
// reaches it asks it to come forward and then ends.
class CSingleInstance : public QObject {
    Q_OBJECT

public:
    explicit CSingleInstance(QObject* pParent = nullptr);
    ~CSingleInstance() override;
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // Per display, so that a start on another display is a game of its own;
    // the folder it lives in is already per user.
    static QString DefaultName();

    // The private folder the rendezvous lives in: $XDG_RUNTIME_DIR/orvo when
    // that is private, else orvo-<uid> in the temporary folder. Created if
    // need be; empty (and the reason said on stderr) when none is safe.
    static QString RendezvousFolder();

    // The token a launcher gave this start to bring a window forward with
    // (XDG_ACTIVATION_TOKEN), or empty.
    static QByteArray ActivationToken();

    // Woken when an instance of this user answered on strName and has been
    // asked to wake, with activationToken handed over when there is one;
    // NoAnswer when one of this user's took the call and the wake line but
    // said nothing back in time (stopped, hung, or busy for longer than
    // a move lasts: it still wakes if it ever reads the line). The caller
    // must then end. Otherwise (None) this one becomes the instance that
    // listens there, clearing whatever was left at the path. Decides within
    // about two seconds whatever the other side does; anything odd is said
    // on stderr and never keeps the game from starting.
    CAppShell::OtherInstance
    WakeOtherOrListen(const QString& strName,
                      const QByteArray& activationToken = ActivationToken());
    bool IsListening() const { return m_nListenFd >= 0; }

    static constexpr const char* kWakeMessage = "wake\n";
    static constexpr const char* kAckMessage = "awake\n";

Q_SIGNALS:
    // activationToken is the second start's, or empty.
    void WakeRequested(const QByteArray& activationToken);

private:
    bool Listen(const QByteArray& path);
    void OnNewConnection();
    void ServeConnection(int nFd);

    int m_nListenFd = -1;
    QSocketNotifier* m_pNotifier = nullptr;
    QByteArray m_socketPath;
    dev_t m_socketDev = 0;
    ino_t m_socketIno = 0;
};
