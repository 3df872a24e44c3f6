#include "shell/instanceguard.h"

#include "platform/folders.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace hv6 {
namespace {

constexpr int kConnectWaitMs = 2000;
const QByteArray kRaiseRequest = QByteArrayLiteral("raise\n");

}  // namespace

InstanceGuard::InstanceGuard(QString title, QObject* parent)
    : QObject(parent), title_(std::move(title)) {}

InstanceGuard::~InstanceGuard() { release(); }

QString InstanceGuard::serverPath() { return runtimeFolder() + QStringLiteral("/hv6.instance"); }

InstanceGuard::Outcome InstanceGuard::acquire(bool askToRaise) {
  error_.clear();
  if (!userLock_.acquire(title_, LockScope::User)) {
    if (!userLock_.heldElsewhere()) {
      error_ = userLock_.errorText();
      return Outcome::Failed;
    }
    if (askToRaise) askRunningToRaise();  // with nobody answering the start ends all the same
    return Outcome::AlreadyRunning;
  }
  if (!machineLock_.acquire(kMachineGuardName, LockScope::Machine)) {
    error_ = machineLock_.errorText();
    userLock_.release();
    return Outcome::OtherUser;
  }
  listen();
  return Outcome::First;
}

void InstanceGuard::release() {
  if (server_) {
    server_->close();
    delete server_;
    server_ = nullptr;
  }
  userLock_.release();
}

void InstanceGuard::listen() {
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  // A socket file left by a program that died: the per-user guard proves
  // nobody listens on it any more.
  QLocalServer::removeServer(serverPath());
  connect(server_, &QLocalServer::newConnection, this, &InstanceGuard::takeConnection);
  if (!server_->listen(serverPath())) error_ = server_->errorString();
}

void InstanceGuard::takeConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    auto readRequest = [this, socket] {
      while (socket->canReadLine()) {
        if (socket->readLine() == kRaiseRequest) Q_EMIT raiseRequested();
      }
    };
    connect(socket, &QLocalSocket::readyRead, this, readRequest);
    readRequest();  // the request may have arrived before the connection was taken
  }
}

bool InstanceGuard::askRunningToRaise() {
  QLocalSocket socket;
  socket.connectToServer(serverPath());
  if (!socket.waitForConnected(kConnectWaitMs)) return false;
  socket.write(kRaiseRequest);
  const bool sent = socket.waitForBytesWritten(kConnectWaitMs);
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kConnectWaitMs);
  return sent;
}

}  // namespace hv6
