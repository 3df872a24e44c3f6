#pragma once
// The view of the frame. The calendar comes later; until then the view is
// an empty area showing the frame's background picture and re-opens the
// diary database when asked to reload.

#include <QImage>
#include <QWidget>

namespace hv6 {
class AppCore;
}

class CHrvView final : public QWidget {
  Q_OBJECT

 public:
  explicit CHrvView(hv6::AppCore& core, QWidget* parent = nullptr);

  // The background picture (a bitmap id of the frame's pictures).
  void setBackdrop(int pictureId);
  int backdrop() const { return pictureId_; }

  // Re-opens the diary database and reloads; true when it is open.
  bool reload();

 Q_SIGNALS:
  void reloaded(bool diaryOpen);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  hv6::AppCore& core_;
  int pictureId_ = 0;
  QImage cached_;  // the picture rendered for the current size
};
