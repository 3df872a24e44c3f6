#include "shell/startup.h"

#include "resources/pictures.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLineTest, RegOptionTakesTheSecondWord) {
  EXPECT_EQ(hv6::regOptionKey(QStringLiteral("-reg  farm2")), QStringLiteral("farm2"));
  EXPECT_EQ(hv6::regOptionKey(QStringLiteral("  -REG\tfarm3  extra")), QStringLiteral("farm3"));
  EXPECT_EQ(hv6::regOptionKey(QStringLiteral("-Reg")), QString());  // the default key
  EXPECT_FALSE(hv6::regOptionKey(QStringLiteral("farm2 -reg")));
  EXPECT_FALSE(hv6::regOptionKey(QStringLiteral("-regfarm2")));

  const hv6::StartOptions options = hv6::parseStartArguments(
      {QStringLiteral("hv6"), QStringLiteral("-reg"), QStringLiteral("--check-start"),
       QStringLiteral("farm2")});
  EXPECT_TRUE(options.checkStart);
  EXPECT_FALSE(options.importMobile);
  EXPECT_FALSE(options.fetchWeather);
  EXPECT_EQ(options.commandLine, QStringLiteral("-reg farm2"));

  const hv6::StartOptions batch = hv6::parseStartArguments(
      {QStringLiteral("hv6"), QStringLiteral("--import-mobile"), QStringLiteral("-REG"),
       QStringLiteral("farm3")});
  EXPECT_TRUE(batch.importMobile);
  EXPECT_FALSE(batch.fetchWeather);
  EXPECT_FALSE(batch.checkStart);
  EXPECT_EQ(batch.commandLine, QStringLiteral("-REG farm3"));

  const hv6::StartOptions weather = hv6::parseStartArguments(
      {QStringLiteral("hv6"), QStringLiteral("--fetch-weather")});
  EXPECT_TRUE(weather.fetchWeather);
  EXPECT_FALSE(weather.importMobile);
}

TEST(BackgroundPictureTest, SeasonsFestivalDaysAndTheFullMinute) {
  const std::pair<long, int> spring[] = {{20240301, 59}, {20240531, 1}};
  for (const auto& [date, seconds] : spring)
    EXPECT_EQ(hv6::backgroundPictureId(date, seconds), hv6::kSpringPicture) << date;
  EXPECT_EQ(hv6::backgroundPictureId(20240601, 5), hv6::kSummerPicture);
  EXPECT_EQ(hv6::backgroundPictureId(20240801, 5), hv6::kSummerPicture);
  EXPECT_EQ(hv6::backgroundPictureId(20240804, 5), hv6::kSummerPicture);
  EXPECT_EQ(hv6::backgroundPictureId(20240901, 5), hv6::kAutumnPicture);
  EXPECT_EQ(hv6::backgroundPictureId(20241130, 5), hv6::kAutumnPicture);
  EXPECT_EQ(hv6::backgroundPictureId(20241201, 5), hv6::kWinterPicture);
  EXPECT_EQ(hv6::backgroundPictureId(20240229, 5), hv6::kWinterPicture);
  EXPECT_EQ(hv6::backgroundPictureId(20240802, 5), hv6::kFestivalPicture2Aug);
  EXPECT_EQ(hv6::backgroundPictureId(20240803, 59), hv6::kFestivalPicture3Aug);
  for (const long date : {20240802L, 20240803L, 20240415L, 20241225L})
    EXPECT_EQ(hv6::backgroundPictureId(date, 0), hv6::kSecondsZeroPicture) << date;
}

}  // namespace
