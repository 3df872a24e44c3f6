#include "outside/hrvcom106/winpos.h"

#include <QWidget>

CWinPos::CWinPos(hv6::RegistryStore& store, QString key) : store_(store), key_(std::move(key)) {}

bool CWinPos::LoadWindowPlacement(QWidget* window) const {
  if (!window || key_.isEmpty()) return false;
  QByteArray placement;
  if (store_.readBinary(key_, kValueName, placement) != hv6::RegStatus::Ok) return false;
  return window->restoreGeometry(placement);
}

bool CWinPos::SaveWindowPlacement(const QWidget* window) {
  if (!window || key_.isEmpty()) return false;
  return store_.writeBinary(key_, kValueName, window->saveGeometry()) == hv6::RegStatus::Ok;
}
