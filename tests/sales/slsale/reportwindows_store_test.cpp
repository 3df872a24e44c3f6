// The report windows of slsale over the real store: the conditions asked
// when the window opens, the aggregation into the list with its summary,
// the module-wide remembered 伝票区分, the boxes 835 and 102, the print
// dialogs, and screenshots of both windows (under /tmp, to look at).
#include "tests/sales/reports/reportfixture.h"
#include "tests/sales/slsale/sale_host.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>

namespace {

using hv6test::SaleHost;

class ReportWindowTest : public hv6test::ReportStore {
 protected:
  void SetUp() override {
    ReportStore::SetUp();
    storeTable();
    host = std::make_unique<SaleHost>(&jet);
    host->frame.resize(1400, 800);
    host->frame.show();
  }
  void TearDown() override {
    for (QMdiSubWindow* w : host->area->subWindowList()) w->close();
    host->flushEvents();
    host.reset();
  }

  CSaleMdiWnd* open(const char* factory) {
    CSaleMdiWnd* window = host->library.function<Sale_NewWndFn>(factory)(&host->frame);
    EXPECT_NE(window->Create(QString::fromLatin1(factory), 0), 0);
    host->flushEvents();  // the conditions dialog opens
    return window;
  }
  static QDialog* dialogOf(QWidget* window, const QString& id) {
    for (QDialog* d : window->findChildren<QDialog*>())
      if (d->objectName() == id && d->isVisible()) return d;
    return nullptr;
  }
  static void setText(QDialog* d, const char* name, const QString& text) {
    d->findChild<QLineEdit*>(QString::fromLatin1(name))->setText(text);
  }
  static void start(QDialog* d) {
    d->findChild<QPushButton*>(QStringLiteral("start"))->click();
  }
  static QString cell(QWidget* window, int row, int column) {
    auto* list = window->findChild<QTableView*>(QStringLiteral("list"));
    return list->model()->index(row, column).data().toString();
  }
  static int rows(QWidget* window) {
    return window->findChild<QTableView*>(QStringLiteral("list"))->model()->rowCount();
  }

  std::unique_ptr<SaleHost> host;
};

TEST_F(ReportWindowTest, SalesReportAsksConditionsAndShowsRowsAndSummary) {
  CSaleMdiWnd* window = open("Sale_NewE20Wnd");
  QDialog* conditions = dialogOf(window, QStringLiteral("506"));
  ASSERT_NE(conditions, nullptr);
  EXPECT_EQ(conditions->windowTitle(), QStringLiteral("売上伝票表示条件"));
  auto* kinds = conditions->findChild<QComboBox*>(QStringLiteral("slipKind"));
  ASSERT_EQ(kinds->count(), 3);
  EXPECT_EQ(kinds->itemText(0), QStringLiteral(" 小売・掛売 "));
  setText(conditions, "dateFrom", QStringLiteral("2024/04/01"));
  setText(conditions, "dateTo", QStringLiteral("20240430"));
  EXPECT_TRUE(conditions->grab().save(QStringLiteral("/tmp/sr_e41_dialog.png")));
  start(conditions);
  host->flushEvents();
  EXPECT_TRUE(host->recorder.empty());
  // 14 rows of two lines each; the list starts at the first.
  ASSERT_EQ(rows(window), 28);
  EXPECT_EQ(cell(window, 0, 0), QStringLiteral("2024/04/09"));
  EXPECT_EQ(cell(window, 0, 2), QStringLiteral("青果店A"));
  EXPECT_EQ(cell(window, 0, 8), QStringLiteral("3,000"));
  EXPECT_EQ(cell(window, 1, 0), QStringLiteral("掛売"));
  EXPECT_EQ(cell(window, 4, 4), QStringLiteral("     【伝票計】"));
  EXPECT_EQ(cell(window, 4, 9), QStringLiteral("4,380"));
  auto* list = window->findChild<QTableView*>(QStringLiteral("list"));
  EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(),
            QStringLiteral(" 伝 票 日 付 \n 伝 票 区 分 "));
  // The summary: the total row's sales with and without tax.
  EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("summary_3_1"))->text(), QStringLiteral("5,800"));
  EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("summary_3_2"))->text(), QStringLiteral("6,750"));
  EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("summary_0_0"))->text(), QStringLiteral("外  税"));

  window->resize(1350, 640);
  host->flushEvents();
  EXPECT_TRUE(host->frame.grab().save(QStringLiteral("/tmp/sr_e20_window.png")));

  // F7: the print dialog of the report.
  QTimer::singleShot(0, window, [window] {
    QDialog* print = dialogOf(window, QStringLiteral("509"));
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(print->windowTitle(), QStringLiteral("印刷"));
    EXPECT_TRUE(print->findChild<QLabel*>(QStringLiteral("printer"))->text().startsWith(QStringLiteral("用紙　A4")));
    EXPECT_FALSE(print->findChild<QRadioButton*>(QStringLiteral("choice0"))->isVisible());
    print->grab().save(QStringLiteral("/tmp/sr_e20_print.png"));
    print->reject();
  });
  window->findChild<QPushButton*>(QStringLiteral("600"))->click();
}

TEST_F(ReportWindowTest, TheListChoiceIsRememberedAcrossTheModule) {
  CSaleMdiWnd* sales = open("Sale_NewE20Wnd");
  QDialog* conditions = dialogOf(sales, QStringLiteral("506"));
  ASSERT_NE(conditions, nullptr);
  setText(conditions, "dateFrom", QStringLiteral("2024/04/01"));
  setText(conditions, "dateTo", QStringLiteral("2024/04/30"));
  conditions->findChild<QComboBox*>(QStringLiteral("slipKind"))->setCurrentIndex(2);  // 小売
  start(conditions);
  host->flushEvents();
  EXPECT_EQ(rows(sales), 2 * 5);  // slip 2: 3 lines, its total, the day total
  sales->findChild<QPushButton*>(QStringLiteral("603"))->click();  // 検索条件
  host->flushEvents();
  QDialog* again = dialogOf(sales, QStringLiteral("506"));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->findChild<QComboBox*>(QStringLiteral("slipKind"))->currentIndex(), 2);
  EXPECT_EQ(again->findChild<QLineEdit*>(QStringLiteral("dateFrom"))->text(), QStringLiteral("2024/04/01"));
  again->reject();

  // The reservation report offers its one entry; its choice, remembered,
  // falls back to the first entry in the sales report.
  CSaleMdiWnd* reservation = open("Sale_NewE40Wnd");
  QDialog* other = dialogOf(reservation, QStringLiteral("506"));
  ASSERT_NE(other, nullptr);
  auto* kinds = other->findChild<QComboBox*>(QStringLiteral("slipKind"));
  ASSERT_EQ(kinds->count(), 1);
  EXPECT_EQ(kinds->itemText(0), QStringLiteral(" 予約伝票 "));
  setText(other, "dateFrom", QStringLiteral("2024/04/01"));
  setText(other, "dateTo", QStringLiteral("2024/04/30"));
  start(other);
  host->flushEvents();
  EXPECT_EQ(rows(reservation), 2 * 3);  // slip 5: a line, its total, the day

  sales->findChild<QPushButton*>(QStringLiteral("603"))->click();
  host->flushEvents();
  again = dialogOf(sales, QStringLiteral("506"));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->findChild<QComboBox*>(QStringLiteral("slipKind"))->currentIndex(), 0);
  again->reject();
}

TEST_F(ReportWindowTest, NothingToShowAndCancellingShowTheirBoxes) {
  CSaleMdiWnd* window = open("Sale_NewE20Wnd");
  QDialog* conditions = dialogOf(window, QStringLiteral("506"));
  ASSERT_NE(conditions, nullptr);
  setText(conditions, "dateFrom", QStringLiteral("2023/01/01"));
  setText(conditions, "dateTo", QStringLiteral("2023/01/31"));
  start(conditions);
  host->flushEvents();
  EXPECT_EQ(host->recorder.numbers(), QList<long>{835});
  EXPECT_EQ(rows(window), 0);

  // A reversed range is refused in the dialog.
  window->findChild<QPushButton*>(QStringLiteral("603"))->click();
  host->flushEvents();
  conditions = dialogOf(window, QStringLiteral("506"));
  ASSERT_NE(conditions, nullptr);
  setText(conditions, "dateFrom", QStringLiteral("2024/04/30"));
  setText(conditions, "dateTo", QStringLiteral("2024/04/01"));
  start(conditions);
  EXPECT_TRUE(conditions->isVisible());
  EXPECT_EQ(host->recorder.numbers(), (QList<long>{835, 0}));

  // Cancelled from the progress box "集計中": notice 102.
  setText(conditions, "dateFrom", QStringLiteral("2024/04/01"));
  setText(conditions, "dateTo", QStringLiteral("2024/04/30"));
  // The box exists while the aggregation runs: cancel it from the events
  // the aggregation lets through.
  QTimer watch;
  bool seen = false;
  QObject::connect(&watch, &QTimer::timeout, window, [&] {
    auto* box = window->findChild<QProgressDialog*>(QStringLiteral("progress"));
    if (!box || seen) return;
    seen = true;
    EXPECT_EQ(box->windowTitle(), QStringLiteral("集計中"));
    EXPECT_EQ(box->labelText(), QStringLiteral("集計中です。お待ちください...."));
    box->cancel();
  });
  watch.start(0);
  start(conditions);
  for (int i = 0; i < 20 && host->recorder.numbers().size() < 3; ++i) host->flushEvents();
  watch.stop();
  EXPECT_TRUE(seen);
  EXPECT_EQ(host->recorder.numbers(), (QList<long>{835, 0, 102}));
  EXPECT_EQ(rows(window), 0);
  EXPECT_TRUE(filesInWork().isEmpty());
}

TEST_F(ReportWindowTest, ShippingListShowsEitherViewAndItsWorkFilesGoWithTheWindow) {
  CSaleMdiWnd* window = open("Sale_NewE50Wnd");
  QDialog* conditions = dialogOf(window, QStringLiteral("507"));
  ASSERT_NE(conditions, nullptr);
  EXPECT_EQ(conditions->windowTitle(), QStringLiteral("発送準備確認表 集計条件指定"));
  EXPECT_EQ(conditions->findChild<QComboBox*>(QStringLiteral("inputKind"))->itemText(3),
            QStringLiteral("予  約   "));
  setText(conditions, "dateFrom", QStringLiteral("2024/04/01"));
  setText(conditions, "dateTo", QStringLiteral("2024/04/30"));
  conditions->findChild<QRadioButton*>(QStringLiteral("view1"))->setChecked(true);
  EXPECT_TRUE(conditions->grab().save(QStringLiteral("/tmp/sr_e51_dialog.png")));
  start(conditions);
  host->flushEvents();
  EXPECT_TRUE(host->recorder.empty());
  ASSERT_EQ(rows(window), 3);  // G001, G002, G003; なす cancels out
  EXPECT_EQ(cell(window, 1, 1), QStringLiteral("きゅうり"));
  EXPECT_EQ(cell(window, 1, 3), QStringLiteral("13"));
  EXPECT_EQ(filesInWork().size(), 3);

  window->findChild<QPushButton*>(QStringLiteral("610"))->click();
  host->flushEvents();
  conditions = dialogOf(window, QStringLiteral("507"));
  ASSERT_NE(conditions, nullptr);
  conditions->findChild<QRadioButton*>(QStringLiteral("view0"))->setChecked(true);
  conditions->findChild<QComboBox*>(QStringLiteral("shipState"))->setCurrentIndex(1);  // 未発送のみ
  start(conditions);
  host->flushEvents();
  ASSERT_EQ(rows(window), 5);
  EXPECT_EQ(cell(window, 0, 1), QStringLiteral("2"));
  window->resize(1100, 420);
  host->flushEvents();
  EXPECT_TRUE(host->frame.grab().save(QStringLiteral("/tmp/sr_e50_window.png")));

  QTimer::singleShot(0, window, [window] {
    QDialog* print = dialogOf(window, QStringLiteral("512"));
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(print->windowTitle(), QStringLiteral("発送準備確認表　印刷"));
    auto* first = print->findChild<QRadioButton*>(QStringLiteral("choice0"));
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->text(), QStringLiteral("発送予定一覧"));
    print->grab().save(QStringLiteral("/tmp/sr_e50_print.png"));
    print->reject();
  });
  window->findChild<QPushButton*>(QStringLiteral("600"))->click();

  window->close();
  host->flushEvents();
  EXPECT_TRUE(filesInWork().isEmpty());
}

}  // namespace
