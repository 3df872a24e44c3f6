#include "tools/ui/photodesk.h"

#include "install/demo/photos.h"
#include "outside/picview6/ui/pictureview.h"
#include "outside/picview6/ui/vieweralbum.h"
#include "outside/vqbase106/ui/calendarbox.h"
#include "platform/dao/dao.h"
#include "tests/support/message_recorder.h"
#include "tests/support/scripted_chooser.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"
#include "tools/picturestore.h"
#include "tools/ui/photoalbumdlg.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using hv6::MsgAnswer;
using hv6::PictureRecord;
using hv6test::TempDataFolder;

class FakeHost final : public hv6::PhotoHost {
 public:
  explicit FakeHost(CDaoDatabase& db) : db_(db) {}
  CDaoDatabase* diaryDatabase() override { return &db_; }
  long selectedDate() const override { return date; }
  void clearContextDate() override {}
  void redrawMarks() override { ++redraws; }
  long date = 20250612;
  int redraws = 0;

 private:
  CDaoDatabase& db_;
};

class PhotoDeskTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;
  hv6test::MessageRecorder messages;
  hv6test::ScriptedChooser chooser;
  TempDataFolder data;
  FakeHost host{data.diary()};
  QWidget owner;
  CPhotoDesk desk{host, &owner};

  void SetUp() override {
    owner.resize(1000, 700);
    owner.show();
  }

  QString picture(const QString& name, int scene = hv6::demo::kSceneRipeTomato) {
    const QString path = env.path(name);
    EXPECT_TRUE(hv6::demo::drawScene(scene, 7).save(path, "JPG"));
    return path;
  }

  QList<PictureRecord> rows() { return *hv6::readPictures(data.diary(), 0); }

  long addRow(long date, const QString& title, const QString& path) {
    return TempDataFolder::insertRow(data.diary(), QStringLiteral("PictureLink"),
                                     {{QStringLiteral("PhotoDate"), COleVariant(date)},
                                      {QStringLiteral("Title"), COleVariant(title)},
                                      {QStringLiteral("Memo"), COleVariant(QStringLiteral("メモ"))},
                                      {QStringLiteral("Path"), COleVariant(path)},
                                      {QStringLiteral("Bright"), COleVariant(20)},
                                      {QStringLiteral("Contrast"), COleVariant(0)},
                                      {QStringLiteral("Sharp"), COleVariant(0)}});
  }

  template <typename T>
  static T* child(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

  static void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
};

TEST_F(PhotoDeskTest, ASingleImportOpensTheWindowAndItsSaveWritesTheRowAndCloses) {
  const QString file = picture(QStringLiteral("定植 の日.jpg"));
  chooser.answerFiles({file});
  desk.run(hv6::PhotoCmd::kImport);
  QPointer<CViewerEdit> edit = desk.editWindow();
  ASSERT_FALSE(edit.isNull());
  EXPECT_EQ(edit->objectName(), QStringLiteral("3000"));
  EXPECT_EQ(edit->windowTitle(), QStringLiteral("取り込み"));
  EXPECT_FALSE(child<QPushButton>(edit, "delete")->isEnabled());
  EXPECT_EQ(edit->pictureView()->fault(), picview6::PictureFault::None);
  EXPECT_TRUE(rows().isEmpty());

  child<QLineEdit>(edit, "title")->setText(QStringLiteral("トマト定植"));
  child<QPlainTextEdit>(edit, "memo")->setPlainText(QStringLiteral("二列目まで"));
  child<QSlider>(edit, "sharp")->setValue(30);
  child<QPushButton>(edit, "save")->click();
  settle();
  EXPECT_TRUE(edit.isNull());
  const QList<PictureRecord> saved = rows();
  ASSERT_EQ(saved.size(), 1);
  EXPECT_EQ(saved[0].title, QStringLiteral("トマト定植"));
  EXPECT_EQ(saved[0].memo, QStringLiteral("二列目まで"));
  EXPECT_EQ(saved[0].date(), 20250612);
  EXPECT_EQ(saved[0].levels[2], 30);
  EXPECT_EQ(saved[0].path, file);
  EXPECT_TRUE(saved[0].rateSet);
  EXPECT_TRUE(messages.empty());
}

TEST_F(PhotoDeskTest, ABadDateSaysSoAndKeepsTheViewerOpenUntilMended) {
  const QString file = picture(QStringLiteral("a.jpg"));
  const long code = addRow(20250230, QStringLiteral("古い"), file);  // no such day
  host.date = 20250230;
  desk.run(hv6::PhotoCmd::kShow);
  QPointer<CViewerWin> viewer = desk.viewer();
  ASSERT_FALSE(viewer.isNull());
  child<QLineEdit>(viewer, "title")->setText(QStringLiteral("新しい"));
  child<QPushButton>(viewer, "save")->click();
  settle();
  EXPECT_EQ(messages.numbers(), QList<long>{2915});
  ASSERT_FALSE(viewer.isNull());
  EXPECT_EQ(rows()[0].title, QStringLiteral("古い"));

  // A date picked in the box saves, and the window closes.
  auto* box = child<CCalendarBox>(viewer, "date");
  box->findChild<QSpinBox*>(QStringLiteral("day"))->setValue(27);
  child<QPushButton>(viewer, "save")->click();
  settle();
  EXPECT_TRUE(viewer.isNull());
  ASSERT_EQ(rows().size(), 1);
  EXPECT_EQ(rows()[0].code, code);
  EXPECT_EQ(rows()[0].title, QStringLiteral("新しい"));
  EXPECT_EQ(rows()[0].date() / 100, 202502);
}

TEST_F(PhotoDeskTest, TheViewersDeleteAsksFirstAndKeepsTheFile) {
  const QString file = picture(QStringLiteral("b.jpg"));
  addRow(20250612, QStringLiteral("一枚"), file);
  desk.run(hv6::PhotoCmd::kShow);
  QPointer<CViewerWin> viewer = desk.viewer();
  ASSERT_FALSE(viewer.isNull());
  // The stored levels are applied to what is shown.
  EXPECT_EQ(child<QSlider>(viewer, "bright")->value(), 20);
  // A second show while the viewer is open opens no other one.
  desk.run(hv6::PhotoCmd::kShow);
  EXPECT_EQ(owner.findChildren<CViewerWin*>().size(), 1);

  messages.answer(MsgAnswer::Cancel);
  child<QPushButton>(viewer, "delete")->click();
  settle();
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_EQ(messages.messages()[0].text, hv6::kDeleteQuestion);
  EXPECT_FALSE(viewer.isNull());
  EXPECT_EQ(rows().size(), 1);
  child<QPushButton>(viewer, "delete")->click();
  settle();
  EXPECT_TRUE(viewer.isNull());
  EXPECT_TRUE(rows().isEmpty());
  EXPECT_TRUE(QFile::exists(file));
}

TEST_F(PhotoDeskTest, AViewerClosedByTheUserIsNoLongerOpen) {
  addRow(20250612, QStringLiteral("一枚"), picture(QStringLiteral("c.jpg")));
  desk.run(hv6::PhotoCmd::kShow);
  CViewerWin* first = desk.viewer();
  ASSERT_NE(first, nullptr);
  first->close();  // deleted later, when the event loop comes round
  desk.run(hv6::PhotoCmd::kShow);
  ASSERT_NE(desk.viewer(), nullptr);
  EXPECT_NE(desk.viewer(), first);
  EXPECT_TRUE(desk.viewer()->isVisible());
  settle();
  ASSERT_NE(desk.viewer(), nullptr);
  EXPECT_EQ(owner.findChildren<CViewerWin*>().size(), 1);
}

TEST_F(PhotoDeskTest, TheAlbumsViewerSavesAndDeletesItsItems) {
  const QString a = picture(QStringLiteral("a.jpg"), hv6::demo::kScenePaddy);
  const QString b = picture(QStringLiteral("b.jpg"), hv6::demo::kSceneTractor);
  addRow(20250601, QStringLiteral("田んぼ"), a);
  addRow(20250602, QStringLiteral("トラクター"), b);
  addRow(20250603, QString(), QString());  // no path: the album refuses it
  CPhotoAlbumDlg dialog(data.diary(), rows(), &owner);
  dialog.show();
  CViewerAlbum* album = dialog.album();
  EXPECT_EQ(album->GetCount(), 2);
  EXPECT_EQ(dialog.records().records().size(), 2);
  EXPECT_NE(dialog.findChild<QLabel*>(QStringLiteral("1004")), nullptr);
  int helped = 0;
  dialog.setHelpHandler([&helped] { ++helped; });
  QTest::keyClick(&dialog, Qt::Key_F1);
  EXPECT_EQ(helped, 1);

  album->SetCurSel(1);
  Q_EMIT album->commandNotified(1000, 1);  // the double click
  QPointer<CViewerWin> viewer = dialog.viewer();
  ASSERT_FALSE(viewer.isNull());
  EXPECT_EQ(child<QLineEdit>(viewer, "title")->text(), QStringLiteral("トラクター"));
  child<QLineEdit>(viewer, "title")->setText(QStringLiteral("代かき"));
  child<QPushButton>(viewer, "save")->click();
  settle();
  EXPECT_TRUE(viewer.isNull());
  EXPECT_EQ(album->model()->index(1).data(Qt::DisplayRole).toString(), QStringLiteral("代かき"));
  EXPECT_EQ(rows()[1].title, QStringLiteral("代かき"));

  album->SetCurSel(0);
  dialog.openSelected();
  viewer = dialog.viewer();
  ASSERT_FALSE(viewer.isNull());
  child<QPushButton>(viewer, "delete")->click();
  settle();
  EXPECT_TRUE(viewer.isNull());
  EXPECT_EQ(album->GetCount(), 1);
  EXPECT_EQ(rows().size(), 2);  // the refused row and the other picture
  EXPECT_TRUE(QFile::exists(a));
  EXPECT_EQ(messages.messages().last().text, hv6::kDeleteQuestion);

  // The Delete key in the album asks too; Cancel keeps the picture.
  messages.answer(MsgAnswer::Cancel);
  album->SetCurSel(0);
  Q_EMIT album->notified(CPhotoAlbumDlg::kAlbumDelete, 0);
  EXPECT_EQ(album->GetCount(), 1);
  Q_EMIT album->notified(CPhotoAlbumDlg::kAlbumDelete, 0);
  EXPECT_EQ(album->GetCount(), 0);
  EXPECT_EQ(rows().size(), 1);  // only the row the album refused
  EXPECT_TRUE(QFile::exists(b));
}

// Pictures of the windows for a person to look at: set HV6_SCREENSHOTS to a
// folder to have them written.
TEST_F(PhotoDeskTest, Screenshots) {
  const QString folder = qEnvironmentVariable("HV6_SCREENSHOTS");
  if (folder.isEmpty()) GTEST_SKIP() << "HV6_SCREENSHOTS not set";
  QDir().mkpath(folder);
  const int scenes[] = {hv6::demo::kSceneSeedlingTrays, hv6::demo::kSceneTransplanting,
                        hv6::demo::kScenePaddy,         hv6::demo::kSceneYoungTomato,
                        hv6::demo::kSceneRipeTomato,    hv6::demo::kSceneCucumber,
                        hv6::demo::kSceneTractor,       hv6::demo::kSceneSoybeans,
                        hv6::demo::kSceneCombine,       hv6::demo::kSceneGoldenPaddy,
                        hv6::demo::kSceneSnowHouse,     hv6::demo::kSceneEarlyPaddy};
  const char16_t* titles[] = {u"育苗箱", u"田植え", u"水田", u"トマト定植後", u"トマト収穫",
                              u"キュウリ", u"トラクター", u"大豆", u"コンバイン", u"実りの稲",
                              u"雪のハウス", u"早苗"};
  for (int index = 0; index < 12; ++index)
    addRow(20250401 + index, QString::fromUtf16(titles[index]),
           picture(QStringLiteral("demo %1.jpg").arg(index), scenes[index]));
  addRow(20250420, QStringLiteral("移動した写真"), env.path(QStringLiteral("移動済み/写真.jpg")));

  chooser.answerFiles({env.path(QStringLiteral("demo 4.jpg"))});
  desk.run(hv6::PhotoCmd::kImport);
  desk.editWindow()->resize(960, 600);
  child<QLineEdit>(desk.editWindow(), "title")->setText(QStringLiteral("トマト収穫"));
  QCoreApplication::processEvents();
  desk.editWindow()->grab().save(folder + QStringLiteral("/edit.png"));
  desk.editWindow()->close();

  host.date = 20250403;
  desk.run(hv6::PhotoCmd::kShow);
  desk.viewer()->resize(960, 600);
  child<QSlider>(desk.viewer(), "bright")->setValue(25);
  QCoreApplication::processEvents();
  desk.viewer()->grab().save(folder + QStringLiteral("/viewer.png"));
  desk.viewer()->close();

  host.date = 20250420;
  desk.run(hv6::PhotoCmd::kShow);
  desk.viewer()->resize(800, 500);
  QCoreApplication::processEvents();
  desk.viewer()->grab().save(folder + QStringLiteral("/missing.png"));
  desk.viewer()->close();

  CPhotoAlbumDlg dialog(data.diary(), rows(), &owner);
  dialog.resize(900, 640);
  dialog.show();
  QCoreApplication::processEvents();
  dialog.album()->model()->waitForThumbnails();
  QCoreApplication::processEvents();
  dialog.album()->model()->waitForThumbnails();
  QCoreApplication::processEvents();
  dialog.grab().save(folder + QStringLiteral("/album.png"));
  dialog.album()->listView()->scrollToBottom();
  QCoreApplication::processEvents();
  dialog.album()->model()->waitForThumbnails();
  QCoreApplication::processEvents();
  dialog.grab().save(folder + QStringLiteral("/album-end.png"));
  SUCCEED();
}

}  // namespace
