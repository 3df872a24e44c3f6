#include "store/datafolder.h"

#include "store/information.h"
#include "store/schema.h"

#include <QDir>
#include <QFileInfo>

namespace hv6 {
namespace {

const QString kEllipsis = QStringLiteral("...");
constexpr int kModeWithWeather = 1;

// The text without its last character; a surrogate pair goes whole.
void dropLastCharacter(QString& text) {
  const qsizetype size = text.size();
  const bool pair = size >= 2 && text.at(size - 1).isLowSurrogate() &&
                    text.at(size - 2).isHighSurrogate();
  text.chop(pair ? 2 : 1);
}

QString withoutTrailingSeparator(const QString& folder) {
  QString text = folder;
  while (text.size() > 1 && text.endsWith(QLatin1Char('/'))) text.chop(1);
  return text;
}

bool isFileIn(const QString& folder, const QString& name) {
  return QFileInfo(QDir(folder).filePath(name)).isFile();
}

bool holdsDiaryData(const QString& folder, int mode) {
  if (!isFileIn(folder, kDiaryFileName)) return false;
  if (mode != kModeWithWeather || !isAcceptableDatabase(diaryPathIn(folder))) return true;
  return isFileIn(folder, kWeatherFileName);
}

}  // namespace

QString dataFolderOf(const QString& databasePath) {
  const qsizetype slash = databasePath.lastIndexOf(QLatin1Char('/'));
  if (slash < 0) return {};
  return withoutTrailingSeparator(databasePath.left(slash + 1));
}

QString diaryPathIn(const QString& folder) { return QDir(folder).filePath(kDiaryFileName); }

QString weatherPathIn(const QString& folder) { return QDir(folder).filePath(kWeatherFileName); }

QString fitWithEllipsis(const QString& text, int width,
                        const std::function<int(const QString&)>& textWidth) {
  if (textWidth(text) <= width) return text;
  QString cut = text;
  while (!cut.isEmpty() && textWidth(cut + kEllipsis) > width) dropLastCharacter(cut);
  return cut + kEllipsis;
}

FolderRating rateDataFolder(const QString& folder, const QString& currentFolder, int mode) {
  if (withoutTrailingSeparator(folder).compare(withoutTrailingSeparator(currentFolder),
                                               Qt::CaseInsensitive) == 0)
    return {false, kSameFolderStatus};
  if (holdsDiaryData(folder, mode)) return {true, kDiaryFoundStatus};
  return {false, kDiaryMissingStatus};
}

}  // namespace hv6
