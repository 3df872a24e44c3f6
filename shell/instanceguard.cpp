#include "shell/instanceguard.h"

#include "platform/folders.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace hv6 {
namespace {

constexpr int kConnectWaitMs = 2000;
const QByteArray kRaiseRequest = QByteArrayLiteral("raise\n");
const QString kHv6Socket = QStringLiteral("hv6.instance");

QString socketIn(const QString& name) { return runtimeFolder() + u'/' + name; }

bool askToRaiseAt(const QString& path) {
  QLocalSocket socket;
  socket.connectToServer(path);
  if (!socket.waitForConnected(kConnectWaitMs)) return false;
  socket.write(kRaiseRequest);
  const bool sent = socket.waitForBytesWritten(kConnectWaitMs);
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kConnectWaitMs);
  return sent;
}

}  // namespace

InstanceGuard::InstanceGuard(QString title, QObject* parent)
    : QObject(parent), title_(std::move(title)), socketName_(kHv6Socket) {}

InstanceGuard::InstanceGuard(QString title, QString socketName, QObject* parent)
    : QObject(parent),
      title_(std::move(title)),
      socketName_(std::move(socketName)),
      machineWide_(false) {}

InstanceGuard::~InstanceGuard() { release(); }

QString InstanceGuard::serverPath() { return socketIn(kHv6Socket); }

QString InstanceGuard::socketPath() const { return socketIn(socketName_); }

bool InstanceGuard::askToRaise() const { return askToRaiseAt(socketPath()); }

InstanceGuard::Outcome InstanceGuard::acquire(bool askToRaise) {
  error_.clear();
  if (!userLock_.acquire(title_, LockScope::User)) {
    if (!userLock_.heldElsewhere()) {
      error_ = userLock_.errorText();
      return Outcome::Failed;
    }
    if (askToRaise) askToRaiseAt(socketPath());  // nobody answering: the start ends all the same
    return Outcome::AlreadyRunning;
  }
  if (machineWide_ && !machineLock_.acquire(kMachineGuardName, LockScope::Machine)) {
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
  QLocalServer::removeServer(socketPath());
  connect(server_, &QLocalServer::newConnection, this, &InstanceGuard::takeConnection);
  if (!server_->listen(socketPath())) error_ = server_->errorString();
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

bool InstanceGuard::askRunningToRaise() { return askToRaiseAt(serverPath()); }

}  // namespace hv6
