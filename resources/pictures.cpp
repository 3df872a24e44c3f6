#include "resources/pictures.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include <algorithm>

// The compiled-in pictures of this static library are registered on first
// use; the macro must be used outside any namespace.
static void registerPictures() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(pictures);
    return true;
  }();
  Q_UNUSED(registered);
}

namespace hv6 {
namespace {

struct PictureFile {
  int id;
  const char* name;
};

constexpr PictureFile kPictures[] = {
    {kIconPicture, "icon_128.svg"},       {kSplashPicture, "splash_140.svg"},
    {kSpringPicture, "spring_158.svg"},   {kAutumnPicture, "autumn_163.svg"},
    {kSummerPicture, "summer_165.svg"},   {kWinterPicture, "winter_166.svg"},
    {kSecondsZeroPicture, "rainbow_167.svg"}, {kFestivalPicture2Aug, "festival_176.svg"},
    {kFestivalPicture3Aug, "festival_177.svg"},
};

const QString kSmallIcon = QStringLiteral(":/hv6/images/icon_128_small.svg");

QString resourcePath(int resourceId) {
  for (const PictureFile& file : kPictures) {
    if (file.id == resourceId) return QStringLiteral(":/hv6/images/") + QLatin1String(file.name);
  }
  return {};
}

// The rectangle that covers the whole target with the drawing's proportions.
QRectF coveringRect(QSizeF natural, QSize target) {
  const qreal scale = qMax(target.width() / natural.width(), target.height() / natural.height());
  const QSizeF scaled = natural * scale;
  return {(target.width() - scaled.width()) / 2, (target.height() - scaled.height()) / 2,
          scaled.width(), scaled.height()};
}

QImage render(const QString& path, QSize size) {
  registerPictures();
  QSvgRenderer renderer(path);
  if (!renderer.isValid()) return {};
  const QSizeF natural = renderer.viewBoxF().size();
  const QSize target = size.isEmpty() ? natural.toSize() : size;
  if (target.isEmpty() || natural.isEmpty()) return {};
  QImage image(target, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter, coveringRect(natural, target));
  return image;
}

}  // namespace

QImage picture(int resourceId, QSize size) {
  const QString path = resourcePath(resourceId);
  if (path.isEmpty()) return {};
  return render(path, size);
}

QSize pictureSize(int resourceId) {
  const QString path = resourcePath(resourceId);
  if (path.isEmpty()) return {};
  registerPictures();
  const QSvgRenderer renderer(path);
  return renderer.isValid() ? renderer.viewBoxF().size().toSize() : QSize();
}

QIcon programIcon() {
  QIcon icon;
  for (int side : {16, 24}) icon.addPixmap(QPixmap::fromImage(render(kSmallIcon, QSize(side, side))));
  for (int side : {32, 48, 64, 128, 256})
    icon.addPixmap(QPixmap::fromImage(picture(kIconPicture, QSize(side, side))));
  return icon;
}

QList<int> pictureIds() {
  QList<int> ids;
  for (const PictureFile& file : kPictures) ids.append(file.id);
  std::sort(ids.begin(), ids.end());
  return ids;
}

}  // namespace hv6
