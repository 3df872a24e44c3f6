#pragma once
// The photo commands of the calendar view without widgets: 32814 import,
// 32815 show the selected day's pictures, 32816 the album; the
// notifications of the picture windows; and the album's list of records.
// The windows are reached through PictureWindows, the calendar through
// PhotoHost, so both can be replaced in tests.

#include "tools/picture.h"

#include <QList>
#include <QStringList>

class CDaoDatabase;

namespace hv6 {

namespace PhotoCmd {
constexpr int kImport = 32814;
constexpr int kShow = 32815;
constexpr int kAlbum = 32816;
}  // namespace PhotoCmd

// The confirmation before a picture's row is deleted.
inline const QString kDeleteQuestion = QStringLiteral("この画像を削除してもよろしいですか？\n");

// What the commands need of the calendar.
class PhotoHost {
 public:
  virtual ~PhotoHost() = default;
  // The diary database; nullptr or closed when there is none.
  virtual CDaoDatabase* diaryDatabase() = 0;
  // The calendar's selected day, yyyymmdd.
  virtual long selectedDate() const = 0;
  // Forgets the day the context menu was opened on.
  virtual void clearContextDate() = 0;
  // Redraws the calendar's photo marks.
  virtual void redrawMarks() = 0;
};

// What the commands need of the picture library's windows.
class PictureWindows {
 public:
  virtual ~PictureWindows() = default;
  // The files chosen to import (several at once); empty when cancelled.
  virtual QStringList chooseFiles() = 0;
  virtual bool editWindowOpen() const = 0;
  // The import window ("取り込み", delete disabled) filled with a record.
  virtual void openEditWindow(const PictureRecord& record) = 0;
  virtual bool viewerOpen() const = 0;
  // The viewer filled with a record.
  virtual void openViewer(const PictureRecord& record) = 0;
  // The album over records, modal.
  virtual void runAlbum(const QList<PictureRecord>& records) = 0;
};

// The notification codes of the import window (the second parameter of its
// message 1327).
namespace EditNotify {
constexpr int kSave = 1;
constexpr int kDelete = 2;
constexpr int kSaveAndClose = 3;
}  // namespace EditNotify

class PhotoCommands {
 public:
  PhotoCommands(PhotoHost& host, PictureWindows& windows) : host_(host), windows_(windows) {}

  // The three commands; false for another id.
  bool run(int id);
  void importPictures();
  void showPictures();
  void showAlbum();

  // The import window's notification with the values it holds now; true
  // when the window may close (saved or deleted).
  bool onEditNotified(int code, const PictureRecord& values);
  // The viewer's save: the values update the current picture's row; true
  // when saved.
  bool onViewerSave(const PictureRecord& values);
  // The viewer's delete, after the question; true when the row was deleted.
  bool onViewerDelete();

  const PictureRecord& current() const { return current_; }

 private:
  CDaoDatabase* openDatabase();

  PhotoHost& host_;
  PictureWindows& windows_;
  PictureRecord current_;
};

// The album's records: saving one from its viewer, deleting one after the
// question. The dialog keeps its items in the same order.
class PhotoAlbum {
 public:
  PhotoAlbum(CDaoDatabase& db, QList<PictureRecord> records)
      : db_(db), records_(std::move(records)) {}

  const QList<PictureRecord>& records() const { return records_; }
  // Drops a record the album could not take.
  void drop(int index);
  // Takes the viewer's values into the record (its code kept) and updates
  // the row; true when saved.
  bool save(int index, const PictureRecord& values);
  // Asks the question; on OK deletes the row and drops the record. True
  // when the record is gone (the album then removes its item).
  bool remove(int index);

 private:
  CDaoDatabase& db_;
  QList<PictureRecord> records_;
};

}  // namespace hv6
