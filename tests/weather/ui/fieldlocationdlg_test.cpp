// Dialog 144, driven through its controls: what it shows, modify, new,
// delete and add by button and by drag and drop, OK and Cancel, and the
// failures that close it.
#include "tests/weather/ui/dialog_fixture.h"

#include "outside/vqbase106/ui/calendarbox.h"
#include "weather/ui/fieldlocationdlg.h"
#include "weather/ui/latlongdlg.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

namespace {

using hv6::PointValues;
using hv6test::click;
using hv6test::control;
using hv6test::dropOn;
using hv6test::typeInto;
using hv6test::whenShown;

class FieldLocationDlgTest : public hv6test::FieldLocationTest {
 protected:
  long east = 0, west = 0, north = 0;
  long rice = 0, beans = 0, wheat = 0, corn = 0, pasture = 0;

  // Points east (1) and west (2) observed now, north ended; fields in
  // SeqCode order rice, beans, wheat, corn, pasture: rice and beans on
  // east, wheat on north, the rest free.
  void addFarm() {
    east = addPoint(1, 35, 139, 20200401);
    west = addPoint(2, 34, 135, 20190401);
    north = addPoint(3, 43, 141, 20100401, 20190331);
    rice = addField(QStringLiteral("田んぼ"), 1);
    beans = addField(QStringLiteral("豆畑"), 2);
    wheat = addField(QStringLiteral("麦畑"), 3);
    corn = addField(QStringLiteral("とうもろこし畑"), 4);
    pasture = addField(QStringLiteral("牧草地"), 5);
    link(east, rice);
    link(east, beans);
    link(north, wheat);
  }

  std::unique_ptr<CFieldLocationDlg> open() {
    auto dialog = std::make_unique<CFieldLocationDlg>(&data.diary(), &data.weather(), slots);
    dialog->setHelpHandler([this](int topic) { topics << topic; });
    EXPECT_TRUE(dialog->initDialog());
    dialog->show();
    QApplication::processEvents();
    return dialog;
  }

  static QTreeWidget* tree(const QWidget* dialog, int id = 1001) { return control<QTreeWidget>(dialog, id); }
  static QListWidget* list(const QWidget* dialog) { return control<QListWidget>(dialog, 1002); }
  static QTreeWidgetItem* root(const QWidget* dialog) { return tree(dialog)->topLevelItem(0); }

  static long codeOf(const QTreeWidgetItem* item) {
    return long(item->data(0, CFieldLocationDlg::kCodeRole).toLongLong());
  }
  static QTreeWidgetItem* point(const QWidget* dialog, long code, int id = 1001) {
    QTreeWidget* view = tree(dialog, id);
    const int count = id == 1001 ? view->topLevelItem(0)->childCount() : view->topLevelItemCount();
    for (int i = 0; i < count; ++i) {
      QTreeWidgetItem* item = id == 1001 ? view->topLevelItem(0)->child(i) : view->topLevelItem(i);
      if (codeOf(item) == code) return item;
    }
    return nullptr;
  }
  static QStringList children(const QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; item && i < item->childCount(); ++i) texts << item->child(i)->text(0);
    return texts;
  }
  static QStringList listed(const QWidget* dialog) {
    QStringList texts;
    for (int row = 0; row < list(dialog)->count(); ++row) texts << list(dialog)->item(row)->text();
    return texts;
  }
  static void selectFields(const QWidget* dialog, const QStringList& names) {
    QListWidget* view = list(dialog);
    view->clearSelection();
    for (int row = 0; row < view->count(); ++row)
      if (names.contains(view->item(row)->text())) view->item(row)->setSelected(true);
  }
  static QPoint centre(QTreeWidget* view, QTreeWidgetItem* item) {
    view->scrollToItem(item);
    return view->visualItemRect(item).center();
  }

  QList<int> topics;
};

TEST_F(FieldLocationDlgTest, ShowsPointsFieldsAndEndedPointsInTheirOrder) {
  addFarm();
  const long odd = addPoint(9, 36, 138, 20220401);
  auto dialog = open();
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("ほ場の緯度経度設定"));
  EXPECT_EQ(root(dialog.get())->text(0), QStringLiteral("現在、観測している緯度経度"));
  EXPECT_TRUE(root(dialog.get())->isExpanded());
  ASSERT_EQ(root(dialog.get())->childCount(), 3);
  EXPECT_EQ(codeOf(root(dialog.get())->child(0)), west);  // by latitude
  EXPECT_EQ(codeOf(root(dialog.get())->child(1)), east);
  EXPECT_EQ(codeOf(root(dialog.get())->child(2)), odd);  // a number outside 1-6 is shown too
  QTreeWidgetItem* eastItem = point(dialog.get(), east);
  EXPECT_EQ(eastItem->text(0), QStringLiteral("観測地点 1 : 緯度35゜ 0´ 0″/ 経度139゜ 0´ 0″R.02/04/01"));
  EXPECT_EQ(children(eastItem), (QStringList{"田んぼ", "豆畑"}));
  EXPECT_EQ(eastItem->child(1)->data(0, CFieldLocationDlg::kCodeRole).toLongLong(), beans);
  EXPECT_EQ(eastItem->data(0, CFieldLocationDlg::kValuesRole).value<PointValues>(),
            (PointValues{east, 1, 35, 0, 0, 139, 0, 0, 20200401, 0}));
  EXPECT_EQ(point(dialog.get(), odd)->text(0).left(7), QStringLiteral("観測地点 9 "));

  QTreeWidgetItem* northItem = point(dialog.get(), north, 1012);
  ASSERT_NE(northItem, nullptr);
  EXPECT_EQ(northItem->text(0),
            QStringLiteral("観測地点 3 : 緯度43゜ 0´ 0″/ 経度141゜ 0´ 0″H.22/04/01 - H.31/03/31"));
  EXPECT_TRUE(northItem->isExpanded());
  EXPECT_EQ(children(northItem), QStringList{"麦畑"});

  EXPECT_EQ(listed(dialog.get()), (QStringList{"麦畑", "とうもろこし畑", "牧草地"}));
  EXPECT_TRUE(list(dialog.get())->item(0)->isSelected());
  EXPECT_EQ(tree(dialog.get())->currentItem(), root(dialog.get()));
  EXPECT_FALSE(control<QPushButton>(dialog.get(), 1000)->isEnabled());
  EXPECT_FALSE(control<QPushButton>(dialog.get(), 1006)->isEnabled());
  EXPECT_TRUE(control<QPushButton>(dialog.get(), 1007)->isEnabled());
  EXPECT_TRUE(control<QPushButton>(dialog.get(), 1005)->isEnabled());
  for (int id : {1000, 1006, 1007})
    EXPECT_FALSE(control<QPushButton>(dialog.get(), id)->icon().isNull()) << id;
  tree(dialog.get())->setCurrentItem(eastItem);
  EXPECT_TRUE(control<QPushButton>(dialog.get(), 1000)->isEnabled());
  EXPECT_TRUE(control<QPushButton>(dialog.get(), 1006)->isEnabled());
  tree(dialog.get())->setCurrentItem(eastItem->child(0));
  EXPECT_FALSE(control<QPushButton>(dialog.get(), 1000)->isEnabled());
  EXPECT_TRUE(control<QPushButton>(dialog.get(), 1006)->isEnabled());
  // The widest node text fits the tree without scrolling.
  EXPECT_LE(tree(dialog.get())->fontMetrics().horizontalAdvance(northItem->text(0)) +
                2 * tree(dialog.get())->indentation(),
            tree(dialog.get())->viewport()->width());
  click(dialog.get(), 57670);
  EXPECT_EQ(topics, QList<int>{10016});
  click(dialog.get(), 2);
}

TEST_F(FieldLocationDlgTest, ModifyTakesThePointsValuesFromItsNodeAndEndingMovesIt) {
  addFarm();
  auto dialog = open();
  QTreeWidgetItem* eastItem = point(dialog.get(), east);
  eastItem->setText(0, QStringLiteral("表示だけの文字"));  // editing never reads the text
  tree(dialog.get())->setCurrentItem(eastItem);
  QStringList shown;
  whenShown<CLatLongDlg>([&](CLatLongDlg* edit) {
    shown << control<QLineEdit>(edit, 1040)->text() << control<QLineEdit>(edit, 1042)->text();
    typeInto(edit, 1041, QStringLiteral("30"));
    click(edit, 1);
  });
  click(dialog.get(), 1000);
  EXPECT_EQ(shown, (QStringList{"35", "139"}));
  eastItem = point(dialog.get(), east);
  EXPECT_EQ(eastItem->text(0), QStringLiteral("観測地点 1 : 緯度35゜30´ 0″/ 経度139゜ 0´ 0″R.02/04/01"));
  EXPECT_EQ(eastItem->data(0, CFieldLocationDlg::kValuesRole).value<PointValues>().latMinutes, 30);
  EXPECT_EQ(pointColumn(east, QStringLiteral("Ido_MM")).toLong(), 30);

  whenShown<CLatLongDlg>([&](CLatLongDlg* edit) {
    control<QCheckBox>(edit, 1005)->click();
    control<CCalendarBox>(edit, 2001)->SetDate(2024, 3, 31);
    click(edit, 1);
  });
  tree(dialog.get())->setCurrentItem(eastItem);
  click(dialog.get(), 1000);
  EXPECT_EQ(point(dialog.get(), east), nullptr);
  QTreeWidgetItem* ended = point(dialog.get(), east, 1012);
  ASSERT_NE(ended, nullptr);
  EXPECT_TRUE(ended->text(0).endsWith(QStringLiteral("R.02/04/01 - R.06/03/31")));
  EXPECT_EQ(children(ended), (QStringList{"田んぼ", "豆畑"}));
  EXPECT_EQ(listed(dialog.get()), (QStringList{"田んぼ", "豆畑", "麦畑", "とうもろこし畑", "牧草地"}));
  EXPECT_TRUE(list(dialog.get())->item(0)->isSelected());
  EXPECT_TRUE(messages.empty());
  click(dialog.get(), 1);
  EXPECT_EQ(pointColumn(east, QStringLiteral("EDate")).toLong(), 20240331);
}

TEST_F(FieldLocationDlgTest, NewAddsAPointWithANewCodeAndTheNextNumber) {
  addFarm();
  auto dialog = open();
  bool endCheckOffered = true;
  whenShown<CLatLongDlg>([&](CLatLongDlg* edit) {
    endCheckOffered = control<QCheckBox>(edit, 1005)->isEnabled();
    typeInto(edit, 1040, QStringLiteral("44"));
    typeInto(edit, 1042, QStringLiteral("142"));
    control<CCalendarBox>(edit, 2000)->SetDate(2024, 4, 1);
    click(edit, 1);
  });
  click(dialog.get(), 1005);
  EXPECT_FALSE(endCheckOffered);
  const long code = 4;  // 1-3 are taken
  QTreeWidgetItem* added = point(dialog.get(), code);
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->text(0), QStringLiteral("観測地点 3 : 緯度44゜ 0´ 0″/ 経度142゜ 0´ 0″R.06/04/01"));
  EXPECT_EQ(tree(dialog.get())->currentItem(), added);
  EXPECT_EQ(slots.find(code), 3);
  EXPECT_EQ(pointColumn(code, QStringLiteral("Num")).toLong(), 3);

  // Six points observed: the seventh gets 2231 and stays in its dialog.
  for (int i = 0; i < 3; ++i)
    data.weather().Execute(
        QStringLiteral("INSERT INTO Location(Num, Ido_HH, Keido_HH, SDate) VALUES(?, ?, 130, 20200401)"),
        {COleVariant(4 + i), COleVariant(30 + i)});
  bool stayed = false;
  whenShown<CLatLongDlg>([&](CLatLongDlg* edit) {
    typeInto(edit, 1040, QStringLiteral("20"));
    click(edit, 1);
    stayed = edit->isVisible();
    click(edit, 2);
  });
  click(dialog.get(), 1005);
  EXPECT_TRUE(stayed);
  EXPECT_EQ(messages.numbers(), QList<long>{2231});
  EXPECT_EQ(root(dialog.get())->childCount(), 3);
  click(dialog.get(), 2);
}

TEST_F(FieldLocationDlgTest, DeleteByButtonAsksAndRefusesAPointAConditionUses) {
  addFarm();
  addCondition(QStringLiteral("K_Location3"), west);
  auto dialog = open();
  tree(dialog.get())->setCurrentItem(point(dialog.get(), west));
  click(dialog.get(), 1006);
  EXPECT_EQ(messages.numbers(), QList<long>{2240});
  EXPECT_NE(point(dialog.get(), west), nullptr);
  messages.clear();

  tree(dialog.get())->setCurrentItem(point(dialog.get(), east)->child(0));
  messages.answer(hv6::MsgAnswer::No);
  click(dialog.get(), 1006);
  EXPECT_EQ(children(point(dialog.get(), east)), (QStringList{"田んぼ", "豆畑"}));
  click(dialog.get(), 1006);
  EXPECT_EQ(children(point(dialog.get(), east)), QStringList{"豆畑"});
  EXPECT_EQ(listed(dialog.get()), (QStringList{"田んぼ", "麦畑", "とうもろこし畑", "牧草地"}));
  EXPECT_EQ(linkedFields(east), QList<long>{beans});

  tree(dialog.get())->setCurrentItem(point(dialog.get(), east));
  click(dialog.get(), 1006);
  EXPECT_EQ(point(dialog.get(), east), nullptr);
  EXPECT_EQ(listed(dialog.get()).size(), 5);
  EXPECT_EQ(messages.numbers(), (QList<long>{0, 0, 0}));  // the three questions
  click(dialog.get(), 1);
  EXPECT_TRUE(pointColumn(east, QStringLiteral("Code")).isNull());
}

TEST_F(FieldLocationDlgTest, AddByButtonStopsAtAFieldAnotherPointObserves) {
  addFarm();
  // South ended in 2021, after east began: its pasture is free but busy for east.
  const long south = addPoint(4, 31, 130, 20150401, 20210331);
  link(south, pasture);
  auto dialog = open();
  EXPECT_EQ(listed(dialog.get()), (QStringList{"麦畑", "とうもろこし畑", "牧草地"}));
  // A field selected in the tree is no point: 2232 of the other kind.
  tree(dialog.get())->setCurrentItem(point(dialog.get(), east)->child(0));
  selectFields(dialog.get(), {"麦畑"});
  click(dialog.get(), 1007);
  EXPECT_EQ(messages.numbers(), QList<long>{2232});
  EXPECT_EQ(messages.messages().first().kind, 2);
  messages.clear();

  tree(dialog.get())->setCurrentItem(point(dialog.get(), east));
  selectFields(dialog.get(), {"麦畑", "とうもろこし畑", "牧草地"});
  click(dialog.get(), 1007);
  EXPECT_EQ(messages.numbers(), QList<long>{2232});
  EXPECT_EQ(messages.messages().first().kind, 1);
  EXPECT_EQ(children(point(dialog.get(), east)), (QStringList{"田んぼ", "豆畑", "麦畑", "とうもろこし畑"}));
  EXPECT_TRUE(point(dialog.get(), east)->isExpanded());
  EXPECT_EQ(listed(dialog.get()), QStringList{"牧草地"});
  EXPECT_TRUE(list(dialog.get())->item(0)->isSelected());  // the field that stopped it
  EXPECT_EQ(linkedFields(east), (QList<long>{rice, beans, wheat, corn}));
  // West began before south ended too.
  tree(dialog.get())->setCurrentItem(point(dialog.get(), west));
  click(dialog.get(), 1007);
  EXPECT_EQ(messages.numbers(), (QList<long>{2232, 2232}));
  click(dialog.get(), 2);
  EXPECT_EQ(linkedFields(east), (QList<long>{rice, beans}));
}

TEST_F(FieldLocationDlgTest, DraggingAFieldOntoTheListUntiesItAndAPointDeletesIt) {
  addFarm();
  auto dialog = open();
  QTreeWidgetItem* beansItem = point(dialog.get(), east)->child(1);
  std::unique_ptr<QMimeData> drag(CFieldLocationDlg::dragData(1001, dialog->nodeOf(beansItem)));
  const hv6test::DropResult dropped =
      dropOn(list(dialog.get()), drag.get(), list(dialog.get())->viewport()->rect().center());
  EXPECT_TRUE(dropped.moveAccepted);
  EXPECT_TRUE(dropped.dropAccepted);
  EXPECT_EQ(children(point(dialog.get(), east)), QStringList{"田んぼ"});
  EXPECT_TRUE(listed(dialog.get()).contains(QStringLiteral("豆畑")));
  EXPECT_EQ(linkedFields(east), QList<long>{rice});

  // A drop of the list's own drag, or onto the tree of a tree's drag, does nothing.
  std::unique_ptr<QMimeData> fromList(CFieldLocationDlg::dragData(1002, {}));
  EXPECT_FALSE(dropOn(list(dialog.get()), fromList.get(), QPoint(5, 5)).dropAccepted);
  std::unique_ptr<QMimeData> pointDrag(CFieldLocationDlg::dragData(1001, dialog->nodeOf(point(dialog.get(), west))));
  EXPECT_FALSE(dropOn(tree(dialog.get()), pointDrag.get(), centre(tree(dialog.get()), point(dialog.get(), east))).dropAccepted);

  EXPECT_TRUE(dialog->dropOnList(pointDrag.get()));
  EXPECT_EQ(point(dialog.get(), west), nullptr);
  EXPECT_TRUE(pointColumn(west, QStringLiteral("Code")).isNull());
  click(dialog.get(), 2);
}

TEST_F(FieldLocationDlgTest, DroppingListFieldsOnAFieldNodeAddsThemToItsPoint) {
  addFarm();
  auto dialog = open();
  selectFields(dialog.get(), {"とうもろこし畑", "牧草地"});
  std::unique_ptr<QMimeData> drag(CFieldLocationDlg::dragData(1002, {}));
  QTreeWidget* view = tree(dialog.get());
  // Not on the root.
  hv6test::DropResult dropped = dropOn(view, drag.get(), centre(view, root(dialog.get())));
  EXPECT_FALSE(dropped.moveAccepted);
  EXPECT_FALSE(dropped.dropAccepted);
  EXPECT_EQ(listed(dialog.get()).size(), 3);
  // On a field of east: the fields go to east.
  dropped = dropOn(view, drag.get(), centre(view, point(dialog.get(), east)->child(0)));
  EXPECT_TRUE(dropped.moveAccepted);
  EXPECT_TRUE(dropped.dropAccepted);
  EXPECT_EQ(view->currentItem(), point(dialog.get(), east));
  EXPECT_EQ(children(point(dialog.get(), east)), (QStringList{"田んぼ", "豆畑", "とうもろこし畑", "牧草地"}));
  EXPECT_EQ(listed(dialog.get()), QStringList{"麦畑"});
  EXPECT_EQ(linkedFields(east), (QList<long>{rice, beans, corn, pasture}));
  // The drop highlight is gone.
  EXPECT_EQ(point(dialog.get(), east)->child(0)->data(0, Qt::BackgroundRole), QVariant());
  // Onto west through the small method a drop calls.
  selectFields(dialog.get(), {"麦畑"});
  EXPECT_TRUE(dialog->dropOnTree(drag.get(), point(dialog.get(), west)));
  EXPECT_EQ(children(point(dialog.get(), west)), QStringList{"麦畑"});
  EXPECT_TRUE(messages.empty());
  click(dialog.get(), 2);
}

TEST_F(FieldLocationDlgTest, CancelLeavesBothDatabasesByteForByteAsTheyWere) {
  addFarm();
  const QByteArray weather = bytesOf(data.weatherPath());
  const QByteArray diary = bytesOf(data.diaryPath());
  auto dialog = open();
  // Modify, new, delete, add and both drags.
  tree(dialog.get())->setCurrentItem(point(dialog.get(), west));
  whenShown<CLatLongDlg>([](CLatLongDlg* edit) {
    typeInto(edit, 1054, QStringLiteral("15"));
    click(edit, 1);
  });
  click(dialog.get(), 1000);
  whenShown<CLatLongDlg>([](CLatLongDlg* edit) {
    typeInto(edit, 1040, QStringLiteral("26"));
    typeInto(edit, 1042, QStringLiteral("127"));
    click(edit, 1);
  });
  click(dialog.get(), 1005);
  tree(dialog.get())->setCurrentItem(point(dialog.get(), west));
  selectFields(dialog.get(), {"麦畑"});
  click(dialog.get(), 1007);
  std::unique_ptr<QMimeData> toList(CFieldLocationDlg::dragData(1001, dialog->nodeOf(point(dialog.get(), east)->child(0))));
  dropOn(list(dialog.get()), toList.get(), QPoint(5, 5));
  selectFields(dialog.get(), {"牧草地"});
  std::unique_ptr<QMimeData> toTree(CFieldLocationDlg::dragData(1002, {}));
  dropOn(tree(dialog.get()), toTree.get(), centre(tree(dialog.get()), point(dialog.get(), east)));
  tree(dialog.get())->setCurrentItem(point(dialog.get(), east));
  click(dialog.get(), 1006);
  ASSERT_EQ(root(dialog.get())->childCount(), 2);
  EXPECT_EQ(count(QStringLiteral("SELECT * FROM Location WHERE Keido_SS = 15")), 1);
  click(dialog.get(), 2);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(bytesOf(data.weatherPath()), weather);
  EXPECT_EQ(bytesOf(data.diaryPath()), diary);
  EXPECT_FALSE(data.weather().m_pWorkspace->InTransaction());
}

TEST_F(FieldLocationDlgTest, AFailedCommitSays2716ClosesAndTheNextDialogWorks) {
  addFarm();
  data.weather().setBusyTimeout(0);
  auto dialog = open();
  selectFields(dialog.get(), {"麦畑"});
  tree(dialog.get())->setCurrentItem(point(dialog.get(), west));
  click(dialog.get(), 1007);
  CDaoDatabase reader;
  reader.Open(data.weatherPath());
  reader.runSql(QStringLiteral("BEGIN"));
  reader.runSql(QStringLiteral("SELECT count(*) FROM Location")).next();
  click(dialog.get(), 1);
  EXPECT_EQ(messages.numbers(), QList<long>{2716});
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  reader.runSql(QStringLiteral("ROLLBACK"));
  EXPECT_TRUE(linkedFields(west).isEmpty());

  messages.clear();
  auto again = open();
  selectFields(again.get(), {"麦畑"});
  tree(again.get())->setCurrentItem(point(again.get(), west));
  click(again.get(), 1007);
  click(again.get(), 1);
  EXPECT_EQ(again->result(), QDialog::Accepted);
  EXPECT_EQ(linkedFields(west), QList<long>{wheat});
  EXPECT_TRUE(messages.empty());
}

TEST_F(FieldLocationDlgTest, ATransactionLostUnderneathClosesTheDialogAtTheNextStep) {
  addFarm();
  auto dialog = open();
  data.weather().runSql(QStringLiteral("ROLLBACK"));
  tree(dialog.get())->setCurrentItem(point(dialog.get(), west));
  selectFields(dialog.get(), {"麦畑"});
  click(dialog.get(), 1007);
  EXPECT_EQ(messages.numbers(), QList<long>{2716});
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_TRUE(linkedFields(west).isEmpty());
}

TEST_F(FieldLocationDlgTest, ClosedDatabasesKeepTheDialogFromOpening) {
  addFarm();
  data.diary().Close();
  data.weather().Close();
  CFieldLocationDlg dialog(&data.diary(), &data.weather(), slots);
  EXPECT_EQ(dialog.run(), QDialog::Rejected);
  EXPECT_EQ(messages.numbers(), QList<long>{kJetNotOpen});
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(FieldLocationDlgTest, FiveHundredPointsShowAndTheDialogStillWorks) {
  const long rye = addField(QStringLiteral("ライ麦畑"), 1);
  {
    DaoTransaction rows(data.weather());
    for (int i = 0; i < 500; ++i)
      addPoint(i % 6 + 1, 30 + i % 15, 130 + i % 11, 20000101 + i % 12 * 100,
               i < 494 ? 20100101 + i % 12 * 100 : 0, i % 60);
    rows.commit();
  }
  auto dialog = open();
  EXPECT_EQ(root(dialog.get())->childCount(), 6);
  EXPECT_EQ(tree(dialog.get(), 1012)->topLevelItemCount(), 494);
  QTreeWidgetItem* last = root(dialog.get())->child(5);
  selectFields(dialog.get(), {"ライ麦畑"});
  std::unique_ptr<QMimeData> drag(CFieldLocationDlg::dragData(1002, {}));
  EXPECT_TRUE(dropOn(tree(dialog.get()), drag.get(), centre(tree(dialog.get()), last)).dropAccepted);
  EXPECT_EQ(linkedFields(codeOf(last)), QList<long>{rye});
  EXPECT_TRUE(messages.empty());
  click(dialog.get(), 1);
}

}  // namespace
