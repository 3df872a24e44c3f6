#include "platform/folders.h"

#include "platform/file_io.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

namespace hv6 {
namespace {

constexpr auto kMachineFolder = "/var/lib/hv6/common";

// The variable's value when set, else the fallback; without a trailing
// separator.
QString overridable(const char* variable, const QString& fallback) {
  const QString value = qEnvironmentVariable(variable);
  const QString folder = value.isEmpty() ? fallback : value;
  return folder.isEmpty() ? folder : QDir::cleanPath(folder);
}

// Shared by every program of the system, whatever its application name.
QString localAppData() {
  const QString generic = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  return generic.isEmpty() ? generic : generic + QStringLiteral("/hv6");
}

// The user's documents folder, or none without a home: Qt then answers a
// folder at the root of the file system, which belongs to no user.
QString documentsFolder() {
  if (QDir::homePath() == QDir::rootPath()) return QString();
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QString defaultRuntimeFolder() {
  const QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (!base.isEmpty()) return base + QStringLiteral("/hv6");
  return QDir::tempPath() + QStringLiteral("/hv6-runtime-") + qEnvironmentVariable("USER");
}

}  // namespace

QString specialFolder(int folderId) {
  switch (folderId) {
    case kFolderDocuments:
      return overridable("HV6_DOCUMENTS", documentsFolder());
    case kFolderLocalAppData: return overridable("HV6_LOCALDATA", localAppData());
    case kFolderCommonDocuments:
      return overridable("HV6_COMMON", QString::fromLatin1(kMachineFolder));
    default: return QString();
  }
}

QString runtimeFolder() {
  const QString folder = overridable("HV6_RUNTIME", defaultRuntimeFolder());
  fileio::makeFolder(folder, 0700);
  return folder;
}

qint64 freeDiskSpace(const QString& path) {
  const QFileInfo info(path);
  const QStorageInfo storage(info.isDir() ? info.absoluteFilePath() : info.absolutePath());
  if (!storage.isValid() || !storage.isReady()) return -1;
  return storage.bytesAvailable();
}

}  // namespace hv6
