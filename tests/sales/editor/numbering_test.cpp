// New slips: the increment rule, the search for a free number within the
// environment's range with its progress and cancel, and a number typed
// while a stored slip is shown.
#include "tests/sales/editor/editor_fixture.h"

namespace editortest {
namespace {

QString incremented(const QString& number) {
  QString n = SlipEditor::rightAligned(number);
  return SlipEditor::incrementNumber(n) ? n.trimmed() : QStringLiteral("(overflow)");
}

TEST(SlipNumberIncrement, CarriesNinesAndLettersAndFailsWhenEverythingCarries) {
  EXPECT_EQ(incremented(QStringLiteral("1")), QStringLiteral("2"));
  EXPECT_EQ(incremented(QStringLiteral("99")), QStringLiteral("100"));
  EXPECT_EQ(incremented(QStringLiteral("A9")), QStringLiteral("100"));
  EXPECT_EQ(incremented(QStringLiteral("B-19")), QStringLiteral("B-20"));
  EXPECT_EQ(incremented(QStringLiteral("1Z")), QStringLiteral("20"));
  EXPECT_EQ(incremented(QString(13, u'9')), QStringLiteral("(overflow)"));
  EXPECT_EQ(incremented(QStringLiteral("A") + QString(12, u'9')), QStringLiteral("(overflow)"));
}

TEST_F(EditorTest, ANewSlipTakesTheNextFreeNumberAfterTheSavedOne) {
  storeSlip(QStringLiteral("99"), kMarket);
  storeSlip(QStringLiteral("100"), kMarket);
  auto e = editor();
  // The environment's last number is 100 (stored): 101 is the first free.
  EXPECT_EQ(number(*e), QStringLiteral("101"));
  EXPECT_EQ(e->header().slipKind, kKindCredit);
  EXPECT_EQ(e->header().slipDate, 20250603);  // the last saved slip's date
  EXPECT_EQ(e->header().newSlip, 1);
  EXPECT_FALSE(e->model().isChanged());

  // A stored slip saved while browsing: the next slip follows; a new slip
  // then takes the next free number after it.
  ASSERT_TRUE(e->enterSlipNumber(QStringLiteral("99")));  // stored: loaded
  EXPECT_TRUE(e->isStored());
  e->model().setQuantity(0, 5);
  ASSERT_TRUE(e->save());
  EXPECT_EQ(number(*e), QStringLiteral("100"));
  EXPECT_TRUE(e->isStored());
  ASSERT_TRUE(e->navigate(SlipMove::New));
  EXPECT_EQ(number(*e), QStringLiteral("101"));
  EXPECT_FALSE(e->isStored());
  EXPECT_EQ(storedLines(QStringLiteral("99")).first().quantity, 5);
}

TEST_F(EditorTest, TheSearchKeepsToTheRangeAndShowsItsProgress) {
  storeSlip(QStringLiteral("5"), kMarket);
  setEnvironment([](S_SELENV& env) {
    slSetText(env.slipNoLow, QStringLiteral("1000"));
    slSetText(env.slipNoHigh, QStringLiteral("1002"));
  });
  storeSlip(QStringLiteral("1000"), kMarket);
  setEnvironment([](S_SELENV& env) { slSetText(env.lastNoSales, QStringLiteral("5")); });
  auto e = std::make_unique<SlipEditor>(SlipWindowKind::Sales, &store, &calc, &errors, &notes);
  QList<int> steps;
  int done = 0;
  e->hooks().searchProgress = [&](int tried) {
    steps.append(tried);
    return true;
  };
  e->hooks().searchDone = [&] { ++done; };
  S_SELENV env;
  S_COMPANY company;
  ASSERT_EQ(store.ReadEnvironment(env), kSlOk);
  ASSERT_EQ(store.ReadCompany(company), kSlOk);
  e->start(env, company);
  // From 5 (stored): 6 is below the range, so its first number 1000
  // (stored), then 1001.
  EXPECT_EQ(number(*e), QStringLiteral("1001"));
  EXPECT_EQ(steps, QList<int>({1, 2}));
  EXPECT_EQ(done, 1);

  // Above the range no number is taken.
  EXPECT_EQ(e->freeNumberFrom(QStringLiteral("1000")), QStringLiteral("1001").rightJustified(13));
  storeSlip(QStringLiteral("1001"), kMarket);
  storeSlip(QStringLiteral("1002"), kMarket);
  EXPECT_EQ(e->freeNumberFrom(QStringLiteral("1000")), QString());
  // A free number is kept as it is, in the range or not.
  EXPECT_EQ(e->freeNumberFrom(QStringLiteral("7")), QStringLiteral("7").rightJustified(13));
  EXPECT_TRUE(recorder.empty());
}

TEST_F(EditorTest, CancellingOrOverflowingTheSearchLeavesTheNumberBlank) {
  storeSlip(QStringLiteral("7"), kMarket);
  auto e = std::make_unique<SlipEditor>(SlipWindowKind::Sales, &store, &calc, &errors, &notes);
  e->hooks().searchProgress = [](int) { return false; };
  S_SELENV env;
  S_COMPANY company;
  ASSERT_EQ(store.ReadEnvironment(env), kSlOk);
  ASSERT_EQ(store.ReadCompany(company), kSlOk);
  e->start(env, company);
  EXPECT_EQ(number(*e), QString());
  EXPECT_FALSE(e->model().isChanged());

  // Thirteen nines stored: nothing follows them.
  storeSlip(QString(13, u'9'), kMarket);
  auto after = editor();
  EXPECT_EQ(number(*after), QString());
  // A blank number is refused at save with the cursor on the number.
  after->setClient(kMarket);
  typeLine(*after, 0, QStringLiteral("T1"), 1);
  EXPECT_FALSE(after->save());
  EXPECT_EQ(recorder.numbers().last(), 51032);
  EXPECT_EQ(after->cursor().field, SlipField::SlipNo);
}

TEST_F(EditorTest, ReservationAndCashSaleWindowsStartTheirKinds) {
  auto reservation = editor(SlipWindowKind::Reservation);
  EXPECT_EQ(reservation->header().slipKind, kKindReservation);
  EXPECT_EQ(reservation->appType(), 1);
  S_COMPANY company;
  ASSERT_EQ(store.ReadCompany(company), kSlOk);
  company.cashSaleDefault = 1;
  ASSERT_EQ(store.UpdateCompany(company), kSlOk);
  EXPECT_EQ(editor()->header().slipKind, kKindCash);
}

TEST_F(EditorTest, AFreeNumberTypedOverAStoredSlipOffersTheCopy) {
  storeSlip(QStringLiteral("10"), kMarket, 2);
  {
    S_SELSLIPHD h = stored(QStringLiteral("10"));
    h.claimDate = 20250630;
    h.billed = 0;
    ASSERT_EQ(store.UpdateSlipHead(h), kSlOk);
  }
  auto e = editor();
  QList<CopyChoice> answers{CopyChoice::No, CopyChoice::HeaderOnly, CopyChoice::Whole};
  int asked = 0;
  e->hooks().askCopy = [&] { return answers.at(asked++); };

  ASSERT_TRUE(e->enterSlipNumber(QStringLiteral("10")));
  // No: the shown slip stays, the number field goes back.
  EXPECT_FALSE(e->enterSlipNumber(QStringLiteral("20")));
  EXPECT_EQ(number(*e), QStringLiteral("10"));
  EXPECT_TRUE(e->isStored());
  EXPECT_EQ(e->cursor().field, SlipField::SlipNo);

  // Header only: a new slip with the client, without lines and billing date.
  ASSERT_TRUE(e->enterSlipNumber(QStringLiteral("20")));
  EXPECT_FALSE(e->isStored());
  EXPECT_EQ(e->header().newSlip, 1);
  EXPECT_EQ(number(*e), QStringLiteral("20"));
  EXPECT_EQ(e->header().clientCode, kMarket);
  EXPECT_EQ(e->header().claimDate, 0);
  EXPECT_EQ(e->model().usedLines(), 0);

  // Whole slip: the lines come along and the copy saves as a slip of its own.
  ASSERT_TRUE(e->enterSlipNumber(QStringLiteral("10")));
  ASSERT_TRUE(e->enterSlipNumber(QStringLiteral("30")));
  EXPECT_EQ(e->model().usedLines(), 2);
  EXPECT_TRUE(e->model().isChanged());
  ASSERT_TRUE(e->save());
  EXPECT_EQ(storedLines(QStringLiteral("30")).size(), 2);
  EXPECT_EQ(storedLines(QStringLiteral("10")).size(), 2);
  EXPECT_EQ(asked, 3);
}

TEST_F(EditorTest, AFreeNumberOutsideTheRangeAsks5106First) {
  setEnvironment([](S_SELENV& env) {
    slSetText(env.slipNoLow, QStringLiteral("100"));
    slSetText(env.slipNoHigh, QStringLiteral("199"));
  });
  auto e = editor();
  recorder.answer(hv6::MsgAnswer::No);
  EXPECT_FALSE(e->enterSlipNumber(QStringLiteral("250")));
  EXPECT_EQ(recorder.numbers(), QList<long>{5106});
  EXPECT_EQ(e->cursor().field, SlipField::SlipNo);
  EXPECT_TRUE(e->enterSlipNumber(QStringLiteral("250")));  // Yes
  EXPECT_EQ(number(*e), QStringLiteral("250"));
  EXPECT_TRUE(e->enterSlipNumber(QStringLiteral("150")));  // in the range: no question
  EXPECT_EQ(recorder.numbers(), QList<long>({5106, 5106}));
  // Lower-case letters are taken as capitals (and 1A5 sorts above 199).
  EXPECT_TRUE(e->enterSlipNumber(QStringLiteral("1a5")));
  EXPECT_EQ(number(*e), QStringLiteral("1A5"));
  EXPECT_EQ(recorder.numbers(), QList<long>({5106, 5106, 5106}));
}

}  // namespace
}  // namespace editortest
