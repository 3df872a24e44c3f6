#include "tools/photocommands.h"

#include "platform/dao/dao.h"
#include "tools/picturestore.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"

#include <QFile>
#include <QImage>

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
  void clearContextDate() override { ++contextCleared; }
  void redrawMarks() override { ++redraws; }

  long date = 20250612;
  int contextCleared = 0;
  int redraws = 0;

 private:
  CDaoDatabase& db_;
};

class FakeWindows final : public hv6::PictureWindows {
 public:
  QStringList chooseFiles() override {
    ++chooserRuns;
    return chosen;
  }
  bool editWindowOpen() const override { return editOpen; }
  void openEditWindow(const PictureRecord& record) override {
    edits.append(record);
    editOpen = true;
  }
  bool viewerOpen() const override { return viewerIsOpen; }
  void openViewer(const PictureRecord& record) override {
    viewers.append(record);
    viewerIsOpen = true;
  }
  void runAlbum(const QList<PictureRecord>& records) override { albums.append(records); }

  QStringList chosen;
  int chooserRuns = 0;
  bool editOpen = false;
  bool viewerIsOpen = false;
  QList<PictureRecord> edits;
  QList<PictureRecord> viewers;
  QList<QList<PictureRecord>> albums;
};

class PhotoCommandsTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;
  hv6test::MessageRecorder messages;
  TempDataFolder data;
  FakeHost host{data.diary()};
  FakeWindows windows;
  hv6::PhotoCommands commands{host, windows};

  QList<PictureRecord> all() { return *hv6::readPictures(data.diary(), 0); }

  long addRow(long date, const QString& title, const QString& path = QStringLiteral("/p/a.jpg")) {
    return TempDataFolder::insertRow(data.diary(), QStringLiteral("PictureLink"),
                                     {{QStringLiteral("PhotoDate"), COleVariant(date)},
                                      {QStringLiteral("Title"), COleVariant(title)},
                                      {QStringLiteral("Path"), COleVariant(path)},
                                      {QStringLiteral("Bright"), COleVariant(5)},
                                      {QStringLiteral("Contrast"), COleVariant(-3)},
                                      {QStringLiteral("Sharp"), COleVariant(7)}});
  }

  COleVariant column(long code, const char* name) {
    CDaoRecordset set(&data.diary());
    set.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM PictureLink WHERE Code = %1").arg(code));
    return set.GetFieldValue(QString::fromLatin1(name));
  }
};

TEST(PictureTypeTest, BmpJpgAndJpegPassWhateverTheCaseAndTrailingBlanks) {
  EXPECT_TRUE(hv6::isPictureType(QStringLiteral("/x/photo.jpeg")));
  EXPECT_TRUE(hv6::isPictureType(QStringLiteral("/x/PHOTO.JPG ")));
  EXPECT_TRUE(hv6::isPictureType(QStringLiteral("/x/畑 の 写真.Jpg")));
  EXPECT_TRUE(hv6::isPictureType(QStringLiteral("/x/scan.bmp  ")));
  EXPECT_FALSE(hv6::isPictureType(QStringLiteral("/x/photo.png")));
  EXPECT_FALSE(hv6::isPictureType(QStringLiteral("/x/photo.jpg.txt")));
  EXPECT_FALSE(hv6::isPictureType(QStringLiteral("/x/photojpg")));
  EXPECT_FALSE(hv6::isPictureType(QString()));
}

TEST_F(PhotoCommandsTest, SeveralFilesWithOnePngRegisterTheOthersAndShow2914Once) {
  windows.chosen = {QStringLiteral("/p/a.jpg"), QStringLiteral("/p/b.png"),
                    QStringLiteral("/p/c.JPEG")};
  commands.importPictures();
  EXPECT_EQ(messages.numbers(), QList<long>{2914});
  const QList<PictureRecord> rows = all();
  ASSERT_EQ(rows.size(), 2);
  EXPECT_EQ(rows[0].path, QStringLiteral("/p/a.jpg"));
  EXPECT_EQ(rows[1].path, QStringLiteral("/p/c.JPEG"));
  for (const PictureRecord& row : rows) {
    EXPECT_EQ(row.date(), 20250612);
    EXPECT_TRUE(row.title.isEmpty());
    EXPECT_TRUE(row.memo.isEmpty());
    EXPECT_EQ(row.levels, (std::array<long, 3>{0, 0, 0}));
    EXPECT_TRUE(row.rateSet);
    EXPECT_EQ(row.dispRate, 100);
  }
  EXPECT_TRUE(windows.edits.isEmpty());
  EXPECT_EQ(host.redraws, 1);
  EXPECT_EQ(host.contextCleared, 1);
}

TEST_F(PhotoCommandsTest, OneFileOpensTheImportWindowAndItsSaveWritesTheRow) {
  windows.chosen = {QStringLiteral("/p/畑 の 写真.jpg")};
  commands.importPictures();
  ASSERT_EQ(windows.edits.size(), 1);
  const PictureRecord shown = windows.edits.first();
  EXPECT_EQ(shown.date(), 20250612);
  EXPECT_EQ(shown.path, QStringLiteral("/p/畑 の 写真.jpg"));
  EXPECT_TRUE(shown.rateSet);
  EXPECT_TRUE(all().isEmpty());  // nothing written before the save

  // A second import while the window is open opens no other one.
  commands.importPictures();
  EXPECT_EQ(windows.edits.size(), 1);

  PictureRecord values = shown;
  values.title = QStringLiteral("定植");
  values.memo = QStringLiteral("南の畑");
  values.levels = {10, -20, 30};
  values.setDate(20250601);
  values.rateSet = false;
  ASSERT_TRUE(commands.onEditNotified(hv6::EditNotify::kSave, values));
  const QList<PictureRecord> rows = all();
  ASSERT_EQ(rows.size(), 1);
  EXPECT_EQ(rows[0].title, QStringLiteral("定植"));
  EXPECT_EQ(rows[0].memo, QStringLiteral("南の畑"));
  EXPECT_EQ(rows[0].date(), 20250601);
  EXPECT_EQ(rows[0].levels, (std::array<long, 3>{10, -20, 30}));
  // Saved without a chosen rate: DispRate Null, read as 100 with no rate.
  EXPECT_TRUE(column(rows[0].code, "DispRate").isNull());
  EXPECT_FALSE(rows[0].rateSet);
  EXPECT_EQ(rows[0].dispRate, 100);
  EXPECT_EQ(commands.current().code, rows[0].code);
  EXPECT_TRUE(messages.empty());
}

TEST_F(PhotoCommandsTest, ASingleFileThatIsNoPictureShows2914AndCancelDoesNothing) {
  windows.chosen = {QStringLiteral("/p/b.png")};
  commands.importPictures();
  EXPECT_EQ(messages.numbers(), QList<long>{2914});
  EXPECT_TRUE(windows.edits.isEmpty());
  messages.clear();
  windows.chosen.clear();
  host.redraws = 0;
  commands.importPictures();
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(host.redraws, 0);
  EXPECT_TRUE(all().isEmpty());
}

TEST_F(PhotoCommandsTest, ADateThatIsNoDayIsRefusedWithAMessageAndNoRow) {
  windows.chosen = {QStringLiteral("/p/a.jpg")};
  commands.importPictures();
  PictureRecord values = windows.edits.first();
  values.year = 2025, values.month = 2, values.day = 30;
  EXPECT_FALSE(commands.onEditNotified(hv6::EditNotify::kSave, values));
  EXPECT_EQ(messages.numbers(), QList<long>{2915});
  EXPECT_TRUE(all().isEmpty());
  // Mended in the window, the same picture saves.
  values.day = 28;
  EXPECT_TRUE(commands.onEditNotified(hv6::EditNotify::kSaveAndClose, values));
  EXPECT_EQ(all().size(), 1);

  // An update with a bad date leaves the row as it was.
  messages.clear();
  const long code = all().first().code;
  PictureRecord broken = all().first();
  broken.title = QStringLiteral("changed");
  broken.month = 13;
  EXPECT_FALSE(hv6::SavePicture(data.diary(), false, broken));
  EXPECT_EQ(messages.numbers(), QList<long>{2915});
  EXPECT_TRUE(column(code, "Title").toString().isEmpty());
}

TEST_F(PhotoCommandsTest, CommandsDoNothingWithoutTheDatabase) {
  data.diary().Close();
  windows.chosen = {QStringLiteral("/p/a.jpg")};
  for (int id : {hv6::PhotoCmd::kImport, hv6::PhotoCmd::kShow, hv6::PhotoCmd::kAlbum})
    EXPECT_TRUE(commands.run(id));
  EXPECT_FALSE(commands.run(32817));
  EXPECT_EQ(windows.chooserRuns, 0);
  EXPECT_EQ(host.contextCleared, 0);
  EXPECT_EQ(host.redraws, 0);
  EXPECT_TRUE(messages.empty());
}

TEST_F(PhotoCommandsTest, ShowOpensTheViewerForOnePictureAndTheAlbumForTwo) {
  commands.showPictures();
  EXPECT_EQ(messages.numbers(), QList<long>{2909});
  messages.clear();

  const long only = addRow(20250612, QStringLiteral("一枚"));
  addRow(20250613, QStringLiteral("翌日"));
  commands.showPictures();
  ASSERT_EQ(windows.viewers.size(), 1);
  EXPECT_EQ(windows.viewers[0].code, only);
  EXPECT_EQ(windows.viewers[0].title, QStringLiteral("一枚"));
  EXPECT_EQ(windows.viewers[0].levels, (std::array<long, 3>{5, -3, 7}));
  EXPECT_FALSE(windows.viewers[0].rateSet);  // DispRate Null
  EXPECT_EQ(windows.viewers[0].dispRate, 100);
  EXPECT_TRUE(windows.albums.isEmpty());

  addRow(20250612, QStringLiteral("二枚目"));
  commands.showPictures();
  EXPECT_EQ(windows.viewers.size(), 1);
  ASSERT_EQ(windows.albums.size(), 1);
  EXPECT_EQ(windows.albums[0].size(), 2);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(host.redraws, 3);
}

TEST_F(PhotoCommandsTest, TheViewerSavesByCodeAndAsksBeforeDeleting) {
  const long code = addRow(20250612, QStringLiteral("前"));
  addRow(20250101, QStringLiteral("別"));
  commands.showPictures();
  ASSERT_EQ(windows.viewers.size(), 1);

  PictureRecord values = windows.viewers[0];
  values.title = QStringLiteral("後");
  values.dispRate = 80;
  values.rateSet = true;
  ASSERT_TRUE(commands.onViewerSave(values));
  EXPECT_EQ(column(code, "Title").toString(), QStringLiteral("後"));
  EXPECT_EQ(column(code, "DispRate").toLong(), 80);
  EXPECT_EQ(all().size(), 2);

  messages.answer(MsgAnswer::Cancel);
  EXPECT_FALSE(commands.onViewerDelete());
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_EQ(messages.messages()[0].text, hv6::kDeleteQuestion);
  EXPECT_EQ(messages.messages()[0].buttons, hv6::MsgButtons::OkCancel);
  EXPECT_EQ(all().size(), 2);

  EXPECT_TRUE(commands.onViewerDelete());
  EXPECT_EQ(all().size(), 1);
  EXPECT_NE(all().first().code, code);
}

TEST_F(PhotoCommandsTest, TheAlbumShowsEveryPictureOr2910) {
  commands.showAlbum();
  EXPECT_EQ(messages.numbers(), QList<long>{2910});
  EXPECT_TRUE(windows.albums.isEmpty());
  EXPECT_EQ(host.redraws, 0);
  messages.clear();
  addRow(20250101, QStringLiteral("a"));
  addRow(20250612, QStringLiteral("b"));
  commands.showAlbum();
  ASSERT_EQ(windows.albums.size(), 1);
  EXPECT_EQ(windows.albums[0].size(), 2);
  EXPECT_EQ(host.redraws, 1);
}

TEST_F(PhotoCommandsTest, DeletingFromTheAlbumRemovesTheRowButNotTheFile) {
  const QString file = env.path(QStringLiteral("畑 の 写真.jpg"));
  QImage picture(8, 8, QImage::Format_RGB32);
  picture.fill(Qt::green);
  ASSERT_TRUE(picture.save(file, "JPG"));
  addRow(20250612, QStringLiteral("残す"));
  addRow(20250612, QStringLiteral("消す"), file);
  hv6::PhotoAlbum album(data.diary(), all());

  messages.answer(MsgAnswer::Cancel);
  EXPECT_FALSE(album.remove(1));
  EXPECT_EQ(album.records().size(), 2);
  EXPECT_TRUE(album.remove(1));
  EXPECT_EQ(messages.messages().last().text, hv6::kDeleteQuestion);
  ASSERT_EQ(album.records().size(), 1);
  EXPECT_EQ(album.records()[0].title, QStringLiteral("残す"));
  ASSERT_EQ(all().size(), 1);
  EXPECT_EQ(all()[0].title, QStringLiteral("残す"));
  EXPECT_TRUE(QFile::exists(file));

  PictureRecord values = album.records()[0];
  values.title = QStringLiteral("改名");
  values.code = 999;  // the window's values never move the row
  ASSERT_TRUE(album.save(0, values));
  EXPECT_EQ(all()[0].title, QStringLiteral("改名"));
}

TEST_F(PhotoCommandsTest, DatabaseErrorsShow2902And2903) {
  PictureRecord record = hv6::newPicture(20250612, QStringLiteral("/p/a.jpg"));
  record.code = 12345;
  EXPECT_FALSE(hv6::SavePicture(data.diary(), false, record));  // no such row
  EXPECT_FALSE(hv6::DeletePicture(data.diary(), 12345));
  EXPECT_EQ(messages.numbers(), (QList<long>{2902, 2903}));
  messages.clear();
  data.diary().Execute(QStringLiteral("DROP TABLE PictureLink"));
  EXPECT_FALSE(hv6::SavePicture(data.diary(), true, record));
  EXPECT_EQ(messages.numbers(), QList<long>{2902});
}

}  // namespace
