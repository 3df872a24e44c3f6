#pragma once
// The main frame: title, icon, the view with the background picture of the
// day, the splash at creation, the environment copy, the first activation
// (window placement, data check, first-start dialog) and the closing that
// is refused while a dialog is open.

#include <QMainWindow>

#include <memory>

class CHrvView;
class CSplashWnd;

namespace hv6 {
class AppCore;
}

class CMainFrame final : public QMainWindow {
  Q_OBJECT

 public:
  enum class Activation {
    Running,           // shown with the data of the settings
    Exiting,           // shown; the first-start dialog asked to end, a close is posted
    FirstStartNeeded,  // data missing and the dialog not allowed: not shown
  };

  explicit CMainFrame(hv6::AppCore& core, QWidget* parent = nullptr);
  ~CMainFrame() override;

  // The start-up part of the frame's creation: the background picture of
  // the day, the splash (when wanted), the environment copy.
  void OnCreate(bool showSplash);
  // The first activation.
  Activation ActivateFrame(bool allowFirstStartDialog);
  // A second start's request: restore, raise and activate, then the open
  // pop-up (if any) in front.
  void raiseWindow();

  CHrvView* view() const { return view_; }
  CSplashWnd* splash() const { return splash_.get(); }

  static QString closeRefusedText();

 Q_SIGNALS:
  // The frame closed: the program ends.
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // A dialog or another top-level window of the program in front of the
  // frame; nullptr when there is none.
  QWidget* openPopup() const;
  bool loadPlacement();
  void savePlacement();
  void loadToolBarState();
  void saveToolBarState();

  hv6::AppCore& core_;
  CHrvView* view_;
  std::unique_ptr<CSplashWnd> splash_;
};
