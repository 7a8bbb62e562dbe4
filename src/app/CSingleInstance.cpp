#include "CSingleInstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QLockFile>
#include <unistd.h>

namespace {

// A running instance answers at once unless it is in the middle of a move
// or a sound; a move with all its sounds is over well within this.
constexpr int kConnectTimeoutMs = 2000;
constexpr int kAckTimeoutMs = 10000;
constexpr int kLockTimeoutMs = 5000;

}  // namespace

CSingleInstance::CSingleInstance(QObject* pParent) : QObject(pParent)
{
    connect(&m_server, &QLocalServer::newConnection, this, &CSingleInstance::OnNewConnection);
}

QString CSingleInstance::DefaultName()
{
    return QStringLiteral("orvo-%1").arg(getuid());
}

bool CSingleInstance::WakeOtherOrListen(const QString& strName)
{
    // Two starts at the same moment must not both decide that they are the
    // first; the lock file clears itself when its owner has died.
    QLockFile lock(QDir::temp().filePath(strName + ".lock"));
    // Without the lock (an unwritable temporary folder) the game still
    // starts; only the rare simultaneous start goes unguarded.
    lock.tryLock(kLockTimeoutMs);
    if (WakeOther(strName))
        return true;
    Listen(strName);
    return false;
}

bool CSingleInstance::WakeOther(const QString& strName)
{
    QLocalSocket socket;
    socket.connectToServer(strName);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    socket.write(kWakeMessage);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    // Someone listens: whether or not the answer comes in time, this start
    // must not open a second window.
    while (!socket.canReadLine() && socket.waitForReadyRead(kAckTimeoutMs)) {
    }
    return true;
}

bool CSingleInstance::Listen(const QString& strName)
{
    // Nobody answered, so a socket file of that name is a crashed
    // instance's leftover and would make listen fail.
    QLocalServer::removeServer(strName);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    return m_server.listen(strName);
}

void CSingleInstance::OnNewConnection()
{
    while (QLocalSocket* pSocket = m_server.nextPendingConnection()) {
        connect(pSocket, &QLocalSocket::disconnected, pSocket, &QObject::deleteLater);
        connect(pSocket, &QLocalSocket::readyRead, this, [this, pSocket] { OnReadyRead(pSocket); });
        OnReadyRead(pSocket);
    }
}

void CSingleInstance::OnReadyRead(QLocalSocket* pSocket)
{
    if (!pSocket->canReadLine())
        return;
    const QByteArray line = pSocket->readLine();
    if (line == kWakeMessage) {
        Q_EMIT WakeRequested();
        pSocket->write(kAckMessage);
        pSocket->flush();
    }
    pSocket->disconnectFromServer();
}
