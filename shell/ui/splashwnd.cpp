#include "shell/ui/splashwnd.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QScreen>

namespace {

bool closesSplash(QEvent::Type type) {
  switch (type) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick:
      return true;
    default:
      return false;
  }
}

}  // namespace

CSplashWnd::CSplashWnd(QImage picture, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), picture_(std::move(picture)) {
  setAttribute(Qt::WA_QuitOnClose, false);
  setFixedSize(picture_.deviceIndependentSize().toSize());
  timer_.setSingleShot(true);
  timer_.setInterval(kShowMs);
  connect(&timer_, &QTimer::timeout, this, &CSplashWnd::HideSplashScreen);
}

CSplashWnd::~CSplashWnd() {
  if (watching_) qApp->removeEventFilter(this);
}

void CSplashWnd::ShowSplashScreen() {
  if (picture_.isNull()) return;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect placed(QPoint(), size());
    placed.moveCenter(screen->availableGeometry().center());
    move(placed.topLeft());
  }
  show();
  raise();
  qApp->installEventFilter(this);
  watching_ = true;
  timer_.start();
}

void CSplashWnd::HideSplashScreen() {
  timer_.stop();
  if (watching_) qApp->removeEventFilter(this);
  watching_ = false;
  if (isVisible()) hide();
  Q_EMIT hidden();
}

bool CSplashWnd::eventFilter(QObject* watched, QEvent* event) {
  if (!watching_) return QWidget::eventFilter(watched, event);
  if (event->type() == QEvent::ShortcutOverride) {
    // Claimed, so that no shortcut fires: the key press itself follows.
    event->accept();
    return true;
  }
  if (!closesSplash(event->type())) return QWidget::eventFilter(watched, event);
  HideSplashScreen();
  return true;
}

void CSplashWnd::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(rect(), picture_);
}
