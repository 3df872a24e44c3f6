// Every record the store keeps comes back field for field; masters refuse a
// code twice and a row that a slip names; the settings records start with
// their defaults.
#include "platform/dao/dao.h"
#include "tests/outside/sl_jet/store_fixture.h"

namespace {

using namespace sltest;

// Texts that fill their fields, with characters outside ASCII.
QString filled(int size, QChar c) { return QString(size, c); }

S_SELSLIPHD fullHeader() {
  S_SELSLIPHD h;
  slSetText(h.slipNo, QStringLiteral("    000012345"));
  h.slipDate = 20250614;
  h.slipKind = kKindCredit;
  h.taxRateCode = 1;
  h.billed = 1;
  h.shipped = 1;
  h.lineCount = 7;
  h.taxOutAmount = 10000;
  h.taxInAmount = 2000;
  h.noTaxAmount = 300;
  h.taxTotal = 1160;
  h.inTax = 160;
  h.adjustTax = -3;
  h.grandTotal = 13300;
  h.quantityTotal = 12.5;
  h.unitAverage = 960.25;
  for (int i = 0; i < kRateTotals; ++i) {
    h.rates[i].rateCode = static_cast<std::uint8_t>(i + 2);
    h.rates[i].used = 1;
    h.rates[i].taxOutAmount = 1000.0 * (i + 1);
    h.rates[i].taxInAmount = 200.0 * (i + 1);
    h.rates[i].tax = 80.0 + i;
  }
  h.clientCode = 31;
  h.clientType = 4;
  h.shipToCode = 5;
  h.personCode = 6;
  h.shipDate = 20250616;
  h.claimDate = 20250630;
  h.tagColor = 0xff0000;
  h.adPlan = 9;
  slSetText(h.memo, filled(40, QChar(0x30E1)));
  return h;
}

S_SELSLIP fullLine(int n) {
  S_SELSLIP l;
  slSetText(l.slipNo, QStringLiteral("    000012345"));
  l.slipDate = 20250614;
  l.slipKind = kKindCredit;
  l.clientCode = 31;
  l.lineNo = static_cast<std::uint8_t>(n);
  l.kind = kLineSale;
  slSetText(l.goodsCode, QStringLiteral("G%1").arg(n).leftJustified(13, QLatin1Char('X')));
  slSetText(l.goodsName, filled(36, QChar(0x30C8)));
  l.irisu = 6;
  l.boxes = 2.5;
  l.quantity = 2.5;
  slSetText(l.unit, QStringLiteral("ケース"));
  l.unitPrice = 1234.56;
  l.costPrice = 800.25;
  l.amount = 3086;
  l.tax = 246;
  l.taxRateCode = 1;
  l.taxClass = kTaxIncluded;
  l.simpleTaxClass = 3;
  l.cropCode = 11;
  l.fieldCode = 12;
  l.gradeCode = 13;
  l.standardCode = 14;
  l.buyerCode = 15;
  return l;
}

TEST_F(StoreTest, HeaderAndLinesComeBackFieldForField) {
  S_SELSLIPHD h = fullHeader();
  h.newSlip = 1;
  ASSERT_EQ(store.AppendSlipHead(h), kSlOk);
  EXPECT_GT(h.code, 0);
  EXPECT_EQ(h.newSlip, 0);
  S_SELSLIPHD back;
  ASSERT_EQ(store.ReadSlipHeadByCode(h.code, back), kSlOk);
  EXPECT_EQ(back, h);
  ASSERT_EQ(store.ReadSlipHead(0, QStringLiteral("    000012345"), back), kSlOk);
  EXPECT_EQ(back, h);

  QList<S_SELSLIP> lines;
  for (int n = 1; n <= kMaxSlipLines; ++n) lines.append(fullLine(n));
  ASSERT_EQ(store.WriteSlipLines(h.code, 0, lines), kSlOk);
  QList<S_SELSLIP> read;
  ASSERT_EQ(store.ReadSlipLines(h.code, read), kSlOk);
  EXPECT_EQ(read, lines);

  // One line more than a slip holds is refused and the stored ones stay.
  lines.append(fullLine(100));
  EXPECT_EQ(store.WriteSlipLines(h.code, 0, lines), kSlBadArgument);
  ASSERT_EQ(store.ReadSlipLines(h.code, read), kSlOk);
  EXPECT_EQ(read.size(), kMaxSlipLines);

  // The columns the calendar reads.
  CDaoRecordset slip(&data.diary());
  slip.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM Slip WHERE Code = ?"),
            {COleVariant(static_cast<long>(h.code))});
  EXPECT_EQ(slip.GetFieldValue(QStringLiteral("Sasihiki")).toLong(), 13300);
  EXPECT_EQ(slip.GetFieldValue(QStringLiteral("AppType")).toLong(), 0);
  EXPECT_EQ(slip.GetFieldValue(QStringLiteral("CustomerCode")).toLong(), 31);
  EXPECT_DOUBLE_EQ(slip.GetFieldValue(QStringLiteral("Suu_Kei")).toDouble(), 12.5);
  EXPECT_DOUBLE_EQ(slip.GetFieldValue(QStringLiteral("Unit_Ave")).toDouble(), 960.25);
  EXPECT_EQ(slip.GetFieldValue(QStringLiteral("ClaimDate")).toLong(), 20250630);
  EXPECT_EQ(slip.GetFieldValue(QStringLiteral("ShipDate")).toLong(), 20250616);
  CDaoRecordset detail(&data.diary());
  detail.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM SlipDetails WHERE SlipCode = ? AND LineNo = 1"),
              {COleVariant(static_cast<long>(h.code))});
  EXPECT_EQ(detail.GetFieldValue(QStringLiteral("Proceed")).toLong(), 3086);
  EXPECT_DOUBLE_EQ(detail.GetFieldValue(QStringLiteral("Suu")).toDouble(), 2.5);
  EXPECT_DOUBLE_EQ(detail.GetFieldValue(QStringLiteral("Tanka")).toDouble(), 1234.56);
  EXPECT_EQ(detail.GetFieldValue(QStringLiteral("AppType")).toLong(), 0);
  EXPECT_EQ(detail.GetFieldValue(QStringLiteral("CropCode")).toLong(), 11);
  EXPECT_EQ(detail.GetFieldValue(QStringLiteral("BuyerCode")).toLong(), 15);

  // An update writes every field again; a reservation slip moves to AppType 1.
  h.slipKind = kKindReservation;
  h.grandTotal = 500;
  slSetText(h.memo, QStringLiteral("変更"));
  ASSERT_EQ(store.UpdateSlipHead(h), kSlOk);
  ASSERT_EQ(store.ReadSlipHead(1, QStringLiteral("    000012345"), back), kSlOk);
  EXPECT_EQ(back, h);
  S_SELSLIPHD missing = h;
  missing.code = h.code + 100;
  EXPECT_EQ(store.UpdateSlipHead(missing), kSlNotFound);
  ASSERT_EQ(store.DeleteSlipHead(h.code), kSlOk);
  EXPECT_EQ(count(QStringLiteral("SlipDetails")), 0);
  EXPECT_EQ(store.ReadSlipHeadByCode(h.code, back), kSlNotFound);
  EXPECT_EQ(store.DeleteSlipHead(h.code), kSlNotFound);
}

TEST_F(StoreTest, SettingsStartWithTheirDefaultsAndComeBack) {
  S_COMPANY company;
  company.taxRates[0] = 42;  // must be replaced by the read
  ASSERT_EQ(store.ReadCompany(company), kSlOk);
  EXPECT_EQ(company.taxRates[0], 1000);
  EXPECT_EQ(company.taxRates[1], 800);
  EXPECT_EQ(company.reducedRate[0], 0);
  EXPECT_EQ(company.reducedRate[1], 1);
  EXPECT_EQ(company.amountRounding, kRoundHalfUp);
  EXPECT_EQ(company, defaultCompany());
  EXPECT_EQ(count(QStringLiteral("SalesCompany")), 1);
  S_SELENV env;
  slSetText(env.workFolder, QStringLiteral("x"));
  ASSERT_EQ(store.ReadEnvironment(env), kSlOk);
  EXPECT_EQ(env, S_SELENV{});
  EXPECT_EQ(count(QStringLiteral("SalesEnvironment")), 1);

  slSetText(company.name, filled(40, QChar(0x793E)));
  slSetText(company.postCode, QStringLiteral("020-0001"));
  slSetText(company.address1, filled(40, QChar(0x5CA9)));
  slSetText(company.address2, QStringLiteral("2-1"));
  slSetText(company.tel, QStringLiteral("019-600-0000"));
  slSetText(company.fax, QStringLiteral("019-600-0001"));
  slSetText(company.invoiceNo, QStringLiteral("T1234567890123"));
  company.amountRounding = kRoundTruncate;
  for (int i = 0; i < kTaxRateSlots; ++i) {
    company.taxRates[i] = 100 * (i + 1);
    company.reducedRate[i] = static_cast<std::uint8_t>(i % 2);
  }
  company.defaultTaxRateCode = 3;
  company.hideIrisu = 1;
  company.hideBoxes = 1;
  company.hideSimpleTax = 1;
  company.hideGrossProfit = 1;
  company.cashSaleDefault = 1;
  company.dateStyle = 1;
  ASSERT_EQ(store.UpdateCompany(company), kSlOk);
  S_COMPANY companyBack;
  ASSERT_EQ(store.ReadCompany(companyBack), kSlOk);
  EXPECT_EQ(companyBack, company);

  slSetText(env.slipNoLow, QStringLiteral("    000001000"));
  slSetText(env.slipNoHigh, QStringLiteral("    000009999"));
  slSetText(env.lastNoReservation, QStringLiteral("    000001005"));
  slSetText(env.lastNoSales, QStringLiteral("    000001010"));
  env.lastSlipDate = 20250614;
  env.wholeYenPrice = 1;
  env.workstation = 7;
  slSetText(env.workFolder, filled(260, QChar(0x30D5)));
  ASSERT_EQ(store.UpdateEnvironment(env), kSlOk);
  S_SELENV envBack;
  ASSERT_EQ(store.ReadEnvironment(envBack), kSlOk);
  EXPECT_EQ(envBack, env);
  EXPECT_EQ(count(QStringLiteral("SalesEnvironment")), 1);
}

TEST_F(StoreTest, MastersComeBackAndRefuseACodeTwice) {
  S_CLIENTSEL c = client(31, filled(40, QChar(0x5E02)));
  slSetText(c.kana, filled(20, QChar(0xFF76)));
  slSetText(c.postCode, QStringLiteral("020-0002"));
  slSetText(c.address1, QStringLiteral("盛岡市1"));
  slSetText(c.address2, QStringLiteral("ビル3F"));
  slSetText(c.tel, QStringLiteral("019-000-0000"));
  c.clientType = 2;
  c.taxTiming = kTimingPerSlip;
  c.taxRounding = kRoundHalfUp;
  c.closeDay = 20;
  c.priceClass = 2;
  c.priceRate = 95.5;
  c.creditLimit = 1000000;
  c.balance = 12345;
  c.salesTotal = 67890;
  c.salesSlipCount = 4;
  c.paymentSlipCount = 2;
  c.lastSlipDate = 20250601;
  c.lastBillDate = 20250520;
  c.lastBillAmount = 4321;
  ASSERT_EQ(store.AppendClient(c), kSlOk);
  S_CLIENTSEL clientBack;
  ASSERT_EQ(store.ReadClient(31, clientBack), kSlOk);
  EXPECT_EQ(clientBack, c);
  EXPECT_EQ(count(QStringLiteral("CustomerMst WHERE Code = 31 AND Scode = 31 AND Use = 0")), 1);
  S_CLIENTSEL other = client(31, QStringLiteral("別"));
  EXPECT_EQ(store.AppendClient(other), kSlDuplicate);
  ASSERT_EQ(store.ReadClient(31, clientBack), kSlOk);
  EXPECT_EQ(clientBack, c);
  c.balance = 1;
  ASSERT_EQ(store.UpdateClient(c), kSlOk);
  ASSERT_EQ(store.ReadClient(31, clientBack), kSlOk);
  EXPECT_EQ(clientBack.balance, 1);
  EXPECT_EQ(store.UpdateClient(client(99, QStringLiteral("無"))), kSlNotFound);
  EXPECT_EQ(store.ReadClient(99, clientBack), kSlNotFound);
  EXPECT_EQ(clientBack, c);  // a failed read leaves the record

  // A client of the farm diary's master list reads with the sales defaults.
  const long farm = data.addMaster(QStringLiteral("CustomerMst"), 5, QStringLiteral("農協"));
  ASSERT_EQ(store.ReadClient(static_cast<std::int32_t>(farm), clientBack), kSlOk);
  EXPECT_EQ(slText(clientBack.name), QStringLiteral("農協"));
  EXPECT_EQ(clientBack.taxTiming, kTimingPerLine);
  EXPECT_EQ(clientBack.closeDay, 31);
  EXPECT_EQ(clientBack.priceRate, 100);
  // Updating it keeps its user-visible number.
  ASSERT_EQ(store.UpdateClient(clientBack), kSlOk);
  EXPECT_EQ(count(QStringLiteral("CustomerMst WHERE Scode = 5")), 1);
  data.addMaster(QStringLiteral("CustomerMst"), 6, QStringLiteral("休止"), 1);
  QList<S_CLIENTSEL> all;
  ASSERT_EQ(store.ReadClients(all), kSlOk);
  ASSERT_EQ(all.size(), 2);  // the inactive one is left out
  EXPECT_LT(all.at(0).code, all.at(1).code);

  S_COMMODITY g;
  slSetText(g.code, QStringLiteral("TOMATO-L-0001"));
  slSetText(g.name, filled(36, QChar(0x30C8)));
  slSetText(g.kana, QStringLiteral("ﾄﾏﾄ"));
  slSetText(g.unit, QStringLiteral("箱"));
  g.irisu = 24;
  g.standardPrice = 1500;
  g.price1 = 1400;
  g.price2 = 1300;
  g.price3 = 1200;
  g.costPrice = 900.5;
  g.minimumPrice = 1000;
  g.checkMinimum = 1;
  g.taxClass = kTaxIncluded;
  g.taxRateCode = 1;
  g.simpleTaxClass = 2;
  ASSERT_EQ(store.AppendGoods(g), kSlOk);
  S_COMMODITY goodsBack;
  ASSERT_EQ(store.ReadGoods(QStringLiteral("TOMATO-L-0001"), goodsBack), kSlOk);
  EXPECT_EQ(goodsBack, g);
  EXPECT_EQ(store.AppendGoods(g), kSlDuplicate);
  S_COMMODITY second = g;
  slSetText(second.code, QStringLiteral("A"));
  ASSERT_EQ(store.AppendGoods(second), kSlOk);
  QList<S_COMMODITY> batch;
  ASSERT_EQ(store.ReadGoodsBatch(QString(), 1, batch), kSlOk);
  ASSERT_EQ(store.ReadGoodsBatch(slText(batch.last().code), 5, batch), kSlOk);
  EXPECT_EQ(store.ReadGoodsBatch(slText(batch.last().code), 5, batch), kSlEnd);
  ASSERT_EQ(batch.size(), 2);
  EXPECT_EQ(slText(batch.at(0).code), QStringLiteral("A"));
  EXPECT_EQ(batch.at(1), g);

  S_PERSON p{3, {}};
  slSetText(p.name, filled(20, QChar(0x4F50)));
  ASSERT_EQ(store.AppendPerson(p), kSlOk);
  EXPECT_EQ(store.AppendPerson(p), kSlDuplicate);
  S_PERSON personBack;
  ASSERT_EQ(store.ReadPerson(3, personBack), kSlOk);
  EXPECT_EQ(personBack, p);

  S_SHIPTO s;
  s.code = 8;
  s.clientCode = 31;
  slSetText(s.name, QStringLiteral("発送先"));
  slSetText(s.postCode, QStringLiteral("100-0001"));
  slSetText(s.address1, QStringLiteral("東京都"));
  slSetText(s.address2, QStringLiteral("千代田区"));
  slSetText(s.tel, QStringLiteral("03-0000-0000"));
  s.used = 1;
  ASSERT_EQ(store.AppendShipTo(s), kSlOk);
  EXPECT_EQ(store.AppendShipTo(s), kSlDuplicate);
  S_SHIPTO shipBack;
  ASSERT_EQ(store.ReadShipTo(8, shipBack), kSlOk);
  EXPECT_EQ(shipBack, s);
  QList<S_SHIPTO> shipTos;
  ASSERT_EQ(store.ReadShipTos(shipTos), kSlOk);
  EXPECT_EQ(shipTos, QList<S_SHIPTO>{s});

  S_PLAN plan{4, {}};
  slSetText(plan.name, QStringLiteral("夏のフェア"));
  ASSERT_EQ(store.AppendPlan(plan), kSlOk);
  EXPECT_EQ(store.AppendPlan(plan), kSlDuplicate);
  QList<S_PLAN> planList;
  ASSERT_EQ(store.ReadPlans(planList), kSlOk);
  EXPECT_EQ(planList, QList<S_PLAN>{plan});

  S_BILLSUM bill{31, 20250520, 54321, 4321};
  S_BILLSUM billBack;
  EXPECT_EQ(store.ReadBillSum(31, billBack), kSlNotFound);
  ASSERT_EQ(store.UpdateBillSum(bill), kSlOk);
  ASSERT_EQ(store.ReadBillSum(31, billBack), kSlOk);
  EXPECT_EQ(billBack, bill);
  bill.lastBillAmount = 1;
  ASSERT_EQ(store.UpdateBillSum(bill), kSlOk);
  ASSERT_EQ(store.ReadBillSum(31, billBack), kSlOk);
  EXPECT_EQ(billBack, bill);
}

TEST_F(StoreTest, AMasterThatASlipNamesIsNotDeleted) {
  ASSERT_EQ(store.AppendClient(client(31, QStringLiteral("市場"))), kSlOk);
  ASSERT_EQ(store.AppendClient(client(32, QStringLiteral("直売所"))), kSlOk);
  S_PERSON person{3, {}};
  ASSERT_EQ(store.AppendPerson(person), kSlOk);
  S_COMMODITY goods;
  slSetText(goods.code, QStringLiteral("G1"));
  ASSERT_EQ(store.AppendGoods(goods), kSlOk);
  S_SHIPTO shipTo;
  shipTo.code = 8;
  ASSERT_EQ(store.AppendShipTo(shipTo), kSlOk);
  S_SELSLIPHD h = header(QStringLiteral("1"), 20250603, kKindCredit, 31, 1000);
  h.personCode = 3;
  h.shipToCode = 8;
  ASSERT_TRUE(calc.UpdateClientSelslip(nullptr, h, h, {line(QStringLiteral("G1"), 1, 1000)},
                                       kStoreAppended));

  EXPECT_EQ(store.DeleteClient(31), kSlInUse);
  EXPECT_EQ(store.DeletePerson(3), kSlInUse);
  EXPECT_EQ(store.DeleteGoods(QStringLiteral("G1")), kSlInUse);
  EXPECT_EQ(store.DeleteShipTo(8), kSlInUse);
  S_SELSLIPHD user;
  ASSERT_EQ(store.FindSlipUsing(SlMaster::Goods, QStringLiteral("G1"), user), kSlOk);
  EXPECT_EQ(user, h);
  ASSERT_EQ(store.FindSlipUsing(SlMaster::Client, QStringLiteral("31"), user), kSlOk);
  EXPECT_EQ(user.code, h.code);
  EXPECT_EQ(store.FindSlipUsing(SlMaster::Client, QStringLiteral("32"), user), kSlNotFound);
  EXPECT_EQ(store.DeleteClient(32), kSlOk);
  EXPECT_EQ(store.DeleteClient(32), kSlNotFound);

  ASSERT_TRUE(calc.UpdateClientSelslip(nullptr, h, h, {}, kRemoveStored));
  EXPECT_EQ(store.DeleteClient(31), kSlOk);
  EXPECT_EQ(store.DeletePerson(3), kSlOk);
  EXPECT_EQ(store.DeleteGoods(QStringLiteral("G1")), kSlOk);
  EXPECT_EQ(store.DeleteShipTo(8), kSlOk);
}

TEST_F(StoreTest, StandardPatternsComeBackWithTheirLines) {
  S_FIXSLIPHD pattern;
  pattern.code = 12;
  slSetText(pattern.initialKey, QStringLiteral("ﾄﾏﾄ"));
  slSetText(pattern.name, filled(30, QChar(0x5B9A)));
  pattern.header = fullHeader();
  pattern.header.code = 77;
  pattern.header.newSlip = 1;
  QList<S_SELSLIP> lines{fullLine(1), fullLine(2), fullLine(3)};
  ASSERT_EQ(store.AppendFixSlip(pattern, lines), kSlOk);
  EXPECT_EQ(store.AppendFixSlip(pattern, lines), kSlDuplicate);
  S_FIXSLIPHD other = pattern;
  other.code = 3;
  ASSERT_EQ(store.AppendFixSlip(other, {fullLine(1)}), kSlOk);

  S_FIXSLIPHD back;
  QList<S_SELSLIP> backLines;
  ASSERT_EQ(store.ReadFixSlip(12, back, backLines), kSlOk);
  EXPECT_EQ(back, pattern);
  EXPECT_EQ(backLines, lines);
  QList<S_FIXSLIPHD> heads;
  ASSERT_EQ(store.ReadFixSlipHeads(heads), kSlOk);
  EXPECT_EQ(heads, (QList<S_FIXSLIPHD>{other, pattern}));

  ASSERT_EQ(store.DeleteFixSlip(12), kSlOk);
  EXPECT_EQ(store.ReadFixSlip(12, back, backLines), kSlNotFound);
  EXPECT_EQ(count(QStringLiteral("SalesPatternDetails")), 1);
  EXPECT_EQ(store.DeleteFixSlip(12), kSlNotFound);
}

TEST_F(StoreTest, SlipNumbersAreUniqueWithinTheirAppTypeAndHaveNeighbours) {
  S_SELSLIPHD sale = header(QStringLiteral("5"), 20250603, kKindCash, 0, 0);
  ASSERT_EQ(store.AppendSlipHead(sale), kSlOk);
  S_SELSLIPHD again = header(QStringLiteral("5"), 20250604, kKindCredit, 0, 0);
  EXPECT_EQ(store.AppendSlipHead(again), kSlDuplicate);
  EXPECT_EQ(again.code, 0);
  S_SELSLIPHD reservation = header(QStringLiteral("5"), 20250604, kKindReservation, 0, 0);
  ASSERT_EQ(store.AppendSlipHead(reservation), kSlOk);
  for (const char* number : {"12", "7"}) {
    S_SELSLIPHD h = header(QString::fromLatin1(number), 20250601, kKindCash, 0, 0);
    ASSERT_EQ(store.AppendSlipHead(h), kSlOk);
  }
  bool exists = false;
  ASSERT_EQ(store.ExistSlipHead(0, QStringLiteral("5").rightJustified(13), exists), kSlOk);
  EXPECT_TRUE(exists);
  ASSERT_EQ(store.ExistSlipHead(1, QStringLiteral("7").rightJustified(13), exists), kSlOk);
  EXPECT_FALSE(exists);

  S_SELSLIPHD h;
  ASSERT_EQ(store.ReadNextSlipHead(0, QStringLiteral("5").rightJustified(13), h), kSlOk);
  EXPECT_EQ(slText(h.slipNo).trimmed(), QStringLiteral("7"));
  ASSERT_EQ(store.ReadPrevSlipHead(0, QStringLiteral("12").rightJustified(13), h), kSlOk);
  EXPECT_EQ(slText(h.slipNo).trimmed(), QStringLiteral("7"));
  EXPECT_EQ(store.ReadPrevSlipHead(0, QStringLiteral("5").rightJustified(13), h), kSlEnd);
  EXPECT_EQ(slText(h.slipNo).trimmed(), QStringLiteral("7"));  // left as it was
  ASSERT_EQ(store.ReadLastSlipHead(0, h), kSlOk);
  EXPECT_EQ(slText(h.slipNo).trimmed(), QStringLiteral("12"));
  ASSERT_EQ(store.ReadLastSlipHead(1, h), kSlOk);
  EXPECT_EQ(h, reservation);
  EXPECT_EQ(store.ReadNextSlipHead(1, QStringLiteral("5").rightJustified(13), h), kSlEnd);
  ASSERT_EQ(store.DeleteSlipHead(reservation.code), kSlOk);
  EXPECT_EQ(store.ReadLastSlipHead(1, h), kSlNotFound);
}

TEST_F(StoreTest, BatchReadingFollowsDateAndNumberWithinTheScope) {
  // Headers out of order, in both AppTypes, with planned shipping dates.
  struct Row {
    const char* number;
    std::int32_t date;
    std::uint8_t kind;
    std::int32_t ship;
  };
  const Row rows[] = {{"9", 20250605, kKindCash, 20250606},   {"3", 20250603, kKindCredit, 20250610},
                      {"1", 20250605, kKindCredit, 20250605}, {"4", 20250601, kKindReservation, 20250620},
                      {"2", 20250603, kKindCash, 20250603},   {"8", 20250710, kKindCredit, 20250711},
                      {"6", 20250529, kKindCredit, 20250530}, {"5", 20250603, kKindReservation, 20250604}};
  for (const Row& row : rows) {
    S_SELSLIPHD h = header(QString::fromLatin1(row.number), row.date, row.kind, 0, 0);
    h.shipDate = row.ship;
    ASSERT_EQ(store.AppendSlipHead(h), kSlOk);
  }
  // A row without a number (not a slip the store wrote) is neither read nor counted.
  hv6test::TempDataFolder::insertRow(data.diary(), QStringLiteral("Slip"),
                                     {{QStringLiteral("SlipDate"), COleVariant(20250603L)},
                                      {QStringLiteral("AppType"), COleVariant(0)}});
  const auto numbers = [](const QList<S_SELSLIPHD>& list) {
    QStringList out;
    for (const S_SELSLIPHD& h : list) out.append(slText(h.slipNo).trimmed());
    return out.join(QLatin1Char(' '));
  };
  const auto readAll = [&](const SlipScope& scope, const HeaderFilter& filter, int max) {
    store.ResetSlipHeadReading();
    QList<S_SELSLIPHD> list;
    int calls = 0;
    int status = kSlOk;
    while ((status = store.ReadSlipHeads(scope, filter, max, list)) == kSlOk) {
      ++calls;
      EXPECT_LE(list.size(), calls * max);
    }
    EXPECT_EQ(status, kSlEnd);
    return numbers(list);
  };

  EXPECT_EQ(readAll({}, nullptr, 3), QStringLiteral("6 4 2 3 5 1 9 8"));
  EXPECT_EQ(readAll({}, nullptr, 100), QStringLiteral("6 4 2 3 5 1 9 8"));
  const HeaderFilter credit = [](const S_SELSLIPHD& h) { return h.slipKind == kKindCredit; };
  EXPECT_EQ(readAll({}, credit, 1), QStringLiteral("6 3 1 8"));
  SlipScope june;
  june.appType = 0;
  june.dateFrom = 20250601;
  june.dateTo = 20250630;
  EXPECT_EQ(readAll(june, nullptr, 2), QStringLiteral("2 3 1 9"));
  EXPECT_EQ(readAll(june, credit, 2), QStringLiteral("3 1"));
  SlipScope shipping;
  shipping.appType = -1;
  shipping.shipFrom = 20250604;
  shipping.shipTo = 20250610;
  EXPECT_EQ(readAll(shipping, nullptr, 2), QStringLiteral("3 5 1 9"));
  SlipScope open;
  open.dateTo = 20250603;
  EXPECT_EQ(readAll(open, nullptr, 10), QStringLiteral("6 4 2 3 5"));

  int n = 0;
  ASSERT_EQ(store.CountSlipHeads(june, nullptr, n), kSlOk);
  EXPECT_EQ(n, 4);
  ASSERT_EQ(store.CountSlipHeads(june, credit, n), kSlOk);
  EXPECT_EQ(n, 2);
  ASSERT_EQ(store.CountSlipHeads({}, nullptr, n), kSlOk);
  EXPECT_EQ(n, 8);

  // Reading goes on from where it stopped until reset.
  store.ResetSlipHeadReading();
  QList<S_SELSLIPHD> part;
  ASSERT_EQ(store.ReadSlipHeads({}, nullptr, 2, part), kSlOk);
  ASSERT_EQ(store.ReadSlipHeads({}, nullptr, 2, part), kSlOk);
  EXPECT_EQ(numbers(part), QStringLiteral("6 4 2 3"));
  store.ResetSlipHeadReading();
  part.clear();
  ASSERT_EQ(store.ReadSlipHeads({}, nullptr, 1, part), kSlOk);
  EXPECT_EQ(numbers(part), QStringLiteral("6"));
  EXPECT_EQ(store.ReadSlipHeads({}, nullptr, 0, part), kSlBadArgument);
}

}  // namespace

namespace {

using namespace sltest;

// The program closes and opens the database again (data tools, a new data
// folder): the store goes on with the new connection.
TEST_F(StoreTest, TheStoreFollowsTheDatabaseWhenItIsOpenedAgain) {
  ASSERT_EQ(store.AppendClient(client(31, QStringLiteral("市場"))), kSlOk);
  S_CLIENTSEL c;
  ASSERT_EQ(store.ReadClient(31, c), kSlOk);
  data.diary().Close();
  EXPECT_EQ(store.ReadClient(31, c), kJetNotOpen);
  data.diary().Open(data.diaryPath());
  c = S_CLIENTSEL{};
  ASSERT_EQ(store.ReadClient(31, c), kSlOk);
  EXPECT_EQ(slText(c.name), QStringLiteral("市場"));
  EXPECT_EQ(store.AppendClient(client(32, QStringLiteral("直売所"))), kSlOk);
}

}  // namespace
