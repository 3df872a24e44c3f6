// The commands beside the save: delete with question 100, copy of the last
// slip, standard patterns, line insert, delete and copy with their
// refusals and pairs, navigation with the save question, and the client
// information and unit price dialogs' contents.
#include "tests/sales/editor/editor_fixture.h"

namespace editortest {
namespace {

using hv6::MsgAnswer;

TEST_F(EditorTest, DeleteAsksWithTheNumberAndKindAndRemovesAStoredSlip) {
  storeSlip(QStringLiteral("3"), kMarket, 2);
  auto e = editor();
  ASSERT_TRUE(e->enterSlipNumber(QStringLiteral("3")));
  recorder.answer(MsgAnswer::No);
  EXPECT_FALSE(e->deleteSlip());
  EXPECT_TRUE(exists(QStringLiteral("3")));
  ASSERT_EQ(recorder.messages().size(), 1);
  EXPECT_EQ(recorder.messages().first().number, 100);
  EXPECT_EQ(recorder.messages().first().text,
            CNmlMsg::text(100, QStringLiteral("伝票番号[3] の掛売伝票")));
  ASSERT_TRUE(e->deleteSlip());
  EXPECT_FALSE(exists(QStringLiteral("3")));
  S_CLIENTSEL market;
  ASSERT_EQ(store.ReadClient(kMarket, market), kSlOk);
  EXPECT_EQ(market.salesSlipCount, 0);
  EXPECT_EQ(market.balance, 0);
  // A new slip under the deleted, now free, number.
  EXPECT_FALSE(e->isStored());
  EXPECT_EQ(number(*e), QStringLiteral("3"));

  // A reservation slip not yet stored: asked, nothing to remove.
  auto r = editor(SlipWindowKind::Reservation);
  recorder.clear();
  ASSERT_TRUE(r->enterSlipNumber(QStringLiteral("9")));
  ASSERT_TRUE(r->deleteSlip());
  EXPECT_EQ(recorder.messages().first().text,
            CNmlMsg::text(100, QStringLiteral("伝票番号[9] の予約伝票")));
}

TEST_F(EditorTest, CopyLastSlipTakesTheLastSavedOfThisKindAsking5115WhenChanged) {
  storeSlip(QStringLiteral("20"), kMarket, 3);
  auto e = editor();
  const QString shownNumber = number(*e);
  ASSERT_TRUE(e->setClient(kShop));
  recorder.answer(MsgAnswer::No);
  EXPECT_FALSE(e->copyLastSlip());
  EXPECT_EQ(recorder.numbers(), QList<long>{5115});
  EXPECT_EQ(e->header().clientCode, kShop);
  ASSERT_TRUE(e->copyLastSlip());
  EXPECT_EQ(e->header().clientCode, kMarket);
  EXPECT_EQ(e->model().usedLines(), 3);
  EXPECT_EQ(number(*e), shownNumber);  // the slip being entered keeps its number
  EXPECT_FALSE(e->isStored());
  EXPECT_EQ(e->header().grandTotal, stored(QStringLiteral("20")).grandTotal);
  ASSERT_TRUE(e->save());
  EXPECT_EQ(storedLines(shownNumber).size(), 3);

  // No last slip of the reservation kind: 522.
  recorder.clear();
  auto r = editor(SlipWindowKind::Reservation);
  EXPECT_FALSE(r->copyLastSlip());
  EXPECT_EQ(recorder.numbers(), QList<long>{522});
}

TEST_F(EditorTest, PatternsAreRegisteredCopiedAndDeleted) {
  auto e = editor();
  ASSERT_TRUE(e->setClient(kShop));
  typeLine(*e, 0, QStringLiteral("T1"), 3);
  typeLine(*e, 1, QStringLiteral("C1"), 4);
  ASSERT_TRUE(e->registerPattern(7, QStringLiteral("ﾁ"), QStringLiteral("直売所の定番")));
  EXPECT_FALSE(e->registerPattern(7, QStringLiteral("ﾁ"), QStringLiteral("二度目")));
  EXPECT_EQ(recorder.numbers(), QList<long>{0});
  QList<S_FIXSLIPHD> patterns;
  ASSERT_TRUE(e->readPatterns(patterns));
  ASSERT_EQ(patterns.size(), 1);
  EXPECT_EQ(slText(patterns[0].name), QStringLiteral("直売所の定番"));

  auto other = editor();
  ASSERT_TRUE(other->copyPattern(7));  // unchanged: no question
  EXPECT_EQ(other->header().clientCode, kShop);
  EXPECT_EQ(other->model().usedLines(), 2);
  EXPECT_EQ(other->model().line(1).quantity, 4);
  recorder.clear();
  recorder.answer(MsgAnswer::No);
  EXPECT_FALSE(other->copyPattern(7));  // changed: 5115
  EXPECT_EQ(recorder.numbers(), QList<long>{5115});

  recorder.clear();
  recorder.answer(MsgAnswer::No);
  EXPECT_FALSE(other->deletePattern(7));
  ASSERT_TRUE(other->deletePattern(7));
  EXPECT_EQ(recorder.numbers(), QList<long>({100, 100}));
  ASSERT_TRUE(e->readPatterns(patterns));
  EXPECT_TRUE(patterns.isEmpty());
}

TEST_F(EditorTest, InsertIsRefusedOnADiscountAndWhenLine99IsUsed) {
  auto e = editor();
  ASSERT_TRUE(e->setClient(kMarket));
  typeLine(*e, 0, QStringLiteral("T1"), 1);
  ASSERT_EQ(e->model().setKind(1, kLineGoodsDiscount), 0);
  e->model().setName(1, QStringLiteral("値引"));
  typeLine(*e, 2, QStringLiteral("C1"), 2);

  e->setCurrent(3);  // an empty line: nothing happens
  EXPECT_FALSE(e->insertLine());
  e->setCurrent(1);
  EXPECT_FALSE(e->insertLine());
  EXPECT_EQ(recorder.numbers(), QList<long>{51002});
  e->setCurrent(2);
  ASSERT_TRUE(e->insertLine());
  EXPECT_TRUE(isEmptyLine(e->model().line(2)));
  EXPECT_EQ(slText(e->model().line(3).goodsCode), QStringLiteral("C1"));
  EXPECT_EQ(e->model().usedLines(), 4);

  for (int row = 4; row < kMaxSlipLines; ++row) typeLine(*e, row, QStringLiteral("T1"), 1);
  recorder.clear();
  e->setCurrent(0);
  EXPECT_FALSE(e->insertLine());
  EXPECT_EQ(recorder.numbers(), QList<long>{51003});
  EXPECT_EQ(slText(e->model().line(0).goodsCode), QStringLiteral("T1"));
}

TEST_F(EditorTest, DeletingAGoodsLineTakesItsDiscountAlongAndSaysSo) {
  auto e = editor();
  ASSERT_TRUE(e->setClient(kMarket));
  typeLine(*e, 0, QStringLiteral("C1"), 1);
  typeLine(*e, 1, QStringLiteral("T1"), 10);
  ASSERT_EQ(e->model().setKind(2, kLineGoodsDiscount), 0);
  e->model().setName(2, QStringLiteral("値引"));
  e->model().setAmount(2, 300);
  typeLine(*e, 3, QStringLiteral("C1"), 3);

  e->setCurrent(1);
  recorder.answer(MsgAnswer::No);
  EXPECT_FALSE(e->deleteLine());
  EXPECT_EQ(recorder.messages().first().text,
            CNmlMsg::text(100, QStringLiteral("番号[2]と[3] の明細行の２行")));
  EXPECT_EQ(e->model().usedLines(), 4);
  ASSERT_TRUE(e->deleteLine());
  EXPECT_EQ(e->model().usedLines(), 2);
  EXPECT_EQ(e->model().line(1).quantity, 3);
  EXPECT_EQ(e->header().grandTotal, 880);  // 200 + 600 and their tax

  recorder.clear();
  e->setCurrent(0);
  ASSERT_TRUE(e->deleteLine());
  EXPECT_EQ(recorder.messages().first().text, CNmlMsg::text(100, QStringLiteral("番号[1] の明細行")));
  EXPECT_EQ(e->model().usedLines(), 1);
}

TEST_F(EditorTest, CopyTakesALineAndPastesItWithItsRefusals) {
  auto e = editor();
  ASSERT_TRUE(e->setClient(kMarket));
  typeLine(*e, 0, QStringLiteral("T1"), 10);
  ASSERT_EQ(e->model().setKind(1, kLineGoodsDiscount), 0);
  e->model().setName(1, QStringLiteral("値引"));
  e->model().setAmount(1, 500);
  typeLine(*e, 2, QStringLiteral("C1"), 2);

  e->setCurrent(1);
  ASSERT_TRUE(e->copyLine());  // the discount line is held
  EXPECT_TRUE(e->clipboardHeld());
  e->setCurrent(4);  // the line above (4th) is empty
  EXPECT_FALSE(e->copyLine());
  e->setCurrent(1);  // onto a discount line
  EXPECT_FALSE(e->copyLine());
  e->setCurrent(0);  // onto a line followed by a discount line
  EXPECT_FALSE(e->copyLine());
  EXPECT_EQ(recorder.numbers(), QList<long>({51019, 51019, 51019}));
  EXPECT_TRUE(e->clipboardHeld());

  // Below a goods line: the discount takes that line's goods.
  recorder.clear();
  e->setCurrent(3);
  ASSERT_TRUE(e->copyLine());
  EXPECT_TRUE(recorder.empty());
  EXPECT_FALSE(e->clipboardHeld());
  const S_SELSLIP& pasted = e->model().line(3);
  EXPECT_EQ(pasted.kind, kLineGoodsDiscount);
  EXPECT_EQ(slText(pasted.goodsCode), QStringLiteral("C1"));
  EXPECT_EQ(pasted.quantity, 2);
  EXPECT_EQ(pasted.unitPrice, 200);
  EXPECT_EQ(pasted.amount, -500);

  // Over a line with a name: 5101; No leaves it.
  e->setCurrent(2);
  ASSERT_TRUE(e->copyLine());
  e->setCurrent(0);
  recorder.answer(MsgAnswer::No);
  EXPECT_FALSE(e->copyLine());  // line 0 is followed by its discount
  EXPECT_EQ(recorder.numbers(), QList<long>{51019});
  ASSERT_EQ(e->model().setKind(4, kLineMemo), 0);
  e->model().setName(4, QStringLiteral("メモ"));
  e->setCurrent(4);
  recorder.clear();
  recorder.answer(MsgAnswer::No);
  EXPECT_FALSE(e->copyLine());
  EXPECT_EQ(recorder.numbers(), QList<long>{5101});
  EXPECT_EQ(e->model().line(4).kind, kLineMemo);
  ASSERT_TRUE(e->copyLine());
  EXPECT_EQ(slText(e->model().line(4).goodsCode), QStringLiteral("C1"));

  // A discount pasted under a line that is not a goods line is cleared.
  e->setCurrent(1);
  ASSERT_TRUE(e->copyLine());
  e->setCurrent(5);
  ASSERT_EQ(e->model().setKind(5, kLineOther), 0);
  e->model().setName(5, QStringLiteral("その他"));
  e->setCurrent(6);
  ASSERT_EQ(e->model().setKind(6, kLineOther), 0);  // above it: kind 7
  recorder.clear();
  ASSERT_TRUE(e->copyLine());
  EXPECT_TRUE(isEmptyLine(e->model().line(6)));
}

TEST_F(EditorTest, NavigationAsksToSaveAChangedSlipAndKeepsToTheSearch) {
  storeSlip(QStringLiteral("1"), kMarket, 1, 20250601);
  storeSlip(QStringLiteral("2"), kShop, 1, 20250602);
  storeSlip(QStringLiteral("3"), kMarket, 1, 20250603);
  storeSlip(QStringLiteral("4"), kMarket, 1, 20250604);
  auto e = editor();
  ASSERT_TRUE(e->navigate(SlipMove::First));
  EXPECT_EQ(number(*e), QStringLiteral("1"));
  ASSERT_TRUE(e->navigate(SlipMove::Next));
  EXPECT_EQ(number(*e), QStringLiteral("2"));
  ASSERT_TRUE(e->navigate(SlipMove::Last));
  EXPECT_EQ(number(*e), QStringLiteral("4"));
  EXPECT_FALSE(e->navigate(SlipMove::Next));  // nothing after the last
  EXPECT_EQ(number(*e), QStringLiteral("4"));
  ASSERT_TRUE(e->navigate(SlipMove::Previous));
  EXPECT_EQ(number(*e), QStringLiteral("3"));
  EXPECT_TRUE(recorder.empty());

  // A changed slip: 5102; No leaves it unsaved, Yes saves it first.
  e->model().setQuantity(0, 8);
  recorder.answer(MsgAnswer::No);
  ASSERT_TRUE(e->navigate(SlipMove::Previous));
  EXPECT_EQ(number(*e), QStringLiteral("2"));
  EXPECT_EQ(storedLines(QStringLiteral("3"))[0].quantity, 1);
  e->model().setQuantity(0, 6);
  ASSERT_TRUE(e->navigate(SlipMove::Next));
  EXPECT_EQ(number(*e), QStringLiteral("3"));
  EXPECT_EQ(storedLines(QStringLiteral("2"))[0].quantity, 6);
  EXPECT_EQ(recorder.numbers(), QList<long>({5102, 5102}));

  // Within the search: the market's slips from the 2nd on.
  SlipSearch search;
  search.clientCode = kMarket;
  search.dateFrom = 20250602;
  e->setSearch(search);
  ASSERT_TRUE(e->navigate(SlipMove::First));
  EXPECT_EQ(number(*e), QStringLiteral("3"));
  EXPECT_FALSE(e->navigate(SlipMove::Previous));
  ASSERT_TRUE(e->navigate(SlipMove::Last));
  EXPECT_EQ(number(*e), QStringLiteral("4"));
  search.dateTo = 20250603;
  e->setSearch(search);
  ASSERT_TRUE(e->navigate(SlipMove::Last));  // the last within: 3
  EXPECT_EQ(number(*e), QStringLiteral("3"));
  e->setSearch(SlipSearch{});

  // From a new slip without a number, back goes to the last slip.
  ASSERT_TRUE(e->navigate(SlipMove::New));
  ASSERT_TRUE(e->enterSlipNumber(QString()));
  ASSERT_TRUE(e->navigate(SlipMove::Previous));
  EXPECT_EQ(number(*e), QStringLiteral("4"));
}

TEST_F(EditorTest, ClientInformationAndUnitPrices) {
  storeSlip(QStringLiteral("1"), kMarket);
  auto e = editor();
  S_CLIENTSEL market;
  ASSERT_EQ(store.ReadClient(kMarket, market), kSlOk);
  market.closeDay = 20;
  market.priceClass = 2;
  market.priceRate = 90;
  market.creditLimit = 500000;
  market.lastBillDate = 20250520;
  market.lastBillAmount = 12345;
  ASSERT_EQ(store.UpdateClient(market), kSlOk);
  ASSERT_TRUE(e->setClient(kMarket));
  const QList<InfoRow> info = e->clientInfo();
  QStringList captions, texts;
  for (const InfoRow& row : info) {
    captions << row.caption;
    texts << row.text;
  }
  EXPECT_EQ(captions, QStringList({"得意先名", "請求締日", "売値区分", "売値掛率", "税計算ﾀｲﾐﾝｸﾞ",
                                   "与信限度額", "売掛残高", "前回請求日", "前回請求額",
                                   "売上伝票枚数", "入金伝票枚数"}));
  EXPECT_EQ(texts, QStringList({"盛岡市場", "20日", "売値２", "90.0 %", "明細行ごと", "500,000",
                                "330", "2025/05/20", "12,345", "1 枚（予約含む）", "0 枚"}));

  typeLine(*e, 0, QStringLiteral("T1"), 3);
  const UnitPriceChoices choices = e->unitPriceChoices(0);
  ASSERT_TRUE(choices.found);
  EXPECT_EQ(choices.rate, 90);
  ASSERT_EQ(choices.prices.size(), 5);
  EXPECT_EQ(choices.prices[2].caption, QStringLiteral("売値２"));
  EXPECT_EQ(choices.prices[2].price, 320);
  EXPECT_DOUBLE_EQ(choices.prices[2].rated, 288);
  e->applyUnitPrice(0, 123.456);
  EXPECT_EQ(e->model().line(0).unitPrice, 123.45);
  EXPECT_EQ(e->model().line(0).amount, 370);  // 3 x 123.45 rounded
  EXPECT_FALSE(e->unitPriceChoices(5).found);
}

}  // namespace
}  // namespace editortest
