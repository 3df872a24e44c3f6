#include "outside/wxfetch6/settings.h"

#include "platform/folders.h"
#include "platform/profile.h"
#include "platform/registry.h"

#include <QUrl>

namespace hv6::wxfetch {
namespace {

const QString kSection = QStringLiteral("WEATHER");
constexpr int kValueSize = 1024;

QString iniValue(const QString& iniPath, const QString& key) {
  QString value;
  GetPrivateProfileString(kSection, key, QString(), value, kValueSize, iniPath);
  return value.trimmed();
}

bool isServiceUrl(const QString& text) {
  const QUrl url(text, QUrl::StrictMode);
  const QString scheme = url.scheme().toLower();
  return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
         !url.host().isEmpty() && !url.hasFragment();
}

}  // namespace

QString wxfetchIniPath() {
  const QString documents = specialFolder(kFolderDocuments);
  return documents.isEmpty() ? documents : documents + QStringLiteral("/Velqor/HV6P/wxfetch.ini");
}

bool readServiceSettings(const QString& iniPath, ServiceSettings& settings, QString& why) {
  if (!iniPath.isEmpty()) {
    const QString forecast = iniValue(iniPath, QStringLiteral("FORECAST_URL"));
    const QString archive = iniValue(iniPath, QStringLiteral("ARCHIVE_URL"));
    if (!forecast.isEmpty()) settings.forecastUrl = forecast;
    if (!archive.isEmpty()) settings.archiveUrl = archive;
    settings.apiKey = iniValue(iniPath, QStringLiteral("API_KEY"));
  }
  for (const auto& [key, url] : {std::pair{"FORECAST_URL", settings.forecastUrl},
                                 std::pair{"ARCHIVE_URL", settings.archiveUrl}}) {
    if (isServiceUrl(url)) continue;
    why = QStringLiteral("wxfetch.ini [WEATHER] %1 は http または https の URL ではありません: %2")
              .arg(QLatin1String(key), url);
    return false;
  }
  return true;
}

bool readDataPaths(const QString& keyName, DataPaths& paths, QString& why) {
  const RegistryStore store;
  const QString base = QStringLiteral("Software\\Velqor\\HV6");
  QString key = keyName;
  if (key.isEmpty() && store.readString(base, QStringLiteral("CurrentKEY"), key) != RegStatus::Ok) {
    why = QStringLiteral("設定 CurrentKEY を読めません");
    return false;
  }
  if (key.isEmpty()) key = QStringLiteral("HV6");
  const QString baseInfo = base + u'\\' + key + QStringLiteral("\\Environment\\BaseInfo");
  for (const auto& [name, out] : {std::pair<const char*, QString*>{"WeatherDataPath", &paths.weather},
                                  std::pair<const char*, QString*>{"DataPath", &paths.diary}}) {
    if (store.readString(baseInfo, QLatin1String(name), *out) == RegStatus::Ok && !out->isEmpty())
      continue;
    why = QStringLiteral("設定 %1 を読めません").arg(QLatin1String(name));
    return false;
  }
  return true;
}

}  // namespace hv6::wxfetch
