#pragma once
// The two guards of the start. The per-user guard (a lock named by the
// application title) keeps one running program per user; the running one
// listens on a local socket so that a second start can ask it to raise its
// window. The machine-wide guard "Global\HV6Global" keeps other users of
// the machine out while it runs.
//
// The per-user guard is taken first, so the same user's second start takes
// the raise path and never sees the other-user message.

#include "platform/lockfile.h"

#include <QObject>
#include <QString>

class QLocalServer;

namespace hv6 {

inline const QString kOtherUserMessage = QStringLiteral(
    "他のユーザがシステムを使用中のため、起動できません。Harvoを終了します。");

class InstanceGuard : public QObject {
  Q_OBJECT

 public:
  enum class Outcome {
    First,           // both guards taken; raise requests are listened for
    AlreadyRunning,  // this user runs the program: it was asked to raise (if wanted)
    OtherUser,       // the machine-wide guard is held elsewhere
    Failed,          // the per-user guard could not be made (errorText)
  };

  explicit InstanceGuard(QString title, QObject* parent = nullptr);
  // A guard of another program of the system (the sales host): its own
  // lock and socket, and without the machine-wide guard, which belongs to
  // hv6.
  InstanceGuard(QString title, QString socketName, QObject* parent = nullptr);
  ~InstanceGuard() override;

  // askToRaise: when this user's program runs, ask it to raise its window
  // (a start without a window does not).
  Outcome acquire(bool askToRaise = true);
  // Releases the per-user guard and stops listening. The machine-wide guard
  // lives as long as this object.
  void release();

  const QString& errorText() const { return error_; }
  // The socket of this user's running hv6, in the runtime folder.
  static QString serverPath();
  // Asks the running hv6 to raise its window; false when none answers.
  static bool askRunningToRaise();
  // The same for the program this guard guards.
  QString socketPath() const;
  bool askToRaise() const;

 Q_SIGNALS:
  void raiseRequested();

 private:
  void listen();
  void takeConnection();

  QString title_;
  QString socketName_;
  bool machineWide_ = true;
  NamedLock userLock_;
  NamedLock machineLock_;
  QLocalServer* server_ = nullptr;
  QString error_;
};

}  // namespace hv6
