// Backup and restore of a data folder: the round trip, pictures that cannot
// go back, backups that must be refused with the data untouched, a backup
// beside a writing program, and a restore killed before its swap.
#include "platform/dao/dao.h"
#include "store/schema.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"
#include "tests/tools/backup/dump.h"
#include "tools/backup/archive.h"
#include "tools/backup/backup.h"
#include "tools/backup/restore.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace hv6test {
namespace {

using namespace hv6::backup;

constexpr long kBackupDate = 20240615;

void writeBytes(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

// What lies beside the folder under names made from its own.
QStringList siblingsOf(const QString& folder) {
  const QString name = QFileInfo(folder).fileName();
  QStringList names = QDir(QFileInfo(folder).absolutePath())
                          .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  names.removeIf([&name](const QString& n) { return !n.contains(name); });
  return names;
}

QByteArray jpegLike(int seed, int size) {
  QByteArray bytes("\xFF\xD8\xFF\xE0");
  while (bytes.size() < size) bytes.append(char((seed * 31 + bytes.size() * 7) & 0xFF));
  return bytes;
}

long countRows(CDaoDatabase& db, const QString& table) {
  QSqlQuery q = db.runSql(QStringLiteral("SELECT count(*) FROM %1").arg(table));
  return q.next() ? long(q.value(0).toLongLong()) : -1;
}

class BackupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(outside_.isValid());
    ASSERT_TRUE(targets_.isValid());
    CDaoDatabase& db = data_.diary();
    db.Execute(QStringLiteral("UPDATE Information SET Company = ?, President = ?"),
               {COleVariant(QStringLiteral("岩手みどり農園")), COleVariant(QStringLiteral("佐藤一郎"))});
    const long job = data_.addMaster(QStringLiteral("JobMst"), 1, QStringLiteral("田植え"));
    for (int i = 0; i < 40; ++i)
      data_.addDiary(QDate(2024, 5, 1).addDays(i),
                     {{QStringLiteral("JobCode"), COleVariant(qint32(job))},
                      {QStringLiteral("WorkFactTime"), COleVariant(qint32(130 + i))},
                      {QStringLiteral("Quantity"), COleVariant(1.25 * i)}});
    for (int i = 0; i < 5; ++i)
      TempDataFolder::insertRow(data_.weather(), QStringLiteral("Weather"),
                                {{QStringLiteral("Date"), COleVariant(qint32(20240501 + i))},
                                 {QStringLiteral("Item1"), COleVariant(qint16(i))}});
    writeBytes(folder() + QStringLiteral("/20240501.rtf"), "{\\rtf1 first}");
    writeBytes(folder() + QStringLiteral("/20240502.rtf"), "{\\rtf1 second}");
    writeBytes(folder() + QStringLiteral("/ほ場図.fmp"), "[Map]\n");
    insidePicture_ = folder() + QStringLiteral("/photos/田植え.jpg");
    outsidePicture_ = outside_.filePath(QStringLiteral("pictures/tractor.jpg"));
    writeBytes(insidePicture_, jpegLike(1, 50000));
    writeBytes(outsidePicture_, jpegLike(2, 70000));
    addPicture(insidePicture_, 20240501);
    addPicture(outsidePicture_, 20240502);
    addPicture(outsidePicture_, 20240503);  // two rows, one file
    addPicture(outside_.filePath(QStringLiteral("gone.jpg")), 20240504);  // a file no longer there
  }

  void addPicture(const QString& path, long date) {
    TempDataFolder::insertRow(data_.diary(), QStringLiteral("PictureLink"),
                              {{QStringLiteral("PhotoDate"), COleVariant(qint32(date))},
                               {QStringLiteral("Path"), COleVariant(path)},
                               {QStringLiteral("Title"), COleVariant(QStringLiteral("写真"))}});
  }

  QString folder() const { return data_.folder(); }
  DataPaths paths() const { return {data_.diaryPath(), data_.weatherPath()}; }
  QString target(const QString& name = QStringLiteral("farm.hv6bak")) const {
    return targets_.filePath(name);
  }

  BackupResult backUp(const QString& file) { return writeBackup(paths(), file, kBackupDate); }

  // The program closes its databases before a restore.
  void closeData() {
    data_.diary().Close();
    data_.weather().Close();
  }

  // Restores and expects a refusal with the data folder exactly as it was.
  void expectRefused(const QString& file, long message) {
    closeData();
    const auto before = folderDigest(folder());
    const QStringList siblings = siblingsOf(folder());
    const RestoreResult result = restoreBackup(file, paths());
    EXPECT_EQ(result.message, message) << result.detail.toStdString();
    EXPECT_EQ(folderDigest(folder()), before);
    EXPECT_EQ(siblingsOf(folder()), siblings) << "nothing left beside the data folder";
  }

  TestEnvironment env_;
  TempDataFolder data_;
  QTemporaryDir outside_;
  QTemporaryDir targets_;
  QString insidePicture_;
  QString outsidePicture_;
};

TEST_F(BackupTest, RoundTripGivesTheSameTablesFarmDiaryAndPictures) {
  const BackupResult backup = backUp(target());
  ASSERT_EQ(backup.message, kDone) << backup.detail.toStdString();
  EXPECT_TRUE(backup.dateRecorded);
  EXPECT_EQ(backup.missingPictures, QStringList{outside_.filePath(QStringLiteral("gone.jpg"))});
  EXPECT_EQ(backup.manifest.header.farmName, QStringLiteral("岩手みどり農園"));
  EXPECT_EQ(backup.manifest.header.diaryRows, 40);
  EXPECT_EQ(backup.manifest.header.farmDiaryCount, 2);
  EXPECT_EQ(backup.manifest.header.pictureCount, 2);
  EXPECT_EQ(QDir(targets_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{QStringLiteral("farm.hv6bak")});

  const InspectResult inspected = inspectBackup(target());
  ASSERT_EQ(inspected.message, kDone);
  EXPECT_EQ(inspected.header.date, kBackupDate);
  EXPECT_EQ(inspected.header.pictureRows, 4);

  closeData();
  const QString diaryDump = dumpDatabase(data_.diaryPath());
  const QString weatherDump = dumpDatabase(data_.weatherPath());
  EXPECT_TRUE(diaryDump.contains(QStringLiteral("%1").arg(kBackupDate)));  // LastBackup is in the copy
  const QByteArray inside = readBytes(insidePicture_);
  const QByteArray outsideBytes = readBytes(outsidePicture_);

  // Change everything the backup holds.
  {
    CDaoDatabase db;
    db.Open(data_.diaryPath());
    db.Execute(QStringLiteral("DELETE FROM WDiary WHERE Code < 10"));
    db.Execute(QStringLiteral("UPDATE Information SET Company = 'changed'"));
    db.Execute(QStringLiteral("INSERT INTO WDiary (Date) VALUES ('2024-07-01 00:00:00')"));
    CDaoDatabase weather;
    weather.Open(data_.weatherPath());
    weather.Execute(QStringLiteral("DELETE FROM Weather"));
  }
  writeBytes(folder() + QStringLiteral("/20240501.rtf"), "{\\rtf1 changed}");
  QFile::remove(folder() + QStringLiteral("/20240502.rtf"));
  writeBytes(folder() + QStringLiteral("/20240703.rtf"), "{\\rtf1 after the backup}");
  writeBytes(insidePicture_, "overwritten");
  QFile::remove(outsidePicture_);
  const QString changedDiary = dumpDatabase(data_.diaryPath());

  const RestoreResult restored = restoreBackup(target(), paths());
  ASSERT_EQ(restored.message, kDone) << restored.detail.toStdString();
  EXPECT_EQ(dumpDatabase(data_.diaryPath()), diaryDump);
  EXPECT_EQ(dumpDatabase(data_.weatherPath()), weatherDump);
  EXPECT_EQ(readBytes(folder() + QStringLiteral("/20240501.rtf")), QByteArray("{\\rtf1 first}"));
  EXPECT_EQ(readBytes(folder() + QStringLiteral("/20240502.rtf")), QByteArray("{\\rtf1 second}"));
  EXPECT_FALSE(QFile::exists(folder() + QStringLiteral("/20240703.rtf")));
  EXPECT_EQ(readBytes(insidePicture_), inside);
  EXPECT_EQ(readBytes(outsidePicture_), outsideBytes);
  EXPECT_EQ(readBytes(folder() + QStringLiteral("/ほ場図.fmp")), QByteArray("[Map]\n"));
  EXPECT_TRUE(restored.relocatedPictures.isEmpty());

  // The data as it was before the restore stays beside it.
  ASSERT_FALSE(restored.safetyCopy.isEmpty());
  EXPECT_TRUE(restored.safetyCopy.startsWith(folder() + QStringLiteral("_復元前_")));
  EXPECT_EQ(dumpDatabase(QDir(restored.safetyCopy).filePath(hv6::kDiaryFileName)), changedDiary);
  EXPECT_TRUE(QFile::exists(QDir(restored.safetyCopy).filePath(QStringLiteral("20240703.rtf"))));
  QDir(restored.safetyCopy).removeRecursively();
  // Nothing else is left beside the data folder.
  EXPECT_EQ(siblingsOf(folder()), QStringList{QFileInfo(folder()).fileName()});
}

TEST_F(BackupTest, APicturePathHoldingOtherBytesMovesThePictureIntoTheDataFolder) {
  ASSERT_EQ(backUp(target()).message, kDone);
  closeData();
  writeBytes(outsidePicture_, "another picture now");
  const RestoreResult restored = restoreBackup(target(), paths());
  ASSERT_EQ(restored.message, kDone) << restored.detail.toStdString();
  const QString moved = folder() + QStringLiteral("/photos/tractor.jpg");
  EXPECT_EQ(restored.relocatedPictures, QStringList{moved});
  EXPECT_EQ(readBytes(outsidePicture_), QByteArray("another picture now"));
  EXPECT_EQ(readBytes(moved), jpegLike(2, 70000));
  CDaoDatabase db;
  db.Open(data_.diaryPath(), false, true);
  QSqlQuery q = db.runSql(QStringLiteral("SELECT count(*) FROM PictureLink WHERE Path = ?"), {COleVariant(moved)});
  ASSERT_TRUE(q.next());
  EXPECT_EQ(q.value(0).toInt(), 2);  // both rows of that file
  QDir(restored.safetyCopy).removeRecursively();
}

TEST_F(BackupTest, AFreePathThatNamesNoPictureIsNotMadeOutsideTheDataFolder) {
  const QString script = outside_.filePath(QStringLiteral("bin/start.sh"));
  writeBytes(script, "#!/bin/sh\n");
  addPicture(script, 20240505);
  ASSERT_EQ(backUp(target()).message, kDone);
  closeData();
  QFile::remove(script);
  QFile::remove(outsidePicture_);
  const RestoreResult restored = restoreBackup(target(), paths());
  ASSERT_EQ(restored.message, kDone) << restored.detail.toStdString();
  EXPECT_FALSE(QFile::exists(script));
  EXPECT_EQ(restored.relocatedPictures, QStringList{folder() + QStringLiteral("/photos/start.sh")});
  EXPECT_EQ(readBytes(outsidePicture_), jpegLike(2, 70000));  // a picture's free path is used
  QDir(restored.safetyCopy).removeRecursively();
}

TEST_F(BackupTest, ACancelledBackupLeavesNothingAndKeepsTheLastBackupDate) {
  const auto lastBackup = [this] {
    QSqlQuery q = data_.diary().runSql(QStringLiteral("SELECT LastBackup FROM Information"));
    return q.next() ? q.value(0) : QVariant(QStringLiteral("no row"));
  };
  const QVariant old = lastBackup();
  int calls = 0;
  QVariant during;
  const BackupResult result = writeBackup(paths(), target(), kBackupDate, [&](qint64, qint64) {
    if (calls == 0) during = lastBackup();
    return ++calls < 3;
  });
  EXPECT_EQ(result.message, kCancelled);
  EXPECT_EQ(during.toLongLong(), kBackupDate);  // the copy holds the backup's own date
  EXPECT_TRUE(QDir(targets_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
  EXPECT_EQ(lastBackup(), old);
}

TEST_F(BackupTest, ABackupIntoAMissingFolderIsRefused) {
  const BackupResult result = backUp(targets_.filePath(QStringLiteral("no/such/folder/x.hv6bak")));
  EXPECT_EQ(result.message, kMsgCannotWrite);
}

TEST_F(BackupTest, DamagedBackupsAreRefusedWithTheDataUntouched) {
  ASSERT_EQ(backUp(target()).message, kDone);
  const QByteArray good = readBytes(target());

  // Cut short, at several places.
  for (const qsizetype keep : {good.size() / 2, good.size() - 300, good.size() - 512, good.size() - 1,
                               qsizetype(100)}) {
    writeBytes(target(QStringLiteral("cut.hv6bak")), good.left(keep));
    SCOPED_TRACE(keep);
    expectRefused(target(QStringLiteral("cut.hv6bak")), keep < 600 ? kMsgNotABackup : kMsgDamaged);
  }
  // One byte changed inside the picture's data: the checksum tells.
  QByteArray flipped = good;
  const qsizetype at = flipped.indexOf(jpegLike(2, 70000).mid(1000, 64));
  ASSERT_GT(at, 0);
  flipped[at] = char(flipped[at] ^ 0x55);
  writeBytes(target(QStringLiteral("flipped.hv6bak")), flipped);
  expectRefused(target(QStringLiteral("flipped.hv6bak")), kMsgDamaged);
  // Not a backup at all: a text, an empty file, a tar of something else.
  writeBytes(target(QStringLiteral("text.hv6bak")), "just some text, not an archive\n");
  expectRefused(target(QStringLiteral("text.hv6bak")), kMsgNotABackup);
  writeBytes(target(QStringLiteral("empty.hv6bak")), QByteArray());
  expectRefused(target(QStringLiteral("empty.hv6bak")), kMsgNotABackup);
  {
    ArchiveWriter other;
    ASSERT_TRUE(other.open(target(QStringLiteral("other.tar"))));
    ASSERT_TRUE(other.addBytes(QStringLiteral("readme.txt"), "hello"));
    ASSERT_TRUE(other.commit());
  }
  expectRefused(target(QStringLiteral("other.tar")), kMsgNotABackup);
  expectRefused(target(QStringLiteral("missing.hv6bak")), kMsgCannotReadBackup);
}

// A backup written by hand around a given diary database file.
void writeCustomBackup(const QString& path, const QByteArray& diaryBytes, int formatVersion) {
  Manifest manifest;
  manifest.header.formatVersion = formatVersion;
  manifest.header.date = kBackupDate;
  ManifestFile diary;
  diary.entry = kDataPrefix + hv6::kDiaryFileName;
  diary.kind = FileKind::DiaryDatabase;
  diary.size = diaryBytes.size();
  diary.sha256 = QCryptographicHash::hash(diaryBytes, QCryptographicHash::Sha256).toHex();
  manifest.files.append(diary);
  ArchiveWriter writer;
  ASSERT_TRUE(writer.open(path));
  ASSERT_TRUE(writer.addBytes(kHeaderEntry, headerJson(manifest.header)));
  ASSERT_TRUE(writer.addBytes(diary.entry, diaryBytes));
  ASSERT_TRUE(writer.addBytes(kManifestEntry, manifestJson(manifest)));
  ASSERT_TRUE(writer.commit());
}

TEST_F(BackupTest, ANewerFormatAndADatabaseFailingItsCheckAreRefused) {
  const QByteArray diaryBytes = readBytes(data_.diaryPath());
  writeCustomBackup(target(QStringLiteral("plain.hv6bak")), diaryBytes, kFormatVersion);
  writeCustomBackup(target(QStringLiteral("newer.hv6bak")), diaryBytes, kFormatVersion + 1);
  // Pages of the diary database overwritten, the manifest made to match.
  QByteArray broken = diaryBytes;
  ASSERT_GT(broken.size(), 4096 * 4);
  // The page headers of pages 2 to 4 (page 1 holds the schema).
  for (qsizetype page = 1; page < 4; ++page)
    for (qsizetype i = 0; i < 12; ++i) broken[page * 4096 + i] = char(0xA5);
  writeCustomBackup(target(QStringLiteral("broken.hv6bak")), broken, kFormatVersion);

  expectRefused(target(QStringLiteral("newer.hv6bak")), kMsgNewerFormat);
  expectRefused(target(QStringLiteral("broken.hv6bak")), kMsgBadDatabase);
  EXPECT_EQ(inspectBackup(target(QStringLiteral("newer.hv6bak"))).message, kMsgNewerFormat);
  // The same layout with the sound database is accepted: the refusals
  // above come from the version and the check.
  const RestoreResult ok = restoreBackup(target(QStringLiteral("plain.hv6bak")), paths());
  EXPECT_EQ(ok.message, kDone) << ok.detail.toStdString();
  QDir(ok.safetyCopy).removeRecursively();
}

TEST_F(BackupTest, AReadOnlyDataFolderIsRefusedUntouched) {
  ASSERT_EQ(backUp(target()).message, kDone);
  closeData();
  QFile::setPermissions(folder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  if (QFileInfo(folder()).isWritable()) {
    QFile::setPermissions(folder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    GTEST_SKIP() << "permissions do not hold for this user";
  }
  const auto before = folderDigest(folder());
  const RestoreResult result = restoreBackup(target(), paths());
  QFile::setPermissions(folder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  EXPECT_EQ(result.message, kMsgFolderReadOnly);
  EXPECT_EQ(folderDigest(folder()), before);
}

QString childProgram() {
  return QCoreApplication::applicationDirPath() + QStringLiteral("/hv6_backup_child");
}

TEST_F(BackupTest, ARestoreKilledBeforeItsSwapLeavesTheOldDataInUse) {
  ASSERT_EQ(backUp(target()).message, kDone);
  data_.diary().Execute(QStringLiteral("DELETE FROM WDiary"));
  closeData();
  const QString dumpBefore = dumpDatabase(data_.diaryPath());
  const auto before = folderDigest(folder());

  QProcess child;
  child.start(childProgram(), {QStringLiteral("restore-stop"), target(), data_.diaryPath()});
  ASSERT_TRUE(child.waitForFinished(60000));
  ASSERT_EQ(child.exitCode(), 42) << child.readAllStandardOutput().toStdString();

  EXPECT_EQ(folderDigest(folder()), before);
  EXPECT_EQ(dumpDatabase(data_.diaryPath()), dumpBefore);
  CDaoDatabase db;
  db.Open(data_.diaryPath());
  EXPECT_EQ(countRows(db, QStringLiteral("WDiary")), 0);
  // The killed restore's staging folder is all it left, beside the data.
  for (const QString& name : siblingsOf(folder()))
    EXPECT_TRUE(name == QFileInfo(folder()).fileName() || name.startsWith(u'.')) << name.toStdString();
}

TEST_F(BackupTest, ABackupBesideAWritingProgramIsConsistent) {
  closeData();
  QProcess writer;
  writer.start(childProgram(), {QStringLiteral("write-loop"), data_.diaryPath(), QStringLiteral("4")});
  ASSERT_TRUE(writer.waitForReadyRead(10000));
  ASSERT_EQ(writer.readLine().trimmed(), QByteArray("writing"));
  TempDataFolder elsewhere;
  elsewhere.diary().Close();
  elsewhere.weather().Close();
  int backups = 0;
  while (writer.state() == QProcess::Running && backups < 6) {
    const QString file = target(QStringLiteral("live%1.hv6bak").arg(backups++));
    const BackupResult result = backUp(file);
    ASSERT_EQ(result.message, kDone) << result.detail.toStdString();
    // Restored elsewhere (which checks it) the copy holds whole transactions.
    const RestoreResult restored = restoreBackup(file, {elsewhere.diaryPath(), elsewhere.weatherPath()});
    ASSERT_EQ(restored.message, kDone) << restored.detail.toStdString();
    QDir(restored.safetyCopy).removeRecursively();
    CDaoDatabase copy;
    copy.Open(elsewhere.diaryPath(), false, true);
    QSqlQuery halves = copy.runSql(QStringLiteral(
        "SELECT count(*) FROM (SELECT Quantity FROM WDiary WHERE Quantity >= 1 AND Date = '2024-05-01 00:00:00' "
        "GROUP BY Quantity HAVING count(*) <> 2)"));
    ASSERT_TRUE(halves.next());
    EXPECT_EQ(halves.value(0).toInt(), 0);
  }
  ASSERT_TRUE(writer.waitForFinished(30000));
  EXPECT_EQ(writer.exitCode(), 0) << writer.readAllStandardError().toStdString();
  EXPECT_GE(backups, 2);
}

}  // namespace
}  // namespace hv6test
