#include "tests/platform/dao/dao_test_util.h"

namespace {

using hv6test::DaoTest;
using hv6test::jetErrorOf;

QDateTime at(int y, int m, int d, int h = 0, int mi = 0, int s = 0) {
  return QDateTime(QDate(y, m, d), QTime(h, mi, s));
}

class Recordset : public DaoTest {
 protected:
  void SetUp() override {
    DaoTest::SetUp();
    db.Execute(QStringLiteral("CREATE TABLE Item (Code INTEGER PRIMARY KEY, Name VARCHAR(20) NOT NULL, "
                              "Qty INTEGER, Price CURRENCY, Day DATETIME, Use INTEGER DEFAULT 0)"));
    db.Execute(QStringLiteral("INSERT INTO Item (Code, Name, Qty, Day) VALUES (1, 'apple', 3, '2024-05-01 00:00:00')"));
    db.Execute(QStringLiteral("INSERT INTO Item (Code, Name, Qty, Day) VALUES (2, 'pear', 8, '2024-05-31 00:00:00')"));
    db.Execute(QStringLiteral("INSERT INTO Item (Code, Name, Qty, Day) VALUES (3, 'plum', NULL, NULL)"));
  }

  void open(const char* sql = "SELECT * FROM Item ORDER BY Code", int type = dbOpenDynaset, int options = 0) {
    rs.Open(type, QString::fromUtf8(sql), options);
  }

  long code() const { return rs.GetFieldValue(QStringLiteral("Code")).toLong(); }

  CDaoRecordset rs{&db};
};

// --- navigation ---------------------------------------------------------------------

TEST_F(Recordset, AnEmptySetIsAtBothEnds) {
  open("SELECT * FROM Item WHERE Code > 100");
  EXPECT_TRUE(rs.IsBOF());
  EXPECT_TRUE(rs.IsEOF());
  EXPECT_EQ(rs.GetRecordCount(), 0);
  EXPECT_EQ(rs.GetAbsolutePosition(), -1);
  EXPECT_EQ(jetErrorOf([&] { rs.MoveNext(); }), kJetNoCurrentRecord);
  EXPECT_EQ(jetErrorOf([&] { rs.MovePrev(); }), kJetNoCurrentRecord);
  EXPECT_EQ(jetErrorOf([&] { rs.MoveFirst(); }), kJetNoCurrentRecord);
  EXPECT_EQ(jetErrorOf([&] { rs.MoveLast(); }), kJetNoCurrentRecord);
  EXPECT_EQ(jetErrorOf([&] { rs.GetFieldValue(QStringLiteral("Name")); }), kJetNoCurrentRecord);
  EXPECT_EQ(rs.GetFieldCount(), 6);
}

TEST_F(Recordset, MovesRunBetweenBofAndEof) {
  open();
  EXPECT_EQ(rs.GetRecordCount(), 3);
  EXPECT_FALSE(rs.IsBOF());
  EXPECT_EQ(code(), 1);
  rs.MoveNext();
  rs.MoveNext();
  EXPECT_EQ(code(), 3);
  rs.MoveNext();
  EXPECT_TRUE(rs.IsEOF());
  EXPECT_FALSE(rs.IsBOF());
  EXPECT_EQ(jetErrorOf([&] { rs.MoveNext(); }), kJetNoCurrentRecord);
  EXPECT_EQ(jetErrorOf([&] { rs.GetFieldValue(0); }), kJetNoCurrentRecord);
  rs.MovePrev();
  EXPECT_EQ(code(), 3);
  rs.MoveFirst();
  rs.MovePrev();
  EXPECT_TRUE(rs.IsBOF());
  EXPECT_EQ(jetErrorOf([&] { rs.MovePrev(); }), kJetNoCurrentRecord);
  rs.MoveNext();
  EXPECT_EQ(code(), 1);
  rs.MoveLast();
  EXPECT_EQ(rs.GetAbsolutePosition(), 2);
  rs.SetAbsolutePosition(1);
  EXPECT_EQ(code(), 2);
  EXPECT_EQ(jetErrorOf([&] { rs.SetAbsolutePosition(3); }), kJetInvalidArgument);
}

// --- fields ---------------------------------------------------------------------------

TEST_F(Recordset, FieldsByNameIgnoreCaseAndQualifier) {
  open();
  EXPECT_EQ(rs.fieldName(1), QStringLiteral("Name"));
  EXPECT_EQ(rs.fieldIndex(QStringLiteral("qty")), 2);
  EXPECT_EQ(rs.fieldIndex(QStringLiteral("__rowid__")), -1);
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("NAME")).toString(), QStringLiteral("apple"));
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("Item.Name")).toString(), QStringLiteral("apple"));
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("S.Name")).toString(), QStringLiteral("apple"));
  EXPECT_EQ(rs.GetFieldValue(1).toString(), QStringLiteral("apple"));
  EXPECT_EQ(jetErrorOf([&] { rs.GetFieldValue(QStringLiteral("Nope")); }), kJetNoSuchColumn);
  EXPECT_EQ(jetErrorOf([&] { rs.GetFieldValue(6); }), kJetNoSuchColumn);
  EXPECT_EQ(jetErrorOf([&] { rs.GetFieldValue(-1); }), kJetNoSuchColumn);
}

TEST_F(Recordset, FieldInfoFollowsTheDeclaredTypes) {
  open();
  CDaoFieldInfo info;
  rs.GetFieldInfo(1, info);
  EXPECT_EQ(info.m_nType, dbText);
  EXPECT_EQ(info.m_lSize, 20);
  EXPECT_EQ(info.m_strSourceTable, QStringLiteral("Item"));
  rs.GetFieldInfo(4, info);
  EXPECT_EQ(info.m_nType, dbDate);
}

TEST_F(Recordset, EveryColumnKindSurvivesARoundTrip) {
  db.Execute(QStringLiteral(
      "CREATE TABLE Kinds (Code INTEGER PRIMARY KEY, L INTEGER, I SMALLINT, B TINYINT, D DOUBLE, F FLOAT, "
      "C CURRENCY, T DATETIME, Y BOOLEAN, S VARCHAR(50), M LONGTEXT)"));
  const QString memo = QStringLiteral("作業日誌\n") + QString(3000, QChar(0x3042));
  rs.Open(dbOpenDynaset, QStringLiteral("SELECT * FROM Kinds"));
  for (int row = 0; row < 2; ++row) {
    rs.AddNew();
    if (row == 0) {
      rs.SetFieldValue(QStringLiteral("L"), COleVariant(2000000000L));
      rs.SetFieldValue(QStringLiteral("I"), COleVariant(short{-123}));
      rs.SetFieldValue(QStringLiteral("B"), COleVariant(short{255}, VT_UI1));
      rs.SetFieldValue(QStringLiteral("D"), COleVariant(0.1));
      rs.SetFieldValue(QStringLiteral("F"), COleVariant(2.5));
      rs.SetFieldValue(QStringLiteral("C"), COleVariant(COleCurrency::fromUnits(12345678)));
      rs.SetFieldValue(QStringLiteral("T"), COleVariant(at(2024, 5, 31, 8, 5, 9)));
      rs.SetFieldValue(QStringLiteral("Y"), COleVariant::boolean(true));
      rs.SetFieldValue(QStringLiteral("S"), COleVariant("ほ場 'A'"));
      rs.SetFieldValue(QStringLiteral("M"), COleVariant(memo));
    }
    rs.Update();
  }
  reopen();
  CDaoRecordset back(&db);
  back.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM Kinds ORDER BY Code"));
  const auto value = [&](const char* name) { return back.GetFieldValue(QString::fromLatin1(name)); };
  EXPECT_EQ(value("L"), COleVariant(2000000000L));
  EXPECT_EQ(value("I"), COleVariant(short{-123}));
  EXPECT_EQ(value("B"), COleVariant(short{255}, VT_UI1));
  EXPECT_EQ(value("D"), COleVariant(0.1));
  EXPECT_EQ(value("F"), COleVariant(2.5));
  EXPECT_EQ(value("C"), COleVariant(COleCurrency::fromUnits(12345678)));
  EXPECT_EQ(value("T"), COleVariant(at(2024, 5, 31, 8, 5, 9)));
  EXPECT_EQ(value("Y"), COleVariant::boolean(true));
  EXPECT_EQ(value("S"), COleVariant("ほ場 'A'"));
  EXPECT_EQ(value("M"), COleVariant(memo));
  back.MoveNext();
  for (int i = 1; i < back.GetFieldCount(); ++i) EXPECT_TRUE(back.GetFieldValue(i).isNull()) << i;
}

TEST_F(Recordset, JetIIfChoosesAValueByACondition) {
  open("SELECT Code, IIf(Qty = 3, Name, IIf(Qty > 5, Qty, Null)) AS Pick FROM Item ORDER BY Code",
       dbOpenSnapshot, dbReadOnly);
  EXPECT_EQ(rs.GetFieldValue(1).toString(), QStringLiteral("apple"));
  rs.MoveNext();
  EXPECT_EQ(rs.GetFieldValue(1).toLong(), 8);
  rs.MoveNext();
  EXPECT_TRUE(rs.GetFieldValue(1).isNull());  // Null Qty: neither condition holds
}

TEST_F(Recordset, SetFieldValueConvertsToTheColumnType) {
  open();
  rs.Edit();
  rs.SetFieldValue(QStringLiteral("Qty"), COleVariant(" 12 "));
  rs.SetFieldValue(QStringLiteral("Day"), COleVariant("2024/6/1"));
  rs.SetFieldValue(QStringLiteral("Price"), COleVariant(2.5));
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("Qty")).vt(), VT_I4);
  EXPECT_EQ(jetErrorOf([&] { rs.SetFieldValue(QStringLiteral("Qty"), COleVariant("a lot")); }), kJetConversion);
  EXPECT_EQ(jetErrorOf([&] { rs.SetFieldValue(QStringLiteral("Day"), COleVariant("2024/2/30")); }), kJetConversion);
  rs.Update();
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("Qty")), COleVariant(12L));
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("Day")), COleVariant(at(2024, 6, 1)));
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("Price")).toCurrency().units(), 25000);
  EXPECT_EQ(countOf(QStringLiteral("SELECT * FROM Item WHERE Day = #6/1/2024#")), 1);
}

// --- editing ----------------------------------------------------------------------------

TEST_F(Recordset, AddNewAppendsTheRowWithItsCodeAndDefaults) {
  open();
  rs.MoveNext();
  rs.AddNew();
  EXPECT_TRUE(rs.GetFieldValue(QStringLiteral("Name")).isNull());
  rs.SetFieldValue(QStringLiteral("Name"), COleVariant("quince"));
  rs.Update();
  EXPECT_EQ(rs.GetRecordCount(), 4);
  EXPECT_EQ(code(), 2);  // the position stays
  rs.SetBookmark(rs.GetLastModifiedBookmark());
  EXPECT_EQ(code(), 4);
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("Use")), COleVariant(0L));
  rs.MoveNext();
  EXPECT_TRUE(rs.IsEOF());
  reopen();
  EXPECT_EQ(countOf(QStringLiteral("SELECT * FROM Item WHERE Name = 'quince' AND Code = 4")), 1);
}

TEST_F(Recordset, AddNewOnAnEmptySetStaysAtTheEnd) {
  open("SELECT * FROM Item WHERE Code > 100");
  rs.AddNew();
  rs.SetFieldValue(QStringLiteral("Name"), COleVariant("fig"));
  rs.Update();
  EXPECT_EQ(rs.GetRecordCount(), 1);
  EXPECT_TRUE(rs.IsEOF());
  rs.MoveFirst();
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("Name")).toString(), QStringLiteral("fig"));
}

TEST_F(Recordset, AppendOnlyReadsNoRowsButAppends) {
  open("SELECT * FROM Item", dbOpenDynaset, dbAppendOnly);
  EXPECT_EQ(rs.GetRecordCount(), 0);
  rs.AddNew();
  rs.SetFieldValue(QStringLiteral("Name"), COleVariant("fig"));
  rs.Update();
  EXPECT_EQ(rs.GetRecordCount(), 1);
  EXPECT_EQ(countOf(QStringLiteral("SELECT * FROM Item")), 4);
}

TEST_F(Recordset, EditUpdateWritesAndCancelUpdateDrops) {
  open();
  rs.Edit();
  rs.SetFieldValue(QStringLiteral("Name"), COleVariant("apricot"));
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("Name")).toString(), QStringLiteral("apricot"));
  rs.Update();
  rs.MoveNext();
  rs.Edit();
  rs.SetFieldValue(QStringLiteral("Name"), COleVariant("lost"));
  rs.CancelUpdate();
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("Name")).toString(), QStringLiteral("pear"));
  rs.Edit();
  rs.SetFieldValue(QStringLiteral("Name"), COleVariant("dropped by the move"));
  rs.MoveNext();
  reopen();
  EXPECT_EQ(countOf(QStringLiteral("SELECT * FROM Item WHERE Code = 1 AND Name = 'apricot'")), 1);
  EXPECT_EQ(countOf(QStringLiteral("SELECT * FROM Item WHERE Name IN ('lost', 'dropped by the move')")), 0);
}

TEST_F(Recordset, UpdateNeedsEditOrAddNew) {
  open();
  EXPECT_EQ(jetErrorOf([&] { rs.Update(); }), kJetUpdateWithoutEdit);
  EXPECT_EQ(jetErrorOf([&] { rs.SetFieldValue(QStringLiteral("Name"), COleVariant("x")); }),
            kJetUpdateWithoutEdit);
  rs.Edit();
  rs.Update();
  EXPECT_EQ(jetErrorOf([&] { rs.Update(); }), kJetUpdateWithoutEdit);
}

TEST_F(Recordset, AFailedUpdateKeepsTheEdit) {
  open();
  rs.AddNew();
  rs.SetFieldValue(QStringLiteral("Code"), COleVariant(1));
  rs.SetFieldValue(QStringLiteral("Name"), COleVariant("twin"));
  EXPECT_EQ(jetErrorOf([&] { rs.Update(); }), kJetDuplicateKey);
  rs.SetFieldValueNull(QStringLiteral("Name"));
  rs.SetFieldValue(QStringLiteral("Code"), COleVariant(9));
  EXPECT_EQ(jetErrorOf([&] { rs.Update(); }), kJetNullNotAllowed);
  rs.SetFieldValue(QStringLiteral("Name"), COleVariant("nine"));
  rs.Update();
  EXPECT_EQ(rs.GetRecordCount(), 4);
  EXPECT_EQ(countOf(QStringLiteral("SELECT * FROM Item")), 4);
}

TEST_F(Recordset, DeleteKeepsThePositionUntilTheNextMove) {
  open();
  rs.MoveNext();
  rs.Delete();
  EXPECT_EQ(rs.GetRecordCount(), 2);
  EXPECT_EQ(jetErrorOf([&] { rs.GetFieldValue(QStringLiteral("Name")); }), kJetRecordDeleted);
  EXPECT_EQ(jetErrorOf([&] { rs.Edit(); }), kJetRecordDeleted);
  rs.MoveNext();
  EXPECT_EQ(code(), 3);
  rs.MovePrev();
  EXPECT_EQ(code(), 1);
  rs.MoveLast();
  rs.Delete();
  rs.MoveNext();
  EXPECT_TRUE(rs.IsEOF());
  EXPECT_EQ(rs.GetRecordCount(), 1);
  reopen();
  EXPECT_EQ(countOf(QStringLiteral("SELECT * FROM Item")), 1);
}

TEST_F(Recordset, OnlyPlainSingleTableSetsCanBeUpdated) {
  db.Execute(QStringLiteral("CREATE VIEW Names AS SELECT Code, Name FROM Item"));
  struct Case {
    const char* sql;
    int type;
    int options;
    bool updatable;
  } cases[] = {
      {"SELECT * FROM Item", dbOpenDynaset, 0, true},
      {"SELECT Code, Name FROM Item WHERE Qty > 1", AFX_DAO_USE_DEFAULT_TYPE, 0, true},
      {"Item", dbOpenTable, 0, true},
      {"SELECT * FROM Item", dbOpenSnapshot, 0, false},
      {"SELECT * FROM Item", dbOpenDynaset, dbReadOnly, false},
      {"SELECT DISTINCT Name FROM Item", dbOpenDynaset, 0, false},
      {"SELECT A.Name FROM Item AS A INNER JOIN Item AS B ON A.Code = B.Code", dbOpenDynaset, 0, false},
      {"SELECT Qty, count(*) FROM Item GROUP BY Qty", dbOpenDynaset, 0, false},
      {"SELECT * FROM Names", dbOpenDynaset, 0, false},
  };
  for (const Case& c : cases) {
    CDaoRecordset set(&db);
    set.Open(c.type, QString::fromUtf8(c.sql), c.options);
    EXPECT_EQ(set.CanUpdate(), c.updatable) << c.sql;
    EXPECT_GT(set.GetRecordCount(), 0) << c.sql;
    if (c.updatable) continue;
    EXPECT_EQ(jetErrorOf([&] { set.Edit(); }), kJetReadOnly) << c.sql;
    EXPECT_EQ(jetErrorOf([&] { set.AddNew(); }), kJetReadOnly) << c.sql;
    EXPECT_EQ(jetErrorOf([&] { set.Delete(); }), kJetReadOnly) << c.sql;
  }
}

TEST_F(Recordset, AReadOnlyDatabaseGivesReadOnlySets) {
  db.Close();
  db.Open(dbPath(), false, true);
  open();
  EXPECT_FALSE(rs.CanUpdate());
  EXPECT_EQ(rs.GetRecordCount(), 3);
}

TEST_F(Recordset, OpenErrorsCarryJetNumbers) {
  EXPECT_EQ(jetErrorOf([&] { open("SELECT * FROM Nope"); }), kJetNoSuchTable);
  EXPECT_EQ(jetErrorOf([&] { open("Nope", dbOpenTable); }), kJetNoSuchTable);
  EXPECT_EQ(jetErrorOf([&] { open("SELECT Nope FROM Item"); }), kJetNoSuchColumn);
  EXPECT_EQ(jetErrorOf([&] { open("SELECT FROM Item WHERE"); }), kJetSyntaxError);
  EXPECT_FALSE(rs.IsOpen());
  EXPECT_EQ(jetErrorOf([&] { rs.Open(dbOpenDynaset, QStringLiteral("SELECT * FROM Item WHERE Code = ?")); }),
            kJetTooFewParameters);
}

TEST_F(Recordset, ParametersAreBoundNotSpliced) {
  db.Execute(QStringLiteral("INSERT INTO Item (Name) VALUES (?)"), {COleVariant("it's \"ok\"")});
  rs.Open(dbOpenDynaset, QStringLiteral("SELECT * FROM Item WHERE Name = ? OR Code = ?"),
          {COleVariant("it's \"ok\""), COleVariant(1)});
  EXPECT_EQ(rs.GetRecordCount(), 2);
  EXPECT_TRUE(rs.CanUpdate());
}

// --- finding ------------------------------------------------------------------------------

TEST_F(Recordset, FindWalksTheSetInBothDirections) {
  db.Execute(QStringLiteral("INSERT INTO Item (Code, Name, Qty) VALUES (4, 'Pear', 1)"));
  open();
  EXPECT_TRUE(rs.FindFirst(QStringLiteral("Name = 'PEAR'")));
  EXPECT_EQ(code(), 2);
  EXPECT_TRUE(rs.FindNext(QStringLiteral("Name = 'pear'")));
  EXPECT_EQ(code(), 4);
  EXPECT_FALSE(rs.FindNext(QStringLiteral("Name = 'pear'")));
  EXPECT_EQ(code(), 4);  // no match leaves the position
  EXPECT_TRUE(rs.FindPrev(QStringLiteral("Qty > 2")));
  EXPECT_EQ(code(), 2);
  EXPECT_TRUE(rs.FindLast(QStringLiteral("Qty <= 3")));
  EXPECT_EQ(code(), 4);
  EXPECT_TRUE(rs.FindFirst(QStringLiteral("Code = 3")));
  EXPECT_FALSE(rs.FindFirst(QStringLiteral("Code = 12")));
  EXPECT_EQ(code(), 3);
}

TEST_F(Recordset, FindUnderstandsJetCriteria) {
  open();
  const auto firstMatch = [&](const char* criteria) {
    return rs.FindFirst(QString::fromUtf8(criteria)) ? code() : -1;
  };
  EXPECT_EQ(firstMatch("Qty IS Null"), 3);
  EXPECT_EQ(firstMatch("Qty IS NOT NULL AND Qty > 5"), 2);
  EXPECT_EQ(firstMatch("Qty = 1 OR (Name = 'plum' AND NOT Code <> 3)"), 3);
  EXPECT_EQ(firstMatch("Qty > 100 OR Name = \"pear\""), 2);
  EXPECT_EQ(firstMatch("Day = #5/31/2024#"), 2);
  EXPECT_EQ(firstMatch("Day BETWEEN #2024/5/2# AND #2024/6/1#"), 2);
  EXPECT_EQ(firstMatch("Item.Code IN (7, 3)"), 3);
  EXPECT_EQ(firstMatch("Qty <> 3 AND Code > -1"), 2);
  EXPECT_EQ(firstMatch("Qty >= 8"), 2);
  EXPECT_EQ(firstMatch("NOT (Qty < 100)"), -1);  // Null is unknown, never a match
  EXPECT_EQ(firstMatch("Qty < '5'"), 1);
}

TEST_F(Recordset, BadCriteriaAreErrors) {
  open();
  EXPECT_EQ(jetErrorOf([&] { rs.FindFirst(QStringLiteral("Nope = 1")); }), kJetUnknownName);
  for (const char* criteria : {"Code =", "Code = 1 AND", "(Code = 1", "Code = #13/13/2024#", "Code 1", "",
                               "Code IS 1", "Name = 'open"})
    EXPECT_EQ(jetErrorOf([&] { rs.FindFirst(QString::fromUtf8(criteria)); }), kJetCriteriaSyntax) << criteria;
}

TEST_F(Recordset, FindSkipsADeletedRow) {
  open();
  rs.Delete();
  EXPECT_TRUE(rs.FindNext(QStringLiteral("Code > 0")));
  EXPECT_EQ(code(), 2);
  EXPECT_FALSE(rs.FindFirst(QStringLiteral("Code = 1")));
}

}  // namespace
