// A slip saved, read back, changed, moved to another client and deleted:
// the client's figures after each step, and what the calendar shows.
#include "calendar/salesfill.h"
#include "tests/calendar/recording.h"
#include "tests/outside/sl_jet/store_fixture.h"

namespace {

using namespace sltest;

constexpr long kJune = 20250600;

class SlipSaveTest : public StoreTest {
 protected:
  hv6test::RecordingSink sink;
  hv6test::RecordingMeter meter;
  hv6::MemoList memos;
  long tomato = 0;
  long cucumber = 0;

  void SetUp() override {
    ASSERT_EQ(store.AppendClient(client(31, QStringLiteral("盛岡市場"))), kSlOk);
    ASSERT_EQ(store.AppendClient(client(32, QStringLiteral("直売所"))), kSlOk);
    tomato = data.addMaster(QStringLiteral("CropMst"), 1, QStringLiteral("トマト"));
    cucumber = data.addMaster(QStringLiteral("CropMst"), 2, QStringLiteral("きゅうり"));
  }

  // The calendar's lines of June: mode 0 by crop, 1 by customer.
  QStringList calendar(int mode) {
    sink.calls.clear();
    memos.clear();
    hv6::fillSlips(data.diary(), mode, 0, kJune, sink, memos, meter);
    return sink.calls;
  }

  S_CLIENTSEL figures(std::int32_t code) {
    S_CLIENTSEL record;
    EXPECT_EQ(store.ReadClient(code, record), kSlOk);
    return record;
  }

  static void expectFigures(const S_CLIENTSEL& c, double balance, double sales, int slips,
                            std::int32_t lastDate) {
    EXPECT_EQ(c.balance, balance) << slText(c.name).toStdString();
    EXPECT_EQ(c.salesTotal, sales) << slText(c.name).toStdString();
    EXPECT_EQ(c.salesSlipCount, slips) << slText(c.name).toStdString();
    EXPECT_EQ(c.lastSlipDate, lastDate) << slText(c.name).toStdString();
  }
};

TEST_F(SlipSaveTest, SavedChangedMovedAndDeletedWithTheClientsFigures) {
  // A new credit slip: appended and stored in one call.
  S_SELSLIPHD h = header(QStringLiteral("1"), 20250603, kKindCredit, 31, 4400);
  h.quantityTotal = 15;
  h.unitAverage = 266.67;
  h.claimDate = 20250630;
  h.shipDate = 20250604;
  QList<S_SELSLIP> lines{line(QStringLiteral("T1"), 10, 300, static_cast<std::int32_t>(tomato)),
                         line(QStringLiteral("C1"), 5, 200, static_cast<std::int32_t>(cucumber))};
  ASSERT_TRUE(calc.UpdateClientSelslip(nullptr, h, h, lines, kStoreAppended)) << calc.lastStatus();
  EXPECT_GT(h.code, 0);
  EXPECT_EQ(h.newSlip, 0);
  EXPECT_EQ(h.lineCount, 2);
  expectFigures(figures(31), 4400, 4400, 1, 20250603);

  S_SELSLIPHD stored;
  ASSERT_EQ(store.ReadSlipHead(0, QStringLiteral("1").rightJustified(13), stored), kSlOk);
  EXPECT_EQ(stored, h);
  QList<S_SELSLIP> storedLines;
  ASSERT_EQ(store.ReadSlipLines(h.code, storedLines), kSlOk);
  ASSERT_EQ(storedLines.size(), 2);
  for (int i = 0; i < 2; ++i) {
    // The header's keys went into every line.
    EXPECT_EQ(storedLines[i].lineNo, i + 1);
    EXPECT_EQ(storedLines[i].clientCode, 31);
    EXPECT_EQ(storedLines[i].slipDate, 20250603);
    EXPECT_EQ(storedLines[i].slipKind, kKindCredit);
    EXPECT_EQ(slText(storedLines[i].slipNo), slText(h.slipNo));
    EXPECT_EQ(slText(storedLines[i].goodsCode), slText(lines[i].goodsCode));
  }
  EXPECT_EQ(calendar(1), QStringList{QStringLiteral("add 6/3 盛岡市場 4400 0")});
  EXPECT_EQ(calendar(0), QStringList({QStringLiteral("add 6/3 トマト 3000 0"),
                                      QStringLiteral("add 6/3 きゅうり 1000 0")}));

  // A reservation slip of the same client: counted, no sales, not in the calendar.
  S_SELSLIPHD reservation = header(QStringLiteral("1"), 20250604, kKindReservation, 31, 900);
  ASSERT_EQ(store.AppendSlipHead(reservation), kSlOk);
  ASSERT_TRUE(calc.UpdateClientSelslip(nullptr, reservation, reservation,
                                       {line(QStringLiteral("T1"), 3, 300, static_cast<std::int32_t>(tomato))},
                                       kStoreAppended));
  expectFigures(figures(31), 4400, 4400, 2, 20250604);
  EXPECT_EQ(calendar(1), QStringList{QStringLiteral("add 6/3 盛岡市場 4400 0")});
  EXPECT_EQ(calendar(0).size(), 2);

  // Saved again unchanged: the figures stay.
  S_SELSLIPHD asLoaded = h;
  ASSERT_TRUE(calc.UpdateClientSelslip(nullptr, h, asLoaded, lines, kStoreChanged));
  expectFigures(figures(31), 4400, 4400, 2, 20250604);

  // Changed: a day earlier, one line, a cash sale.
  h.slipDate = 20250602;
  h.slipKind = kKindCash;
  h.grandTotal = 3300;
  h.quantityTotal = 10;
  h.unitAverage = 300;
  lines.removeLast();
  ASSERT_TRUE(calc.UpdateClientSelslip(nullptr, h, asLoaded, lines, kStoreChanged));
  expectFigures(figures(31), 0, 3300, 2, 20250604);
  ASSERT_EQ(store.ReadSlipLines(h.code, storedLines), kSlOk);
  EXPECT_EQ(storedLines.size(), 1);
  EXPECT_EQ(storedLines[0].slipDate, 20250602);
  EXPECT_EQ(calendar(1), QStringList{QStringLiteral("add 6/2 盛岡市場 3300 0")});
  EXPECT_EQ(calendar(0), QStringList{QStringLiteral("add 6/2 トマト 3000 0")});

  // Back to credit, then moved to the other client: removed and stored anew.
  asLoaded = h;
  h.slipKind = kKindCredit;
  ASSERT_TRUE(calc.UpdateClientSelslip(nullptr, h, asLoaded, lines, kStoreChanged));
  expectFigures(figures(31), 3300, 3300, 2, 20250604);
  asLoaded = h;
  h.clientCode = 32;
  ASSERT_TRUE(calc.MoveClientSelslip(nullptr, h, asLoaded, lines));
  EXPECT_NE(h.code, asLoaded.code);
  EXPECT_EQ(store.ReadSlipHeadByCode(asLoaded.code, stored), kSlNotFound);
  ASSERT_EQ(store.ReadSlipHeadByCode(h.code, stored), kSlOk);
  EXPECT_EQ(stored, h);
  expectFigures(figures(31), 0, 0, 1, 20250604);
  expectFigures(figures(32), 3300, 3300, 1, 20250602);
  EXPECT_EQ(count(QStringLiteral("SlipDetails WHERE CustomerCode = 31 AND AppType = 0")), 0);
  EXPECT_EQ(calendar(1), QStringList{QStringLiteral("add 6/2 直売所 3300 0")});

  // A client change through mode 1 carries the figures across as well.
  asLoaded = h;
  h.clientCode = 31;
  ASSERT_TRUE(calc.UpdateClientSelslip(nullptr, h, asLoaded, lines, kStoreChanged));
  expectFigures(figures(31), 3300, 3300, 2, 20250604);
  expectFigures(figures(32), 0, 0, 0, 0);

  // Deleted: header and lines go, and the figures with them.
  asLoaded = h;
  ASSERT_TRUE(calc.UpdateClientSelslip(nullptr, asLoaded, asLoaded, lines, kRemoveStored));
  expectFigures(figures(31), 0, 0, 1, 20250604);
  EXPECT_EQ(count(QStringLiteral("Slip WHERE AppType = 0")), 0);
  EXPECT_EQ(count(QStringLiteral("SlipDetails WHERE AppType = 0")), 0);
  EXPECT_TRUE(calendar(1).isEmpty());
  EXPECT_TRUE(calendar(0).isEmpty());
  ASSERT_TRUE(calc.UpdateClientSelslip(nullptr, reservation, reservation, {}, kRemoveStored));
  expectFigures(figures(31), 0, 0, 0, 0);
  EXPECT_TRUE(messages.empty());
}

TEST_F(SlipSaveTest, TheClientsTypeGoesIntoTheHeader) {
  S_CLIENTSEL c = figures(32);
  c.clientType = 7;
  ASSERT_EQ(store.UpdateClient(c), kSlOk);
  S_SELSLIPHD h = header(QStringLiteral("2"), 20250610, kKindCash, 32, 100);
  ASSERT_TRUE(calc.UpdateClientSelslip(nullptr, h, h, {line(QStringLiteral("A"), 1, 100)}, kStoreAppended));
  EXPECT_EQ(h.clientType, 7);
  S_SELSLIPHD stored;
  ASSERT_EQ(store.ReadSlipHeadByCode(h.code, stored), kSlOk);
  EXPECT_EQ(stored.clientType, 7);
}

TEST_F(SlipSaveTest, BadCallsAreRefusedAndWriteNothing) {
  S_SELSLIPHD h = header(QStringLiteral("3"), 20250610, kKindCash, 31, 100);
  const S_SELSLIPHD before = h;
  EXPECT_FALSE(calc.UpdateClientSelslip(nullptr, h, h, {}, 3));
  EXPECT_EQ(calc.lastStatus(), kSlBadArgument);
  QList<S_SELSLIP> tooMany(kMaxSlipLines + 1, line(QStringLiteral("A"), 1, 1));
  EXPECT_FALSE(calc.UpdateClientSelslip(nullptr, h, h, tooMany, kStoreAppended));
  // A client that does not exist.
  h.clientCode = 99;
  EXPECT_FALSE(calc.UpdateClientSelslip(nullptr, h, h, {}, kStoreAppended));
  EXPECT_EQ(calc.lastStatus(), kSlNotFound);
  EXPECT_EQ(h.code, 0);
  // A stored slip that is not there.
  h = before;
  h.code = 1234;
  EXPECT_FALSE(calc.UpdateClientSelslip(nullptr, h, h, {}, kStoreChanged));
  EXPECT_EQ(calc.lastStatus(), kSlNotFound);
  EXPECT_FALSE(calc.UpdateClientSelslip(nullptr, h, h, {}, kRemoveStored));
  EXPECT_FALSE(calc.MoveClientSelslip(nullptr, h, before, {}));
  EXPECT_EQ(count(QStringLiteral("Slip")), 0);
  expectFigures(figures(31), 0, 0, 0, 0);
  // A failed call leaves the status of its failure; a good one clears it.
  h = before;
  ASSERT_TRUE(calc.UpdateClientSelslip(nullptr, h, h, {}, kStoreAppended));
  EXPECT_EQ(calc.lastStatus(), kSlOk);
}

TEST(CalcDates, NextDayOverMonthYearAndLeapDay) {
  sl::CCalc calc(nullptr);
  EXPECT_EQ(calc.GetNextDate(20250603), 20250604);
  EXPECT_EQ(calc.GetNextDate(20250630), 20250701);
  EXPECT_EQ(calc.GetNextDate(20251231), 20260101);
  EXPECT_EQ(calc.GetNextDate(20240228), 20240229);
  EXPECT_EQ(calc.GetNextDate(20240229), 20240301);
  EXPECT_EQ(calc.GetNextDate(20250228), 20250301);
  EXPECT_EQ(calc.GetNextDate(20250229), 0);
  EXPECT_EQ(calc.GetNextDate(20251301), 0);
  EXPECT_EQ(calc.GetNextDate(0), 0);
}

}  // namespace
