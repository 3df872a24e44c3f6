#include "outside/picview6/ui/vieweralbum.h"

#include "tests/support/test_env.h"

#include <QDir>
#include <QListView>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class ViewerAlbumTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;

  QString picture(int number) {
    const QString path = env.path(QStringLiteral("写真 %1.jpg").arg(number));
    QImage image(320, 240, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(number * 37 % 360, 200, 200));
    EXPECT_TRUE(image.save(path, "JPG"));
    return path;
  }
};

TEST_F(ViewerAlbumTest, ThumbnailsComeInTheBackgroundOnlyForWhatIsShown) {
  QWidget owner;
  owner.resize(700, 500);
  CViewerAlbum album;
  album.Create(QRect(0, 0, 700, 480), &owner, 1000, 1330, 1331, env.path(QStringLiteral("cache")));
  EXPECT_EQ(album.AddData(QStringLiteral("空"), QString(), {0, 0, 0}), -1);
  const QString first = picture(0);
  for (int index = 0; index < 300; ++index)
    EXPECT_EQ(album.AddData(QStringLiteral("写真%1").arg(index), first, {0, 0, 0}), index);
  album.AddData(QStringLiteral("消えた写真"), env.path(QStringLiteral("gone/x.jpg")), {0, 0, 0});
  owner.show();
  QCoreApplication::processEvents();
  picview6::AlbumModel* model = album.model();
  // Painting asked for the first screen's thumbnails, not for all 301.
  EXPECT_TRUE(QTest::qWaitFor([&] {
    return model->pending() > 0 ||
           !model->index(0).data(picview6::AlbumModel::ThumbnailRole).value<QImage>().isNull();
  }));
  model->waitForThumbnails();
  EXPECT_FALSE(model->index(0).data(picview6::AlbumModel::ThumbnailRole).value<QImage>().isNull());
  const int cached = int(QDir(env.path(QStringLiteral("cache"))).entryList(QDir::Files).size());
  EXPECT_EQ(cached, 1);  // one picture file: one cached thumbnail
  EXPECT_EQ(model->index(0).data(Qt::DisplayRole).toString(), QStringLiteral("写真0"));

  // The missing picture at the end gets a placeholder when it is shown.
  album.listView()->scrollToBottom();
  QCoreApplication::processEvents();
  model->index(300).data(picview6::AlbumModel::ThumbnailRole);
  model->waitForThumbnails();
  EXPECT_EQ(model->index(300).data(picview6::AlbumModel::FaultRole).toInt(),
            int(picview6::PictureFault::Missing));
  EXPECT_FALSE(model->index(300).data(picview6::AlbumModel::ThumbnailRole).value<QImage>().isNull());
}

TEST_F(ViewerAlbumTest, ItemsAreSetDeletedAndADoubleClickIsNotified) {
  QWidget owner;
  CViewerAlbum album;
  album.Create(QRect(0, 0, 600, 400), &owner, 1000, 1330, 1331, env.path(QStringLiteral("cache")));
  const QString a = picture(1), b = picture(2);
  album.AddData(QStringLiteral("a"), a, {0, 0, 0});
  album.AddData(QString(), b, {0, 0, 0});
  EXPECT_EQ(album.model()->index(1).data(Qt::DisplayRole).toString(), QStringLiteral("写真 2.jpg"));
  EXPECT_EQ(album.GetCurSel(), -1);
  album.SetCurSel(1);
  EXPECT_EQ(album.GetCurSel(), 1);
  EXPECT_TRUE(album.SetData(1, QStringLiteral("b"), b, {10, 0, 0}));
  EXPECT_EQ(album.model()->index(1).data(Qt::DisplayRole).toString(), QStringLiteral("b"));
  EXPECT_TRUE(album.DeleteData(0));
  EXPECT_EQ(album.GetCount(), 1);
  EXPECT_FALSE(album.DeleteData(5));
  EXPECT_TRUE(QFile::exists(a));

  owner.resize(600, 400);
  owner.show();
  QCoreApplication::processEvents();
  QSignalSpy spy(&album, &CViewerAlbum::commandNotified);
  album.listView()->doItemsLayout();
  const QRect cell = album.listView()->visualRect(album.model()->index(0));
  ASSERT_TRUE(cell.isValid());
  QTest::mouseClick(album.listView()->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(album.listView()->viewport(), Qt::LeftButton, {}, cell.center());
  ASSERT_GE(spy.size(), 1);
  EXPECT_EQ(spy[0][0].toInt(), 1000);
  EXPECT_EQ(spy[0][1].toInt(), 1);
}

}  // namespace
