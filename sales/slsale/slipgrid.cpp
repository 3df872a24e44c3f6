#include "sales/slsale/slipgrid.h"

#include "outside/sl_dcalc/seldcalc.h"

#include <QPainter>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace hv6::sales {

namespace {

using F = SlipGridModel;

// Column widths in half-width characters: 番号, 区分, 商品ｺｰﾄﾞ, 税区分,
// 入数, 箱数, 単位, 単価, 金額, 簡易課税区分, then 品目 and ほ場. The
// drop-down columns are as wide as their longest name.
const QList<int> kWidths{5, 11, 14, 11, 11, 11, 6, 14, 14, 16};
const QList<int> kFarmWidths{16, 16};

bool isGoodsKind(int kind) { return kind == sl::kLineSale || kind == sl::kLineReturn; }

// A number with thousands separators and exactly `decimals` places.
QString commaText(double value, int decimals) {
  QString digits = QString::number(std::fabs(value), 'f', decimals);
  const qsizetype point = digits.indexOf(QLatin1Char('.'));
  for (qsizetype at = (point < 0 ? digits.size() : point) - 3; at > 0; at -= 3)
    digits.insert(at, QLatin1Char(','));
  const bool negative = value < 0 && digits.contains(QRegularExpression(QStringLiteral("[1-9]")));
  return negative ? QLatin1Char('-') + digits : digits;
}

// A count (入数, 箱数, 数量): up to two decimals, without trailing zeros.
QString countText(double value) {
  QString text = commaText(value, 2);
  if (text.endsWith(QStringLiteral(".00"))) text.chop(3);
  else if (text.contains(QLatin1Char('.')) && text.endsWith(QLatin1Char('0'))) text.chop(1);
  return text;
}

}  // namespace

QString SlipGridModel::caption(Field field) {
  switch (field) {
    case kNumber: return QStringLiteral("番号 ");
    case kKind: return QStringLiteral(" 区分  ");
    case kGoodsCode: return QStringLiteral("    商品ｺｰﾄﾞ   ");
    case kTaxClass: return QStringLiteral("  税区分   ");
    case kIrisu: return QStringLiteral("  入  数   ");
    case kBoxes: return QStringLiteral("  箱  数   ");
    case kUnit: return QStringLiteral("単位 ");
    case kUnitPrice: return QStringLiteral("    単 価     ");
    case kAmount: return QStringLiteral("    金 額     ");
    case kSimpleTax: return QStringLiteral(" 簡易課税区分 ");
    case kName: return QStringLiteral("        商  品  名        ");
    case kQuantity: return QStringLiteral("   数  量       ");
    case kCostPrice: return QStringLiteral("   原 単 価   ");
    case kTax: return QStringLiteral("   (消費税)   ");
    case kGrossProfit: return QStringLiteral("   粗 利 益   ");
    case kCrop: return QStringLiteral("   品 目   ");
    case kField: return QStringLiteral("   ほ 場   ");
    case kGrade: return QStringLiteral("   等 級   ");
    case kStandard: return QStringLiteral("   規 格   ");
  }
  return {};
}

SlipGridModel::SlipGridModel(Window window, QObject* parent)
    : sl::CMtrxModel(parent), window_(window) {
  auto cell = [](Field field, int row, int column, int columnSpan = 1, int rowSpan = 1) {
    return sl::MtrxCellDef{field, row, column, columnSpan, rowSpan, caption(field)};
  };
  // In entry order: what a goods line is typed in, then the rest.
  QList<sl::MtrxCellDef> cells{
      cell(kNumber, 0, 0, 1, 2),   cell(kKind, 0, 1),      cell(kGoodsCode, 0, 2),
      cell(kName, 1, 1, 4),        cell(kTaxClass, 0, 3),  cell(kIrisu, 0, 4),
      cell(kBoxes, 0, 5),          cell(kQuantity, 1, 5, 2), cell(kUnit, 0, 6),
      cell(kUnitPrice, 0, 7),      cell(kAmount, 0, 8),    cell(kCostPrice, 1, 7),
      cell(kTax, 1, 8),            cell(kSimpleTax, 0, 9), cell(kGrossProfit, 1, 9),
  };
  QList<int> widths = kWidths;
  if (window == Sales) {
    cells << cell(kCrop, 0, 10) << cell(kField, 0, 11) << cell(kGrade, 1, 10)
          << cell(kStandard, 1, 11);
    widths << kFarmWidths;
  }
  setLayout(sl::MtrxLayout(2, widths, cells));
}

void SlipGridModel::setSlipModel(SlipModel* slip) {
  slip_ = slip;
  saved_.reset();
  reload();
}

void SlipGridModel::setFarmLists(const FarmLists& lists) {
  farm_ = lists;
  refreshLines(0, shown_ - 1);
}

void SlipGridModel::reload() {
  beginResetModel();
  shown_ = slip_ ? slip_->rowsShown() : 0;
  saved_.reset();
  endResetModel();
  applyCaptions();
}

void SlipGridModel::refreshLines(int first, int last) {
  syncLines();
  linesChanged(std::max(0, first), std::min(last, shown_ - 1));
}

void SlipGridModel::syncLines() {
  const int want = slip_ ? slip_->rowsShown() : 0;
  const int per = layout().rowsPerLine();
  if (want > shown_) {
    beginInsertRows({}, shown_ * per, want * per - 1);
    shown_ = want;
    endInsertRows();
  } else if (want < shown_) {
    beginRemoveRows({}, want * per, shown_ * per - 1);
    shown_ = want;
    endRemoveRows();
  }
}

void SlipGridModel::applyCaptions() {
  const bool hideGross = slip_ && slip_->hideGrossProfit();
  const std::pair<Field, bool> hidden[] = {
      {kIrisu, slip_ && slip_->hideIrisu()},
      {kBoxes, slip_ && slip_->hideBoxes()},
      {kSimpleTax, slip_ && slip_->hideSimpleTax()},
      {kGrossProfit, hideGross},
  };
  for (const auto& [field, hide] : hidden)
    setCaption(field, hide ? blankCaption(caption(field)) : caption(field));
}

const QList<FarmName>* SlipGridModel::farmList(int field) const {
  switch (field) {
    case kCrop: return &farm_.crops;
    case kField: return &farm_.fields;
    case kGrade: return &farm_.grades;
    case kStandard: return &farm_.standards;
    default: return nullptr;
  }
}

bool SlipGridModel::rangeOf(int field, Range& range) const {
  const int priceDecimals = slip_ ? slip_->priceDecimals() : 2;
  switch (field) {
    case kIrisu: range = {0, 99999.99, 2}; return true;
    case kBoxes:
    case kQuantity: range = {-9999999.99, 99999999.99, 2}; return true;
    case kUnitPrice:
    case kCostPrice:
      range = {-9999999.99, 99999999.99, priceDecimals};
      if (priceDecimals == 0) range = {-9999999, 99999999, 0};
      return true;
    case kAmount: range = {-999999999, 9999999999, 0}; return true;
    case kTax: range = {-99999999, 999999999, 0}; return true;
    default: return false;
  }
}

// Which cells a line shows: 入数, 箱数, 単位 and 単価 only on goods lines
// (入数 and 箱数 only while 入数 is nonzero); a memo line only its kind and
// text; an empty line only its kind. Hidden columns show on no line.
bool SlipGridModel::shown(int line, int field) const {
  if (!slip_ || line < 0 || line >= sl::kMaxSlipLines) return false;
  if (field == kNumber || field == kKind) return true;
  const sl::S_SELSLIP& l = slip_->line(line);
  const int kind = l.kind;
  if (kind == sl::kLineEmpty) return false;
  if (field == kName) return true;
  if (kind == sl::kLineMemo) return false;
  switch (field) {
    case kIrisu: return isGoodsKind(kind) && !isZero(l.irisu) && !slip_->hideIrisu();
    case kBoxes: return isGoodsKind(kind) && !isZero(l.irisu) && !slip_->hideBoxes();
    case kUnit:
    case kUnitPrice: return isGoodsKind(kind);
    case kSimpleTax: return !slip_->hideSimpleTax();
    case kGrossProfit: return !slip_->hideGrossProfit();
    case kCrop:
    case kField:
    case kGrade:
    case kStandard: return window_ == Sales && isGoodsKind(kind);
    default: return true;  // goods code, tax class, quantity, cost, amount, tax
  }
}

bool SlipGridModel::entered(int line, int field) const {
  if (!shown(line, field)) return false;
  const int kind = slip_->line(line).kind;
  switch (field) {
    case kNumber:
    case kGrossProfit: return false;
    case kTaxClass:  // forced by the kind
      return kind != sl::kLineAdvance && kind != sl::kLineShipping && kind != sl::kLineTaxAdjust;
    case kQuantity:
    case kCostPrice: return isGoodsKind(kind);
    case kAmount: return kind != sl::kLineTaxAdjust;  // its value is the tax
    default: return true;
  }
}

bool SlipGridModel::isNumberCell(int line, int field) const {
  Range range;
  return rangeOf(field, range) && entered(line, field);
}

Qt::ItemFlags SlipGridModel::cellFlags(int line, int field) const {
  if (!shown(line, field)) return Qt::NoItemFlags;
  return entered(line, field) ? (Qt::ItemIsEnabled | Qt::ItemIsEditable) : Qt::ItemIsEnabled;
}

QString SlipGridModel::displayText(int line, int field) const {
  const sl::S_SELSLIP& l = slip_->line(line);
  const int priceDecimals = slip_->priceDecimals();
  auto nameOf = [](const QStringList& names, int at) {
    return at >= 0 && at < names.size() ? names.at(at) : QString();
  };
  switch (field) {
    case kNumber: return QString::number(line + 1);
    case kKind: return nameOf(lineKindNames(), l.kind - 1);
    case kGoodsCode: return sl::slText(l.goodsCode).trimmed();
    case kTaxClass: return nameOf(taxClassNames(), l.taxClass);
    case kIrisu: return countText(l.irisu);
    case kBoxes: return countText(l.boxes);
    case kQuantity: return countText(l.quantity);
    case kUnit: return sl::slText(l.unit);
    case kUnitPrice: return commaText(l.unitPrice, priceDecimals);
    case kCostPrice: return commaText(l.costPrice, priceDecimals);
    // A 内税 line shows the amount with its tax, as it was typed.
    case kAmount:
      return commaText(l.taxClass == sl::kTaxIncluded ? l.amount + l.tax : l.amount, 0);
    case kTax: return commaText(l.tax, 0);
    case kGrossProfit: return commaText(slip_->lineGrossProfit(line), 0);
    case kSimpleTax: return nameOf(simpleTaxClassNames(), l.simpleTaxClass);
    case kName: return sl::slText(l.goodsName);
    case kCrop:
    case kField:
    case kGrade:
    case kStandard: {
      const qint32 code = field == kCrop    ? l.cropCode
                          : field == kField ? l.fieldCode
                          : field == kGrade ? l.gradeCode
                                            : l.standardCode;
      if (code == 0) return {};
      for (const FarmName& f : *farmList(field))
        if (f.code == code) return f.name;
      return QString::number(code);  // a master row no longer in use
    }
    default: return {};
  }
}

QVariant SlipGridModel::editValue(int line, int field) const {
  const sl::S_SELSLIP& l = slip_->line(line);
  switch (field) {
    case kKind: return static_cast<int>(l.kind);
    case kTaxClass: return static_cast<int>(l.taxClass);
    case kSimpleTax: return static_cast<int>(l.simpleTaxClass);
    case kIrisu: return l.irisu;
    case kBoxes: return l.boxes;
    case kQuantity: return l.quantity;
    case kUnitPrice: return l.unitPrice;
    case kCostPrice: return l.costPrice;
    case kAmount: return l.taxClass == sl::kTaxIncluded ? l.amount + l.tax : l.amount;
    case kTax: return l.tax;
    case kCrop: return l.cropCode;
    case kField: return l.fieldCode;
    case kGrade: return l.gradeCode;
    case kStandard: return l.standardCode;
    default: return displayText(line, field);
  }
}

QVariant SlipGridModel::cellData(int line, int field, int role) const {
  if (!slip_) return {};
  Range range;
  const bool number = rangeOf(field, range) || field == kGrossProfit;
  switch (role) {
    case Qt::DisplayRole: return displayText(line, field);
    case Qt::EditRole: return editValue(line, field);
    case Qt::TextAlignmentRole:
      if (field == kNumber) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
      return QVariant::fromValue(Qt::Alignment(
          (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    case sl::kEditorRole:
      if (field == kNumber || field == kGrossProfit) return static_cast<int>(sl::MtrxEditor::None);
      if (number) return static_cast<int>(sl::MtrxEditor::Number);
      if (field == kKind || field == kTaxClass || field == kSimpleTax || farmList(field))
        return static_cast<int>(sl::MtrxEditor::Choice);
      return static_cast<int>(sl::MtrxEditor::Text);
    case sl::kChoicesRole:
    case sl::kChoiceCodesRole: {
      QStringList names;
      QVariantList codes;
      auto codesFrom = [&codes](int first, qsizetype count) {
        for (int i = 0; i < count; ++i) codes << first + i;
      };
      if (field == kKind) {
        names = lineKindNames();
        codesFrom(1, names.size());
      } else if (field == kTaxClass) {
        names = taxClassNames();
        codesFrom(0, names.size());
      } else if (field == kSimpleTax) {
        names = simpleTaxClassNames();
        codesFrom(0, names.size());
      } else if (const QList<FarmName>* list = farmList(field)) {
        names << QString();  // none
        codes << 0;
        for (const FarmName& f : *list) {
          names << f.name;
          codes << f.code;
        }
      }
      return role == sl::kChoicesRole ? QVariant(names) : QVariant(codes);
    }
    case sl::kChoiceByDigitRole: return field == kKind || field == kTaxClass || field == kSimpleTax;
    case sl::kMinimumRole: return range.minimum;
    case sl::kMaximumRole: return range.maximum;
    case sl::kDecimalsRole: return range.decimals;
    case sl::kLiveRole: return number;
    case sl::kMaxLengthRole:
      switch (field) {
        case kGoodsCode: return 13;
        case kName: return 36;
        case kUnit: return 8;
        default: return 0;
      }
    default: return {};
  }
}

bool SlipGridModel::setNumber(int line, int field, double value) {
  switch (field) {
    case kIrisu: slip_->setIrisu(line, value); return true;
    case kBoxes: slip_->setBoxes(line, value); return true;
    case kQuantity: slip_->setQuantity(line, value); return true;
    case kUnitPrice: slip_->setUnitPrice(line, value); return true;
    case kCostPrice: slip_->setCostPrice(line, value); return true;
    case kAmount: slip_->setAmount(line, value); return true;
    case kTax: slip_->setTax(line, value); return true;
    default: return false;
  }
}

bool SlipGridModel::setCellData(int line, int field, const QVariant& value) {
  if (!slip_) return false;
  bool stored = true;
  switch (field) {
    case kKind:
      if (const int refused = slip_->setKind(line, static_cast<std::uint8_t>(value.toInt()))) {
        Q_EMIT refusal(refused);
        return false;
      }
      break;
    case kTaxClass:
      stored = slip_->setTaxClass(line, static_cast<std::uint8_t>(value.toInt()));
      break;
    case kSimpleTax:
      slip_->setSimpleTaxClass(line, static_cast<std::uint8_t>(value.toInt()));
      break;
    case kGoodsCode: {
      const QString code = value.toString().trimmed();
      if (code.isEmpty()) {
        sl::slSetText(slip_->editLine(line).goodsCode, QString());
      } else if (lookup_) {
        sl::S_COMMODITY goods;
        if (!lookup_(code, goods)) {
          Q_EMIT goodsNotFound(line, code);
          return false;
        }
        slip_->setGoods(line, goods);
      } else {
        sl::slSetText(slip_->editLine(line).goodsCode, code);
      }
      slip_->recomputeTotals();
      break;
    }
    case kName: slip_->setName(line, value.toString()); break;
    case kUnit: slip_->setUnit(line, value.toString()); break;
    case kCrop: slip_->editLine(line).cropCode = value.toInt(); break;
    case kField: slip_->editLine(line).fieldCode = value.toInt(); break;
    case kGrade: slip_->editLine(line).gradeCode = value.toInt(); break;
    case kStandard: slip_->editLine(line).standardCode = value.toInt(); break;
    default: stored = setNumber(line, field, value.toDouble()); break;
  }
  if (!stored) return false;
  // A goods line's change reaches its discount line below.
  refreshLines(line, line + 1);
  Q_EMIT slipEdited();
  return true;
}

void SlipGridModel::editStarted(int line, int /*field*/) {
  if (!slip_) return;
  // An edit changes its line and the discount line below it.
  saved_ = SavedLines{line, slip_->line(line), slip_->line(line + 1)};
}

void SlipGridModel::editCancelled(int line, int /*field*/) {
  if (!slip_ || !saved_ || saved_->line != line) return;
  slip_->editLine(line) = saved_->lines[0];
  if (line + 1 < sl::kMaxSlipLines) slip_->editLine(line + 1) = saved_->lines[1];
  saved_.reset();
  slip_->recomputeTotals();
  refreshLines(line, line + 1);
  Q_EMIT slipEdited();
}

// ---- totals line ----

SlipTotalsLine::SlipTotalsLine(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("totals"));
  Initial(sl::MTRX_INIT{font(), sl::MTRX_COLOR{}, nullptr, 0, 0});
}

void SlipTotalsLine::Initial(const sl::MTRX_INIT& init) {
  init_ = init;
  setFont(init.font);
  lineHeight_ = std::max(init.cellHeight, QFontMetrics(init.font).height()) + 8;
  setFixedHeight(lineHeight_);
  update();
}

void SlipTotalsLine::setSlipModel(const SlipModel* slip) {
  slip_ = slip;
  refresh();
}

void SlipTotalsLine::refresh() {
  cells_ = slip_ ? slip_->totalsLine() : QList<TotalsCell>{};
  slots_ = slip_ ? slip_->totalsSlots() : 10;
  update();
}

QSize SlipTotalsLine::sizeHint() const {
  const QFontMetrics fm(font());
  return {slots_ * fm.horizontalAdvance(QStringLiteral("99,999,999,999")), lineHeight_};
}

QSize SlipTotalsLine::minimumSizeHint() const { return {0, lineHeight_}; }

void SlipTotalsLine::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), init_.colors.background);
  const int n = std::max(1, slots_);
  for (int i = 0; i < cells_.size() && 2 * i + 1 < n; ++i) {
    const int x0 = width() * (2 * i) / n;
    const int x1 = width() * (2 * i + 1) / n;
    const int x2 = width() * (2 * i + 2) / n;
    const QRect captionRect(x0, 0, x1 - x0, height());
    const QRect valueRect(x1, 0, x2 - x1, height());
    painter.fillRect(captionRect, init_.colors.captionBackground);
    painter.setPen(init_.colors.grid);
    painter.drawRect(captionRect.adjusted(0, 0, -1, -1));
    painter.drawRect(valueRect.adjusted(0, 0, -1, -1));
    painter.setPen(init_.colors.caption);
    painter.drawText(captionRect, Qt::AlignCenter, cells_.at(i).caption);
    painter.setPen(init_.colors.text);
    painter.drawText(valueRect.adjusted(4, 0, -6, 0), Qt::AlignRight | Qt::AlignVCenter,
                     cells_.at(i).text);
  }
}

// ---- the widget ----

SlipGrid::SlipGrid(SlipGridModel::Window window, QWidget* parent)
    : QWidget(parent),
      model_(new SlipGridModel(window, this)),
      grid_(new sl::CInterMtrx(this)),
      totals_(new SlipTotalsLine(this)) {
  setObjectName(QStringLiteral("slipGrid"));
  grid_->setObjectName(QStringLiteral("grid"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(grid_, 1);
  layout->addWidget(totals_);
  grid_->setMtrxModel(model_);
  setFocusProxy(grid_);
  connect(model_, &SlipGridModel::refusal, this, &SlipGrid::refusal);
  connect(model_, &SlipGridModel::goodsNotFound, this, &SlipGrid::goodsNotFound);
  connect(model_, &SlipGridModel::slipEdited, totals_, &SlipTotalsLine::refresh);
  connect(model_, &SlipGridModel::slipEdited, this, &SlipGrid::slipEdited);
  connect(grid_, &sl::CInterMtrx::currentCellChanged, this, &SlipGrid::currentCellChanged);
  connect(grid_, &sl::CInterMtrx::cellCommitted, this, &SlipGrid::cellCommitted);
}

void SlipGrid::Initial(const sl::MTRX_INIT& init) {
  grid_->Initial(init);
  totals_->Initial(init);
}

void SlipGrid::setSlipModel(SlipModel* slip) {
  model_->setSlipModel(slip);
  totals_->setSlipModel(slip);
}

bool SlipGrid::commitEdit() { return grid_->commitEdit(); }

void SlipGrid::reload() {
  grid_->commitEdit();
  const int line = grid_->currentLine();
  const int field = grid_->currentField();
  model_->reload();
  totals_->refresh();
  if (line < 0 || !grid_->setCurrentCell(std::min(line, model_->lineCount() - 1), field))
    grid_->setCurrentCell(0, SlipGridModel::kKind);
}

void SlipGrid::linesChanged(int first, int last) {
  grid_->commitEdit();
  model_->refreshLines(first, last);
  totals_->refresh();
}

bool SlipGrid::takeCalculatorValue(double value) {
  const int line = grid_->currentLine();
  const int field = grid_->currentField();
  SlipGridModel::Range range;
  if (!model_->slipModel() || !model_->isNumberCell(line, field) || !model_->rangeOf(field, range))
    return false;
  if (grid_->isEditing()) grid_->commitEdit();
  // d - 1 decimals are kept: d = 3 for two decimals, d = 1 for whole yen.
  double v = roundValue(value, sl::kRoundHalfUp, range.decimals + 1);
  v = std::clamp(v, range.minimum, range.maximum);
  return grid_->model()->setData(grid_->currentIndex(), v, Qt::EditRole);
}

bool SlipGrid::openCalculator() {
  const int line = grid_->currentLine();
  const int field = grid_->currentField();
  if (!model_->slipModel() || !model_->isNumberCell(line, field)) return false;
  if (grid_->isEditing()) grid_->commitEdit();
  const double start = model_->cellIndex(line, field).data(Qt::EditRole).toDouble();
  double result = 0;
  if (!sl::CSelCalcDlg::CalcDisp(window(), start, result)) return false;
  return takeCalculatorValue(result);
}

}  // namespace hv6::sales
