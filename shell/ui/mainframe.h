#pragma once
// The main frame: title, icon, the calendar view on the background picture
// of the day, the calendar menu and tool bar with the date picker, the
// status bar with its meter, the splash at creation, the environment copy,
// the first activation (window placement, data check, first-start dialog)
// and the closing that is refused while a dialog is open.

#include "outside/hrvcom106/checkv5app.h"
#include "shell/help.h"
#include "shell/launcher.h"
#include "weather/dialupentries.h"
#include "weather/fieldlocation.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class CCalendarBox;
class CCalendarPhotos;
class CHrvView;
class CMeterBar;
class CSplashWnd;
class QAction;
class QMenu;
class QToolBar;

namespace hv6 {
class AppCore;
class CalendarFillers;
class CalendarHost;
class StatusMeter;
class WeatherLibrary;
class WeatherLink;
}

class FrameToolHost;

class CMainFrame final : public QMainWindow {
  Q_OBJECT
  friend class FrameToolHost;

 public:
  enum class Activation {
    Running,           // shown with the data of the settings
    Exiting,           // shown; the first-start dialog asked to end, a close is posted
    FirstStartNeeded,  // data missing and the dialog not allowed: not shown
  };

  static constexpr int kPrevMonth = 10101;
  static constexpr int kNextMonth = 10102;
  static constexpr int kDatePickerId = 3010;

  explicit CMainFrame(hv6::AppCore& core, QWidget* parent = nullptr);
  ~CMainFrame() override;

  // Creates the calendar view with its menu, tool bar and meter; false
  // after message 2504 when a setting is missing (the program cannot start).
  bool OnCreateClient();
  // The fillers of the day cells (empty ones until set); before OnCreateClient.
  void setFillers(std::unique_ptr<hv6::CalendarFillers> fillers);

  // The start-up part of the frame's creation: the background picture of
  // the day, the splash (when wanted), the environment copy.
  void OnCreate(bool showSplash);
  // The first activation.
  Activation ActivateFrame(bool allowFirstStartDialog);
  // A second start's request: restore, raise and activate, then the open
  // pop-up (if any) in front.
  void raiseWindow();

  CHrvView* view() const { return view_; }
  CCalendarBox* datePicker() const { return datePicker_; }
  CMeterBar* meterBar() const { return meterBar_; }
  // Previous (10101) or next (10102) month from the date picker's date.
  void stepMonth(int id);
  CSplashWnd* splash() const { return splash_.get(); }

  static QString closeRefusedText();

  // The frame's action of a command id (objectName = id); nullptr when the
  // frame has none (the calendar's own are the view's).
  QAction* frameAction(int id) const;
  // Carries out a frame command (launchers, help, settings, ...).
  void OnCommand(int id);
  // Offering the launcher entries again: the tool bar's buttons, 2911.
  void applyLaunchers();
  // The main tool bar's launcher buttons (hidden when not offered).
  QToolBar* launcherToolBar() const { return launcherBar_; }
  QMenu* toolsMenu() const { return toolsMenu_; }
  hv6::ProgramLauncher& programLauncher() { return launcher_; }
  // Where help pages open; the desktop's browser unless replaced (tests).
  void setHelpOpener(hv6::PageOpener opener) { helpOpener_ = std::move(opener); }
  void setHelpPath(const QString& path) { helpPath_ = path; }
  // The weather library and the connection steps of the weather command;
  // wxfetch6 and hv6::makeWeatherLink unless replaced (tests).
  void setWeatherLibrary(std::unique_ptr<hv6::WeatherLibrary> library);
  void setWeatherLinkFactory(std::function<std::unique_ptr<hv6::WeatherLink>()> factory);

 Q_SIGNALS:
  // The frame closed: the program ends.
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // A dialog or another top-level window of the program in front of the
  // frame; nullptr when there is none.
  QWidget* openPopup() const;
  bool loadPlacement();
  void savePlacement();
  void loadToolBarState();
  void saveToolBarState();

  void createMenus();
  QMenu* createFileMenu();
  void createCalendarMenu();
  void createLauncherMenus();
  void createHelpMenu();
  void createLauncherToolBar();
  void createCalendarToolBar();
  void createStatusBar();
  QAction* addFrameAction(int id, const QString& text);
  void updateToolsMenu();
  void updateCommandStates();
  void onViewCommand(int id);
  void launch(int id);
  void showHelp(int topic);
  void runMenuSettings();
  void runBaseInfo();
  void runMobileImport();
  void runMobileSettings();
  void runFieldLocations();
  // The data tools (new data, backup, restore, maintenance) and the
  // enquiry program.
  void runDataTool(int id);
  void runEnquiry();
  // The first-start dialog's new data (modes 1, 2) and data folder.
  bool firstStartNewData(int mode);
  std::optional<QString> firstStartDataFolder();
  void runWeatherRetrieval();
  void showVersion();
  void showNotYetAvailable();
  QList<CCheckV5App::LauncherProgram> launcherPrograms() const;
  // The entry list of the base-information sheet's communication page: the
  // dial-up controller.
  hv6::DialUpEntriesFactory dialUpEntries();
  // A menu item of its own that carries out a frame command.
  QAction* forwardingItem(int id, const QString& text, QObject* owner);
  // Today as yyyymmdd.
  static long today();

  hv6::AppCore& core_;
  std::unique_ptr<hv6::CalendarHost> host_;
  std::unique_ptr<hv6::CalendarFillers> fillers_;
  std::unique_ptr<hv6::StatusMeter> meter_;
  // The photo commands 32814-32816 and their windows.
  std::unique_ptr<CCalendarPhotos> photos_;
  CHrvView* view_ = nullptr;
  CCalendarBox* datePicker_ = nullptr;
  CMeterBar* meterBar_ = nullptr;
  std::unique_ptr<CSplashWnd> splash_;
  std::map<int, QAction*> frameActions_;
  QToolBar* launcherBar_ = nullptr;
  QMenu* toolsMenu_ = nullptr;
  QList<QAction*> toolsLauncherItems_;
  hv6::ProgramLauncher launcher_;
  hv6::PageOpener helpOpener_;
  QString helpPath_;
  // The observation numbers in use; kept while the program runs.
  hv6::ObservationSlots observationSlots_;
  std::unique_ptr<hv6::WeatherLibrary> weatherLibrary_;
  std::function<std::unique_ptr<hv6::WeatherLink>()> weatherLinkFactory_;
};
