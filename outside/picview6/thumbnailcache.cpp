#include "outside/picview6/thumbnailcache.h"

#include "platform/folders.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

namespace picview6 {

ThumbnailCache::ThumbnailCache(QString folder, int side) : folder_(std::move(folder)), side_(side) {
  if (!folder_.isEmpty()) QDir().mkpath(folder_);
}

QString ThumbnailCache::defaultFolder() {
  const QString local = hv6::specialFolder(hv6::kFolderLocalAppData);
  return local.isEmpty() ? QString() : local + QStringLiteral("/picview6/thumbnails");
}

QString ThumbnailCache::cacheFile(const QString& path) const {
  if (folder_.isEmpty()) return QString();
  const QFileInfo info(path);
  if (!info.isFile()) return QString();
  const QString key = info.absoluteFilePath() + QLatin1Char('|') + QString::number(info.size()) +
                      QLatin1Char('|') +
                      QString::number(info.lastModified().toMSecsSinceEpoch()) +
                      QLatin1Char('|') + QString::number(side_);
  const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex();
  return folder_ + QLatin1Char('/') + QString::fromLatin1(hash) + QStringLiteral(".jpg");
}

PictureRead ThumbnailCache::thumbnail(const QString& path) const {
  const QString cached = cacheFile(path);
  if (!cached.isEmpty()) {
    QImageReader reader(cached, "jpg");
    PictureRead read;
    if (reader.read(&read.image)) return read;  // the picture's own size is not kept
  }
  PictureRead read = readPicture(path, QSize(side_, side_));
  if (!read.ok() || cached.isEmpty()) return read;
  // Written under a temporary name and renamed, so no half thumbnail is left.
  QSaveFile file(cached);
  if (file.open(QIODevice::WriteOnly) && read.image.save(&file, "JPG", 85)) file.commit();
  return read;
}

}  // namespace picview6
