#include "outside/hrvcom106/winpos.h"

#include <QWidget>

namespace {

constexpr int kDefaultShare = 90;  // per cent of the available width and height

}  // namespace

CWinPos::CWinPos(hv6::RegistryStore& store, QString key) : store_(store), key_(std::move(key)) {}

bool CWinPos::LoadWindowPlacement(QWidget* window) const {
  if (!window || key_.isEmpty()) return false;
  QByteArray placement;
  if (store_.readBinary(key_, kValueName, placement) != hv6::RegStatus::Ok) return false;
  // Qt moves a placement that lies off every screen back onto one.
  return window->restoreGeometry(placement);
}

QRect CWinPos::defaultPlacement(const QRect& available, const QSize& minimum) {
  QSize size(available.width() * kDefaultShare / 100, available.height() * kDefaultShare / 100);
  size = size.expandedTo(minimum).boundedTo(available.size());
  QRect placed(QPoint(0, 0), size);
  placed.moveCenter(available.center());
  return placed;
}

bool CWinPos::SaveWindowPlacement(const QWidget* window) {
  if (!window || key_.isEmpty()) return false;
  return store_.writeBinary(key_, kValueName, window->saveGeometry()) == hv6::RegStatus::Ok;
}
