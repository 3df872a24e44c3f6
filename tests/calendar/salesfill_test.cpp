// The sales-slip fillers, the month's weather and the photo dates, on small
// data sets in a temporary data folder.
#include "calendar/salesfill.h"

#include "platform/dao/dao.h"
#include "tests/calendar/recording.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using hv6test::RowValues;
using hv6test::TempDataFolder;

constexpr long kJune = 20250600;

class SalesFillTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;
  hv6test::MessageRecorder messages;
  TempDataFolder data;
  hv6test::RecordingSink sink;
  hv6test::RecordingMeter meter;
  hv6::MemoList memos;

  long crop(const QString& name) { return data.addMaster(QStringLiteral("CropMst"), 10, name); }

  long slip(long date, const RowValues& values = {}, int appType = 0) {
    RowValues row{{QStringLiteral("SlipDate"), COleVariant(date)},
                  {QStringLiteral("AppType"), COleVariant(appType)}};
    return TempDataFolder::insertRow(data.diary(), QStringLiteral("Slip"), row + values);
  }

  void line(long slipCode, const RowValues& values, int appType = 0) {
    RowValues row{{QStringLiteral("SlipCode"), COleVariant(slipCode)},
                  {QStringLiteral("AppType"), COleVariant(appType)}};
    TempDataFolder::insertRow(data.diary(), QStringLiteral("SlipDetails"), row + values);
  }

  QStringList fill(int mode, int figure = 0) {
    sink.calls.clear();
    memos.clear();
    hv6::fillSlips(data.diary(), mode, figure, kJune, sink, memos, meter);
    return sink.calls;
  }

  static COleVariant v(long value) { return COleVariant(value); }
  static COleVariant v(double value) { return COleVariant(value); }
};

RowValues values(std::initializer_list<std::pair<const char*, COleVariant>> list) {
  RowValues row;
  for (const auto& [name, value] : list) row.append({QString::fromLatin1(name), value});
  return row;
}

TEST_F(SalesFillTest, CropLinesAndCustomerHeadersByFigure) {
  const long tomato = crop(QStringLiteral("トマト"));
  const long cucumber = crop(QStringLiteral("きゅうり"));
  const long rice = crop(QStringLiteral("米"));
  const long market = data.addMaster(QStringLiteral("CustomerMst"), 10, QStringLiteral("盛岡市場"));
  const long code = slip(20250603, values({{"CustomerCode", v(market)},
                                           {"Sasihiki", v(33500L)},
                                           {"Suu_Kei", v(42.5)},
                                           {"Unit_Ave", v(788.2353)}}));
  line(code, values({{"CropCode", v(tomato)}, {"Proceed", v(1000L)}, {"Suu", v(2.0)},
                     {"Tanka", v(500.0)}}));
  line(code, values({{"CropCode", v(cucumber)}, {"Proceed", v(2500L)}, {"Suu", v(10.5)},
                     {"Tanka", v(238.095)}}));
  line(code, values({{"CropCode", v(rice)}, {"Proceed", v(30000L)}, {"Suu", v(30.0)},
                     {"Tanka", v(1000.0)}}));

  EXPECT_EQ(fill(0, 0), QStringList({QStringLiteral("add 6/3 トマト 1000 0"),
                                     QStringLiteral("add 6/3 きゅうり 2500 0"),
                                     QStringLiteral("add 6/3 米 30000 0")}));
  ASSERT_EQ(memos.size(), 3);
  EXPECT_EQ(memos.at(2).date, 20250603);
  EXPECT_EQ(memos.at(2).text, QStringLiteral("米 30000"));
  EXPECT_EQ(fill(0, 1), QStringList({QStringLiteral("add 6/3 トマト 2.00 0"),
                                     QStringLiteral("add 6/3 きゅうり 10.50 0"),
                                     QStringLiteral("add 6/3 米 30.00 0")}));
  EXPECT_EQ(fill(0, 2).at(1), QStringLiteral("add 6/3 きゅうり 238.10 0"));

  EXPECT_EQ(fill(1, 0), QStringList{QStringLiteral("add 6/3 盛岡市場 33500 0")});
  EXPECT_EQ(fill(1, 1), QStringList{QStringLiteral("add 6/3 盛岡市場 42.50 0")});
  EXPECT_EQ(fill(1, 2), QStringList{QStringLiteral("add 6/3 盛岡市場 788.24 0")});
  EXPECT_TRUE(messages.empty());
}

TEST_F(SalesFillTest, OnlySalesSlipsAndLinesOfTheMonth) {
  const long tomato = crop(QStringLiteral("トマト"));
  const long market = data.addMaster(QStringLiteral("CustomerMst"), 10, QStringLiteral("市場"));
  const RowValues header = values({{"CustomerCode", v(market)}, {"Sasihiki", v(100L)},
                                   {"ClaimDate", v(20250630L)}, {"ShipDate", v(20250604L)}});
  const long buyer = data.addMaster(QStringLiteral("BuyerMst"), 10, QStringLiteral("青果"));
  const RowValues crops =
      values({{"CropCode", v(tomato)}, {"BuyerCode", v(buyer)}, {"Proceed", v(100L)}});
  line(slip(20250605, header, 1), crops, 1);  // a reservation
  line(slip(20250531, header), crops);
  line(slip(20250701, header), crops);
  const long sale = slip(20250630, header);
  line(sale, crops);
  line(sale, crops, 1);  // a reservation line on a sales slip

  for (int mode = 0; mode <= 5; ++mode) {
    const QStringList calls = fill(mode);
    ASSERT_EQ(calls.size(), 1) << mode << calls.join(u'|').toStdString();
    EXPECT_TRUE(calls.at(0).startsWith(QStringLiteral("add 6/30 "))) << calls.at(0).toStdString();
  }
}

TEST_F(SalesFillTest, BuyerLinesSkipLinesWithoutABuyer) {
  const long buyer = data.addMaster(QStringLiteral("BuyerMst"), 10, QStringLiteral("丸一青果"));
  const long code = slip(20250610);
  line(code, values({{"BuyerCode", v(buyer)}, {"Proceed", v(1200L)}}));
  line(code, values({{"BuyerCode", v(0L)}, {"Proceed", v(5L)}}));
  line(code, values({{"Proceed", v(6L)}}));
  line(code, values({{"BuyerCode", v(999L)}, {"Proceed", v(700L)}}));  // unknown buyer
  EXPECT_EQ(fill(2), QStringList({QStringLiteral("add 6/10 丸一青果 1200 0"),
                                  QStringLiteral("add 6/10  700 0")}));
}

TEST_F(SalesFillTest, GradeAndStandardOfEveryLine) {
  const long grade = data.addMaster(QStringLiteral("GradeMst"), 10, QStringLiteral("秀"));
  const long standard = data.addMaster(QStringLiteral("StandardMst"), 10, QStringLiteral("L"));
  const long code = slip(20250612);
  line(code, values({{"GradeCode", v(grade)}, {"StandardCode", v(standard)}}));
  line(code, values({{"GradeCode", v(grade)}}));
  line(code, values({{"StandardCode", v(standard)}}));
  line(code, {});
  line(code, values({{"GradeCode", v(77L)}, {"StandardCode", v(88L)}}));  // unknown codes
  EXPECT_EQ(fill(3), QStringList({QStringLiteral("add 6/12 秀 L 0"), QStringLiteral("add 6/12 秀  0"),
                                  QStringLiteral("add 6/12  L 0"), QStringLiteral("add 6/12   0"),
                                  QStringLiteral("add 6/12   0")}));
  EXPECT_EQ(memos.at(3).text, QStringLiteral(" "));
}

TEST_F(SalesFillTest, ClaimAndShippingDatesInEraForm) {
  const long shop = data.addMaster(QStringLiteral("CustomerMst"), 10, QStringLiteral("産直館"));
  slip(20250603, values({{"CustomerCode", v(shop)}, {"ClaimDate", v(20250630L)},
                         {"ShipDate", v(20190501L)}}));
  slip(20250604, values({{"CustomerCode", v(shop)}}));  // no dates
  slip(20250605, values({{"ClaimDate", v(20250630L)}}));  // no customer
  slip(20250606, values({{"CustomerCode", v(55L)}, {"ClaimDate", v(20250701L)}}));
  EXPECT_EQ(fill(4), QStringList({QStringLiteral("add 6/3 産直館 R.07/06/30 0"),
                                  QStringLiteral("add 6/4 産直館  0"),
                                  QStringLiteral("add 6/6  R.07/07/01 0")}));
  EXPECT_EQ(fill(5).at(0), QStringLiteral("add 6/3 産直館 R.01/05/01 0"));
}

TEST_F(SalesFillTest, UnformattableFiguresShowZero) {
  const long tomato = crop(QStringLiteral("トマト"));
  const long shop = data.addMaster(QStringLiteral("CustomerMst"), 10, QStringLiteral("店"));
  const long code = slip(20250603, values({{"CustomerCode", v(shop)}, {"Suu_Kei", v(1e16)}}));
  line(code, values({{"CropCode", v(tomato)}, {"Tanka", v(-2e15)}}));
  EXPECT_EQ(fill(0, 2), QStringList{QStringLiteral("add 6/3 トマト 0.00 0")});
  EXPECT_EQ(fill(1, 1), QStringList{QStringLiteral("add 6/3 店 0.00 0")});
  EXPECT_EQ(fill(1, 0), QStringList{QStringLiteral("add 6/3 店 0 0")});  // a Null amount
}

TEST_F(SalesFillTest, MeterFollowsTheSlipsDone) {
  const long tomato = crop(QStringLiteral("トマト"));
  for (long day : {1L, 2L, 3L, 4L}) line(slip(kJune + day), values({{"CropCode", v(tomato)}}));
  fill(0);
  EXPECT_EQ(meter.calls, QStringList({QStringLiteral("25"), QStringLiteral("50"),
                                      QStringLiteral("75"), QStringLiteral("100")}));
}

TEST_F(SalesFillTest, AFailedReadOfTheLinesStopsWithOneMessage) {
  const long tomato = crop(QStringLiteral("トマト"));
  for (long day : {1L, 2L}) line(slip(kJune + day), values({{"CropCode", v(tomato)}}));
  data.diary().Execute(QStringLiteral("DROP TABLE SlipDetails"));
  EXPECT_TRUE(fill(0).isEmpty());
  EXPECT_EQ(messages.numbers(), QList<long>{2039});
}

TEST_F(SalesFillTest, WeatherOfTheMonthFromTheGivenDatabase) {
  const auto weatherRow = [](CDaoDatabase& db, long date, const RowValues& items) {
    TempDataFolder::insertRow(db, QStringLiteral("Weather"),
                              RowValues{{QStringLiteral("Date"), COleVariant(date)}} + items);
  };
  weatherRow(data.diary(), 20250601, values({{"Item1", v(1L)}, {"Item2", v(2L)}, {"Item3", v(3L)}}));
  weatherRow(data.diary(), 20250615, values({{"Item1", v(4L)}, {"Item3", v(6L)}}));
  weatherRow(data.diary(), 20250531, values({{"Item1", v(9L)}}));
  weatherRow(data.diary(), 20250701, values({{"Item1", v(9L)}}));
  weatherRow(data.diary(), 20250600, values({{"Item1", v(9L)}}));  // names no day
  weatherRow(data.weather(), 20250620, values({{"Item1", v(7L)}, {"Item2", v(7L)}, {"Item3", v(7L)}}));

  const std::optional<hv6::WeatherList> diary = hv6::monthWeather(data.diary(), kJune);
  ASSERT_TRUE(diary.has_value());
  ASSERT_EQ(diary->size(), 2);
  EXPECT_EQ(diary->at(0).date, 20250601);
  EXPECT_EQ(diary->at(0).item3, 3);
  EXPECT_EQ(diary->at(1).date, 20250615);
  EXPECT_EQ(diary->at(1).item1, 4);
  EXPECT_EQ(diary->at(1).item2, 255);
  EXPECT_EQ(diary->at(1).item3, 6);

  const std::optional<hv6::WeatherList> weather = hv6::monthWeather(data.weather(), kJune);
  ASSERT_TRUE(weather.has_value());
  ASSERT_EQ(weather->size(), 1);
  EXPECT_EQ(weather->at(0).date, 20250620);

  data.diary().Execute(QStringLiteral("DROP TABLE Weather"));
  EXPECT_FALSE(hv6::monthWeather(data.diary(), kJune).has_value());
  EXPECT_TRUE(messages.empty());
}

TEST_F(SalesFillTest, PhotoDatesOncePerDayAndMessageOnError) {
  for (long date : {20250605L, 20250605L, 20250620L, 20250701L, 20250531L})
    TempDataFolder::insertRow(data.diary(), QStringLiteral("PictureLink"),
                              {{QStringLiteral("PhotoDate"), COleVariant(date)}});
  QList<long> dates{1, 2};
  ASSERT_TRUE(hv6::monthPhotoDates(data.diary(), kJune, dates));
  std::sort(dates.begin(), dates.end());
  EXPECT_EQ(dates, QList<long>({20250605, 20250620}));
  EXPECT_TRUE(messages.empty());

  data.diary().Execute(QStringLiteral("DROP TABLE PictureLink"));
  EXPECT_FALSE(hv6::monthPhotoDates(data.diary(), kJune, dates));
  EXPECT_TRUE(dates.isEmpty());
  EXPECT_EQ(messages.numbers(), QList<long>{2902});
}

TEST_F(SalesFillTest, AClosedDatabaseGivesNothing) {
  const long tomato = crop(QStringLiteral("トマト"));
  line(slip(20250603), values({{"CropCode", v(tomato)}}));
  data.diary().Close();
  for (int mode = 0; mode <= 5; ++mode) EXPECT_TRUE(fill(mode).isEmpty()) << mode;
  EXPECT_TRUE(meter.calls.isEmpty());
  EXPECT_FALSE(hv6::monthWeather(data.diary(), kJune).has_value());
  QList<long> dates;
  EXPECT_FALSE(hv6::monthPhotoDates(data.diary(), kJune, dates));
  EXPECT_TRUE(messages.empty());
}

TEST_F(SalesFillTest, TheProgramsFillersReachTheDatabase) {
  const long tomato = crop(QStringLiteral("トマト"));
  line(slip(20250603), values({{"CropCode", v(tomato)}, {"Proceed", v(10L)}}));
  TempDataFolder::insertRow(data.diary(), QStringLiteral("PictureLink"),
                            {{QStringLiteral("PhotoDate"), COleVariant(20250609L)}});
  hv6::DatabaseFillers fillers;
  fillers.slips(data.diary(), 0, 0, kJune, sink, memos, meter);
  EXPECT_EQ(sink.calls, QStringList{QStringLiteral("add 6/3 トマト 10 0")});
  QList<long> dates;
  EXPECT_TRUE(fillers.photoDates(data.diary(), kJune, dates));
  EXPECT_EQ(dates, QList<long>{20250609});
  EXPECT_TRUE(fillers.weather(data.diary(), kJune).has_value());
}

}  // namespace
