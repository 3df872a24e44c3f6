// The field-location editor: loading with the link repair, the ordering,
// modify, delete and add with their checks, new points, and the transaction.
#include "tests/weather/fieldlocation_fixture.h"

#include "weather/fieldlocation.h"

namespace {

using hv6::FieldLocationEditor;
using hv6::NodeKind;
using hv6::NodeRef;
using hv6::PointValues;
using Outcome = hv6::FieldLocationEditor::Outcome;

QList<long> codesOf(const QList<hv6::PointEntry>& points) {
  QList<long> codes;
  for (const hv6::PointEntry& entry : points) codes << entry.values.code;
  return codes;
}

NodeRef pointNode(long code) { return {NodeKind::Point, code, 0}; }
NodeRef fieldNode(long code, long point) { return {NodeKind::Field, code, point}; }

TEST(PointNodeText, ShowsNumberCoordinatesAndEraPeriod) {
  PointValues p{3, 2, 35, 41, 22, 139, 41, 30, 20030630, 0};
  EXPECT_EQ(hv6::pointNodeText(p),
            QStringLiteral("観測地点 2 : 緯度35゜41´22″/ 経度139゜41´30″H.15/06/30"));
  p = {3, 1, 5, 0, 9, 9, 7, 0, 20190501, 20230331};
  EXPECT_EQ(hv6::pointNodeText(p),
            QStringLiteral("観測地点 1 : 緯度 5゜ 0´ 9″/ 経度  9゜ 7´ 0″R.01/05/01 - R.05/03/31"));
  // No era form: the start reads H.00/00/00, the end is left out.
  EXPECT_EQ(hv6::periodText(18000101, 0), QStringLiteral("H.00/00/00"));
  EXPECT_EQ(hv6::periodText(0, 0), QStringLiteral("H.00/00/00"));
  EXPECT_EQ(hv6::periodText(20030630, 20031399), QStringLiteral("H.15/06/30"));
}

TEST(ObservationSlots, NumbersOneToSixOnly) {
  hv6::ObservationSlots slots;
  EXPECT_EQ(slots.find(0), 1);
  slots.use(1, 11);
  slots.use(3, 33);
  slots.use(0, 99);
  slots.use(7, 77);
  slots.use(-1, 55);
  EXPECT_EQ(slots.find(11), 1);
  EXPECT_EQ(slots.find(33), 3);
  EXPECT_EQ(slots.find(99), -1);
  EXPECT_EQ(slots.find(77), -1);
  EXPECT_EQ(slots.find(0), 2);
  EXPECT_FALSE(slots.isUsed(0));
  EXPECT_FALSE(slots.isUsed(7));
  EXPECT_EQ(slots.codeOf(3), 33);
  slots.release(11);
  EXPECT_EQ(slots.find(0), 1);
  EXPECT_EQ(slots.find(11), -1);
  for (int num = 1; num <= 6; ++num) slots.use(num, num * 100);
  EXPECT_EQ(slots.find(0), -1);
}

using FieldLocationEditorTest = hv6test::FieldLocationTest;

TEST_F(FieldLocationEditorTest, StartRemovesLinksOfDeletedFieldsAndSays2209) {
  const long point = addPoint(1, 35, 139, 20200401);
  const long kept = addField(QStringLiteral("東の畑"), 1);
  const long gone = addField(QStringLiteral("西の畑"), 2);
  link(point, kept);
  link(point, gone);
  hv6test::TempDataFolder::insertRow(data.weather(), QStringLiteral("TargetField"),
                            {{QStringLiteral("Location"), COleVariant(point)}});
  data.diary().Execute(QStringLiteral("DELETE FROM FieldMst WHERE Code = ?"), {COleVariant(gone)});
  {
    FieldLocationEditor editor(&data.diary(), &data.weather(), slots);
    ASSERT_TRUE(editor.start());
    EXPECT_EQ(messages.numbers(), QList<long>{2209});
    ASSERT_EQ(editor.currentPoints().size(), 1);
    EXPECT_EQ(editor.currentPoints().first().fields, QList<long>{kept});
    EXPECT_TRUE(editor.rollback());
  }
  // The repair is kept although the dialog was cancelled; the link without
  // a field is left alone.
  EXPECT_EQ(linkedFields(point), (QList<long>{0, kept}));
  messages.clear();
  FieldLocationEditor again(&data.diary(), &data.weather(), slots);
  ASSERT_TRUE(again.start());
  EXPECT_TRUE(messages.empty());
}

TEST_F(FieldLocationEditorTest, PointsAreOrderedAndSplitAndOnlyNumbersOneToSixTakeSlots) {
  const long south = addPoint(1, 33, 130, 20200401);
  const long northEnded = addPoint(2, 43, 141, 20150401, 20190331);
  const long northEndedLater = addPoint(2, 43, 141, 20100401, 20210331, 5);
  const long north = addPoint(2, 43, 142, 20210401);
  const long odd = addPoint(9, 36, 138, 20220401);
  const long zero = addPoint(0, 37, 138, 20220401);
  FieldLocationEditor editor(&data.diary(), &data.weather(), slots);
  ASSERT_TRUE(editor.start());
  EXPECT_EQ(codesOf(editor.currentPoints()), (QList<long>{south, odd, zero, north}));
  EXPECT_EQ(codesOf(editor.endedPoints()), (QList<long>{northEndedLater, northEnded}));
  EXPECT_EQ(slots.find(south), 1);
  EXPECT_EQ(slots.find(north), 2);
  EXPECT_EQ(slots.find(odd), -1);
  EXPECT_EQ(slots.find(zero), -1);
  EXPECT_EQ(slots.find(northEnded), -1);
  EXPECT_TRUE(messages.empty());
}

TEST_F(FieldLocationEditorTest, FieldsAreOrderedBySeqCodeThenCodeAndOnlyFreeOnesInUseListed) {
  const long point = addPoint(1, 35, 139, 20200401);
  const long ended = addPoint(2, 36, 139, 20100401, 20150331);
  const long c = addField(QStringLiteral("c"), 5);
  const long a = addField(QStringLiteral("a"), 2);
  const long b = addField(QStringLiteral("b"), 2);
  const long noSeq = addField(QStringLiteral("無"), -1);
  const long idle = addField(QStringLiteral("休"), 1, 1);
  const long tied = addField(QStringLiteral("tied"), 0);
  const long tiedToo = addField(QStringLiteral("tied too"), 9);
  const long past = addField(QStringLiteral("past"), 3);
  link(point, tiedToo);
  link(point, tied);
  link(point, tied);
  link(ended, past);
  FieldLocationEditor editor(&data.diary(), &data.weather(), slots);
  ASSERT_TRUE(editor.start());
  EXPECT_EQ(editor.freeFields(), (QList<long>{noSeq, a, b, past, c}));
  EXPECT_EQ(editor.currentPoints().first().fields, (QList<long>{tied, tiedToo}));
  EXPECT_EQ(editor.endedPoints().first().fields, QList<long>{past});
  EXPECT_EQ(editor.fieldName(noSeq), QStringLiteral("無"));
  EXPECT_FALSE(editor.freeFields().contains(idle));
}

TEST_F(FieldLocationEditorTest, ModifyKeepsOrEndsThePointAndOnlyAPointCanBeModified) {
  const long point = addPoint(1, 35, 139, 20200401);
  const long field = addField(QStringLiteral("畑"), 1);
  link(point, field);
  FieldLocationEditor editor(&data.diary(), &data.weather(), slots);
  ASSERT_TRUE(editor.start());
  EXPECT_FALSE(editor.pointToModify({NodeKind::Root, 0, 0}));
  EXPECT_FALSE(editor.pointToModify(fieldNode(field, point)));
  EXPECT_EQ(messages.numbers(), (QList<long>{2230, 2230}));

  PointValues values = *editor.pointToModify(pointNode(point));
  values.latMinutes = 30;
  values.startDate = 20200501;
  EXPECT_EQ(editor.modify(values), Outcome::Done);
  EXPECT_EQ(pointColumn(point, QStringLiteral("Ido_MM")).toLong(), 30);
  EXPECT_EQ(pointColumn(point, QStringLiteral("SDate")).toLong(), 20200501);
  EXPECT_TRUE(pointColumn(point, QStringLiteral("EDate")).isNull());
  EXPECT_EQ(editor.currentPoints().first().values, values);
  EXPECT_TRUE(editor.freeFields().isEmpty());

  values.endDate = 20240331;
  EXPECT_EQ(editor.modify(values), Outcome::Done);
  EXPECT_EQ(pointColumn(point, QStringLiteral("EDate")).toLong(), 20240331);
  EXPECT_TRUE(editor.currentPoints().isEmpty());
  ASSERT_EQ(editor.endedPoints().size(), 1);
  EXPECT_EQ(editor.endedPoints().first().fields, QList<long>{field});
  EXPECT_EQ(editor.freeFields(), QList<long>{field});
  EXPECT_EQ(slots.find(point), 1);  // the number stays taken
  EXPECT_EQ(linkedFields(point), QList<long>{field});
}

TEST_F(FieldLocationEditorTest, APointUsedByAConditionOrAnyOfItsFieldsByARiskStays) {
  const long byCondition = addPoint(1, 35, 139, 20200401);
  const long byRisk = addPoint(2, 36, 139, 20200401);
  const long first = addField(QStringLiteral("一"), 1);
  const long second = addField(QStringLiteral("二"), 2);
  link(byRisk, first);
  link(byRisk, second);
  addCondition(QStringLiteral("K_Location3"), byCondition);
  addRisk(second);
  FieldLocationEditor editor(&data.diary(), &data.weather(), slots);
  ASSERT_TRUE(editor.start());
  EXPECT_EQ(editor.remove(pointNode(byCondition)), Outcome::Unchanged);
  EXPECT_EQ(editor.remove(pointNode(byRisk)), Outcome::Unchanged);
  EXPECT_EQ(messages.numbers(), (QList<long>{2240, 2240}));
  EXPECT_EQ(messages.messages().first().kind, 1);
  EXPECT_EQ(count(QStringLiteral("SELECT * FROM Location")), 2);
  EXPECT_EQ(linkedFields(byRisk), (QList<long>{first, second}));
  EXPECT_EQ(editor.remove({NodeKind::Root, 0, 0}), Outcome::Unchanged);
  EXPECT_EQ(messages.numbers().last(), 2012);
}

TEST_F(FieldLocationEditorTest, DeletingAPointAsksThenFreesItsFieldsAndItsNumber) {
  const long point = addPoint(4, 35, 139, 20200401);
  const long field = addField(QStringLiteral("畑"), 1);
  link(point, field);
  FieldLocationEditor editor(&data.diary(), &data.weather(), slots);
  ASSERT_TRUE(editor.start());
  EXPECT_EQ(slots.find(point), 4);
  messages.answer(hv6::MsgAnswer::No);
  EXPECT_EQ(editor.remove(pointNode(point)), Outcome::Unchanged);
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_EQ(messages.messages().first().text, QStringLiteral("ほ場の項目を削除します。\nよろしいですか？"));
  EXPECT_EQ(messages.messages().first().buttons, hv6::MsgButtons::YesNo);
  EXPECT_EQ(count(QStringLiteral("SELECT * FROM Location")), 1);

  EXPECT_EQ(editor.remove(pointNode(point)), Outcome::Done);
  EXPECT_EQ(count(QStringLiteral("SELECT * FROM Location")), 0);
  EXPECT_EQ(count(QStringLiteral("SELECT * FROM TargetField")), 0);
  EXPECT_TRUE(editor.currentPoints().isEmpty());
  EXPECT_EQ(editor.freeFields(), QList<long>{field});
  EXPECT_EQ(slots.find(point), -1);
}

TEST_F(FieldLocationEditorTest, DeletingAFieldUntiesItEverywhereAndAsksMoreWhenAConditionUsesIt) {
  const long point = addPoint(1, 35, 139, 20200401);
  const long ended = addPoint(2, 36, 139, 20100401, 20150331);
  const long used = addField(QStringLiteral("条件の畑"), 1);
  const long plain = addField(QStringLiteral("畑"), 2);
  link(point, used);
  link(ended, used);
  link(point, plain);
  addCondition(QStringLiteral("K_Field6"), used);
  FieldLocationEditor editor(&data.diary(), &data.weather(), slots);
  ASSERT_TRUE(editor.start());
  EXPECT_EQ(editor.remove(fieldNode(used, point)), Outcome::Done);
  EXPECT_TRUE(messages.messages().first().text.startsWith(
      QStringLiteral("ほ場の項目が条件設定で使用されています。\n")));
  EXPECT_EQ(linkedFields(point), QList<long>{plain});
  EXPECT_TRUE(linkedFields(ended).isEmpty());
  EXPECT_TRUE(editor.endedPoints().first().fields.isEmpty());
  EXPECT_EQ(editor.freeFields(), QList<long>{used});
  messages.clear();
  EXPECT_EQ(editor.remove(fieldNode(plain, point)), Outcome::Done);
  EXPECT_EQ(messages.messages().first().text, QStringLiteral("ほ場の項目を削除します。\nよろしいですか？"));
  EXPECT_EQ(editor.freeFields(), (QList<long>{used, plain}));
}

TEST_F(FieldLocationEditorTest, AddingStopsAtAFieldTiedToAPointObservedInThePeriod) {
  const long point = addPoint(1, 35, 139, 20200401);
  const long other = addPoint(2, 36, 139, 20190401);
  const long endedBefore = addPoint(3, 37, 139, 20100401, 20200331);
  const long endedAfter = addPoint(3, 38, 139, 20100401, 20200401);
  const long a = addField(QStringLiteral("a"), 1);
  const long pastOnly = addField(QStringLiteral("past"), 2);
  const long busy = addField(QStringLiteral("busy"), 3);
  const long d = addField(QStringLiteral("d"), 4);
  const long busyToo = addField(QStringLiteral("busy too"), 5);
  link(endedBefore, pastOnly);
  link(other, busy);
  link(endedAfter, busyToo);
  FieldLocationEditor editor(&data.diary(), &data.weather(), slots);
  ASSERT_TRUE(editor.start());
  EXPECT_EQ(editor.add(fieldNode(a, point), {a}), Outcome::Unchanged);
  EXPECT_EQ(editor.add({NodeKind::Root, 0, 0}, {a}), Outcome::Unchanged);
  EXPECT_EQ(messages.numbers(), (QList<long>{2232, 2232}));
  EXPECT_EQ(messages.messages().first().kind, 2);
  messages.clear();
  EXPECT_EQ(editor.add(pointNode(point), {}), Outcome::Unchanged);
  EXPECT_TRUE(messages.empty());

  EXPECT_EQ(editor.add(pointNode(point), {pastOnly, a, busy, d}), Outcome::Done);
  EXPECT_EQ(messages.numbers(), QList<long>{2232});
  EXPECT_EQ(messages.messages().first().kind, 1);
  EXPECT_EQ(linkedFields(point), (QList<long>{a, pastOnly}));
  EXPECT_EQ(editor.currentPoint(point)->fields, (QList<long>{a, pastOnly}));
  EXPECT_EQ(editor.freeFields(), (QList<long>{d, busyToo}));
  messages.clear();
  EXPECT_EQ(editor.add(pointNode(point), {busyToo}), Outcome::Unchanged);
  EXPECT_EQ(messages.numbers(), QList<long>{2232});
}

TEST_F(FieldLocationEditorTest, NewPointsTakeTheLowestUnusedCodeWithinAByte) {
  addPoint(1, 35, 139, 20200401, 0, 0, 1);
  addPoint(2, 36, 139, 20200401, 0, 0, 3);
  FieldLocationEditor editor(&data.diary(), &data.weather(), slots);
  ASSERT_TRUE(editor.start());
  PointValues p{0, 3, 40, 1, 2, 140, 3, 4, 20240401, 0};
  EXPECT_EQ(editor.addPoint(p), 2);
  EXPECT_EQ(editor.addPoint(p), 4);
  EXPECT_EQ(pointColumn(2, QStringLiteral("Num")).toLong(), 3);
  EXPECT_EQ(pointColumn(2, QStringLiteral("Keido_SS")).toLong(), 4);
  EXPECT_EQ(pointColumn(2, QStringLiteral("SDate")).toLong(), 20240401);
  EXPECT_TRUE(pointColumn(2, QStringLiteral("EDate")).isNull());
  EXPECT_EQ(codesOf(editor.currentPoints()), (QList<long>{1, 3, 2, 4}));
  EXPECT_EQ(slots.find(4), 3);
  for (long code = 5; code <= FieldLocationEditor::kLastPointCode; ++code)
    data.weather().Execute(QStringLiteral("INSERT INTO Location(Code, Num) VALUES(?, 0)"),
                           {COleVariant(code)});
  EXPECT_EQ(editor.addPoint(p), 0);
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_TRUE(messages.messages().first().text.startsWith(
      QStringLiteral("観測地点をこれ以上登録できません。")));
}

TEST_F(FieldLocationEditorTest, CancelLeavesBothFilesAsTheyWereAndOkKeepsTheChanges) {
  const long point = addPoint(1, 35, 139, 20200401);
  const long other = addPoint(2, 36, 139, 20200401);
  const long a = addField(QStringLiteral("a"), 1);
  const long b = addField(QStringLiteral("b"), 2);
  link(point, a);
  const QByteArray weather = bytesOf(data.weatherPath());
  const QByteArray diary = bytesOf(data.diaryPath());
  const auto edit = [&](FieldLocationEditor& editor) {
    ASSERT_TRUE(editor.start());
    EXPECT_EQ(editor.add(pointNode(point), {b}), Outcome::Done);
    EXPECT_EQ(editor.remove(fieldNode(a, point)), Outcome::Done);
    EXPECT_EQ(editor.remove(pointNode(other)), Outcome::Done);
    PointValues ended = editor.currentPoint(point)->values;
    ended.endDate = 20240101;
    EXPECT_EQ(editor.modify(ended), Outcome::Done);
    EXPECT_NE(editor.addPoint({0, 1, 44, 0, 0, 142, 0, 0, 20240401, 0}), 0);
  };
  {
    FieldLocationEditor editor(&data.diary(), &data.weather(), slots);
    edit(editor);
    EXPECT_TRUE(editor.rollback());
  }
  EXPECT_EQ(bytesOf(data.weatherPath()), weather);
  EXPECT_EQ(bytesOf(data.diaryPath()), diary);
  {
    FieldLocationEditor editor(&data.diary(), &data.weather(), slots);
    edit(editor);
  }  // closing without OK or Cancel undoes as well
  EXPECT_EQ(bytesOf(data.weatherPath()), weather);
  {
    FieldLocationEditor editor(&data.diary(), &data.weather(), slots);
    edit(editor);
    EXPECT_TRUE(editor.commit());
  }
  EXPECT_EQ(messages.numbers(), QList<long>(6, 0));  // two questions each time
  EXPECT_EQ(linkedFields(point), QList<long>{b});
  EXPECT_EQ(pointColumn(point, QStringLiteral("EDate")).toLong(), 20240101);
  EXPECT_EQ(count(QStringLiteral("SELECT * FROM Location")), 2);
  EXPECT_EQ(bytesOf(data.diaryPath()), diary);
}

TEST_F(FieldLocationEditorTest, ClosedDatabasesStopTheStartWithTheDatabaseError) {
  data.diary().Close();
  data.weather().Close();
  FieldLocationEditor editor(&data.diary(), &data.weather(), slots);
  EXPECT_FALSE(editor.start());
  EXPECT_EQ(messages.numbers(), QList<long>{kJetNotOpen});
  EXPECT_FALSE(editor.inTransaction());
  messages.clear();
  FieldLocationEditor none(nullptr, nullptr, slots);
  EXPECT_FALSE(none.start());
  EXPECT_EQ(messages.numbers(), QList<long>{kJetNotOpen});
}

TEST_F(FieldLocationEditorTest, ADatabaseBusyElsewhereFailsTheBeginWith2716) {
  data.weather().setBusyTimeout(0);
  CDaoDatabase other;
  other.Open(data.weatherPath());
  other.m_pWorkspace->BeginTrans();
  FieldLocationEditor editor(&data.diary(), &data.weather(), slots);
  EXPECT_FALSE(editor.start());
  EXPECT_EQ(messages.numbers(), QList<long>{2716});
  EXPECT_FALSE(editor.inTransaction());
  other.m_pWorkspace->Rollback();
}

TEST_F(FieldLocationEditorTest, AFailedCommitRollsBackAndSays2716) {
  const long field = addField(QStringLiteral("a"), 1);
  const long point = addPoint(1, 35, 139, 20200401);
  data.weather().setBusyTimeout(0);
  FieldLocationEditor editor(&data.diary(), &data.weather(), slots);
  ASSERT_TRUE(editor.start());
  EXPECT_EQ(editor.add(pointNode(point), {field}), Outcome::Done);
  // A reader in the middle of its transaction keeps the commit out.
  CDaoDatabase reader;
  reader.Open(data.weatherPath());
  reader.runSql(QStringLiteral("BEGIN"));
  EXPECT_TRUE(reader.runSql(QStringLiteral("SELECT count(*) FROM Location")).next());
  EXPECT_FALSE(editor.commit());
  EXPECT_EQ(messages.numbers(), QList<long>{2716});
  EXPECT_EQ(messages.messages().first().kind, 1);
  EXPECT_FALSE(data.weather().m_pWorkspace->InTransaction());
  reader.runSql(QStringLiteral("ROLLBACK"));
  EXPECT_TRUE(linkedFields(point).isEmpty());
}

TEST_F(FieldLocationEditorTest, ATransactionSqliteDroppedClosesTheEditorBeforeAnyWrite) {
  const long field = addField(QStringLiteral("a"), 1);
  const long point = addPoint(1, 35, 139, 20200401);
  FieldLocationEditor editor(&data.diary(), &data.weather(), slots);
  ASSERT_TRUE(editor.start());
  data.weather().runSql(QStringLiteral("ROLLBACK"));
  EXPECT_EQ(editor.add(pointNode(point), {field}), Outcome::Closed);
  EXPECT_EQ(messages.numbers(), QList<long>{2716});
  EXPECT_TRUE(linkedFields(point).isEmpty());
  EXPECT_FALSE(editor.inTransaction());
  EXPECT_EQ(editor.remove(pointNode(point)), Outcome::Closed);
  EXPECT_EQ(count(QStringLiteral("SELECT * FROM Location")), 1);
  EXPECT_TRUE(editor.rollback());
}

TEST_F(FieldLocationEditorTest, AFailedStatementShowsTheDatabaseErrorAndTheDialogGoesOn) {
  const long field = addField(QStringLiteral("a"), 1);
  const long point = addPoint(1, 35, 139, 20200401);
  FieldLocationEditor editor(&data.diary(), &data.weather(), slots);
  ASSERT_TRUE(editor.start());
  data.weather().Execute(QStringLiteral("DROP INDEX TargetField_Field"));
  data.weather().Execute(QStringLiteral("CREATE UNIQUE INDEX TargetField_Field ON TargetField (Field)"));
  data.weather().Execute(QStringLiteral("INSERT INTO TargetField(Location, Field) VALUES(999, ?)"),
                         {COleVariant(field)});
  EXPECT_EQ(editor.add(pointNode(point), {field}), Outcome::Unchanged);
  EXPECT_EQ(messages.numbers(), QList<long>{kJetDuplicateKey});
  EXPECT_TRUE(editor.inTransaction());
  EXPECT_TRUE(editor.currentPoint(point)->fields.isEmpty());
  EXPECT_TRUE(editor.rollback());
}

TEST_F(FieldLocationEditorTest, FiveHundredPointsLoad) {
  {
    DaoTransaction rows(data.weather());
    for (int i = 0; i < 500; ++i)
      addPoint(i % 6 + 1, 30 + i % 15, 130 + i % 11, 20000101 + i % 12 * 100,
               i < 494 ? 20100101 + i % 12 * 100 : 0, i % 60);
    const long field = addField(QStringLiteral("畑"), 1);
    for (long point = 1; point <= 500; point += 7) link(point, field);
    rows.commit();
  }
  FieldLocationEditor editor(&data.diary(), &data.weather(), slots);
  ASSERT_TRUE(editor.start());
  EXPECT_EQ(editor.currentPoints().size(), 6);
  EXPECT_EQ(editor.endedPoints().size(), 494);
  for (int num = 1; num <= 6; ++num) EXPECT_TRUE(slots.isUsed(num)) << num;
  EXPECT_TRUE(messages.empty());
}

}  // namespace
