#pragma once
// CHrvView: the calendar view. Hosts the calendar control (1025) on the
// frame's background picture, binds the view logic to it (the sink of the
// fillers), handles the calendar commands, the two context menus, dialog
// 140, printing and the refresh when the frame is activated again.

#include "calendar/filler.h"
#include "calendar/printing.h"
#include "calendar/viewlogic.h"

#include <QImage>
#include <QWidget>

#include <map>
#include <memory>

class CVqCalendar;
class QAction;
class QMenu;

namespace hv6 {
class CalendarHost;
}

class CHrvView final : public QWidget, private hv6::CalendarSink {
  Q_OBJECT

 public:
  static constexpr int kControlId = 1025;

  // The view, or nullptr after message 2504 when a setting is missing.
  static CHrvView* create(hv6::CalendarHost& host, hv6::CalendarFillers& fillers,
                          QWidget* parent = nullptr);
  ~CHrvView() override;

  // The first update: the display type, the six-day cycle, today's month.
  void OnInitialUpdate(long today);

  // The background picture (a bitmap id of the frame's pictures).
  void setBackdrop(int pictureId);
  int backdrop() const { return pictureId_; }
  // The status meter (not owned); none until set.
  void setMeter(hv6::CalendarMeter* meter);

  // Refresh: re-opens the diary database and reloads all; true when open.
  bool reload();
  void reloadData(int flags);
  // Sets year, month and day; the control's date change reloads all.
  void moveTo(int year, int month, int day);
  // The commands 11001-11027, 32822, 32823, 57607, 57609.
  void OnCommand(int id);

  // The action of a command (objectName = id); nullptr for other ids.
  QAction* commandAction(int id) const;
  // Check marks, enabling and the week/month text from the state.
  void updateCommandActions();

  // The pop-up menus as they would open now (for the frame and tests).
  std::unique_ptr<QMenu> controlMenu();
  std::unique_ptr<QMenu> dayMenu();

  CVqCalendar* calendar() const { return calendar_; }
  hv6::CalendarViewLogic& logic() { return logic_; }
  const hv6::ReloadReport& lastReload() const { return lastReload_; }
  hv6::CalendarPrintJob printJob() const;

  // Closing of the frame: the settings (and the backup reminder).
  void saveSettings(long today);

 Q_SIGNALS:
  void reloaded(bool diaryOpen);
  void titleChanged(const QString& title);
  // The control's date after a change (for the date picker).
  void dateShown(int year, int month, int day);
  // Commands the frame carries out (57665, 32773, 32814, 32815, 10001-10004).
  void commandRequested(int id);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  CHrvView(hv6::CalendarHost& host, hv6::CalendarFillers& fillers, QWidget* parent);
  void createActions();
  QAction* addCommand(int id, const QString& text, bool checkable);
  void onDateChanged(long date);
  void onDayRightClicked(long date, const QPoint& globalPos);
  void onControlRightClicked(const QPoint& globalPos);
  void chooseYearMonth();
  void print();
  void preview();
  void onReactivated();
  void addModeItems(QMenu& menu);

  // The sink on the control.
  void addMemo(long month, long day, const QString& text, unsigned long colour) override;
  void delMemo(long date, const QString& text) override;
  void setWeatherItems(long month, long day, long a, long b, long c) override;
  void delWeatherItems(long date) override;
  void setMark(long month, long day) override;
  void delMark(long date) override;
  void compulsoryRedraw() override;

  hv6::CalendarHost& host_;
  hv6::CalendarViewLogic logic_;
  CVqCalendar* calendar_;
  hv6::CalendarMeter* meter_ = nullptr;
  std::map<int, QAction*> actions_;
  hv6::ReloadReport lastReload_;
  int pictureId_ = 0;
  QImage cached_;
  bool deactivated_ = false;
  bool moving_ = false;
};
