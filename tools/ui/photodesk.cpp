#include "tools/ui/photodesk.h"

#include "calendar/commands.h"
#include "calendar/ui/hrvview.h"
#include "outside/picview6/ui/inputfile.h"
#include "outside/picview6/ui/viewerwindow.h"
#include "outside/vqbase106/ui/vqcalendar.h"
#include "tools/ui/photoalbumdlg.h"
#include "tools/ui/picturebinding.h"

CPhotoDesk::CPhotoDesk(hv6::PhotoHost& host, QWidget* owner)
    : host_(host), owner_(owner), commands_(host, *this) {}

CPhotoDesk::~CPhotoDesk() {
  delete edit_.data();
  delete viewer_.data();
}

QStringList CPhotoDesk::chooseFiles() {
  CInputFile input;
  QStringList files;
  if (input.InputFileDlg(owner_, nullptr, 1, nullptr)) input.GetInputFiles(files);
  return files;
}

void CPhotoDesk::openEditWindow(const hv6::PictureRecord& record) {
  auto* edit = new CViewerEdit(owner_);
  edit->Create(owner_, kEditId, kEditSave, kEditClose, kEditReserved);
  edit->setWindowTitle(QStringLiteral("取り込み"));
  hv6::fillEditWindow(*edit, record);
  connect(edit, &CViewerEdit::notified, this, [this](int message, int code) {
    if (message != kEditSave || !edit_) return;
    // Saved or deleted: the window has done its work; otherwise it stays
    // open with what the user entered.
    if (commands_.onEditNotified(code, hv6::valuesOf(*edit_))) edit_->close();
  });
  edit_ = edit;
  edit->show();
}

void CPhotoDesk::openViewer(const hv6::PictureRecord& record) {
  auto* viewer = new CViewerWin(owner_);
  viewer->Create(owner_, kViewerId, kViewerSave, kViewerDelete);
  viewer->setWindowTitle(QStringLiteral("画像の表示"));
  hv6::fillViewer(*viewer, record);
  connect(viewer, &CViewerWin::notified, this, [this](int message, int) {
    if (!viewer_) return;
    if (message == kViewerSave && commands_.onViewerSave(hv6::valuesOf(*viewer_))) viewer_->close();
    else if (message == kViewerDelete && commands_.onViewerDelete()) viewer_->close();
  });
  viewer_ = viewer;
  viewer->show();
}

void CPhotoDesk::runAlbum(const QList<hv6::PictureRecord>& records) {
  CDaoDatabase* db = host_.diaryDatabase();
  if (db == nullptr) return;
  CPhotoAlbumDlg dialog(*db, records, owner_);
  if (help_) dialog.setHelpHandler(help_);
  Q_EMIT albumOpening(&dialog);
  dialog.exec();
}

CCalendarPhotos::CCalendarPhotos(CHrvView& view, std::function<CDaoDatabase*()> database,
                                 QWidget* owner)
    : view_(view), database_(std::move(database)), desk_(std::make_unique<CPhotoDesk>(static_cast<hv6::PhotoHost&>(*this), owner)) {}

CCalendarPhotos::~CCalendarPhotos() = default;

bool CCalendarPhotos::run(int id) { return runOnDay(id, 0); }

bool CCalendarPhotos::runOnDay(int id, long date) {
  day_ = date;
  const bool ran = desk_->run(id);
  day_ = 0;
  return ran;
}

CDaoDatabase* CCalendarPhotos::diaryDatabase() { return database_ ? database_() : nullptr; }

// The day of the context menu when the command came from it (the calendar
// does not move its selection on a right click), else the selected day.
long CCalendarPhotos::selectedDate() const {
  if (day_ != 0) return day_;
  const CVqCalendar* calendar = view_.calendar();
  return calendar->GetYear() * 10000 + calendar->GetMonth() * 100 + calendar->GetDay();
}

void CCalendarPhotos::clearContextDate() { view_.logic().state().selectedDate = 0; }

void CCalendarPhotos::redrawMarks() { view_.reloadData(hv6::Reload::kPhotos); }
