// The checks of the latitude and longitude dialog: ranges, period, overlap
// with other points and the number of a new point.
#include "tests/weather/fieldlocation_fixture.h"

#include "weather/latlong.h"

namespace {

using hv6::LatLongCheck;
using hv6::PointValues;

PointValues at(int lat, int latMin, int latSec, int lon, int lonMin, int lonSec, long start = 20240401,
               long end = 0) {
  return {0, 0, lat, latMin, latSec, lon, lonMin, lonSec, start, end};
}

TEST(PointValuesFault, CheckedInTheOrderOfTheDialog) {
  struct Case {
    PointValues point;
    long message;
  };
  const Case cases[] = {
      {at(0, 0, 0, 0, 0, 0), 0},
      {at(89, 59, 59, 179, 59, 59), 0},
      {at(90, 0, 0, 180, 0, 0), 0},
      {at(90, 0, 1, 0, 0, 0), 2238},
      {at(90, 1, 0, 0, 0, 0), 2234},
      {at(91, 0, 0, 0, 0, 0), 2233},
      {at(-1, 0, 0, 0, 0, 0), 2233},
      {at(45, 60, 0, 0, 0, 0), 2234},
      {at(45, 0, 60, 0, 0, 0), 2238},
      {at(45, 0, -1, 0, 0, 0), 2238},
      {at(45, 0, 0, 181, 0, 0), 2235},
      {at(45, 0, 0, 180, 1, 0), 2236},
      {at(45, 0, 0, 180, 0, 1), 2239},
      {at(45, 0, 0, 139, 0, 60), 2239},
      {at(91, 60, 0, 181, 0, 0), 2233},  // the first fault is the one shown
      {at(45, 0, 0, 139, 0, 0, 20240401, 20240401), 0},
      {at(45, 0, 0, 139, 0, 0, 20240401, 20240331), 2613},
      {at(45, 0, 0, 181, 0, 0, 20240401, 20240331), 2235},
  };
  for (const Case& c : cases)
    EXPECT_EQ(hv6::pointValuesFault(c.point), c.message)
        << c.point.latDegrees << "/" << c.point.latMinutes << "/" << c.point.latSeconds << " "
        << c.point.lonDegrees << "/" << c.point.lonMinutes << "/" << c.point.lonSeconds;
}

using LatLongCheckTest = hv6test::FieldLocationTest;

TEST_F(LatLongCheckTest, ANewPointAtCoordinatesStillObservedOverlaps) {
  addPoint(1, 35, 139, 20200401);
  addPoint(2, 36, 139, 20100401, 20240331);
  addPoint(3, 37, 139, 20100401, 20240401);
  LatLongCheck check(data.weather());
  PointValues same = at(35, 0, 0, 139, 0, 0);
  EXPECT_FALSE(check.accept(same));
  PointValues endedBefore = at(36, 0, 0, 139, 0, 0);
  EXPECT_TRUE(check.accept(endedBefore));
  EXPECT_EQ(endedBefore.num, 2);
  PointValues endsOnTheStart = at(37, 0, 0, 139, 0, 0);
  EXPECT_FALSE(check.accept(endsOnTheStart));
  PointValues elsewhere = at(35, 0, 1, 139, 0, 0);
  EXPECT_TRUE(check.accept(elsewhere));
  EXPECT_EQ(messages.numbers(), (QList<long>{2237, 2237}));
  EXPECT_EQ(messages.messages().first().kind, 1);
}

TEST_F(LatLongCheckTest, APointOverlapsAnotherWithItsNumberAndPlaceOrOneOfItsFields) {
  const long point = addPoint(1, 35, 139, 20200401);
  const long twin = addPoint(1, 36, 139, 20150401, 20210331);
  const long sharing = addPoint(2, 40, 140, 20180401);
  const long sharedLongAgo = addPoint(3, 41, 140, 20100401, 20150331);
  const long field = addField(QStringLiteral("畑"), 1);
  const long old = addField(QStringLiteral("古い畑"), 2);
  link(point, field);
  link(sharing, field);
  link(point, old);
  link(sharedLongAgo, old);
  LatLongCheck check(data.weather());
  // Moved onto the twin's place: same number, twin observed until 2021.
  PointValues moved{point, 1, 36, 0, 0, 139, 0, 0, 20200401, 0};
  EXPECT_FALSE(check.accept(moved));
  moved.startDate = 20210401;  // after the twin ended; the shared field still overlaps
  EXPECT_FALSE(check.accept(moved));
  EXPECT_EQ(messages.numbers(), (QList<long>{2237, 2237}));
  data.weather().Execute(QStringLiteral("DELETE FROM TargetField WHERE Location = ?"),
                         {COleVariant(sharing)});
  EXPECT_TRUE(check.accept(moved));
  EXPECT_EQ(moved.num, 1);  // an edited point keeps its number
  Q_UNUSED(twin);
}

TEST_F(LatLongCheckTest, EndingAPointOverlapsOnlyPointsObservedWithinItsPeriod) {
  const long point = addPoint(1, 35, 139, 20200401);
  const long field = addField(QStringLiteral("畑"), 1);
  link(point, field);
  const long later = addPoint(2, 40, 140, 20240401);
  link(later, field);
  LatLongCheck check(data.weather());
  PointValues ending{point, 1, 35, 0, 0, 139, 0, 0, 20200401, 20240331};
  EXPECT_TRUE(check.accept(ending));  // the other starts after the end
  ending.endDate = 20240401;
  EXPECT_FALSE(check.accept(ending));
  EXPECT_EQ(messages.numbers(), QList<long>{2237});
  const long earlier = addPoint(3, 41, 140, 20100401, 20150331);
  link(earlier, field);
  ending.endDate = 20240331;
  EXPECT_TRUE(check.accept(ending));
  ending.startDate = 20150331;
  EXPECT_FALSE(check.accept(ending));
}

TEST_F(LatLongCheckTest, ANewPointGetsTheLowestFreeNumberAndSevenAreRefused) {
  addPoint(1, 31, 130, 20200401);
  addPoint(2, 32, 130, 20200401);
  addPoint(4, 34, 130, 20200401);
  addPoint(3, 33, 130, 20100401, 20150331);  // ended: its number is free again
  addPoint(0, 35, 130, 20200401);            // outside 1-6: takes no number
  addPoint(9, 36, 130, 20200401);
  LatLongCheck check(data.weather());
  PointValues p = at(44, 0, 0, 142, 0, 0);
  ASSERT_TRUE(check.accept(p));
  EXPECT_EQ(p.num, 3);
  addPoint(3, 33, 131, 20200401);
  addPoint(5, 35, 131, 20200401);
  p = at(44, 0, 0, 142, 0, 0);
  ASSERT_TRUE(check.accept(p));
  EXPECT_EQ(p.num, 6);
  addPoint(6, 36, 131, 20200401);
  EXPECT_FALSE(check.accept(p));
  EXPECT_EQ(messages.numbers(), QList<long>{2231});
  EXPECT_EQ(messages.messages().first().kind, 0);
}

TEST_F(LatLongCheckTest, ADatabaseErrorIsShownAndRefuses) {
  data.weather().Execute(QStringLiteral("DROP TABLE TargetField"));
  LatLongCheck check(data.weather());
  PointValues p{7, 1, 35, 0, 0, 139, 0, 0, 20200401, 0};
  EXPECT_FALSE(check.accept(p));
  EXPECT_EQ(messages.numbers(), QList<long>{kJetNoSuchTable});
}

}  // namespace
