#include "platform/dao/database.h"
#include "platform/dao/jetsql.h"
#include "tests/platform/dao/dao_test_util.h"

#include <gtest/gtest.h>

namespace {

using hv6::dao::analyseSelect;
using hv6::dao::translateJetTokens;
using hv6test::jetErrorOf;

QString tr(const char* jet) { return translateJetSql(QString::fromUtf8(jet)); }

TEST(JetSql, DateLiteralsBecomeTheStoredText) {
  EXPECT_EQ(tr("Date BETWEEN #5/1/2024# AND #5/31/2024#"),
            QStringLiteral("Date BETWEEN '2024-05-01 00:00:00' AND '2024-05-31 00:00:00'"));
  EXPECT_EQ(tr("Date = #2024/5/31# "), QStringLiteral("Date = '2024-05-31 00:00:00' "));
  EXPECT_EQ(tr("Date = #2024-05-31#"), QStringLiteral("Date = '2024-05-31 00:00:00'"));
  EXPECT_EQ(tr("Date < #12/31/2024 8:05:09#"), QStringLiteral("Date < '2024-12-31 08:05:09'"));
  EXPECT_EQ(tr("LastUpdate = #2024/1/2 23:59#"), QStringLiteral("LastUpdate = '2024-01-02 23:59:00'"));
}

TEST(JetSql, DeleteStarLosesTheStar) {
  EXPECT_EQ(tr("DELETE * FROM TargetField AS S WHERE S.Code = 5 "),
            QStringLiteral("DELETE FROM TargetField AS S WHERE S.Code = 5 "));
  EXPECT_EQ(tr("delete  *  from T"), QStringLiteral("delete  from T"));
  EXPECT_EQ(tr("DELETE FROM T WHERE Code = 1"), QStringLiteral("DELETE FROM T WHERE Code = 1"));
  EXPECT_EQ(tr("SELECT * FROM T"), QStringLiteral("SELECT * FROM T"));
}

TEST(JetSql, TrueAndFalseBecomeOneAndZero) {
  EXPECT_EQ(tr("WHERE JobMst.MileStone=True AND x = false"),
            QStringLiteral("WHERE JobMst.MileStone=1 AND x = 0"));
  EXPECT_EQ(tr("SET IName = 'a', IUse = TRUE WHERE Scode = 3 "),
            QStringLiteral("SET IName = 'a', IUse = 1 WHERE Scode = 3 "));
  // Part of a name stays as it is.
  EXPECT_EQ(tr("SELECT T.True FROM T"), QStringLiteral("SELECT T.True FROM T"));
}

TEST(JetSql, StringsAreNeverTouched) {
  EXPECT_EQ(tr("Memo = 'true #1/1/2024# DELETE * FROM x'"),
            QStringLiteral("Memo = 'true #1/1/2024# DELETE * FROM x'"));
  EXPECT_EQ(tr("IName = 'it''s'"), QStringLiteral("IName = 'it''s'"));
  // Jet's double-quoted strings become SQLite strings.
  EXPECT_EQ(tr("Name = \"a'b\""), QStringLiteral("Name = 'a''b'"));
  EXPECT_EQ(tr("Name = \"say \"\"hi\"\"\""), QStringLiteral("Name = 'say \"hi\"'"));
  EXPECT_EQ(tr("Name = \"#1/1/2024# true\""), QStringLiteral("Name = '#1/1/2024# true'"));
}

TEST(JetSql, OtherJetFormsPassUnchanged) {
  for (const char* sql :
       {"SELECT DISTINCT Field FROM TargetField RIGHT OUTER JOIN Location ON TargetField.Location = "
        "Location.Code WHERE (EDate IS Null OR EDate >= 20240101) AND Location.Code <> 3",
        "SELECT * FROM T WHERE Not ((a < 1 AND b < 1) OR (a > 2 AND b > 2)) OR (a < 1 AND b IS NULL)",
        "SELECT * FROM Weather WHERE Date BETWEEN  20240501 AND 20240532",
        "SELECT * FROM 品目 WHERE 名前 = ?"})
    EXPECT_EQ(tr(sql), QString::fromUtf8(sql));
  EXPECT_EQ(tr("SELECT [Name] FROM [My Table]"), QStringLiteral("SELECT \"Name\" FROM \"My Table\""));
}

TEST(JetSql, MalformedTextIsASyntaxError) {
  for (const char* sql : {"Name = 'abc", "Name = \"abc", "Date = #13/45/2024#", "Date = #5/1/2024",
                          "Date = #2024/2/30#", "Date = #yesterday#", "SELECT [Name FROM T"})
    EXPECT_EQ(jetErrorOf([&] { tr(sql); }), kJetSyntaxError) << sql;
}

TEST(JetSql, CountsPlaceholdersOutsideStrings) {
  const auto tokens = translateJetTokens(QStringLiteral("SELECT * FROM T WHERE a = ? AND b = '?' AND c = ?"));
  EXPECT_EQ(hv6::dao::placeholderCount(tokens), 2);
  EXPECT_EQ(jetErrorOf([&] { hv6::dao::requireParameters(tokens, 1); }), kJetTooFewParameters);
  EXPECT_EQ(jetErrorOf([&] { hv6::dao::requireParameters(tokens, 2); }), 0);
}

TEST(SelectShape, PlainSingleTableSelectsCanBeEdited) {
  const auto star = analyseSelect(translateJetTokens(QStringLiteral("SELECT * FROM PictureLink WHERE Code = 5")));
  EXPECT_TRUE(star.editable);
  EXPECT_EQ(star.table, QStringLiteral("PictureLink"));
  EXPECT_EQ(star.withRowId, QStringLiteral("SELECT rowid AS __rowid__, * FROM PictureLink WHERE Code = 5"));
  for (const char* sql : {"SELECT Code, Field FROM TargetField ", "SELECT S.Code FROM FieldMst AS S",
                          "select all Name from T order by Name", "SELECT T.* FROM T S WHERE x IN (SELECT 1)",
                          "SELECT [Name] FROM [Crop Table]"})
    EXPECT_TRUE(analyseSelect(translateJetTokens(QString::fromUtf8(sql))).editable) << sql;
}

TEST(SelectShape, JoinsAggregatesAndExpressionsCannotBeEdited) {
  for (const char* sql :
       {"SELECT DISTINCT PhotoDate FROM PictureLink", "SELECT * FROM A INNER JOIN B ON A.x = B.x",
        "SELECT * FROM A RIGHT OUTER JOIN B ON A.x = B.x", "SELECT * FROM A, B",
        "SELECT count(*) FROM A", "SELECT Name AS N FROM A", "SELECT Code + 1 FROM A",
        "SELECT Date FROM A GROUP BY Date", "SELECT x FROM A UNION SELECT x FROM B",
        "SELECT * FROM (SELECT * FROM A)", "UPDATE A SET x = 1", "SELECT 1"})
    EXPECT_FALSE(analyseSelect(translateJetTokens(QString::fromUtf8(sql))).editable) << sql;
}

}  // namespace
