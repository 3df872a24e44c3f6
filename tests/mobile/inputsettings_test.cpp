// The mobile input settings without windows: loading, the items page's
// rules, the ledgers offered, the checks of OK, the save and the body.
#include "mobile/inputsettings.h"

#include "tests/mobile/inputsettings_fixture.h"

namespace {

using namespace hv6::mobile;
using MobileInputSettings = hv6test::InputSettingsTest;


QList<int> itemsOf(const QList<ItemLine>& lines) {
  QList<int> items;
  for (const ItemLine& line : lines) items.append(line.item);
  return items;
}

const ItemLine* lineOf(const QList<ItemLine>& lines, int item) {
  for (const ItemLine& line : lines)
    if (line.item == item) return &line;
  return nullptr;
}

QString storedText(CDaoDatabase& db, const QString& sql) {
  CDaoRecordset rs(&db);
  rs.Open(dbOpenSnapshot, sql);
  return rs.IsEOF() ? QStringLiteral("<none>") : rs.GetFieldValue(0).toString();
}

long storedLong(CDaoDatabase& db, const QString& sql) {
  CDaoRecordset rs(&db);
  rs.Open(dbOpenSnapshot, sql);
  return rs.IsEOF() ? -1 : rs.GetFieldValue(0).toLong();
}

TEST_F(MobileInputSettings, LoadReadsCaptionsFlagsActiveRowsAndTheirLookups) {
  buildSmallFarm();
  data.diary().Execute(QStringLiteral("UPDATE IWDryOption SET Vermin = 5 WHERE Code = 1"));
  // A Name of 13 double-byte characters and no IName: the first 6.
  master(QStringLiteral("CropMst"), 4, QString(13, QChar(u'長')));
  const InputSettings s = load();

  EXPECT_EQ(s.reserveCaptions[0], QStringLiteral("天気"));
  EXPECT_TRUE(s.reserveCaptions[1].isEmpty());
  EXPECT_EQ(s.materialNames[0], QStringLiteral("農薬"));
  EXPECT_TRUE(s.flag(kItemDay) && s.flag(kItemWork) && s.flag(kItemShizai) && s.flag(kItemReserve1));
  EXPECT_TRUE(s.flag(kItemVermin)) << "any nonzero value is on";
  EXPECT_FALSE(s.flag(kItemMachine) || s.flag(kItemScatter) || s.flag(kItemReserve2));

  // Active rows only, by Scode.
  ASSERT_EQ(s.rows(1).size(), 3);
  EXPECT_EQ(s.rows(1)[0].scode, 1);
  EXPECT_EQ(s.rows(1)[0].mobileName, QStringLiteral("トマト"));
  EXPECT_TRUE(s.rows(1)[0].use);
  EXPECT_EQ(s.rows(1)[0].startMonth, 4);
  EXPECT_EQ(s.rows(1)[0].endMonth, 10);
  EXPECT_FALSE(s.rows(1)[1].use);
  EXPECT_EQ(s.rows(1)[2].mobileName, QString(6, QChar(u'長')));
  EXPECT_EQ(s.rows(1)[2].name, QString(13, QChar(u'長')));

  ASSERT_EQ(s.rows(2).size(), 1);
  EXPECT_EQ(s.rows(2)[0].mobileName, QStringLiteral("ﾃｲｼｮｸ"));
  EXPECT_EQ(s.rows(2)[0].cropNumber, 1) << "the Scode of the crop, not its Code";
  ASSERT_EQ(s.rows(3).size(), 1);
  EXPECT_DOUBLE_EQ(s.rows(3)[0].area, 12.5);
  EXPECT_EQ(s.rows(3)[0].unitName, QStringLiteral("ａ"));
  EXPECT_TRUE(s.rows(5).isEmpty());
  ASSERT_EQ(s.rows(7).size(), 1);
  EXPECT_EQ(s.rows(7)[0].unitName, QStringLiteral("ml"));
  EXPECT_EQ(s.rows(7)[0].reserve[0], QStringLiteral("x,y"));
  EXPECT_EQ(s.rows(7)[0].cropNumber, 0) << "Null crop";
  EXPECT_TRUE(messages.empty());
}

// An IName stored longer than 12 bytes (by another program) is cut, never
// in the middle of a double-byte character.
TEST_F(MobileInputSettings, MobileNamesAreCutToTwelveBytesOnWholeCharacters) {
  master(QStringLiteral("CropMst"), 1, QStringLiteral("x"),
         {value("IName", COleVariant(QStringLiteral("a") + QString(7, QChar(u'菜'))))});
  master(QStringLiteral("CropMst"), 2, QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｻｼｽ"));
  const InputSettings s = load();
  EXPECT_EQ(s.rows(1)[0].mobileName, QStringLiteral("a") + QString(5, QChar(u'菜')));
  EXPECT_EQ(s.rows(1)[1].mobileName, QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｻｼ")) << "half-width katakana are one byte";
  EXPECT_EQ(mobileNameOf(QString(13, QChar(u'長'))), QString(6, QChar(u'長')));
}

TEST_F(MobileInputSettings, ALoadThatFailsShows2017AndLeavesTheSheetClosed) {
  data.diary().Execute(QStringLiteral("DROP TABLE IWDryOption"));
  InputSettings s;
  EXPECT_FALSE(loadInputSettings(data.diary(), s));
  EXPECT_EQ(messages.numbers(), QList<long>{2017});
}

TEST_F(MobileInputSettings, ItemLinesFollowTheRowsAndTheCaptions) {
  buildSmallFarm();
  InputSettings s = load();
  s.setFlag(kItemMachine, true);
  s.setFlag(kItemDay, false);
  QList<ItemLine> lines = itemLines(s);
  // Items 0-19 and the one reserve item with a caption, labelled by it.
  QList<int> expected;
  for (int i = 0; i <= 20; ++i) expected.append(i);
  EXPECT_EQ(itemsOf(lines), expected);
  EXPECT_EQ(lines.last().label, QStringLiteral("天気"));
  EXPECT_EQ(lines[1].label, QStringLiteral("作業"));
  EXPECT_EQ(lines[19].label, QStringLiteral("単位当り散布量"));
  // The date is checked and disabled; machines have no rows.
  EXPECT_TRUE(lines[0].checked);
  EXPECT_FALSE(lines[0].enabled);
  EXPECT_FALSE(lineOf(lines, kItemMachine)->checked);
  EXPECT_FALSE(lineOf(lines, kItemMachine)->enabled);
  EXPECT_TRUE(lineOf(lines, kItemWork)->checked && lineOf(lines, kItemWork)->enabled);
  EXPECT_TRUE(lineOf(lines, kItemShizai)->enabled) << "a material ledger has rows";

  // Taken back: enabled lines give their check, disabled ones 0 (but the
  // date, which is always entered), a reserve item without a line 0.
  s.setFlag(kItemReserve2, true);
  lines[kItemWork].checked = false;
  lines[kItemTotalArea].checked = true;
  takeItemLines(s, lines);
  EXPECT_FALSE(s.flag(kItemWork));
  EXPECT_TRUE(s.flag(kItemTotalArea));
  EXPECT_FALSE(s.flag(kItemMachine));
  EXPECT_TRUE(s.flag(kItemDay)) << "the date is always entered, so its flag stays 1";
  EXPECT_FALSE(s.flag(kItemReserve2));
  EXPECT_TRUE(s.flag(kItemReserve1));
}

TEST_F(MobileInputSettings, WithoutJobsOrMaterialsTheirItemsAreOffAndThreeEmptyCaptionsGiveTwentyLines) {
  master(QStringLiteral("CropMst"), 1, QStringLiteral("トマト"), {used()});
  data.diary().Execute(QStringLiteral(
      "UPDATE IWDryOption SET Work = 1, Shizai = 1, Quantity = 1, Dilute = 1, Scatter = 1, "
      "ReserveItem3 = 1 WHERE Code = 1"));
  InputSettings s = load();
  const QList<ItemLine> lines = itemLines(s);
  EXPECT_EQ(lines.size(), 20);
  for (int item : {kItemWork, kItemShizai, kItemDilute, kItemScatter}) {
    EXPECT_FALSE(lines[item].checked) << item;
    EXPECT_FALSE(lines[item].enabled) << item;
  }
  EXPECT_TRUE(lines[kItemQuantity].checked && lines[kItemQuantity].enabled)
      << "the quantity is left to the check of OK";
  takeItemLines(s, lines);
  EXPECT_FALSE(s.flag(kItemWork));
  EXPECT_FALSE(s.flag(kItemReserve3));
  // Validation then never asks about jobs; the quantity needs materials.
  EXPECT_FALSE(validateInputSettings(s));
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_EQ(messages.messages()[0].text,
            QStringLiteral("資材投下量を使用する場合は必ず資材の入力が必要になります。"));
  EXPECT_EQ(messages.messages()[0].buttons, hv6::MsgButtons::Ok);
}

TEST_F(MobileInputSettings, LedgersOfferedFollowTheItemsAndTheMaterialRows) {
  buildSmallFarm();
  InputSettings s = load();
  EXPECT_EQ(ledgersOffered(s), (QList<int>{1, 2, 3, 4, 7}));
  s.setFlag(kItemField, false);
  s.setFlag(kItemShizai, false);
  EXPECT_EQ(ledgersOffered(s), (QList<int>{1, 2, 4}));
  EXPECT_EQ(ledgerName(s, 7), QStringLiteral("農薬"));
  EXPECT_TRUE(ledgerName(s, 8).isEmpty());
}

// Each check of OK in order, with its exact text; the first failure ends.
TEST_F(MobileInputSettings, ValidationChecksInOrderWithTheirTexts) {
  buildSmallFarm();
  const InputSettings base = load();
  struct Case {
    const char* name;
    std::function<void(InputSettings&)> change;
    QString text;
  };
  const QList<Case> cases{
      {"rest times without work times",
       [](InputSettings& s) {
         s.setFlag(kItemRestStartEndTime, true);
         s.setFlag(kItemWorkFactTime, false);
       },
       QStringLiteral("休憩開始・終了時間を使用する場合は労働正味時間または労働開始・終了時間の入力が必要になります。")},
      {"machine rest times without machine times",
       [](InputSettings& s) { s.setFlag(kItemMRestStartEndTime, true); },
       QStringLiteral("機械休止開始・終了時間を使用する場合は機械稼働正味時間または機械稼働開始・終了時間の入力が必要になります。")},
      {"no crop",
       [](InputSettings& s) {
         s.setFlag(kItemMRestStartEndTime, true);
         s.setFlag(kItemMcnStartEndTime, true);
         for (LedgerRow& row : s.rows(1)) row.use = false;
       },
       QStringLiteral("品目台帳は必ず１つ以上データを選んでください。")},
      {"dilution without materials",
       [](InputSettings& s) {
         s.setFlag(kItemShizai, false);
         s.setFlag(kItemQuantity, false);
       },
       QStringLiteral("希釈倍率を使用する場合は必ず資材の入力が必要になります。")},
      {"spread amount without materials",
       [](InputSettings& s) {
         s.setFlag(kItemShizai, false);
         s.setFlag(kItemQuantity, false);
         s.setFlag(kItemDilute, false);
         s.setFlag(kItemScatter, true);
       },
       QStringLiteral("単位当り散布量を使用する場合は必ず資材の入力が必要になります。")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages.clear();
    InputSettings s = base;
    c.change(s);
    EXPECT_FALSE(validateInputSettings(s));
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages()[0].text, c.text);
    EXPECT_EQ(messages.messages()[0].caption, QStringLiteral("Harvo V6 Plus for Windows"));
    EXPECT_EQ(messages.messages()[0].icon, hv6::MsgIcon::Information);
  }
  messages.clear();
  InputSettings s = base;
  EXPECT_TRUE(validateInputSettings(s));
  EXPECT_TRUE(messages.empty());
}

TEST_F(MobileInputSettings, AnItemWithoutCheckedRowsIsSwitchedOffOnlyWhenTheUserAgrees) {
  buildSmallFarm();
  InputSettings s = load();
  for (LedgerRow& row : s.rows(3)) row.use = false;
  for (LedgerRow& row : s.rows(4)) row.use = false;
  messages.answer(hv6::MsgAnswer::Yes);
  messages.answer(hv6::MsgAnswer::No);
  EXPECT_FALSE(validateInputSettings(s));
  ASSERT_EQ(messages.messages().size(), 2);
  EXPECT_EQ(messages.messages()[0].text,
            QStringLiteral("ほ場台帳では使用するデータが選択されていません。\nほ場自体を使用しない設定に変更してもよろしいですか？"));
  EXPECT_EQ(messages.messages()[0].buttons, hv6::MsgButtons::YesNo);
  EXPECT_EQ(messages.messages()[1].text,
            QStringLiteral("作業者台帳では使用するデータが選択されていません。\n作業者自体を使用しない設定に変更してもよろしいですか？"));
  EXPECT_FALSE(s.flag(kItemField)) << "yes switched it off";
  EXPECT_TRUE(s.flag(kItemFarmer));
}

TEST_F(MobileInputSettings, MaterialsWithoutCheckedRowsAskOnceNamingTheCategories) {
  buildSmallFarm();
  master(QStringLiteral("FertilizerMst"), 1, QStringLiteral("化成"));
  InputSettings s = load();
  s.materialNames[2] = QStringLiteral("除草剤");
  for (LedgerRow& row : s.rows(7)) row.use = false;
  messages.answer(hv6::MsgAnswer::Yes);
  // Yes switches materials off; the quantity then needs them.
  EXPECT_FALSE(validateInputSettings(s));
  ASSERT_EQ(messages.messages().size(), 2);
  EXPECT_EQ(messages.messages()[0].text,
            QStringLiteral("肥料台帳、農薬、除草剤では使用するデータが選択されていません。\n"
                           "資材自体を使用しない設定に変更してもよろしいですか？"));
  EXPECT_FALSE(s.flag(kItemShizai));
  EXPECT_EQ(messages.messages()[1].text,
            QStringLiteral("資材投下量を使用する場合は必ず資材の入力が必要になります。"));

  messages.clear();
  s = load();
  for (LedgerRow& row : s.rows(7)) row.use = false;
  messages.answer(hv6::MsgAnswer::No);
  EXPECT_FALSE(validateInputSettings(s));
  EXPECT_TRUE(s.flag(kItemShizai));
  EXPECT_EQ(messages.messages().size(), 1);
}

// The flags and every row in one transaction, values bound: names with
// apostrophes, quotes and commas are stored as typed.
TEST_F(MobileInputSettings, SaveStoresFlagsAndRowsAsTheyAre) {
  buildSmallFarm();
  InputSettings s = load();
  s.rows(1)[0].mobileName = QStringLiteral("O'Neil\"s,1");
  s.rows(1)[1].use = true;
  s.rows(4)[0].mobileName = QStringLiteral("ﾔﾏﾀﾞ'ﾀﾛｳ");
  s.setFlag(kItemMachine, true);
  s.setFlag(kItemDay, false);
  ASSERT_TRUE(saveInputSettings(data.diary(), s));
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(storedText(data.diary(), QStringLiteral("SELECT IName FROM CropMst WHERE Scode = 1")),
            QStringLiteral("O'Neil\"s,1"));
  EXPECT_EQ(storedLong(data.diary(), QStringLiteral("SELECT IUse FROM CropMst WHERE Scode = 2")), 1);
  EXPECT_EQ(storedText(data.diary(), QStringLiteral("SELECT IName FROM FarmerMst WHERE Scode = 9")),
            QStringLiteral("ﾔﾏﾀﾞ'ﾀﾛｳ"));
  EXPECT_EQ(storedLong(data.diary(), QStringLiteral("SELECT Machine FROM IWDryOption WHERE Code = 1")), 1);
  EXPECT_EQ(storedLong(data.diary(), QStringLiteral("SELECT Day FROM IWDryOption WHERE Code = 1")), 0);
  EXPECT_EQ(storedLong(data.diary(), QStringLiteral("SELECT Crop FROM IWDryOption WHERE Code = 1")), 1);
  // Loaded again, the settings are the same.
  const InputSettings again = load();
  EXPECT_EQ(again.rows(1)[0].mobileName, s.rows(1)[0].mobileName);
  EXPECT_EQ(again.flags, s.flags);
}

// A row that cannot be written undoes the flags and the rows before it.
TEST_F(MobileInputSettings, AFailedRowUpdateKeepsTheDatabaseAsItWasAndShows2041) {
  buildSmallFarm();
  InputSettings s = load();
  s.setFlag(kItemMachine, true);
  s.rows(1)[0].mobileName = QStringLiteral("新しい名前");
  LedgerRow ghost;
  ghost.scode = 99;
  ghost.mobileName = QStringLiteral("ghost");
  s.rows(11).append(ghost);
  data.diary().Execute(QStringLiteral("DROP TABLE MaterialMst5"));
  EXPECT_FALSE(saveInputSettings(data.diary(), s));
  EXPECT_EQ(messages.numbers(), QList<long>{2041});
  EXPECT_EQ(storedLong(data.diary(), QStringLiteral("SELECT Machine FROM IWDryOption WHERE Code = 1")), 0);
  EXPECT_EQ(storedText(data.diary(), QStringLiteral("SELECT IName FROM CropMst WHERE Scode = 1")),
            QString());
}

// The body of the small farm, written out piece by piece.
TEST_F(MobileInputSettings, BodyOfASmallFarmMatchesTheFormatByteForByte) {
  buildSmallFarm();
  const InputSettings s = load();
  const QString empty6 = QStringLiteral("\"\",\"\",\"\",\"\",\"\",\"\",");
  QString expected;
  expected += QStringLiteral("farm01,pw,");                                   // id, password
  expected += QStringLiteral("24,");                                          // number of flags
  expected += QStringLiteral("1,");                                           // crop
  expected += QStringLiteral("1,1,1,1,0,1,0,0,0,0,0,0,0,0,0,1,1,1,0,0,1,0,0,");  // 23 flags
  expected += QStringLiteral("\"天気\",\"\",\"\",");                          // captions
  expected += QStringLiteral("11,");                                          // ledgers
  expected += QStringLiteral("1,品目台帳,1,") + QStringLiteral("1,トマト,,4,10,0.00,") + empty6;
  expected += QStringLiteral("2,作業台帳,1,") + QStringLiteral("5,ﾃｲｼｮｸ,1,5,6,0.00,") + empty6;
  expected += QStringLiteral("3,ほ場台帳,1,") +
              QStringLiteral("7,第1ほ場,1,,,12.50,\"ａ\",\"\",\"\",\"\",\"\",\"\",");
  expected += QStringLiteral("4,作業者台帳,1,") + QStringLiteral("9,山田太郎,,,,0.00,") + empty6;
  expected += QStringLiteral("5,機械台帳,0,");
  expected += QStringLiteral("6,肥料台帳,0,");
  // Vermin: "a" and 20 double-byte characters are 41 bytes; the 40th byte
  // is a lead byte, so the text ends after 19 of them.
  expected += QStringLiteral("7,農薬,1,") + QStringLiteral("11,ダコニール,,,,0.00,\"ml\",\"1000倍\",\"a") +
              QString(19, QChar(u'害')) + QStringLiteral("\",\"x,y\",\"\",\"\",");
  expected += QStringLiteral("8,,0,9,,0,10,,0,11,,0,");

  const QByteArray body = uploadBody(s, QStringLiteral("farm01"), QStringLiteral("pw"));
  EXPECT_EQ(hv6::cp932::decode(body), expected);
  EXPECT_EQ(body, hv6::cp932::encode(expected));
  EXPECT_FALSE(body.contains('\n') || body.contains('\r'));
}

TEST_F(MobileInputSettings, BodyCutsCaptionsAndNamesAndSendsNoRowsOfLedgersNotOffered) {
  buildSmallFarm();
  InputSettings s = load();
  s.reserveCaptions[1] = QString(21, QChar(u'予'));  // 42 bytes
  s.reserveCaptions[2] = QStringLiteral("x") + QString(20, QChar(u'予'));  // 41 bytes
  s.materialNames[1] = QStringLiteral("とても長い資材の名前");  // 20 bytes, cut to 12
  s.setFlag(kItemWork, false);
  const QString body = hv6::cp932::decode(uploadBody(s, QStringLiteral("id"), QStringLiteral("pw")));
  EXPECT_TRUE(body.contains(QStringLiteral("\"天気\",\"") + QString(20, QChar(u'予')) + QStringLiteral("\",\"x") +
                            QString(19, QChar(u'予')) + QStringLiteral("\",11,")));
  EXPECT_TRUE(body.contains(QStringLiteral(",2,作業台帳,0,3,ほ場台帳,1,7,")));
  EXPECT_TRUE(body.contains(QStringLiteral(",8,とても長い資,0,")));
}

// No flags stored at all: three empty captions and flags 0 for the
// reserve items; the date's flag is 1 all the same.
TEST_F(MobileInputSettings, BodyWithThreeEmptyCaptions) {
  master(QStringLiteral("CropMst"), 1, QStringLiteral("稲"), {used()});
  InputSettings s = load();
  takeItemLines(s, itemLines(s));
  const QString body = hv6::cp932::decode(uploadBody(s, QStringLiteral("id"), QStringLiteral("pw")));
  EXPECT_TRUE(body.startsWith(QStringLiteral(
      "id,pw,24,1,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,\"\",\"\",\"\",11,1,品目台帳,1,1,稲,,,,0.00,")))
      << body.toStdString();
}

TEST_F(MobileInputSettings, RowsWithCharactersTheWireCannotCarryAreListedBeforeTheConfirmation) {
  buildSmallFarm();
  InputSettings s = load();
  EXPECT_TRUE(unsendableRows(s).isEmpty());
  EXPECT_EQ(confirmationText(s),
            QStringLiteral("サーバにモバイル作業日誌入力の設定を転送します。\n転送を開始してもよろしいですか？"));
  s.rows(1)[0].mobileName = QStringLiteral("🍅トマト");
  s.rows(7)[0].dilute = QStringLiteral("1000×");  // × is in code page 932
  s.rows(4)[0].vermin = QStringLiteral("ß");
  s.rows(1)[1].mobileName = QStringLiteral("€");  // not checked: not sent
  EXPECT_EQ(unsendableRows(s),
            (QStringList{QStringLiteral("品目台帳：1 🍅トマト"), QStringLiteral("作業者台帳：9 山田太郎")}));
  EXPECT_TRUE(confirmationText(s).startsWith(QStringLiteral("次のデータには転送できない文字が含まれています。")));
  EXPECT_TRUE(hv6::cp932::decode(uploadBody(s, QStringLiteral("id"), QStringLiteral("pw")))
                  .contains(QStringLiteral(",1,?トマト,")));
}

}  // namespace
