#include "outside/picview6/eftdib.h"

#include <gtest/gtest.h>

namespace {

// A grey picture with a dark square in the middle: an edge to sharpen.
QImage sample() {
  QImage image(16, 16, QImage::Format_RGB32);
  image.fill(qRgb(120, 120, 120));
  for (int y = 6; y < 10; ++y)
    for (int x = 6; x < 10; ++x) image.setPixel(x, y, qRgb(60, 60, 60));
  return image;
}

int grey(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)); }

TEST(EftDibTest, DefaultLevelsLeaveThePictureAsItIs) {
  for (int index = 0; index < CEftDib::kEffectCount; ++index)
    EXPECT_EQ(CEftDib::GetEftInitLevel(index), 0);
  const QImage image = sample();
  EXPECT_EQ(CEftDib::Apply(image, {0, 0, 0}), image);
  EXPECT_TRUE(CEftDib::IsNeutral({0, 0, 0}));
  EXPECT_FALSE(CEftDib::IsNeutral({0, 1, 0}));
  EXPECT_EQ(CEftDib::ClampLevel(500), CEftDib::kMaxLevel);
  EXPECT_EQ(CEftDib::ClampLevel(-500), CEftDib::kMinLevel);
}

TEST(EftDibTest, BrightnessContrastAndSharpnessChangeThePixels) {
  const QImage image = sample();
  const QImage brighter = CEftDib::Apply(image, {50, 0, 0});
  EXPECT_GT(grey(brighter, 0, 0), grey(image, 0, 0) + 40);
  EXPECT_LT(grey(CEftDib::Apply(image, {-50, 0, 0}), 0, 0), grey(image, 0, 0) - 40);

  // More contrast: the dark square darker and further from the grey around
  // it; -100 leaves flat middle grey.
  const QImage stronger = CEftDib::Apply(image, {0, 50, 0});
  EXPECT_LT(grey(stronger, 7, 7), grey(image, 7, 7));
  EXPECT_GT(grey(stronger, 0, 0) - grey(stronger, 7, 7), grey(image, 0, 0) - grey(image, 7, 7));
  const QImage flat = CEftDib::Apply(image, {0, -100, 0});
  EXPECT_EQ(grey(flat, 0, 0), 128);
  EXPECT_EQ(grey(flat, 7, 7), 128);

  // Sharpening widens the step at the square's edge, softening narrows it;
  // flat areas stay as they were.
  const int step = grey(image, 5, 7) - grey(image, 6, 7);
  const QImage sharp = CEftDib::Apply(image, {0, 0, 100});
  EXPECT_GT(grey(sharp, 5, 7) - grey(sharp, 6, 7), step);
  EXPECT_EQ(grey(sharp, 0, 0), grey(image, 0, 0));
  const QImage soft = CEftDib::Apply(image, {0, 0, -100});
  EXPECT_LT(grey(soft, 5, 7) - grey(soft, 6, 7), step);
  EXPECT_EQ(sharp.size(), image.size());
}

TEST(EftDibTest, ANullPictureStaysNull) {
  EXPECT_TRUE(CEftDib::Apply(QImage(), {50, 50, 50}).isNull());
}

}  // namespace
