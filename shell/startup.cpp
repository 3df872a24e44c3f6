#include "shell/startup.h"

#include "resources/pictures.h"

#include <QRegularExpression>
#include <QStringList>

namespace hv6 {

CommandWords firstTwoWords(const QString& commandLine) {
  static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
  const QStringList words = commandLine.split(blanks, Qt::SkipEmptyParts);
  CommandWords result;
  if (!words.isEmpty()) result.first = words.at(0);
  if (words.size() > 1) result.second = words.at(1);
  return result;
}

std::optional<QString> regOptionKey(const QString& commandLine) {
  const CommandWords words = firstTwoWords(commandLine);
  if (words.first.toUpper() != QStringLiteral("-REG")) return std::nullopt;
  return words.second;
}

StartOptions parseStartArguments(const QStringList& arguments) {
  StartOptions options;
  QStringList rest = arguments.mid(1);  // without the program itself
  options.checkStart = rest.removeAll(QStringLiteral("--check-start")) > 0;
  options.importMobile = rest.removeAll(QStringLiteral("--import-mobile")) > 0;
  options.fetchWeather = rest.removeAll(QStringLiteral("--fetch-weather")) > 0;
  options.commandLine = rest.join(u' ');
  return options;
}

int backgroundPictureId(long date, int seconds) {
  if (seconds == 0) return kSecondsZeroPicture;
  const long monthDay = date % 10000;
  if (monthDay == 802) return kFestivalPicture2Aug;
  if (monthDay == 803) return kFestivalPicture3Aug;
  const long month = monthDay / 100;
  if (month >= 3 && month <= 5) return kSpringPicture;
  if (month >= 6 && month <= 8) return kSummerPicture;
  if (month >= 9 && month <= 11) return kAutumnPicture;
  return kWinterPicture;
}

}  // namespace hv6
