#include "install/installer.h"

#include "install/demo/demodata.h"
#include "install/settings.h"
#include "platform/file_io.h"
#include "platform/folders.h"
#include "shell/appregistry.h"
#include "shell/envcopy.h"
#include "shell/startup.h"
#include "store/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace hv6::install {
namespace {

constexpr int kProgramFolderMode = 0755;
constexpr int kProgramFileMode = 0644;
constexpr int kMachineFolderMode = 01777;  // every user's locks live there

bool fail(QString* error, const QString& text) {
  if (error) *error = text;
  return false;
}

bool holdsBothDatabases(const QString& folder) {
  const QDir dir(folder);
  return QFileInfo::exists(dir.filePath(kDiaryFileName)) &&
         QFileInfo::exists(dir.filePath(kWeatherFileName));
}

bool ensureMachineFolder(QString* error) {
  const QString folder = specialFolder(kFolderCommonDocuments);
  if (QFileInfo(folder).isDir()) return true;
  if (!folder.isEmpty() && fileio::makeFolder(folder, kMachineFolderMode)) return true;
  return fail(
      error, QStringLiteral("共有フォルダ %1 を作成できません。一度 root で実行するか HV6_COMMON を"
                            "設定してください (cannot create the machine-wide folder: run once "
                            "as root or set HV6_COMMON)")
                 .arg(folder));
}

QByteArray carriedFile(const QString& name) {
  QFile resource(QStringLiteral(":/environment/") + name);
  return resource.open(QIODevice::ReadOnly) ? resource.readAll() : QByteArray();
}

bool placeFile(const QString& target, const QByteArray& bytes, QString* error) {
  const fileio::ReadResult present = fileio::readFile(target);
  if (present.ok && present.stamp.exists && present.bytes == bytes) return true;
  const fileio::WriteResult written = fileio::replaceFile(target, bytes, kProgramFileMode);
  return written.ok || fail(error, written.error);
}

bool useDataFolder(RegistryStore& store, const QString& folder, InstallReport& report) {
  const QDir dir(folder);
  if (holdsBothDatabases(folder)) {
    report.notes << QStringLiteral("既存のデータを使います (using the data already there): ") +
                        folder;
  } else {
    if (!createNewDataFolder(folder, &report.error)) return false;
    report.notes << QStringLiteral("新しいデータフォルダを作成しました (new data folder): ") +
                        folder;
  }
  return pointSettingsAtData(store, dir.filePath(kDiaryFileName), dir.filePath(kWeatherFileName),
                             false, &report.error);
}

bool useDemoData(RegistryStore& store, const QString& programFolder, InstallReport& report) {
  const QString folder = demoDataFolder();
  if (!copyDemoData(programFolder, false) || !holdsBothDatabases(folder))
    return fail(&report.error,
                QStringLiteral("デモデータを %1 に用意できません (cannot provide the demo data)")
                    .arg(folder));
  const QDir dir(folder);
  if (!pointSettingsAtData(store, dir.filePath(kDiaryFileName), dir.filePath(kWeatherFileName),
                           true, &report.error))
    return false;
  report.notes << QStringLiteral(
                      "デモデータを使う設定にしました (settings point at the demo data): ") +
                      folder;
  return true;
}

bool generateDemo(const QString& target, QStringList& notes, QString* error) {
  QString why;
  if (!demo::generateDemoData(target, demo::DemoOptions{}, &why))
    return fail(error, QStringLiteral("デモデータを %1 に作成できません (cannot generate the demo "
                                      "data): %2")
                           .arg(target, why));
  notes << QStringLiteral("デモデータを作成しました (demo data generated): ") + target;
  return true;
}

// The executables come from the build's install step, not from here.
void noteMissingProgram(const QString& prefix, QStringList& notes) {
  const QString program = QDir(prefix).filePath(QStringLiteral("bin/hv6"));
  if (QFileInfo(program).isFile()) return;
  notes << QStringLiteral(
               "注意: %1 がありません。cmake --install でインストールしてください "
               "(note: hv6 is not installed there; run cmake --install first)")
               .arg(program);
}

}  // namespace

bool placeEnvironmentFiles(const QString& programFolder, QString* error) {
  if (!fileio::makeFolder(programFolder, kProgramFolderMode))
    return fail(error, QStringLiteral("%1 を作成できません (cannot create the program folder)")
                           .arg(programFolder));
  const QDir dir(programFolder);
  for (const QString& name : environmentFileNames()) {
    const QByteArray bytes = carriedFile(name);
    if (bytes.isEmpty())
      return fail(error, QStringLiteral("環境ファイル %1 がありません (missing)").arg(name));
    if (!placeFile(dir.filePath(name), bytes, error)) return false;
  }
  return true;
}

bool provideDemoData(const QString& programFolder, bool readOnlyProgramFolder, QStringList& notes,
                     QString* error) {
  // Generated where it stays: the photos are linked by their full paths.
  const QString inProgramFolder = QDir(programFolder).filePath(QStringLiteral("demodata"));
  if (holdsBothDatabases(inProgramFolder)) return true;
  if (!readOnlyProgramFolder) return generateDemo(inProgramFolder, notes, error);
  const QString shared = demoDataFolder();
  if (holdsBothDatabases(shared)) return true;
  if (!prepareDemoFolder())
    return fail(error, QStringLiteral("デモデータのフォルダ %1 を作成できません (cannot create the "
                                      "demo data folder)")
                           .arg(shared));
  if (!generateDemo(shared, notes, error)) return false;
  if (!shareDemoFiles())
    return fail(error, QStringLiteral("デモデータ %1 を他のユーザに開けません (cannot open the demo "
                                      "data to every user)")
                           .arg(shared));
  return true;
}

bool userIsSetUp(RegistryStore& store) {
  QString installPath;
  return AppRegistry(store).readString(StartKeys::kEnvironment, StartKeys::kInstallPath,
                                       installPath);
}

bool runInstallation(RegistryStore& store, const InstallOptions& options, InstallReport& report) {
  const InstallPaths paths{options.prefix, programFolderOf(options.prefix)};
  if (!ensureMachineFolder(&report.error)) return false;
  if (!placeEnvironmentFiles(paths.programFolder, &report.error)) return false;
  report.notes << QStringLiteral("プログラムフォルダ (program folder): ") + paths.programFolder;
  noteMissingProgram(options.prefix, report.notes);
  if (!provideDemoData(paths.programFolder, options.readOnlyProgramFolder, report.notes,
                       &report.error))
    return false;
  if (!writeDefaultSettings(store, paths, &report.error)) return false;
  report.notes << QStringLiteral("設定を書き込みました (settings written): ") + store.filePath();
  if (!options.dataFolder.isEmpty()) return useDataFolder(store, options.dataFolder, report);
  if (options.demo) return useDemoData(store, paths.programFolder, report);
  return true;
}

}  // namespace hv6::install
