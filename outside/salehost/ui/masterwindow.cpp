#include "outside/salehost/ui/masterwindow.h"

#include "outside/sl_jet/seljetaccess.h"
#include "platform/presenter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace salehost {
namespace {

const QString kCaption = QStringLiteral("販売管理");
constexpr int kJetBusy = 3260;

QPushButton* button(const char* name, const char16_t* text, QKeySequence key, QWidget* parent) {
  auto* b = new QPushButton(QString::fromUtf16(text), parent);
  b->setObjectName(QString::fromLatin1(name));
  auto* shortcut = new QShortcut(key, parent);
  shortcut->setContext(Qt::WidgetWithChildrenShortcut);
  QObject::connect(shortcut, &QShortcut::activated, b, &QPushButton::click);
  b->setAutoDefault(false);
  return b;
}

}  // namespace

MasterWindow::MasterWindow(std::unique_ptr<MasterTable> table, QWidget* parent)
    : QWidget(parent), table_(std::move(table)) {
  setWindowTitle(table_->title());
  setObjectName(table_->title());
  auto* layout = new QVBoxLayout(this);
  auto* body = new QHBoxLayout;
  layout->addLayout(body, 1);

  if (!table_->single()) {
    auto* left = new QVBoxLayout;
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("検索"), this));
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("search"));
    search_->setPlaceholderText(QStringLiteral("コード・名前などの一部"));
    search_->setClearButtonEnabled(true);
    searchRow->addWidget(search_, 1);
    left->addLayout(searchRow);
    list_ = new QTableView(this);
    list_->setObjectName(QStringLiteral("list"));
    model_ = new QStandardItemModel(this);
    QStringList headers;
    for (const FieldSpec& field : table_->fields())
      if (field.listed) headers.append(field.caption);
    model_->setHorizontalHeaderLabels(headers);
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setStretchLastSection(true);
    left->addWidget(list_, 1);
    body->addLayout(left, 1);
    connect(search_, &QLineEdit::textChanged, this, &MasterWindow::applyFilter);
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& index) {
              if (index.isValid()) showRow(model_->item(index.row(), 0)->data().toInt());
            });
  }

  auto* formHost = new QWidget(this);
  auto* form = new QFormLayout(formHost);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  buildForm(form);
  auto* scroll = new QScrollArea(this);
  scroll->setWidget(formHost);
  scroll->setWidgetResizable(true);
  scroll->setMinimumWidth(formHost->sizeHint().width() + 24);
  body->addWidget(scroll, 1);

  auto* buttons = new QHBoxLayout;
  if (!table_->single()) {
    QPushButton* fresh = button("new", u"F3 新規", Qt::Key_F3, this);
    connect(fresh, &QPushButton::clicked, this, &MasterWindow::startNew);
    buttons->addWidget(fresh);
  }
  QPushButton* store = button("save", u"F2 登録", Qt::Key_F2, this);
  connect(store, &QPushButton::clicked, this, [this] { save(); });
  buttons->addWidget(store);
  if (!table_->single()) {
    QPushButton* erase = button("delete", u"F4 削除", Qt::Key_F4, this);
    connect(erase, &QPushButton::clicked, this, [this] { removeCurrent(); });
    buttons->addWidget(erase);
  }
  buttons->addStretch(1);
  QPushButton* close = button("close", u"F8 閉じる", Qt::Key_F8, this);
  connect(close, &QPushButton::clicked, this, &MasterWindow::closeRequested);
  buttons->addWidget(close);
  layout->addLayout(buttons);

  reload();
  if (table_->single() && !rows_.isEmpty()) {
    current_ = 0;
    showValues(rows_.first());
  } else if (rows_.isEmpty()) {
    startNew();
  } else {
    list_->selectRow(0);  // the form shows the first row
  }
}

MasterWindow::~MasterWindow() = default;

void MasterWindow::buildForm(QFormLayout* form) {
  for (const FieldSpec& field : table_->fields()) {
    QWidget* edit = nullptr;
    switch (field.type) {
      case FieldType::Text: {
        auto* line = new QLineEdit(this);
        line->setMaxLength(field.maxChars);
        // Room for the longest text of the field, up to a readable width.
        line->setMinimumWidth(
            line->fontMetrics().horizontalAdvance(QString(std::min(field.maxChars, 24), u'漢')) + 12);
        edit = line;
        break;
      }
      case FieldType::Integer:
      case FieldType::Decimal: {
        auto* line = new QLineEdit(this);
        line->setAlignment(Qt::AlignRight);
        line->setMinimumWidth(line->fontMetrics().horizontalAdvance(QStringLiteral("9,999,999,999.99")) + 12);
        edit = line;
        break;
      }
      case FieldType::Choice: {
        auto* box = new QComboBox(this);
        box->addItems(field.choices);
        edit = box;
        break;
      }
      case FieldType::Check:
        edit = new QCheckBox(this);
        break;
    }
    edit->setObjectName(field.name);
    edit->installEventFilter(this);
    edits_.append(edit);
    auto* label = new QLabel(field.caption, this);
    label->setBuddy(edit);
    form->addRow(label, edit);
  }
}

bool MasterWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        key->modifiers() == Qt::NoModifier && edits_.contains(qobject_cast<QWidget*>(watched))) {
      focusNextChild();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

QString MasterWindow::storeFailure(int status) const {
  if (status == kJetBusy)
    return QStringLiteral("データが他のプログラムで使用中のため処理できませんでした。\n"
                          "しばらくしてからもう一度実行してください。");
  return QStringLiteral("%1のデータを処理できませんでした（エラー %2）。")
      .arg(table_->rowName())
      .arg(status);
}

bool MasterWindow::reload() {
  QList<Values> rows;
  const int status = table_->load(rows);
  if (status != sl::kSlOk) {
    hv6::showMessage(storeFailure(status), kCaption, hv6::MsgButtons::Ok, hv6::MsgIcon::Error, this);
    return false;
  }
  rows_ = rows;
  if (model_ == nullptr) return true;
  model_->removeRows(0, model_->rowCount());
  const QList<FieldSpec>& fields = table_->fields();
  for (int row = 0; row < rows_.size(); ++row) {
    QList<QStandardItem*> items;
    for (int f = 0; f < fields.size(); ++f) {
      if (!fields.at(f).listed) continue;
      auto* item = new QStandardItem(textOfValue(fields.at(f), rows_.at(row).value(f)));
      if (fields.at(f).type == FieldType::Integer || fields.at(f).type == FieldType::Decimal)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      items.append(item);
    }
    items.first()->setData(row);
    model_->appendRow(items);
  }
  list_->resizeColumnsToContents();
  applyFilter(search_->text());
  return true;
}

void MasterWindow::applyFilter(const QString& text) {
  if (model_ == nullptr) return;
  const QString needle = text.trimmed();
  for (int row = 0; row < model_->rowCount(); ++row) {
    bool match = needle.isEmpty();
    for (int column = 0; !match && column < model_->columnCount(); ++column)
      match = model_->item(row, column)->text().contains(needle, Qt::CaseInsensitive);
    list_->setRowHidden(row, !match);
  }
}

void MasterWindow::showRow(int row) {
  if (row < 0 || row >= rows_.size()) return;
  current_ = row;
  showValues(rows_.at(row));
}

void MasterWindow::showValues(const Values& values) {
  const QList<FieldSpec>& fields = table_->fields();
  for (int f = 0; f < fields.size(); ++f) {
    const FieldSpec& field = fields.at(f);
    QWidget* edit = edits_.at(f);
    if (auto* line = qobject_cast<QLineEdit*>(edit)) {
      line->setText(textOfValue(field, values.value(f)));
      line->setReadOnly(field.key && current_ >= 0);
    } else if (auto* box = qobject_cast<QComboBox*>(edit)) {
      box->setCurrentIndex(values.value(f).toInt() - field.choiceBase);
    } else if (auto* check = qobject_cast<QCheckBox*>(edit)) {
      check->setChecked(values.value(f).toInt() != 0);
    }
  }
}

void MasterWindow::startNew() {
  current_ = -1;
  Values values = table_->blank();
  const int key = table_->keyField();
  if (key >= 0 && table_->fields().at(key).type == FieldType::Integer) {
    // The next free code after the highest one.
    qlonglong next = 1;
    for (const Values& row : rows_) next = std::max(next, row.value(key).toLongLong() + 1);
    values[key] = next;
  }
  showValues(values);
  if (list_ != nullptr) list_->clearSelection();
  focusField(key >= 0 ? key : 0);
}

void MasterWindow::focusField(int field) {
  if (field < 0 || field >= edits_.size()) return;
  QWidget* edit = edits_.at(field);
  edit->setFocus();
  if (auto* line = qobject_cast<QLineEdit*>(edit)) line->selectAll();
}

Refusal MasterWindow::formValues(Values& values) const {
  values.clear();
  const QList<FieldSpec>& fields = table_->fields();
  for (int f = 0; f < fields.size(); ++f) {
    const FieldSpec& field = fields.at(f);
    QWidget* edit = edits_.at(f);
    QVariant value;
    if (auto* line = qobject_cast<QLineEdit*>(edit)) {
      value = valueFromText(field, line->text());
      if ((field.type == FieldType::Integer || field.type == FieldType::Decimal) &&
          value.typeId() == QMetaType::QString)
        return {QStringLiteral("「%1」には%2を入力してください。")
                    .arg(field.caption, field.type == FieldType::Integer
                                            ? QStringLiteral("整数")
                                            : QStringLiteral("数値")),
                f};
    } else if (auto* box = qobject_cast<QComboBox*>(edit)) {
      value = box->currentIndex() + field.choiceBase;
    } else if (auto* check = qobject_cast<QCheckBox*>(edit)) {
      value = check->isChecked() ? 1 : 0;
    }
    values.append(value);
  }
  return {};
}

bool MasterWindow::save() {
  Values values;
  Refusal refusal = formValues(values);
  if (!refusal.refused()) refusal = table_->check(values);
  if (refusal.refused()) {
    hv6::showMessage(refusal.text, kCaption, hv6::MsgButtons::Ok, hv6::MsgIcon::Warning, this);
    focusField(refusal.field);
    return false;
  }
  const bool existing = table_->single() || current_ >= 0;
  const int status = existing ? table_->update(values) : table_->append(values);
  if (status != sl::kSlOk) {
    const int key = table_->keyField();
    const QString text =
        status == sl::kSlDuplicate
            ? QStringLiteral("コード %1 の%2はすでに登録されています。別のコードを入力してください。")
                  .arg(textOfValue(table_->fields().at(key), values.value(key)), table_->rowName())
            : storeFailure(status);
    hv6::showMessage(text, kCaption, hv6::MsgButtons::Ok, hv6::MsgIcon::Warning, this);
    focusField(status == sl::kSlDuplicate ? key : -1);
    return false;
  }
  const int key = table_->keyField();
  reload();
  if (key >= 0) {
    selectKey(values.value(key));
  } else if (!rows_.isEmpty()) {
    current_ = 0;
    showValues(rows_.first());
  }
  return true;
}

void MasterWindow::selectKey(const QVariant& key) {
  const int field = table_->keyField();
  for (int row = 0; row < model_->rowCount(); ++row) {
    const int index = model_->item(row, 0)->data().toInt();
    if (rows_.at(index).value(field) == key) {
      list_->setRowHidden(row, false);
      list_->selectRow(row);
      showRow(index);
      return;
    }
  }
}

bool MasterWindow::removeCurrent() {
  if (table_->single() || current_ < 0) return false;
  const Values& row = rows_.at(current_);
  const int key = table_->keyField();
  const QString used = table_->usedBy(row.value(key));
  if (!used.isEmpty()) {
    hv6::showMessage(used, kCaption, hv6::MsgButtons::Ok, hv6::MsgIcon::Warning, this);
    return false;
  }
  int nameField = 0;
  while (nameField < table_->fields().size() && !table_->fields().at(nameField).required) ++nameField;
  const QString question = QStringLiteral("%1「%2 %3」を削除しますか？")
                               .arg(table_->rowName(),
                                    textOfValue(table_->fields().at(key), row.value(key)),
                                    row.value(nameField).toString());
  if (hv6::showMessage(question, kCaption, hv6::MsgButtons::YesNo, hv6::MsgIcon::Question, this) !=
      hv6::MsgAnswer::Yes)
    return false;
  const int status = table_->remove(row.value(key));
  if (status != sl::kSlOk) {
    hv6::showMessage(storeFailure(status), kCaption, hv6::MsgButtons::Ok, hv6::MsgIcon::Error, this);
    return false;
  }
  reload();
  startNew();
  return true;
}

}  // namespace salehost
