#include "outside/picview6/ui/vieweralbum.h"

#include "outside/picview6/eftdib.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QListView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <limits>

namespace picview6 {
namespace {

constexpr int kCellWidth = CViewerAlbum::kThumbnailSide + 24;
constexpr int kTitleLines = 2;
// Thumbnails kept in memory, in kilobytes: some 600 of them.
constexpr int kMemoryBudgetKb = 64 * 1024;

int costOf(const QImage& image) { return std::max<int>(1, int(image.sizeInBytes() / 1024)); }

// Paints a cell: the thumbnail centred in its square (a quiet box while it is
// being made), the title under it.
class AlbumDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
    return QSize(kCellWidth, CViewerAlbum::kThumbnailSide + 12 +
                                 option.fontMetrics.height() * kTitleLines + 6);
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    painter->save();
    const QRect cell = option.rect.adjusted(3, 3, -3, -3);
    const bool selected = option.state & QStyle::State_Selected;
    if (selected) painter->fillRect(cell, option.palette.highlight().color().lighter(160));
    const int side = CViewerAlbum::kThumbnailSide;
    const QRect square(cell.left() + (cell.width() - side) / 2, cell.top() + 4, side, side);
    const QImage image = index.data(AlbumModel::ThumbnailRole).value<QImage>();
    if (image.isNull()) {
      painter->fillRect(square.adjusted(8, 20, -8, -20), QColor(0xe8, 0xe8, 0xe8));
    } else {
      const QSize size = image.size().scaled(square.size(), Qt::KeepAspectRatio).boundedTo(image.size());
      const QRect place(square.left() + (side - size.width()) / 2,
                        square.top() + (side - size.height()) / 2, size.width(), size.height());
      painter->drawImage(place, image);
      painter->setPen(QColor(0xc8, 0xc8, 0xc8));
      painter->drawRect(place.adjusted(0, 0, -1, -1));
    }
    const QRect textArea(cell.left() + 2, square.bottom() + 6, cell.width() - 4,
                         option.fontMetrics.height() * kTitleLines);
    painter->setPen(selected ? option.palette.highlightedText().color().darker(300)
                             : option.palette.text().color());
    const QString title = index.data(Qt::DisplayRole).toString();
    const QString shown = option.fontMetrics.elidedText(
        title, Qt::ElideRight, textArea.width() * kTitleLines - option.fontMetrics.averageCharWidth());
    painter->drawText(textArea, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWrapAnywhere, shown);
    if (option.state & QStyle::State_HasFocus) {
      painter->setPen(QPen(option.palette.highlight().color(), 1, Qt::DotLine));
      painter->drawRect(cell.adjusted(0, 0, -1, -1));
    }
    painter->restore();
  }
};

}  // namespace

AlbumModel::AlbumModel(std::shared_ptr<const ThumbnailCache> cache, QObject* parent)
    : QAbstractListModel(parent), cache_(std::move(cache)), thumbnails_(kMemoryBudgetKb) {
  pool_.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
}

AlbumModel::~AlbumModel() {
  pool_.clear();
  pool_.waitForDone();
}

int AlbumModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(items_.size());
}

QVariant AlbumModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= items_.size()) return QVariant();
  const Item& item = items_.at(index.row());
  switch (role) {
    case Qt::DisplayRole:
      return item.title.isEmpty() ? QFileInfo(item.path).fileName() : item.title;
    case Qt::ToolTipRole: return item.path;
    case PathRole: return item.path;
    case FaultRole: return faults_.value(item.id, int(PictureFault::None));
    case ThumbnailRole: {
      if (const QImage* image = thumbnails_.object(item.id)) return *image;
      request(item);
      return QImage();
    }
    default: return QVariant();
  }
}

// Made on a worker of the pool: the newest request first, so the items on
// screen come before those scrolled past.
void AlbumModel::request(const Item& item) const {
  if (pending_.contains(item.id)) return;
  pending_.insert(item.id);
  const std::shared_ptr<const ThumbnailCache> cache = cache_;
  const quint64 id = item.id;
  const QString path = item.path;
  const std::array<long, 3> levels = item.levels;
  auto* model = const_cast<AlbumModel*>(this);
  if (priority_ == std::numeric_limits<int>::max()) priority_ = 0;
  pool_.start(
      [cache, id, path, levels, model] {
        const PictureRead read = cache->thumbnail(path);
        const QImage image =
            read.ok() ? CEftDib::Apply(read.image, levels)
                      : placeholderImage(QSize(cache->side(), cache->side() * 3 / 4), path, read.fault);
        QMetaObject::invokeMethod(
            model, [model, id, image, fault = int(read.fault)] { model->deliver(id, image, fault); },
            Qt::QueuedConnection);
      },
      ++priority_);
}

void AlbumModel::deliver(quint64 id, const QImage& image, int fault) {
  if (!pending_.remove(id)) return;
  const int row = rowOf(id);
  if (row < 0) return;
  thumbnails_.insert(id, new QImage(image), costOf(image));
  if (fault != int(PictureFault::None)) faults_.insert(id, fault);
  const QModelIndex at = index(row);
  Q_EMIT dataChanged(at, at, {ThumbnailRole, FaultRole});
  Q_EMIT thumbnailReady(row);
}

int AlbumModel::rowOf(quint64 id) const {
  for (int row = 0; row < items_.size(); ++row)
    if (items_.at(row).id == id) return row;
  return -1;
}

int AlbumModel::add(const QString& title, const QString& path, const std::array<long, 3>& levels) {
  if (path.trimmed().isEmpty()) return -1;
  const int row = int(items_.size());
  beginInsertRows(QModelIndex(), row, row);
  items_.append(Item{title, path, levels, nextId_++});
  endInsertRows();
  return row;
}

bool AlbumModel::set(int row, const QString& title, const QString& path,
                     const std::array<long, 3>& levels) {
  if (row < 0 || row >= items_.size() || path.trimmed().isEmpty()) return false;
  Item& item = items_[row];
  const bool picture = item.path != path || item.levels != levels;
  item.title = title;
  item.path = path;
  item.levels = levels;
  if (picture) {
    // A new id: a thumbnail still being made for the old picture is dropped.
    thumbnails_.remove(item.id);
    faults_.remove(item.id);
    pending_.remove(item.id);
    item.id = nextId_++;
  }
  Q_EMIT dataChanged(index(row), index(row));
  return true;
}

bool AlbumModel::remove(int row) {
  if (row < 0 || row >= items_.size()) return false;
  beginRemoveRows(QModelIndex(), row, row);
  const quint64 id = items_.at(row).id;
  thumbnails_.remove(id);
  faults_.remove(id);
  pending_.remove(id);
  items_.removeAt(row);
  endRemoveRows();
  return true;
}

void AlbumModel::waitForThumbnails() {
  while (!pending_.isEmpty()) {
    pool_.waitForDone();
    QCoreApplication::processEvents();
  }
}

}  // namespace picview6

CViewerAlbum::CViewerAlbum(QWidget* parent) : QWidget(parent), list_(new QListView(this)) {
  list_->setObjectName(QStringLiteral("thumbnails"));
  list_->setViewMode(QListView::IconMode);
  list_->setMovement(QListView::Static);
  list_->setResizeMode(QListView::Adjust);
  list_->setUniformItemSizes(true);
  list_->setLayoutMode(QListView::Batched);
  list_->setBatchSize(200);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  list_->setSpacing(4);
  list_->setItemDelegate(new picview6::AlbumDelegate(list_));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(list_);
  connect(list_, &QListView::doubleClicked, this, [this] { Q_EMIT commandNotified(id_, 1); });
}

CViewerAlbum::~CViewerAlbum() = default;

bool CViewerAlbum::Create(const QRect& rect, QWidget* owner, int id, int selectMessage,
                          int deleteMessage, const QString& cacheFolder) {
  id_ = id;
  selectMessage_ = selectMessage;
  deleteMessage_ = deleteMessage;
  setObjectName(QString::number(id));
  if (owner != nullptr) setParent(owner);
  setGeometry(rect);
  auto cache = std::make_shared<const picview6::ThumbnailCache>(
      cacheFolder.isEmpty() ? picview6::ThumbnailCache::defaultFolder() : cacheFolder, kThumbnailSide);
  model_ = new picview6::AlbumModel(std::move(cache), this);
  list_->setModel(model_);
  connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this] { Q_EMIT notified(selectMessage_, GetCurSel()); });
  auto* deleteKey = new QAction(list_);
  deleteKey->setShortcut(QKeySequence::Delete);
  deleteKey->setShortcutContext(Qt::WidgetShortcut);
  connect(deleteKey, &QAction::triggered, this, [this] {
    if (GetCurSel() >= 0) Q_EMIT notified(deleteMessage_, GetCurSel());
  });
  list_->addAction(deleteKey);
  show();
  return true;
}

int CViewerAlbum::AddData(const QString& title, const QString& path,
                          const std::array<long, 3>& levels) {
  return model_ ? model_->add(title, path, levels) : -1;
}

int CViewerAlbum::GetCurSel() const {
  const QModelIndex current = list_->currentIndex();
  return current.isValid() && list_->selectionModel()->isSelected(current) ? current.row() : -1;
}

void CViewerAlbum::SetCurSel(int index) {
  if (model_ == nullptr) return;
  list_->setCurrentIndex(model_->index(index));
}

bool CViewerAlbum::SetData(int index, const QString& title, const QString& path,
                           const std::array<long, 3>& levels) {
  return model_ && model_->set(index, title, path, levels);
}

bool CViewerAlbum::DeleteData(int index) { return model_ && model_->remove(index); }

int CViewerAlbum::GetCount() const { return model_ ? model_->rowCount() : 0; }
