// The shipping preparation list (CE50Wnd) and its conditions dialog
// CE51Dlg "発送準備確認表 集計条件指定".
#include "outside/sl_errmsg/errmsg.h"
#include "outside/sl_help/help.h"
#include "outside/sl_jet/seljetaccess.h"
#include "outside/sl_lib/convymd.h"
#include "sales/reports/shipping.h"
#include "sales/slsale/createsteps.h"
#include "sales/slsale/module.h"
#include "sales/slsale/reportlist.h"
#include "sales/slsale/reportwindows.h"
#include "sales/slsale/slsale.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kE50Icon = 151;
constexpr int kMinimumTextLines = 11;

constexpr int kConditionsCommand = 610;
constexpr int kPrintMenu = 32922;
constexpr int kConditionsMenu = 32919;

sl::CErrMsg& errors() {
  static sl::CErrMsg local;
  return slsale::services().errMsg ? *slsale::services().errMsg : local;
}

QLineEdit* dateEdit(QWidget* parent, const QString& name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setMaxLength(10);
  edit->setPlaceholderText(QStringLiteral("yyyy/mm/dd"));
  edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000/00/00")) + 16);
  return edit;
}

class ShippingPanel : public slsale::ReportPanel {
 public:
  explicit ShippingPanel(CE50Wnd* window) : ReportPanel(commands(window), window), window_(window) {
    list()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list(), &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
      QMenu menu(this);
      menu.addAction(QStringLiteral("印刷"), this, [this] { print_(); })
          ->setObjectName(QString::number(kPrintMenu));
      menu.addAction(QStringLiteral("検索条件"), this, [this] { askConditions(); })
          ->setObjectName(QString::number(kConditionsMenu));
      menu.exec(list()->viewport()->mapToGlobal(at));
    });
    const long today = sl::CConvYmd::GetNowDate();
    shown_.dateFrom = static_cast<std::int32_t>(today / 100 * 100 + 1);
    shown_.dateTo = static_cast<std::int32_t>(today);
  }

  hv6::sales::ShippingReport& report() { return report_; }

  void askConditions() {
    auto* dialog = new CE51Dlg(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    slsale::setUpE51(dialog, shown_);
    // The aggregation runs once the dialog is gone (see the daily reports).
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
      const hv6::sales::ShippingConditions chosen = slsale::conditionsOfE51(dialog);
      QTimer::singleShot(0, this, [this, chosen] { run(chosen); });
    });
    dialog->open();
  }

  void run(const hv6::sales::ShippingConditions& conditions) {
    sl::CSelJetAccess* jet = slsale::services().jet;
    shown_ = conditions;
    if (!jet) {
      errors().Disp(slsale::kNoStore, window_, hv6::sales::kMsgEnvironment);
      return;
    }
    setReport(nullptr);
    std::unique_ptr<QProgressDialog> box;
    const auto progress = slsale::aggregationProgress(window_, box);
    const int result = report_.aggregate(*jet, conditions, progress);
    box.reset();
    const hv6::sales::ReportSource& view = report_.view(conditions.view);
    setReport(result == 0 ? &view : nullptr);
    slsale::showAggregationResult(result, report_.status(), window_);
    if (result == 0) list()->selectRow(0);
  }

  void print_() {
    if (report_.scheduleCount() == 0 && report_.goodsCount() == 0) {
      errors().Disp(0, window_, hv6::sales::kMsgNothing);
      return;
    }
    QList<slsale::ReportPrintDialog::Choice> choices{
        {QStringLiteral("発送予定一覧"), &report_.view(hv6::sales::kViewSchedule)},
        {QStringLiteral("発送商品一覧"), &report_.view(hv6::sales::kViewGoods)}};
    if (shown_.view == hv6::sales::kViewGoods) std::swap(choices[0], choices[1]);
    slsale::ReportPrintDialog dialog(512, QStringLiteral("発送準備確認表　印刷"), choices, this);
    dialog.exec();
  }

 private:
  QList<slsale::ReportCommand> commands(CE50Wnd* window) {
    return slsale::reportCommands(window, kConditionsCommand, [this] { print_(); },
                                  [this] { askConditions(); });
  }

  CE50Wnd* window_;
  hv6::sales::ShippingReport report_;
  hv6::sales::ShippingConditions shown_;
};

}  // namespace

namespace slsale {

void setUpE51(QDialog* dialog, const hv6::sales::ShippingConditions& shown) {
  dialog->findChild<QRadioButton*>(QStringLiteral("view%1").arg(shown.view == 1 ? 1 : 0))->setChecked(true);
  dialog->findChild<QLineEdit*>(QStringLiteral("dateFrom"))->setText(hv6::sales::formatDate(shown.dateFrom));
  dialog->findChild<QLineEdit*>(QStringLiteral("dateTo"))->setText(hv6::sales::formatDate(shown.dateTo));
  dialog->findChild<QLineEdit*>(QStringLiteral("shipFrom"))->setText(hv6::sales::formatDate(shown.shipFrom));
  dialog->findChild<QLineEdit*>(QStringLiteral("shipTo"))->setText(hv6::sales::formatDate(shown.shipTo));
  dialog->findChild<QComboBox*>(QStringLiteral("inputKind"))->setCurrentIndex(shown.inputKind);
  dialog->findChild<QSpinBox*>(QStringLiteral("clientType"))->setValue(shown.clientType);
  dialog->findChild<QSpinBox*>(QStringLiteral("person"))->setValue(shown.personCode);
  dialog->findChild<QComboBox*>(QStringLiteral("shipState"))->setCurrentIndex(shown.shipState);
}

hv6::sales::ShippingConditions conditionsOfE51(const QDialog* dialog) {
  hv6::sales::ShippingConditions c;
  c.view = dialog->findChild<QRadioButton*>(QStringLiteral("view1"))->isChecked() ? 1 : 0;
  auto date = [dialog](const char* name) {
    std::int32_t value = 0;
    parseDateText(dialog->findChild<QLineEdit*>(QString::fromLatin1(name))->text(), true, value);
    return value;
  };
  c.dateFrom = date("dateFrom");
  c.dateTo = date("dateTo");
  c.shipFrom = date("shipFrom");
  c.shipTo = date("shipTo");
  c.inputKind = dialog->findChild<QComboBox*>(QStringLiteral("inputKind"))->currentIndex();
  c.clientType = dialog->findChild<QSpinBox*>(QStringLiteral("clientType"))->value();
  c.personCode = dialog->findChild<QSpinBox*>(QStringLiteral("person"))->value();
  c.shipState = dialog->findChild<QComboBox*>(QStringLiteral("shipState"))->currentIndex();
  return c;
}

}  // namespace slsale

// ---- CE51Dlg ----

CE51Dlg::CE51Dlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("507"));
  setWindowTitle(QStringLiteral("発送準備確認表 集計条件指定"));
  auto* layout = new QVBoxLayout(this);
  auto* views = new QHBoxLayout;
  const QStringList viewNames = hv6::sales::shippingViewEntries();
  for (int i = 0; i < viewNames.size(); ++i) {
    auto* option = new QRadioButton(viewNames[i], this);
    option->setObjectName(QStringLiteral("view%1").arg(i));
    option->setChecked(i == 0);
    views->addWidget(option);
  }
  views->addStretch(1);
  layout->addLayout(views);

  auto* form = new QFormLayout;
  auto range = [this](const QString& fromName, const QString& toName) {
    auto* row = new QHBoxLayout;
    row->addWidget(dateEdit(this, fromName));
    row->addWidget(new QLabel(QStringLiteral("～"), this));
    row->addWidget(dateEdit(this, toName));
    row->addStretch(1);
    return row;
  };
  form->addRow(QStringLiteral("伝票日付"), range(QStringLiteral("dateFrom"), QStringLiteral("dateTo")));
  form->addRow(QStringLiteral("発送予定日"), range(QStringLiteral("shipFrom"), QStringLiteral("shipTo")));
  auto* kinds = new QComboBox(this);
  kinds->setObjectName(QStringLiteral("inputKind"));
  kinds->addItems(hv6::sales::inputKindEntries());
  form->addRow(QStringLiteral("入力区分"), kinds);
  auto* clientType = new QSpinBox(this);
  clientType->setObjectName(QStringLiteral("clientType"));
  clientType->setRange(0, 9999);
  clientType->setSpecialValueText(QStringLiteral("指定なし"));
  form->addRow(QStringLiteral("得意先区分"), clientType);
  auto* person = new QSpinBox(this);
  person->setObjectName(QStringLiteral("person"));
  person->setRange(0, 99999999);
  person->setSpecialValueText(QStringLiteral("指定なし"));
  form->addRow(QStringLiteral("担当者"), person);
  auto* state = new QComboBox(this);
  state->setObjectName(QStringLiteral("shipState"));
  state->addItems(hv6::sales::shipStateEntries());
  form->addRow(QStringLiteral("発送状態"), state);
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
  auto begin = [this] {
    // Either end of a range may be left open; a typed date must be a date.
    for (const char* name : {"dateFrom", "dateTo", "shipFrom", "shipTo"}) {
      auto* edit = findChild<QLineEdit*>(QString::fromLatin1(name));
      std::int32_t value = 0;
      if (!slsale::parseDateText(edit->text(), true, value)) {
        errors().DispText(QStringLiteral("日付を正しく入力してください。"), this);
        edit->setFocus();
        return;
      }
    }
    accept();
  };
  connect(start, &QPushButton::clicked, this, begin);
  connect(new QShortcut(QKeySequence(Qt::Key_F8), this), &QShortcut::activated, this, begin);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

CE51Dlg::~CE51Dlg() = default;

// ---- the window ----

CE50Wnd::CE50Wnd(QWidget* frame) : CSaleMdiWnd(frame, slsale::kE50Id, kE50Icon, slsale::kE50Help) {
  setObjectName(QStringLiteral("E50"));
}

bool CE50Wnd::prepare() {
  slsale::CreateSteps steps;
  steps.build = [this] {
    auto* panel = new ShippingPanel(this);
    setWidget(panel);
    if (const short height = slsale::display().charHeight; height > 0)
      setMinimumHeight(kMinimumTextLines * height);
    if (sl::CHelp* help = slsale::services().help) help->SelectHelp(slsale::kE50Help);
    QTimer::singleShot(0, panel, [panel] { panel->askConditions(); });
  };
  slsale::CreateRecords records;
  return slsale::runCreateSteps(steps, records, slsale::services().errMsg, nullptr);
}
