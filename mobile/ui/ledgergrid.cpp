#include "mobile/ui/ledgergrid.h"

#include "platform/codec.h"

#include <QHeaderView>
#include <QLineEdit>

namespace {

using hv6::mobile::kMobileNameBytes;

QString fitted(const QString& text) { return hv6::cp932::cutToBytes(text, kMobileNameBytes); }

}  // namespace

LedgerRowModel::LedgerRowModel(QObject* parent) : QAbstractTableModel(parent) {}

void LedgerRowModel::setRows(const QList<hv6::mobile::LedgerRow>& rows) {
  beginResetModel();
  rows_ = rows;
  endResetModel();
}

void LedgerRowModel::setAllUsed(bool used) {
  if (rows_.isEmpty()) return;
  for (hv6::mobile::LedgerRow& row : rows_) row.use = used;
  Q_EMIT dataChanged(index(0, kUseColumn), index(rowCount() - 1, kUseColumn), {Qt::CheckStateRole});
}

int LedgerRowModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int LedgerRowModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant LedgerRowModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_.size()) return {};
  const hv6::mobile::LedgerRow& row = rows_.at(index.row());
  switch (index.column()) {
    case kUseColumn:
      if (role == Qt::CheckStateRole) return row.use ? Qt::Checked : Qt::Unchecked;
      break;
    case kScodeColumn:
      if (role == Qt::DisplayRole) return QString::asprintf("%ld", row.scode);
      if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
      break;
    case kNameColumn:
      if (role == Qt::DisplayRole) return row.name;
      break;
    case kMobileNameColumn:
      if (role == Qt::DisplayRole || role == Qt::EditRole) return row.mobileName;
      break;
    default: break;
  }
  return {};
}

QVariant LedgerRowModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  switch (section) {
    case kUseColumn: return QStringLiteral("使用");
    case kScodeColumn: return QStringLiteral("コード");
    case kNameColumn: return QStringLiteral("名称");
    case kMobileNameColumn: return QStringLiteral("モバイル名称");
    default: return {};
  }
}

Qt::ItemFlags LedgerRowModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (index.column() == kUseColumn) flags |= Qt::ItemIsUserCheckable;
  if (index.column() == kMobileNameColumn) flags |= Qt::ItemIsEditable;
  return flags;
}

bool LedgerRowModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.row() >= rows_.size()) return false;
  hv6::mobile::LedgerRow& row = rows_[index.row()];
  if (index.column() == kUseColumn && role == Qt::CheckStateRole) {
    row.use = value.toInt() == Qt::Checked;
  } else if (index.column() == kMobileNameColumn && role == Qt::EditRole) {
    row.mobileName = fitted(value.toString());
  } else {
    return false;
  }
  Q_EMIT dataChanged(index, index, {role, Qt::DisplayRole});
  return true;
}

// Text typed, pasted or composed beyond the limit is cut at once; the
// cursor stays where it was when it still lies inside the text.
QWidget* MobileNameDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                          const QModelIndex&) const {
  auto* edit = new QLineEdit(parent);
  edit->setFrame(false);
  connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
    const QString cut = fitted(text);
    if (cut == text) return;
    const int cursor = edit->cursorPosition();
    edit->setText(cut);
    edit->setCursorPosition(std::min(cursor, static_cast<int>(cut.size())));
  });
  return edit;
}

void MobileNameDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  if (auto* edit = qobject_cast<QLineEdit*>(editor))
    edit->setText(index.data(Qt::EditRole).toString());
}

void MobileNameDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                      const QModelIndex& index) const {
  if (auto* edit = qobject_cast<QLineEdit*>(editor))
    model->setData(index, fitted(edit->text()), Qt::EditRole);
}

CLedgerGrid::CLedgerGrid(QWidget* parent) : QTableView(parent), model_(new LedgerRowModel(this)) {
  setObjectName(QString::number(kControlId));
  setModel(model_);
  setItemDelegateForColumn(LedgerRowModel::kMobileNameColumn, new MobileNameDelegate(this));
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                  QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
  setAlternatingRowColors(true);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  // The mobile name column holds six full-width characters (12 bytes) with
  // room for the editor's margins; the name takes the rest.
  const QFontMetrics metrics = fontMetrics();
  QHeaderView* header = horizontalHeader();
  header->setSectionResizeMode(QHeaderView::Interactive);
  header->setStretchLastSection(false);
  auto widthOf = [&metrics](const QString& sample) { return metrics.horizontalAdvance(sample) + 24; };
  setColumnWidth(LedgerRowModel::kUseColumn, widthOf(QStringLiteral("使用")));
  setColumnWidth(LedgerRowModel::kScodeColumn, widthOf(QStringLiteral("99999999")));
  setColumnWidth(LedgerRowModel::kMobileNameColumn,
                 std::max(widthOf(QStringLiteral("ＷＷＷＷＷＷ")), widthOf(QStringLiteral("モバイル名称"))));
  header->setSectionResizeMode(LedgerRowModel::kNameColumn, QHeaderView::Stretch);
}

void CLedgerGrid::setRows(const QList<hv6::mobile::LedgerRow>& rows) { model_->setRows(rows); }

void CLedgerGrid::commitEdit() {
  if (state() != QAbstractItemView::EditingState) return;
  if (QWidget* editor = indexWidget(currentIndex())) {
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
}
