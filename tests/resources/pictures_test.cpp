#include "resources/pictures.h"

#include <QColor>
#include <QPixmap>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using namespace hv6;

const QList<int> kBackgrounds{kSpringPicture,      kAutumnPicture,       kSummerPicture,
                              kWinterPicture,      kSecondsZeroPicture,  kFestivalPicture2Aug,
                              kFestivalPicture3Aug};

// Relative luminance of a colour as contrast ratios use it (linear light).
double luminance(QRgb rgb) {
  auto linear = [](int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
}

double contrastRatio(double lighter, double darker) { return (lighter + 0.05) / (darker + 0.05); }

struct Pixels {
  int opaque = 0;
  int transparent = 0;
  int distinct = 0;
  std::vector<double> luminances;  // of the opaque pixels, ascending
};

Pixels survey(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_ARGB32);
  Pixels pixels;
  QList<QRgb> seen;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb rgb = image.pixel(x, y);
      if (qAlpha(rgb) == 0) ++pixels.transparent;
      if (qAlpha(rgb) < 255) continue;
      ++pixels.opaque;
      pixels.luminances.push_back(luminance(rgb));
      if (seen.size() < 64 && !seen.contains(rgb)) seen.append(rgb);
    }
  }
  std::sort(pixels.luminances.begin(), pixels.luminances.end());
  pixels.distinct = static_cast<int>(seen.size());
  return pixels;
}

double percentile(const std::vector<double>& sorted, double fraction) {
  return sorted[static_cast<size_t>(fraction * static_cast<double>(sorted.size() - 1))];
}

TEST(PicturesTest, EveryIdRendersADrawingOfItsNaturalSize) {
  EXPECT_EQ(pictureIds(), (QList<int>{128, 140, 158, 163, 165, 166, 167, 176, 177}));
  for (int id : pictureIds()) {
    const QImage image = picture(id);
    ASSERT_FALSE(image.isNull()) << id;
    EXPECT_EQ(image.size(), pictureSize(id)) << id;
    EXPECT_GE(survey(image).distinct, 8) << id << " looks blank";
  }
  EXPECT_EQ(pictureSize(kIconPicture), QSize(256, 256));
  EXPECT_EQ(pictureSize(kSplashPicture), QSize(480, 300));
  EXPECT_EQ(survey(picture(kSplashPicture)).transparent, 0);
  for (int id : kBackgrounds) EXPECT_EQ(pictureSize(id), QSize(1280, 800)) << id;
}

TEST(PicturesTest, UnknownIdsGiveNothing) {
  for (int id : {-1, 0, 127, 129, 159, 168, 178, 57344}) {
    EXPECT_TRUE(picture(id).isNull()) << id;
    EXPECT_TRUE(picture(id, QSize(100, 100)).isNull()) << id;
    EXPECT_TRUE(pictureSize(id).isEmpty()) << id;
  }
}

// A frame of any shape is covered completely, without a transparent edge.
TEST(PicturesTest, BackgroundFillsAFrameOfAnyShape) {
  for (const QSize size : {QSize(1920, 1080), QSize(300, 900), QSize(640, 400), QSize(1, 1)}) {
    const QImage image = picture(kSummerPicture, size);
    ASSERT_EQ(image.size(), size);
    const Pixels pixels = survey(image);
    EXPECT_EQ(pixels.opaque, size.width() * size.height()) << size.width() << "x" << size.height();
  }
}

TEST(PicturesTest, IconHasTheSmallSizesAndAShapedOutline) {
  const QIcon icon = programIcon();
  ASSERT_FALSE(icon.isNull());
  const QList<QSize> sizes = icon.availableSizes();
  for (int side : {16, 32, 48, 256}) {
    EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
    const QImage image = icon.pixmap(QSize(side, side)).toImage();
    ASSERT_EQ(image.size(), QSize(side, side));
    const Pixels pixels = survey(image);
    const int area = side * side;
    // Mostly drawn, with transparent corners around the page.
    EXPECT_GT(pixels.opaque, area / 2) << side;
    EXPECT_GT(pixels.transparent, 0) << side;
    EXPECT_GE(pixels.distinct, 4) << side;
  }
}

// The calendar's black and blue lines must stay readable on every
// background: the background is light and even, so both text colours keep a
// good contrast ratio against all but the smallest dots of the picture.
TEST(PicturesTest, BackgroundsAreCalmAndLight) {
  const double black = luminance(qRgb(0, 0, 0));
  const double blue = luminance(qRgb(0, 0, 255));
  for (int id : kBackgrounds) {
    const Pixels pixels = survey(picture(id, QSize(640, 400)));
    ASSERT_FALSE(pixels.luminances.empty()) << id;
    double sum = 0;
    double squares = 0;
    for (double l : pixels.luminances) {
      sum += l;
      squares += l * l;
    }
    const double count = static_cast<double>(pixels.luminances.size());
    const double mean = sum / count;
    const double spread = std::sqrt(std::max(0.0, squares / count - mean * mean));
    const double darkest = percentile(pixels.luminances, 0.01);
    EXPECT_GE(mean, 0.6) << id << " is too dark";
    EXPECT_LE(spread, 0.12) << id << " is too busy";
    EXPECT_GE(contrastRatio(darkest, black), 7.0) << id;
    EXPECT_GE(contrastRatio(darkest, blue), 3.0) << id;
  }
}

}  // namespace
