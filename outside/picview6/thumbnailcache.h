#pragma once
// Thumbnails of pictures, kept on disk so the album opens fast the next
// time: one small JPEG per picture, named by a hash of the picture's path,
// file size, modification time and the thumbnail size, so a changed or
// replaced file gets a new thumbnail. Safe to use from several threads.

#include "outside/picview6/picturefile.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace picview6 {

class ThumbnailCache {
 public:
  // Thumbnails of at most side × side pixels in folder; an empty folder keeps
  // none on disk (every thumbnail is made from its picture).
  ThumbnailCache(QString folder, int side);

  // The default folder: "picview6/thumbnails" in the app-local data folder.
  static QString defaultFolder();

  int side() const { return side_; }
  const QString& folder() const { return folder_; }

  // The thumbnail of a picture: from the disk cache when present, else
  // decoded at a reduced size and stored. A fault leaves the image null.
  PictureRead thumbnail(const QString& path) const;
  // The file a picture's thumbnail is kept in; empty when the picture is
  // missing or there is no folder.
  QString cacheFile(const QString& path) const;

 private:
  QString folder_;
  int side_;
};

}  // namespace picview6
