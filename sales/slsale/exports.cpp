// The library's exports: entry, service objects, display settings, window
// and dialog factories and the child-window registry accessors.
#include "sales/slsale/slsale.h"

#include "outside/sl_common/childwininfo.h"
#include "sales/slsale/module.h"

#include <new>

using slsale::display;
using slsale::services;

extern "C" {

slsale::SaleModuleRecord* InitSelSaleDLL() {
  // The module's resources (its icons) joined the application's when the
  // library was loaded; the record tells the host which module it holds.
  static slsale::SaleModuleRecord* record =
      new (std::nothrow) slsale::SaleModuleRecord{"slsale", slsale::kSaleAbiVersion};
  return record;
}

void Sale_InitClass(sl::CSelJetAccess* jet, sl::CErrMsg* errMsg, sl::CNmlMsg* nmlMsg,
                    sl::CGdi* gdi, sl::CConv* conv, sl::CConvYmd* convYmd, sl::CHelp* help,
                    void* kept8, sl::CChildWinInfo* childWinInfo, sl::CGidMsg* gidMsg,
                    sl::CCalc* calc, void* gridResource, void* kept13) {
  services() = slsale::Services{jet,          errMsg, nmlMsg, gdi,  conv,         convYmd, help,
                                kept8,        childWinInfo,   gidMsg, calc, gridResource, kept13};
}

void Sale_SetGlobalValue(QFont* font, short charWidth, short charHeight, short spare,
                         sl::MTRX_COLOR* colors, qint32 spare1, qint32 spare2) {
  display() = slsale::Display{font, charWidth, charHeight, spare, colors, spare1, spare2};
}

CSaleMdiWnd* Sale_NewE10Wnd(QWidget* frame) { return new CE10Wnd(frame); }
CSaleMdiWnd* Sale_NewE20Wnd(QWidget* frame) { return new CE20Wnd(frame); }
CSaleMdiWnd* Sale_NewE30Wnd(QWidget* frame) { return new CE30Wnd(frame); }
CSaleMdiWnd* Sale_NewE40Wnd(QWidget* frame) { return new CE40Wnd(frame); }
CSaleMdiWnd* Sale_NewE50Wnd(QWidget* frame) { return new CE50Wnd(frame); }
CSaleMdiWnd* Sale_NewE60Wnd(QWidget* frame) { return new CE60Wnd(frame); }
CE2040Wnd* Sale_NewE2040Wnd(QWidget* frame) { return new CE2040Wnd(frame); }

QDialog* Sale_NewE11Dlg(QWidget* parent) { return new CE11Dlg(parent); }
QDialog* Sale_NewE12Dlg(QWidget* parent) { return new CE12Dlg(parent); }
QDialog* Sale_NewE14Dlg(QWidget* parent) { return new CE14Dlg(parent); }
QDialog* Sale_NewE16Dlg(QWidget* parent) { return new CE16Dlg(parent); }
QDialog* Sale_NewE35Dlg(QWidget* parent) { return new CE35Dlg(parent); }
QDialog* Sale_NewE37Dlg(QWidget* parent) { return new CE37Dlg(parent); }
QDialog* Sale_NewE38Dlg(QWidget* parent) { return new CE38Dlg(parent); }
QDialog* Sale_NewE41dlg(QWidget* parent) { return new CE41dlg(parent); }
QDialog* Sale_NewE51Dlg(QWidget* parent) { return new CE51Dlg(parent); }

// Each accessor forwards to the host's registry (nothing without one).
#define SLSALE_DEFINE_ACCESSORS(name, id)                                   \
  QWidget* Get##name##Wnd() {                                               \
    sl::CChildWinInfo* info = services().childWinInfo;                      \
    return info ? info->GetWindowClassPnt(id) : nullptr;                    \
  }                                                                         \
  int Set##name##Wnd(QWidget* window, short flag) {                         \
    sl::CChildWinInfo* info = services().childWinInfo;                      \
    return info ? info->SetWindowClassPnt(id, window, flag) : 0;            \
  }                                                                         \
  int Reset##name##Wnd(short flag) {                                        \
    sl::CChildWinInfo* info = services().childWinInfo;                      \
    return info ? info->SetWindowClassPnt(id, nullptr, flag) : 0;           \
  }
SLSALE_CHILD_WINDOWS(SLSALE_DEFINE_ACCESSORS)
#undef SLSALE_DEFINE_ACCESSORS

}  // extern "C"
