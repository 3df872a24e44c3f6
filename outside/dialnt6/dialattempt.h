#pragma once
// One dial: activates a connection profile and follows its active
// connection until the line is up, fails or the caller cancels. Without
// widgets; the dial dialog shows it, a run without windows waits for it.

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <memory>

#include "outside/dialnt6/networkmanager.h"

class QDBusPendingCallWatcher;

namespace hv6::dialnt6 {

class DialAttempt final : public QObject {
  Q_OBJECT

 public:
  DialAttempt(const NetworkManager& manager, Profile profile, QObject* parent = nullptr);
  ~DialAttempt() override;

  const Profile& profile() const { return profile_; }
  // Sends the activation; progress and the end come as signals.
  void start();
  // Takes down what was started and ends with kErrorUserCancelled. Nothing
  // after the end.
  void cancel();
  bool isFinished() const { return finished_; }
  // 0 when the line is up, else a remote-access result code.
  std::uint32_t result() const { return result_; }

 Q_SIGNALS:
  // NetworkManager's state of the active connection as it changes.
  void stateChanged(std::uint32_t state);
  // The end: result 0 when the line is up; detail says why it is not.
  void finished(std::uint32_t result, const QString& detail);

 private:
  void activationAnswered();
  void poll();
  void finish(std::uint32_t result, const QString& detail);

  const NetworkManager& manager_;
  Profile profile_;
  std::unique_ptr<QDBusPendingCallWatcher> activation_;
  QString activePath_;
  QTimer poll_;
  std::uint32_t lastState_ = kActiveUnknown;
  int unanswered_ = 0;
  std::uint32_t result_ = 0;
  bool finished_ = false;
};

}  // namespace hv6::dialnt6
