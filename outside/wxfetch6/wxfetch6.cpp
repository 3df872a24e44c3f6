#include "outside/wxfetch6/wxfetch6.h"

#include "outside/wxfetch6/service.h"
#include "outside/wxfetch6/settings.h"
#include "outside/wxfetch6/storage.h"
#include "outside/wxfetch6/testing.h"
#include "platform/dao/dao.h"
#include "platform/inet/inet.h"
#include "platform/presenter.h"

#include <QDate>

namespace hv6::wxfetch {
namespace {

const QString kCaption = QStringLiteral("気象情報の取得");
const QString kAgent = QStringLiteral("wxfetch6");
constexpr int kTerra8Kind = 1;

struct LibraryState {
  bool ready = false;
  ServiceSettings service;
  DataPaths paths;
  QString keyName;
  QDate today;  // tests only
};

LibraryState& state() {
  static LibraryState library;
  return library;
}

QDate currentDay() {
  const QDate& fixed = state().today;
  return fixed.isValid() ? fixed : QDate::currentDate();
}

long dayNumber(const QDate& day) { return day.year() * 10000L + day.month() * 100L + day.day(); }

// Shows the library's own message and hands back the result.
int fail(int result, const QString& text) {
  showMessage(text, kCaption, MsgButtons::Ok, MsgIcon::Warning);
  return result;
}

int pointFailure(int result, int code, const QString& detail) {
  return fail(result, QStringLiteral("観測地点 %1 の気象データを取得できませんでした。\n%2")
                          .arg(code)
                          .arg(detail));
}

int notReady() {
  return fail(kNotReady, QStringLiteral("気象サービスの準備ができていません。"));
}

// Latitude and longitude of a Location row in degrees.
struct Position {
  double latitude = 0;
  double longitude = 0;
};

bool partsInRange(long degrees, long minutes, long seconds, long maxDegrees) {
  if (degrees < 0 || degrees > maxDegrees || minutes < 0 || minutes > 59 || seconds < 0 ||
      seconds > 59)
    return false;
  return degrees < maxDegrees || (minutes == 0 && seconds == 0);
}

enum class PointRead { Found, Missing, Unusable };

// The point's position; a pole (latitude 90°, where no longitude means
// anything) or a part out of its range is unusable.
PointRead readPosition(CDaoDatabase& weather, int code, Position& position, QString& why) {
  CDaoRecordset point(&weather);
  point.Open(dbOpenSnapshot,
             QStringLiteral("SELECT Ido_HH, Ido_MM, Ido_SS, Keido_HH, Keido_MM, Keido_SS "
                            "FROM Location WHERE Code = ?"),
             {COleVariant(code)}, dbReadOnly);
  if (point.IsEOF()) return PointRead::Missing;
  long parts[6] = {};
  for (int i = 0; i < 6; ++i) {
    if (!point.GetFieldValue(i).tryLong(parts[i])) {
      why = QStringLiteral("緯度経度が入力されていません。");
      return PointRead::Unusable;
    }
  }
  const bool latitudeOk = partsInRange(parts[0], parts[1], parts[2], 90) && parts[0] < 90;
  const bool longitudeOk = partsInRange(parts[3], parts[4], parts[5], 180);
  if (!latitudeOk || !longitudeOk) {
    why = QStringLiteral("緯度%1゜%2´%3″ 経度%4゜%5´%6″ の地点の気象データはありません。")
              .arg(parts[0]).arg(parts[1]).arg(parts[2]).arg(parts[3]).arg(parts[4]).arg(parts[5]);
    return PointRead::Unusable;
  }
  position.latitude = double(parts[0]) + double(parts[1]) / 60 + double(parts[2]) / 3600;
  position.longitude = double(parts[3]) + double(parts[4]) / 60 + double(parts[5]) / 3600;
  return PointRead::Found;
}

int resultOf(FetchStatus status) {
  switch (status) {
    case FetchStatus::Ok: return 0;
    case FetchStatus::NetworkError: return kNetworkError;
    case FetchStatus::TooManyRequests: return kTooManyRequests;
    case FetchStatus::TooLarge: return kBadResponse;
    case FetchStatus::HttpError: break;
  }
  return kServiceError;
}

// Every answer for the days of a point, or the failure's result.
int fetchDays(const QList<ServiceRequest>& requests, int code, DayMap& days) {
  CInternetSession session(kAgent);
  for (const ServiceRequest& request : requests) {
    servicePacer().take(request.weight);
    const FetchOutcome answer = fetchUrl(session, request.url);
    if (answer.status != FetchStatus::Ok)
      return pointFailure(resultOf(answer.status), code, answer.detail);
    const ParseOutcome parsed = parseServiceResponse(answer.body, days);
    if (parsed.status == ParseStatus::ServiceError)
      return pointFailure(kServiceError, code, QStringLiteral("サーバーのエラー: ") + parsed.detail);
    if (parsed.status == ParseStatus::Malformed)
      return pointFailure(kBadResponse, code, QStringLiteral("サーバーの応答を読めません: ") + parsed.detail);
  }
  return 0;
}

}  // namespace

void useSettingsKey(const QString& keyName) { state().keyName = keyName; }

namespace testing {
void setToday(const QDate& day) { state().today = day; }
}  // namespace testing

}  // namespace hv6::wxfetch

using namespace hv6::wxfetch;

int InitWeatherNetwork(int mode) {
  LibraryState& library = state();
  library.ready = false;
  ServiceSettings service;
  DataPaths paths;
  QString why;
  if (mode != 0) why = QStringLiteral("InitWeatherNetwork(%1) は使えません。").arg(mode);
  else if (readServiceSettings(wxfetchIniPath(), service, why) &&
           readDataPaths(library.keyName, paths, why)) {
    library.service = service;
    library.paths = paths;
    library.ready = true;
    return 1;
  }
  fail(0, QStringLiteral("気象サービスの設定を読めません。\n") + why);
  return 0;
}

int CreateTable() {
  const LibraryState& library = state();
  if (!library.ready) return notReady();
  try {
    CDaoDatabase weather;
    weather.Open(library.paths.weather);
    ensureMeshTable(weather);
    return 0;
  } catch (const CDaoException& failure) {
    fail(0, QStringLiteral("気象データベースに表を作成できません。\n%1 %2")
                .arg(failure.errorCode())
                .arg(failure.description()));
    return int(-failure.errorCode());
  }
}

int GetTerra8Data(int kind) {
  if (!state().ready) return notReady();
  if (kind != kTerra8Kind) return fail(kBadArgument, QStringLiteral("GetTerra8Data(%1) は使えません。").arg(kind));
  return 0;
}

int Get1KmMeshData(int code, int year, int month, int day) {
  const LibraryState& library = state();
  if (!library.ready) return notReady();
  const QDate start(year, month, day);
  if (!start.isValid())
    return pointFailure(kBadArgument, code,
                        QStringLiteral("開始日 %1/%2/%3 は日付ではありません。").arg(year).arg(month).arg(day));
  const QDate today = currentDay();
  CDaoDatabase weather;
  Position position;
  long firstPoint = 0;
  try {
    weather.Open(library.paths.weather);
    ensureMeshTable(weather);
    QString why;
    switch (readPosition(weather, code, position, why)) {
      case PointRead::Found: break;
      case PointRead::Missing:
        return pointFailure(kNoPoint, code, QStringLiteral("観測地点が登録されていません。"));
      case PointRead::Unusable: return pointFailure(kBadPoint, code, why);
    }
    firstPoint = firstObservedPoint(weather, dayNumber(today));
  } catch (const CDaoException& failure) {
    return pointFailure(kDatabaseError, code,
                        QStringLiteral("%1 %2").arg(failure.errorCode()).arg(failure.description()));
  }
  const QList<ServiceRequest> requests =
      requestsFor(library.service, position.latitude, position.longitude, start, today);
  if (requests.isEmpty()) return 0;
  DayMap days;
  if (const int failed = fetchDays(requests, code, days); failed < 0) return failed;
  try {
    const StoreTarget target{code, code == firstPoint ? library.paths.diary : QString()};
    return storePointDays(weather, target, days, today);
  } catch (const CDaoException& failure) {
    return pointFailure(kDatabaseError, code,
                        QStringLiteral("%1 %2").arg(failure.errorCode()).arg(failure.description()));
  }
}
