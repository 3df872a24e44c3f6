#pragma once
// Starts the helper program hv6_platform_child, which lies next to the test
// executable, and talks to it through its standard output.

#include <QCoreApplication>
#include <QProcess>

namespace hv6test {

class Child {
 public:
  explicit Child(const QStringList& arguments) {
    process_.setProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/hv6_platform_child"));
    process_.setArguments(arguments);
    process_.start();
  }
  ~Child() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished();
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  // The next line the child prints, empty when it printed none in time.
  QByteArray readLine(int waitMs = 30000) {
    while (!process_.canReadLine())
      if (!process_.waitForReadyRead(waitMs)) return QByteArray();
    return process_.readLine().trimmed();
  }
  // The exit code, or -1 when it crashed or did not end in time.
  int finish(int waitMs = 120000) {
    if (!process_.waitForFinished(waitMs) || process_.exitStatus() != QProcess::NormalExit) return -1;
    return process_.exitCode();
  }
  bool running() const { return process_.state() != QProcess::NotRunning; }
  // SIGKILL: no clean-up of any kind runs in the child.
  void kill() {
    process_.kill();
    process_.waitForFinished();
  }

 private:
  QProcess process_;
};

}  // namespace hv6test
