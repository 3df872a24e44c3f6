#pragma once
// The picture windows: CViewerEdit (a picture being imported) and CViewerWin
// (a registered picture). Both show the picture fitted at its display rate
// with the title, the memo, the date (date box), the three effect sliders
// and the display rate, and tell their owner of save and delete through
// notified(message, code) with the message numbers given at creation.
// Control names: "picture", "title", "memo", "date", "bright", "contrast",
// "sharp", "resetEffects", "rate", "path", "save", "delete", "close".

#include "outside/picview6/eftdib.h"

#include <QString>
#include <QWidget>

#include <array>

class CCalendarBox;
class CPictureView;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;

class CPictureWindow : public QWidget {
  Q_OBJECT

 public:
  // Title and memo are cut to this many bytes (code page 932), as the
  // owner's buffers hold them.
  static constexpr int kTextBytes = 254;

  ~CPictureWindow() override;

  void SetTitle(const QString& title);
  void SetMemo(const QString& memo);
  // A date that is no day of the calendar is kept as given (and given back by
  // GetDate) until the user picks a date in the box.
  void SetDate(int year, int month, int day);
  void SetEftLevel(int index, long level, int redraw = 1);
  // rate in percent of the window-fitted size; flag: a rate was chosen.
  void SetDispRate(long rate, int flag, int reserved = 0);
  void SetPicturePath(const QString& path);

  void GetDate(int& year, int& month, int& day) const;
  QString GetPicturePath() const { return path_; }
  QString GetTitle() const;
  QString GetMemo() const;
  long GetEftLevel(int index) const;
  // The rate; answers whether a rate was chosen.
  int GetDispRate(long& rate) const;

  CPictureView* pictureView() const { return view_; }

 Q_SIGNALS:
  // message: one of the numbers given at creation; code: what happened.
  void notified(int message, int code);

 protected:
  explicit CPictureWindow(QWidget* owner);
  // Places the window over its owner, with the child id as objectName.
  void createWindow(QWidget* owner, int id);
  // The column of fields, for the windows that add their own.
  QWidget* fieldsColumn() const { return fields_; }
  void insertField(QWidget* field);
  QPushButton* saveButton() const { return save_; }
  QPushButton* deleteButton() const { return delete_; }
  // Told of SetDate and SetPicturePath.
  virtual void dateGiven(long) {}
  virtual void pictureSet(const QString&) {}

 private:
  void applyEffects();
  void onRateChosen(int index);
  void showRate(long rate);

  CPictureView* view_;
  QWidget* fields_;
  QLineEdit* title_;
  QPlainTextEdit* memo_;
  CCalendarBox* date_;
  std::array<QSlider*, CEftDib::kEffectCount> sliders_{};
  std::array<QLabel*, CEftDib::kEffectCount> levelTexts_{};
  QComboBox* rate_;
  QLabel* pathText_;
  QPushButton* save_;
  QPushButton* delete_;
  QPushButton* close_;
  QString path_;
  long rateValue_ = 100;
  bool rateSet_ = false;
  // A date given that the box cannot show; 0 once the user picked one.
  long rawDate_ = 0;
};

// The window of a picture being imported: save (code 1) and delete (code 2)
// come with the save message; the close message is sent when it closes.
// It offers the date the picture was taken besides the date it was given.
class CViewerEdit final : public CPictureWindow {
  Q_OBJECT

 public:
  explicit CViewerEdit(QWidget* owner = nullptr);

  bool Create(QWidget* owner, int id, int saveMessage, int closeMessage, int reserved);
  void EnableDelete(int enable);
  // The path the picture was chosen from; shown under the picture's own.
  void SetOrgPicturePath(const QString& path);
  QString GetOrgPicturePath() const { return orgPath_; }
  // The date a picture was taken (EXIF), offered beside the date given with
  // SetDate, which stays the default ("givenDate", "takenDate"); 0 for none.
  long takenDate() const { return taken_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dateGiven(long date) override;
  void pictureSet(const QString& path) override;

 private:
  void offerDates();

  QRadioButton* givenChoice_;
  QRadioButton* takenChoice_;
  QLabel* orgText_;
  QString orgPath_;
  long given_ = 0;
  long taken_ = 0;
  bool choosing_ = false;  // a radio button is setting the date
  int saveMessage_ = 0;
  int closeMessage_ = 0;
};

// The window of a registered picture: save and delete send their messages
// (code 0).
class CViewerWin final : public CPictureWindow {
  Q_OBJECT

 public:
  explicit CViewerWin(QWidget* owner = nullptr);

  bool Create(QWidget* owner, int id, int saveMessage, int deleteMessage);

 private:
  int saveMessage_ = 0;
  int deleteMessage_ = 0;
};
