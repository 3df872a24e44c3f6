#pragma once
// The module-wide state that the exports fill: the host's service objects
// and its display settings (inside the library).

#include <QtGlobal>

class QFont;

namespace sl {
class CSelJetAccess;
class CErrMsg;
class CNmlMsg;
class CGdi;
class CConv;
class CConvYmd;
class CHelp;
class CChildWinInfo;
class CGidMsg;
class CCalc;
struct MTRX_COLOR;
}  // namespace sl

namespace slsale {

// The thirteen pointers of Sale_InitClass, in its order; owned by the host.
struct Services {
  sl::CSelJetAccess* jet = nullptr;
  sl::CErrMsg* errMsg = nullptr;
  sl::CNmlMsg* nmlMsg = nullptr;
  sl::CGdi* gdi = nullptr;
  sl::CConv* conv = nullptr;
  sl::CConvYmd* convYmd = nullptr;
  sl::CHelp* help = nullptr;
  void* kept8 = nullptr;
  sl::CChildWinInfo* childWinInfo = nullptr;
  sl::CGidMsg* gidMsg = nullptr;
  sl::CCalc* calc = nullptr;
  void* gridResource = nullptr;
  void* kept13 = nullptr;
};

// The values of Sale_SetGlobalValue, in its order.
struct Display {
  QFont* font = nullptr;
  short charWidth = 0;
  short charHeight = 0;
  short spare = 0;
  sl::MTRX_COLOR* colors = nullptr;
  qint32 spare1 = 0;
  qint32 spare2 = 0;
};

Services& services();
Display& display();

}  // namespace slsale
