#include "outside/vqbase106/ui/weatherpicture.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace hv6 {
namespace {

const QColor kSun(0xf0, 0x8c, 0x00);
const QColor kCloudLight(0xc8, 0xcd, 0xd4);
const QColor kCloudDark(0x86, 0x8e, 0x99);
const QColor kRain(0x1e, 0x6f, 0xd9);
const QColor kSnow(0x4a, 0x9a, 0xd4);
const QColor kBolt(0xf2, 0xc1, 0x00);

// Unit coordinates: the picture is drawn in a 16 × 16 square.
void sun(QPainter& p, QPointF centre, qreal radius, bool rays) {
  p.setPen(Qt::NoPen);
  p.setBrush(kSun);
  p.drawEllipse(centre, radius, radius);
  if (!rays) return;
  p.setPen(QPen(kSun, 1.3, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 8; ++i) {
    const qreal a = i * M_PI / 4;
    const QPointF dir(std::cos(a), std::sin(a));
    p.drawLine(centre + dir * (radius + 1.4), centre + dir * (radius + 3.2));
  }
}

void cloud(QPainter& p, QPointF origin, qreal scale, const QColor& colour) {
  QPainterPath path;
  path.addEllipse(QPointF(origin.x() + 4 * scale, origin.y() + 5 * scale), 3.2 * scale, 2.8 * scale);
  path.addEllipse(QPointF(origin.x() + 8 * scale, origin.y() + 3.6 * scale), 4 * scale, 3.6 * scale);
  path.addEllipse(QPointF(origin.x() + 11.6 * scale, origin.y() + 5.4 * scale), 2.8 * scale, 2.4 * scale);
  path.addRect(QRectF(origin.x() + 4 * scale, origin.y() + 4.6 * scale, 7.6 * scale, 3.2 * scale));
  p.setPen(QPen(colour.darker(160), 0.9));
  p.setBrush(colour);
  p.drawPath(path.simplified());
}

void drops(QPainter& p, int count, qreal top, qreal length) {
  p.setPen(QPen(kRain, 1.4, Qt::SolidLine, Qt::RoundCap));
  const qreal step = 10.0 / count;
  for (int i = 0; i < count; ++i) {
    const qreal x = 4 + step * i + step / 2;
    p.drawLine(QPointF(x, top), QPointF(x - 1.2, top + length));
  }
}

void snowflake(QPainter& p, QPointF centre, qreal radius) {
  p.setPen(QPen(kSnow, 1.3, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 3; ++i) {
    const qreal a = i * M_PI / 3 + M_PI / 2;
    const QPointF dir(std::cos(a) * radius, std::sin(a) * radius);
    p.drawLine(centre - dir, centre + dir);
  }
}

void bolt(QPainter& p) {
  const QPointF points[] = {{8.6, 8.2}, {6.0, 12.2}, {8.0, 12.2}, {6.8, 15.8}, {10.6, 11.0}, {8.6, 11.0}, {10.0, 8.2}};
  p.setPen(QPen(kBolt.darker(140), 0.6));
  p.setBrush(kBolt);
  p.drawPolygon(points, 7);
}

void fog(QPainter& p) {
  p.setPen(QPen(kCloudDark, 1.5, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 4; ++i) {
    const qreal y = 3.5 + i * 3.2;
    const qreal shift = (i % 2) * 1.5;
    p.drawLine(QPointF(2 + shift, y), QPointF(14 - 1.5 + shift, y));
  }
}

void unknown(QPainter& p) {
  p.setPen(kCloudDark);
  QFont font = p.font();
  font.setPixelSize(12);
  p.setFont(font);
  p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
}

void drawUnit(QPainter& p, int code) {
  switch (code) {
    case 0: sun(p, {8, 8}, 3.6, true); return;
    case 1: sun(p, {6.0, 6.0}, 3.4, true); cloud(p, {4.0, 8.0}, 0.72, QColor(0xee, 0xf0, 0xf3)); return;
    case 2: sun(p, {5.5, 5.5}, 3.0, false); cloud(p, {1.0, 4.5}, 0.95, kCloudLight); return;
    case 3: cloud(p, {0.5, 1.0}, 1.0, kCloudLight); cloud(p, {2.5, 5.5}, 0.85, kCloudDark); return;
    case 4: fog(p); return;
    case 5: cloud(p, {0.5, 0.5}, 1.0, kCloudLight); drops(p, 2, 10.5, 3.0); return;
    case 6: cloud(p, {0.5, 0.5}, 1.0, kCloudDark); drops(p, 3, 10.0, 4.5); return;
    case 7: cloud(p, {0.5, 0.0}, 1.0, kCloudDark.darker(130)); drops(p, 4, 9.0, 6.0); return;
    case 8: snowflake(p, {8, 8}, 6.0); return;
    case 9: cloud(p, {0.5, 0.0}, 1.0, kCloudDark); bolt(p); return;
    default: unknown(p); return;
  }
}

}  // namespace

void paintWeatherPicture(QPainter& painter, const QRectF& box, int code) {
  if (code == kNoWeather) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal side = std::min(box.width(), box.height());
  painter.translate(box.center().x() - side / 2, box.center().y() - side / 2);
  painter.scale(side / 16.0, side / 16.0);
  drawUnit(painter, code);
  painter.restore();
}

QString weatherName(int code) {
  static const char* const names[] = {"快晴", "晴れ", "薄曇り", "曇り", "霧", "小雨", "雨", "大雨", "雪", "雷雨"};
  if (code < 0 || code > 9) return {};
  return QString::fromUtf8(names[code]);
}

}  // namespace hv6
