#include "updater/servicepack.h"

#include "outside/errtext6/errmsg.h"
#include "outside/vqbase106/settingsroot.h"
#include "platform/lockfile.h"
#include "updater/version.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace hv6::updater {
namespace {

// The message texts hold "%s": filled from the left in one pass, so a value
// holding "%s" stays as it is.
QString filled(const QString& pattern, const QStringList& values) {
  QString out;
  qsizetype from = 0;
  for (const QString& value : values) {
    const qsizetype at = pattern.indexOf(QStringLiteral("%s"), from);
    if (at < 0) break;
    out += pattern.mid(from, at - from) + value;
    from = at + 2;
  }
  return out + pattern.mid(from);
}

QString withSlash(const QString& folder) {
  return folder.endsWith(u'/') ? folder : folder + u'/';
}

Report error(Outcome outcome, const QString& text) {
  return Report{outcome, text, kCaptionError, MsgIcon::Warning};
}

Report notice(Outcome outcome, const QString& text) {
  return Report{outcome, text, kCaptionConfirm, MsgIcon::Information};
}

}  // namespace

bool hv6IsRunning() {
  return NamedLock::isTaken(kHrvCaption, LockScope::User) ||
         NamedLock::isTaken(kMachineGuardName, LockScope::Machine);
}

void tell(const Report& report, QWidget* parent) {
  if (report.text.isEmpty()) return;
  showMessage(report.text, report.caption, MsgButtons::Ok, report.icon, parent);
}

ServicePack::ServicePack(RegistryStore& registry, const QString& sourceFolder, FileOps* ops)
    : registry_(registry), source_(withSlash(sourceFolder)), ops_(ops ? ops : &defaultOps_) {}

Report ServicePack::check() {
  target_.clear();
  copies_.clear();
  if (hv6IsRunning()) return error(Outcome::Hv6Running, kHv6RunningText);
  list_ = readFileList(source_);
  if (list_.fileCount < 1) return error(Outcome::NoFileList, kNoFileListText);
  if (Report files = checkFiles(); files.outcome != Outcome::Ready) return files;

  // The program folder: an absolute path, not the empty text that would
  // make the root of the file system the target.
  const QString root = settingsRoot(registry_);
  QString installPath;
  if (root.isEmpty() ||
      registry_.readString(root + kEnvironmentKey, kInstallPathValue, installPath) != RegStatus::Ok ||
      !QDir::isAbsolutePath(installPath))
    return error(Outcome::NoInstallFolder, kNoInstallFolderText);
  target_ = withSlash(installPath);
  for (FileCopy& copy : copies_) copy.target = target_ + copy.target;
  return checkVersion();
}

// Every listed file must be in the pack's folder, under a name that stays
// inside it. A file listed twice is copied once.
Report ServicePack::checkFiles() {
  QSet<QString> seen;
  for (int index = 0; index < list_.fileCount; ++index) {
    const QString name = index < list_.names.size() ? list_.names.at(index) : QString();
    const QString relative = relativePath(name);
    if (relative.isEmpty() || !QFileInfo(source_ + relative).isFile())
      return error(Outcome::IncompletePack, kIncompletePackText);
    if (seen.contains(relative)) continue;
    seen.insert(relative);
    copies_ << FileCopy{name, source_ + relative, relative};  // the target is completed later
  }
  return Report{};
}

Report ServicePack::checkVersion() const {
  QString installed;
  if (registry_.readString(settingsRoot(registry_) + kVersionKey, kVersionValue, installed) !=
      RegStatus::Ok)
    return Report{};  // no version to compare: the pack is offered
  if (compareVersions(installed, list_.minVersion) < 0) {
    const QString range = list_.minVersion == list_.maxVersion
                              ? filled(kOnlyVersionText, {list_.minVersion})
                              : filled(kVersionRangeText, {list_.minVersion, list_.maxVersion});
    return error(Outcome::OutOfRange, filled(kOutOfRangeText, {range}));
  }
  if (compareVersions(installed, list_.maxVersion) > 0)
    return notice(Outcome::NewerInstalled, kNewerInstalledText);
  return Report{};
}

Report ServicePack::apply() {
  const ReplaceResult result = replaceFiles(copies_, *ops_);
  if (result.status == ReplaceResult::Status::Replaced)
    return notice(Outcome::Applied, kFinishedText);
  QString text = kCopyFailedText + QStringLiteral("\n\n") + result.failedName;
  if (!result.error.isEmpty()) text += u'\n' + result.error;
  if (result.status == ReplaceResult::Status::Failed) return error(Outcome::CopyFailed, text);
  text += QStringLiteral("\n\n") + filled(kNotRestoredText, {kBackupSuffix}) + u'\n' +
          result.notRestored.join(u'\n');
  return error(Outcome::NotRestored, text);
}

bool ServicePack::checkAndTell(QWidget* parent) {
  const Report report = check();
  tell(report, parent);
  return report.outcome == Outcome::Ready;
}

Outcome ServicePack::applyAndTell(bool ask, QWidget* parent) {
  if (ask && showMessage(kConfirmText, kCaptionConfirm, MsgButtons::OkCancel, MsgIcon::Question,
                         parent) != MsgAnswer::Ok)
    return Outcome::Ready;
  const Report report = apply();
  tell(report, parent);
  return report.outcome;
}

}  // namespace hv6::updater
