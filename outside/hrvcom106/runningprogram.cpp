#include "outside/hrvcom106/runningprogram.h"

#include "outside/hrvcom106/registration.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

using namespace hrvcom106;

CRunningProgram::CRunningProgram(QString name, QString title, QObject* parent)
    : QObject(parent), id_(newRegistrationId()) {
  registered_ = registerProgram(name, title);
  if (!registered_) unregister();
}

CRunningProgram::~CRunningProgram() { unregister(); }

// The lock first: a description file is only ever seen with its lock held.
bool CRunningProgram::registerProgram(const QString& name, const QString& title) {
  if (!lock_.acquire(lockName(id_), hv6::LockScope::User)) {
    error_ = lock_.errorText();
    return false;
  }
  if (!listen()) return false;
  const Registration registration{id_, name, title, QCoreApplication::applicationPid(),
                                  QDateTime::currentMSecsSinceEpoch()};
  if (!writeRegistration(registration)) {
    error_ = QStringLiteral("cannot write the registration of ") + name;
    return false;
  }
  return true;
}

bool CRunningProgram::listen() {
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  QLocalServer::removeServer(socketPath(id_));  // left by a dead program of the same id
  connect(server_, &QLocalServer::newConnection, this, &CRunningProgram::takeConnections);
  if (server_->listen(socketPath(id_))) return true;
  error_ = server_->errorString();
  return false;
}

// The description goes first, so nobody asks a program that is leaving.
void CRunningProgram::unregister() {
  if (lock_.isHeld()) removeRegistration(id_);
  if (server_) {
    server_->close();
    delete server_;
    server_ = nullptr;
  }
  lock_.release();
  registered_ = false;
}

void CRunningProgram::takeConnections() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { serve(socket); });
    serve(socket);  // the request may have come before the connection was taken
  }
}

void CRunningProgram::serve(QLocalSocket* connection) {
  // The handler may ask the user in a dialog of its own, and the asker may
  // give up meanwhile: the socket can be gone after it.
  const QPointer<QLocalSocket> socket(connection);
  while (socket && socket->canReadLine()) {
    const QByteArray request = socket->readLine();
    if (request == kQueryEndRequest) {
      const bool mayEnd = !queryEnd_ || queryEnd_();
      if (!socket) return;
      socket->write(mayEnd ? kYesAnswer : kNoAnswer);
      socket->flush();
    } else if (request == kCloseRequest) {
      // Posted: a receiver that deletes this object must not do so inside
      // the socket's own signal.
      QMetaObject::invokeMethod(this, &CRunningProgram::closeRequested, Qt::QueuedConnection);
    }
  }
}
