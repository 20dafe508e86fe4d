#include "workbench/app/single_instance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

#include "workbench/app/global.h"

namespace morva::app {

namespace {

// One line "open <file>\n" is sent; the running instance answers "ok\n" once it took it.
const QByteArray kOpen = "open ";

}  // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent), server_(new QLocalServer(this)) {
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::Serve);
}

QString SingleInstance::ServerName() {
    const QByteArray key = TSettings::StorePath().toUtf8();
    const QByteArray hash =
        QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(12);
    return QStringLiteral("Morva 1.00-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

bool SingleInstance::Forward(const QString& fileName, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(kOpen + fileName.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(timeoutMs)) return false;
    return socket.readLine() == "ok\n";
}

bool SingleInstance::Listen() {
    // A live instance that started at the same moment keeps the name. Otherwise any socket
    // left behind by a crashed instance is replaced. The check comes first because a server
    // reachable only by this user takes the name over even while another holds it.
    QLocalSocket probe;
    probe.connectToServer(ServerName());
    if (probe.waitForConnected(500)) return false;
    QLocalServer::removeServer(ServerName());
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    return server_->listen(ServerName());
}

void SingleInstance::Serve() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) return;
            const QByteArray line = socket->readLine().chopped(1);
            socket->write("ok\n");
            socket->flush();
            socket->disconnectFromServer();
            if (line.startsWith(kOpen)) emit Requested(QString::fromUtf8(line.mid(kOpen.size())));
        });
    }
}

}  // namespace morva::app
