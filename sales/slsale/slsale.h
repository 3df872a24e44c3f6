#pragma once
// The sales-management library slsale, as a host program sees it.
//
// The host loads libslsale.so at run time and looks its functions up by
// name (the names below; the function types beside them), in this order:
//   InitSelSaleDLL() once, Sale_InitClass(...) with its thirteen service
//   objects (the host owns them; the module never frees them),
//   Sale_SetGlobalValue(...) before the first window;
// then, per window: look it up with its Get accessor (GetE10Wnd, ...); when
// none is open, make one with its factory (Sale_NewE10Wnd(frame), ...),
// call Create(title, style) (0: failed, the box was shown; delete the
// object) and record it with the Set accessor (SetE10Wnd(window, 0)).
//
// A window is a QMdiSubWindow that adds itself to the MDI area of the frame
// it was made for (the host's main window, or a widget inside it; without
// one, the application's active window). It deletes itself when closed;
// on its destruction it resets its registry entry and posts the event
// kSaleChildEventType (message 1354) to the frame, which it also posts
// whenever it stops being the active window: the host refreshes its menus
// and tool bar on that event (check event->type(); the event carries
// nothing else). The service objects must outlive the windows: close
// them before the objects go.
//
// The window classes are declared here with virtual members only, so a
// host that loaded the library at run time calls them without linking it.

#include <QDialog>
#include <QEvent>
#include <QMdiSubWindow>
#include <QtGlobal>

#include <memory>

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
struct SlipWindowState;
}
namespace hv6::sales {
struct FarmLoadResult;
}

#if defined(SLSALE_BUILDING)
#define SLSALE_API Q_DECL_EXPORT
#else
#define SLSALE_API Q_DECL_IMPORT
#endif

namespace slsale {

// Message 1354 (WM_USER + 330) as the event the windows post to the frame.
constexpr int kSaleChildMessage = 1354;
constexpr QEvent::Type kSaleChildEventType = static_cast<QEvent::Type>(QEvent::User + 330);

// Bits of Create's style that the windows follow; the others are kept.
constexpr quint32 kStyleMinimize = 0x20000000;  // WS_MINIMIZE
constexpr quint32 kStyleMaximize = 0x01000000;  // WS_MAXIMIZE

// Registry ids of the module's windows.
enum WindowId : short {
  kE10Id = 50,  // 予約伝票
  kE20Id = 51,  // 売上日報
  kE30Id = 52,  // 売上伝票
  kE40Id = 53,  // 予約日報
  kE50Id = 54,  // 発送準備確認表
  kE60Id = 55,  // 伝票・得意先検索
};

// Help topics the windows select (pages "<topic>.html" of the host's help).
enum HelpTopic : int {
  kE10Help = 30010,
  kE20Help = 30020,
  kE30Help = 30030,
  kE40Help = 30040,
  kE50Help = 30050,
  kE60Help = 30060,
};

// What InitSelSaleDLL returns: the module's record.
struct SaleModuleRecord {
  const char* name;  // "slsale"
  int abiVersion;    // kSaleAbiVersion
};
constexpr int kSaleAbiVersion = 1;

}  // namespace slsale

// The base of the module's MDI child windows.
class SLSALE_API CSaleMdiWnd : public QMdiSubWindow {
 public:
  ~CSaleMdiWnd() override;
  CSaleMdiWnd(const CSaleMdiWnd&) = delete;
  CSaleMdiWnd& operator=(const CSaleMdiWnd&) = delete;

  // Creates the window with the title and style: its buffers and settings,
  // its controls, and its place in the frame's MDI area. Nonzero on
  // success. On failure the reason was shown (without a box when no MDI
  // area was found) and the window stays uncreated: the host deletes it.
  virtual int Create(const QString& title, quint32 style);
  // The registry id of the window.
  virtual short windowId() const;
  virtual bool isCreated() const;

 protected:
  struct Private;

  CSaleMdiWnd(QWidget* frame, short id, int iconId, int helpTopic);
  // The steps of creation particular to a window (see createsteps.h).
  virtual bool prepare();
  // The window's area and its help topic (step 3 of creation).
  void buildContent();
  void setWindowId(short id, int helpTopic);
  // The window that owns the MDI area (null before Create found it).
  QWidget* frameWindow() const;
  Private& d() const { return *d_; }

 private:
  std::unique_ptr<Private> d_;
};

// The slip entry windows: they read the settings and hold the slip marker
// "CheckSelSlip" while open.
class SLSALE_API CSlipWnd : public CSaleMdiWnd {
 public:
  ~CSlipWnd() override;
  // The window's editing state (used inside the library only).
  slsale::SlipWindowState* slipState() const { return slip_.get(); }

 protected:
  CSlipWnd(QWidget* frame, short id, int iconId, int helpTopic, bool salesWindow);
  bool prepare() override;
  // Closing a changed slip asks whether to save it first.
  void closeEvent(QCloseEvent* event) override;

 private:
  void tellFarmFailure(const hv6::sales::FarmLoadResult& loaded);
  bool sales_;
  std::unique_ptr<slsale::SlipWindowState> slip_;
};

class SLSALE_API CE10Wnd : public CSlipWnd {
 public:
  explicit CE10Wnd(QWidget* frame = nullptr);
};

class SLSALE_API CE30Wnd : public CSlipWnd {
 public:
  explicit CE30Wnd(QWidget* frame = nullptr);
};

// The daily reports: mode 0 the sales report (id 51), above 0 the
// reservation report (id 53).
class SLSALE_API CE2040Wnd : public CSaleMdiWnd {
 public:
  explicit CE2040Wnd(QWidget* frame = nullptr);
  // Chooses the report; called before Create.
  virtual void Init(short mode);
  virtual short mode() const { return mode_; }

 protected:
  bool prepare() override;  // the list, its commands, and the conditions asked at once

 private:
  short mode_ = 0;
};

class SLSALE_API CE20Wnd : public CE2040Wnd {
 public:
  explicit CE20Wnd(QWidget* frame = nullptr);
};

class SLSALE_API CE40Wnd : public CE2040Wnd {
 public:
  explicit CE40Wnd(QWidget* frame = nullptr);
};

class SLSALE_API CE50Wnd : public CSaleMdiWnd {
 public:
  explicit CE50Wnd(QWidget* frame = nullptr);

 protected:
  bool prepare() override;  // the list, its commands, and the conditions asked at once
};

class SLSALE_API CE60Wnd : public CSaleMdiWnd {
 public:
  explicit CE60Wnd(QWidget* frame = nullptr);
};

// The module's dialogs by their class names: the template's title, the
// template id as object name.
#define SLSALE_DIALOG(Name)                          \
  class SLSALE_API Name : public QDialog {           \
   public:                                           \
    explicit Name(QWidget* parent = nullptr);        \
    ~Name() override;                                \
  };
SLSALE_DIALOG(CE11Dlg)
SLSALE_DIALOG(CE12Dlg)
SLSALE_DIALOG(CE14Dlg)
SLSALE_DIALOG(CE16Dlg)
SLSALE_DIALOG(CE35Dlg)
SLSALE_DIALOG(CE37Dlg)
SLSALE_DIALOG(CE38Dlg)
SLSALE_DIALOG(CE41dlg)
SLSALE_DIALOG(CE51Dlg)
#undef SLSALE_DIALOG

#include "sales/slsale/childwindows.h"

// The exports, looked up by name. Each function type is named after its
// export with the suffix Fn.
extern "C" {

SLSALE_API slsale::SaleModuleRecord* InitSelSaleDLL();
using InitSelSaleDLLFn = slsale::SaleModuleRecord* (*)();

SLSALE_API void Sale_InitClass(sl::CSelJetAccess* jet, sl::CErrMsg* errMsg, sl::CNmlMsg* nmlMsg,
                               sl::CGdi* gdi, sl::CConv* conv, sl::CConvYmd* convYmd,
                               sl::CHelp* help, void* kept8, sl::CChildWinInfo* childWinInfo,
                               sl::CGidMsg* gidMsg, sl::CCalc* calc, void* gridResource,
                               void* kept13);
using Sale_InitClassFn = void (*)(sl::CSelJetAccess*, sl::CErrMsg*, sl::CNmlMsg*, sl::CGdi*,
                                  sl::CConv*, sl::CConvYmd*, sl::CHelp*, void*,
                                  sl::CChildWinInfo*, sl::CGidMsg*, sl::CCalc*, void*, void*);

SLSALE_API void Sale_SetGlobalValue(QFont* font, short charWidth, short charHeight, short spare,
                                    sl::MTRX_COLOR* colors, qint32 spare1, qint32 spare2);
using Sale_SetGlobalValueFn = void (*)(QFont*, short, short, short, sl::MTRX_COLOR*, qint32,
                                       qint32);

// Window factories: Sale_NewE10Wnd, Sale_NewE20Wnd, Sale_NewE30Wnd,
// Sale_NewE40Wnd, Sale_NewE50Wnd, Sale_NewE60Wnd, Sale_NewE2040Wnd (call
// Init on the CE2040Wnd before Create).
using Sale_NewWndFn = CSaleMdiWnd* (*)(QWidget* frame);
SLSALE_API CSaleMdiWnd* Sale_NewE10Wnd(QWidget* frame);
SLSALE_API CSaleMdiWnd* Sale_NewE20Wnd(QWidget* frame);
SLSALE_API CSaleMdiWnd* Sale_NewE30Wnd(QWidget* frame);
SLSALE_API CSaleMdiWnd* Sale_NewE40Wnd(QWidget* frame);
SLSALE_API CSaleMdiWnd* Sale_NewE50Wnd(QWidget* frame);
SLSALE_API CSaleMdiWnd* Sale_NewE60Wnd(QWidget* frame);
SLSALE_API CE2040Wnd* Sale_NewE2040Wnd(QWidget* frame);
using Sale_NewE2040WndFn = CE2040Wnd* (*)(QWidget* frame);

// Dialog factories: Sale_NewE11Dlg ... Sale_NewE51Dlg, Sale_NewE41dlg.
using Sale_NewDlgFn = QDialog* (*)(QWidget* parent);
SLSALE_API QDialog* Sale_NewE11Dlg(QWidget* parent);
SLSALE_API QDialog* Sale_NewE12Dlg(QWidget* parent);
SLSALE_API QDialog* Sale_NewE14Dlg(QWidget* parent);
SLSALE_API QDialog* Sale_NewE16Dlg(QWidget* parent);
SLSALE_API QDialog* Sale_NewE35Dlg(QWidget* parent);
SLSALE_API QDialog* Sale_NewE37Dlg(QWidget* parent);
SLSALE_API QDialog* Sale_NewE38Dlg(QWidget* parent);
SLSALE_API QDialog* Sale_NewE41dlg(QWidget* parent);
SLSALE_API QDialog* Sale_NewE51Dlg(QWidget* parent);

// The child-window registry: GetXWnd, SetXWnd and ResetXWnd for every id
// of the sales host and its modules (see childwindows.h for the ids).
using Sale_GetWndFn = QWidget* (*)();
using Sale_SetWndFn = int (*)(QWidget* window, short flag);
using Sale_ResetWndFn = int (*)(short flag);

}  // extern "C"
