// The sales and the reservation daily report (CE2040Wnd as CE20Wnd and
// CE40Wnd) and their conditions dialog CE41dlg "売上伝票表示条件".
#include "outside/sl_errmsg/errmsg.h"
#include "outside/sl_help/help.h"
#include "outside/sl_jet/seljetaccess.h"
#include "outside/sl_lib/convymd.h"
#include "sales/reports/dailyreport.h"
#include "sales/slsale/createsteps.h"
#include "sales/slsale/module.h"
#include "sales/slsale/reportlist.h"
#include "sales/slsale/reportwindows.h"
#include "sales/slsale/slsale.h"

#include <QComboBox>
#include <QDate>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kE2040Icon = 150;
constexpr int kMinimumTextLines = 11;

// Commands of the daily reports.
constexpr int kConditionsCommand = 603;
constexpr int kPrintMenu = 32922;
constexpr int kConditionsMenu = 32919;

sl::CErrMsg& errors() {
  static sl::CErrMsg local;
  return slsale::services().errMsg ? *slsale::services().errMsg : local;
}

QString dateText(std::int32_t date) { return hv6::sales::formatDate(date); }

// The person's name for a code (empty when none or unknown).
QString personName(std::int32_t code) {
  sl::CSelJetAccess* jet = slsale::services().jet;
  sl::S_PERSON person;
  if (!jet || code == 0 || jet->ReadPerson(code, person) != sl::kSlOk) return {};
  return sl::slText(person.name);
}

// The window's area: the list of the report and its commands.
class DailyPanel : public slsale::ReportPanel {
 public:
  DailyPanel(CE2040Wnd* window, int mode)
      : ReportPanel(commands(window), window), window_(window), mode_(mode) {
    list()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list(), &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
      QMenu menu(this);
      QAction* print = menu.addAction(QStringLiteral("印刷"), this, [this] { print_(); });
      print->setObjectName(QString::number(kPrintMenu));
      print->setEnabled(report_.rowCount() > 0);
      menu.addAction(QStringLiteral("検索条件"), this, [this] { askConditions(); })
          ->setObjectName(QString::number(kConditionsMenu));
      menu.exec(list()->viewport()->mapToGlobal(at));
    });
    const long today = sl::CConvYmd::GetNowDate();
    shown_.mode = mode;
    shown_.dateFrom = static_cast<std::int32_t>(today / 100 * 100 + 1);
    shown_.dateTo = static_cast<std::int32_t>(today);
  }

  hv6::sales::DailyReport& report() { return report_; }

  void askConditions() {
    auto* dialog = new CE41dlg(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    hv6::sales::DailyConditions shown = shown_;
    shown.listChoice = slsale::rememberedSlipChoice();
    slsale::setUpE41(dialog, mode_, shown);
    // The aggregation runs once the dialog is gone (its progress box
    // processes events, which would delete the dialog under its signal).
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
      const hv6::sales::DailyConditions chosen = slsale::conditionsOfE41(dialog, mode_);
      QTimer::singleShot(0, this, [this, chosen] { run(chosen); });
    });
    dialog->open();
  }

  // Aggregates and shows the rows (or the box the aggregation ended with).
  void run(const hv6::sales::DailyConditions& conditions) {
    sl::CSelJetAccess* jet = slsale::services().jet;
    shown_ = conditions;
    if (!jet) {
      errors().Disp(slsale::kNoStore, window_, hv6::sales::kMsgEnvironment);
      return;
    }
    std::unique_ptr<QProgressDialog> box;
    const auto progress = slsale::aggregationProgress(window_, box);
    setReport(nullptr);
    const int result = report_.aggregate(*jet, conditions, progress);
    box.reset();
    report_.setPersonName(personName(report_.conditions().personCode));
    setReport(report_.rowCount() > 0 ? &report_ : nullptr);
    slsale::showAggregationResult(result, report_.status(), window_);
    if (report_.rowCount() > 0) list()->selectRow(0);
  }

  void print_() {
    if (report_.rowCount() == 0) {
      errors().Disp(0, window_, hv6::sales::kMsgNothing);
      return;
    }
    slsale::ReportPrintDialog dialog(509, QStringLiteral("印刷"),
                                     {{report_.title(), &report_}}, this);
    dialog.exec();
  }

 private:
  QList<slsale::ReportCommand> commands(CE2040Wnd* window) {
    return slsale::reportCommands(window, kConditionsCommand, [this] { print_(); },
                                  [this] { askConditions(); });
  }

  CE2040Wnd* window_;
  int mode_;
  hv6::sales::DailyReport report_;
  hv6::sales::DailyConditions shown_;
};

}  // namespace

namespace slsale {

int& rememberedSlipChoice() {
  static int choice = hv6::sales::kListSales;
  return choice;
}

bool parseDateText(const QString& text, bool emptyAllowed, std::int32_t& out) {
  const QString t = text.trimmed();
  if (t.isEmpty()) {
    out = 0;
    return emptyAllowed;
  }
  long date = 0;
  if (sl::CConvYmd::ConvSeireki(t, sl::kDateWestern, date) != 0) return false;
  if (!QDate(static_cast<int>(date / 10000), static_cast<int>(date / 100 % 100),
             static_cast<int>(date % 100)).isValid())
    return false;
  out = static_cast<std::int32_t>(date);
  return true;
}

void setUpE41(QDialog* dialog, int mode, const hv6::sales::DailyConditions& shown) {
  dialog->findChild<QLineEdit*>(QStringLiteral("dateFrom"))->setText(dateText(shown.dateFrom));
  dialog->findChild<QLineEdit*>(QStringLiteral("dateTo"))->setText(dateText(shown.dateTo));
  dialog->findChild<QSpinBox*>(QStringLiteral("person"))->setValue(shown.personCode);
  auto* kinds = dialog->findChild<QComboBox*>(QStringLiteral("slipKind"));
  kinds->clear();
  kinds->addItems(hv6::sales::slipListEntries(mode));
  kinds->setCurrentIndex(hv6::sales::entryIndexOf(mode, shown.listChoice));
  dialog->setProperty("mode", mode);
}

hv6::sales::DailyConditions conditionsOfE41(const QDialog* dialog, int mode) {
  hv6::sales::DailyConditions c;
  c.mode = mode;
  parseDateText(dialog->findChild<QLineEdit*>(QStringLiteral("dateFrom"))->text(), false, c.dateFrom);
  parseDateText(dialog->findChild<QLineEdit*>(QStringLiteral("dateTo"))->text(), false, c.dateTo);
  c.personCode = dialog->findChild<QSpinBox*>(QStringLiteral("person"))->value();
  c.listChoice = hv6::sales::listChoiceOf(
      mode, dialog->findChild<QComboBox*>(QStringLiteral("slipKind"))->currentIndex());
  return c;
}

}  // namespace slsale

// ---- CE41dlg ----

CE41dlg::CE41dlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("506"));
  setWindowTitle(QStringLiteral("売上伝票表示条件"));
  auto* form = new QFormLayout;
  auto* dates = new QHBoxLayout;
  auto* from = new QLineEdit(this);
  from->setObjectName(QStringLiteral("dateFrom"));
  auto* to = new QLineEdit(this);
  to->setObjectName(QStringLiteral("dateTo"));
  for (QLineEdit* edit : {from, to}) {
    edit->setMaxLength(10);
    edit->setPlaceholderText(QStringLiteral("yyyy/mm/dd"));
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000/00/00")) + 16);
  }
  dates->addWidget(from);
  dates->addWidget(new QLabel(QStringLiteral("～"), this));
  dates->addWidget(to);
  dates->addStretch(1);
  form->addRow(QStringLiteral("伝票日付"), dates);
  auto* persons = new QHBoxLayout;
  auto* person = new QSpinBox(this);
  person->setObjectName(QStringLiteral("person"));
  person->setRange(0, 99999999);
  person->setSpecialValueText(QStringLiteral("指定なし"));
  auto* name = new QLabel(this);
  name->setObjectName(QStringLiteral("personName"));
  name->setMinimumWidth(name->fontMetrics().horizontalAdvance(QStringLiteral("担当者名担当者名担当者名")));
  connect(person, &QSpinBox::valueChanged, name, [name](int code) { name->setText(personName(code)); });
  persons->addWidget(person);
  persons->addWidget(name, 1);
  form->addRow(QStringLiteral("担当者"), persons);
  auto* kinds = new QComboBox(this);
  kinds->setObjectName(QStringLiteral("slipKind"));
  kinds->addItems(hv6::sales::slipListEntries(0));
  form->addRow(QStringLiteral("伝票区分"), kinds);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  auto* start = new QPushButton(QStringLiteral("開始(F8)"), this);
  start->setObjectName(QStringLiteral("start"));
  start->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
  cancel->setObjectName(QStringLiteral("cancel"));
  buttons->addWidget(start);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  auto begin = [this, from, to, kinds] {
    std::int32_t a = 0, b = 0;
    if (!slsale::parseDateText(from->text(), false, a) || !slsale::parseDateText(to->text(), false, b) ||
        a > b) {
      errors().DispText(QStringLiteral("伝票日付を正しく入力してください。\n（開始日は終了日以前の日付です）"), this);
      (a == 0 ? from : to)->setFocus();
      return;
    }
    const int mode = property("mode").toInt();
    slsale::rememberedSlipChoice() = hv6::sales::listChoiceOf(mode, kinds->currentIndex());
    accept();
  };
  connect(start, &QPushButton::clicked, this, begin);
  connect(new QShortcut(QKeySequence(Qt::Key_F8), this), &QShortcut::activated, this, begin);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

CE41dlg::~CE41dlg() = default;

// ---- the windows ----

CE2040Wnd::CE2040Wnd(QWidget* frame)
    : CSaleMdiWnd(frame, slsale::kE20Id, kE2040Icon, slsale::kE20Help) {
  Init(0);
}

void CE2040Wnd::Init(short mode) {
  mode_ = mode;
  const bool reservation = mode > 0;
  setWindowId(reservation ? slsale::kE40Id : slsale::kE20Id,
              reservation ? slsale::kE40Help : slsale::kE20Help);
  setObjectName(reservation ? QStringLiteral("E40") : QStringLiteral("E20"));
}

bool CE2040Wnd::prepare() {
  slsale::CreateSteps steps;
  steps.build = [this] {
    auto* panel = new DailyPanel(this, mode_ > 0 ? 1 : 0);
    setWidget(panel);
    if (const short height = slsale::display().charHeight; height > 0)
      setMinimumHeight(kMinimumTextLines * height);
    if (sl::CHelp* help = slsale::services().help)
      help->SelectHelp(mode_ > 0 ? slsale::kE40Help : slsale::kE20Help);
    // Opening the window asks for the conditions.
    QTimer::singleShot(0, panel, [panel] { panel->askConditions(); });
  };
  slsale::CreateRecords records;
  return slsale::runCreateSteps(steps, records, slsale::services().errMsg, nullptr);
}

CE20Wnd::CE20Wnd(QWidget* frame) : CE2040Wnd(frame) { Init(0); }

CE40Wnd::CE40Wnd(QWidget* frame) : CE2040Wnd(frame) { Init(1); }
