#include "platform/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <unistd.h>

namespace platform {
namespace {
const QByteArray kRaiseMessage = "5169\n";

QString runtimeFolder() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  return folder;
}
}  // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent) {
  const QByteArray hash =
      QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
  serverName_ = QStringLiteral("daybook-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

SingleInstance::~SingleInstance() {
  if (server_) server_->close();
}

bool SingleInstance::tryBecomePrimary() {
  lock_ = std::make_unique<QLockFile>(runtimeFolder() + "/" + serverName_ + ".lock");
  lock_->setStaleLockTime(0);  // a lock of a dead process is taken over
  if (!lock_->tryLock(100)) {
    lock_.reset();
    return false;
  }
  QLocalServer::removeServer(serverName_);  // left over from a copy that crashed
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(serverName_)) return true;  // still the only copy; just not reachable
  connect(server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
  return true;
}

void SingleInstance::acceptConnections() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (socket->readAll().contains(kRaiseMessage.trimmed())) emit activationRequested();
      socket->write("ok\n");
      socket->flush();
      socket->disconnectFromServer();
    });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
  }
}

bool SingleInstance::notifyPrimary(int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  // The first copy may still be starting: try again until the time is up.
  while (clock.elapsed() < timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (socket.waitForConnected(500)) {
      socket.write(kRaiseMessage);
      socket.flush();
      socket.waitForReadyRead(1000);
      return true;
    }
    QThread::msleep(100);
  }
  return false;
}

}  // namespace platform
