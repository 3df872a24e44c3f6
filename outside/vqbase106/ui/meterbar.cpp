#include "outside/vqbase106/ui/meterbar.h"

#include <QPainter>

#include <algorithm>

CMeterBar::CMeterBar(QWidget* parent) : QWidget(parent) {
  setMinimumHeight(16);
}

void CMeterBar::StartMeter(const QString& text, int kind) {
  text_ = text;
  kind_ = kind;
  percent_ = 0;
  running_ = true;
  repaint();
}

void CMeterBar::SetMeter(int percent) {
  const int clamped = std::clamp(percent, 0, 100);
  if (running_ && clamped == percent_) return;
  percent_ = clamped;
  running_ = true;
  repaint();  // at once: the caller keeps the UI thread busy
}

void CMeterBar::EndMeter() {
  running_ = false;
  percent_ = 0;
  text_.clear();
  repaint();
}

QSize CMeterBar::sizeHint() const {
  return QSize(200, std::max(16, fontMetrics().height() + 4));
}

void CMeterBar::paintEvent(QPaintEvent*) {
  if (!running_) return;
  QPainter painter(this);
  const QRect frame = rect().adjusted(0, 1, -1, -2);
  painter.setPen(palette().color(QPalette::Mid));
  painter.setBrush(palette().color(QPalette::Base));
  painter.drawRect(frame);
  QRect filled = frame.adjusted(1, 1, 0, 0);
  filled.setWidth(filled.width() * percent_ / 100);
  painter.fillRect(filled, palette().color(QPalette::Highlight));
  const QString label = QStringLiteral("%1 %2%").arg(text_).arg(percent_);
  painter.setPen(palette().color(QPalette::Text));
  painter.drawText(frame, Qt::AlignCenter, label);
}
