#include "shell/envcopy.h"

#include "platform/file_io.h"
#include "platform/folders.h"
#include "platform/profile.h"
#include "shell/appregistry.h"

#include <QDir>
#include <QFileInfo>

namespace hv6 {
namespace {

constexpr int kPrivateFolderMode = 0700;
constexpr int kSharedFolderMode = 0755;
constexpr int kOpenFolderMode = 01777;  // everyone writes, only owners delete
constexpr int kVersionLength = 20;

struct EnvironmentFile {
  const char* name;
  bool versioned;
};

constexpr EnvironmentFile kEnvironmentFiles[] = {
    {"SELSYS.SL2", false}, {"Chohyo.ini", true},    {"Pri_Mode.ini", true}, {"wxfetch.ini", true},
    {"system.nb6", false}, {"ENV.NB5", false},      {"A3ENV.ACC", false},   {"ENV.AC2", false},
    {"ENV.ACD", false},    {"DATALIST.SLD", false}, {"Env.sld", false},
};

constexpr const char* kDemoPatterns[] = {"*.RTF", "*.BRN", "*.FED", "*.FMP", "*.HV6", "*.BMP"};

struct ModeBit {
  int mode;
  QFile::Permission permission;
};

constexpr ModeBit kModeBits[] = {
    {0400, QFile::ReadOwner}, {0200, QFile::WriteOwner}, {0100, QFile::ExeOwner},
    {0040, QFile::ReadGroup}, {0020, QFile::WriteGroup}, {0010, QFile::ExeGroup},
    {0004, QFile::ReadOther}, {0002, QFile::WriteOther}, {0001, QFile::ExeOther},
};

QFile::Permissions permissionsOf(int mode) {
  QFile::Permissions permissions;
  for (const ModeBit& bit : kModeBits)
    if (mode & bit.mode) permissions |= bit.permission;
  return permissions;
}

int modeOf(QFile::Permissions permissions) {
  int mode = 0;
  for (const ModeBit& bit : kModeBits)
    if (permissions.testFlag(bit.permission)) mode |= bit.mode;
  return mode;
}

// The permission class a file takes from its folder: the folder's mode
// without the execute bits (0700 gives 0600, 0755 gives 0644).
int fileModeOfFolder(const QString& folder) {
  return modeOf(QFileInfo(folder).permissions()) & 0666;
}

bool isLink(const QString& path) { return QFileInfo(path).isSymLink(); }

bool targetExists(const QString& path) { return isLink(path) || QFileInfo::exists(path); }

// Gives an existing regular file the permission class of its folder.
bool takeFolderClass(const QString& path) {
  if (isLink(path) || !QFileInfo(path).isFile()) return false;
  const int mode = fileModeOfFolder(QFileInfo(path).absolutePath());
  return QFile::setPermissions(path, permissionsOf(mode));
}

// Copies the bytes under a temporary name and renames them into place.
bool atomicCopy(const QString& source, const QString& target) {
  if (isLink(target)) return false;
  const fileio::ReadResult read = fileio::readFile(source);
  if (!read.ok || !read.stamp.exists) return false;
  const int mode = fileModeOfFolder(QFileInfo(target).absolutePath());
  if (!fileio::replaceFile(target, read.bytes, mode).ok) return false;
  return takeFolderClass(target);  // an overwritten file kept its old mode
}

QString fileVersion(const QString& path) {
  QString version;
  GetPrivateProfileString(QStringLiteral("FILE_INFORMATION"), QStringLiteral("VER"), QString(),
                          version, kVersionLength + 1, path);
  return version;
}

// Creates the folder with mode when missing; a private folder also gets its
// mode back when it exists with a wider one.
bool prepareFolder(const QString& path, int mode, bool enforceMode) {
  if (path.isEmpty()) return false;
  if (!QFileInfo(path).isDir()) return fileio::makeFolder(path, mode);
  if (!enforceMode) return true;
  return QFile::setPermissions(path, permissionsOf(mode));
}

bool takeOverwriteFlag(AppRegistry& registry, const QString& name) {
  const QString key = QStringLiteral("Environment");
  std::uint32_t value = 0;
  if (!registry.readDword(key, name, value)) value = 0;
  registry.writeDword(key, name, 0);
  return value == 1;
}

// "Velqor/HV6P" below a special folder; empty when that is unknown.
QString belowSpecialFolder(int folderId) {
  const QString base = specialFolder(folderId);
  return base.isEmpty() ? base : base + QStringLiteral("/Velqor/HV6P");
}

QString programDemoFolder(const QString& programFolder) {
  return programFolder + QStringLiteral("/demodata");
}

}  // namespace

QString userEnvironmentFolder() { return belowSpecialFolder(kFolderDocuments); }

QString demoBaseFolder() { return belowSpecialFolder(kFolderCommonDocuments); }

QString demoDataFolder() {
  const QString base = demoBaseFolder();
  return base.isEmpty() ? base : base + QStringLiteral("/demodata");
}

bool plainCopy(const QString& source, const QString& target, bool overwrite) {
  if (!QFileInfo(source).isFile()) return false;
  if (targetExists(target) && !overwrite) {
    takeFolderClass(target);
    return true;
  }
  return atomicCopy(source, target);
}

bool versionedCopy(const QString& source, const QString& target, bool overwrite) {
  if (!QFileInfo(source).isFile()) return false;
  const bool exists = targetExists(target);
  const QString sourceVersion = fileVersion(source);
  const QString targetVersion = exists ? fileVersion(target) : QString();
  const bool newer = !sourceVersion.isEmpty() && sourceVersion.compare(targetVersion) > 0;
  const bool unversionedFirst = sourceVersion.isEmpty() && !exists;
  if (!overwrite && !newer && !unversionedFirst) {
    takeFolderClass(target);
    return true;
  }
  return atomicCopy(source, target);
}

QStringList environmentFileNames() {
  QStringList names;
  for (const EnvironmentFile& file : kEnvironmentFiles) names << QString::fromLatin1(file.name);
  return names;
}

bool copyUserEnvironment(const QString& programFolder, bool overwrite) {
  const QString folder = userEnvironmentFolder();
  if (!prepareFolder(folder, kPrivateFolderMode, true)) return false;
  bool complete = true;
  for (const EnvironmentFile& file : kEnvironmentFiles) {
    const QString name = QString::fromLatin1(file.name);
    const QString source = programFolder + QLatin1Char('/') + name;
    const QString target = folder + QLatin1Char('/') + name;
    const bool copied = file.versioned ? versionedCopy(source, target, overwrite)
                                       : plainCopy(source, target, overwrite);
    complete = copied && complete;
  }
  const bool formFolder =
      prepareFolder(folder + QStringLiteral("/pform"), kPrivateFolderMode, true);
  return complete && formFolder;
}

bool prepareDemoFolder() {
  return prepareFolder(demoBaseFolder(), kSharedFolderMode, false) &&
         prepareFolder(demoDataFolder(), kOpenFolderMode, false);
}

bool shareDemoFiles() {
  const QDir folder(demoDataFolder());
  if (demoDataFolder().isEmpty() || !folder.exists()) return false;
  bool complete = true;
  for (const QString& name : folder.entryList(QDir::Files))
    complete = takeFolderClass(folder.filePath(name)) && complete;
  return complete;
}

bool copyDemoData(const QString& programFolder, bool overwrite) {
  if (!prepareDemoFolder()) return false;
  const QDir source(programDemoFolder(programFolder));
  bool complete = true;
  for (const char* pattern : kDemoPatterns) {
    const QStringList names =
        source.entryList({QString::fromLatin1(pattern)}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
      const bool copied =
          plainCopy(source.filePath(name), demoDataFolder() + QLatin1Char('/') + name, overwrite);
      complete = copied && complete;
    }
  }
  return complete;
}

void copyEnvironment(const QString& programFolder, AppRegistry& registry) {
  const bool overwriteEnvironment = takeOverwriteFlag(registry, QStringLiteral("OverWriteEnv"));
  const bool overwriteDemo = takeOverwriteFlag(registry, QStringLiteral("OverWriteDemo"));
  copyUserEnvironment(programFolder, overwriteEnvironment);
  copyDemoData(programFolder, overwriteDemo);
}

}  // namespace hv6
