#include "tests/support/test_env.h"

#include <QDir>
#include <QStandardPaths>

namespace hv6test {
namespace {

void setEnv(const char* name, const QString& value) { qputenv(name, value.toUtf8()); }

}  // namespace

TestEnvironment::TestEnvironment() {
  QDir root(dir_.path());
  for (const char* sub : {"home", "config", "data", "runtime", "documents", "localdata", "common"})
    root.mkpath(QString::fromLatin1(sub));
  QFile::setPermissions(root.filePath(QStringLiteral("runtime")),
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  setEnv("HOME", root.filePath(QStringLiteral("home")));
  setEnv("XDG_CONFIG_HOME", root.filePath(QStringLiteral("config")));
  setEnv("XDG_DATA_HOME", root.filePath(QStringLiteral("data")));
  setEnv("XDG_RUNTIME_DIR", root.filePath(QStringLiteral("runtime")));
  setEnv("HV6_REGISTRY", registryFile());
  setEnv("HV6_DOCUMENTS", root.filePath(QStringLiteral("documents")));
  setEnv("HV6_LOCALDATA", root.filePath(QStringLiteral("localdata")));
  setEnv("HV6_COMMON", root.filePath(QStringLiteral("common")));
  setEnv("HV6_RUNTIME", root.filePath(QStringLiteral("runtime")));
  // No remote access unless a test starts the NetworkManager stand-in: the
  // system bus is never asked.
  setEnv("HV6_NM_BUS_ADDRESS",
         QStringLiteral("unix:path=") + root.filePath(QStringLiteral("no-bus")));
  QStandardPaths::setTestModeEnabled(true);
}

TestEnvironment::~TestEnvironment() = default;

QString binaryDir() { return qEnvironmentVariable("HV6_TEST_BINARY_DIR"); }

}  // namespace hv6test
