#include "outside/picview6/picturefile.h"

#include <QFileInfo>
#include <QImageIOHandler>
#include <QImageReader>
#include <QPainter>

namespace picview6 {
namespace {

bool turnsSideways(QImageIOHandler::Transformations transformation) {
  return transformation.testFlag(QImageIOHandler::TransformationRotate90);
}

void prepare(QImageReader& reader) {
  reader.setDecideFormatFromContent(true);
  reader.setAutoTransform(true);
}

}  // namespace

QSize fittedSize(const QSize& size, const QSize& box) {
  if (size.isEmpty() || box.isEmpty()) return size;
  if (size.width() <= box.width() && size.height() <= box.height()) return size;
  QSize fitted = size.scaled(box, Qt::KeepAspectRatio);
  return fitted.expandedTo(QSize(1, 1));
}

QSize pictureSize(const QString& path) {
  QImageReader reader(path);
  prepare(reader);
  const QSize raw = reader.size();
  if (!raw.isValid()) return QSize();
  return turnsSideways(reader.transformation()) ? raw.transposed() : raw;
}

PictureRead readPicture(const QString& path, const QSize& box) {
  PictureRead read;
  const QFileInfo info(path);
  if (path.isEmpty() || !info.exists() || !info.isFile()) {
    read.fault = PictureFault::Missing;
    return read;
  }
  QImageReader reader(path);
  prepare(reader);
  const QSize raw = reader.size();
  const bool sideways = turnsSideways(reader.transformation());
  if (raw.isValid()) {
    read.fullSize = sideways ? raw.transposed() : raw;
    // The reader scales before it turns the picture upright.
    const QSize target = fittedSize(raw, sideways ? box.transposed() : box);
    if (target != raw) reader.setScaledSize(target);
  }
  if (!reader.read(&read.image) || read.image.isNull()) {
    read.image = QImage();
    read.fault = PictureFault::Unreadable;
    return read;
  }
  if (!read.fullSize.isValid()) read.fullSize = read.image.size();
  return read;
}

QString faultText(PictureFault fault) {
  switch (fault) {
    case PictureFault::None: return QString();
    case PictureFault::Missing: return QStringLiteral("画像ファイルが見つかりません。");
    case PictureFault::Unreadable: return QStringLiteral("画像ファイルを読み込めません。");
  }
  return QString();
}

QImage placeholderImage(const QSize& size, const QString& path, PictureFault fault) {
  const QSize area = size.isEmpty() ? QSize(320, 240) : size;
  QImage image(area, QImage::Format_RGB32);
  image.fill(QColor(0xf2, 0xf2, 0xf2));
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRect frame = image.rect().adjusted(4, 4, -5, -5);
  painter.setPen(QPen(QColor(0xb0, 0xb0, 0xb0), 2, Qt::DashLine));
  painter.drawRect(frame);
  // A crossed picture sign above the texts.
  const int sign = std::max(12, std::min(area.width(), area.height()) / 5);
  const QRect mark(area.width() / 2 - sign / 2, frame.top() + area.height() / 8, sign, sign * 3 / 4);
  painter.setPen(QPen(QColor(0xa0, 0x40, 0x40), 2));
  painter.drawRect(mark);
  painter.drawLine(mark.topLeft(), mark.bottomRight());
  painter.drawLine(mark.topRight(), mark.bottomLeft());
  QFont font = painter.font();
  font.setPixelSize(std::clamp(area.height() / 14, 9, 18));
  painter.setFont(font);
  painter.setPen(QColor(0x40, 0x40, 0x40));
  const QRect texts(frame.left() + 8, mark.bottom() + 8, frame.width() - 16,
                    frame.bottom() - mark.bottom() - 16);
  painter.drawText(texts, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWrapAnywhere,
                   faultText(fault) + QLatin1Char('\n') + path);
  return image;
}

}  // namespace picview6
