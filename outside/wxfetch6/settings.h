#pragma once
// Where the weather library finds its service and its databases.

#include <QString>

namespace hv6::wxfetch {

inline const QString kDefaultForecastUrl = QStringLiteral("https://api.open-meteo.com/v1/forecast");
inline const QString kDefaultArchiveUrl =
    QStringLiteral("https://archive-api.open-meteo.com/v1/archive");

// Section WEATHER of "wxfetch.ini".
struct ServiceSettings {
  QString forecastUrl = kDefaultForecastUrl;
  QString archiveUrl = kDefaultArchiveUrl;
  QString apiKey;
};

// The per-user "wxfetch.ini" (documents folder, "Velqor/HV6P"); empty when
// the documents folder is unknown.
QString wxfetchIniPath();

// The service settings of an INI file; a missing file, section or key, or
// an empty value, keeps the default. False (with why) when a URL is not an
// http or https URL with a host.
bool readServiceSettings(const QString& iniPath, ServiceSettings& settings, QString& why);

struct DataPaths {
  QString weather;  // WeatherDataPath
  QString diary;    // DataPath
};

// The two paths below Environment\BaseInfo of the settings root
// ("Software\Velqor\HV6\" + keyName, or + CurrentKEY, "HV6" when empty).
// False (with why) when either cannot be read or is empty.
bool readDataPaths(const QString& keyName, DataPaths& paths, QString& why);

}  // namespace hv6::wxfetch
