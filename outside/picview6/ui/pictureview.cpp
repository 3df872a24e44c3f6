#include "outside/picview6/ui/pictureview.h"

#include "outside/picview6/eftdib.h"

#include <QLabel>
#include <QPixmap>
#include <QResizeEvent>

#include <algorithm>

CPictureView::CPictureView(QWidget* parent) : QScrollArea(parent), canvas_(new QLabel) {
  setObjectName(QStringLiteral("picture"));
  canvas_->setObjectName(QStringLiteral("canvas"));
  canvas_->setAlignment(Qt::AlignCenter);
  setWidget(canvas_);
  setAlignment(Qt::AlignCenter);
  setWidgetResizable(false);
  setBackgroundRole(QPalette::Dark);
  setMinimumSize(240, 180);
}

void CPictureView::setPath(const QString& path) {
  path_ = path;
  read_ = picview6::readPicture(path, QSize(picview6::kViewerLongSide, picview6::kViewerLongSide));
  refresh();
}

void CPictureView::setLevels(const std::array<long, 3>& levels) {
  if (levels == levels_) return;
  levels_ = levels;
  refresh();
}

void CPictureView::setRate(long percent) {
  const long rate = std::clamp(percent, 10L, 400L);
  if (rate == rate_) return;
  rate_ = rate;
  refresh();
}

void CPictureView::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  refresh();
}

void CPictureView::refresh() {
  const QSize area = viewport()->size().expandedTo(QSize(32, 32));
  if (read_.ok() && read_.image.isNull()) {
    shown_ = QImage();  // no picture given yet
  } else if (!read_.ok()) {
    shown_ = picview6::placeholderImage(area - QSize(4, 4), path_, read_.fault);
  } else {
    // Fitted to the window (a small picture is not enlarged), then the rate.
    const QSize fitted = picview6::fittedSize(read_.image.size(), area - QSize(4, 4));
    const QSize target = (QSizeF(fitted) * (double(rate_) / 100.0)).toSize().expandedTo(QSize(1, 1));
    shown_ = CEftDib::Apply(
        read_.image.scaled(target, Qt::KeepAspectRatio, Qt::SmoothTransformation), levels_);
  }
  canvas_->setPixmap(QPixmap::fromImage(shown_));
  canvas_->resize(shown_.size().expandedTo(area - QSize(2, 2)));
}
