#include "outside/sl_wlib/intermtrx.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace sl {

namespace {

// Set on an editor the grid has closed (it is deleted later).
constexpr const char* kClosedProperty = "mtrxClosed";
// Set on an editor that stores every keystroke.
constexpr const char* kLiveProperty = "mtrxLive";
// Set once a live editor has its first value.
constexpr const char* kFilledProperty = "mtrxFilled";
// The value an editor was opened with, and a mark that a live editor stored
// values while typing.
constexpr const char* kInitialProperty = "mtrxInitial";
constexpr const char* kTypedProperty = "mtrxTyped";

bool isFunctionKey(int key) { return key >= Qt::Key_F1 && key <= Qt::Key_F35; }

MtrxEditor editorOf(const QModelIndex& index) {
  return static_cast<MtrxEditor>(index.data(kEditorRole).toInt());
}

// A number as the editor shows it: its decimals without trailing zeros.
QString numberText(double value, int decimals) {
  QString text = QString::number(value, 'f', std::clamp(decimals, 0, 9));
  if (text.contains(QLatin1Char('.'))) {
    while (text.endsWith(QLatin1Char('0'))) text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
  }
  if (text == QStringLiteral("-0")) text = QStringLiteral("0");
  return text;
}

}  // namespace

// ---- number validator ----

CMtrxNumberValidator::CMtrxNumberValidator(double minimum, double maximum, int decimals,
                                           QObject* parent)
    : QValidator(parent), minimum_(minimum), maximum_(maximum), decimals_(std::max(0, decimals)) {}

QValidator::State CMtrxNumberValidator::validate(QString& input, int& /*pos*/) const {
  // Digits, minus and point typed in full width count as their half-width
  // forms.
  for (QChar& c : input) {
    const char16_t u = c.unicode();
    if (u >= u'０' && u <= u'９') c = QChar(u'0' + (u - u'０'));
    else if (u == u'．') c = QLatin1Char('.');
    else if (u == u'－' || u == u'ー' || u == u'−') c = QLatin1Char('-');
  }
  if (input.isEmpty()) return Intermediate;
  QStringView digits(input);
  const bool negative = digits.startsWith(QLatin1Char('-'));
  if (negative) {
    if (minimum_ >= 0) return Invalid;
    digits = digits.mid(1);
    if (digits.isEmpty()) return Intermediate;
  }
  int point = -1;
  int count = 0;
  for (qsizetype i = 0; i < digits.size(); ++i) {
    const QChar c = digits.at(i);
    if (c == QLatin1Char('.')) {
      if (point >= 0 || decimals_ == 0) return Invalid;
      point = static_cast<int>(i);
    } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
      ++count;
      if (point >= 0 && i - point > decimals_) return Invalid;
    } else {
      return Invalid;
    }
  }
  if (count == 0) return Intermediate;  // "." or "-."
  bool ok = false;
  const double magnitude = digits.toString().toDouble(&ok);
  if (!ok) return Invalid;
  const double value = negative ? -magnitude : magnitude;
  // Typed values differ by at least one unit of the last decimal.
  const double slack = 0.1 * std::pow(10.0, -decimals_);
  if (value > maximum_ + slack || value < minimum_ - slack) return Invalid;
  return digits.endsWith(QLatin1Char('.')) ? Intermediate : Acceptable;
}

// ---- drop-down ----

CMtrxComboBox::CMtrxComboBox(QWidget* parent) : QComboBox(parent) {
  connect(this, &QComboBox::activated, this, [this] {
    if (!fromPopup_) return;
    fromPopup_ = false;
    Q_EMIT chosen();
  });
}

void CMtrxComboBox::setChoices(const QStringList& names, const QVariantList& codes, bool byDigit) {
  clear();
  for (int i = 0; i < names.size(); ++i)
    addItem(names.at(i), i < codes.size() ? codes.at(i) : QVariant(i));
  byDigit_ = byDigit;
}

int CMtrxComboBox::code() const { return currentData().toInt(); }

void CMtrxComboBox::setCode(int code) {
  const int at = findData(code);
  setCurrentIndex(at);
}

void CMtrxComboBox::showPopup() {
  fromPopup_ = true;
  QComboBox::showPopup();
}

void CMtrxComboBox::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (isFunctionKey(key)) {  // the window's commands
    event->ignore();
    return;
  }
  const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if (byDigit_ && plain && key >= Qt::Key_0 && key <= Qt::Key_9) {
    const int at = findData(key - Qt::Key_0);
    if (at >= 0) {
      setCurrentIndex(at);
      Q_EMIT chosen();
    }
    event->accept();
    return;
  }
  fromPopup_ = false;  // arrows in the closed list only change the item
  QComboBox::keyPressEvent(event);
}

// ---- delegate ----

CMtrxDelegate::CMtrxDelegate(CInterMtrx* grid) : QStyledItemDelegate(grid), grid_(grid) {}

QWidget* CMtrxDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& /*option*/,
                                     const QModelIndex& index) const {
  switch (editorOf(index)) {
    case MtrxEditor::Choice: {
      auto* combo = new CMtrxComboBox(parent);
      combo->setChoices(index.data(kChoicesRole).toStringList(),
                        index.data(kChoiceCodesRole).toList(),
                        index.data(kChoiceByDigitRole).toBool());
      combo->setMaxVisibleItems(12);
      connect(combo, &CMtrxComboBox::chosen, grid_,
              [grid = grid_, combo] { grid->editorMove(combo, +1); });
      return combo;
    }
    case MtrxEditor::Number: {
      auto* edit = new QLineEdit(parent);
      edit->setFrame(false);
      edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      edit->setValidator(new CMtrxNumberValidator(index.data(kMinimumRole).toDouble(),
                                                  index.data(kMaximumRole).toDouble(),
                                                  index.data(kDecimalsRole).toInt(), edit));
      if (index.data(kLiveRole).toBool()) {
        edit->setProperty(kLiveProperty, true);
        const QPersistentModelIndex at(index);
        connect(edit, &QLineEdit::textEdited, grid_, [this, edit, at] {
          if (at.isValid() && !edit->property(kClosedProperty).toBool())
            store(edit, at, kLiveRole);
        });
      }
      return edit;
    }
    case MtrxEditor::Text: {
      auto* edit = new QLineEdit(parent);
      edit->setFrame(false);
      const int length = index.data(kMaxLengthRole).toInt();
      if (length > 0) edit->setMaxLength(length);
      return edit;
    }
    case MtrxEditor::None:
      break;
  }
  return nullptr;
}

void CMtrxDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  const QVariant value = index.data(Qt::EditRole);
  if (auto* combo = qobject_cast<CMtrxComboBox*>(editor)) {
    combo->setCode(value.toInt());
    combo->setProperty(kInitialProperty, combo->code());
    return;
  }
  auto* edit = qobject_cast<QLineEdit*>(editor);
  if (!edit) return;
  // A live editor's text is what the user types: the values it stored on
  // the way (with their signs and roundings) do not come back into it.
  if (edit->property(kLiveProperty).toBool()) {
    if (edit->property(kFilledProperty).toBool()) return;
    edit->setProperty(kFilledProperty, true);
  }
  if (editorOf(index) == MtrxEditor::Number)
    edit->setText(numberText(value.toDouble(), index.data(kDecimalsRole).toInt()));
  else
    edit->setText(value.toString());
  edit->setProperty(kInitialProperty, edit->text());
}

bool CMtrxDelegate::store(QWidget* editor, const QModelIndex& index, int role) const {
  QAbstractItemModel* model = grid_->model();
  if (!model || !index.isValid()) return false;
  // An editor left as it was opened stores nothing: storing the same value
  // again could recompute what depends on it (an amount typed over the
  // product of quantity and price).
  if (auto* combo = qobject_cast<CMtrxComboBox*>(editor)) {
    if (combo->currentIndex() < 0) return true;  // nothing chosen
    if (combo->property(kInitialProperty) == QVariant(combo->code())) return true;
    return model->setData(index, combo->code(), Qt::EditRole);
  }
  auto* edit = qobject_cast<QLineEdit*>(editor);
  if (!edit) return false;
  if (role == Qt::EditRole && edit->property(kInitialProperty).toString() == edit->text() &&
      !edit->property(kTypedProperty).toBool())
    return true;
  if (role == kLiveRole) edit->setProperty(kTypedProperty, true);
  if (editorOf(index) == MtrxEditor::Number) {
    bool ok = false;
    double value = edit->text().toDouble(&ok);
    if (!ok) value = 0;  // empty, "-" or "."
    return model->setData(index, value, role);
  }
  return model->setData(index, edit->text(), role);
}

void CMtrxDelegate::setModelData(QWidget* editor, QAbstractItemModel* /*model*/,
                                 const QModelIndex& index) const {
  store(editor, index);
}

bool CMtrxDelegate::eventFilter(QObject* object, QEvent* event) {
  auto* editor = qobject_cast<QWidget*>(object);
  // An editor the grid closed already: its value was stored or dropped.
  if (editor && editor->property(kClosedProperty).toBool()) return false;
  if (editor && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
      case Qt::Key_Tab:
      case Qt::Key_Enter:
      case Qt::Key_Return:
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) break;
        grid_->editorMove(editor, (key->modifiers() & Qt::ShiftModifier) ? -1 : +1);
        return true;
      case Qt::Key_Backtab:
        grid_->editorMove(editor, -1);
        return true;
      case Qt::Key_Escape:
        grid_->editorCancel(editor);
        return true;
      default:
        if (isFunctionKey(key->key())) return false;  // left to the window
        break;
    }
  }
  return QStyledItemDelegate::eventFilter(object, event);
}

void CMtrxDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  const Qt::ItemFlags flags = index.flags();
  if (!(flags & Qt::ItemIsEnabled)) {
    option->text.clear();
  } else if (!(flags & Qt::ItemIsEditable)) {
    option->palette.setColor(QPalette::Text, grid_->disabledTextColor());
  }
}

void CMtrxDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
  QStyledItemDelegate::paint(painter, option, index);
  // Cell borders; a stronger one under the last row of a line.
  painter->save();
  const QRect r = option.rect;
  painter->setPen(QPen(grid_->gridColor(), 1));
  painter->drawLine(r.topRight(), r.bottomRight());
  bool lineEnd = false;
  if (const CMtrxModel* model = grid_->mtrxModel()) {
    const int per = model->layout().rowsPerLine();
    const int span = std::max(1, grid_->rowSpan(index.row(), index.column()));
    lineEnd = (index.row() + span) % per == 0;
  }
  if (lineEnd) painter->setPen(QPen(grid_->gridColor().darker(140), 2));
  painter->drawLine(r.bottomLeft(), r.bottomRight());
  painter->restore();
}

void CMtrxDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                         const QModelIndex& /*index*/) const {
  editor->setGeometry(option.rect.adjusted(0, 0, -1, -2));
}

// ---- caption rows ----

CMtrxHeader::CMtrxHeader(CInterMtrx* grid) : QHeaderView(Qt::Horizontal, grid), grid_(grid) {
  setSectionResizeMode(QHeaderView::Fixed);
  setSectionsClickable(false);
  setHighlightSections(false);
}

QSize CMtrxHeader::sizeHint() const {
  const int rows = grid_->mtrxModel() ? grid_->mtrxModel()->layout().rowsPerLine() : 1;
  return {QHeaderView::sizeHint().width(), rows * grid_->rowHeight() + 1};
}

void CMtrxHeader::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), grid_->captionBackground());
  const CMtrxModel* model = grid_->mtrxModel();
  if (!model) return;
  const MtrxLayout& layout = model->layout();
  const int h = grid_->rowHeight();
  painter.setFont(grid_->font());
  for (const MtrxCellDef& c : layout.cells()) {
    if (c.column >= count()) continue;
    const int x = sectionViewportPosition(c.column);
    int w = 0;
    for (int col = c.column; col < std::min(count(), c.column + c.columnSpan); ++col)
      w += sectionSize(col);
    const QRect r(x, c.row * h, w, c.rowSpan * h);
    painter.setPen(grid_->gridColor());
    painter.drawRect(r.adjusted(0, 0, -1, -1));
    painter.setPen(grid_->captionColor());
    // The captions' blanks centre them in a fixed-pitch cell; here they are
    // centred by their drawn width.
    painter.drawText(r, Qt::AlignCenter, c.caption.trimmed());
  }
}

// ---- grid ----

CInterMtrx::CInterMtrx(QWidget* parent) : QTableView(parent) {
  header_ = new CMtrxHeader(this);
  setHorizontalHeader(header_);
  delegate_ = new CMtrxDelegate(this);
  setItemDelegate(delegate_);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  setShowGrid(false);
  setWordWrap(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                  QAbstractItemView::SelectedClicked);
  setTabKeyNavigation(false);
  setCornerButtonEnabled(false);
  setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  Initial(MTRX_INIT{font(), MTRX_COLOR{}, nullptr, 0, 0});
}

CInterMtrx::~CInterMtrx() {
  // An editor still open is dropped with the grid.
  if (QWidget* editor = indexWidget(currentIndex())) editor->setProperty(kClosedProperty, true);
}

void CInterMtrx::Initial(const MTRX_INIT& init) {
  init_ = init;
  setFont(init.font);
  const QFontMetrics fm(init.font);
  // A full-width character takes two half-width cells.
  charWidth_ = init.cellWidth > 0
                   ? init.cellWidth
                   : std::max(fm.horizontalAdvance(QLatin1Char('0')),
                              (fm.horizontalAdvance(QChar(0x6f22)) + 1) / 2);
  rowHeight_ = std::max(init.cellHeight, fm.height()) + 6;
  QPalette pal = palette();
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    pal.setColor(group, QPalette::Base, init.colors.background);
    pal.setColor(group, QPalette::Text, init.colors.text);
    pal.setColor(group, QPalette::Highlight, init.colors.cursorBackground);
    pal.setColor(group, QPalette::HighlightedText, init.colors.cursor);
  }
  pal.setColor(QPalette::Disabled, QPalette::Text, init.colors.disabledText);
  setPalette(pal);
  applySizes();
}

void CInterMtrx::setMtrxModel(CMtrxModel* model) {
  if (model_) disconnect(model_, nullptr, this, nullptr);
  model_ = model;
  setModel(model);
  if (model) {
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
      applySpans();
      applySizes();
    });
    connect(model, &QAbstractItemModel::rowsInserted, this, [this] { applySpans(); });
    connect(model, &QAbstractItemModel::rowsRemoved, this, [this] { applySpans(); });
    connect(model, &CMtrxModel::captionsChanged, header_, [this] {
      header_->viewport()->update();
    });
    connect(model, &CMtrxModel::cellCommitted, this, &CInterMtrx::cellCommitted);
  }
  applySpans();
  applySizes();
}

void CInterMtrx::applySpans() {
  clearSpans();
  if (!model_) return;
  const MtrxLayout& layout = model_->layout();
  const int per = layout.rowsPerLine();
  for (int line = 0; line < model_->lineCount(); ++line)
    for (const MtrxCellDef& c : layout.cells())
      if (c.rowSpan > 1 || c.columnSpan > 1)
        setSpan(line * per + c.row, c.column, c.rowSpan, c.columnSpan);
}

void CInterMtrx::applySizes() {
  verticalHeader()->setDefaultSectionSize(rowHeight_);
  verticalHeader()->setMinimumSectionSize(rowHeight_);
  if (!model_) return;
  const MtrxLayout& layout = model_->layout();
  const QFontMetrics fm(font());
  for (int col = 0; col < layout.columnCount(); ++col) {
    int width = layout.columnWidth(col) * charWidth_ + 6;
    for (const MtrxCellDef& c : layout.cells())
      if (c.column == col && c.columnSpan == 1)
        width = std::max(width, fm.horizontalAdvance(c.caption.trimmed()) + 12);
    setColumnWidth(col, width);
  }
  header_->setFixedHeight(header_->sizeHint().height());
  updateGeometries();
}

int CInterMtrx::currentLine() const { return model_ ? model_->lineOf(currentIndex()) : -1; }

int CInterMtrx::currentField() const { return model_ ? model_->fieldOf(currentIndex()) : -1; }

bool CInterMtrx::setCurrentCell(int line, int field) {
  if (!model_) return false;
  const QModelIndex index = model_->cellIndex(line, field);
  if (!index.isValid()) return false;
  if (isEditing()) commitEdit();
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  scrollTo(index);
  return true;
}

bool CInterMtrx::isEditing() const { return state() == QAbstractItemView::EditingState; }

bool CInterMtrx::commitEdit() {
  if (!isEditing()) return false;
  QWidget* editor = indexWidget(currentIndex());
  if (!editor) return false;
  const bool stored = delegate_->store(editor, currentIndex());
  closeEditorQuietly(editor);
  return stored;
}

void CInterMtrx::editorMove(QWidget* editor, int direction) {
  const QModelIndex index = currentIndex();
  if (indexWidget(index) != editor) return;  // already closed
  const bool stored = delegate_->store(editor, index);
  closeEditorQuietly(editor);
  setFocus();
  // A refused value keeps the cursor where it is.
  if (stored) step(direction);
}

void CInterMtrx::editorCancel(QWidget* editor) {
  const QModelIndex index = currentIndex();
  if (indexWidget(index) != editor) return;
  closeEditorQuietly(editor);
  if (model_ && editor->property(kLiveProperty).toBool())
    model_->editCancelled(model_->lineOf(index), model_->fieldOf(index));
  setFocus();
}

void CInterMtrx::closeEditorQuietly(QWidget* editor) {
  editor->setProperty(kClosedProperty, true);
  closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool CInterMtrx::moveNext() {
  if (isEditing()) {
    if (QWidget* editor = indexWidget(currentIndex())) {
      const QModelIndex index = currentIndex();
      const bool stored = delegate_->store(editor, index);
      closeEditorQuietly(editor);
      if (!stored) return false;
    }
  }
  return step(+1);
}

bool CInterMtrx::movePrevious() {
  if (isEditing()) commitEdit();
  return step(-1);
}

bool CInterMtrx::step(int direction) {
  if (!model_) return false;
  const QList<MtrxCellDef>& cells = model_->layout().cells();
  const int n = static_cast<int>(cells.size());
  const int lines = model_->lineCount();
  if (n == 0 || lines == 0) return false;
  int line = currentLine();
  int at = model_->layout().entryIndex(currentField());
  if (line < 0 || at < 0) {  // no cursor: from before the first cell
    line = direction > 0 ? 0 : lines - 1;
    at = direction > 0 ? -1 : n;
  }
  for (int tries = 0; tries <= lines * n; ++tries) {
    at += direction;
    if (at >= n) {
      at = 0;
      if (++line >= lines) return false;
    } else if (at < 0) {
      at = n - 1;
      if (--line < 0) return false;
    }
    const QModelIndex index = model_->cellIndex(line, cells.at(at).field);
    if (index.isValid() && (index.flags() & Qt::ItemIsEditable)) {
      selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
      scrollTo(index);
      return true;
    }
  }
  return false;
}

bool CInterMtrx::forwardToEditor(QKeyEvent* event) {
  // A key sent to the grid itself while a cell is edited belongs to the
  // editor; a key the editor left alone comes back here and is not sent
  // again.
  if (forwarding_ || !isEditing()) return false;
  QWidget* editor = indexWidget(currentIndex());
  if (!editor) return false;
  forwarding_ = true;
  QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text(),
                 event->isAutoRepeat(), static_cast<quint16>(event->count()));
  QCoreApplication::sendEvent(editor->focusProxy() ? editor->focusProxy() : editor, &copy);
  forwarding_ = false;
  event->setAccepted(copy.isAccepted());
  return true;
}

bool CInterMtrx::event(QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (!isFunctionKey(key->key()) && forwardToEditor(key)) return true;
    const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (plain && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
      const bool back = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
      // Past the last (before the first) enterable cell Tab leaves the grid.
      if (!step(back ? -1 : +1)) QWidget::focusNextPrevChild(!back);
      return true;
    }
  }
  return QTableView::event(event);
}

void CInterMtrx::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (isFunctionKey(key) || key == Qt::Key_Escape) {  // the window's
    event->ignore();
    return;
  }
  if (forwardToEditor(event)) return;
  if ((key == Qt::Key_Enter || key == Qt::Key_Return) &&
      !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    step((event->modifiers() & Qt::ShiftModifier) ? -1 : +1);
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
  // A key that opened an editor went into it: it is not the window's.
  if (isEditing()) event->accept();
}

QModelIndex CInterMtrx::cellAt(int row, int column) const {
  if (!model_ || row < 0 || row >= model_->rowCount() || column < 0 ||
      column >= model_->columnCount())
    return {};
  const MtrxLayout& layout = model_->layout();
  const int per = layout.rowsPerLine();
  const int sub = row % per;
  for (const MtrxCellDef& c : layout.cells())
    if (sub >= c.row && sub < c.row + c.rowSpan && column >= c.column &&
        column < c.column + c.columnSpan)
      return model_->index(row - sub + c.row, c.column);
  return {};
}

QModelIndex CInterMtrx::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  const QModelIndex current = currentIndex();
  if (!model_ || !current.isValid()) return QTableView::moveCursor(action, modifiers);
  const int per = model_->layout().rowsPerLine();
  const MtrxCellDef* cell = model_->layout().cell(model_->fieldOf(current));
  const int rowSpan = cell ? cell->rowSpan : 1;
  const int columnSpan = cell ? cell->columnSpan : 1;
  int row = current.row();
  int column = current.column();
  int dr = 0;
  int dc = 0;
  switch (action) {
    case MoveUp: dr = -1; break;
    case MoveDown: dr = 1; row += rowSpan - 1; break;
    case MoveLeft: dc = -1; break;
    case MoveRight: dc = 1; column += columnSpan - 1; break;
    default: return QTableView::moveCursor(action, modifiers);
  }
  // The next cell that way that is shown on its line, over spans.
  const int limit = model_->rowCount() + model_->columnCount() + per;
  for (int i = 0; i < limit; ++i) {
    row += dr;
    column += dc;
    const QModelIndex next = cellAt(row, column);
    if (row < 0 || row >= model_->rowCount() || column < 0 || column >= model_->columnCount())
      break;
    if (next.isValid() && next != current && (next.flags() & Qt::ItemIsEnabled)) return next;
  }
  return current;
}

bool CInterMtrx::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  // The model learns of the edit before the first key reaches the editor.
  if (model_ && index.isValid() && !isEditing() && (index.flags() & Qt::ItemIsEditable) &&
      (editTriggers() & trigger))
    model_->editStarted(model_->lineOf(index), model_->fieldOf(index));
  return QTableView::edit(index, trigger, event);
}

void CInterMtrx::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (model_ && current.isValid())
    Q_EMIT currentCellChanged(model_->lineOf(current), model_->fieldOf(current));
}

}  // namespace sl
