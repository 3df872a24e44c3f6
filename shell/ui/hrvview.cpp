#include "shell/ui/hrvview.h"

#include "resources/pictures.h"
#include "shell/appcore.h"

#include <QApplication>
#include <QPainter>

CHrvView::CHrvView(hv6::AppCore& core, QWidget* parent) : QWidget(parent), core_(core) {
  setObjectName(QStringLiteral("HrvView"));
}

void CHrvView::setBackdrop(int pictureId) {
  pictureId_ = pictureId;
  cached_ = QImage();
  update();
}

bool CHrvView::reload() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool open = core_.reopenDiaryDatabase() != nullptr;
  QApplication::restoreOverrideCursor();
  update();
  Q_EMIT reloaded(open);
  return open;
}

void CHrvView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  if (pictureId_ == 0) return;
  // The picture covers the whole area, cut evenly where it sticks out.
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = size() * ratio;
  if (cached_.size() != pixels) {
    cached_ = hv6::picture(pictureId_, pixels);
    cached_.setDevicePixelRatio(ratio);
  }
  painter.drawImage(rect(), cached_);
}
