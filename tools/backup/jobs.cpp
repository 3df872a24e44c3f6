#include "tools/backup/jobs.h"

#include "outside/errtext6/errmsg.h"

#include <QDir>
#include <QFileInfo>

namespace hv6::backup {
namespace {

// Failures show as error boxes, the reports of success as notices.
void show(long message, const QString& detail = {}) {
  const bool failure = message != kMsgBackupDone && message != kMsgRestoreDone;
  CErrMsg().Disp(message, failure ? 1 : 0, detail);
}

}  // namespace

long runBackupJob(const DataPaths& paths, const QString& file, long date,
                  const ProgressFunction& progress, const std::function<bool(long)>& recordDate) {
  const BackupResult result = writeBackup(paths, file, date, progress);
  if (result.message == kCancelled) return kCancelled;
  if (result.message != kDone) {
    show(result.message, result.detail);
    return result.message;
  }
  const bool recorded = result.dateRecorded && (!recordDate || recordDate(date));
  QString detail = QDir::toNativeSeparators(file);
  if (!result.missingPictures.isEmpty())
    detail += QStringLiteral("\n見つからなかった画像ファイル: %1件").arg(result.missingPictures.size());
  show(recorded ? kMsgBackupDone : kMsgDateNotRecorded, detail);
  return kDone;
}

long runRestoreJob(const QString& file, const DataPaths& paths, const RestoreOptions& options,
                   const std::function<bool(const QString&)>& recordWeatherPath) {
  const RestoreResult result = restoreBackup(file, paths, options);
  if (result.message == kCancelled) return kCancelled;
  if (result.message != kDone) {
    show(result.message, result.detail);
    return result.message;
  }
  if (recordWeatherPath && QFileInfo(result.weatherPath).isFile() &&
      QFileInfo(result.weatherPath).absoluteFilePath() != QFileInfo(paths.weather).absoluteFilePath())
    recordWeatherPath(result.weatherPath);
  QString detail = QDir::toNativeSeparators(result.safetyCopy);
  if (!result.relocatedPictures.isEmpty())
    detail += QStringLiteral("\n元の場所に戻せなかった画像 %1件を次のフォルダに復元しました。\n%2")
                  .arg(result.relocatedPictures.size())
                  .arg(QDir::toNativeSeparators(QFileInfo(result.relocatedPictures.first()).absolutePath()));
  show(kMsgRestoreDone, detail);
  return kDone;
}

QString dateText(long date) {
  if (date <= 0) return QString();
  return QStringLiteral("%1年%2月%3日").arg(date / 10000).arg(date / 100 % 100).arg(date % 100);
}

QString describeBackup(const BackupHeader& header) {
  QStringList lines;
  lines << QStringLiteral("バックアップ日: %1").arg(dateText(header.date))
        << QStringLiteral("事業所名: %1").arg(header.farmName)
        << QStringLiteral("作業日誌: %1件").arg(header.diaryRows)
        << QStringLiteral("農作業日記: %1日分").arg(header.farmDiaryCount)
        << QStringLiteral("画像: %1件（ファイル %2個）").arg(header.pictureRows).arg(header.pictureCount)
        << QStringLiteral("作成したプログラム: %1").arg(header.programVersion);
  return lines.join(u'\n');
}

}  // namespace hv6::backup
