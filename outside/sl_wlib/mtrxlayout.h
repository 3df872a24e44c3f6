#pragma once
// Where the cells of one grid line lie. A line takes rowsPerLine visual
// rows; each cell has an id of its model's own (its field), a row within the
// line, a first column and spans, and a caption painted above it in the
// caption rows. The cells are listed in entry order: the order in which
// Enter and Tab visit them.

#include <QList>
#include <QString>

namespace sl {

struct MtrxCellDef {
  int field = 0;       // the model's id of the cell
  int row = 0;         // row within the line (0 = first)
  int column = 0;      // first column
  int columnSpan = 1;
  int rowSpan = 1;
  QString caption;
};

class MtrxLayout {
 public:
  MtrxLayout() = default;
  // widths: each column's width in half-width characters.
  MtrxLayout(int rowsPerLine, QList<int> widths, QList<MtrxCellDef> cells);

  int rowsPerLine() const { return rowsPerLine_; }
  int columnCount() const { return static_cast<int>(widths_.size()); }
  int columnWidth(int column) const;
  const QList<MtrxCellDef>& cells() const { return cells_; }
  // The cell of a field; null when the layout has none.
  const MtrxCellDef* cell(int field) const;
  // The field whose cell starts at a row of the line and a column; -1 when
  // no cell starts there.
  int fieldAt(int row, int column) const;
  // Position of a field in entry order; -1 when absent.
  int entryIndex(int field) const;
  void setCaption(int field, const QString& caption);

 private:
  int rowsPerLine_ = 1;
  QList<int> widths_;
  QList<MtrxCellDef> cells_;
};

}  // namespace sl
