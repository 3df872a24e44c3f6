#pragma once
// The requests to the weather service for one point, their pacing, and one
// transfer.

#include "outside/wxfetch6/settings.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

#include <deque>
#include <functional>
#include <utility>

class CInternetSession;

namespace hv6::wxfetch {

inline const QString kTimeZone = QStringLiteral("Asia/Tokyo");
// Days before today that the forecast endpoint serves (past_days); older
// days come from the archive.
constexpr int kRecentDays = 7;
// The longest span of one archive request, so an answer stays small.
constexpr int kArchiveSpanDays = 366;

struct ServiceRequest {
  QString url;
  int weight = 1;  // API calls it counts as
};

// The requests for the days from start to the day before today: days older
// than a week from the archive (start_date, end_date; at most a year per
// request), the last week from the forecast (past_days, forecast_days=1).
// Latitude and longitude in degrees north and east. Empty when start is not
// before today.
QList<ServiceRequest> requestsFor(const ServiceSettings& settings, double latitude,
                                  double longitude, const QDate& start, const QDate& today);

// How many API calls the service counts for a request: one per ten
// variables and two weeks of one location, never less than one.
int callWeight(int variables, int days);

// Keeps the calls within `capacity` weights per window (the free plan:
// 600 a minute): a call that would go beyond waits until enough earlier
// calls have left the window.
class CallPacer {
 public:
  using Clock = std::function<qint64()>;      // milliseconds, rising
  using Sleep = std::function<void(qint64)>;  // waits that many milliseconds
  CallPacer(int capacity, qint64 windowMs, Clock clock, Sleep sleep);

  // Waits as needed, then counts the call.
  void take(int weight);

 private:
  int capacity_;
  qint64 windowMs_;
  Clock clock_;
  Sleep sleep_;
  std::deque<std::pair<qint64, int>> calls_;  // time, weight
  int inWindow_ = 0;
};

// The program's pacer: 600 calls a minute.
CallPacer& servicePacer();

enum class FetchStatus { Ok, NetworkError, HttpError, TooManyRequests, TooLarge };

struct FetchOutcome {
  FetchStatus status = FetchStatus::Ok;
  unsigned httpStatus = 0;
  QByteArray body;
  QString detail;  // why it failed
};

// The largest answer taken, in bytes.
constexpr qsizetype kMaxAnswerBytes = 32 * 1024 * 1024;

// GET of a URL; Ok only for status 200 with a body within the limit.
FetchOutcome fetchUrl(CInternetSession& session, const QString& url);

}  // namespace hv6::wxfetch
