#pragma once
// CMeterBar: the status-bar progress meter. It repaints at once on every
// change, so it moves while the UI thread is busy loading.

#include <QString>
#include <QWidget>

class CMeterBar : public QWidget {
  Q_OBJECT

 public:
  explicit CMeterBar(QWidget* parent = nullptr);

  // Shows text and an empty meter; kind is kept for the caller (0 plain).
  void StartMeter(const QString& text, int kind = 0);
  // percent is clamped to 0..100.
  void SetMeter(int percent);
  void EndMeter();

  bool isRunning() const { return running_; }
  int percent() const { return percent_; }
  QString text() const { return text_; }
  int kind() const { return kind_; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
  int kind_ = 0;
  int percent_ = 0;
  bool running_ = false;
};
