#pragma once
// The line grid of the slip entry windows and the totals line under it.
//
// SlipGrid is the widget a slip window places: the grid control CInterMtrx
// (objectName "grid") over a SlipGridModel over the window's SlipModel, and
// the totals line SlipTotalsLine (objectName "totals") under it.
//
//   auto* grid = new SlipGrid(SlipGridModel::Sales, this);  // CE30Wnd; Reservation in CE10Wnd
//   sl::MTRX_INIT init;            // from the module's display settings (when set):
//   init.font = *display().font;  init.colors = *display().colors;
//   init.cellWidth = display().charWidth;  init.cellHeight = display().charHeight;
//   init.resource = services().gridResource;
//   grid->Initial(init);
//   grid->setGoodsLookup(lookup);  // goods code -> record (through CSelJetAccess::ReadGoods)
//   grid->setFarmLists(lists);     // CE30Wnd: crops, fields, grades, standards (code, name)
//   grid->setSlipModel(&slip);     // the window's SlipModel, not owned
//
// - After the window changes the slip as a whole (newSlip, load, setCompany
//   with other display options (hidden columns), setEnvironment (whole-yen
//   prices), setClient + resettleLines, a line inserted, deleted or
//   pasted): grid->reload(); the cursor stays where it was when it can,
//   else goes to the first line's 区分. After changing lines through the
//   SlipModel directly: grid->linesChanged(first, last).
// - Every value typed into a cell goes through the SlipModel setter of the
//   cell (signs, amounts, taxes, totals); number cells store each keystroke,
//   so the totals follow the typing, and Esc puts the line back. A command
//   run while a cell is edited (an F-key) calls grid->commitEdit() first:
//   the typed value is in the SlipModel already, this closes the editor.
// - The cursor: currentLine(), currentField() (SlipGridModel::Field),
//   setCurrentCell(line, field) (for a save check that puts the cursor on a
//   fault). grid->grid() is the CInterMtrx for focus and key handling.
// - Command 606 "電卓": openCalculator() opens the calculator on the current
//   number cell and stores its result; takeCalculatorValue(x) does the
//   storing alone (rounded half up to the cell's decimals, held to its
//   range).
// - Signals: refusal(number) when a kind change is refused (51005, 51038;
//   the window shows the error box, the line stays as it was);
//   goodsNotFound(line, code) when a typed goods code has no record (the
//   cell keeps its old code); currentCellChanged(line, field);
//   cellCommitted(line, field); slipEdited() after every stored value (the
//   totals line is repainted already; the window may update its buttons).
// - F-keys never stop in the grid: the window's shortcuts and key handler
//   get them, editing or not.

#include "outside/sl_wlib/intermtrx.h"
#include "sales/model/slipmodel.h"

#include <QWidget>

#include <functional>
#include <optional>

namespace hv6::sales {

// One farm master row for the 品目, ほ場, grade and standard cells.
struct FarmName {
  qint32 code = 0;
  QString name;
};

// The four master lists of the sales slip window, each in Scode order.
struct FarmLists {
  QList<FarmName> crops;
  QList<FarmName> fields;
  QList<FarmName> grades;
  QList<FarmName> standards;
};

// Looks a goods code up; false when there is no such goods record.
using GoodsLookup = std::function<bool(const QString& code, sl::S_COMMODITY& goods)>;

class SlipGridModel final : public sl::CMtrxModel {
  Q_OBJECT

 public:
  enum Window { Reservation, Sales };
  // The cells of a line (the grid's field ids).
  enum Field {
    kNumber = 0,
    kKind,
    kGoodsCode,
    kTaxClass,
    kIrisu,
    kBoxes,
    kUnit,
    kUnitPrice,
    kAmount,
    kSimpleTax,
    kName,
    kQuantity,
    kCostPrice,
    kTax,
    kGrossProfit,
    kCrop,
    kField,
    kGrade,
    kStandard,
  };

  // Edit limits of the number cells.
  struct Range {
    double minimum = 0;
    double maximum = 0;
    int decimals = 0;
  };

  explicit SlipGridModel(Window window, QObject* parent = nullptr);

  Window window() const { return window_; }
  void setSlipModel(SlipModel* slip);
  SlipModel* slipModel() const { return slip_; }
  void setGoodsLookup(GoodsLookup lookup) { lookup_ = std::move(lookup); }
  void setFarmLists(const FarmLists& lists);

  // Lines shown (SlipModel::rowsShown), captions by the company's options.
  void reload();
  void refreshLines(int first, int last);

  int lineCount() const override { return shown_; }
  // The limits of a number cell (the unit and cost prices by the whole-yen
  // option); false for a cell that takes no number.
  bool rangeOf(int field, Range& range) const;
  // True when the field is a number cell entered on the line.
  bool isNumberCell(int line, int field) const;
  // Stores a value into a number cell as typing would.
  bool setNumber(int line, int field, double value);
  // The captions as laid out (first row, then second row).
  static QString caption(Field field);

  void editStarted(int line, int field) override;
  void editCancelled(int line, int field) override;

 Q_SIGNALS:
  void refusal(int messageNumber);
  void goodsNotFound(int line, const QString& code);
  void slipEdited();

 protected:
  QVariant cellData(int line, int field, int role) const override;
  Qt::ItemFlags cellFlags(int line, int field) const override;
  bool setCellData(int line, int field, const QVariant& value) override;

 private:
  bool shown(int line, int field) const;
  bool entered(int line, int field) const;
  QString displayText(int line, int field) const;
  QVariant editValue(int line, int field) const;
  const QList<FarmName>* farmList(int field) const;
  void syncLines();
  void applyCaptions();

  Window window_;
  SlipModel* slip_ = nullptr;
  GoodsLookup lookup_;
  FarmLists farm_;
  int shown_ = 0;
  // The edited line and the one below as they were when an edit started.
  struct SavedLines {
    int line = -1;
    sl::S_SELSLIP lines[2];
  };
  std::optional<SavedLines> saved_;
};

// The totals line under the grid: SlipModel::totalsLine() in
// totalsSlots() equal slots, caption and value in turn, values
// right-aligned.
class SlipTotalsLine final : public QWidget {
  Q_OBJECT

 public:
  explicit SlipTotalsLine(QWidget* parent = nullptr);

  void Initial(const sl::MTRX_INIT& init);
  void setSlipModel(const SlipModel* slip);
  // What is painted now.
  const QList<TotalsCell>& cells() const { return cells_; }
  int slots() const { return slots_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 public Q_SLOTS:
  // Takes the totals of the slip again and repaints.
  void refresh();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const SlipModel* slip_ = nullptr;
  sl::MTRX_INIT init_;
  QList<TotalsCell> cells_;
  int slots_ = 10;
  int lineHeight_ = 20;
};

class SlipGrid final : public QWidget {
  Q_OBJECT

 public:
  explicit SlipGrid(SlipGridModel::Window window, QWidget* parent = nullptr);

  void Initial(const sl::MTRX_INIT& init);
  void setSlipModel(SlipModel* slip);
  void setGoodsLookup(GoodsLookup lookup) { model_->setGoodsLookup(std::move(lookup)); }
  void setFarmLists(const FarmLists& lists) { model_->setFarmLists(lists); }

  // Both close an open edit first.
  void reload();
  void linesChanged(int first, int last);
  // Closes an open editor, storing its value; false when none was open or
  // the value was refused.
  bool commitEdit();

  int currentLine() const { return grid_->currentLine(); }
  int currentField() const { return grid_->currentField(); }
  bool setCurrentCell(int line, int field) { return grid_->setCurrentCell(line, field); }

  // Opens the calculator on the current number cell and stores its result;
  // false when the cell takes no number or the calculator was cancelled.
  bool openCalculator();
  // Stores a calculator result into the current number cell: rounded half
  // up to the cell's decimals, held to its range, then as if typed.
  bool takeCalculatorValue(double value);

  sl::CInterMtrx* grid() const { return grid_; }
  SlipGridModel* gridModel() const { return model_; }
  SlipTotalsLine* totalsLine() const { return totals_; }

 Q_SIGNALS:
  void refusal(int messageNumber);
  void goodsNotFound(int line, const QString& code);
  void currentCellChanged(int line, int field);
  void cellCommitted(int line, int field);
  void slipEdited();

 private:
  SlipGridModel* model_;
  sl::CInterMtrx* grid_;
  SlipTotalsLine* totals_;
};

}  // namespace hv6::sales
