#pragma once
// Text drawing of the sales windows (captions, totals lines) on a painter,
// in the font the host chose.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QPainter;

namespace sl {

class CGdi {
 public:
  // The font every routine below draws with.
  void SetFont(const QFont& font) { font_ = font; }
  const QFont& font() const { return font_; }

  // Text at (x, y) (top left) looking raised: a light copy one pixel up and
  // left, the text in `color` over it.
  void DispString3D(QPainter& painter, int x, int y, const QString& text,
                    const QColor& color = Qt::black) const;
  // A caption: a raised grey panel over the rectangle with the text centred.
  void DispTitle(QPainter& painter, const QRect& rect, const QString& text) const;
  // Text in a rectangle with the given alignment (Qt::Alignment flags),
  // clipped to it.
  void DispRectString(QPainter& painter, const QRect& rect, const QString& text,
                      int alignment = Qt::AlignLeft | Qt::AlignVCenter) const;
  // The same inside a one-pixel frame.
  void DispRectFrameString(QPainter& painter, const QRect& rect, const QString& text,
                           int alignment = Qt::AlignLeft | Qt::AlignVCenter) const;

 private:
  QFont font_;
};

}  // namespace sl
