#include "tools/ui/photoalbumdlg.h"

#include "outside/picview6/ui/vieweralbum.h"
#include "outside/picview6/ui/viewerwindow.h"
#include "tools/ui/picturebinding.h"

#include <QKeyEvent>
#include <QLabel>

namespace {
constexpr int kViewerId = 2000;
constexpr int kViewerSave = 1332;
constexpr int kViewerDelete = 1333;
}  // namespace

CPhotoAlbumDlg::CPhotoAlbumDlg(CDaoDatabase& db, QList<hv6::PictureRecord> records, QWidget* parent)
    : QDialog(parent),
      records_(db, std::move(records)),
      album_(new CViewerAlbum(this)),
      hint_(new QLabel(QStringLiteral("ダブルクリックすると画像を拡大します。"), this)) {
  setObjectName(QString::number(kDialogId));
  setWindowTitle(QStringLiteral("アルバム"));
  setSizeGripEnabled(true);
  resize(820, 600);
  hint_->setObjectName(QString::number(kHintId));
  album_->Create(QRect(0, 0, width(), height() - 20), this, kAlbumId, kAlbumSelect, kAlbumDelete);
  // Every record in order; one the album refuses is dropped from the list.
  for (int index = 0; index < records_.records().size();) {
    const hv6::PictureRecord& record = records_.records().at(index);
    if (album_->AddData(record.title, record.path, record.levels) < 0) records_.drop(index);
    else ++index;
  }
  if (album_->GetCount() > 0) album_->SetCurSel(0);
  connect(album_, &CViewerAlbum::commandNotified, this, [this](int id, int code) {
    if (id == kAlbumId && code == 1) openSelected();
  });
  connect(album_, &CViewerAlbum::notified, this, [this](int message, int index) {
    if (message != kAlbumDelete || (viewer_ && viewer_->isVisible()) || index < 0) return;
    if (records_.remove(index)) album_->DeleteData(index);
  });
}

CPhotoAlbumDlg::~CPhotoAlbumDlg() {
  if (viewer_) delete viewer_.data();
}

int CPhotoAlbumDlg::hintHeight() const { return std::max(14, hint_->fontMetrics().height() + 2); }

void CPhotoAlbumDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  const int hint = hintHeight();
  album_->setGeometry(0, 0, width(), height() - hint);
  hint_->setGeometry(4, height() - hint, width() - 8, hint);
}

void CPhotoAlbumDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && help_) {
    help_();
    return;
  }
  QDialog::keyPressEvent(event);
}

void CPhotoAlbumDlg::openSelected() {
  const int index = album_->GetCurSel();
  if ((viewer_ && viewer_->isVisible()) || index < 0 || index >= records_.records().size()) return;
  auto* viewer = new CViewerWin(this);
  viewer->Create(this, kViewerId, kViewerSave, kViewerDelete);
  viewer->setWindowTitle(QStringLiteral("画像の表示"));
  hv6::fillViewer(*viewer, records_.records().at(index));
  viewer_ = viewer;
  viewerIndex_ = index;
  connect(viewer, &CViewerWin::notified, this, [this](int message, int) { onViewerNotified(message); });
  viewer->show();
}

void CPhotoAlbumDlg::onViewerNotified(int message) {
  if (!viewer_) return;
  const int index = viewerIndex_;
  if (message == kViewerSave) {
    if (!records_.save(index, hv6::valuesOf(*viewer_))) return;  // the window stays open
    const hv6::PictureRecord& record = records_.records().at(index);
    album_->SetData(index, record.title, record.path, record.levels);
    viewer_->close();
  } else if (message == kViewerDelete) {
    if (!records_.remove(index)) return;
    album_->DeleteData(index);
    viewer_->close();
  }
}
