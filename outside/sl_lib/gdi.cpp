#include "outside/sl_lib/gdi.h"

#include <QPainter>

namespace sl {

void CGdi::DispString3D(QPainter& painter, int x, int y, const QString& text,
                        const QColor& color) const {
  painter.save();
  painter.setFont(font_);
  const QRect box(x, y, painter.fontMetrics().horizontalAdvance(text) + 1,
                  painter.fontMetrics().height() + 1);
  painter.setPen(Qt::white);
  painter.drawText(box.translated(-1, -1), Qt::AlignLeft | Qt::AlignTop, text);
  painter.setPen(color);
  painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
  painter.restore();
}

void CGdi::DispTitle(QPainter& painter, const QRect& rect, const QString& text) const {
  painter.save();
  painter.fillRect(rect, QColor(0xc0, 0xc0, 0xc0));
  painter.setPen(Qt::white);
  painter.drawLine(rect.topLeft(), rect.topRight());
  painter.drawLine(rect.topLeft(), rect.bottomLeft());
  painter.setPen(Qt::darkGray);
  painter.drawLine(rect.bottomLeft(), rect.bottomRight());
  painter.drawLine(rect.topRight(), rect.bottomRight());
  painter.setPen(Qt::black);
  painter.setFont(font_);
  painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text);
  painter.restore();
}

void CGdi::DispRectString(QPainter& painter, const QRect& rect, const QString& text,
                          int alignment) const {
  painter.save();
  painter.setFont(font_);
  painter.setClipRect(rect);
  painter.drawText(rect, alignment | Qt::TextSingleLine, text);
  painter.restore();
}

void CGdi::DispRectFrameString(QPainter& painter, const QRect& rect, const QString& text,
                               int alignment) const {
  painter.save();
  painter.setPen(Qt::black);
  painter.drawRect(rect.adjusted(0, 0, -1, -1));
  painter.restore();
  DispRectString(painter, rect.adjusted(2, 1, -2, -1), text, alignment);
}

}  // namespace sl
