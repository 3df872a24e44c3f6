#pragma once
// The model a CInterMtrx shows: lines of cells laid out by an MtrxLayout.
// Subclasses answer per line and field; this base maps the grid's visual
// rows and columns onto them. A cell without Qt::ItemIsEnabled is not shown
// on its line: the grid draws it empty and the cursor skips it. A cell
// with Qt::ItemIsEditable is entered by Enter and Tab.
//
// Roles a cell answers besides the display and edit roles:
// - kEditorRole: the kind of editor (MtrxEditor);
// - kChoicesRole (QStringList) and kChoiceCodesRole (QVariantList of int):
//   the drop-down list in its order and each item's code; the edit role of
//   a choice cell is its code; kChoiceByDigitRole (bool): a digit key
//   chooses the item of that code;
// - kMinimumRole, kMaximumRole (double), kDecimalsRole (int): the range and
//   the decimals of a number cell;
// - kMaxLengthRole (int): the characters a text cell takes;
// - kLiveRole (bool): a number cell whose value is stored at every
//   keystroke, so that what depends on it follows the typing; Esc then
//   calls editCancelled to put the line back as it was at editStarted.
//   Those values come through setData with kLiveRole as the role; only the
//   value stored when the edit ends (Qt::EditRole) signals cellCommitted.

#include "outside/sl_wlib/mtrxlayout.h"

#include <QAbstractTableModel>

namespace sl {

enum MtrxRole {
  kEditorRole = Qt::UserRole + 100,
  kChoicesRole,
  kChoiceCodesRole,
  kMinimumRole,
  kMaximumRole,
  kDecimalsRole,
  kMaxLengthRole,
  kChoiceByDigitRole,
  kLiveRole,
};

enum class MtrxEditor { None = 0, Text = 1, Number = 2, Choice = 3 };

class CMtrxModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit CMtrxModel(QObject* parent = nullptr);

  const MtrxLayout& layout() const { return layout_; }
  virtual int lineCount() const = 0;

  // The line and field of a grid index (-1 for a position no cell starts
  // at), and the index of a line's cell.
  int lineOf(const QModelIndex& index) const;
  int fieldOf(const QModelIndex& index) const;
  QModelIndex cellIndex(int line, int field) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  // The caption of the first-row cell of a column.
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  // An editor opened on a cell, and an edit dropped with Esc after values
  // were stored while typing.
  virtual void editStarted(int line, int field);
  virtual void editCancelled(int line, int field);

 Q_SIGNALS:
  // A cell's value was stored.
  void cellCommitted(int line, int field);
  // Captions changed (a column hidden or shown).
  void captionsChanged();

 protected:
  virtual QVariant cellData(int line, int field, int role) const = 0;
  virtual Qt::ItemFlags cellFlags(int line, int field) const = 0;
  virtual bool setCellData(int line, int field, const QVariant& value) = 0;

  void setLayout(const MtrxLayout& layout);
  void setCaption(int field, const QString& caption);
  // Repaint lines first..last.
  void linesChanged(int first, int last);

 private:
  MtrxLayout layout_;
};

}  // namespace sl
