#include "tools/newdata.h"

#include "install/settings.h"
#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "store/information.h"
#include "store/schema.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/temp_data_folder.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace {

using hv6::StartKeys;

class NewDataTest : public hv6test::InstalledRegistryTest {
 protected:
  void SetUp() override {
    // As hv6-install leaves a user's settings.
    ASSERT_TRUE(hv6::install::writeDefaultSettings(
        store, {env.path(QStringLiteral("prefix")), env.path(QStringLiteral("program"))}));
    setPaths(env.path(QStringLiteral("old/a.HV6")), env.path(QStringLiteral("old/b.HV6")),
             env.path(QStringLiteral("program")));
    ASSERT_TRUE(QDir().mkpath(place()));
  }
  QString place() const { return env.path(QStringLiteral("farms")); }
  QString setting(const QString& name) {
    QString value;
    registry.readString(StartKeys::kBaseInfo, name, value);
    return value;
  }
};

// A new folder with both databases of this edition and the farm's name,
// the settings pointed at it, and hv6 starts on it.
TEST_F(NewDataTest, MakesAWorkingDataFolderThatTheProgramOpens) {
  const hv6::NewDataOutcome made =
      hv6::makeNewData(store, {place(), QStringLiteral("山田農園データ"), QStringLiteral("山田農園"), {}});
  ASSERT_TRUE(made.ok) << qPrintable(made.error);
  const QDir dir(made.folder);
  EXPECT_EQ(made.folder, QDir(place()).filePath(QStringLiteral("山田農園データ")));
  EXPECT_EQ(setting(StartKeys::kDataPath), dir.filePath(hv6::kDiaryFileName));
  EXPECT_EQ(setting(StartKeys::kWeatherDataPath), dir.filePath(hv6::kWeatherFileName));
  const hv6::InformationRead info = hv6::readInformation(dir.filePath(hv6::kDiaryFileName));
  ASSERT_TRUE(info.ok());
  EXPECT_EQ(info.row.texts.company, QStringLiteral("山田農園"));
  EXPECT_EQ(info.row.dataVersion, hv6::dataVersionOf(hv6::kCurrentEdition));

  QProcess hv6;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  hv6.setProcessEnvironment(environment);
  hv6.start(hv6test::binaryDir() + QStringLiteral("/shell/hv6"), {QStringLiteral("--check-start")});
  ASSERT_TRUE(hv6.waitForFinished(60000));
  const QString out = QString::fromUtf8(hv6.readAllStandardOutput());
  EXPECT_EQ(hv6.exitCode(), 0) << hv6.readAllStandardError().toStdString();
  EXPECT_TRUE(out.contains(QStringLiteral("DataPath=%1 (open)").arg(dir.filePath(hv6::kDiaryFileName))))
      << out.toStdString();
}

// A folder holding data, a missing place or an empty name: a message, the
// data and the settings untouched.
TEST_F(NewDataTest, RefusesWithoutTouchingAnything) {
  hv6test::TempDataFolder existing;
  existing.addDiary(QDate(2026, 5, 1));
  const QByteArray before = [&] {
    QFile file(existing.diaryPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }();
  const QString oldPath = setting(StartKeys::kDataPath);
  QFileInfo folder(existing.folder());
  for (const hv6::NewDataRequest& request :
       {hv6::NewDataRequest{folder.path(), folder.fileName(), QStringLiteral("x"), {}},
        hv6::NewDataRequest{env.path(QStringLiteral("nowhere")), QStringLiteral("d"), {}, {}},
        hv6::NewDataRequest{place(), QStringLiteral("  "), {}, {}},
        hv6::NewDataRequest{place(), QStringLiteral("a/b"), {}, {}},
        hv6::NewDataRequest{place(), QStringLiteral("conv"), {}, env.path(QStringLiteral("none.HV6"))}}) {
    const hv6::NewDataOutcome outcome = hv6::makeNewData(store, request);
    EXPECT_FALSE(outcome.ok) << qPrintable(request.folderName);
    EXPECT_FALSE(outcome.error.isEmpty());
  }
  EXPECT_EQ(setting(StartKeys::kDataPath), oldPath);
  QFile file(existing.diaryPath());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), before);
  EXPECT_TRUE(QDir(place()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

// Converting: the older edition's diary rows and farm-diary files in the
// new folder, the older file left as it was.
TEST_F(NewDataTest, ConvertsAnOlderEditionsDiaryIntoTheNewFolder) {
  hv6test::TempDataFolder older(hv6::SchemaEdition::Previous);
  older.addDiary(QDate(2025, 4, 2));
  older.addDiary(QDate(2025, 4, 3));
  older.diary().Close();
  QFile rtf(QDir(older.folder()).filePath(QStringLiteral("20250402.rtf")));
  ASSERT_TRUE(rtf.open(QIODevice::WriteOnly));
  rtf.write("{\\rtf1 memo}");
  rtf.close();
  ASSERT_FALSE(hv6::isAcceptableDatabase(older.diaryPath()));

  const hv6::NewDataOutcome made =
      hv6::makeNewData(store, {place(), QStringLiteral("converted"), {}, older.diaryPath()});
  ASSERT_TRUE(made.ok) << qPrintable(made.error);
  const QDir dir(made.folder);
  const QString diary = dir.filePath(hv6::kDiaryFileName);
  EXPECT_TRUE(hv6::isAcceptableDatabase(diary));
  EXPECT_FALSE(hv6::isAcceptableDatabase(older.diaryPath()));  // the user's file as it was
  CDaoDatabase db;
  db.Open(diary);
  CDaoRecordset rows(&db);
  rows.Open(dbOpenSnapshot, QStringLiteral("SELECT COUNT(*) AS n FROM WDiary"));
  EXPECT_EQ(rows.GetFieldValue(0).toLong(), 2);
  rows.Close();
  db.Close();
  EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("20250402.rtf"))));
  EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden).size(), 3);  // two databases, one rtf
  EXPECT_EQ(setting(StartKeys::kDataPath), diary);
}

// A file that is no diary database: nothing made, the settings as they were.
TEST_F(NewDataTest, AFailedConversionLeavesNothing) {
  QFile junk(env.path(QStringLiteral("junk.HV6")));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write("not a database at all");
  junk.close();
  const QString oldPath = setting(StartKeys::kDataPath);
  const hv6::NewDataOutcome outcome =
      hv6::makeNewData(store, {place(), QStringLiteral("conv"), {}, junk.fileName()});
  EXPECT_FALSE(outcome.ok);
  EXPECT_FALSE(QFileInfo::exists(QDir(place()).filePath(QStringLiteral("conv"))));
  EXPECT_EQ(setting(StartKeys::kDataPath), oldPath);
}

}  // namespace
