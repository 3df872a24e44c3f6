// The master windows of the sales host, driven through their controls.

#include "outside/salehost/ui/masterwindow.h"
#include "outside/sl_jet/seljetaccess.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using hv6test::MessageRecorder;
using salehost::MasterWindow;

namespace {

class MasterWindowTest : public ::testing::Test {
 protected:
  MasterWindowTest() : store(&data.diary()) {}

  QLineEdit* edit(MasterWindow& window, const char* name) {
    auto* line = window.findChild<QLineEdit*>(QString::fromLatin1(name));
    EXPECT_NE(line, nullptr) << name;
    return line;
  }
  void type(MasterWindow& window, const char* name, const QString& text) {
    // Japanese text cannot be typed as key events: it is set as an input
    // method would commit it.
    QLineEdit* line = edit(window, name);
    line->selectAll();
    line->insert(text);
  }
  void click(MasterWindow& window, const char* name) {
    auto* b = window.findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_NE(b, nullptr) << name;
    b->click();
  }
  QStringList listColumn(MasterWindow& window, int column) {
    auto* list = window.findChild<QTableView*>(QStringLiteral("list"));
    QStringList texts;
    for (int row = 0; row < list->model()->rowCount(); ++row)
      if (!list->isRowHidden(row)) texts.append(list->model()->index(row, column).data().toString());
    return texts;
  }

  hv6test::TestEnvironment env;
  hv6test::TempDataFolder data;
  sl::CSelJetAccess store;
  MessageRecorder messages;
};

TEST_F(MasterWindowTest, AClientTypedIntoTheFormIsStoredWithItsSalesSettings) {
  MasterWindow window(salehost::clientTable(store));
  EXPECT_EQ(edit(window, "code")->text(), QStringLiteral("1"));  // the first free code
  type(window, "name", QStringLiteral("山田青果店"));
  type(window, "kana", QStringLiteral("ﾔﾏﾀﾞｾｲｶ"));
  window.findChild<QComboBox*>(QStringLiteral("taxTiming"))->setCurrentIndex(1);    // 伝票ごと
  window.findChild<QComboBox*>(QStringLiteral("taxRounding"))->setCurrentIndex(0);  // 切り捨て
  type(window, "closeDay", QStringLiteral("２０"));  // full-width digits
  type(window, "priceRate", QStringLiteral("95.5"));
  type(window, "creditLimit", QStringLiteral("1,000,000"));
  click(window, "save");
  EXPECT_TRUE(messages.empty());

  sl::S_CLIENTSEL client{};
  ASSERT_EQ(store.ReadClient(1, client), sl::kSlOk);
  EXPECT_EQ(sl::slText(client.name), QStringLiteral("山田青果店"));
  EXPECT_EQ(client.taxTiming, sl::kTimingPerSlip);
  EXPECT_EQ(client.taxRounding, sl::kRoundTruncate);
  EXPECT_EQ(client.closeDay, 20);
  EXPECT_DOUBLE_EQ(client.priceRate, 95.5);
  EXPECT_DOUBLE_EQ(client.creditLimit, 1000000);
  EXPECT_EQ(listColumn(window, 1), QStringList{QStringLiteral("山田青果店")});

  // The next new client proposes the next code.
  click(window, "new");
  EXPECT_EQ(edit(window, "code")->text(), QStringLiteral("2"));
}

TEST_F(MasterWindowTest, ChangingAClientKeepsTheFiguresTheSlipsLeft) {
  sl::S_CLIENTSEL client{};
  client.code = 7;
  sl::slSetText(client.name, QStringLiteral("旧名"));
  ASSERT_EQ(store.AppendClient(client), sl::kSlOk);
  ASSERT_EQ(store.ReadClient(7, client), sl::kSlOk);
  client.balance = 12345;
  client.salesSlipCount = 3;
  ASSERT_EQ(store.UpdateClient(client), sl::kSlOk);

  MasterWindow window(salehost::clientTable(store));
  auto* list = window.findChild<QTableView*>(QStringLiteral("list"));
  list->selectRow(0);
  EXPECT_TRUE(edit(window, "code")->isReadOnly());
  type(window, "name", QStringLiteral("新名"));
  click(window, "save");

  sl::S_CLIENTSEL stored{};
  ASSERT_EQ(store.ReadClient(7, stored), sl::kSlOk);
  EXPECT_EQ(sl::slText(stored.name), QStringLiteral("新名"));
  EXPECT_DOUBLE_EQ(stored.balance, 12345);
  EXPECT_EQ(stored.salesSlipCount, 3);
}

TEST_F(MasterWindowTest, BadInputIsRefusedWithAMessageAndNothingIsStored) {
  MasterWindow window(salehost::clientTable(store));
  // No name.
  click(window, "save");
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_TRUE(messages.messages().first().text.contains(QStringLiteral("「得意先名」")));
  // Letters in a number field.
  messages.clear();
  type(window, "name", QStringLiteral("A商店"));
  type(window, "closeDay", QStringLiteral("末日"));
  click(window, "save");
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_TRUE(messages.messages().first().text.contains(QStringLiteral("「請求締日")));
  // Out of range.
  messages.clear();
  type(window, "closeDay", QStringLiteral("32"));
  click(window, "save");
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_TRUE(messages.messages().first().text.contains(QStringLiteral("1～31")));
  QList<sl::S_CLIENTSEL> clients;
  ASSERT_EQ(store.ReadClients(clients), sl::kSlOk);
  EXPECT_TRUE(clients.isEmpty());

  // Text longer than the column: the table refuses it even when it did
  // not come through the edit (whose length is limited as well).
  salehost::Values values = window.table().blank();
  values[0] = 5;
  values[1] = QString(41, u'あ');
  const salehost::Refusal refusal = window.table().check(values);
  EXPECT_EQ(refusal.field, 1);
  EXPECT_TRUE(refusal.text.contains(QStringLiteral("40文字")));
  EXPECT_EQ(edit(window, "name")->maxLength(), 40);
}

TEST_F(MasterWindowTest, ADuplicateCodeIsRefused) {
  MasterWindow window(salehost::personTable(store));
  type(window, "name", QStringLiteral("佐藤"));
  click(window, "save");
  click(window, "new");
  type(window, "code", QStringLiteral("1"));
  type(window, "name", QStringLiteral("鈴木"));
  click(window, "save");
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_TRUE(messages.messages().first().text.contains(QStringLiteral("すでに登録")));
  sl::S_PERSON person{};
  ASSERT_EQ(store.ReadPerson(1, person), sl::kSlOk);
  EXPECT_EQ(sl::slText(person.name), QStringLiteral("佐藤"));
}

TEST_F(MasterWindowTest, DeletingIsRefusedWhileASlipUsesTheRowAndSaysWhichSlip) {
  sl::S_CLIENTSEL client{};
  client.code = 3;
  sl::slSetText(client.name, QStringLiteral("丸山商店"));
  ASSERT_EQ(store.AppendClient(client), sl::kSlOk);
  client.code = 4;
  sl::slSetText(client.name, QStringLiteral("使っていない店"));
  ASSERT_EQ(store.AppendClient(client), sl::kSlOk);
  sl::S_SELSLIPHD header{};
  sl::slSetText(header.slipNo, QStringLiteral("          101"));
  header.slipDate = 20250605;
  header.slipKind = sl::kKindCredit;
  header.clientCode = 3;
  ASSERT_EQ(store.AppendSlipHead(header), sl::kSlOk);

  MasterWindow window(salehost::clientTable(store));
  auto* list = window.findChild<QTableView*>(QStringLiteral("list"));
  list->selectRow(0);
  click(window, "delete");
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_TRUE(messages.messages().first().text.contains(QStringLiteral("101")));
  EXPECT_TRUE(messages.messages().first().text.contains(QStringLiteral("2025/06/05")));
  ASSERT_EQ(store.ReadClient(3, client), sl::kSlOk);

  // The unused one goes after the question; No keeps it.
  messages.clear();
  list->selectRow(1);
  messages.answer(hv6::MsgAnswer::No);
  click(window, "delete");
  ASSERT_EQ(store.ReadClient(4, client), sl::kSlOk);
  messages.answer(hv6::MsgAnswer::Yes);
  click(window, "delete");
  EXPECT_EQ(store.ReadClient(4, client), sl::kSlNotFound);
  EXPECT_EQ(listColumn(window, 1), QStringList{QStringLiteral("丸山商店")});
}

TEST_F(MasterWindowTest, SearchNarrowsTheListAndEnterMovesThroughTheForm) {
  for (int i = 1; i <= 3; ++i) {
    sl::S_PERSON person{};
    person.code = i;
    sl::slSetText(person.name, QStringList{"佐藤", "鈴木", "佐々木"}.at(i - 1));
    ASSERT_EQ(store.AppendPerson(person), sl::kSlOk);
  }
  MasterWindow window(salehost::personTable(store));
  window.show();
  window.findChild<QLineEdit*>(QStringLiteral("search"))->insert(QStringLiteral("佐"));
  EXPECT_EQ(listColumn(window, 1), (QStringList{QStringLiteral("佐藤"), QStringLiteral("佐々木")}));

  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QLineEdit* code = edit(window, "code");
  code->setFocus();
  QTest::keyClick(code, Qt::Key_Return);
  EXPECT_TRUE(edit(window, "name")->hasFocus());

  // The slip windows' keys: F3 a new row (the next free code), F2 stores it.
  QTest::keyClick(edit(window, "name"), Qt::Key_F3);
  EXPECT_EQ(edit(window, "code")->text(), QStringLiteral("4"));
  type(window, "name", QStringLiteral("高橋"));
  QTest::keyClick(edit(window, "name"), Qt::Key_F2);
  sl::S_PERSON added{};
  ASSERT_EQ(store.ReadPerson(4, added), sl::kSlOk);
  EXPECT_EQ(sl::slText(added.name), QStringLiteral("高橋"));
}

TEST_F(MasterWindowTest, TheCompanyRecordChecksTheInvoiceNumberAndStoresRatesInHundredths) {
  MasterWindow window(salehost::companyTable(store));
  EXPECT_EQ(window.findChild<QPushButton*>(QStringLiteral("delete")), nullptr);
  type(window, "name", QStringLiteral("みどり農園"));
  type(window, "invoiceNo", QStringLiteral("T123"));
  click(window, "save");
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_TRUE(messages.messages().first().text.contains(QStringLiteral("13桁")));

  messages.clear();
  type(window, "invoiceNo", QStringLiteral("T1234567890123"));
  type(window, "taxRate1", QStringLiteral("8"));
  window.findChild<QCheckBox*>(QStringLiteral("reducedRate1"))->setChecked(true);
  click(window, "save");
  EXPECT_TRUE(messages.empty());
  sl::S_COMPANY company{};
  ASSERT_EQ(store.ReadCompany(company), sl::kSlOk);
  EXPECT_EQ(sl::slText(company.name), QStringLiteral("みどり農園"));
  EXPECT_EQ(sl::slText(company.invoiceNo), QStringLiteral("T1234567890123"));
  EXPECT_EQ(company.taxRates[1], 800);
  EXPECT_EQ(company.reducedRate[1], 1);
}

TEST_F(MasterWindowTest, TheEnvironmentRefusesAnUpsideDownNumberRange) {
  MasterWindow window(salehost::environmentTable(store));
  type(window, "slipNoLow", QStringLiteral("900"));
  type(window, "slipNoHigh", QStringLiteral("1000"));  // right-aligned: 900 < 1000
  click(window, "save");
  EXPECT_TRUE(messages.empty());
  type(window, "slipNoLow", QStringLiteral("2000"));
  click(window, "save");
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_TRUE(messages.messages().first().text.contains(QStringLiteral("下限")));
  sl::S_SELENV stored{};
  ASSERT_EQ(store.ReadEnvironment(stored), sl::kSlOk);
  EXPECT_EQ(sl::slText(stored.slipNoLow), QStringLiteral("900"));
}

}  // namespace
