#pragma once
// Window placement of the product's programs: the position, size and the
// maximised state of a top-level window, kept as one binary value in a
// registry key the caller names. The key must exist: it is never created.

#include "platform/registry.h"

#include <QRect>
#include <QString>

class QWidget;

class CWinPos {
 public:
  static inline const QString kValueName = QStringLiteral("WindowPlacement");

  // key: the full key path below HKEY_CURRENT_USER.
  CWinPos(hv6::RegistryStore& store, QString key);

  // Gives the window its stored placement (not shown yet: a maximised one
  // shows maximised). False when nothing usable is stored. A placement
  // that lies off every screen (a monitor since removed) is moved onto the
  // window's screen.
  bool LoadWindowPlacement(QWidget* window) const;
  // Stores the window's placement; false when the key is missing or the
  // settings cannot be written.
  bool SaveWindowPlacement(const QWidget* window);

  // The normal geometry of a window that has no stored placement: most of
  // the available area, centred, never below the window's minimum size.
  static QRect defaultPlacement(const QRect& available, const QSize& minimum);

 private:
  hv6::RegistryStore& store_;
  QString key_;
};
