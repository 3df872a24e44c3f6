#pragma once
// The service objects the sales host owns and hands to the sales module:
// the store over the diary database, the message boxes, conversions, help,
// the child-window registry, the guide line and the slip saving, with the
// display settings (font, cell size, grid colours) chosen from the desktop.

#include "outside/sl_calc/calc.h"
#include "outside/sl_common/childwininfo.h"
#include "outside/sl_common/gidmsg.h"
#include "outside/sl_common/mtrxcolor.h"
#include "outside/sl_errmsg/errmsg.h"
#include "outside/sl_help/help.h"
#include "outside/sl_jet/seljetaccess.h"
#include "outside/sl_lib/conv.h"
#include "outside/sl_lib/convymd.h"
#include "outside/sl_lib/gdi.h"
#include "outside/sl_nmsg/nmlmsg.h"
#include "platform/dao/database.h"

#include <QFont>
#include <QString>

namespace salehost {

class SaleModule;

class HostServices {
 public:
  HostServices();
  ~HostServices();
  HostServices(const HostServices&) = delete;
  HostServices& operator=(const HostServices&) = delete;

  // Opens the diary database (shared with the other programs: a busy file
  // is waited for) and gives it the sales tables when it lacks them. False
  // with errorText() when it cannot be opened or brought up to date.
  bool open(const QString& diaryPath);
  const QString& errorText() const { return error_; }

  // Hands the objects and the display settings to a loaded module.
  void handTo(SaleModule& module);

  CDaoDatabase& database() { return database_; }
  sl::CSelJetAccess& store() { return store_; }
  sl::CGidMsg& guide() { return guide_; }
  sl::CChildWinInfo& windows() { return windows_; }
  sl::CHelp& help() { return help_; }
  const QFont& font() const { return font_; }
  short charWidth() const { return charWidth_; }
  short charHeight() const { return charHeight_; }

 private:
  CDaoDatabase database_;
  sl::CSelJetAccess store_;
  sl::CErrMsg errors_;
  sl::CNmlMsg questions_;
  sl::CGdi gdi_;
  sl::CConv conv_;
  sl::CConvYmd dates_;
  sl::CHelp help_;
  sl::CChildWinInfo windows_;
  sl::CGidMsg guide_;
  sl::CCalc calc_;
  sl::MTRX_COLOR colors_;
  QFont font_;
  short charWidth_ = 0;
  short charHeight_ = 0;
  QString error_;
};

}  // namespace salehost
