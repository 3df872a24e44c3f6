#pragma once
// CInterMtrx: the line grid of the sales windows. Each line of its model
// (CMtrxModel) takes several visual rows laid out by the model's
// MtrxLayout, with the captions painted in as many rows above.
//
// Keyboard: arrows move to the next cell that way shown on its line;
// Enter, Return and Tab store an open edit and move to the next enterable
// cell in the layout's entry order, along the line and then to the next
// line's first one; Shift+Tab and Shift+Enter move back (Tab past the last
// cell, Shift+Tab before the first, leave the grid). Typing on a cell
// starts editing it (the key goes into the editor: a digit in a drop-down
// chooses the item of that code; Space opens the list). An editor left as
// it was opened stores nothing. Esc drops an edit. Function keys are never
// used by the grid or its editors: they reach the window. Cells not shown
// on a line are drawn empty and never get the cursor.
//
// Editors by the cell's kEditorRole: a drop-down list in the model's order
// (its choice commits at once), a number field that takes only what stays
// within the cell's range and decimals (with kLiveRole, stored at every
// keystroke), a text field of limited length.

#include "outside/sl_common/mtrxcolor.h"
#include "outside/sl_wlib/mtrxmodel.h"

#include <QComboBox>
#include <QFont>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QValidator>

namespace sl {

// What Initial sets up a grid with.
struct MTRX_INIT {
  QFont font;
  MTRX_COLOR colors;
  void* resource = nullptr;  // the host's grid resource handle, kept as given
  int cellWidth = 0;         // pixels per half-width character; 0: from the font
  int cellHeight = 0;        // pixels of a text line; 0: from the font
};

// Takes a number while it is typed: an optional minus sign (only when the
// minimum is below zero), digits and at most `decimals` of them after the
// point; anything that would leave the range is refused. Full-width
// digits, point and minus are turned into their half-width forms.
class CMtrxNumberValidator final : public QValidator {
  Q_OBJECT

 public:
  CMtrxNumberValidator(double minimum, double maximum, int decimals, QObject* parent = nullptr);
  State validate(QString& input, int& pos) const override;

  double minimum() const { return minimum_; }
  double maximum() const { return maximum_; }
  int decimals() const { return decimals_; }

 private:
  double minimum_;
  double maximum_;
  int decimals_;
};

// The drop-down editor: items with codes; a digit key chooses the item of
// that code, function keys are left to the window.
class CMtrxComboBox final : public QComboBox {
  Q_OBJECT

 public:
  explicit CMtrxComboBox(QWidget* parent = nullptr);
  // byDigit: a digit key chooses the item whose code it is.
  void setChoices(const QStringList& names, const QVariantList& codes, bool byDigit);
  // Opens the list (and remembers that a choice from it moves on).
  void showPopup() override;
  int code() const;
  void setCode(int code);

 Q_SIGNALS:
  // An item was chosen by a digit or from the list.
  void chosen();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool byDigit_ = false;
  bool fromPopup_ = false;
};

class CInterMtrx;

// Editors and painting of the cells.
class CMtrxDelegate final : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit CMtrxDelegate(CInterMtrx* grid);

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  // Inside the cell's borders.
  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const override;
  // Stores the editor's value (role kLiveRole while typing); false when
  // the model refused it.
  bool store(QWidget* editor, const QModelIndex& index, int role = Qt::EditRole) const;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override;
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  CInterMtrx* grid_;
};

// The caption rows above the grid.
class CMtrxHeader final : public QHeaderView {
  Q_OBJECT

 public:
  explicit CMtrxHeader(CInterMtrx* grid);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  CInterMtrx* grid_;
};

class CInterMtrx : public QTableView {
  Q_OBJECT

 public:
  explicit CInterMtrx(QWidget* parent = nullptr);
  ~CInterMtrx() override;
  using QTableView::edit;

  // Font, colours, the resource handle and the cell size.
  void Initial(const MTRX_INIT& init);
  const MTRX_INIT& init() const { return init_; }
  void* resource() const { return init_.resource; }

  // The model shown (not owned).
  void setMtrxModel(CMtrxModel* model);
  CMtrxModel* mtrxModel() const { return model_; }

  // The cursor: line and field (-1 without a current cell).
  int currentLine() const;
  int currentField() const;
  // Puts the cursor on a cell (shown or not); false when the line or the
  // field does not exist.
  bool setCurrentCell(int line, int field);
  // Moves to the next (previous) enterable cell; false when there is none.
  bool moveNext();
  bool movePrevious();
  // Stores an open edit and closes its editor; false when none was open.
  bool commitEdit();
  bool isEditing() const;

  int rowHeight() const { return rowHeight_; }
  QColor captionColor() const { return init_.colors.caption; }
  QColor captionBackground() const { return init_.colors.captionBackground; }
  QColor gridColor() const { return init_.colors.grid; }
  QColor disabledTextColor() const { return init_.colors.disabledText; }

 Q_SIGNALS:
  void currentCellChanged(int line, int field);
  void cellCommitted(int line, int field);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  // Arrows go to the next cell that way shown on its line, over spans.
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

 private:
  friend class CMtrxDelegate;
  // Called by the delegate when an editor saw a moving key.
  void editorMove(QWidget* editor, int direction);
  // Esc in an editor: the edit is dropped.
  void editorCancel(QWidget* editor);
  bool step(int direction);
  bool forwardToEditor(QKeyEvent* event);
  // The cell (its first row and column) covering a grid position.
  QModelIndex cellAt(int row, int column) const;
  // Closes an editor whose value was stored (or is to be dropped).
  void closeEditorQuietly(QWidget* editor);
  void applySpans();
  void applySizes();

  CMtrxModel* model_ = nullptr;
  CMtrxHeader* header_ = nullptr;
  CMtrxDelegate* delegate_ = nullptr;
  MTRX_INIT init_;
  int rowHeight_ = 20;
  int charWidth_ = 8;
  bool forwarding_ = false;
};

}  // namespace sl
