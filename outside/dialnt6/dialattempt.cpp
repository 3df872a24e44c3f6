#include "outside/dialnt6/dialattempt.h"

#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include "outside/dialnt6/rasapi.h"

namespace hv6::dialnt6 {
namespace {

// How often the active connection's state is asked while it comes up.
constexpr int kPollIntervalMs = 100;
// NetworkManager not answering this many state questions in a row (each
// waits for its own time-out) ends the dial.
constexpr int kUnansweredLimit = 3;

}  // namespace

DialAttempt::DialAttempt(const NetworkManager& manager, Profile profile, QObject* parent)
    : QObject(parent), manager_(manager), profile_(std::move(profile)) {
  poll_.setInterval(kPollIntervalMs);
  connect(&poll_, &QTimer::timeout, this, &DialAttempt::poll);
}

DialAttempt::~DialAttempt() = default;

void DialAttempt::start() {
  activation_ = std::make_unique<QDBusPendingCallWatcher>(manager_.activate(profile_.path));
  connect(activation_.get(), &QDBusPendingCallWatcher::finished, this,
          &DialAttempt::activationAnswered);
}

void DialAttempt::cancel() {
  if (finished_) return;
  // The active connection is known only once the activation is answered.
  if (activation_ && activePath_.isEmpty()) {
    activation_->waitForFinished();
    const QDBusPendingReply<QDBusObjectPath> reply(*activation_);
    if (!reply.isError()) activePath_ = reply.value().path();
  }
  if (!activePath_.isEmpty()) manager_.deactivate(activePath_);
  finish(ras::kErrorUserCancelled, QString());
}

void DialAttempt::activationAnswered() {
  if (finished_ || !activePath_.isEmpty()) return;
  const QDBusPendingReply<QDBusObjectPath> reply(*activation_);
  if (reply.isError()) {
    const QDBusError error = reply.error();
    finish(error.type() == QDBusError::ServiceUnknown ? ras::kErrorServiceUnavailable
                                                      : ras::kErrorFromDevice,
           error.message().isEmpty() ? error.name() : error.message());
    return;
  }
  activePath_ = reply.value().path();
  poll();
  if (!finished_) poll_.start();
}

void DialAttempt::poll() {
  const ActiveStatus status = manager_.status(activePath_);
  switch (status.kind) {
    case ActiveStatus::Gone:
      finish(ras::kErrorFromDevice, QString());
      return;
    case ActiveStatus::Unanswered:
      if (++unanswered_ >= kUnansweredLimit) finish(ras::kErrorServiceUnavailable, QString());
      return;
    case ActiveStatus::Known:
      break;
  }
  unanswered_ = 0;
  if (status.state != lastState_) {
    lastState_ = status.state;
    Q_EMIT stateChanged(status.state);
  }
  if (status.state == kActivated)
    finish(ras::kSuccess, QString());
  else if (status.state == kDeactivating)
    finish(ras::kErrorFromDevice, QString());
}

void DialAttempt::finish(std::uint32_t result, const QString& detail) {
  if (finished_) return;
  finished_ = true;
  result_ = result;
  poll_.stop();
  Q_EMIT finished(result, detail);
}

}  // namespace hv6::dialnt6
