#include "outside/wxfetch6/service.h"

#include <gtest/gtest.h>

#include <QUrl>
#include <QUrlQuery>

namespace {

using hv6::wxfetch::CallPacer;
using hv6::wxfetch::ServiceRequest;
using hv6::wxfetch::ServiceSettings;

QString query(const ServiceRequest& request, const QString& name) {
  return QUrlQuery(QUrl(request.url)).queryItemValue(name, QUrl::FullyEncoded);
}

TEST(ServiceRequests, RecentDaysAskTheForecastOlderOnesTheArchiveByYear) {
  const ServiceSettings settings;
  const QDate today(2024, 6, 20);
  EXPECT_TRUE(hv6::wxfetch::requestsFor(settings, 39.285, 141.1133, today, today).isEmpty());

  const QList<ServiceRequest> recent =
      hv6::wxfetch::requestsFor(settings, 39.285, 141.1133, QDate(2024, 6, 19), today);
  ASSERT_EQ(recent.size(), 1);
  EXPECT_TRUE(recent[0].url.startsWith(QStringLiteral("https://api.open-meteo.com/v1/forecast?")));
  EXPECT_EQ(query(recent[0], QStringLiteral("past_days")), QStringLiteral("1"));
  EXPECT_EQ(query(recent[0], QStringLiteral("forecast_days")), QStringLiteral("1"));
  EXPECT_EQ(query(recent[0], QStringLiteral("latitude")), QStringLiteral("39.2850"));
  EXPECT_EQ(query(recent[0], QStringLiteral("longitude")), QStringLiteral("141.1133"));
  EXPECT_EQ(query(recent[0], QStringLiteral("timezone")), QStringLiteral("Asia%2FTokyo"));
  EXPECT_FALSE(recent[0].url.contains(QStringLiteral("apikey")));

  // 2022-06-01 .. 2024-06-12 older than a week: three archive requests of
  // at most 366 days, then the last week from the forecast.
  const QList<ServiceRequest> old =
      hv6::wxfetch::requestsFor(settings, 39.285, 141.1133, QDate(2022, 6, 1), today);
  ASSERT_EQ(old.size(), 4);
  QStringList spans;
  for (const ServiceRequest& request : old.mid(0, 3)) {
    EXPECT_TRUE(request.url.startsWith(QStringLiteral("https://archive-api.open-meteo.com/v1/archive?")));
    spans << query(request, QStringLiteral("start_date")) + u'/' + query(request, QStringLiteral("end_date"));
  }
  EXPECT_EQ(spans, (QStringList{"2022-06-01/2023-06-01", "2023-06-02/2024-06-01",
                                "2024-06-02/2024-06-12"}));
  EXPECT_EQ(old[0].weight, 27);  // 366 days of 7 variables
  EXPECT_EQ(old[2].weight, 1);
  EXPECT_EQ(query(old[3], QStringLiteral("past_days")), QStringLiteral("7"));
}

TEST(ServiceRequests, OwnServerAndKeyOfTheSettings) {
  ServiceSettings settings;
  settings.forecastUrl = QStringLiteral("http://wx.example.jp/forecast?plan=a");
  settings.apiKey = QStringLiteral("k y&1");
  const QList<ServiceRequest> requests = hv6::wxfetch::requestsFor(
      settings, 35.0, 139.0, QDate(2024, 6, 18), QDate(2024, 6, 20));
  ASSERT_EQ(requests.size(), 1);
  EXPECT_TRUE(requests[0].url.startsWith(QStringLiteral("http://wx.example.jp/forecast?plan=a&latitude=")));
  EXPECT_TRUE(requests[0].url.endsWith(QStringLiteral("&apikey=k%20y%261"))) << requests[0].url.toStdString();
}

TEST(ServiceRequests, CallWeightCountsVariablesAndFortnights) {
  EXPECT_EQ(hv6::wxfetch::callWeight(7, 1), 1);
  EXPECT_EQ(hv6::wxfetch::callWeight(7, 14), 1);
  EXPECT_EQ(hv6::wxfetch::callWeight(7, 15), 2);
  EXPECT_EQ(hv6::wxfetch::callWeight(20, 14), 2);
  EXPECT_EQ(hv6::wxfetch::callWeight(15, 28), 3);  // 1.5 x 2
}

TEST(ServiceRequests, PacerKeepsSixHundredCallsInAMinute) {
  qint64 now = 0;
  QList<qint64> sleeps;
  CallPacer pacer(600, 60000, [&] { return now; }, [&](qint64 ms) {
    sleeps << ms;
    now += ms;
  });
  for (int i = 0; i < 300; ++i) pacer.take(1);
  now = 1000;
  pacer.take(299);
  EXPECT_TRUE(sleeps.isEmpty());  // 599 within the minute
  pacer.take(1);
  EXPECT_TRUE(sleeps.isEmpty());  // 600
  pacer.take(2);                  // waits for the first 300 to leave the window
  EXPECT_EQ(sleeps, QList<qint64>{59000});
  pacer.take(298);
  EXPECT_EQ(sleeps.size(), 1);
  pacer.take(1);  // the window holds 600 since t=1000
  EXPECT_EQ(sleeps.size(), 2);
  EXPECT_EQ(now, 61000);
}

}  // namespace
