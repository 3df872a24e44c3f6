#pragma once
// The weather library: the daily weather of the farm's observation points
// from a public weather service by latitude and longitude, into the weather
// database, and the weather pictures of the farm's first observed point into
// the diary database's Weather table, so the calendar shows them.
//
// The service is named in section WEATHER of the user's "wxfetch.ini":
// FORECAST_URL (default Open-Meteo's forecast endpoint), ARCHIVE_URL
// (default its archive endpoint) and API_KEY (empty; sent as "apikey" for a
// paid plan). The databases are the files of WeatherDataPath and DataPath
// below the settings root's Environment\BaseInfo.
//
// Results: zero or more is success, negative a failure (see Result). A
// failure shows one message of the library's own and leaves every row as it
// was.

#include <QString>

extern "C" {

// mode: always 0. Reads the service's settings and the paths of both
// databases; nonzero when the library is ready, 0 when not.
int InitWeatherNetwork(int mode);

// Creates the library's table MeshWeather in the weather database when it is
// missing. 0 on success, otherwise a negative Jet error number (or
// kNotReady).
int CreateTable();

// kind 1, the service's farm-wide data: the weather service has none, so
// this answers 0 once the library is ready. Negative for another kind or
// when the library is not ready.
int GetTerra8Data(int kind);

// The daily values of the observation point `code` (a Location row), from
// the start date year/month/day to yesterday: days older than a week from
// the archive endpoint, the last seven days from the forecast endpoint.
// Stored in one transaction with Item.LastUpdate advanced to the day after
// the last day stored. The number of days stored, or a negative Result.
int Get1KmMeshData(int code, int year, int month, int day);

}  // extern "C"

namespace hv6::wxfetch {

enum Result : int {
  kNotReady = -1,         // InitWeatherNetwork has not succeeded
  kBadArgument = -2,      // an unknown kind, an impossible start date
  kNoPoint = -3,          // no Location row of that code
  kBadPoint = -4,         // a latitude or longitude the service cannot serve
  kDatabaseError = -5,    // a database could not be opened, read or written
  kNetworkError = -6,     // no answer: connection, time-out, cancelled
  kServiceError = -7,     // the service answered an error (400, 500, "error": true)
  kTooManyRequests = -8,  // 429: the service's limits were reached
  kBadResponse = -9,      // an answer that is not the service's format
};

// The settings key name to use instead of CurrentKEY (a run with -REG that
// does not store its choice); empty: CurrentKEY again.
void useSettingsKey(const QString& keyName);

}  // namespace hv6::wxfetch
