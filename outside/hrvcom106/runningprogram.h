#pragma once
// Registers a running program of the product so that CCheckV5App finds it
// and can ask it to end: created with the program's name for the user and
// its window title, it listens on a local socket of its own and answers a
// query-end through its handler; a close request emits closeRequested().
// The registration ends with the object, or with the process when it dies.

#include "platform/lockfile.h"

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;
class QLocalSocket;

class CRunningProgram : public QObject {
  Q_OBJECT

 public:
  // Answers a query-end: true when the program may end now.
  using QueryEndHandler = std::function<bool()>;

  // Registers at once; isRegistered() tells whether that worked.
  CRunningProgram(QString name, QString title, QObject* parent = nullptr);
  ~CRunningProgram() override;
  CRunningProgram(const CRunningProgram&) = delete;
  CRunningProgram& operator=(const CRunningProgram&) = delete;

  bool isRegistered() const { return registered_; }
  const QString& errorText() const { return error_; }

  // Without a handler every query-end is answered yes.
  void setQueryEndHandler(QueryEndHandler handler) { queryEnd_ = std::move(handler); }

 Q_SIGNALS:
  // Another program asks this one to close (as a posted close message).
  void closeRequested();

 private:
  bool registerProgram(const QString& name, const QString& title);
  bool listen();
  void unregister();
  void takeConnections();
  void serve(QLocalSocket* connection);

  QString id_;
  hv6::NamedLock lock_;
  QLocalServer* server_ = nullptr;
  QueryEndHandler queryEnd_;
  bool registered_ = false;
  QString error_;
};
