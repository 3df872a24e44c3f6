#include "shell/datatoolcommand.h"

#include "outside/errtext6/errmsg.h"
#include "outside/hrvcom106/checkv5app.h"
#include "platform/module.h"
#include "platform/registry.h"
#include "shell/appregistry.h"
#include "shell/instanceguard.h"
#include "shell/relatedprograms.h"
#include "shell/startup.h"
#include "tools/datatools_abi.h"

#include <QDir>

#include <cstdio>

namespace hv6 {
namespace {

constexpr long kMsgWriteFailed = 2503;
constexpr long kMsgReadFailed = 2504;
constexpr long kMsgProgramRunning = 2973;

bool takeOption(QStringList& arguments, const QString& option, QString& value, bool& present) {
  const qsizetype at = arguments.indexOf(option);
  if (at < 0) return false;
  present = true;
  value = at + 1 < arguments.size() ? arguments.at(at + 1) : QString();
  arguments.remove(at, at + 1 < arguments.size() ? 2 : 1);
  return true;
}

void complain(const QString& text) {
  std::fputs(("hv6: " + text + u'\n').toUtf8().constData(), stderr);
}

int exitStatusOf(std::int32_t result) {
  if (result == HV6_TOOL_DONE) return kToolExitDone;
  if (result == HV6_TOOL_CANCELLED) return kToolExitCancelled;
  return kToolExitFailed;
}

// Loads the library from InstallPath and calls its export with the file.
int callLibrary(DataToolCommand::Kind kind, const QString& installPath, const QString& file) {
  const bool backup = kind == DataToolCommand::Kind::Backup;
  const long missingMessage = backup ? 2906 : 2907;
  Module module;
  if (!module.load(installPath, QString::fromLatin1(backup ? HV6_LIB_BACKUP : HV6_LIB_RESTORE))) {
    CErrMsg().Disp(missingMessage, 0, module.errorText());
    return kToolExitFailed;
  }
  const QByteArray path = QFileInfo(file).absoluteFilePath().toUtf8();
  std::int32_t result = 0;
  if (backup) {
    auto* entry = module.function<std::remove_pointer_t<Hv6DataBackupFn>>(HV6_EXPORT_BACKUP);
    if (!entry) {
      CErrMsg().Disp(missingMessage, 0, module.errorText());
      return kToolExitFailed;
    }
    result = entry(path.constData(), "", "", "");
  } else {
    auto* entry = module.function<std::remove_pointer_t<Hv6DataRestoreFn>>(HV6_EXPORT_RESTORE);
    if (!entry) {
      CErrMsg().Disp(missingMessage, 0, module.errorText());
      return kToolExitFailed;
    }
    result = entry(path.constData(), "", "");
  }
  module.unload();
  return exitStatusOf(result);
}

}  // namespace

DataToolCommand takeDataToolCommand(QStringList& arguments) {
  DataToolCommand command;
  bool backup = false;
  bool restore = false;
  QString backupFile;
  QString restoreFile;
  takeOption(arguments, QStringLiteral("--backup"), backupFile, backup);
  takeOption(arguments, QStringLiteral("--restore"), restoreFile, restore);
  if (backup && restore) {
    command.error = QStringLiteral("--backup and --restore cannot be given together");
    return command;
  }
  if (!backup && !restore) return command;
  command.kind = backup ? DataToolCommand::Kind::Backup : DataToolCommand::Kind::Restore;
  command.file = backup ? backupFile : restoreFile;
  if (command.file.isEmpty() || command.file.startsWith(QLatin1String("--")))
    command.error = QStringLiteral("%1 needs a FILE").arg(backup ? "--backup" : "--restore");
  return command;
}

int runDataToolCommand(const DataToolCommand& command, const QString& commandLine) {
  if (!command.error.isEmpty()) {
    complain(command.error);
    return kToolExitBadArguments;
  }
  RegistryStore store;
  AppRegistry registry(store);
  if (const auto key = regOptionKey(commandLine); key && !registry.selectSettingsKey(*key)) {
    CErrMsg().Disp(kMsgReadFailed, 1);
    return kToolExitFailed;
  }
  const bool restore = command.kind == DataToolCommand::Kind::Restore;
  // A restore exchanges the data folder: no program may hold it open.
  InstanceGuard guard(kAppTitle);
  if (restore && guard.acquire() != InstanceGuard::Outcome::First) {
    CErrMsg().Disp(kMsgProgramRunning, 1);
    return kToolExitFailed;
  }
  QString installPath;
  if (!registry.readString(StartKeys::kEnvironment, StartKeys::kInstallPath, installPath)) {
    CErrMsg().Disp(kMsgReadFailed, 1);
    return kToolExitFailed;
  }
  // Access already 1: another tool has the data. A restore waits for it;
  // a backup takes its copy anyway and leaves the flag to its owner.
  std::uint32_t access = 0;
  const bool busy = registry.readDword(StartKeys::kBaseInfo, StartKeys::kAccess, access) && access != 0;
  if (busy && restore) {
    CErrMsg().Disp(kMsgProgramRunning, 1);
    return kToolExitFailed;
  }
  if (!busy && !registry.writeDword(StartKeys::kBaseInfo, StartKeys::kAccess, 1)) {
    CErrMsg().Disp(kMsgWriteFailed, 1);
    return kToolExitFailed;
  }
  int status = kToolExitFailed;
  // Without a window the question to close other programs is answered
  // "Cancel": a restore does not run beside them. A backup takes its
  // copy while they work.
  CCheckV5App check;
  if (!restore || closeRelatedPrograms(check)) status = callLibrary(command.kind, installPath, command.file);
  if (!busy && !registry.writeDword(StartKeys::kBaseInfo, StartKeys::kAccess, 0)) {
    CErrMsg().Disp(kMsgWriteFailed, 1);
    if (status == kToolExitDone) status = kToolExitFailed;
  }
  return status;
}

}  // namespace hv6
