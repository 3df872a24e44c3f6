#include "outside/dataconv6/dataconv.h"

#include "outside/dataconv6/backup.h"
#include "outside/errtext6/errmsg.h"
#include "platform/dao/dao.h"
#include "platform/file_io.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

using hv6::SchemaEdition;
using hv6test::TempDataFolder;

using Row = QMap<QString, QVariant>;
using Tables = QMap<QString, QList<Row>>;

// Every row of every table, with the raw stored values.
Tables readAll(const QString& path) {
  CDaoDatabase db;
  db.Open(path, false, true);
  Tables tables;
  QSqlQuery names(db.connection());
  names.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
  while (names.next()) {
    const QString table = names.value(0).toString();
    QSqlQuery rows(db.connection());
    rows.exec(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table));
    QList<Row>& list = tables[table];
    while (rows.next()) {
      Row row;
      const QSqlRecord record = rows.record();
      for (int i = 0; i < record.count(); ++i) row.insert(record.fieldName(i), record.value(i));
      list.append(row);
    }
  }
  return tables;
}

// Every table, row and value of before is still in after (new columns and
// tables aside, and the data version, which the conversion raises).
void expectEveryRowKept(const Tables& before, const Tables& after) {
  const QString version = QStringLiteral("Dataversion");
  for (auto table = before.begin(); table != before.end(); ++table) {
    ASSERT_TRUE(after.contains(table.key())) << table.key().toStdString();
    const QList<Row>& rows = after[table.key()];
    ASSERT_EQ(rows.size(), table->size()) << table.key().toStdString();
    for (qsizetype i = 0; i < rows.size(); ++i) {
      const Row& old = table->at(i);
      for (auto value = old.begin(); value != old.end(); ++value) {
        if (value.key() == version) continue;
        EXPECT_TRUE(rows[i].value(value.key()) == *value)
            << table.key().toStdString() << " row " << i << " " << value.key().toStdString()
            << ": " << value->toString().toStdString();
      }
    }
  }
}

COleVariant scalar(const QString& path, const QString& sql) {
  CDaoDatabase db;
  db.Open(path, false, true);
  CDaoRecordset rs(&db);
  rs.Open(dbOpenSnapshot, sql);
  return rs.IsEOF() ? COleVariant() : rs.GetFieldValue(0);
}

QByteArray bytesOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList filesIn(const QString& folder) {
  return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QString version(const QString& path) {
  return scalar(path, QStringLiteral("SELECT Dataversion FROM Information")).toString();
}

// A farm's data of the previous edition: masters, diary, plan, identity.
void fillFarm(TempDataFolder& data) {
  CDaoDatabase& db = data.diary();
  db.Execute(QStringLiteral("UPDATE Information SET Company = ?, President = ?, TelNo = ?, "
                            "LastBackup = ?, Mte1Name = ?, ReserveItem2Name = ?"),
             {COleVariant("山田農園"), COleVariant("山田 太郎"), COleVariant("0123-45-6789"),
              COleVariant(20230315L), COleVariant("農薬"), COleVariant("天候")});
  const long crop = data.addMaster(QStringLiteral("CropMst"), 1, QStringLiteral("水稲"));
  const long job = data.addMaster(QStringLiteral("JobMst"), 10, QStringLiteral("田植え"));
  const long field = data.addMaster(QStringLiteral("FieldMst"), 3, QStringLiteral("東の田"));
  const long farmer = data.addMaster(QStringLiteral("FarmerMst"), 1, QStringLiteral("花子"), 1);
  const long pesticide = data.addMaster(QStringLiteral("MaterialMst1"), 7, QStringLiteral("殺虫剤A"));
  db.Execute(QStringLiteral("UPDATE FieldMst SET SakuArea = 12.5, CropCode = ?"), {COleVariant(crop)});
  data.addDiary(QDate(2023, 5, 20),
                {{QStringLiteral("CropCode"), COleVariant(crop)},
                 {QStringLiteral("JobCode"), COleVariant(job)},
                 {QStringLiteral("FieldCode"), COleVariant(field)},
                 {QStringLiteral("FarmerCode"), COleVariant(farmer)},
                 {QStringLiteral("WorkStartTime"), COleVariant(805L)},
                 {QStringLiteral("WorkFactTime"), COleVariant(230L)},
                 {QStringLiteral("Kind"), COleVariant(short{1}, VT_UI1)},
                 {QStringLiteral("Mte1Code"), COleVariant(pesticide)},
                 {QStringLiteral("Quantity"), COleVariant(1.25)},
                 {QStringLiteral("Dilute"), COleVariant("1000倍")}});
  data.addDiary(QDate(2023, 5, 21), {{QStringLiteral("JobCode"), COleVariant(job)}});
  data.addDiary(QDate());
  TempDataFolder::insertRow(db, QStringLiteral("YearBook1"),
                            {{QStringLiteral("Date"), COleVariant(20230520L)},
                             {QStringLiteral("JobCode"), COleVariant(job)}});
  db.Execute(QStringLiteral("UPDATE IWDryOption SET Work = 1, Field = 1 WHERE Code = 1"));
}

class DataConvTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env_;
  hv6test::MessageRecorder recorder_;
  CV6XDataConv conv_;
};

TEST_F(DataConvTest, PreviousEditionBecomesCurrentWithEveryRowKept) {
  TempDataFolder data(SchemaEdition::Previous);
  fillFarm(data);
  const Tables before = readAll(data.diaryPath());

  // The program holds the database open while it converts at start.
  ASSERT_TRUE(conv_.ConvV6toV6X(data.diaryPath()));

  EXPECT_EQ(version(data.diaryPath()), hv6::kDataVersion60501);
  const Tables after = readAll(data.diaryPath());
  expectEveryRowKept(before, after);
  EXPECT_TRUE(after[QStringLiteral("Information")][0].contains(QStringLiteral("GroupName")));
  const Row options = after[QStringLiteral("IWDryOption")][0];
  for (const QString& column : hv6::iwDryUpgradeColumns())
    EXPECT_EQ(options.value(column).toInt(), 0) << column.toStdString();
  EXPECT_EQ(options.value(QStringLiteral("Work")).toInt(), 1);
  // Every column of the current schema, as the still open connection sees it.
  for (const hv6::TableSpec& table : hv6::diaryTables()) {
    const QStringList present = hv6test::columnsOf(data.diary(), table.name);
    for (const hv6::ColumnSpec& column : table.columns)
      EXPECT_TRUE(present.contains(column.name))
          << table.name.toStdString() << "." << column.name.toStdString();
  }
  EXPECT_TRUE(recorder_.empty());

  // A second run finds nothing to do and writes nothing.
  const QByteArray converted = bytesOf(data.diaryPath());
  const QStringList files = filesIn(data.folder());
  ASSERT_TRUE(conv_.ConvV6toV6X(data.diaryPath()));
  EXPECT_EQ(bytesOf(data.diaryPath()), converted);
  EXPECT_EQ(filesIn(data.folder()), files);
}

TEST_F(DataConvTest, ConversionLeavesADatedCopyOfTheOldFile) {
  TempDataFolder data(SchemaEdition::Previous);
  fillFarm(data);
  const Tables before = readAll(data.diaryPath());
  const QString copy = hv6::dataconv::backupPathFor(data.diaryPath(), QDate::currentDate());

  ASSERT_TRUE(conv_.ConvV6toV6X(data.diaryPath()));

  ASSERT_TRUE(QFile::exists(copy));
  EXPECT_EQ(readAll(copy), before);
  EXPECT_TRUE(copy.endsWith(QDate::currentDate().toString(QStringLiteral("'.bak-'yyyyMMdd"))));
}

TEST_F(DataConvTest, Edition60500GetsTheSixMobileColumns) {
  TempDataFolder data(SchemaEdition::V60500);
  data.diary().Execute(QStringLiteral("UPDATE Information SET GroupName = ?"), {COleVariant("JA北")});
  data.diary().Execute(QStringLiteral("UPDATE IWDryOption SET Shizai = 1"));
  const Tables before = readAll(data.diaryPath());

  ASSERT_TRUE(conv_.ConvV6toV6X(data.diaryPath()));

  expectEveryRowKept(before, readAll(data.diaryPath()));
  const QStringList columns = hv6test::columnsOf(data.diary(), QStringLiteral("IWDryOption"));
  EXPECT_EQ(columns.mid(columns.size() - 6), hv6::iwDryUpgradeColumns());
  EXPECT_EQ(version(data.diaryPath()), hv6::kDataVersion60501);
}

TEST_F(DataConvTest, NullVersionAndMissingTablesAndRowsAreMadeUp) {
  TempDataFolder data;
  CDaoDatabase& db = data.diary();
  db.Execute(QStringLiteral("UPDATE Information SET Dataversion = NULL"));
  db.Execute(QStringLiteral("DROP TABLE PictureLink"));
  db.Execute(QStringLiteral("DELETE FROM IWDryOption"));

  ASSERT_TRUE(conv_.ConvV6toV6X(data.diaryPath()));

  EXPECT_EQ(version(data.diaryPath()), hv6::kDataVersion60501);
  EXPECT_TRUE(db.isTable(QStringLiteral("PictureLink")));
  EXPECT_EQ(scalar(data.diaryPath(), QStringLiteral("SELECT count(*) FROM sqlite_master WHERE "
                                                    "name = 'PictureLink_PhotoDate'"))
                .toLong(),
            1);
  EXPECT_EQ(scalar(data.diaryPath(), QStringLiteral("SELECT Crop + Day FROM IWDryOption WHERE Code = 1"))
                .toLong(),
            2);
}

TEST_F(DataConvTest, EmptyInformationGetsItsRow) {
  TempDataFolder data(SchemaEdition::Previous);
  data.diary().Execute(QStringLiteral("DELETE FROM Information"));
  ASSERT_TRUE(conv_.ConvV6toV6X(data.diaryPath()));
  EXPECT_EQ(scalar(data.diaryPath(), QStringLiteral("SELECT count(*) FROM Information")).toLong(), 1);
  EXPECT_EQ(version(data.diaryPath()), hv6::kDataVersion60501);
}

TEST_F(DataConvTest, CurrentOrNewerDatabaseIsNotWrittenTo) {
  for (const char* stored : {"6.05.01", "6.10.00"}) {
    TempDataFolder data;
    data.diary().Execute(QStringLiteral("UPDATE Information SET Dataversion = ?"), {COleVariant(stored)});
    data.diary().Close();
    const auto stamp = hv6::fileio::statFile(data.diaryPath()).stamp;
    const QByteArray bytes = bytesOf(data.diaryPath());
    const QStringList files = filesIn(data.folder());

    EXPECT_TRUE(conv_.ConvV6toV6X(data.diaryPath(), nullptr)) << stored;
    QWidget sheet;
    EXPECT_TRUE(conv_.ConvV6toV6X(data.diaryPath(), &sheet)) << stored;

    EXPECT_EQ(hv6::fileio::statFile(data.diaryPath()).stamp, stamp) << stored;
    EXPECT_EQ(bytesOf(data.diaryPath()), bytes) << stored;
    EXPECT_EQ(filesIn(data.folder()), files) << stored;
    EXPECT_EQ(version(data.diaryPath()), QString::fromLatin1(stored));
  }
  EXPECT_TRUE(recorder_.empty());
}

// Files that cannot be converted: false, nothing written, a message only
// when there is a parent window.
TEST_F(DataConvTest, FilesThatAreNoDiaryDatabaseAreLeftAlone) {
  QDir folder(env_.path(QStringLiteral("data")));
  ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
  const QString garbage = folder.filePath(QStringLiteral("garbage.HV6"));
  const QString other = folder.filePath(QStringLiteral("other.HV6"));
  const QString missing = folder.filePath(QStringLiteral("missing.HV6"));
  {
    QFile file(garbage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("Standard Jet DB, or so it claims\n").repeated(200));
  }
  {
    CDaoDatabase db;
    db.Create(other);
    db.Execute(QStringLiteral("CREATE TABLE Notes (Code INTEGER PRIMARY KEY, Text VARCHAR(255))"));
  }
  const QByteArray garbageBytes = bytesOf(garbage);
  const QByteArray otherBytes = bytesOf(other);
  const QStringList files = filesIn(folder.path());

  EXPECT_FALSE(conv_.ConvV6toV6X(garbage));
  EXPECT_FALSE(conv_.ConvV6toV6X(other));
  EXPECT_FALSE(conv_.ConvV6toV6X(missing));
  EXPECT_FALSE(conv_.ConvV6toV6X(QString()));
  EXPECT_TRUE(recorder_.empty());

  QWidget sheet;
  EXPECT_FALSE(conv_.ConvV6toV6X(garbage, &sheet));
  EXPECT_FALSE(conv_.ConvV6toV6X(other, &sheet));
  EXPECT_FALSE(conv_.ConvV6toV6X(missing, &sheet));
  EXPECT_EQ(recorder_.numbers(), (QList<long>{kJetNotADatabase, kJetNotADatabase, kJetFileNotFound}));
  for (const hv6::MessageRequest& message : recorder_.messages()) {
    EXPECT_EQ(message.kind, CErrMsg::kDaoErrKind);
    EXPECT_EQ(message.parent, &sheet);
  }

  EXPECT_EQ(bytesOf(garbage), garbageBytes);
  EXPECT_EQ(bytesOf(other), otherBytes);
  EXPECT_EQ(filesIn(folder.path()), files);
}

// A statement that fails after the tables and columns were added: all of
// it is undone and no copy is left over.
TEST_F(DataConvTest, FailureHalfWayLeavesTheFileByteIdentical) {
  TempDataFolder data(SchemaEdition::Previous);
  fillFarm(data);
  CDaoDatabase& db = data.diary();
  db.Execute(QStringLiteral("DROP TABLE Slip"));
  db.Execute(QStringLiteral("DELETE FROM IWDryOption"));
  db.Execute(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON IWDryOption "
                            "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
  db.Close();
  const QByteArray bytes = bytesOf(data.diaryPath());
  const QStringList files = filesIn(data.folder());

  QWidget sheet;
  EXPECT_FALSE(conv_.ConvV6toV6X(data.diaryPath(), &sheet));

  EXPECT_EQ(bytesOf(data.diaryPath()), bytes);
  EXPECT_EQ(filesIn(data.folder()), files);
  ASSERT_EQ(recorder_.messages().size(), 1);
  EXPECT_EQ(recorder_.messages()[0].kind, CErrMsg::kDaoErrKind);
}

TEST_F(DataConvTest, ReadOnlyFileIsLeftAsItWas) {
  TempDataFolder data(SchemaEdition::Previous);
  data.diary().Close();
  QFile file(data.diaryPath());
  ASSERT_TRUE(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup));
  if (QFile(data.diaryPath()).open(QIODevice::ReadWrite))
    GTEST_SKIP() << "this account writes to read-only files";
  const QByteArray bytes = bytesOf(data.diaryPath());
  const QStringList files = filesIn(data.folder());

  EXPECT_FALSE(conv_.ConvV6toV6X(data.diaryPath()));

  EXPECT_EQ(bytesOf(data.diaryPath()), bytes);
  EXPECT_EQ(filesIn(data.folder()), files);
}

TEST(BackupPathTest, EarlierCopiesOfTheDayAreNeverReplaced) {
  hv6test::TestEnvironment env;
  const QString path = env.path(QStringLiteral("作業日誌データ.HV6"));
  const QDate day(2024, 6, 1);
  EXPECT_EQ(hv6::dataconv::backupPathFor(path, day), path + QStringLiteral(".bak-20240601"));
  for (const char* taken : {".bak-20240601", ".bak-20240601-2"}) {
    QFile file(path + QString::fromLatin1(taken));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  EXPECT_EQ(hv6::dataconv::backupPathFor(path, day), path + QStringLiteral(".bak-20240601-3"));
}

}  // namespace
