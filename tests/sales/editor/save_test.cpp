// Saving a slip: the checks in their order with their boxes and the
// cursor, what is written, the unchanged save, the client change in one
// transaction, the refusal of a save over a slip changed elsewhere, and the
// calendar showing the saved slip.
#include "tests/sales/editor/editor_fixture.h"

#include "calendar/salesfill.h"
#include "tests/calendar/recording.h"

namespace editortest {
namespace {

using hv6::MsgAnswer;

TEST_F(EditorTest, TheChecksComeInOrderWithTheirBoxesAndTheCursor) {
  auto e = editor();
  e->hooks().freeSpace = [] { return qint64{50000}; };
  ASSERT_TRUE(e->setClient(kClosing));
  e->setSlipKind(kKindCash);
  e->setClaimDate(20250605);
  e->model().editHeader().billed = 1;
  sl::slSetText(e->model().editHeader().slipNo, QString());
  e->setSlipDate(0);
  typeLine(*e, 1, QStringLiteral("T1"), 2);  // line 1 empty, line 2 not

  auto failsWith = [&](long number) {
    recorder.clear();
    EXPECT_FALSE(e->save());
    EXPECT_EQ(recorder.numbers(), QList<long>{number});
    EXPECT_FALSE(exists(QStringLiteral("AB1")));
  };
  // 1. Billed, or billed up to a date not before the slip's billing date.
  failsWith(5105);
  e->model().editHeader().billed = 0;
  S_BILLSUM bill;
  bill.clientCode = kClosing;
  bill.lastBillDate = 20250605;
  ASSERT_EQ(store.UpdateBillSum(bill), kSlOk);
  failsWith(5105);
  bill.lastBillDate = 20250531;
  ASSERT_EQ(store.UpdateBillSum(bill), kSlOk);
  // 2. Disk space, number, date, cash sale at the close, billing date,
  // blank line.
  failsWith(842);
  e->hooks().freeSpace = [] { return qint64{1} << 30; };
  failsWith(51032);
  EXPECT_EQ(e->cursor().field, SlipField::SlipNo);
  sl::slSetText(e->model().editHeader().slipNo, QStringLiteral("ab1").rightJustified(13));
  failsWith(964);
  EXPECT_EQ(e->cursor().field, SlipField::SlipDate);
  e->setSlipDate(29991232);
  failsWith(964);
  e->setSlipDate(20250603);
  failsWith(51037);
  EXPECT_EQ(e->cursor().field, SlipField::SlipKind);
  e->setSlipKind(kKindCredit);
  S_CLIENTSEL closing;
  ASSERT_EQ(store.ReadClient(kClosing, closing), kSlOk);
  closing.lastBillDate = 20250610;
  ASSERT_EQ(store.UpdateClient(closing), kSlOk);
  ASSERT_TRUE(e->setClient(kClosing));
  recorder.answer(MsgAnswer::No);
  failsWith(5136);
  EXPECT_EQ(recorder.messages().first().text,
            CNmlMsg::text(5136, QStringLiteral("2025/06/05"), QStringLiteral("2025/06/10")));
  EXPECT_EQ(e->cursor().field, SlipField::ClaimDate);
  e->setClaimDate(20250615);
  failsWith(51004);
  EXPECT_EQ(e->cursor(), (SlipCursor{SlipField::Line, 0, SlipCell::Kind}));
  typeLine(*e, 0, QStringLiteral("C1"), 1);
  // A line begun but not complete is not dropped without a word.
  ASSERT_EQ(e->model().setKind(2, kLineSale), 0);
  failsWith(0);
  EXPECT_EQ(e->cursor(), (SlipCursor{SlipField::Line, 2, SlipCell::Name}));
  e->model().setKind(2, kLineEmpty);

  // 3. A price below the goods' minimum: asked per line, No goes to the price.
  S_COMMODITY goods;
  ASSERT_EQ(store.ReadGoods(QStringLiteral("T1"), goods), kSlOk);
  goods.checkMinimum = 1;
  goods.minimumPrice = 1234.5;
  ASSERT_EQ(store.UpdateGoods(goods), kSlOk);
  recorder.answer(MsgAnswer::No);
  failsWith(5121);
  EXPECT_EQ(recorder.messages().first().text,
            CNmlMsg::text(5121, QStringLiteral("2"), QStringLiteral("トマト"),
                          QStringLiteral("           300.00円"),
                          QStringLiteral("         1,234.50円")));
  EXPECT_EQ(e->cursor(), (SlipCursor{SlipField::Line, 1, SlipCell::UnitPrice}));

  // Yes: saved under the number in capitals.
  recorder.clear();
  ASSERT_TRUE(e->save());
  EXPECT_EQ(recorder.numbers(), QList<long>{5121});
  const QList<S_SELSLIP> lines = storedLines(QStringLiteral("AB1"));
  ASSERT_EQ(lines.size(), 2);
  EXPECT_EQ(lines[1].lineNo, 2);
  EXPECT_EQ(slText(lines[1].slipNo), QStringLiteral("AB1").rightJustified(13));
  EXPECT_EQ(lines[1].clientCode, kClosing);
  EXPECT_EQ(stored(QStringLiteral("AB1")).lineCount, 2);
}

TEST_F(EditorTest, WrittenLinesGetTheHeadersKeysAndDiscountsTheirGoodsCode) {
  auto e = editor();
  ASSERT_TRUE(e->enterSlipNumber(QStringLiteral("5")));
  ASSERT_TRUE(e->setClient(kMarket));
  typeLine(*e, 0, QStringLiteral("T1"), 10);
  ASSERT_EQ(e->model().setKind(1, kLineGoodsDiscount), 0);
  e->model().setName(1, QStringLiteral("値引"));
  e->model().setAmount(1, 100);
  ASSERT_EQ(e->model().setKind(2, kLineShipping), 0);
  e->model().setName(2, QStringLiteral("送料"));
  slSetText(e->model().editLine(2).goodsCode, QStringLiteral("S9"));
  e->model().setAmount(2, 800);
  ASSERT_TRUE(e->save());
  const QList<S_SELSLIP> lines = storedLines(QStringLiteral("5"));
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(slText(lines[1].goodsCode), QStringLiteral("T1"));
  EXPECT_EQ(lines[1].amount, -100);
  EXPECT_EQ(slText(lines[2].goodsCode), QString());
  EXPECT_EQ(lines[2].lineNo, 3);
  S_SELENV env;
  ASSERT_EQ(store.ReadEnvironment(env), kSlOk);
  EXPECT_EQ(slText(env.lastNoSales), QStringLiteral("5").rightJustified(13));
  EXPECT_EQ(e->rememberedDate(), 20250603);
}

TEST_F(EditorTest, SavingAnUnchangedSlipWritesOnlyTheLastNumber) {
  auto e = editor();
  ASSERT_TRUE(e->enterSlipNumber(QStringLiteral("77")));
  e->model().markSaved();  // as if the number had been given
  ASSERT_TRUE(e->save());
  EXPECT_FALSE(exists(QStringLiteral("77")));
  S_SELENV env;
  ASSERT_EQ(store.ReadEnvironment(env), kSlOk);
  EXPECT_EQ(slText(env.lastNoSales).trimmed(), QStringLiteral("77"));
  EXPECT_EQ(env.lastSlipDate, 20250603);

  // A stored slip saved unchanged: the store and the client stay as they were.
  storeSlip(QStringLiteral("8"), kMarket, 2);
  S_CLIENTSEL before;
  ASSERT_EQ(store.ReadClient(kMarket, before), kSlOk);
  const S_SELSLIPHD header = stored(QStringLiteral("8"));
  auto again = editor();
  ASSERT_TRUE(again->enterSlipNumber(QStringLiteral("8")));
  ASSERT_TRUE(again->save());
  EXPECT_TRUE(recorder.empty());
  EXPECT_EQ(stored(QStringLiteral("8")), header);
  S_CLIENTSEL after;
  ASSERT_EQ(store.ReadClient(kMarket, after), kSlOk);
  EXPECT_EQ(after, before);
}

TEST_F(EditorTest, AClientChangeThatFailsHalfWayLeavesTheStoredSlip) {
  storeSlip(QStringLiteral("12"), kMarket, 2);
  const S_SELSLIPHD before = stored(QStringLiteral("12"));
  const QList<S_SELSLIP> linesBefore = storedLines(QStringLiteral("12"));
  auto e = editor();
  ASSERT_TRUE(e->enterSlipNumber(QStringLiteral("12")));
  // A client without a record: the removal succeeds, the new store fails.
  ASSERT_TRUE(e->setClient(99));
  EXPECT_FALSE(e->save());
  EXPECT_EQ(recorder.numbers(), QList<long>{622});
  EXPECT_EQ(stored(QStringLiteral("12")), before);
  EXPECT_EQ(storedLines(QStringLiteral("12")), linesBefore);
  EXPECT_EQ(e->header().clientCode, 99);  // the user's change stays on screen
  EXPECT_TRUE(e->model().isChanged());

  // To a client that exists: moved, the figures with it.
  recorder.clear();
  ASSERT_TRUE(e->setClient(kShop));
  ASSERT_TRUE(e->save());
  const S_SELSLIPHD moved = stored(QStringLiteral("12"));
  EXPECT_EQ(moved.clientCode, kShop);
  EXPECT_EQ(storedLines(QStringLiteral("12")).size(), 2);
  S_CLIENTSEL market, shop;
  ASSERT_EQ(store.ReadClient(kMarket, market), kSlOk);
  ASSERT_EQ(store.ReadClient(kShop, shop), kSlOk);
  EXPECT_EQ(market.salesSlipCount, 0);
  EXPECT_EQ(shop.salesSlipCount, 1);
  EXPECT_EQ(shop.balance, moved.grandTotal);
}

TEST_F(EditorTest, ASaveOverASlipChangedInAnotherWindowIsRefused) {
  storeSlip(QStringLiteral("40"), kMarket, 2);
  auto first = editor();
  auto second = editor();
  ASSERT_TRUE(first->enterSlipNumber(QStringLiteral("40")));
  ASSERT_TRUE(second->enterSlipNumber(QStringLiteral("40")));
  first->model().setQuantity(0, 7);
  ASSERT_TRUE(first->save());
  second->model().setQuantity(1, 9);
  second->model().setName(1, QStringLiteral("トマト大"));
  EXPECT_FALSE(second->save());
  ASSERT_EQ(recorder.messages().size(), 1);
  EXPECT_TRUE(recorder.messages().first().text.contains(QStringLiteral("他の画面")));
  // The second window keeps its lines; the store keeps the first save.
  EXPECT_EQ(second->model().line(1).quantity, 9);
  EXPECT_EQ(slText(second->model().line(1).goodsName), QStringLiteral("トマト大"));
  EXPECT_TRUE(second->model().isChanged());
  EXPECT_EQ(storedLines(QStringLiteral("40"))[0].quantity, 7);
  EXPECT_EQ(storedLines(QStringLiteral("40"))[1].quantity, 2);

  // Leaving asks to save, and the refusal keeps the window on the slip.
  recorder.clear();
  EXPECT_FALSE(second->navigate(SlipMove::New));
  EXPECT_EQ(recorder.numbers(), QList<long>({5102, 0}));
  EXPECT_EQ(second->model().line(1).quantity, 9);
  // Left without saving and read again, the same change saves.
  recorder.answer(MsgAnswer::No);
  ASSERT_TRUE(second->navigate(SlipMove::New));
  ASSERT_TRUE(second->loadSlip(QStringLiteral("40")));
  second->model().setQuantity(1, 9);
  ASSERT_TRUE(second->save());
  EXPECT_EQ(storedLines(QStringLiteral("40"))[0].quantity, 7);
  EXPECT_EQ(storedLines(QStringLiteral("40"))[1].quantity, 9);
}

TEST_F(EditorTest, ASlipDeletedOrANumberTakenElsewhereIsNotOverwritten) {
  storeSlip(QStringLiteral("41"), kMarket);
  auto shown = editor();
  ASSERT_TRUE(shown->enterSlipNumber(QStringLiteral("41")));
  auto remover = editor();
  ASSERT_TRUE(remover->enterSlipNumber(QStringLiteral("41")));
  ASSERT_TRUE(remover->deleteSlip());
  recorder.clear();
  shown->model().setQuantity(0, 3);
  EXPECT_FALSE(shown->save());
  ASSERT_EQ(recorder.messages().size(), 1);
  EXPECT_TRUE(recorder.messages().first().text.contains(QStringLiteral("削除されています")));
  EXPECT_FALSE(exists(QStringLiteral("41")));

  // Two new slips under one number: the second is refused.
  auto a = editor();
  auto b = editor();
  ASSERT_TRUE(a->enterSlipNumber(QStringLiteral("50")));
  ASSERT_TRUE(b->enterSlipNumber(QStringLiteral("50")));
  for (auto* e : {a.get(), b.get()}) {
    ASSERT_TRUE(e->setClient(kMarket));
    typeLine(*e, 0, QStringLiteral("T1"), e == a.get() ? 1 : 2);
  }
  recorder.clear();
  ASSERT_TRUE(a->save());
  EXPECT_FALSE(b->save());
  ASSERT_EQ(recorder.messages().size(), 1);
  EXPECT_TRUE(recorder.messages().first().text.contains(QStringLiteral("すでに登録されました")));
  EXPECT_EQ(storedLines(QStringLiteral("50"))[0].quantity, 1);
  EXPECT_EQ(b->model().line(0).quantity, 2);
}

TEST_F(EditorTest, ASavedSalesSlipShowsInTheCalendarAndAReservationDoesNot) {
  auto sales = editor();
  ASSERT_TRUE(sales->enterSlipNumber(QStringLiteral("1")));
  sales->setSlipDate(20250612);
  ASSERT_TRUE(sales->setClient(kMarket));
  typeLine(*sales, 0, QStringLiteral("T1"), 10, static_cast<std::int32_t>(tomato));
  typeLine(*sales, 1, QStringLiteral("C1"), 5, static_cast<std::int32_t>(cucumber));
  ASSERT_TRUE(sales->save());
  auto reservation = editor(SlipWindowKind::Reservation);
  ASSERT_TRUE(reservation->enterSlipNumber(QStringLiteral("1")));
  reservation->setSlipDate(20250613);
  ASSERT_TRUE(reservation->setClient(kShop));
  typeLine(*reservation, 0, QStringLiteral("T1"), 4, static_cast<std::int32_t>(tomato));
  ASSERT_TRUE(reservation->save());
  EXPECT_TRUE(exists(QStringLiteral("1"), 1));

  auto calendar = [&](int mode) {
    hv6test::RecordingSink sink;
    hv6test::RecordingMeter meter;
    hv6::MemoList memos;
    hv6::fillSlips(data.diary(), mode, 0, 20250600, sink, memos, meter);
    return sink.calls;
  };
  // Per-line tax at 10 %: 3,000 + 300 and 1,000 + 100.
  EXPECT_EQ(calendar(1), QStringList{QStringLiteral("add 6/12 盛岡市場 4400 0")});
  EXPECT_EQ(calendar(0), QStringList({QStringLiteral("add 6/12 トマト 3000 0"),
                                      QStringLiteral("add 6/12 きゅうり 1000 0")}));
}

}  // namespace
}  // namespace editortest

namespace editortest {
namespace {

TEST_F(EditorTest, TheBillingDateQuestionUsesTheCompanysDateStyle) {
  S_COMPANY company;
  ASSERT_EQ(store.ReadCompany(company), kSlOk);
  company.dateStyle = 1;  // Japanese era
  ASSERT_EQ(store.UpdateCompany(company), kSlOk);
  S_CLIENTSEL market;
  ASSERT_EQ(store.ReadClient(kMarket, market), kSlOk);
  market.lastBillDate = 20250610;
  ASSERT_EQ(store.UpdateClient(market), kSlOk);
  auto e = editor();
  ASSERT_TRUE(e->setClient(kMarket));
  typeLine(*e, 0, QStringLiteral("T1"), 1);
  // Without a planned billing date the slip's date is billed.
  recorder.answer(hv6::MsgAnswer::No);
  EXPECT_FALSE(e->save());
  ASSERT_EQ(recorder.numbers(), QList<long>{5136});
  EXPECT_EQ(recorder.messages().first().text,
            CNmlMsg::text(5136, QStringLiteral("R.07/06/03"), QStringLiteral("R.07/06/10")));
  recorder.clear();
  ASSERT_TRUE(e->save());  // Yes
  EXPECT_EQ(recorder.numbers(), QList<long>{5136});
}

}  // namespace
}  // namespace editortest
