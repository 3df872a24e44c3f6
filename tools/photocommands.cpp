#include "tools/photocommands.h"

#include "outside/errtext6/errmsg.h"
#include "platform/dao/database.h"
#include "platform/presenter.h"
#include "tools/picturestore.h"

namespace hv6 {
namespace {

void show(long number) { CErrMsg().Disp(number, 1); }

bool confirmDelete() {
  return showMessage(kDeleteQuestion, kHrvCaption, MsgButtons::OkCancel, MsgIcon::Question) ==
         MsgAnswer::Ok;
}

// The values a window gives back, on the code of the record they belong to.
void takeValues(PictureRecord& record, const PictureRecord& values) {
  const long code = record.code;
  record = values;
  record.code = code;
}

}  // namespace

CDaoDatabase* PhotoCommands::openDatabase() {
  CDaoDatabase* db = host_.diaryDatabase();
  if (db == nullptr || !db->IsOpen()) return nullptr;
  host_.clearContextDate();
  return db;
}

bool PhotoCommands::run(int id) {
  switch (id) {
    case PhotoCmd::kImport: importPictures(); return true;
    case PhotoCmd::kShow: showPictures(); return true;
    case PhotoCmd::kAlbum: showAlbum(); return true;
    default: return false;
  }
}

void PhotoCommands::importPictures() {
  CDaoDatabase* db = openDatabase();
  if (db == nullptr) return;
  const QStringList files = windows_.chooseFiles();
  if (files.isEmpty()) return;
  const long date = host_.selectedDate();
  if (files.size() == 1) {
    if (!isPictureType(files.first())) {
      show(PhotoMsg::kNotAPicture);
    } else if (!windows_.editWindowOpen()) {
      current_ = newPicture(date, files.first());
      windows_.openEditWindow(current_);
    }
  } else {
    for (const QString& file : files) {
      if (!isPictureType(file)) {
        show(PhotoMsg::kNotAPicture);
        continue;
      }
      PictureRecord record = newPicture(date, file);
      SavePicture(*db, true, record);
    }
  }
  host_.redrawMarks();
}

bool PhotoCommands::onEditNotified(int code, const PictureRecord& values) {
  CDaoDatabase* db = host_.diaryDatabase();
  if (db == nullptr || !db->IsOpen()) return false;
  bool done = false;
  if (code == EditNotify::kSave || code == EditNotify::kSaveAndClose) {
    takeValues(current_, values);
    done = SavePicture(*db, true, current_);
  } else if (code == EditNotify::kDelete) {
    CErrMsg().Disp(PhotoMsg::kDeleteNotice, 1);
    done = DeletePicture(*db, current_.code);
  }
  host_.redrawMarks();
  return done;
}

void PhotoCommands::showPictures() {
  CDaoDatabase* db = openDatabase();
  if (db == nullptr) return;
  const std::optional<QList<PictureRecord>> records = readPictures(*db, host_.selectedDate());
  if (records) {
    if (records->isEmpty()) {
      show(PhotoMsg::kNoneOnDay);
    } else if (records->size() == 1) {
      if (!windows_.viewerOpen()) {
        current_ = records->first();
        windows_.openViewer(current_);
      }
    } else {
      windows_.runAlbum(*records);
    }
  }
  host_.redrawMarks();
}

bool PhotoCommands::onViewerSave(const PictureRecord& values) {
  CDaoDatabase* db = host_.diaryDatabase();
  if (db == nullptr || !db->IsOpen()) return false;
  takeValues(current_, values);
  const bool saved = SavePicture(*db, false, current_);
  host_.redrawMarks();
  return saved;
}

bool PhotoCommands::onViewerDelete() {
  CDaoDatabase* db = host_.diaryDatabase();
  if (db == nullptr || !db->IsOpen()) return false;
  if (!confirmDelete()) return false;
  const bool deleted = DeletePicture(*db, current_.code);
  host_.redrawMarks();
  return deleted;
}

void PhotoCommands::showAlbum() {
  CDaoDatabase* db = openDatabase();
  if (db == nullptr) return;
  const std::optional<QList<PictureRecord>> records = readPictures(*db, 0);
  if (!records) return;
  if (records->isEmpty()) {
    show(PhotoMsg::kNoneAtAll);
    return;
  }
  windows_.runAlbum(*records);
  host_.redrawMarks();
}

void PhotoAlbum::drop(int index) {
  if (index >= 0 && index < records_.size()) records_.removeAt(index);
}

bool PhotoAlbum::save(int index, const PictureRecord& values) {
  if (index < 0 || index >= records_.size()) return false;
  takeValues(records_[index], values);
  return SavePicture(db_, false, records_[index]);
}

bool PhotoAlbum::remove(int index) {
  if (index < 0 || index >= records_.size()) return false;
  if (!confirmDelete()) return false;
  if (!DeletePicture(db_, records_.at(index).code)) return false;
  records_.removeAt(index);
  return true;
}

}  // namespace hv6
