// Query definitions: one prepared statement run again with other values.
#include "tests/platform/dao/dao_test_util.h"

namespace {

using hv6test::DaoTest;
using hv6test::jetErrorOf;

class QueryDef : public DaoTest {
 protected:
  void SetUp() override {
    DaoTest::SetUp();
    db.Execute(QStringLiteral("CREATE TABLE Item (Code INTEGER PRIMARY KEY, Name VARCHAR(20) NOT NULL, "
                              "Qty INTEGER, Price CURRENCY, Day DATETIME)"));
  }

  // Every row as "Name|Qty|Price|Day" in Code order; Null as "-".
  QStringList rows() {
    CDaoRecordset rs(&db);
    rs.Open(dbOpenSnapshot, QStringLiteral("SELECT Name, Qty, Price, Day FROM Item ORDER BY Code"));
    QStringList out;
    for (; !rs.IsEOF(); rs.MoveNext()) {
      QStringList cells;
      for (int i = 0; i < 4; ++i) {
        const COleVariant value = rs.GetFieldValue(i);
        cells.append(value.isNull() ? QStringLiteral("-") : value.toString());
      }
      out.append(cells.join(QLatin1Char('|')));
    }
    return out;
  }
};

TEST_F(QueryDef, RunsAgainWithTheValuesChangedAndKeepsTheOthers) {
  CDaoQueryDef insert(&db);
  insert.Create(QString(),
                QStringLiteral("INSERT INTO Item (Name, Qty, Price, Day) VALUES (?, ?, ?, ?)"));
  ASSERT_EQ(insert.GetParameterCount(), 4);
  insert.SetParamValue(0, COleVariant("apple"));
  insert.SetParamValue(1, COleVariant(5L));
  insert.SetParamValue(2, COleVariant(COleCurrency::fromDouble(1.23456)));
  insert.SetParamValue(3, COleVariant(QDateTime(QDate(2024, 5, 1), QTime(0, 0))));
  insert.Execute();
  EXPECT_EQ(insert.GetRecordsAffected(), 1);
  insert.SetParamValue(1, COleVariant());
  insert.Execute();
  insert.SetParamValue(1, COleVariant(5L));  // back to the value of the first run
  insert.SetParamValue(0, COleVariant("pear"));
  insert.Execute();
  insert.SetParamValue(0, COleVariant("x'); DROP TABLE Item; --"));
  insert.SetParamValue(3, COleVariant());
  insert.Execute();
  EXPECT_EQ(rows(), (QStringList{"apple|5|1.2346|2024/05/01", "apple|-|1.2346|2024/05/01",
                                 "pear|5|1.2346|2024/05/01",
                                 "x'); DROP TABLE Item; --|5|1.2346|-"}));
  EXPECT_EQ(insert.GetParamValue(0).toString(), "x'); DROP TABLE Item; --");
}

TEST_F(QueryDef, ASelectOpensAReadOnlySetWithTheCurrentValues) {
  for (const char* name : {"apple", "pear", "plum"})
    db.Execute(QStringLiteral("INSERT INTO Item (Name, Qty) VALUES (?, 1)"), {COleVariant(name)});
  CDaoQueryDef select(&db);
  select.Create(QString(), QStringLiteral("SELECT Code, Name FROM Item WHERE Name = ? OR Qty IS ?"));
  select.SetParamValue(0, COleVariant("pear"));
  CDaoRecordset rs(&db);
  rs.Open(&select, dbOpenSnapshot);
  ASSERT_EQ(rs.GetRecordCount(), 1);
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("Name")).toString(), "pear");
  EXPECT_FALSE(rs.CanUpdate());
  EXPECT_EQ(jetErrorOf([&] { rs.AddNew(); }), kJetReadOnly);

  select.SetParamValue(0, COleVariant("none"));
  rs.Open(&select, dbOpenDynaset);
  EXPECT_TRUE(rs.IsEOF());
  select.SetParamValue(1, COleVariant(1L));
  rs.Open(&select, dbOpenDynaset);
  EXPECT_EQ(rs.GetRecordCount(), 3);
  // A set still open does not keep the table from being written.
  db.Execute(QStringLiteral("DELETE FROM Item WHERE Name = 'plum'"));
  rs.Open(&select, dbOpenSnapshot);
  EXPECT_EQ(rs.GetRecordCount(), 2);
}

TEST_F(QueryDef, MisuseAndFailuresThrowJetNumbersAndTheStatementStaysUsable) {
  CDaoQueryDef query(&db);
  EXPECT_EQ(jetErrorOf([&] { query.Create(QStringLiteral("Stored"), QStringLiteral("SELECT * FROM Item")); }),
            kJetInvalidArgument);
  EXPECT_EQ(jetErrorOf([&] { query.Create(QString(), QStringLiteral("SELECT * FROM Missing")); }),
            kJetNoSuchTable);
  EXPECT_FALSE(query.IsOpen());
  EXPECT_EQ(jetErrorOf([&] { query.Execute(); }), kJetNotOpen);

  query.Create(QString(), QStringLiteral("SELECT * FROM Item"));
  EXPECT_EQ(jetErrorOf([&] { query.Execute(); }), kJetCannotExecuteSelect);
  EXPECT_EQ(jetErrorOf([&] { query.SetParamValue(0, COleVariant(1L)); }), kJetNoSuchColumn);

  CDaoQueryDef insert(&db);
  insert.Create(QString(), QStringLiteral("INSERT INTO Item (Name, Qty) VALUES (?, ?)"));
  EXPECT_EQ(jetErrorOf([&] { insert.SetParamValue(2, COleVariant(1L)); }), kJetNoSuchColumn);
  EXPECT_EQ(jetErrorOf([&] { insert.SetParamValue(-1, COleVariant(1L)); }), kJetNoSuchColumn);
  insert.SetParamValue(1, COleVariant(7L));
  EXPECT_EQ(jetErrorOf([&] { insert.Execute(); }), kJetNullNotAllowed);
  insert.SetParamValue(0, COleVariant("fig"));
  insert.Execute();
  EXPECT_EQ(rows(), QStringList{"fig|7|-|-"});

  db.Close();
  EXPECT_EQ(jetErrorOf([&] { insert.Execute(); }), kJetNotOpen);
}

}  // namespace
