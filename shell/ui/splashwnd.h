#pragma once
// The splash window of the start: a frameless picture in the middle of the
// screen that closes after two seconds, or at the first key or mouse press
// anywhere in the program, which it swallows.

#include <QImage>
#include <QTimer>
#include <QWidget>

class CSplashWnd final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kShowMs = 2000;

  explicit CSplashWnd(QImage picture, QWidget* parent = nullptr);
  ~CSplashWnd() override;

  // Shows the picture centred and starts watching the program's input.
  // Nothing is shown for a null picture.
  void ShowSplashScreen();
  void HideSplashScreen();

 Q_SIGNALS:
  void hidden();

 protected:
  // The application's input passes here first while the splash is shown.
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
  QTimer timer_;
  bool watching_ = false;
};
