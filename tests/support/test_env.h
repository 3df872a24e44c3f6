#pragma once
// Points every outside location (registry file, home, XDG folders, the
// special folders, the runtime folder, the bus of the remote access
// service) at a fresh temporary directory, so no test touches the real
// home, settings or system bus.

#include <QString>
#include <QTemporaryDir>

namespace hv6test {

class TestEnvironment {
 public:
  TestEnvironment();
  ~TestEnvironment();
  TestEnvironment(const TestEnvironment&) = delete;
  TestEnvironment& operator=(const TestEnvironment&) = delete;

  QString root() const { return dir_.path(); }
  QString path(const QString& relative) const { return dir_.filePath(relative); }
  QString registryFile() const { return path(QStringLiteral("registry.reg")); }

 private:
  QTemporaryDir dir_;
};

// The directory of the build, for tests that start helper programs.
QString binaryDir();

}  // namespace hv6test
