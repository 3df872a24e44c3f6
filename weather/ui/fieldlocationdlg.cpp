#include "weather/ui/fieldlocationdlg.h"

#include "weather/ui/fieldicons.h"
#include "weather/ui/latlongdlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSet>
#include <QShortcut>
#include <QTreeWidget>
#include <QStyle>
#include <QVBoxLayout>

#include <optional>

using hv6::FieldLocationEditor;
using hv6::NodeKind;
using hv6::NodeRef;
using hv6::PointEntry;
using hv6::PointValues;

const QString CFieldLocationDlg::kDragFormat = QStringLiteral("application/x-hv6-fieldlocation");

namespace {

const QString kRootText = QStringLiteral("現在、観測している緯度経度");
// The widest node text a point can have, for the trees' width.
const PointValues kWidestPoint{255, 6, 90, 59, 59, 180, 59, 59, 20300101, 20301231};

QString id(int number) { return QString::number(number); }

// The drag data: the source's id, then the node's kind, code and point.
struct DragContent {
  int source = 0;
  NodeRef node;
};

std::optional<DragContent> readDrag(const QMimeData* data) {
  if (data == nullptr || !data->hasFormat(CFieldLocationDlg::kDragFormat)) return std::nullopt;
  const QList<QByteArray> parts = data->data(CFieldLocationDlg::kDragFormat).split(' ');
  if (parts.size() != 4) return std::nullopt;
  DragContent content;
  content.source = parts.at(0).toInt();
  content.node.kind = static_cast<NodeKind>(parts.at(1).toInt());
  content.node.code = parts.at(2).toLong();
  content.node.point = parts.at(3).toLong();
  return content;
}

int dragSource(const QMimeData* data) {
  const std::optional<DragContent> content = readDrag(data);
  return content ? content->source : 0;
}

QTreeWidgetItem* fieldItem(long code, const QString& name) {
  auto* item = new QTreeWidgetItem(QStringList{name});
  item->setData(0, CFieldLocationDlg::kKindRole, int(NodeKind::Field));
  item->setData(0, CFieldLocationDlg::kCodeRole, qlonglong(code));
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
  return item;
}

long codeOf(const QTreeWidgetItem* item) {
  return long(item->data(0, CFieldLocationDlg::kCodeRole).toLongLong());
}

QList<long> childCodes(const QTreeWidgetItem* item) {
  QList<long> codes;
  for (int i = 0; i < item->childCount(); ++i) codes << codeOf(item->child(i));
  return codes;
}

class WaitCursor {
 public:
  void set(bool busy) {
    if (busy == on_) return;
    on_ = busy;
    if (busy)
      QApplication::setOverrideCursor(Qt::WaitCursor);
    else
      QApplication::restoreOverrideCursor();
  }
  ~WaitCursor() { set(false); }

 private:
  bool on_ = false;
};

}  // namespace

// --- the trees and the list, with their drag and drop -------------------------------

class CFieldLocationDlg::Tree : public QTreeWidget {
 public:
  Tree(CFieldLocationDlg* dialog, int controlId, bool dragAndDrop)
      : QTreeWidget(dialog), dialog_(dialog), dragAndDrop_(dragAndDrop) {
    setObjectName(id(controlId));
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setDropIndicatorShown(false);
    if (dragAndDrop) {
      setDragEnabled(true);
      setAcceptDrops(true);
      setDragDropMode(QAbstractItemView::DragDrop);
      setDefaultDropAction(Qt::MoveAction);
    }
  }

 protected:
  QStringList mimeTypes() const override { return {kDragFormat}; }

  // A drag starts on any node but the root.
  void startDrag(Qt::DropActions) override {
    const NodeRef node = dialog_->nodeOf(currentItem());
    if (node.kind != NodeKind::Point && node.kind != NodeKind::Field) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(dragData(kIdCurrentTree, node));
    drag->setDragCursor(hv6::fieldIconPixmap(hv6::kDragCursor), Qt::MoveAction);
    drag->exec(Qt::MoveAction);
  }

  void dragEnterEvent(QDragEnterEvent* event) override {
    if (!dragAndDrop_ || dragSource(event->mimeData()) != kIdFreeList) return event->ignore();
    setState(DraggingState);
    event->acceptProposedAction();
  }

  // The point or field under the pointer is the drop highlight.
  void dragMoveEvent(QDragMoveEvent* event) override {
    QTreeWidget::dragMoveEvent(event);  // scrolls near the edges
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    const NodeKind kind = dialog_->nodeOf(target).kind;
    const bool takes = dragSource(event->mimeData()) == kIdFreeList &&
                       (kind == NodeKind::Point || kind == NodeKind::Field);
    highlight(takes ? target : nullptr);
    if (takes)
      event->acceptProposedAction();
    else
      event->ignore();
  }

  void dragLeaveEvent(QDragLeaveEvent* event) override {
    highlight(nullptr);
    QTreeWidget::dragLeaveEvent(event);
  }

  void dropEvent(QDropEvent* event) override {
    stopAutoScroll();
    setState(NoState);
    highlight(nullptr);
    if (dialog_->dropOnTree(event->mimeData(), itemAt(event->position().toPoint())))
      event->acceptProposedAction();
    else
      event->ignore();
  }

 private:
  void highlight(QTreeWidgetItem* item) {
    if (item == highlighted_) return;
    if (highlighted_ != nullptr) {
      highlighted_->setData(0, Qt::BackgroundRole, QVariant());
      highlighted_->setData(0, Qt::ForegroundRole, QVariant());
    }
    highlighted_ = item;
    if (item != nullptr) {
      item->setBackground(0, palette().highlight());
      item->setForeground(0, palette().highlightedText());
    }
  }

  CFieldLocationDlg* dialog_;
  bool dragAndDrop_;
  QTreeWidgetItem* highlighted_ = nullptr;
};

class CFieldLocationDlg::List : public QListWidget {
 public:
  explicit List(CFieldLocationDlg* dialog) : QListWidget(dialog), dialog_(dialog) {
    setObjectName(id(kIdFreeList));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setDropIndicatorShown(false);
  }

 protected:
  QStringList mimeTypes() const override { return {kDragFormat}; }

  // A drag carries the selected fields.
  void startDrag(Qt::DropActions) override {
    if (selectedItems().isEmpty()) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(dragData(kIdFreeList, {}));
    drag->setDragCursor(hv6::fieldIconPixmap(hv6::kDragCursor), Qt::MoveAction);
    drag->exec(Qt::MoveAction);
  }

  void dragEnterEvent(QDragEnterEvent* event) override {
    if (dragSource(event->mimeData()) != kIdCurrentTree) return event->ignore();
    setState(DraggingState);
    event->acceptProposedAction();
  }

  void dragMoveEvent(QDragMoveEvent* event) override {
    QListWidget::dragMoveEvent(event);
    if (dragSource(event->mimeData()) == kIdCurrentTree)
      event->acceptProposedAction();
    else
      event->ignore();
  }

  void dropEvent(QDropEvent* event) override {
    stopAutoScroll();
    setState(NoState);
    if (dialog_->dropOnList(event->mimeData()))
      event->acceptProposedAction();
    else
      event->ignore();
  }

 private:
  CFieldLocationDlg* dialog_;
};

// --- the dialog -----------------------------------------------------------------------

CFieldLocationDlg::CFieldLocationDlg(CDaoDatabase* diary, CDaoDatabase* weather,
                                     hv6::ObservationSlots& slots, QWidget* parent)
    : QDialog(parent), weather_(weather), editor_(diary, weather, slots) {
  setObjectName(id(kDialogId));
  setWindowTitle(QStringLiteral("ほ場の緯度経度設定"));
  buildControls();
}

CFieldLocationDlg::~CFieldLocationDlg() = default;

void CFieldLocationDlg::buildControls() {
  auto* layout = new QVBoxLayout(this);
  auto* lists = new QGridLayout;
  layout->addLayout(lists, 1);

  current_ = new Tree(this, kIdCurrentTree, true);
  ended_ = new Tree(this, kIdEndedTree, false);
  free_ = new List(this);

  const auto button = [this](int number, const QString& text) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(id(number));
    b->setAutoDefault(false);
    return b;
  };
  modify_ = button(kIdModify, QStringLiteral("修正"));
  modify_->setIcon(hv6::fieldButtonIcon(hv6::kIconModify, hv6::kIconModifyDisabled));
  new_ = button(kIdNew, QStringLiteral("新規"));
  delete_ = button(kIdDelete, QStringLiteral("削除"));
  delete_->setIcon(hv6::fieldButtonIcon(hv6::kIconDelete, hv6::kIconDeleteDisabled));
  add_ = button(kIdAdd, QStringLiteral("追加"));
  add_->setIcon(hv6::fieldButtonIcon(hv6::kIconAdd, hv6::kIconAddDisabled));

  auto* currentLabel = new QLabel(QStringLiteral("緯度経度(&I)"), this);
  currentLabel->setObjectName(id(kIdCurrentLabel));
  currentLabel->setBuddy(current_);
  auto* currentHead = new QHBoxLayout;
  currentHead->addWidget(currentLabel);
  currentHead->addStretch(1);
  currentHead->addWidget(modify_);
  currentHead->addWidget(new_);
  currentHead->addWidget(delete_);
  lists->addLayout(currentHead, 0, 0);
  lists->addWidget(current_, 1, 0);

  auto* freeLabel = new QLabel(QStringLiteral("ほ場(&F)"), this);
  freeLabel->setObjectName(id(kIdFreeLabel));
  freeLabel->setBuddy(free_);
  auto* freeHead = new QHBoxLayout;
  freeHead->addWidget(freeLabel);
  freeHead->addStretch(1);
  freeHead->addWidget(add_);
  lists->addLayout(freeHead, 0, 1);
  lists->addWidget(free_, 1, 1, 3, 1);

  auto* endedLabel = new QLabel(QStringLiteral("過去に観測が終わった緯度経度(&L)"), this);
  endedLabel->setBuddy(ended_);
  lists->addWidget(endedLabel, 2, 0);
  lists->addWidget(ended_, 3, 0);
  lists->setRowStretch(1, 3);
  lists->setRowStretch(3, 2);
  lists->setColumnStretch(0, 3);
  lists->setColumnStretch(1, 1);

  // A point's node fits without scrolling: the text with both dates, two
  // levels of indentation and the frame.
  const int nodeWidth = current_->fontMetrics().horizontalAdvance(hv6::pointNodeText(kWidestPoint));
  current_->setMinimumWidth(nodeWidth + 2 * current_->indentation() + 2 * current_->frameWidth() +
                            current_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 16);
  ended_->setMinimumWidth(current_->minimumWidth());
  current_->setMinimumHeight(current_->fontMetrics().height() * 10);
  free_->setMinimumWidth(free_->fontMetrics().horizontalAdvance(QStringLiteral("ほ場の名前ほ場の名前")) +
                         2 * free_->frameWidth() + 8);

  auto* buttons = new QDialogButtonBox(this);
  const auto addButton = [&](QDialogButtonBox::StandardButton which, int number, const QString& text) {
    QPushButton* b = buttons->addButton(which);
    b->setObjectName(id(number));
    b->setText(text);
    return b;
  };
  addButton(QDialogButtonBox::Ok, kIdOk, QStringLiteral("OK"));
  addButton(QDialogButtonBox::Cancel, kIdCancel, QStringLiteral("キャンセル"));
  QPushButton* help = addButton(QDialogButtonBox::Help, kIdHelp, QStringLiteral("ヘルプ(&H)"));
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &CFieldLocationDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CFieldLocationDlg::reject);
  connect(help, &QPushButton::clicked, this, &CFieldLocationDlg::showHelp);
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(f1, &QShortcut::activated, this, &CFieldLocationDlg::showHelp);
  connect(modify_, &QPushButton::clicked, this, &CFieldLocationDlg::onModify);
  connect(new_, &QPushButton::clicked, this, &CFieldLocationDlg::onNew);
  connect(delete_, &QPushButton::clicked, this, &CFieldLocationDlg::onDelete);
  connect(add_, &QPushButton::clicked, this, &CFieldLocationDlg::onAdd);
  connect(current_, &QTreeWidget::itemSelectionChanged, this, &CFieldLocationDlg::updateButtons);
  connect(free_, &QListWidget::itemSelectionChanged, this, &CFieldLocationDlg::updateButtons);
  updateButtons();
}

bool CFieldLocationDlg::initDialog() {
  WaitCursor wait;
  editor_.setBusyIndicator([&wait](bool busy) { wait.set(busy); });
  const bool started = editor_.start();
  editor_.setBusyIndicator({});
  if (!started) return false;
  root_ = new QTreeWidgetItem(current_, QStringList{kRootText});
  root_->setData(0, kKindRole, int(NodeKind::Root));
  root_->setData(0, kCodeRole, qlonglong(0));
  root_->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  sync(true);
  if (root_->childCount() > 0) root_->setExpanded(true);
  if (QTreeWidgetItem* first = ended_->topLevelItem(0); first && first->childCount() > 0)
    first->setExpanded(true);
  current_->setCurrentItem(root_);
  current_->setFocus();
  updateButtons();
  return true;
}

int CFieldLocationDlg::run() {
  if (!initDialog()) return QDialog::Rejected;
  return exec();
}

void CFieldLocationDlg::accept() {
  if (editor_.commit())
    QDialog::accept();
  else
    QDialog::reject();
}

void CFieldLocationDlg::reject() {
  editor_.rollback();
  QDialog::reject();
}

void CFieldLocationDlg::showHelp() {
  if (help_) help_(FieldLocationEditor::kHelpFieldLocation);
}

// --- nodes ----------------------------------------------------------------------------

NodeRef CFieldLocationDlg::nodeOf(const QTreeWidgetItem* item) const {
  if (item == nullptr || root_ == nullptr || item->treeWidget() != current_ ||
      root_->childCount() == 0)
    return {};
  NodeRef node;
  node.kind = static_cast<NodeKind>(item->data(0, kKindRole).toInt());
  node.code = codeOf(item);
  if (node.kind == NodeKind::Field && item->parent() != nullptr) node.point = codeOf(item->parent());
  return node;
}

QTreeWidgetItem* CFieldLocationDlg::selectedNode() const {
  const QList<QTreeWidgetItem*> selected = current_->selectedItems();
  return selected.isEmpty() ? nullptr : selected.first();
}

QTreeWidgetItem* CFieldLocationDlg::findPoint(long code) const {
  if (root_ == nullptr) return nullptr;
  for (int i = 0; i < root_->childCount(); ++i)
    if (codeOf(root_->child(i)) == code) return root_->child(i);
  return nullptr;
}

QTreeWidgetItem* CFieldLocationDlg::pointItem(const PointEntry& entry) {
  auto* item = new QTreeWidgetItem;
  item->setData(0, kKindRole, int(NodeKind::Point));
  item->setData(0, kCodeRole, qlonglong(entry.values.code));
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
  return item;
}

void CFieldLocationDlg::syncPoint(QTreeWidgetItem* item, const PointEntry& entry) {
  item->setText(0, hv6::pointNodeText(entry.values));
  item->setData(0, kValuesRole, QVariant::fromValue(entry.values));
  if (childCodes(item) == entry.fields) return;
  qDeleteAll(item->takeChildren());
  for (long field : entry.fields) item->addChild(fieldItem(field, editor_.fieldName(field)));
}

void CFieldLocationDlg::sync(bool selectFirstField) {
  // Points observed now, under the root; new ones come last.
  QHash<long, QTreeWidgetItem*> shown;
  for (int i = 0; i < root_->childCount(); ++i) shown.insert(codeOf(root_->child(i)), root_->child(i));
  for (const PointEntry& entry : editor_.currentPoints()) {
    QTreeWidgetItem* item = shown.take(entry.values.code);
    if (item == nullptr) root_->addChild(item = pointItem(entry));
    syncPoint(item, entry);
  }
  qDeleteAll(shown);

  // Ended points, at the top level of their tree.
  shown.clear();
  for (int i = 0; i < ended_->topLevelItemCount(); ++i)
    shown.insert(codeOf(ended_->topLevelItem(i)), ended_->topLevelItem(i));
  for (const PointEntry& entry : editor_.endedPoints()) {
    QTreeWidgetItem* item = shown.take(entry.values.code);
    if (item == nullptr) ended_->addTopLevelItem(item = pointItem(entry));
    syncPoint(item, entry);
  }
  qDeleteAll(shown);

  // The free fields; what was selected stays selected.
  QSet<long> selected;
  for (const QListWidgetItem* item : free_->selectedItems())
    selected.insert(long(item->data(kCodeRole).toLongLong()));
  free_->clear();
  for (long field : editor_.freeFields()) {
    auto* item = new QListWidgetItem(editor_.fieldName(field), free_);
    item->setData(kCodeRole, qlonglong(field));
    item->setSelected(!selectFirstField && selected.contains(field));
  }
  if (selectFirstField && free_->count() > 0) {
    free_->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
  }
  updateButtons();
}

void CFieldLocationDlg::updateButtons() {
  QTreeWidgetItem* selected = selectedNode();
  const bool points = root_ != nullptr && root_->childCount() > 0;
  modify_->setEnabled(nodeOf(selected).kind == NodeKind::Point);
  new_->setEnabled(editor_.inTransaction());
  delete_->setEnabled(selected != nullptr && selected != root_ && points);
  add_->setEnabled(free_->count() > 0 && points);
}

// --- operations -----------------------------------------------------------------------

void CFieldLocationDlg::handle(FieldLocationEditor::Outcome outcome, bool selectFirstField) {
  if (outcome == FieldLocationEditor::Outcome::Closed) {
    QDialog::reject();
    return;
  }
  if (outcome == FieldLocationEditor::Outcome::Done) sync(selectFirstField);
  updateButtons();
}

bool CFieldLocationDlg::runPointDialog(PointValues& values) {
  CLatLongDlg dialog(*weather_, values, this);
  dialog.setHelpHandler(help_);
  if (dialog.exec() != QDialog::Accepted) return false;
  values = dialog.values();
  return true;
}

void CFieldLocationDlg::onModify() {
  QTreeWidgetItem* item = selectedNode();
  if (!editor_.pointToModify(nodeOf(item))) return;
  PointValues values = item->data(0, kValuesRole).value<PointValues>();
  if (!runPointDialog(values)) return;
  handle(editor_.modify(values), values.endDate != 0);
}

void CFieldLocationDlg::onNew() {
  PointValues values;
  if (!runPointDialog(values)) return;
  const long code = editor_.addPoint(values);
  if (!editor_.inTransaction()) return handle(FieldLocationEditor::Outcome::Closed, false);
  if (code == 0) return;
  sync(false);
  root_->setExpanded(true);
  if (QTreeWidgetItem* item = findPoint(code)) {
    current_->setCurrentItem(item);
    current_->scrollToItem(item);
  }
}

void CFieldLocationDlg::onDelete() {
  handle(editor_.remove(nodeOf(selectedNode())), true);
}

void CFieldLocationDlg::onAdd() {
  QTreeWidgetItem* item = selectedNode();
  QList<long> fields;
  for (int row = 0; row < free_->count(); ++row)
    if (free_->item(row)->isSelected()) fields << long(free_->item(row)->data(kCodeRole).toLongLong());
  handle(editor_.add(nodeOf(item), fields), false);
  if (item != nullptr && item->treeWidget() == current_ && nodeOf(item).kind == NodeKind::Point)
    item->setExpanded(true);
  current_->viewport()->update();
}

// --- drag and drop --------------------------------------------------------------------

QMimeData* CFieldLocationDlg::dragData(int sourceId, const NodeRef& node) {
  auto* data = new QMimeData;
  data->setData(kDragFormat, QStringLiteral("%1 %2 %3 %4")
                                 .arg(sourceId)
                                 .arg(int(node.kind))
                                 .arg(node.code)
                                 .arg(node.point)
                                 .toLatin1());
  return data;
}

bool CFieldLocationDlg::dropOnList(const QMimeData* mime) {
  const std::optional<DragContent> content = readDrag(mime);
  if (!content || content->source != kIdCurrentTree) return false;
  const NodeRef& node = content->node;
  QTreeWidgetItem* item = nullptr;
  if (node.kind == NodeKind::Point) {
    item = findPoint(node.code);
  } else if (node.kind == NodeKind::Field) {
    if (QTreeWidgetItem* point = findPoint(node.point))
      for (int i = 0; i < point->childCount() && item == nullptr; ++i)
        if (codeOf(point->child(i)) == node.code) item = point->child(i);
  }
  if (item == nullptr) return false;
  current_->setCurrentItem(item);
  onDelete();
  return true;
}

bool CFieldLocationDlg::dropOnTree(const QMimeData* mime, QTreeWidgetItem* target) {
  if (dragSource(mime) != kIdFreeList) return false;
  NodeRef node = nodeOf(target);
  if (node.kind == NodeKind::Field) target = target->parent();
  else if (node.kind != NodeKind::Point) return false;
  current_->setCurrentItem(target);
  onAdd();
  return true;
}
