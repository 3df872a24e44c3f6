#include "platform/inet/testing.h"

#include "platform/inet/hooks.h"

#include <QtGlobal>

#include <atomic>
#include <mutex>

namespace hv6::inet {
namespace {

std::mutex& hookMutex() {
  static std::mutex mutex;
  return mutex;
}

std::function<bool(DWORD, DWORD)>& optionHook() {
  static std::function<bool(DWORD, DWORD)> hook;
  return hook;
}

QString& caFilePath() {
  static QString path;
  return path;
}

std::atomic<double> scale{1.0};

}  // namespace

bool optionAllowed(DWORD option, DWORD value) {
  std::function<bool(DWORD, DWORD)> hook;
  {
    std::lock_guard lock(hookMutex());
    hook = optionHook();
  }
  return !hook || hook(option, value);
}

namespace testing {

void setOptionHook(std::function<bool(DWORD option, DWORD value)> hook) {
  std::lock_guard lock(hookMutex());
  optionHook() = std::move(hook);
}

void setTimeoutScale(double factor) {
  if (factor > 0) scale = factor;
}

double timeoutScale() { return scale; }

void applyTimeoutScaleFromEnvironment() {
  bool ok = false;
  const double factor = qEnvironmentVariable("HV6_INET_TIMEOUT_SCALE").toDouble(&ok);
  if (ok) setTimeoutScale(factor);
}

void setCaFile(const QString& path) {
  std::lock_guard lock(hookMutex());
  caFilePath() = path;
}

QString caFile() {
  std::lock_guard lock(hookMutex());
  return caFilePath();
}

}  // namespace testing
}  // namespace hv6::inet
