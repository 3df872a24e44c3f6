#pragma once
// CViewerAlbum: a grid of picture thumbnails with their titles. Thumbnails
// are made in the background only for the items on screen, kept in memory
// up to a bound and on disk (ThumbnailCache), so a thousand pictures scroll
// smoothly and are never all loaded at once. A double click sends the
// command notification 1 with the album's child id; the selection changing
// sends the first message, the Delete key the second.

#include "outside/picview6/thumbnailcache.h"

#include <QAbstractListModel>
#include <QCache>
#include <QImage>
#include <QSet>
#include <QThreadPool>
#include <QWidget>

#include <array>
#include <memory>

class QListView;

namespace picview6 {

// The album's items and their thumbnails.
class AlbumModel final : public QAbstractListModel {
  Q_OBJECT

 public:
  enum Role { PathRole = Qt::UserRole + 1, ThumbnailRole, FaultRole };

  AlbumModel(std::shared_ptr<const ThumbnailCache> cache, QObject* parent = nullptr);
  ~AlbumModel() override;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  // DisplayRole: the title (the file name when there is none); ThumbnailRole:
  // the thumbnail, a null image while it is being made (asked for then).
  QVariant data(const QModelIndex& index, int role) const override;

  int add(const QString& title, const QString& path, const std::array<long, 3>& levels);
  bool set(int row, const QString& title, const QString& path, const std::array<long, 3>& levels);
  bool remove(int row);

  // Thumbnails asked for and not yet made.
  int pending() const { return int(pending_.size()); }
  // Waits until every thumbnail asked for is made (for tests and measures).
  void waitForThumbnails();
  QThreadPool& pool() { return pool_; }

 Q_SIGNALS:
  void thumbnailReady(int row);

 private:
  struct Item {
    QString title;
    QString path;
    std::array<long, 3> levels{};
    quint64 id = 0;
  };
  void request(const Item& item) const;
  void deliver(quint64 id, const QImage& image, int fault);
  int rowOf(quint64 id) const;

  std::shared_ptr<const ThumbnailCache> cache_;
  QList<Item> items_;
  quint64 nextId_ = 1;
  mutable QCache<quint64, QImage> thumbnails_;
  mutable QHash<quint64, int> faults_;
  mutable QSet<quint64> pending_;
  mutable int priority_ = 0;
  mutable QThreadPool pool_;
};

}  // namespace picview6

class CViewerAlbum final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kThumbnailSide = 160;

  explicit CViewerAlbum(QWidget* parent = nullptr);
  ~CViewerAlbum() override;

  // Places the album on owner at rect; id becomes its objectName and the
  // id of its notifications. cacheFolder empty: the default folder.
  bool Create(const QRect& rect, QWidget* owner, int id, int selectMessage, int deleteMessage,
              const QString& cacheFolder = QString());
  // The index of the new item, or -1 when it is refused (no path).
  int AddData(const QString& title, const QString& path, const std::array<long, 3>& levels);
  // The selected item's index, or -1.
  int GetCurSel() const;
  void SetCurSel(int index);
  bool SetData(int index, const QString& title, const QString& path,
               const std::array<long, 3>& levels);
  bool DeleteData(int index);
  int GetCount() const;

  QListView* listView() const { return list_; }
  picview6::AlbumModel* model() const { return model_; }

 Q_SIGNALS:
  // A command notification (1: double click) of the album's child id.
  void commandNotified(int id, int code);
  // The selection message or the delete message given at creation.
  void notified(int message, int code);

 private:
  QListView* list_;
  picview6::AlbumModel* model_ = nullptr;
  int id_ = 0;
  int selectMessage_ = 0;
  int deleteMessage_ = 0;
};
