#include "outside/picview6/exifdate.h"
#include "outside/picview6/picturefile.h"
#include "outside/picview6/thumbnailcache.h"
#include "tests/outside/picview6/testpictures.h"
#include "tests/support/test_env.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

using picview6::PictureFault;
using namespace picview6test;

bool isRed(QRgb pixel) { return qRed(pixel) > 200 && qBlue(pixel) < 60; }
bool isBlue(QRgb pixel) { return qBlue(pixel) > 200 && qRed(pixel) < 60; }

class PictureFileTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;
  QString path(const QString& name) { return env.path(name); }
};

TEST_F(PictureFileTest, ExifDateTakenAndOrientationAreRead) {
  const QString file = path(QStringLiteral("畑の 写真 1.jpg"));
  ASSERT_TRUE(writeFile(file, jpegWithExif(halves(40, 20), QStringLiteral("2023:07:14 09:30:00"), 6)));
  EXPECT_EQ(picview6::exifDateTaken(file), std::optional<long>(20230714));

  // Orientation 6: turned a quarter clockwise to stand upright, so the left
  // (red) half comes on top.
  const picview6::PictureRead read = picview6::readPicture(file, QSize());
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read.image.size(), QSize(20, 40));
  EXPECT_EQ(read.fullSize, QSize(20, 40));
  EXPECT_TRUE(isRed(read.image.pixel(10, 5)));
  EXPECT_TRUE(isBlue(read.image.pixel(10, 35)));
  EXPECT_EQ(picview6::pictureSize(file), QSize(20, 40));

  // Scaled into a box while read, still upright.
  const picview6::PictureRead small = picview6::readPicture(file, QSize(10, 10));
  ASSERT_TRUE(small.ok());
  EXPECT_EQ(small.image.size(), QSize(5, 10));
  EXPECT_TRUE(isRed(small.image.pixel(2, 1)));
  EXPECT_TRUE(isBlue(small.image.pixel(2, 8)));
}

TEST_F(PictureFileTest, PicturesWithoutADateOrWithABadOneGiveNone) {
  const QString plain = path(QStringLiteral("plain.jpg"));
  ASSERT_TRUE(halves(8, 8).save(plain, "JPG"));
  EXPECT_FALSE(picview6::exifDateTaken(plain).has_value());
  const QString zero = path(QStringLiteral("zero.jpg"));
  ASSERT_TRUE(writeFile(zero, jpegWithExif(halves(8, 8), QStringLiteral("0000:00:00 00:00:00"), 1)));
  EXPECT_FALSE(picview6::exifDateTaken(zero).has_value());
  EXPECT_FALSE(picview6::exifDateTaken(path(QStringLiteral("gone.jpg"))).has_value());
  EXPECT_EQ(picview6::parseExifDate(QStringLiteral("2024:02:29 10:00:00")), std::optional<long>(20240229));
  EXPECT_FALSE(picview6::parseExifDate(QStringLiteral("2023:02:29 10:00:00")).has_value());
  EXPECT_FALSE(picview6::parseExifDate(QStringLiteral("2023-07-14")).has_value());
}

TEST_F(PictureFileTest, BadFilesGiveAFaultAndNeverAnImage) {
  // No file, a folder that is gone, text named .jpg, a JPEG cut in its header.
  EXPECT_EQ(picview6::readPicture(path(QStringLiteral("none.jpg")), QSize()).fault, PictureFault::Missing);
  EXPECT_EQ(picview6::readPicture(QStringLiteral("/nonexistent-share/photos/a.jpg"), QSize()).fault,
            PictureFault::Missing);
  EXPECT_EQ(picview6::readPicture(env.root(), QSize()).fault, PictureFault::Missing);
  const QString text = path(QStringLiteral("メモ.jpg"));
  ASSERT_TRUE(writeFile(text, QByteArray("this is no picture\n")));
  const picview6::PictureRead notPicture = picview6::readPicture(text, QSize(100, 100));
  EXPECT_EQ(notPicture.fault, PictureFault::Unreadable);
  EXPECT_TRUE(notPicture.image.isNull());
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(halves(64, 64).save(&buffer, "JPG"));
  const QString header = path(QStringLiteral("header.jpg"));
  ASSERT_TRUE(writeFile(header, jpeg.left(40)));
  EXPECT_EQ(picview6::readPicture(header, QSize()).fault, PictureFault::Unreadable);
  // Cut in its data: what was there is shown, at the picture's size.
  const QString tail = path(QStringLiteral("tail.jpg"));
  ASSERT_TRUE(writeFile(tail, jpeg.left(jpeg.size() * 2 / 3)));
  const picview6::PictureRead partial = picview6::readPicture(tail, QSize());
  if (partial.ok()) EXPECT_EQ(partial.image.size(), QSize(64, 64));
  else EXPECT_TRUE(partial.image.isNull());
}

TEST_F(PictureFileTest, APngNamedJpgIsReadByItsContent) {
  const QString file = path(QStringLiteral("png で.jpg"));
  ASSERT_TRUE(halves(30, 10).save(file, "PNG"));
  const picview6::PictureRead read = picview6::readPicture(file, QSize());
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read.image.size(), QSize(30, 10));
}

TEST_F(PictureFileTest, AHugePictureIsDecodedScaled) {
  // 100 megapixels of grey: read into a box, never whole.
  const QString file = path(QStringLiteral("huge.jpg"));
  {
    QImage huge(10000, 10000, QImage::Format_Grayscale8);
    huge.fill(90);
    ASSERT_TRUE(huge.save(file, "JPG", 50));
  }
  const picview6::PictureRead read = picview6::readPicture(file, QSize(1000, 800));
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read.image.size(), QSize(800, 800));
  EXPECT_EQ(read.fullSize, QSize(10000, 10000));
}

TEST_F(PictureFileTest, FittedSizeKeepsProportionsAndNeverEnlarges) {
  EXPECT_EQ(picview6::fittedSize(QSize(4000, 3000), QSize(400, 400)), QSize(400, 300));
  EXPECT_EQ(picview6::fittedSize(QSize(100, 50), QSize(400, 400)), QSize(100, 50));
  EXPECT_EQ(picview6::fittedSize(QSize(100, 50), QSize()), QSize(100, 50));
}

TEST_F(PictureFileTest, ThePlaceholderIsAPictureOfTheAskedSize) {
  const QImage placeholder =
      picview6::placeholderImage(QSize(200, 150), QStringLiteral("/gone/畑.jpg"), PictureFault::Missing);
  EXPECT_EQ(placeholder.size(), QSize(200, 150));
  // The frame, the sign and the texts are drawn over the background.
  int drawn = 0;
  for (int y = 0; y < placeholder.height(); ++y)
    for (int x = 0; x < placeholder.width(); ++x)
      drawn += placeholder.pixel(x, y) != placeholder.pixel(100, 2) ? 1 : 0;
  EXPECT_GT(drawn, 1000);
  EXPECT_FALSE(picview6::faultText(PictureFault::Missing).isEmpty());
}

TEST_F(PictureFileTest, ThumbnailsAreCachedByPathSizeAndTime) {
  const QString cacheFolder = path(QStringLiteral("cache"));
  picview6::ThumbnailCache cache(cacheFolder, 64);
  const QString file = path(QStringLiteral("日 本/写真 A.jpg"));
  ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
  ASSERT_TRUE(halves(400, 200).save(file, "JPG"));
  const QString key = cache.cacheFile(file);
  ASSERT_FALSE(key.isEmpty());
  EXPECT_FALSE(QFile::exists(key));
  const picview6::PictureRead first = cache.thumbnail(file);
  ASSERT_TRUE(first.ok());
  EXPECT_EQ(first.image.size(), QSize(64, 32));
  EXPECT_TRUE(QFile::exists(key));
  EXPECT_EQ(QDir(cacheFolder).entryList(QDir::Files).size(), 1);  // no temporary left

  // The second time comes from the cache: a thumbnail that differs from the
  // picture (written over the cached file) is what is returned.
  QImage marked(64, 32, QImage::Format_RGB32);
  marked.fill(Qt::green);
  ASSERT_TRUE(marked.save(key, "JPG"));
  const picview6::PictureRead second = cache.thumbnail(file);
  ASSERT_TRUE(second.ok());
  EXPECT_GT(qGreen(second.image.pixel(5, 5)), 200);

  // Another picture at the same path gets another key.
  ASSERT_TRUE(halves(300, 300).save(file, "PNG"));
  EXPECT_NE(cache.cacheFile(file), key);
  EXPECT_EQ(cache.thumbnail(file).image.size(), QSize(64, 64));

  EXPECT_EQ(cache.thumbnail(path(QStringLiteral("gone.jpg"))).fault, PictureFault::Missing);
  EXPECT_TRUE(cache.cacheFile(path(QStringLiteral("gone.jpg"))).isEmpty());
}

TEST_F(PictureFileTest, TheDefaultCacheLivesInTheAppLocalDataFolder) {
  EXPECT_TRUE(picview6::ThumbnailCache::defaultFolder().startsWith(env.root()));
}

}  // namespace
