#pragma once
// A small host of the slsale library for the tests: the library loaded
// with QLibrary from its build path (HV6_SLSALE_LIBRARY), a main window
// with an MDI area that counts message 1354, and the service objects the
// host hands to the library.

#include "outside/sl_common/childwininfo.h"
#include "outside/sl_common/gidmsg.h"
#include "outside/sl_common/mtrxcolor.h"
#include "outside/sl_errmsg/errmsg.h"
#include "outside/sl_help/help.h"
#include "outside/sl_lib/conv.h"
#include "outside/sl_lib/convymd.h"
#include "outside/sl_lib/gdi.h"
#include "outside/sl_nmsg/nmlmsg.h"
#include "sales/slsale/slsale.h"
#include "tests/support/message_recorder.h"
#include "tests/support/test_env.h"

#include <QFont>
#include <QLibrary>
#include <QMainWindow>
#include <QMdiArea>

namespace hv6test {

// The library, loaded once for the whole run and kept loaded (windows of
// it may outlive a test's host).
class SaleLibrary {
 public:
  static SaleLibrary& instance();

  bool isLoaded() const { return library_.isLoaded(); }
  QString errorText() const { return library_.errorString(); }
  QFunctionPointer resolve(const char* name) { return library_.resolve(name); }
  template <typename Function>
  Function function(const char* name) {
    return reinterpret_cast<Function>(resolve(name));
  }

 private:
  SaleLibrary();
  QLibrary library_;
};

// The host's main window: counts the events of message 1354.
class SaleFrame : public QMainWindow {
 public:
  int childEvents = 0;

 protected:
  bool event(QEvent* event) override;
};

class SaleHost {
 public:
  static constexpr short kCharWidth = 8;
  static constexpr short kCharHeight = 16;

  // jet: the store handed to the library (none by default).
  explicit SaleHost(sl::CSelJetAccess* jet = nullptr);
  ~SaleHost();
  SaleHost(const SaleHost&) = delete;
  SaleHost& operator=(const SaleHost&) = delete;

  // Delivers posted events and deletes what was closed.
  void flushEvents();

  TestEnvironment env;
  MessageRecorder recorder;
  SaleLibrary& library;
  sl::CErrMsg errors;
  sl::CNmlMsg messages;
  sl::CGdi gdi;
  sl::CConv conv;
  sl::CConvYmd convYmd;
  sl::CHelp help;
  sl::CChildWinInfo registry;
  sl::CGidMsg guide;
  QFont font;
  sl::MTRX_COLOR colors;
  SaleFrame frame;
  QMdiArea* area = nullptr;
  int& frameEvents;
};

}  // namespace hv6test
