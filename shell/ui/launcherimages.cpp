#include "shell/ui/launcherimages.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

#include "outside/vqbase106/ui/weatherpicture.h"

namespace hv6 {
namespace {

struct Tile {
  const char16_t* glyph;
  QRgb colour;
};

// Plan, diary, sales, farm diary, diary summary, slip summary, growth,
// field map, ledgers, payroll, weather analysis, risk forecast, records.
constexpr Tile kTiles[kLauncherImageCount] = {
    {u"農", 0x4f8a2b}, {u"日", 0x2f7d6d}, {u"販", 0xc0672a}, {u"記", 0x8a5a9e},
    {u"集", 0x3b6fb0}, {u"伝", 0xb0533b}, {u"気", 0x2d8fc4}, {u"図", 0x6e8b3d},
    {u"台", 0x7a6a4f}, {u"給", 0xa8842a}, {u"析", 0x3f7fa0}, {u"予", 0x9e3f5c},
    {u"履", 0x5a7a2e},
};

QPixmap drawTile(const Tile& tile, qreal ratio) {
  QPixmap pixmap(kLauncherImageSize * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF box(3, 2, 44, 44);
  const QColor base(tile.colour);
  QLinearGradient shade(box.topLeft(), box.bottomLeft());
  shade.setColorAt(0, base.lighter(135));
  shade.setColorAt(1, base.darker(115));
  painter.setPen(QPen(base.darker(150), 1));
  painter.setBrush(shade);
  painter.drawRoundedRect(box, 8, 8);
  QFont font(QStringLiteral("Noto Sans CJK JP"));
  font.setPixelSize(26);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(box, Qt::AlignCenter, QString::fromUtf16(tile.glyph));
  return pixmap;
}

QPixmap drawSmall(int index, qreal ratio) {
  QPixmap pixmap(QSize(16, 16) * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor ink(0x3d6b1e);
  if (index == 4) {  // the calendar's own picture of fine weather
    paintWeatherPicture(painter, QRectF(0, 0, 16, 16), 1);
    return pixmap;
  }
  if (index < 2) {  // a triangle pointing back or on
    const qreal tip = index == 0 ? 3 : 13, base = index == 0 ? 12 : 4;
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawPolygon(QPolygonF{QPointF(tip, 8), QPointF(base, 2.5), QPointF(base, 13.5)});
    return pixmap;
  }
  painter.setPen(QPen(ink, 1));
  painter.setBrush(QColor(0xeef5e6));
  painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
  QFont font(QStringLiteral("Noto Sans CJK JP"));
  font.setPixelSize(12);
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, index == 2 ? QStringLiteral("週") : QStringLiteral("年"));
  return pixmap;
}

}  // namespace

QIcon calendarToolImage(int index) {
  if (index < 0 || index > 4) return {};
  QIcon icon;
  for (qreal ratio : {1.0, 2.0}) icon.addPixmap(drawSmall(index, ratio));
  return icon;
}

QIcon launcherImage(int index) {
  if (index < 0 || index >= kLauncherImageCount) return {};
  QIcon icon;
  for (qreal ratio : {1.0, 2.0}) icon.addPixmap(drawTile(kTiles[index], ratio));
  return icon;
}

}  // namespace hv6
