#include "sales/slsale/icons.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace slsale {

QIcon windowIcon(int iconId) {
  QSvgRenderer renderer(QStringLiteral(":/slsale/icons/%1.svg").arg(iconId));
  if (!renderer.isValid()) return {};
  QIcon icon;
  for (const int side : {16, 32, 48}) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace slsale
