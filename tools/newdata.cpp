#include "tools/newdata.h"

#include "install/settings.h"
#include "outside/dataconv6/dataconv.h"
#include "platform/folders.h"
#include "store/information.h"
#include "store/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace hv6 {
namespace {

NewDataOutcome failed(const QString& error) { return {false, QString(), error}; }

// The older folder's farm-diary files ("yyyymmdd.rtf") copied beside the
// converted diary.
void copyFarmDiaries(const QString& from, const QString& to) {
  static const QRegularExpression kFarmDiary(QStringLiteral("^\\d{8}\\.rtf$"),
                                             QRegularExpression::CaseInsensitiveOption);
  const QDir source(from);
  for (const QString& name : source.entryList(QDir::Files)) {
    if (kFarmDiary.match(name).hasMatch()) QFile::copy(source.filePath(name), QDir(to).filePath(name));
  }
}

// The older diary, converted under a temporary name in the new folder, in
// place of the new empty one.
bool convertInto(const QString& olderDiary, const QString& folder, QWidget* parent,
                 QString& error) {
  const QDir dir(folder);
  const QString diary = dir.filePath(kDiaryFileName);
  const QString work = dir.filePath(QStringLiteral(".converting-") + kDiaryFileName);
  QFile::remove(work);
  if (!QFile::copy(olderDiary, work)) {
    error = QStringLiteral("%1 を読み込めません。").arg(olderDiary);
    return false;
  }
  QFile::setPermissions(work, QFile::ReadOwner | QFile::WriteOwner);
  const bool converted = CV6XDataConv().ConvV6toV6X(work, parent);
  // The converter's dated copy of the work file is a copy of the user's
  // file, which stays where it was.
  for (const QString& name :
       dir.entryList({QStringLiteral(".converting-*.bak-*")}, QDir::Files | QDir::Hidden))
    QFile::remove(dir.filePath(name));
  if (!converted || !isAcceptableDatabase(work)) {
    QFile::remove(work);
    error = QStringLiteral("%1 を変換できませんでした。").arg(olderDiary);
    return false;
  }
  if (!QFile::remove(diary) || !QFile::rename(work, diary)) {
    QFile::remove(work);
    error = QStringLiteral("%1 に書き込めません。").arg(folder);
    return false;
  }
  copyFarmDiaries(QFileInfo(olderDiary).absolutePath(), folder);
  return true;
}

void removeMade(const QString& folder, bool folderExisted) {
  if (!folderExisted) {
    QDir(folder).removeRecursively();
    return;
  }
  const QDir dir(folder);
  QFile::remove(dir.filePath(kDiaryFileName));
  QFile::remove(dir.filePath(kWeatherFileName));
}

}  // namespace

QString defaultNewDataPlace() { return specialFolder(kFolderDocuments); }

NewDataOutcome makeNewData(RegistryStore& store, const NewDataRequest& request, QWidget* parent) {
  const QString name = request.folderName.trimmed();
  if (request.place.trimmed().isEmpty() || !QFileInfo(request.place).isDir())
    return failed(QStringLiteral("作成する場所のフォルダがありません。"));
  if (name.isEmpty() || name.contains(u'/') || name == QStringLiteral(".") ||
      name == QStringLiteral(".."))
    return failed(QStringLiteral("データフォルダの名前を入力してください。"));
  if (!request.olderDiary.isEmpty() && !QFileInfo(request.olderDiary).isFile())
    return failed(QStringLiteral("変換する作業日誌データがありません。"));

  const QString folder = QDir(request.place).absoluteFilePath(name);
  const bool folderExisted = QFileInfo::exists(folder);
  InformationTexts texts;
  texts.company = request.farmName.trimmed();
  QString error;
  if (!install::createNewDataFolder(folder, &error, texts)) return failed(error);
  if (!request.olderDiary.isEmpty() && !convertInto(request.olderDiary, folder, parent, error)) {
    removeMade(folder, folderExisted);
    return failed(error);
  }
  const QDir dir(folder);
  if (!install::pointSettingsAtData(store, dir.filePath(kDiaryFileName),
                                    dir.filePath(kWeatherFileName), false, &error)) {
    removeMade(folder, folderExisted);
    return failed(error);
  }
  return {true, folder, QString()};
}

}  // namespace hv6
