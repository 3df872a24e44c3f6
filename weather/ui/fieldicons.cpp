#include "weather/ui/fieldicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace hv6 {
namespace {

constexpr int kSide = 16;
const QColor kGrey(0x9a9a9a);

// A pencil lying from the lower left to the upper right.
void drawPencil(QPainter& p, bool enabled) {
  const QColor body = enabled ? QColor(0xe0a526) : kGrey;
  const QColor edge = enabled ? QColor(0x6b4a12) : kGrey.darker(130);
  p.setPen(QPen(edge, 1));
  p.setBrush(body);
  p.drawPolygon(QPolygonF{QPointF(4, 14.5), QPointF(1.5, 12), QPointF(11, 2.5), QPointF(13.5, 5)});
  p.setBrush(enabled ? QColor(0xd9534f) : kGrey.lighter(115));
  p.drawPolygon(QPolygonF{QPointF(11, 2.5), QPointF(12.5, 1), QPointF(15, 3.5), QPointF(13.5, 5)});
  p.setBrush(enabled ? QColor(0xf5deb3) : kGrey.lighter(130));
  p.drawPolygon(QPolygonF{QPointF(1.5, 12), QPointF(0.5, 15.5), QPointF(4, 14.5)});
}

void drawCross(QPainter& p, bool enabled) {
  p.setPen(QPen(enabled ? QColor(0xc9302c) : kGrey, 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
  p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

// A green plus on a small field.
void drawPlus(QPainter& p, bool enabled) {
  p.setPen(QPen(enabled ? QColor(0x2f6e38) : kGrey, 1));
  p.setBrush(enabled ? QColor(0xdff0d8) : kGrey.lighter(140));
  p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
  p.setPen(QPen(enabled ? QColor(0x3c9a3c) : kGrey, 3, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(8, 3), QPointF(8, 13));
  p.drawLine(QPointF(3, 8), QPointF(13, 8));
}

// A field with furrows, carried by the pointer.
void drawDragged(QPainter& p) {
  p.setPen(QPen(QColor(0x6b4a12), 1));
  p.setBrush(QColor(0xb5884e));
  p.drawRect(QRectF(4.5, 5.5, 11, 10));
  p.setPen(QPen(QColor(0x4f8a2b), 1.5));
  for (qreal y : {8.0, 11.0, 14.0}) p.drawLine(QPointF(6, y), QPointF(14, y));
  QPainterPath arrow;
  arrow.moveTo(0.5, 0.5);
  arrow.lineTo(0.5, 8);
  arrow.lineTo(2.5, 6);
  arrow.lineTo(4, 9);
  arrow.lineTo(5.5, 8.3);
  arrow.lineTo(4, 5.3);
  arrow.lineTo(6.8, 5.3);
  arrow.closeSubpath();
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawPath(arrow);
}

}  // namespace

QPixmap fieldIconPixmap(int id, qreal ratio) {
  QPixmap pixmap(QSize(kSide, kSide) * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  switch (id) {
    case kIconModify: drawPencil(painter, true); break;
    case kIconModifyDisabled: drawPencil(painter, false); break;
    case kIconDelete: drawCross(painter, true); break;
    case kIconDeleteDisabled: drawCross(painter, false); break;
    case kIconAdd: drawPlus(painter, true); break;
    case kIconAddDisabled: drawPlus(painter, false); break;
    case kDragCursor: drawDragged(painter); break;
    default: return {};
  }
  return pixmap;
}

QIcon fieldButtonIcon(int normal, int disabled) {
  QIcon icon;
  for (qreal ratio : {1.0, 2.0}) {
    icon.addPixmap(fieldIconPixmap(normal, ratio), QIcon::Normal);
    icon.addPixmap(fieldIconPixmap(disabled, ratio), QIcon::Disabled);
  }
  return icon;
}

}  // namespace hv6
