#pragma once
// Reading a picture file for showing: upright (the orientation the camera
// wrote), scaled to fit a box while it is decoded, so a very large picture is
// never held whole; and the placeholder shown for a file that cannot be read.

#include <QImage>
#include <QSize>
#include <QString>

namespace picview6 {

enum class PictureFault {
  None,
  Missing,     // no file at the path (moved, deleted, a folder that is gone)
  Unreadable,  // a file that is no picture, or a damaged one
};

struct PictureRead {
  QImage image;        // null on a fault
  QSize fullSize;      // the picture's own size, upright; empty when unknown
  PictureFault fault = PictureFault::None;
  bool ok() const { return fault == PictureFault::None; }
};

// The longest side a picture is read at for a window: enough for a large
// screen and a display rate of 200 percent, and at most 16 megapixels.
constexpr int kViewerLongSide = 4096;

// Reads the picture at path, scaled down (never up) to fit box when it is
// larger; an empty box reads it at its own size. The format is told by the
// content, not by the name.
PictureRead readPicture(const QString& path, const QSize& box);

// The picture's size upright without decoding it; empty when unreadable.
QSize pictureSize(const QString& path);

// The size of `size` fitted into box keeping its proportions (never larger
// than size itself).
QSize fittedSize(const QSize& size, const QSize& box);

// A picture of the given size that says the file cannot be shown, why, and
// its path.
QImage placeholderImage(const QSize& size, const QString& path, PictureFault fault);
// The text of a fault for the user.
QString faultText(PictureFault fault);

}  // namespace picview6
