// A save that fails half way leaves nothing written; a database another
// program holds gives the busy error after the wait instead of hanging.
#include "platform/dao/dao.h"
#include "tests/outside/sl_jet/store_fixture.h"

namespace {

using namespace sltest;

class StoreFailureTest : public StoreTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(store.AppendClient(client(31, QStringLiteral("盛岡市場"))), kSlOk);
    ASSERT_EQ(store.AppendClient(client(32, QStringLiteral("直売所"))), kSlOk);
  }

  S_CLIENTSEL figures(std::int32_t code) {
    S_CLIENTSEL record;
    EXPECT_EQ(store.ReadClient(code, record), kSlOk);
    return record;
  }

  // Every row of the slip tables, for before/after comparisons.
  QStringList slipRows() {
    QStringList rows;
    for (const char* table : {"Slip", "SlipDetails"}) {
      CDaoRecordset rs(&data.diary());
      rs.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM %1 ORDER BY Code").arg(QLatin1String(table)));
      for (; !rs.IsEOF(); rs.MoveNext()) {
        QStringList cells;
        for (int i = 0; i < rs.GetFieldCount(); ++i) cells.append(rs.GetFieldValue(i).toString());
        rows.append(cells.join(QLatin1Char('|')));
      }
    }
    return rows;
  }

  // The second line of any slip cannot be written.
  void refuseSecondLines() {
    data.diary().Execute(QStringLiteral(
        "CREATE TRIGGER refuse_line BEFORE INSERT ON SlipDetails WHEN NEW.LineNo = 2 "
        "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
  }

  QList<S_SELSLIP> twoLines() {
    QList<S_SELSLIP> lines{line(QStringLiteral("T1"), 10, 300), line(QStringLiteral("C1"), 5, 200)};
    lines[0].lineNo = 1;
    lines[1].lineNo = 2;
    return lines;
  }
};

TEST_F(StoreFailureTest, ANewSlipWhoseSecondLineFailsLeavesNothing) {
  refuseSecondLines();
  S_SELSLIPHD h = header(QStringLiteral("1"), 20250603, kKindCredit, 31, 4400);
  const S_SELSLIPHD before = h;
  EXPECT_FALSE(calc.UpdateClientSelslip(nullptr, h, h, twoLines(), kStoreAppended));
  EXPECT_NE(calc.lastStatus(), kSlOk);
  EXPECT_EQ(h, before);
  EXPECT_TRUE(slipRows().isEmpty());
  EXPECT_EQ(figures(31), client(31, QStringLiteral("盛岡市場")));
  // The store's own multi-row write as well.
  S_SELSLIPHD appended = before;
  ASSERT_EQ(store.AppendSlipHead(appended), kSlOk);
  EXPECT_NE(store.WriteSlipLines(appended.code, 0, twoLines()), kSlOk);
  EXPECT_EQ(count(QStringLiteral("SlipDetails")), 0);
}

TEST_F(StoreFailureTest, AChangeThatFailsKeepsTheStoredSlipAndFigures) {
  S_SELSLIPHD h = header(QStringLiteral("1"), 20250603, kKindCredit, 31, 3000);
  ASSERT_TRUE(calc.UpdateClientSelslip(nullptr, h, h, {line(QStringLiteral("T1"), 10, 300)},
                                       kStoreAppended));
  const QStringList rows = slipRows();
  const S_CLIENTSEL stored31 = figures(31);
  refuseSecondLines();
  S_SELSLIPHD changed = h;
  changed.grandTotal = 4400;
  changed.slipDate = 20250601;
  EXPECT_FALSE(calc.UpdateClientSelslip(nullptr, changed, h, twoLines(), kStoreChanged));
  EXPECT_EQ(changed.lineCount, 1);  // as it was
  EXPECT_EQ(slipRows(), rows);
  EXPECT_EQ(figures(31), stored31);

  // Moving to another client fails the same way: the old slip stays.
  changed.clientCode = 32;
  EXPECT_FALSE(calc.MoveClientSelslip(nullptr, changed, h, twoLines()));
  EXPECT_EQ(changed.code, h.code);
  EXPECT_EQ(slipRows(), rows);
  EXPECT_EQ(figures(31), stored31);
  EXPECT_EQ(figures(32).salesSlipCount, 0);
}

TEST_F(StoreFailureTest, AFailingClientWriteTakesTheSlipBack) {
  data.diary().Execute(QStringLiteral(
      "CREATE TRIGGER refuse_client BEFORE UPDATE ON CustomerMst "
      "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
  S_SELSLIPHD h = header(QStringLiteral("1"), 20250603, kKindCredit, 31, 4400);
  EXPECT_FALSE(calc.UpdateClientSelslip(nullptr, h, h, twoLines(), kStoreAppended));
  EXPECT_TRUE(slipRows().isEmpty());
}

TEST_F(StoreFailureTest, ADroppedLineTableFailsTheSaveBeforeAnythingIsWritten) {
  S_SELSLIPHD h = header(QStringLiteral("1"), 20250603, kKindCredit, 31, 4400);
  data.diary().Execute(QStringLiteral("DROP TABLE SlipDetails"));
  EXPECT_FALSE(calc.UpdateClientSelslip(nullptr, h, h, twoLines(), kStoreAppended));
  EXPECT_EQ(calc.lastStatus(), kJetNoSuchTable);
  EXPECT_EQ(count(QStringLiteral("Slip")), 0);
  EXPECT_EQ(figures(31).salesSlipCount, 0);
}

TEST_F(StoreFailureTest, ALockedDatabaseGivesTheBusyErrorAfterTheWait) {
  data.diary().setBusyTimeout(200);
  CDaoDatabase other;
  other.Open(data.diaryPath());
  S_CLIENTSEL record;
  S_SELSLIPHD h = header(QStringLiteral("1"), 20250603, kKindCredit, 31, 4400);
  {
    // Another program writes: reading goes on, writing waits and gives up.
    DaoTransaction writing(other);
    other.Execute(QStringLiteral("UPDATE CustomerMst SET Balance = 5 WHERE Code = 32"));
    EXPECT_EQ(store.ReadClient(31, record), kSlOk);
    EXPECT_EQ(store.AppendClient(client(40, QStringLiteral("新規"))), kJetLocked);
    EXPECT_FALSE(calc.UpdateClientSelslip(nullptr, h, h, twoLines(), kStoreAppended));
    EXPECT_EQ(calc.lastStatus(), kJetLocked);
    EXPECT_EQ(h.code, 0);
  }
  {
    // Another program holds the file alone: reading gives up too.
    other.runSql(QStringLiteral("BEGIN EXCLUSIVE"));
    record = S_CLIENTSEL{};
    EXPECT_EQ(store.ReadClient(31, record), kJetLocked);
    EXPECT_EQ(record, S_CLIENTSEL{});
    S_SELENV env;
    EXPECT_EQ(store.ReadEnvironment(env), kJetLocked);
    other.runSql(QStringLiteral("ROLLBACK"));
  }
  // Free again.
  EXPECT_EQ(store.ReadClient(31, record), kSlOk);
  ASSERT_TRUE(calc.UpdateClientSelslip(nullptr, h, h, twoLines(), kStoreAppended));
  EXPECT_EQ(figures(31).balance, 4400);
  EXPECT_EQ(figures(32).balance, 0);  // the other program's write was rolled back
  other.Close();
}

}  // namespace
