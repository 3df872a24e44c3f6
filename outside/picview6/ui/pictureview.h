#pragma once
// The picture of a viewer window: read once at a size fit for a screen,
// fitted to the window and shown at the display rate (100 fits the window,
// 200 is twice that, scrolled), with the three effects applied to what is
// shown. A file that cannot be read shows a placeholder with its path.

#include "outside/picview6/picturefile.h"

#include <QImage>
#include <QScrollArea>

#include <array>

class QLabel;

class CPictureView final : public QScrollArea {
  Q_OBJECT

 public:
  explicit CPictureView(QWidget* parent = nullptr);

  void setPath(const QString& path);
  const QString& path() const { return path_; }
  void setLevels(const std::array<long, 3>& levels);
  void setRate(long percent);
  long rate() const { return rate_; }

  picview6::PictureFault fault() const { return read_.fault; }
  // The picture's own size upright; empty when it could not be read.
  QSize pictureSize() const { return read_.fullSize; }
  // What is shown now: the fitted picture with its effects, or the placeholder.
  const QImage& shownImage() const { return shown_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void refresh();

  QLabel* canvas_;
  QString path_;
  picview6::PictureRead read_;
  std::array<long, 3> levels_{};
  long rate_ = 100;
  QImage shown_;
};
