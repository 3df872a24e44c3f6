// The slip windows' dialogs: standard patterns "おきまり伝票" (CE11Dlg), the
// unit price "単価設定" (CE12Dlg), the navigation's search conditions
// "伝票検索条件設定" (CE14Dlg), the client information "情報" (CE16Dlg), and
// the boxes the slip editor asks: "確  認" and the number search's progress.
#include "outside/sl_lib/conv.h"
#include "sales/slsale/module.h"
#include "sales/slsale/slipwindowparts.h"
#include "sales/slsale/slsale.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace slsale {

using hv6::sales::CopyChoice;
using hv6::sales::SlipEditor;

CSlipWnd* slipWindowOf(QWidget* widget) {
  for (QWidget* w = widget; w; w = w->parentWidget())
    if (auto* window = dynamic_cast<CSlipWnd*>(w)) return window;
  return nullptr;
}

namespace {

void setTemplate(QDialog* dialog, int templateId, const QString& title) {
  dialog->setObjectName(QString::number(templateId));
  dialog->setWindowTitle(title);
  if (const QFont* font = display().font) dialog->setFont(*font);
}

SlipEditor* editorOf(QWidget* parent) {
  CSlipWnd* window = slipWindowOf(parent);
  return window && window->slipState() ? window->slipState()->editor.get() : nullptr;
}

QPushButton* button(const QString& text, const QString& name, QWidget* parent) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

// A dialog opened without a slip window says so instead of showing empty
// controls.
void noSlip(QDialog* dialog) {
  auto* layout = new QVBoxLayout(dialog);
  layout->addWidget(new QLabel(QStringLiteral("伝票入力の画面から開いてください。"), dialog));
  auto* close = button(QStringLiteral("閉じる"), QStringLiteral("close"), dialog);
  layout->addWidget(close);
  QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::reject);
}

void refreshWindow(QWidget* parent) {
  if (CSlipWnd* window = slipWindowOf(parent))
    if (window->slipState() && window->slipState()->content) window->slipState()->content->refresh();
}

// --- おきまり伝票 ----------------------------------------------------------------

void buildPatterns(QDialog* dialog, SlipEditor& editor) {
  auto* layout = new QVBoxLayout(dialog);
  auto* list = new QTableWidget(0, 3, dialog);
  list->setObjectName(QStringLiteral("patternList"));
  list->setHorizontalHeaderLabels(
      {QStringLiteral("番号"), QStringLiteral("頭文字"), QStringLiteral("おきまり伝票名")});
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->verticalHeader()->hide();
  list->horizontalHeader()->setStretchLastSection(true);
  layout->addWidget(list, 1);

  auto* form = new QGridLayout;
  auto* code = new QSpinBox(dialog);
  code->setObjectName(QStringLiteral("patternCode"));
  code->setRange(0, 9999);
  code->setSpecialValueText(QStringLiteral(" "));
  auto* key = new QLineEdit(dialog);
  key->setObjectName(QStringLiteral("initialKey"));
  key->setMaxLength(4);
  auto* name = new QLineEdit(dialog);
  name->setObjectName(QStringLiteral("patternName"));
  name->setMaxLength(30);
  form->addWidget(new QLabel(QStringLiteral("番号"), dialog), 0, 0);
  form->addWidget(code, 0, 1);
  form->addWidget(new QLabel(QStringLiteral("頭文字"), dialog), 0, 2);
  form->addWidget(key, 0, 3);
  form->addWidget(new QLabel(QStringLiteral("名称"), dialog), 1, 0);
  form->addWidget(name, 1, 1, 1, 3);
  layout->addLayout(form);

  auto* row = new QHBoxLayout;
  auto* copy = button(QStringLiteral("おきまりｺﾋﾟｰ"), QStringLiteral("copyPattern"), dialog);
  auto* add = button(QStringLiteral("おきまり登録"), QStringLiteral("registerPattern"), dialog);
  auto* remove = button(QStringLiteral("おきまり削除"), QStringLiteral("deletePattern"), dialog);
  auto* close = button(QStringLiteral("閉じる"), QStringLiteral("close"), dialog);
  for (QPushButton* b : {copy, add, remove, close}) row->addWidget(b);
  layout->addLayout(row);

  auto reload = [list, &editor] {
    QList<sl::S_FIXSLIPHD> patterns;
    editor.readPatterns(patterns);
    list->setRowCount(static_cast<int>(patterns.size()));
    for (int i = 0; i < patterns.size(); ++i) {
      list->setItem(i, 0, new QTableWidgetItem(QString::number(patterns[i].code)));
      list->setItem(i, 1, new QTableWidgetItem(sl::slText(patterns[i].initialKey)));
      list->setItem(i, 2, new QTableWidgetItem(sl::slText(patterns[i].name)));
    }
  };
  reload();
  QObject::connect(list, &QTableWidget::currentCellChanged, dialog, [list, code, key, name](int r) {
    if (r < 0 || !list->item(r, 0)) return;
    code->setValue(list->item(r, 0)->text().toInt());
    key->setText(list->item(r, 1)->text());
    name->setText(list->item(r, 2)->text());
  });
  QObject::connect(copy, &QPushButton::clicked, dialog, [dialog, code, &editor] {
    if (editor.copyPattern(code->value())) {
      refreshWindow(dialog->parentWidget());
      dialog->accept();
    }
  });
  QObject::connect(add, &QPushButton::clicked, dialog, [code, key, name, &editor, reload] {
    if (editor.registerPattern(code->value(), key->text(), name->text())) reload();
  });
  QObject::connect(remove, &QPushButton::clicked, dialog, [code, &editor, reload] {
    if (editor.deletePattern(code->value())) reload();
  });
  QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::reject);
  dialog->resize(460, 360);
}

// --- 単価設定 --------------------------------------------------------------------

void buildUnitPrice(QDialog* dialog, SlipEditor& editor) {
  const int row = editor.currentRow();
  const hv6::sales::UnitPriceChoices choices = editor.unitPriceChoices(row);
  const int decimals = editor.model().priceDecimals();
  auto* layout = new QVBoxLayout(dialog);
  auto* goods = new QLabel(choices.found ? choices.goodsName
                                         : QStringLiteral("この行には商品が指定されていません。"),
                           dialog);
  goods->setObjectName(QStringLiteral("goodsName"));
  layout->addWidget(goods);
  auto* rateRow = new QHBoxLayout;
  auto* rate = new QDoubleSpinBox(dialog);
  rate->setObjectName(QStringLiteral("rate"));
  rate->setRange(0, 999.9);
  rate->setDecimals(1);
  rate->setSuffix(QStringLiteral(" %"));
  rate->setValue(choices.rate);
  rateRow->addWidget(new QLabel(QStringLiteral("掛け率"), dialog));
  rateRow->addWidget(rate);
  rateRow->addStretch(1);
  layout->addLayout(rateRow);
  auto* grid = new QGridLayout;
  QList<QRadioButton*> radios;
  QList<QLabel*> values;
  for (int i = 0; i < choices.prices.size(); ++i) {
    auto* radio = new QRadioButton(choices.prices[i].caption, dialog);
    radio->setObjectName(QStringLiteral("price%1").arg(i));
    auto* value = new QLabel(dialog);
    value->setObjectName(QStringLiteral("priceValue%1").arg(i));
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("99,999,999.99")));
    grid->addWidget(radio, i, 0);
    grid->addWidget(value, i, 1);
    radios.append(radio);
    values.append(value);
  }
  if (!radios.isEmpty()) radios.first()->setChecked(true);
  layout->addLayout(grid);
  auto prices = choices.prices;
  auto shown = [values, rate, prices, decimals] {
    for (int i = 0; i < prices.size(); ++i)
      values[i]->setText(sl::CConv::CommaStr(prices[i].price * rate->value() / 100.0, decimals));
  };
  shown();
  QObject::connect(rate, &QDoubleSpinBox::valueChanged, dialog, [shown](double) { shown(); });
  auto* buttons = new QDialogButtonBox(dialog);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("ok"));
  ok->setEnabled(choices.found);
  QPushButton* cancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("cancel"));
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog,
                   [dialog, radios, rate, prices, row, &editor] {
                     for (int i = 0; i < radios.size(); ++i)
                       if (radios[i]->isChecked())
                         editor.applyUnitPrice(row, prices[i].price * rate->value() / 100.0);
                     refreshWindow(dialog->parentWidget());
                     dialog->accept();
                   });
}

// --- 伝票検索条件設定 ----------------------------------------------------------

void buildSearch(QDialog* dialog, SlipEditor& editor) {
  const hv6::sales::SlipSearch search = editor.search();
  const int style = editor.model().company().dateStyle;
  auto* layout = new QVBoxLayout(dialog);
  auto* form = new QFormLayout;
  auto* dates = new QHBoxLayout;
  auto* from = new DateField(QStringLiteral("dateFrom"), style, dialog);
  auto* to = new DateField(QStringLiteral("dateTo"), style, dialog);
  from->setDate(search.dateFrom);
  to->setDate(search.dateTo);
  dates->addWidget(from);
  dates->addWidget(new QLabel(QStringLiteral("～"), dialog));
  dates->addWidget(to);
  form->addRow(QStringLiteral("伝票日付"), dates);
  auto* client = new QLineEdit(dialog);
  client->setObjectName(QStringLiteral("clientCode"));
  client->setText(search.clientCode ? QString::number(search.clientCode) : QString());
  form->addRow(QStringLiteral("得意先コード"), client);
  auto* numbers = new QHBoxLayout;
  auto* numberFrom = new QLineEdit(search.numberFrom.trimmed(), dialog);
  numberFrom->setObjectName(QStringLiteral("numberFrom"));
  numberFrom->setMaxLength(SlipEditor::kNumberWidth);
  auto* numberTo = new QLineEdit(search.numberTo.trimmed(), dialog);
  numberTo->setObjectName(QStringLiteral("numberTo"));
  numberTo->setMaxLength(SlipEditor::kNumberWidth);
  numbers->addWidget(numberFrom);
  numbers->addWidget(new QLabel(QStringLiteral("～"), dialog));
  numbers->addWidget(numberTo);
  form->addRow(QStringLiteral("伝票番号"), numbers);
  layout->addLayout(form);
  layout->addWidget(new QLabel(
      QStringLiteral("先頭・前へ・次へ・最後のボタンは、この条件に合う伝票だけを表示します。"), dialog));
  auto* buttons = new QDialogButtonBox(dialog);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("ok"));
  QPushButton* clear = buttons->addButton(QStringLiteral("条件クリア"), QDialogButtonBox::ResetRole);
  clear->setObjectName(QStringLiteral("clear"));
  QPushButton* cancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("cancel"));
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  QObject::connect(clear, &QPushButton::clicked, dialog,
                   [from, to, client, numberFrom, numberTo] {
                     from->setDate(0);
                     to->setDate(0);
                     client->clear();
                     numberFrom->clear();
                     numberTo->clear();
                   });
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog,
                   [dialog, from, to, client, numberFrom, numberTo, &editor] {
                     hv6::sales::SlipSearch chosen;
                     chosen.dateFrom = from->date();
                     chosen.dateTo = to->date();
                     chosen.clientCode = client->text().trimmed().toInt();
                     chosen.numberFrom = numberFrom->text();
                     chosen.numberTo = numberTo->text();
                     editor.setSearch(chosen);
                     dialog->accept();
                   });
}

// --- 情報 ------------------------------------------------------------------------

void buildInfo(QDialog* dialog, SlipEditor& editor) {
  auto* layout = new QVBoxLayout(dialog);
  auto* form = new QFormLayout;
  form->setLabelAlignment(Qt::AlignRight);
  const QList<hv6::sales::InfoRow> rows = editor.clientInfo();
  for (int i = 0; i < rows.size(); ++i) {
    auto* value = new QLabel(rows[i].text, dialog);
    value->setObjectName(QStringLiteral("info%1").arg(i));
    value->setFrameShape(QFrame::StyledPanel);
    value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QString(16, QChar(0x3042))));
    form->addRow(rows[i].caption, value);
  }
  layout->addLayout(form);
  auto* close = button(QStringLiteral("閉じる"), QStringLiteral("close"), dialog);
  close->setDefault(true);
  layout->addWidget(close, 0, Qt::AlignRight);
  QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::accept);
}

}  // namespace

// --- boxes of the editor ---------------------------------------------------------

CopyChoice askCopyChoice(QWidget* parent) {
  QDialog box(parent);
  setTemplate(&box, 361, QStringLiteral("確  認"));
  auto* layout = new QVBoxLayout(&box);
  auto* text = new QLabel(
      QStringLiteral("すでに登録済みの伝票内容をコピーして、新規の伝票として入力しますか？\n\n"
                     "伝票のヘッダ部のみをコピーする場合は「ヘッダ部のみコピー」を\n"
                     "明細行も含めた伝票全体をコピーする場合は「伝票全体をコピー」を\n"
                     "コピーを取りやめる場合は「いいえ」を選択してください。"),
      &box);
  text->setObjectName(QStringLiteral("text"));
  layout->addWidget(text);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  CopyChoice choice = CopyChoice::No;
  const std::pair<const char16_t*, CopyChoice> answers[] = {
      {u"ヘッダ部のみコピー(&H)", CopyChoice::HeaderOnly},
      {u"伝票全体をコピー(&D)", CopyChoice::Whole},
      {u"いいえ(&N)", CopyChoice::No}};
  const char* names[] = {"headerOnly", "whole", "no"};
  int i = 0;
  for (const auto& [label, answer] : answers) {
    auto* b = button(QString::fromUtf16(label), QString::fromLatin1(names[i++]), &box);
    const CopyChoice value = answer;
    QObject::connect(b, &QPushButton::clicked, &box, [&box, &choice, value] {
      choice = value;
      box.accept();
    });
    row->addWidget(b);
    if (value == CopyChoice::No) b->setDefault(true);
  }
  layout->addLayout(row);
  box.exec();
  return choice;
}

NumberSearchBox::~NumberSearchBox() { delete box_; }

bool NumberSearchBox::step(int tried) {
  if (!box_) {
    box_ = new QProgressDialog(QStringLiteral("検索中です。お待ちください...."),
                               QStringLiteral("キャンセル"), 0, 0, parent_);
    box_->setObjectName(QStringLiteral("numberSearch"));
    box_->setWindowTitle(QStringLiteral("新規伝票番号の検索中"));
    box_->setWindowModality(Qt::WindowModal);
    box_->setMinimumDuration(300);
  }
  box_->setValue(tried % 100);
  QApplication::processEvents();
  return !box_->wasCanceled();
}

void NumberSearchBox::done() {
  delete box_;
  box_ = nullptr;
}

}  // namespace slsale

#define SLSALE_DEFINE_SLIP_DIALOG(Name, templateId, title, build)       \
  Name::Name(QWidget* parent) : QDialog(parent) {                       \
    slsale::setTemplate(this, templateId, QStringLiteral(title));       \
    if (hv6::sales::SlipEditor* editor = slsale::editorOf(parent))      \
      slsale::build(this, *editor);                                     \
    else                                                                \
      slsale::noSlip(this);                                             \
  }                                                                     \
  Name::~Name() = default;

SLSALE_DEFINE_SLIP_DIALOG(CE11Dlg, 501, "おきまり伝票", buildPatterns)
SLSALE_DEFINE_SLIP_DIALOG(CE12Dlg, 502, "単価設定", buildUnitPrice)
SLSALE_DEFINE_SLIP_DIALOG(CE14Dlg, 503, "伝票検索条件設定", buildSearch)
SLSALE_DEFINE_SLIP_DIALOG(CE16Dlg, 505, "情報", buildInfo)
