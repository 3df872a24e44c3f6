// The mobile input settings sheet offscreen: its controls by id, the
// items page's rules, the ledger page's list and write-back, the grid
// edited through its cells, and OK against a local server.
#include "mobile/ui/iwdrysheet.h"

#include "install/demo/farm.h"
#include "mobile/inputsettings.h"
#include "mobile/ui/ledgergrid.h"
#include "platform/codec.h"
#include "platform/dao/dao.h"
#include "platform/profile.h"
#include "shell/envcopy.h"
#include "tests/support/local_http_server.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"
#include "weather/commsettings.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }

namespace {

using namespace hv6::mobile;

class IWDrySheetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"http_proxy", "all_proxy", "no_proxy"}) qunsetenv(name);
    data.diary().Execute(QStringLiteral("UPDATE Information SET Mte1Name = ?, Mte3Name = ?, ReserveItem2Name = ?"),
                         {COleVariant(QStringLiteral("農薬")), COleVariant(QStringLiteral("除草剤")),
                          COleVariant(QStringLiteral("天気"))});
    data.diary().Execute(QStringLiteral(
        "UPDATE IWDryOption SET Work = 1, Field = 1, Farmer = 1, Shizai = 1, WorkFactTime = 1 WHERE Code = 1"));
    row(QStringLiteral("CropMst"), 10, QStringLiteral("トマト"), true);
    row(QStringLiteral("CropMst"), 20, QStringLiteral("きゅうり"), false);
    row(QStringLiteral("JobMst"), 30, QStringLiteral("定植"), true);
    row(QStringLiteral("JobMst"), 40, QStringLiteral("収穫"), false);
    row(QStringLiteral("FieldMst"), 50, QStringLiteral("第1ほ場"), true);
    row(QStringLiteral("FarmerMst"), 60, QStringLiteral("山田"), true);
    row(QStringLiteral("MaterialMst3"), 70, QStringLiteral("ラウンドアップ"), true);
  }

  void row(const QString& table, long scode, const QString& name, bool use) {
    hv6test::TempDataFolder::insertRow(data.diary(), table,
                                       {{QStringLiteral("Scode"), COleVariant(scode)},
                                        {QStringLiteral("Name"), COleVariant(name)},
                                        {QStringLiteral("IUse"), COleVariant::boolean(use)},
                                        {QStringLiteral("Use"), COleVariant(0)}});
  }

  template <typename T>
  T* control(QWidget& parent, int id) {
    T* found = parent.findChild<T*>(QString::number(id));
    EXPECT_NE(found, nullptr) << id;
    return found;
  }

  QListWidgetItem* itemLabelled(QListWidget* list, const QString& label) {
    for (int i = 0; i < list->count(); ++i)
      if (list->item(i)->text() == label) return list->item(i);
    return nullptr;
  }

  QStringList ledgerNames(QComboBox* box) {
    QStringList names;
    for (int i = 0; i < box->count(); ++i) names.append(box->itemText(i));
    return names;
  }

  // Opens the editor of a line's mobile name by a double click on its cell
  // and types the text, replacing what was there.
  QLineEdit* typeIntoCell(CLedgerGrid* grid, int line, const QString& text) {
    const QModelIndex cell = grid->model()->index(line, LedgerRowModel::kMobileNameColumn);
    grid->scrollTo(cell);
    const QPoint centre = grid->visualRect(cell).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centre);
    auto* edit = qobject_cast<QLineEdit*>(grid->indexWidget(cell));
    EXPECT_NE(edit, nullptr);
    if (!edit) return nullptr;
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    // Typed one character at a time: ASCII as keys, the rest as an input
    // method commits it.
    for (const QChar c : text) {
      if (c.unicode() < 0x80) {
        QTest::keyClicks(edit, QString(c));
      } else {
        QInputMethodEvent commit;
        commit.setCommitString(QString(c));
        QApplication::sendEvent(edit, &commit);
      }
    }
    return edit;
  }

  hv6test::TestEnvironment env;
  hv6test::MessageRecorder messages;
  hv6test::TempDataFolder data;
};

TEST_F(IWDrySheetTest, CarriesItsTitlePagesAndControlIds) {
  CIWDrySheet sheet(data.diary());
  ASSERT_TRUE(sheet.load());
  EXPECT_EQ(sheet.windowTitle(), QStringLiteral("モバイル作業日誌入力設定"));
  EXPECT_EQ(sheet.tabs()->tabText(0), QStringLiteral("入力明細"));
  EXPECT_EQ(sheet.tabs()->tabText(1), QStringLiteral("台帳設定"));
  EXPECT_EQ(sheet.specPage()->objectName(), QStringLiteral("158"));
  EXPECT_EQ(sheet.dryPage()->objectName(), QStringLiteral("159"));
  EXPECT_EQ(control<QPushButton>(sheet, 1)->text(), QStringLiteral("設定・転送"));
  EXPECT_EQ(control<QPushButton>(sheet, 1043)->text(), QStringLiteral("全選択"));
  EXPECT_EQ(control<QPushButton>(sheet, 1044)->text(), QStringLiteral("全解除"));
  control<QListWidget>(sheet, 1000);
  control<QComboBox>(sheet, 1042);
  control<CLedgerGrid>(sheet, 1046);
  EXPECT_TRUE(messages.empty());
}

TEST_F(IWDrySheetTest, ItemsPageFollowsTheRowsAndTheCaptions) {
  CIWDrySheet sheet(data.diary());
  ASSERT_TRUE(sheet.load());
  auto* items = control<QListWidget>(sheet, 1000);
  ASSERT_EQ(items->count(), 21) << "items 0-19 and the one reserve item with a caption";
  EXPECT_EQ(items->item(20)->text(), QStringLiteral("天気"));
  EXPECT_EQ(items->item(20)->data(Qt::UserRole).toInt(), kItemReserve2);
  QListWidgetItem* day = items->item(0);
  EXPECT_EQ(day->checkState(), Qt::Checked);
  EXPECT_FALSE(day->flags().testFlag(Qt::ItemIsEnabled));
  QListWidgetItem* machine = itemLabelled(items, QStringLiteral("機械"));
  ASSERT_TRUE(machine);
  EXPECT_FALSE(machine->flags().testFlag(Qt::ItemIsEnabled)) << "no machine rows";
  QListWidgetItem* materials = itemLabelled(items, QStringLiteral("資材"));
  ASSERT_TRUE(materials);
  EXPECT_TRUE(materials->flags().testFlag(Qt::ItemIsEnabled));
  EXPECT_EQ(materials->checkState(), Qt::Checked);
}

// Leaving the items page takes the checks; the ledger list shows the
// ledgers offered then, the material ledgers under their names.
TEST_F(IWDrySheetTest, LedgerListFollowsTheItemsPage) {
  CIWDrySheet sheet(data.diary());
  ASSERT_TRUE(sheet.load());
  sheet.show();
  auto* ledgers = control<QComboBox>(sheet, 1042);
  sheet.tabs()->setCurrentIndex(1);
  EXPECT_EQ(ledgerNames(ledgers),
            (QStringList{"品目台帳", "作業台帳", "ほ場台帳", "作業者台帳", "除草剤"}));
  ledgers->setCurrentIndex(2);  // fields

  sheet.tabs()->setCurrentIndex(0);
  auto* items = control<QListWidget>(sheet, 1000);
  itemLabelled(items, QStringLiteral("ほ場"))->setCheckState(Qt::Unchecked);
  itemLabelled(items, QStringLiteral("資材"))->setCheckState(Qt::Unchecked);
  sheet.tabs()->setCurrentIndex(1);
  EXPECT_EQ(ledgerNames(ledgers), (QStringList{"品目台帳", "作業台帳", "作業者台帳"}));
  EXPECT_EQ(ledgers->currentIndex(), 0) << "the fields are no longer offered";
  EXPECT_EQ(sheet.dryPage()->ledger(), 1);

  ledgers->setCurrentIndex(1);
  sheet.tabs()->setCurrentIndex(0);
  sheet.tabs()->setCurrentIndex(1);
  EXPECT_EQ(ledgers->currentText(), QStringLiteral("作業台帳")) << "kept while offered";
}

TEST_F(IWDrySheetTest, GridIsEditedThroughItsCellsWithinTwelveBytes) {
  CIWDrySheet sheet(data.diary());
  ASSERT_TRUE(sheet.load());
  sheet.show();
  sheet.tabs()->setCurrentIndex(1);
  QApplication::processEvents();
  auto* grid = control<CLedgerGrid>(sheet, 1046);
  ASSERT_EQ(grid->model()->rowCount(), 2);
  EXPECT_EQ(grid->model()->index(0, LedgerRowModel::kScodeColumn).data().toString(), QStringLiteral("10"));
  EXPECT_EQ(grid->model()->index(0, LedgerRowModel::kNameColumn).data().toString(), QStringLiteral("トマト"));

  struct Case {
    QString typed;
    QString kept;
  };
  const QList<Case> cases{
      {QString(13, QChar(u'桃')), QString(6, QChar(u'桃'))},
      {QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｻｼｽ"), QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｻｼ")},
      // 11 bytes: a twelfth byte would be half of "柿".
      {QStringLiteral("ｱ柿柿柿柿柿柿"), QStringLiteral("ｱ柿柿柿柿柿")},
      {QStringLiteral("O'Neil,\"x\""), QStringLiteral("O'Neil,\"x\"")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed.toStdString());
    QLineEdit* edit = typeIntoCell(grid, 0, c.typed);
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->text(), c.kept);
    EXPECT_LE(hv6::cp932::byteLength(edit->text()), 12);
    QTest::keyClick(edit, Qt::Key_Return);
    QApplication::processEvents();  // the delegate commits on a queued call
    EXPECT_EQ(grid->rows().at(0).mobileName, c.kept);
  }

  // The use check of the second line, by a click on its box.
  const QModelIndex box = grid->model()->index(1, LedgerRowModel::kUseColumn);
  EXPECT_EQ(box.data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
  grid->model()->setData(box, Qt::Checked, Qt::CheckStateRole);

  // Changing the ledger writes the grid back.
  control<QComboBox>(sheet, 1042)->setCurrentIndex(1);
  EXPECT_EQ(sheet.settings().rows(1).at(0).mobileName, QStringLiteral("O'Neil,\"x\""));
  EXPECT_TRUE(sheet.settings().rows(1).at(1).use);
  EXPECT_EQ(grid->model()->index(0, LedgerRowModel::kNameColumn).data().toString(), QStringLiteral("定植"));

  // "全選択" and "全解除", then leaving the page with an editor still open.
  QTest::mouseClick(control<QPushButton>(sheet, 1043), Qt::LeftButton);
  EXPECT_TRUE(grid->rows().at(1).use);
  QTest::mouseClick(control<QPushButton>(sheet, 1044), Qt::LeftButton);
  EXPECT_FALSE(grid->rows().at(0).use || grid->rows().at(1).use);
  ASSERT_TRUE(typeIntoCell(grid, 1, QStringLiteral("とりいれ")));
  sheet.tabs()->setCurrentIndex(0);
  EXPECT_EQ(sheet.settings().rows(2).at(1).mobileName, QStringLiteral("とりいれ"));
  EXPECT_FALSE(sheet.settings().rows(2).at(0).use);
}

TEST_F(IWDrySheetTest, ALoadFailureKeepsTheSheetClosed) {
  data.diary().Execute(QStringLiteral("DROP TABLE Information"));
  CIWDrySheet sheet(data.diary());
  EXPECT_EQ(sheet.run(), QDialog::Rejected);
  EXPECT_EQ(messages.numbers(), QList<long>{2017});
  EXPECT_FALSE(sheet.isVisible());
}

// OK with the ledger page active: the open editor's text, the checks, the
// confirmation, the save and the POST; the sheet closes.
TEST_F(IWDrySheetTest, OkTakesTheGridBackSavesAndSends) {
  ASSERT_TRUE(QDir().mkpath(hv6::userEnvironmentFolder()));
  hv6test::LocalHttpServer server;
  server.get("/iHV/LogonHV.asp", [](const httplib::Request&, httplib::Response& r) {
    r.set_content("1\r\n", "text/plain");
  });
  server.post("/iHV/UploadHV2.asp", [](const httplib::Request&, httplib::Response& r) {
    r.set_content("1\r\n", "text/plain");
  });
  ASSERT_TRUE(server.start());
  for (const auto& [key, value] :
       {std::pair{"HTTP_SERVER", server.host()}, std::pair{"TCPIP_PORT", QString::number(server.port())},
        std::pair{"USER_ID", QStringLiteral("farm01")}, std::pair{"AGRI_PW", QStringLiteral("pw")}})
    ASSERT_TRUE(hv6::WritePrivateProfileString(QStringLiteral("NETWORK"), QString::fromLatin1(key),
                                               value, hv6::wxfetchIniPath()));

  CIWDrySheet sheet(data.diary());
  ASSERT_TRUE(sheet.load());
  sheet.show();
  sheet.tabs()->setCurrentIndex(1);
  auto* grid = control<CLedgerGrid>(sheet, 1046);
  ASSERT_TRUE(typeIntoCell(grid, 0, QStringLiteral("赤とまと")));
  QTest::mouseClick(control<QPushButton>(sheet, 1), Qt::LeftButton);

  EXPECT_EQ(sheet.result(), QDialog::Accepted);
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_EQ(messages.messages()[0].buttons, hv6::MsgButtons::YesNo);
  ASSERT_EQ(server.requestCount(), 2u);
  const QString body = hv6::cp932::decode(QByteArray::fromStdString(server.requests()[1].body));
  EXPECT_TRUE(body.contains(QStringLiteral("1,品目台帳,1,10,赤とまと,,,,0.00,"))) << body.toStdString();
  CDaoRecordset rs(&data.diary());
  rs.Open(dbOpenSnapshot, QStringLiteral("SELECT IName FROM CropMst WHERE Scode = 10"));
  EXPECT_EQ(rs.GetFieldValue(0).toString(), QStringLiteral("赤とまと"));
}

// A question answered yes switches its item off on the page shown too.
TEST_F(IWDrySheetTest, AnItemSwitchedOffByTheChecksShowsUncheckedAndTheSheetStaysOpen) {
  data.diary().Execute(QStringLiteral("UPDATE FieldMst SET IUse = 0"));
  data.diary().Execute(QStringLiteral("UPDATE IWDryOption SET RestStartEndTime = 1, WorkFactTime = 0 WHERE Code = 1"));
  CIWDrySheet sheet(data.diary());
  ASSERT_TRUE(sheet.load());
  sheet.show();
  auto* items = control<QListWidget>(sheet, 1000);
  itemLabelled(items, QStringLiteral("労働正味時間"))->setCheckState(Qt::Checked);
  messages.answer(hv6::MsgAnswer::Yes);   // fields off
  messages.answer(hv6::MsgAnswer::No);    // the confirmation
  QTest::mouseClick(control<QPushButton>(sheet, 1), Qt::LeftButton);
  EXPECT_TRUE(sheet.isVisible());
  ASSERT_EQ(messages.messages().size(), 2);
  EXPECT_TRUE(messages.messages()[0].text.startsWith(QStringLiteral("ほ場台帳では")));
  EXPECT_EQ(itemLabelled(items, QStringLiteral("ほ場"))->checkState(), Qt::Unchecked);
  EXPECT_EQ(itemLabelled(items, QStringLiteral("労働正味時間"))->checkState(), Qt::Checked);
}

// Both pages on the demo farm's masters, as a user sees them. With
// HV6_SCREENSHOT_DIR set the pages are saved there as PNG files.
TEST(IWDrySheetDemo, PagesFitTheirTextsOnTheDemoFarm) {
  hv6test::TestEnvironment env;
  hv6test::MessageRecorder messages;
  hv6test::TempDataFolder data;
  hv6::demo::writeMasters(data.diary());
  hv6::demo::writeFarmSettings(data.diary(), 0);
  const hv6::InformationTexts info = hv6::demo::farmInformation();
  for (int i = 0; i < 5; ++i)
    data.diary().Execute(QStringLiteral("UPDATE Information SET Mte%1Name = ?").arg(i + 1),
                         {COleVariant(info.materialNames.value(i))});
  data.diary().Execute(QStringLiteral("UPDATE Information SET ReserveItem1Name = ?"),
                       {COleVariant(info.reserveItemNames.value(0))});
  data.diary().Execute(QStringLiteral("UPDATE FieldMst SET IUse = 1"));
  const QString fullName = QStringLiteral("北畑第二区画");  // 12 bytes
  data.diary().Execute(QStringLiteral("UPDATE FieldMst SET IName = ? WHERE Scode = 80"),
                       {COleVariant(fullName)});

  CIWDrySheet sheet(data.diary());
  ASSERT_TRUE(sheet.load());
  sheet.show();
  QApplication::processEvents();
  const QString shots = qEnvironmentVariable("HV6_SCREENSHOT_DIR");
  if (!shots.isEmpty()) {
    EXPECT_TRUE(sheet.grab().save(shots + QStringLiteral("/iwdry_158_items.png")));
  }
  auto* items = sheet.findChild<QListWidget*>(QStringLiteral("1000"));
  ASSERT_TRUE(items);
  for (int i = 0; i < items->count(); ++i) {
    const QRect rect = items->visualItemRect(items->item(i));
    EXPECT_LE(items->fontMetrics().horizontalAdvance(items->item(i)->text()) + 30, items->viewport()->width())
        << items->item(i)->text().toStdString();
    EXPECT_GT(rect.height(), 0);
  }

  sheet.tabs()->setCurrentIndex(1);
  auto* ledgers = sheet.findChild<QComboBox*>(QStringLiteral("1042"));
  ASSERT_TRUE(ledgers);
  ledgers->setCurrentIndex(2);  // fields: long names
  auto* grid = sheet.findChild<CLedgerGrid*>(QStringLiteral("1046"));
  ASSERT_TRUE(grid);
  ASSERT_EQ(grid->model()->rowCount(), 8);
  grid->edit(grid->model()->index(7, LedgerRowModel::kMobileNameColumn));
  QApplication::processEvents();
  if (!shots.isEmpty()) {
    EXPECT_TRUE(sheet.grab().save(shots + QStringLiteral("/iwdry_159_ledgers.png")));
  }
  // Six full-width characters fit the mobile name column, and the
  // editor's text of twelve bytes fits its cell.
  const int column = grid->columnWidth(LedgerRowModel::kMobileNameColumn);
  EXPECT_GE(column, grid->fontMetrics().horizontalAdvance(QStringLiteral("ＷＷＷＷＷＷ")) + 8);
  auto* editor = qobject_cast<QLineEdit*>(
      grid->indexWidget(grid->model()->index(7, LedgerRowModel::kMobileNameColumn)));
  ASSERT_TRUE(editor);
  EXPECT_EQ(editor->text(), fullName);
  EXPECT_GE(editor->width(), editor->fontMetrics().horizontalAdvance(fullName) + 4);
  EXPECT_GE(grid->columnWidth(LedgerRowModel::kNameColumn),
            grid->fontMetrics().horizontalAdvance(QStringLiteral("モバイル名称")));
  EXPECT_EQ(ledgers->currentText(), QStringLiteral("ほ場台帳"));
  EXPECT_TRUE(messages.empty());
}

}  // namespace
