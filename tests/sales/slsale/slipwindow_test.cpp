// The slip entry windows' contents through the loaded library, offscreen:
// header fields, the function keys, buttons and right-click menu reaching
// their commands, the dialogs, and the close question.
#include "tests/sales/slsale/sale_host.h"

#include "calendar/salesfill.h"
#include "outside/sl_jet/seljetaccess.h"
#include "platform/registry.h"
#include "tests/calendar/recording.h"
#include "tests/support/temp_data_folder.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

namespace {

using hv6test::SaleHost;
using namespace sl;

class SlipWindowTest : public ::testing::Test {
 protected:
  hv6test::TempDataFolder data;
  CSelJetAccess jet{&data.diary()};
  std::unique_ptr<SaleHost> host;

  void SetUp() override {
    host = std::make_unique<SaleHost>(&jet);
    // The farm-work database of the sales slip window: this data folder's.
    hv6::RegistryStore registry;
    const QString base = QStringLiteral("Software\\Velqor\\HV6");
    ASSERT_EQ(registry.createKey(base + QStringLiteral("\\HV6\\Environment\\BaseInfo")),
              hv6::RegStatus::Ok);
    ASSERT_EQ(registry.writeString(base, QStringLiteral("CurrentKEY"), QStringLiteral("HV6")),
              hv6::RegStatus::Ok);
    ASSERT_EQ(registry.writeString(base + QStringLiteral("\\HV6\\Environment\\BaseInfo"),
                                   QStringLiteral("DataPath"), data.diaryPath()),
              hv6::RegStatus::Ok);
    for (const auto& [code, name] : {std::pair{31, "盛岡市場"}, std::pair{32, "直売所"}}) {
      S_CLIENTSEL client;
      client.code = code;
      slSetText(client.name, QString::fromUtf8(name));
      ASSERT_EQ(jet.AppendClient(client), kSlOk);
    }
  }

  void TearDown() override { host.reset(); }

  CSaleMdiWnd* open(const char* factory, const QString& title) {
    CSaleMdiWnd* window = host->library.function<Sale_NewWndFn>(factory)(&host->frame);
    EXPECT_NE(window->Create(title, 0), 0);
    // Keys reach a window's shortcuts while it is active and holds the focus.
    QApplication::setActiveWindow(&host->frame);
    host->area->setActiveSubWindow(window);
    find<QLineEdit>(window, QStringLiteral("slipNo"))->setFocus();
    return window;
  }

  template <class W>
  static W* find(QWidget* window, const QString& name) {
    W* widget = window->findChild<W*>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
  }

  // A key pressed where the focus is.
  void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus) {  // a dialog closed: the frame becomes active again
      QApplication::setActiveWindow(&host->frame);
      focus = host->area->activeSubWindow()->findChild<QLineEdit*>(QStringLiteral("slipNo"));
      focus->setFocus();
    }
    QTest::keyClick(focus, key, modifiers);
  }

  static void type(QWidget* window, const QString& field, const QString& text) {
    auto* edit = find<QLineEdit>(window, field);
    edit->setFocus();
    edit->setText(text);
    QMetaObject::invokeMethod(edit, "editingFinished");
  }

  QString storedClient(const QString& number) {
    S_SELSLIPHD h;
    if (jet.ReadSlipHead(0, number.rightJustified(13), h) != kSlOk) return QStringLiteral("none");
    return QString::number(h.clientCode);
  }

  // Runs `check` on the next modal dialog, then closes it.
  static void onNextDialog(const std::function<void(QWidget*)>& check) {
    QTimer::singleShot(0, [check] {
      QWidget* dialog = QApplication::activeModalWidget();
      ASSERT_NE(dialog, nullptr);
      check(dialog);
      if (dialog->isVisible()) QMetaObject::invokeMethod(dialog, "reject");
    });
  }
};

TEST_F(SlipWindowTest, BothWindowsHaveTheirHeaderFieldsKeysAndMenu) {
  CSaleMdiWnd* sales = open("Sale_NewE30Wnd", QStringLiteral("売上伝票"));
  CSaleMdiWnd* reservation = open("Sale_NewE10Wnd", QStringLiteral("予約伝票"));
  EXPECT_TRUE(host->recorder.empty());
  for (QWidget* w : {static_cast<QWidget*>(sales), static_cast<QWidget*>(reservation)}) {
    for (const char* name : {"slipNo", "slipDate", "clientCode", "clientLookup", "clientName",
                             "shipTo", "person", "shipDate", "claimDate", "tagColor", "adPlan",
                             "slipGrid", "grid", "totals", "searchConditions"})
      EXPECT_NE(w->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    for (int id : {600, 601, 602, 603, 604, 605, 606, 607, 608, 609, 610, 613, 614, 615, 616, 617})
      EXPECT_NE(w->findChild<QPushButton*>(QString::number(id)), nullptr) << id;
  }
  EXPECT_EQ(find<QPushButton>(sales, QStringLiteral("600"))->text(), QStringLiteral("F2 登録"));
  EXPECT_EQ(find<QPushButton>(sales, QStringLiteral("601"))->text(), QStringLiteral("S-F4 伝票削除"));
  // The sales window alone prints, has kinds 1 and 2 and the hand-over.
  EXPECT_NE(sales->findChild<QPushButton*>(QStringLiteral("611")), nullptr);
  EXPECT_NE(sales->findChild<QPushButton*>(QStringLiteral("618")), nullptr);
  EXPECT_NE(sales->findChild<QComboBox*>(QStringLiteral("slipKind")), nullptr);
  EXPECT_EQ(reservation->findChild<QPushButton*>(QStringLiteral("611")), nullptr);
  EXPECT_EQ(reservation->findChild<QPushButton*>(QStringLiteral("618")), nullptr);
  EXPECT_EQ(reservation->findChild<QComboBox*>(QStringLiteral("slipKind")), nullptr);
  // A new slip numbered 1 on the last saved slip's date (today at first).
  EXPECT_EQ(find<QLineEdit>(sales, QStringLiteral("slipNo"))->text(), QStringLiteral("1"));

  auto* menu = sales->findChild<QMenu*>(QStringLiteral("slipMenu"));
  ASSERT_NE(menu, nullptr);
  QMetaObject::invokeMethod(menu, "aboutToShow");  // as when it opens
  QStringList ids;
  for (QAction* action : menu->actions()) ids << action->objectName();
  EXPECT_EQ(ids, QStringList({"32927", "32915", "32916", "32931", "32936", "32928", "32929",
                              "32930", "32932", "32922"}));
  // Printing is offered in the sales window, on its button and in the menu.
  EXPECT_TRUE(find<QPushButton>(sales, QStringLiteral("611"))->isEnabled());
  EXPECT_TRUE(find<QPushButton>(sales, QStringLiteral("606"))->isEnabled());
  for (QAction* action : menu->actions())
    EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
}

TEST_F(SlipWindowTest, KeysButtonsAndMenuReachTheirCommands) {
  CSaleMdiWnd* w = open("Sale_NewE30Wnd", QStringLiteral("売上伝票"));
  type(w, QStringLiteral("slipNo"), QStringLiteral("15"));
  type(w, QStringLiteral("clientCode"), QStringLiteral("31"));
  EXPECT_EQ(find<QLabel>(w, QStringLiteral("clientName"))->text(), QStringLiteral("盛岡市場"));
  // F2 saves and a new slip follows.
  press(Qt::Key_F2);
  EXPECT_EQ(storedClient(QStringLiteral("15")), QStringLiteral("31"));
  EXPECT_EQ(find<QLineEdit>(w, QStringLiteral("slipNo"))->text(), QStringLiteral("16"));
  EXPECT_EQ(find<QLineEdit>(w, QStringLiteral("clientCode"))->text(), QString());

  // The button 613 shows the first slip; SHIFT+F4 asks 100 for it.
  find<QPushButton>(w, QStringLiteral("613"))->click();
  EXPECT_EQ(find<QLineEdit>(w, QStringLiteral("slipNo"))->text(), QStringLiteral("15"));
  EXPECT_EQ(find<QLineEdit>(w, QStringLiteral("clientCode"))->text(), QStringLiteral("31"));
  host->recorder.answer(hv6::MsgAnswer::No);
  press(Qt::Key_F4, Qt::ShiftModifier);
  ASSERT_EQ(host->recorder.numbers(), QList<long>{100});
  EXPECT_EQ(storedClient(QStringLiteral("15")), QStringLiteral("31"));

  // The menu item 32927 saves too: the client changed to 32.
  type(w, QStringLiteral("clientCode"), QStringLiteral("32"));
  w->findChild<QMenu*>(QStringLiteral("slipMenu"))
      ->findChild<QAction*>(QStringLiteral("32927"))
      ->trigger();
  EXPECT_EQ(storedClient(QStringLiteral("15")), QStringLiteral("32"));

  // F5 copies the last saved slip (15) into the new slip.
  find<QPushButton>(w, QStringLiteral("617"))->click();
  const QString fresh = find<QLineEdit>(w, QStringLiteral("slipNo"))->text();
  press(Qt::Key_F5);
  EXPECT_EQ(find<QLineEdit>(w, QStringLiteral("clientCode"))->text(), QStringLiteral("32"));
  EXPECT_EQ(find<QLineEdit>(w, QStringLiteral("slipNo"))->text(), fresh);

  // F1 opens the window's help page.
  QList<QUrl> pages;
  host->help.setOpener([&pages](const QUrl& url) {
    pages << url;
    return true;
  });
  host->help.setBookPath(host->env.root());
  QFile page(host->env.path(QStringLiteral("30030.html")));
  ASSERT_TRUE(page.open(QIODevice::WriteOnly));
  page.close();
  press(Qt::Key_F1);
  EXPECT_EQ(pages.size(), 1);

  // 618: the hand-over program is not installed here.
  host->recorder.clear();
  find<QPushButton>(w, QStringLiteral("618"))->click();
  ASSERT_EQ(host->recorder.messages().size(), 1);
  EXPECT_EQ(host->recorder.messages().first().text, QStringLiteral("栽培履歴出力の起動に失敗しました。"));
  EXPECT_TRUE(QFile::exists(host->env.path(QStringLiteral("documents/Velqor/HV6P/excelall.tmp"))));
}

TEST_F(SlipWindowTest, TheDialogsOpenFromTheirCommands) {
  CSaleMdiWnd* w = open("Sale_NewE30Wnd", QStringLiteral("売上伝票"));
  type(w, QStringLiteral("clientCode"), QStringLiteral("31"));
  QString seen;
  onNextDialog([&seen](QWidget* dialog) {
    seen = dialog->objectName() + u' ' + dialog->windowTitle();
    EXPECT_NE(dialog->findChild<QPushButton*>(QStringLiteral("registerPattern")), nullptr);
  });
  find<QPushButton>(w, QStringLiteral("603"))->click();
  EXPECT_EQ(seen, QStringLiteral("501 おきまり伝票"));

  onNextDialog([&seen](QWidget* dialog) {
    seen = dialog->objectName() + u' ' + dialog->windowTitle();
    auto* name = dialog->findChild<QLabel*>(QStringLiteral("info0"));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(), QStringLiteral("盛岡市場"));
  });
  press(Qt::Key_F2, Qt::ShiftModifier);
  EXPECT_EQ(seen, QStringLiteral("505 情報"));

  // The search conditions keep the navigation to one client.
  onNextDialog([](QWidget* dialog) {
    EXPECT_EQ(dialog->objectName(), QStringLiteral("503"));
    dialog->findChild<QLineEdit*>(QStringLiteral("clientCode"))->setText(QStringLiteral("32"));
    dialog->findChild<QPushButton*>(QStringLiteral("ok"))->click();
  });
  find<QPushButton>(w, QStringLiteral("searchConditions"))->click();
  find<QPushButton>(w, QStringLiteral("613"))->click();  // nothing of client 32 yet
  EXPECT_EQ(find<QLineEdit>(w, QStringLiteral("clientCode"))->text(), QStringLiteral("31"));
}

TEST_F(SlipWindowTest, AFreeNumberOverAStoredSlipOpensTheCopyBox) {
  CSaleMdiWnd* w = open("Sale_NewE30Wnd", QStringLiteral("売上伝票"));
  // The client picked from the lookup's list.
  onNextDialog([](QWidget* dialog) {
    auto* list = dialog->findChild<QTableWidget*>(QStringLiteral("clientList"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(list->item(1, 1)->text(), QStringLiteral("直売所"));
    list->setCurrentCell(1, 0);
    QMetaObject::invokeMethod(dialog, "accept");
  });
  find<QToolButton>(w, QStringLiteral("clientLookup"))->click();
  EXPECT_EQ(find<QLabel>(w, QStringLiteral("clientName"))->text(), QStringLiteral("直売所"));
  find<QPushButton>(w, QStringLiteral("600"))->click();
  find<QPushButton>(w, QStringLiteral("613"))->click();
  ASSERT_EQ(find<QLineEdit>(w, QStringLiteral("slipNo"))->text(), QStringLiteral("1"));

  QString text;
  onNextDialog([&text](QWidget* box) {
    EXPECT_EQ(box->objectName(), QStringLiteral("361"));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("確  認"));
    text = box->findChild<QLabel*>(QStringLiteral("text"))->text();
    EXPECT_EQ(box->findChild<QPushButton*>(QStringLiteral("whole"))->text(),
              QStringLiteral("伝票全体をコピー(&D)"));
    box->findChild<QPushButton*>(QStringLiteral("headerOnly"))->click();
  });
  type(w, QStringLiteral("slipNo"), QStringLiteral("8"));
  EXPECT_TRUE(text.startsWith(QStringLiteral("すでに登録済みの伝票内容をコピーして")));
  EXPECT_EQ(find<QLineEdit>(w, QStringLiteral("slipNo"))->text(), QStringLiteral("8"));
  EXPECT_EQ(find<QLineEdit>(w, QStringLiteral("clientCode"))->text(), QStringLiteral("32"));
  find<QPushButton>(w, QStringLiteral("600"))->click();
  EXPECT_EQ(storedClient(QStringLiteral("8")), QStringLiteral("32"));
  EXPECT_EQ(storedClient(QStringLiteral("1")), QStringLiteral("32"));
}

TEST_F(SlipWindowTest, TheUnitPriceDialogNeedsALineWithGoods) {
  CSaleMdiWnd* w = open("Sale_NewE30Wnd", QStringLiteral("売上伝票"));
  std::unique_ptr<QDialog> dialog(host->library.function<Sale_NewDlgFn>("Sale_NewE12Dlg")(w));
  EXPECT_EQ(dialog->objectName(), QStringLiteral("502"));
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("単価設定"));
  auto* goods = dialog->findChild<QLabel*>(QStringLiteral("goodsName"));
  ASSERT_NE(goods, nullptr);
  EXPECT_EQ(goods->text(), QStringLiteral("この行には商品が指定されていません。"));
  EXPECT_FALSE(dialog->findChild<QPushButton*>(QStringLiteral("ok"))->isEnabled());
  // Opened from no slip window it says where it belongs.
  std::unique_ptr<QDialog> alone(host->library.function<Sale_NewDlgFn>("Sale_NewE16Dlg")(nullptr));
  EXPECT_EQ(alone->findChild<QLabel*>(QStringLiteral("info0")), nullptr);
  EXPECT_NE(alone->findChild<QPushButton*>(QStringLiteral("close")), nullptr);
}

TEST_F(SlipWindowTest, ClosingAChangedSlipAsks5102) {
  CSaleMdiWnd* w = open("Sale_NewE10Wnd", QStringLiteral("予約伝票"));
  type(w, QStringLiteral("clientCode"), QStringLiteral("31"));
  host->recorder.answer(hv6::MsgAnswer::No);
  find<QPushButton>(w, QStringLiteral("605"))->click();
  host->flushEvents();
  EXPECT_EQ(host->recorder.numbers(), QList<long>{5102});
  EXPECT_TRUE(host->area->subWindowList().isEmpty());

  // Yes saves before the window goes.
  CSaleMdiWnd* again = open("Sale_NewE10Wnd", QStringLiteral("予約伝票"));
  type(again, QStringLiteral("slipNo"), QStringLiteral("70"));
  type(again, QStringLiteral("clientCode"), QStringLiteral("32"));
  again->close();
  host->flushEvents();
  S_SELSLIPHD h;
  ASSERT_EQ(jet.ReadSlipHead(1, QStringLiteral("70").rightJustified(13), h), kSlOk);
  EXPECT_EQ(h.clientCode, 32);
  EXPECT_EQ(h.slipKind, kKindReservation);
}

TEST_F(SlipWindowTest, WithoutTheFarmSettingsTheSalesWindowSays221AndOpens) {
  hv6::RegistryStore registry;
  ASSERT_EQ(registry.deleteValue(QStringLiteral("Software\\Velqor\\HV6\\HV6\\Environment\\BaseInfo"),
                                 QStringLiteral("DataPath")),
            hv6::RegStatus::Ok);
  open("Sale_NewE30Wnd", QStringLiteral("売上伝票"));
  EXPECT_EQ(host->recorder.numbers(), QList<long>{221});
  EXPECT_EQ(host->area->subWindowList().size(), 1);
}

// A 20-line slip typed key by key into the grid of the sales window, saved
// with F2: found in Slip and SlipDetails and in the calendar's lines.
class TypedSlipTest : public SlipWindowTest {
 protected:
  void SetUp() override {
    SlipWindowTest::SetUp();
    for (const auto& [code, name, price] :
         {std::tuple{"T1", "トマト", 300}, std::tuple{"C1", "きゅうり", 200}}) {
      S_COMMODITY goods;
      slSetText(goods.code, QString::fromLatin1(code));
      slSetText(goods.name, QString::fromUtf8(name));
      goods.standardPrice = price;
      ASSERT_EQ(jet.AppendGoods(goods), kSlOk);
    }
  }

  // Types into the grid where its cursor is.
  void typeKeys(QWidget* grid, const QString& text) {
    for (const QChar c : text) QTest::keyClick(grid, c.toLatin1());
  }

  // Lines of 売上 typed from the first line's kind: tomatoes on even lines,
  // cucumbers on odd ones, quantity line + 1, crop on the tomato lines.
  QWidget* typeLines(CSaleMdiWnd* w, int count, std::int32_t crop, bool sales = true) {
    auto* grid = w->findChild<QWidget*>(QStringLiteral("grid"));
    EXPECT_NE(grid, nullptr);
    if (!grid) return nullptr;
    QApplication::setActiveWindow(&host->frame);
    grid->setFocus();
    for (int l = 0; l < count; ++l) {
      typeKeys(grid, QStringLiteral("1"));  // 売上: on to the goods code
      typeKeys(grid, l % 2 == 0 ? QStringLiteral("T1") : QStringLiteral("C1"));
      // Goods code, name, tax class: on to the quantity.
      for (int i = 0; i < 3; ++i) QTest::keyClick(grid, Qt::Key_Return);
      typeKeys(grid, QString::number(l + 1));
      // Unit, unit price, amount, cost price, tax, simplified class.
      for (int i = 0; i < 6; ++i) QTest::keyClick(grid, Qt::Key_Return);
      // The sales window: 品目 (a digit chooses the list's entry), ほ場,
      // grade, standard; then on to the next line.
      if (sales && l % 2 == 0 && crop > 0) typeKeys(grid, QString::number(crop));
      for (int i = 0; i < (sales ? 5 : 1); ++i) QTest::keyClick(grid, Qt::Key_Return);
    }
    return grid;
  }
};

TEST_F(TypedSlipTest, ASlipTypedKeyByKeyIsSavedWithF2AndShowsInTheCalendar) {
  CSaleMdiWnd* w = open("Sale_NewE30Wnd", QStringLiteral("売上伝票"));
  type(w, QStringLiteral("slipNo"), QStringLiteral("501"));
  type(w, QStringLiteral("clientCode"), QStringLiteral("31"));
  w->resize(1040, 720);
  QWidget* grid = typeLines(w, 20, 0);
  ASSERT_NE(grid, nullptr);
  const QString folder = qEnvironmentVariable("HV6_SCREENSHOTS");
  if (!folder.isEmpty()) w->grab().save(folder + QStringLiteral("/e30-20lines.png"));
  EXPECT_TRUE(host->recorder.empty());
  QTest::keyClick(grid, Qt::Key_F2);
  EXPECT_TRUE(host->recorder.empty()) << host->recorder.numbers().size();
  S_SELSLIPHD h;
  ASSERT_EQ(jet.ReadSlipHead(0, QStringLiteral("501").rightJustified(13), h), kSlOk);
  QList<S_SELSLIP> lines;
  ASSERT_EQ(jet.ReadSlipLines(h.code, lines), kSlOk);
  ASSERT_EQ(lines.size(), 20);
  double amount = 0;
  for (int l = 0; l < 20; ++l) {
    EXPECT_EQ(slText(lines[l].goodsCode), l % 2 == 0 ? QStringLiteral("T1") : QStringLiteral("C1")) << l;
    EXPECT_EQ(lines[l].quantity, l + 1) << l;
    EXPECT_EQ(lines[l].amount, (l + 1) * (l % 2 == 0 ? 300 : 200)) << l;
    amount += lines[l].amount;
  }
  EXPECT_EQ(h.lineCount, 20);
  EXPECT_EQ(h.taxOutAmount, amount);
  // The calendar shows it on its day, by client.
  hv6test::RecordingSink sink;
  hv6test::RecordingMeter meter;
  hv6::MemoList memos;
  hv6::fillSlips(data.diary(), 1, 0, h.slipDate / 100 * 100, sink, memos, meter);
  EXPECT_EQ(sink.calls, QStringList{QStringLiteral("add %1/%2 盛岡市場 %3 0")
                                        .arg(h.slipDate / 100 % 100)
                                        .arg(h.slipDate % 100)
                                        .arg(amount * 1.1)});
  // The window moved on to the next number.
  EXPECT_EQ(find<QLineEdit>(w, QStringLiteral("slipNo"))->text(), QStringLiteral("502"));
}

// F7 prints the shown sales slip in the print preview (closed here as the
// user would); without a client and a line there is nothing to print.
TEST_F(TypedSlipTest, F7ShowsTheSalesSlipInThePrintPreview) {
  CSaleMdiWnd* w = open("Sale_NewE30Wnd", QStringLiteral("売上伝票"));
  // Nothing to print yet: a box says so.
  QTest::keyClick(find<QPushButton>(w, QStringLiteral("611")), Qt::Key_F7);
  ASSERT_EQ(host->recorder.messages().size(), 1);
  EXPECT_TRUE(host->recorder.messages().first().text.contains(QStringLiteral("印刷する伝票がありません")));
  host->recorder.clear();
  type(w, QStringLiteral("slipNo"), QStringLiteral("601"));
  type(w, QStringLiteral("clientCode"), QStringLiteral("31"));
  QWidget* grid = typeLines(w, 2, 0);
  ASSERT_NE(grid, nullptr);
  QString shown;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      shown = QString::fromLatin1(modal->metaObject()->className());
      modal->close();
    }
  });
  watch.start(50);
  QTest::keyClick(grid, Qt::Key_F7);
  watch.stop();
  EXPECT_EQ(shown, QStringLiteral("QPrintPreviewDialog"));
  EXPECT_TRUE(host->recorder.empty());
}

TEST_F(TypedSlipTest, TwoWindowsOnOneSlip_TheSecondSaveIsRefusedAndKeepsItsLines) {
  CSaleMdiWnd* first = open("Sale_NewE30Wnd", QStringLiteral("売上伝票"));
  type(first, QStringLiteral("slipNo"), QStringLiteral("60"));
  type(first, QStringLiteral("clientCode"), QStringLiteral("31"));
  typeLines(first, 2, 0);
  find<QPushButton>(first, QStringLiteral("600"))->click();
  // Both windows show slip 60; the first saves another client.
  CSaleMdiWnd* second = open("Sale_NewE30Wnd", QStringLiteral("売上伝票"));
  type(first, QStringLiteral("slipNo"), QStringLiteral("60"));
  type(second, QStringLiteral("slipNo"), QStringLiteral("60"));
  type(first, QStringLiteral("clientCode"), QStringLiteral("32"));
  find<QPushButton>(first, QStringLiteral("600"))->click();
  ASSERT_TRUE(host->recorder.empty());
  EXPECT_EQ(storedClient(QStringLiteral("60")), QStringLiteral("32"));
  // The second window, still on what it read, changes the client too:
  // refused, and its change stays on screen.
  host->area->setActiveSubWindow(second);
  type(second, QStringLiteral("clientCode"), QStringLiteral("32"));
  find<QPushButton>(second, QStringLiteral("600"))->click();
  ASSERT_EQ(host->recorder.messages().size(), 1);
  EXPECT_TRUE(host->recorder.messages().first().text.contains(QStringLiteral("他の画面")));
  EXPECT_EQ(find<QLineEdit>(second, QStringLiteral("slipNo"))->text(), QStringLiteral("60"));
  EXPECT_EQ(find<QLineEdit>(second, QStringLiteral("clientCode"))->text(), QStringLiteral("32"));
  S_SELSLIPHD h;
  ASSERT_EQ(jet.ReadSlipHead(0, QStringLiteral("60").rightJustified(13), h), kSlOk);
  QList<S_SELSLIP> lines;
  ASSERT_EQ(jet.ReadSlipLines(h.code, lines), kSlOk);
  EXPECT_EQ(lines.size(), 2);
  S_CLIENTSEL shop;
  ASSERT_EQ(jet.ReadClient(32, shop), kSlOk);
  EXPECT_EQ(shop.salesSlipCount, 1);  // stored once, not twice
}

TEST_F(TypedSlipTest, LineKeysWorkOnTheGridsCurrentLine) {
  CSaleMdiWnd* w = open("Sale_NewE30Wnd", QStringLiteral("売上伝票"));
  type(w, QStringLiteral("clientCode"), QStringLiteral("31"));
  QWidget* grid = typeLines(w, 3, 0);
  ASSERT_NE(grid, nullptr);
  // Up to the second line (two rows a line), then F4: its number in the
  // question.
  for (int i = 0; i < 4; ++i) QTest::keyClick(grid, Qt::Key_Up);
  host->recorder.answer(hv6::MsgAnswer::No);
  QTest::keyClick(grid, Qt::Key_F4);
  ASSERT_EQ(host->recorder.messages().size(), 1);
  EXPECT_EQ(host->recorder.messages().first().text,
            sl::CNmlMsg::text(100, QStringLiteral("番号[2] の明細行")));
  // F3 puts an empty line there; F2 is refused with 51004 on it.
  host->recorder.clear();
  QTest::keyClick(grid, Qt::Key_F3);
  QTest::keyClick(grid, Qt::Key_F2);
  EXPECT_EQ(host->recorder.numbers(), QList<long>{51004});
  // F4 on the empty line does nothing.
  host->recorder.clear();
  QTest::keyClick(grid, Qt::Key_F4);
  EXPECT_TRUE(host->recorder.empty());
}

// Both windows with a 20-line slip, for a look.
TEST_F(TypedSlipTest, Screenshots) {
  const QString folder = qEnvironmentVariable("HV6_SCREENSHOTS");
  if (folder.isEmpty()) GTEST_SKIP() << "HV6_SCREENSHOTS not set";
  host->frame.resize(1300, 820);
  for (const auto& [factory, name, sales] :
       {std::tuple{"Sale_NewE30Wnd", "e30-20", true}, std::tuple{"Sale_NewE10Wnd", "e10-20", false}}) {
    CSaleMdiWnd* w = open(factory, QString::fromLatin1(name));
    w->resize(1240, 760);
    type(w, QStringLiteral("clientCode"), QStringLiteral("31"));
    typeLines(w, 20, 0, sales);
    QApplication::processEvents();
    EXPECT_TRUE(w->grab().save(folder + QStringLiteral("/%1.png").arg(QString::fromLatin1(name))));
  }
}

// Screenshots of both windows for a look (HV6_SCREENSHOTS names a folder).
TEST_F(SlipWindowTest, Screenshots) {
  const QString folder = qEnvironmentVariable("HV6_SCREENSHOTS");
  if (folder.isEmpty()) GTEST_SKIP() << "HV6_SCREENSHOTS not set";
  host->frame.resize(1100, 720);
  for (const auto& [factory, name] : {std::pair{"Sale_NewE30Wnd", "e30"}, std::pair{"Sale_NewE10Wnd", "e10"}}) {
    CSaleMdiWnd* w = open(factory, QString::fromLatin1(name));
    w->resize(1040, 600);
    type(w, QStringLiteral("clientCode"), QStringLiteral("31"));
    QApplication::processEvents();
    EXPECT_TRUE(w->grab().save(folder + QStringLiteral("/%1.png").arg(QString::fromLatin1(name))));
  }
  QMdiSubWindow* w = host->area->subWindowList().first();
  host->area->setActiveSubWindow(w);
  for (const char* id : {"603", "610"}) {
    onNextDialog([&folder, id](QWidget* dialog) {
      dialog->adjustSize();
      EXPECT_TRUE(dialog->grab().save(folder + QStringLiteral("/dialog%1.png").arg(QString::fromLatin1(id))));
    });
    find<QPushButton>(w, QString::fromLatin1(id))->click();
  }
  onNextDialog([&folder](QWidget* dialog) {
    dialog->adjustSize();
    EXPECT_TRUE(dialog->grab().save(folder + QStringLiteral("/dialog503.png")));
  });
  find<QPushButton>(w, QStringLiteral("searchConditions"))->click();
}

}  // namespace
