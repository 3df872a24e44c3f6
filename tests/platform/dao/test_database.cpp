#include "tests/platform/dao/dao_test_util.h"

#include <QFile>
#include <QFileInfo>

namespace {

using hv6test::DaoTest;
using hv6test::jetErrorOf;

class Database : public DaoTest {
 protected:
  void SetUp() override {
    DaoTest::SetUp();
    db.Execute(QStringLiteral(
        "CREATE TABLE Item (Code INTEGER PRIMARY KEY, Name VARCHAR(20) NOT NULL, Qty INTEGER)"));
    db.Execute(QStringLiteral("INSERT INTO Item (Code, Name, Qty) VALUES (1, 'apple', 3)"));
    db.Execute(QStringLiteral("INSERT INTO Item (Code, Name, Qty) VALUES (2, 'pear', 5)"));
  }

  long items() { return countOf(QStringLiteral("SELECT * FROM Item")); }
};

TEST_F(Database, OpenNeverCreatesAFile) {
  CDaoDatabase other;
  const QString missing = env.path(QStringLiteral("missing.HV6"));
  EXPECT_EQ(jetErrorOf([&] { other.Open(missing); }), kJetFileNotFound);
  EXPECT_FALSE(QFileInfo::exists(missing));
  EXPECT_EQ(jetErrorOf([&] { other.Open(missing, false, true); }), kJetFileNotFound);
  EXPECT_FALSE(QFileInfo::exists(missing));
  EXPECT_FALSE(other.IsOpen());
}

TEST_F(Database, BadPathsAreInvalid) {
  CDaoDatabase other;
  EXPECT_EQ(jetErrorOf([&] { other.Open(QString()); }), kJetInvalidPath);
  EXPECT_EQ(jetErrorOf([&] { other.Open(env.path(QStringLiteral("nofolder/x.HV6"))); }), kJetInvalidPath);
  EXPECT_EQ(jetErrorOf([&] { other.Open(env.root()); }), kJetInvalidPath);
  EXPECT_EQ(jetErrorOf([&] { other.Create(QString()); }), kJetInvalidPath);
  EXPECT_EQ(jetErrorOf([&] { other.Create(env.path(QStringLiteral("nofolder/x.HV6"))); }), kJetInvalidPath);
}

TEST_F(Database, AFileOfGarbageIsNotADatabase) {
  const QString path = env.path(QStringLiteral("garbage.HV6"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray(8192, 'x'));
  file.close();
  CDaoDatabase other;
  EXPECT_EQ(jetErrorOf([&] { other.Open(path); }), kJetNotADatabase);
  EXPECT_FALSE(other.IsOpen());
  EXPECT_EQ(QFileInfo(path).size(), 8192);
}

TEST_F(Database, CreateWritesAnEmptyDatabaseAndRefusesAnExistingFile) {
  CDaoDatabase other;
  const QString path = env.path(QStringLiteral("new.HV6"));
  other.Create(path);
  EXPECT_TRUE(other.IsOpen());
  EXPECT_EQ(other.GetName(), path);
  EXPECT_GT(QFileInfo(path).size(), 0);
  other.Close();
  EXPECT_FALSE(other.IsOpen());
  EXPECT_EQ(jetErrorOf([&] { other.Create(path); }), kJetDatabaseExists);
  other.Open(path);
  EXPECT_FALSE(other.tableExists(QStringLiteral("Item")));
}

TEST_F(Database, ExecuteKeepsTheRecordsAffected) {
  db.Execute(QStringLiteral("UPDATE Item SET Qty = Qty + 1"));
  EXPECT_EQ(db.GetRecordsAffected(), 2);
  db.Execute(QStringLiteral("DELETE * FROM Item WHERE Code = 2"));
  EXPECT_EQ(db.GetRecordsAffected(), 1);
  EXPECT_EQ(items(), 1);
  reopen();
  EXPECT_EQ(items(), 1);
}

TEST_F(Database, BoundTextWithQuotesIsStoredAsItIs) {
  const QString name = QStringLiteral("O'Brien \"x\"; DROP TABLE Item; --");
  db.Execute(QStringLiteral("INSERT INTO Item (Name, Qty) VALUES (?, ?)"), {COleVariant(name), COleVariant(9)});
  EXPECT_EQ(countOf(QStringLiteral("SELECT * FROM Item WHERE Name = ?"), {COleVariant(name)}), 1);
  EXPECT_EQ(items(), 3);
}

TEST_F(Database, NullZeroAndEmptyTextSurviveARoundTrip) {
  db.Execute(QStringLiteral("CREATE TABLE V (Code INTEGER PRIMARY KEY, N INTEGER, T VARCHAR(10))"));
  const QList<QList<COleVariant>> rows = {
      {COleVariant(1), COleVariant(), COleVariant()},
      {COleVariant(2), COleVariant(0), COleVariant("")},
  };
  for (const auto& row : rows) db.Execute(QStringLiteral("INSERT INTO V VALUES (?, ?, ?)"), row);
  reopen();
  CDaoRecordset rs(&db);
  rs.Open(dbOpenSnapshot, QStringLiteral("SELECT N, T FROM V ORDER BY Code"));
  EXPECT_TRUE(rs.GetFieldValue(0).isNull());
  EXPECT_TRUE(rs.GetFieldValue(1).isNull());
  rs.MoveNext();
  EXPECT_EQ(rs.GetFieldValue(0), COleVariant(0L));
  EXPECT_EQ(rs.GetFieldValue(1), COleVariant(""));
}

TEST_F(Database, StatementErrorsCarryJetNumbers) {
  const auto run = [&](const char* sql) { return jetErrorOf([&] { db.Execute(QString::fromUtf8(sql)); }); };
  EXPECT_EQ(run("DELETE FROM Nope"), kJetNoSuchTable);
  EXPECT_EQ(run("UPDATE Item SET Nope = 1"), kJetNoSuchColumn);
  EXPECT_EQ(run("INSERT INTO Item (Code, Name) VALUES (1, 'dup')"), kJetDuplicateKey);
  EXPECT_EQ(run("INSERT INTO Item (Qty) VALUES (1)"), kJetNullNotAllowed);
  EXPECT_EQ(run("UPDATE Item SET WHERE"), kJetSyntaxError);
  EXPECT_EQ(run("CREATE TABLE Item (x INTEGER)"), kJetTableExists);
  EXPECT_EQ(run("SELECT * FROM Item"), kJetCannotExecuteSelect);
  EXPECT_EQ(jetErrorOf([&] { db.Execute(QStringLiteral("UPDATE Item SET Qty = ?")); }), kJetTooFewParameters);
  EXPECT_EQ(jetErrorOf([&] {
              db.Execute(QStringLiteral("UPDATE Item SET Qty = ? WHERE Code = ?"), {COleVariant(1)});
            }),
            kJetTooFewParameters);
  // Failures throw with or without dbFailOnError: nothing is half applied.
  EXPECT_EQ(jetErrorOf([&] { db.Execute(QStringLiteral("INSERT INTO Item (Code, Name) VALUES (1, 'x')"), 0); }),
            kJetDuplicateKey);
  EXPECT_EQ(items(), 2);
}

TEST_F(Database, AClosedDatabaseRefusesWork) {
  db.Close();
  EXPECT_EQ(jetErrorOf([&] { db.Execute(QStringLiteral("DELETE FROM Item")); }), kJetNotOpen);
  CDaoRecordset rs(&db);
  EXPECT_EQ(jetErrorOf([&] { rs.Open(dbOpenDynaset, QStringLiteral("SELECT * FROM Item")); }), kJetNotOpen);
  EXPECT_FALSE(db.tableExists(QStringLiteral("Item")));
}

TEST_F(Database, TableExistsIgnoresCase) {
  EXPECT_TRUE(db.tableExists(QStringLiteral("item")));
  EXPECT_FALSE(db.tableExists(QStringLiteral("Items")));
  EXPECT_FALSE(db.tableExists(QStringLiteral("Item' OR '1'='1")));
}

TEST_F(Database, ReadOnlyOpenRefusesWrites) {
  db.Close();
  db.Open(dbPath(), false, true);
  EXPECT_EQ(jetErrorOf([&] { db.Execute(QStringLiteral("DELETE FROM Item")); }), kJetReadOnly);
  EXPECT_EQ(items(), 2);
}

TEST_F(Database, ABusyDatabaseReportsLocked) {
  CDaoDatabase other;
  other.setBusyTimeout(0);
  other.Open(dbPath());
  db.m_pWorkspace->BeginTrans();
  db.Execute(QStringLiteral("DELETE FROM Item WHERE Code = 1"));
  EXPECT_EQ(jetErrorOf([&] { other.Execute(QStringLiteral("DELETE FROM Item WHERE Code = 2")); }), kJetLocked);
  EXPECT_EQ(jetErrorOf([&] { other.m_pWorkspace->BeginTrans(); }), kJetLocked);
  EXPECT_FALSE(other.m_pWorkspace->InTransaction());
  db.m_pWorkspace->Rollback();
  other.Execute(QStringLiteral("DELETE FROM Item WHERE Code = 2"));
  EXPECT_EQ(items(), 1);
}

TEST_F(Database, ExclusiveOpenKeepsOthersOut) {
  db.Close();
  db.Open(dbPath(), true);
  CDaoDatabase other;
  other.setBusyTimeout(0);
  EXPECT_EQ(jetErrorOf([&] { other.Open(dbPath()); }), kJetFileInUse);
  EXPECT_FALSE(other.IsOpen());
  db.Close();
  other.Open(dbPath());
  EXPECT_TRUE(other.IsOpen());
}

TEST_F(Database, DiskFullKeepsTheRowsStoredBefore) {
  db.Execute(QStringLiteral("CREATE TABLE Big (Code INTEGER PRIMARY KEY, Memo LONGTEXT)"));
  QSqlQuery pages = db.runSql(QStringLiteral("PRAGMA page_count"));
  ASSERT_TRUE(pages.next());
  db.Execute(QStringLiteral("PRAGMA max_page_count = %1").arg(pages.value(0).toLongLong() + 3));
  const COleVariant memo(QString(1500, QLatin1Char('z')));
  long stored = 0;
  long error = 0;
  for (int i = 0; i < 50 && error == 0; ++i) {
    error = jetErrorOf([&] { db.Execute(QStringLiteral("INSERT INTO Big (Memo) VALUES (?)"), {memo}); });
    if (error == 0) ++stored;
  }
  EXPECT_EQ(error, kJetDiskFull);
  EXPECT_GT(stored, 0);
  reopen();
  EXPECT_EQ(countOf(QStringLiteral("SELECT * FROM Big")), stored);
  EXPECT_EQ(items(), 2);
}

// --- transactions ----------------------------------------------------------------------

TEST_F(Database, RollbackLeavesTheRowsAsTheyWere) {
  CDaoWorkspace& ws = *db.m_pWorkspace;
  ws.BeginTrans();
  EXPECT_TRUE(ws.InTransaction());
  db.Execute(QStringLiteral("DELETE FROM Item"));
  db.Execute(QStringLiteral("INSERT INTO Item (Name) VALUES ('plum')"));
  EXPECT_EQ(countOf(QStringLiteral("SELECT * FROM Item WHERE Name = 'plum'")), 1);
  ws.Rollback();
  EXPECT_FALSE(ws.InTransaction());
  reopen();
  EXPECT_EQ(countOf(QStringLiteral("SELECT * FROM Item WHERE Name IN ('apple', 'pear')")), 2);
  EXPECT_EQ(items(), 2);
}

TEST_F(Database, CommitWritesAndNestedRollbackUndoesOnlyItsPart) {
  CDaoWorkspace& ws = *db.m_pWorkspace;
  ws.BeginTrans();
  db.Execute(QStringLiteral("INSERT INTO Item (Name) VALUES ('outer')"));
  ws.BeginTrans();
  db.Execute(QStringLiteral("INSERT INTO Item (Name) VALUES ('inner')"));
  ws.Rollback();
  EXPECT_TRUE(ws.InTransaction());
  ws.BeginTrans();
  db.Execute(QStringLiteral("INSERT INTO Item (Name) VALUES ('kept')"));
  ws.CommitTrans();
  ws.CommitTrans();
  EXPECT_FALSE(ws.InTransaction());
  reopen();
  EXPECT_EQ(countOf(QStringLiteral("SELECT * FROM Item WHERE Name IN ('outer', 'kept')")), 2);
  EXPECT_EQ(countOf(QStringLiteral("SELECT * FROM Item WHERE Name = 'inner'")), 0);
}

TEST_F(Database, CommitOrRollbackWithoutATransactionFails) {
  EXPECT_EQ(jetErrorOf([&] { db.m_pWorkspace->CommitTrans(); }), kJetNoTransaction);
  EXPECT_EQ(jetErrorOf([&] { db.m_pWorkspace->Rollback(); }), kJetNoTransaction);
}

TEST_F(Database, DaoTransactionRollsBackUnlessCommitted) {
  {
    DaoTransaction transaction(db);
    db.Execute(QStringLiteral("DELETE FROM Item"));
  }
  EXPECT_FALSE(db.m_pWorkspace->InTransaction());
  EXPECT_EQ(items(), 2);
  {
    DaoTransaction transaction(db);
    db.Execute(QStringLiteral("DELETE FROM Item WHERE Code = 1"));
    transaction.commit();
  }
  reopen();
  EXPECT_EQ(items(), 1);
}

TEST_F(Database, DaoTransactionRollsBackWhenAnErrorLeavesTheScope) {
  const long error = jetErrorOf([&] {
    DaoTransaction transaction(db);
    db.Execute(QStringLiteral("INSERT INTO Item (Name) VALUES ('first')"));
    db.Execute(QStringLiteral("INSERT INTO Item (Code, Name) VALUES (1, 'duplicate')"));
    transaction.commit();
  });
  EXPECT_EQ(error, kJetDuplicateKey);
  EXPECT_EQ(countOf(QStringLiteral("SELECT * FROM Item WHERE Name = 'first'")), 0);
}

TEST_F(Database, ARolledBackSchemaChangeIsForgotten) {
  auto qtyType = [&] {
    CDaoRecordset rs(&db);
    rs.Open(dbOpenSnapshot, QStringLiteral("SELECT Qty FROM Item"));
    return rs.GetFieldValue(0).vt();
  };
  ASSERT_EQ(qtyType(), VT_I4);
  {
    DaoTransaction transaction(db);
    db.Execute(QStringLiteral("DROP TABLE Item"));
    db.Execute(QStringLiteral(
        "CREATE TABLE Item (Code INTEGER PRIMARY KEY, Name VARCHAR(20), Qty BOOLEAN)"));
    db.Execute(QStringLiteral("INSERT INTO Item (Code, Name, Qty) VALUES (1, 'apple', 1)"));
    ASSERT_EQ(qtyType(), VT_BOOL);
  }
  // The table is back as it was, and so is the type its values read as.
  EXPECT_EQ(qtyType(), VT_I4);

  db.m_pWorkspace->BeginTrans();
  db.m_pWorkspace->BeginTrans();
  db.Execute(QStringLiteral("ALTER TABLE Item ADD COLUMN Done BOOLEAN"));
  db.Execute(QStringLiteral("UPDATE Item SET Done = 1"));
  db.m_pWorkspace->Rollback();
  db.Execute(QStringLiteral("ALTER TABLE Item ADD COLUMN Done INTEGER"));
  db.Execute(QStringLiteral("UPDATE Item SET Done = 1"));
  db.m_pWorkspace->CommitTrans();
  CDaoRecordset rs(&db);
  rs.Open(dbOpenSnapshot, QStringLiteral("SELECT Done FROM Item"));
  EXPECT_EQ(rs.GetFieldValue(0).vt(), VT_I4);
}

TEST_F(Database, ATransactionSqliteDroppedIsNoLongerHeld) {
  CDaoWorkspace& ws = *db.m_pWorkspace;
  EXPECT_FALSE(ws.TransactionHeld());
  ws.BeginTrans();
  ws.BeginTrans();
  db.Execute(QStringLiteral("DELETE FROM Item WHERE Code = 1"));
  EXPECT_TRUE(ws.TransactionHeld());
  EXPECT_EQ(ws.depth(), 2);
  // What SQLite does by itself after some failures.
  db.runSql(QStringLiteral("ROLLBACK"));
  EXPECT_FALSE(ws.TransactionHeld());
  EXPECT_FALSE(ws.InTransaction());
  // The probe left no transaction behind: a later one begins and commits.
  ws.BeginTrans();
  db.Execute(QStringLiteral("DELETE FROM Item WHERE Code = 2"));
  ws.CommitTrans();
  reopen();
  EXPECT_EQ(items(), 1);
}

TEST_F(Database, ClosingRollsBackAnOpenTransaction) {
  db.m_pWorkspace->BeginTrans();
  db.Execute(QStringLiteral("DELETE FROM Item"));
  db.Close();
  EXPECT_FALSE(db.m_pWorkspace->InTransaction());
  db.Open(dbPath());
  EXPECT_EQ(items(), 2);
}

// The codes the tests above cannot provoke on a real file.
TEST(SqliteErrors, MapToJetNumbers) {
  EXPECT_EQ(jetErrorFromSqlite(19, QStringLiteral("CHECK constraint failed")), kJetOther);
  EXPECT_EQ(jetErrorFromSqlite(6, QStringLiteral("database table is locked")), kJetLocked);
  EXPECT_EQ(jetErrorFromSqlite(14, QStringLiteral("unable to open database file")), kJetFileNotFound);
  EXPECT_EQ(jetErrorFromSqlite(522, QStringLiteral("disk I/O error")), kJetDiskIo);
  EXPECT_EQ(jetErrorFromSqlite(11, QStringLiteral("database disk image is malformed")), kJetNotADatabase);
}

}  // namespace
