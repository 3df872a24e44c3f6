#pragma once
// CPhotoAlbumDlg: dialog 143 "アルバム". The album of the given pictures;
// a double click opens the viewer of a picture, whose save updates the
// picture and whose delete removes it after a question. The hint 1004 runs
// along the bottom.

#include "outside/picview6/ui/viewerwindow.h"
#include "tools/photocommands.h"

#include <QDialog>
#include <QPointer>

#include <functional>

class CViewerAlbum;

class QLabel;

class CPhotoAlbumDlg final : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 143;
  static constexpr int kAlbumId = 1000;
  static constexpr int kAlbumSelect = 1330;
  static constexpr int kAlbumDelete = 1331;
  static constexpr int kHintId = 1004;
  static constexpr int kHelpTopic = 10034;

  CPhotoAlbumDlg(CDaoDatabase& db, QList<hv6::PictureRecord> records, QWidget* parent = nullptr);
  ~CPhotoAlbumDlg() override;

  CViewerAlbum* album() const { return album_; }
  CViewerWin* viewer() const { return viewer_; }
  const hv6::PhotoAlbum& records() const { return records_; }
  void setHelpHandler(std::function<void()> handler) { help_ = std::move(handler); }
  // Opens the viewer of the selected picture, as a double click does.
  void openSelected();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void onViewerNotified(int message);
  int hintHeight() const;

  hv6::PhotoAlbum records_;
  CViewerAlbum* album_;
  QLabel* hint_;
  QPointer<CViewerWin> viewer_;
  int viewerIndex_ = -1;
  std::function<void()> help_;
};
