#include "tools/toolframe.h"

#include "outside/errtext6/errmsg.h"
#include "platform/module.h"
#include "platform/presenter.h"

#include <QFileInfo>

namespace hv6 {
namespace {

constexpr long kMsgWriteFailed = 2503;
constexpr long kMsgReadFailed = 2504;
constexpr long kMsgProgramMissing = 2904;

struct ToolLibrary {
  const char* fileName;
  const char* exportName;
  long message;  // the tool's "cannot load" message
};

ToolLibrary libraryOf(DataTool tool) {
  switch (tool) {
    case DataTool::NewData: return {HV6_LIB_NEWDATA, HV6_EXPORT_NEWDATA, 2905};
    case DataTool::Backup: return {HV6_LIB_BACKUP, HV6_EXPORT_BACKUP, 2906};
    case DataTool::Restore: return {HV6_LIB_RESTORE, HV6_EXPORT_RESTORE, 2907};
    case DataTool::Maintenance: return {HV6_LIB_MAINTENANCE, HV6_EXPORT_MAINTENANCE, 2908};
  }
  return {};
}

void showNumbered(long number, int kind = 1) { CErrMsg().Disp(number, kind, 0, kHrvCaption); }

// The library file named by the settings, or empty when it is not there.
QString existingLibrary(const QString& installPath, const QString& fileName) {
  const QFileInfo path(toolLibraryPath(installPath, fileName));
  return Module::locate(path.path(), path.fileName());
}

// New data's library: found by its bare name, the program's folder first.
bool loadNewDataLibrary(Module& module, DataToolHost& host) {
  const QString name = QStringLiteral(HV6_LIB_NEWDATA);
  if (module.load(host.programFolder(), name)) return true;
  const QString firstError = module.errorText();
  if (module.loadByName(name)) return true;
  showMessage(firstError, QStringLiteral("Error"), MsgButtons::Ok, MsgIcon::Information);
  return false;
}

// The entries the library returned, taken over by the view and written.
bool adoptLaunchers(const Hv6LauncherEntry* made, DataToolHost& host) {
  LauncherArray entries;
  std::copy(made, made + HV6_LAUNCHER_COUNT, entries.begin());
  host.takeLaunchers(entries);
  if (!host.saveLaunchers()) {
    showNumbered(kMsgWriteFailed);
    return false;
  }
  host.refreshLauncherButtons();
  return true;
}

// Step 5 of the frame for each tool: load, look up, call, unload.
ToolRun callTool(DataTool tool, const QString& installPath, DataToolHost& host, bool* created) {
  const ToolLibrary library = libraryOf(tool);
  const QString fileName = QString::fromLatin1(library.fileName);
  const QString file = existingLibrary(installPath, fileName);
  if (file.isEmpty()) {
    showNumbered(library.message);
    return ToolRun::LibraryMissing;
  }
  Module module;
  if (tool == DataTool::NewData) {
    if (!loadNewDataLibrary(module, host)) {
      showNumbered(library.message);
      return ToolRun::LoadFailed;
    }
  } else if (!module.load(QFileInfo(file).path(), QFileInfo(file).fileName())) {
    showNumbered(library.message, 0);
    return ToolRun::LoadFailed;
  }
  QFunctionPointer entry = module.resolve(library.exportName);
  if (!entry) {
    if (tool != DataTool::NewData) showNumbered(library.message, 0);
    return ToolRun::ExportMissing;
  }
  switch (tool) {
    case DataTool::NewData: {
      const LauncherArray current = host.launchers();
      const Hv6LauncherEntry* made = reinterpret_cast<Hv6NewMakeDataFn>(entry)(
          current.data(), HV6_LAUNCHER_COUNT, HV6_NEWDATA_COMMAND);
      if (created) *created = made != nullptr;
      if (made) adoptLaunchers(made, host);  // copied before the unload below
      break;
    }
    case DataTool::Backup:
      reinterpret_cast<Hv6DataBackupFn>(entry)("", "", "", "");
      break;
    case DataTool::Restore:
      reinterpret_cast<Hv6DataRestoreFn>(entry)("", "", "");
      break;
    case DataTool::Maintenance:
      reinterpret_cast<Hv6DataMaintenanceFn>(entry)(host.viewWindow(), 0);
      break;
  }
  module.unload();
  return ToolRun::Called;
}

void clearAccess(DataToolHost& host) {
  if (!host.writeAccess(0)) showNumbered(kMsgWriteFailed);
}

}  // namespace

QString enquiryCommand(const QString& installPath) {
  QString program = toolLibraryPath(installPath, QStringLiteral(HV6_PROGRAM_HELPDESK));
  // The Windows name stands for the program file without its suffix.
  const QString bare = program.chopped(4);
  if (!QFileInfo(program).isFile() && QFileInfo(bare).isFile()) program = bare;
  return u'"' + program + u'"';
}

QString toolLibraryPath(const QString& installPath, const QString& fileName) {
  if (installPath.endsWith(u'/') || installPath.endsWith(u'\\')) return installPath + fileName;
  return installPath + u'/' + fileName;
}

ToolRun runDataTool(DataTool tool, DataToolHost& host, bool* created) {
  if (created) *created = false;
  if (!host.writeAccess(1)) {
    showNumbered(kMsgWriteFailed);
    return ToolRun::AccessFailed;
  }
  if (!host.closeRelatedPrograms()) {
    clearAccess(host);
    return ToolRun::NotClosed;
  }
  const bool diaryWasOpen = host.closeDiaryDatabase();
  const bool weatherWasOpen = host.closeWeatherDatabase();

  ToolRun run = ToolRun::NoInstallPath;
  QString installPath;
  if (host.readInstallPath(installPath)) run = callTool(tool, installPath, host, created);
  else showNumbered(kMsgReadFailed);

  const auto reopen = [&] {
    if (diaryWasOpen) host.reopenDiaryDatabase();
    if (weatherWasOpen) host.reopenWeatherDatabase();
  };
  switch (tool) {
    case DataTool::Backup:
      clearAccess(host);
      reopen();
      break;
    case DataTool::Restore:
    case DataTool::Maintenance:
      reopen();
      clearAccess(host);
      break;
    case DataTool::NewData:
      clearAccess(host);
      reopen();
      host.reloadView();
      break;
  }
  return run;
}

bool runEnquiryTool(DataToolHost& host) {
  QString installPath;
  if (!host.readInstallPath(installPath)) {
    showNumbered(kMsgReadFailed);
    return false;
  }
  if (!host.startProgram(enquiryCommand(installPath))) {
    showNumbered(kMsgProgramMissing);
    return false;
  }
  return true;
}

bool runFirstStartNewData(int mode, DataToolHost& host) {
  QString installPath;
  if (!host.readInstallPath(installPath)) {
    showNumbered(kMsgReadFailed);
    return false;
  }
  const QString file = existingLibrary(installPath, QStringLiteral(HV6_LIB_NEWDATA));
  if (file.isEmpty()) return false;
  Module module;
  if (!module.load(QFileInfo(file).path(), QFileInfo(file).fileName())) {
    showNumbered(2905);
    return false;
  }
  auto* newMakeData = reinterpret_cast<Hv6NewMakeDataFn>(module.resolve(HV6_EXPORT_NEWDATA));
  if (!newMakeData) return true;  // unloaded when the module goes
  const LauncherArray current = host.launchers();
  const Hv6LauncherEntry* made = newMakeData(current.data(), HV6_LAUNCHER_COUNT, mode);
  if (!made) return false;
  return adoptLaunchers(made, host);
}

}  // namespace hv6
