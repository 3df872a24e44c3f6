#include "shell/appcore.h"

#include "outside/dataconv6/dataconv.h"
#include "outside/errtext6/errmsg.h"
#include "platform/dao/exception.h"
#include "shell/accessflag.h"
#include "shell/startup.h"

#include <QFileInfo>

namespace hv6 {
namespace {

constexpr long kMsgWriteFailed = 2503;
constexpr long kMsgReadFailed = 2504;

void showNumbered(long number) { CErrMsg().Disp(number, 1, 0, kAppTitle); }

bool isFile(const QString& path) { return !path.isEmpty() && QFileInfo(path).isFile(); }

}  // namespace

AppCore::AppCore(RegistryStore& store) : registry_(store) {}

AppCore::~AppCore() { closeDatabases(); }

StartOutcome AppCore::runStartSteps(const QString& commandLine) {
  applyCommandLine(commandLine);
  if (!resetAccess()) {
    showNumbered(kMsgWriteFailed);
    return {false, kMsgWriteFailed};
  }
  if (!readBaseSettings()) {
    showNumbered(kMsgReadFailed);
    return {false, kMsgReadFailed};
  }
  resetNetworkSetup();
  openDatabases();
  convertPreviousEdition();
  return {};
}

StartOutcome AppCore::runReadingSteps(const QString& commandLine) {
  readOnly_ = true;
  registry_.setReadOnly(true);
  applyCommandLine(commandLine);
  if (!readBaseSettings()) {
    showNumbered(kMsgReadFailed);
    return {false, kMsgReadFailed};
  }
  openDatabases();
  return {};
}

void AppCore::applyCommandLine(const QString& commandLine) {
  const std::optional<QString> key = regOptionKey(commandLine);
  if (!key) return;
  if (!registry_.selectSettingsKey(*key)) showNumbered(kMsgWriteFailed);
}

bool AppCore::resetAccess() { return AccessFlag::resetUnlessHeld(registry_); }

bool AppCore::readBaseSettings() {
  BaseSettings read;
  read.root = registry_.root();
  if (read.root.isEmpty()) return false;
  if (!registry_.readString(StartKeys::kBaseInfo, StartKeys::kDataPath, read.dataPath)) return false;
  if (!registry_.readString(StartKeys::kEnvironment, StartKeys::kInstallPath, read.installPath))
    return false;
  settings_ = read;
  return true;
}

void AppCore::resetNetworkSetup() {
  if (!registry_.writeDword(StartKeys::kBaseInfo, StartKeys::kNetworkSetup, 0))
    showNumbered(kMsgReadFailed);
}

void AppCore::openDatabases() {
  reopenWeatherDatabase();
  reopenDiaryDatabase();
}

void AppCore::convertPreviousEdition() {
  // Only an existing file can hold older data; the converter never gets a
  // path where it could create one.
  if (!isFile(settings_.dataPath)) return;
  CV6XDataConv().ConvV6toV6X(settings_.dataPath);
}

CDaoDatabase* AppCore::reopenDiaryDatabase() {
  return reopen(diary_, StartKeys::kDataPath, diaryPath_, diaryError_);
}

CDaoDatabase* AppCore::reopenWeatherDatabase() {
  return reopen(weather_, StartKeys::kWeatherDataPath, weatherPath_, weatherError_);
}

CDaoDatabase* AppCore::reopen(CDaoDatabase& db, const QString& valueName, QString& path,
                              QString& error) {
  QString wanted;
  if (!registry_.readString(StartKeys::kBaseInfo, valueName, wanted)) showNumbered(kMsgReadFailed);
  if (db.IsOpen()) db.Close();
  error.clear();
  try {
    db.Open(wanted, false, readOnly_);  // an empty path fails in Open as a database error
    path = wanted;
    return &db;
  } catch (const CDaoException& failure) {
    error = QStringLiteral("%1 %2").arg(failure.errorCode()).arg(failure.description());
    return nullptr;
  }
}

bool AppCore::dataFilesPresent() const {
  QString diary;
  QString weather;
  if (!registry_.readString(StartKeys::kBaseInfo, StartKeys::kDataPath, diary)) return false;
  if (!registry_.readString(StartKeys::kBaseInfo, StartKeys::kWeatherDataPath, weather))
    return false;
  return isFile(diary) && isFile(weather);
}

void AppCore::closeDatabases() {
  if (diary_.IsOpen()) diary_.Close();
  if (weather_.IsOpen()) weather_.Close();
}

}  // namespace hv6
