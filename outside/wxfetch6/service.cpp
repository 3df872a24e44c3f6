#include "outside/wxfetch6/service.h"

#include "outside/wxfetch6/response.h"
#include "platform/inet/inet.h"

#include <QElapsedTimer>
#include <QThread>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <memory>

namespace hv6::wxfetch {
namespace {

constexpr int kFreePlanCalls = 600;
constexpr qint64 kMinuteMs = 60000;
constexpr int kVariablesPerCall = 10;
constexpr int kDaysPerCall = 14;
constexpr int kReadChunk = 64 * 1024;

QString isoDay(const QDate& day) { return day.toString(Qt::ISODate); }

QString number(double value) { return QString::number(value, 'f', 4); }

QString encoded(const QString& text) { return QString::fromLatin1(QUrl::toPercentEncoding(text)); }

int variableCount() { return int(dailyVariables().size()) + 1; }

QString withQuery(const QString& base, const QString& query) {
  return base + (base.contains(u'?') ? u'&' : u'?') + query;
}

QString commonQuery(double latitude, double longitude) {
  return QStringLiteral("latitude=%1&longitude=%2&daily=%3&hourly=%4&timezone=%5")
      .arg(number(latitude), number(longitude), dailyVariables().join(u','), kHourlyVariable,
           encoded(kTimeZone));
}

QString keyQuery(const ServiceSettings& settings) {
  return settings.apiKey.isEmpty() ? QString() : QStringLiteral("&apikey=") + encoded(settings.apiKey);
}

}  // namespace

int callWeight(int variables, int days) {
  const double weight = std::max(1.0, double(variables) / kVariablesPerCall) *
                        std::max(1.0, double(days) / kDaysPerCall);
  return int(std::ceil(weight - 1e-9));
}

QList<ServiceRequest> requestsFor(const ServiceSettings& settings, double latitude,
                                  double longitude, const QDate& start, const QDate& today) {
  QList<ServiceRequest> requests;
  if (!start.isValid() || !today.isValid() || start >= today) return requests;
  const QString common = commonQuery(latitude, longitude);
  const QString key = keyQuery(settings);
  const QDate recentStart = today.addDays(-kRecentDays);
  for (QDate from = start; from < recentStart;) {
    const QDate to = std::min(from.addDays(kArchiveSpanDays - 1), recentStart.addDays(-1));
    const int days = int(from.daysTo(to)) + 1;
    requests.append({withQuery(settings.archiveUrl,
                               common + QStringLiteral("&start_date=%1&end_date=%2").arg(isoDay(from), isoDay(to)) + key),
                     callWeight(variableCount(), days)});
    from = to.addDays(1);
  }
  const int pastDays = int(std::max(start, recentStart).daysTo(today));
  requests.append({withQuery(settings.forecastUrl,
                             common + QStringLiteral("&past_days=%1&forecast_days=1").arg(pastDays) + key),
                   callWeight(variableCount(), pastDays + 1)});
  return requests;
}

CallPacer::CallPacer(int capacity, qint64 windowMs, Clock clock, Sleep sleep)
    : capacity_(capacity), windowMs_(windowMs), clock_(std::move(clock)), sleep_(std::move(sleep)) {}

void CallPacer::take(int weight) {
  weight = std::clamp(weight, 1, capacity_);
  for (;;) {
    const qint64 now = clock_();
    while (!calls_.empty() && calls_.front().first + windowMs_ <= now) {
      inWindow_ -= calls_.front().second;
      calls_.pop_front();
    }
    if (inWindow_ + weight <= capacity_) {
      calls_.emplace_back(now, weight);
      inWindow_ += weight;
      return;
    }
    sleep_(calls_.front().first + windowMs_ - now);
  }
}

CallPacer& servicePacer() {
  static QElapsedTimer timer;
  if (!timer.isValid()) timer.start();
  static CallPacer pacer(
      kFreePlanCalls, kMinuteMs, [] { return timer.elapsed(); },
      [](qint64 ms) { QThread::msleep(static_cast<unsigned long>(std::max<qint64>(ms, 1))); });
  return pacer;
}

FetchOutcome fetchUrl(CInternetSession& session, const QString& url) {
  FetchOutcome outcome;
  try {
    std::unique_ptr<CHttpFile> file =
        session.OpenURL(url, 1, INTERNET_FLAG_RELOAD | INTERNET_FLAG_DONT_CACHE,
                        QStringLiteral("Accept: application/json\r\n"));
    DWORD status = 0;
    file->QueryInfoStatusCode(status);
    outcome.httpStatus = status;
    QByteArray chunk(kReadChunk, Qt::Uninitialized);
    for (;;) {
      const UINT read = file->Read(chunk.data(), UINT(chunk.size()));
      if (read == 0) break;
      outcome.body.append(chunk.constData(), qsizetype(read));
      if (outcome.body.size() > kMaxAnswerBytes) {
        outcome.status = FetchStatus::TooLarge;
        outcome.detail = QStringLiteral("応答が大きすぎます");
        return outcome;
      }
    }
  } catch (const CInternetException& failure) {
    outcome.status = FetchStatus::NetworkError;
    outcome.detail = QStringLiteral("通信エラー %1").arg(failure.m_dwError);
    return outcome;
  }
  if (outcome.httpStatus == HTTP_STATUS_OK) return outcome;
  outcome.status = outcome.httpStatus == 429 ? FetchStatus::TooManyRequests : FetchStatus::HttpError;
  const QString reason = errorReason(outcome.body);
  outcome.detail = QStringLiteral("サーバーの応答 %1").arg(outcome.httpStatus) +
                   (reason.isEmpty() ? QString() : QStringLiteral(": ") + reason);
  return outcome;
}

}  // namespace hv6::wxfetch
