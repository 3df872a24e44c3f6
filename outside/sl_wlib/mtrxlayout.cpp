#include "outside/sl_wlib/mtrxlayout.h"

#include <algorithm>
#include <utility>

namespace sl {

MtrxLayout::MtrxLayout(int rowsPerLine, QList<int> widths, QList<MtrxCellDef> cells)
    : rowsPerLine_(std::max(1, rowsPerLine)),
      widths_(std::move(widths)),
      cells_(std::move(cells)) {}

int MtrxLayout::columnWidth(int column) const {
  return column >= 0 && column < widths_.size() ? widths_.at(column) : 0;
}

const MtrxCellDef* MtrxLayout::cell(int field) const {
  for (const MtrxCellDef& c : cells_)
    if (c.field == field) return &c;
  return nullptr;
}

int MtrxLayout::fieldAt(int row, int column) const {
  for (const MtrxCellDef& c : cells_)
    if (c.row == row && c.column == column) return c.field;
  return -1;
}

int MtrxLayout::entryIndex(int field) const {
  for (int i = 0; i < cells_.size(); ++i)
    if (cells_.at(i).field == field) return i;
  return -1;
}

void MtrxLayout::setCaption(int field, const QString& caption) {
  for (MtrxCellDef& c : cells_)
    if (c.field == field) c.caption = caption;
}

}  // namespace sl
