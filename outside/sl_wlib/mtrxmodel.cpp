#include "outside/sl_wlib/mtrxmodel.h"

#include <algorithm>

namespace sl {

CMtrxModel::CMtrxModel(QObject* parent) : QAbstractTableModel(parent) {}

int CMtrxModel::lineOf(const QModelIndex& index) const {
  return index.isValid() ? index.row() / layout_.rowsPerLine() : -1;
}

int CMtrxModel::fieldOf(const QModelIndex& index) const {
  if (!index.isValid()) return -1;
  return layout_.fieldAt(index.row() % layout_.rowsPerLine(), index.column());
}

QModelIndex CMtrxModel::cellIndex(int line, int field) const {
  const MtrxCellDef* c = layout_.cell(field);
  if (!c || line < 0 || line >= lineCount()) return {};
  return index(line * layout_.rowsPerLine() + c->row, c->column);
}

int CMtrxModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : lineCount() * layout_.rowsPerLine();
}

int CMtrxModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : layout_.columnCount();
}

QVariant CMtrxModel::data(const QModelIndex& index, int role) const {
  const int field = fieldOf(index);
  if (field < 0) return {};
  const int line = lineOf(index);
  // A cell not shown on its line is drawn empty.
  if (!(cellFlags(line, field) & Qt::ItemIsEnabled) &&
      (role == Qt::DisplayRole || role == Qt::EditRole))
    return {};
  return cellData(line, field, role);
}

Qt::ItemFlags CMtrxModel::flags(const QModelIndex& index) const {
  const int field = fieldOf(index);
  if (field < 0) return Qt::NoItemFlags;
  Qt::ItemFlags f = cellFlags(lineOf(index), field);
  if (f & Qt::ItemIsEnabled) f |= Qt::ItemIsSelectable;
  else f &= ~Qt::ItemIsEditable;
  return f;
}

bool CMtrxModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole && role != kLiveRole) return false;
  const int field = fieldOf(index);
  if (field < 0 || !(flags(index) & Qt::ItemIsEditable)) return false;
  const int line = lineOf(index);
  if (!setCellData(line, field, value)) return false;
  // A value stored while typing is not yet the cell's committed value.
  if (role == Qt::EditRole) Q_EMIT cellCommitted(line, field);
  return true;
}

QVariant CMtrxModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  const int field = layout_.fieldAt(0, section);
  const MtrxCellDef* c = layout_.cell(field);
  return c ? QVariant(c->caption) : QVariant();
}

void CMtrxModel::editStarted(int /*line*/, int /*field*/) {}

void CMtrxModel::editCancelled(int /*line*/, int /*field*/) {}

void CMtrxModel::setLayout(const MtrxLayout& layout) {
  beginResetModel();
  layout_ = layout;
  endResetModel();
}

void CMtrxModel::setCaption(int field, const QString& caption) {
  const MtrxCellDef* c = layout_.cell(field);
  if (!c || c->caption == caption) return;
  layout_.setCaption(field, caption);
  Q_EMIT captionsChanged();
}

void CMtrxModel::linesChanged(int first, int last) {
  const int rows = rowCount();
  const int per = layout_.rowsPerLine();
  const int top = std::max(0, first * per);
  const int bottom = std::min(rows - 1, (last + 1) * per - 1);
  if (top > bottom || columnCount() == 0) return;
  Q_EMIT dataChanged(index(top, 0), index(bottom, columnCount() - 1));
}

}  // namespace sl
