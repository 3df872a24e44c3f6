#pragma once
// The photo commands with their windows: CPhotoDesk binds the picture
// library's windows (chooser, import window, viewer, album dialog) to the
// commands' logic; CCalendarPhotos runs them for the calendar view (its
// selected day, its photo marks) and is what the frame owns.

#include "outside/picview6/ui/viewerwindow.h"
#include "tools/photocommands.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class CHrvView;
class CPhotoAlbumDlg;


class QWidget;

class CPhotoDesk final : public QObject, private hv6::PictureWindows {
  Q_OBJECT

 public:
  static constexpr int kEditId = 3000;
  static constexpr int kEditSave = 1327;
  static constexpr int kEditClose = 1328;
  static constexpr int kEditReserved = 1329;
  static constexpr int kViewerId = 2000;
  static constexpr int kViewerSave = 1332;
  static constexpr int kViewerDelete = 1333;

  // owner: the window the picture windows are centred on and belong to.
  CPhotoDesk(hv6::PhotoHost& host, QWidget* owner);
  ~CPhotoDesk() override;

  // Runs 32814, 32815 or 32816; false for another id.
  bool run(int id) { return commands_.run(id); }

  CViewerEdit* editWindow() const { return edit_; }
  CViewerWin* viewer() const { return viewer_; }
  const hv6::PhotoCommands& commands() const { return commands_; }
  void setHelpHandler(std::function<void()> handler) { help_ = std::move(handler); }

 Q_SIGNALS:
  // The album dialog, just before it runs modally.
  void albumOpening(CPhotoAlbumDlg* dialog);

 private:
  QStringList chooseFiles() override;
  // A window closed by the user is gone even before it is deleted.
  bool editWindowOpen() const override { return edit_ && edit_->isVisible(); }
  void openEditWindow(const hv6::PictureRecord& record) override;
  bool viewerOpen() const override { return viewer_ && viewer_->isVisible(); }
  void openViewer(const hv6::PictureRecord& record) override;
  void runAlbum(const QList<hv6::PictureRecord>& records) override;

  hv6::PhotoHost& host_;
  QWidget* owner_;
  hv6::PhotoCommands commands_;
  QPointer<CViewerEdit> edit_;
  QPointer<CViewerWin> viewer_;
  std::function<void()> help_;
};

// The calendar view as the photo commands' host: the diary database, the
// selected day, the context menu's day and the photo marks.
class CCalendarPhotos final : private hv6::PhotoHost {
 public:
  CCalendarPhotos(CHrvView& view, std::function<CDaoDatabase*()> database, QWidget* owner);
  ~CCalendarPhotos() override;

  // A command from the menus or tool bar: on the calendar's selected day.
  bool run(int id);
  // A command from the day's context menu: on the day it was opened on.
  bool runOnDay(int id, long date);

  CPhotoDesk& desk() { return *desk_; }

 private:
  CDaoDatabase* diaryDatabase() override;
  long selectedDate() const override;
  void clearContextDate() override;
  void redrawMarks() override;

  CHrvView& view_;
  std::function<CDaoDatabase*()> database_;
  long day_ = 0;  // the context menu's day of the running command
  std::unique_ptr<CPhotoDesk> desk_;
};
