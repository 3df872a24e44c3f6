#include "outside/wxfetch6/weathercodes.h"

#include <gtest/gtest.h>

namespace {

using hv6::wxfetch::periodCode;
using hv6::wxfetch::pictureOfWmo;

TEST(WeatherCodes, EveryWmoCodeOfTheServiceHasItsPicture) {
  const std::pair<QList<int>, int> groups[] = {
      {{0}, 0},
      {{1}, 1},
      {{2}, 2},
      {{3}, 3},
      {{45, 48}, 4},
      {{51, 53, 55, 56, 57, 61, 80}, 5},
      {{63, 66, 81}, 6},
      {{65, 67, 82}, 7},
      {{71, 73, 75, 77, 85, 86}, 8},
      {{95, 96, 99}, 9},
  };
  int mapped = 0;
  for (const auto& [codes, picture] : groups) {
    for (int code : codes) {
      EXPECT_EQ(pictureOfWmo(code), picture) << code;
      ++mapped;
    }
  }
  int withPicture = 0;
  for (int code = -5; code <= 120; ++code) withPicture += pictureOfWmo(code).has_value();
  EXPECT_EQ(withPicture, mapped);  // nothing else has one
}

TEST(WeatherCodes, APartOfTheDayShowsItsRainElseItsCommonestSky) {
  EXPECT_EQ(periodCode({}), std::nullopt);
  EXPECT_EQ(periodCode({1, 1, 1, 61, 1, 1}), 61);    // one wet hour is enough
  EXPECT_EQ(periodCode({80, 63, 61, 95, 3, 3}), 95);  // the heaviest of the wet hours
  EXPECT_EQ(periodCode({45, 45, 45, 45, 3, 3}), 45);  // fog is not wet
  EXPECT_EQ(periodCode({1, 1, 2, 2, 2, 1}), 2);       // a tie takes the higher code
  EXPECT_EQ(periodCode({0, 0, 0, 0, 2, 3}), 0);
}

TEST(WeatherCodes, HoursFallIntoThreePartsFromSixOclock) {
  EXPECT_EQ(hv6::wxfetch::periodOfHour(0), -1);
  EXPECT_EQ(hv6::wxfetch::periodOfHour(5), -1);
  EXPECT_EQ(hv6::wxfetch::periodOfHour(6), 0);
  EXPECT_EQ(hv6::wxfetch::periodOfHour(11), 0);
  EXPECT_EQ(hv6::wxfetch::periodOfHour(12), 1);
  EXPECT_EQ(hv6::wxfetch::periodOfHour(17), 1);
  EXPECT_EQ(hv6::wxfetch::periodOfHour(18), 2);
  EXPECT_EQ(hv6::wxfetch::periodOfHour(23), 2);
  EXPECT_EQ(hv6::wxfetch::periodOfHour(24), -1);
}

}  // namespace
