#pragma once
// CCalendarBox: the date-picker child control (year, month and day fields,
// the week day beside them). A date the user picks is reported with the
// call id the owner gave it.

#include <QRect>
#include <QWidget>

class QLabel;
class QSpinBox;

class CCalendarBox : public QWidget {
  Q_OBJECT

 public:
  explicit CCalendarBox(QWidget* parent = nullptr);
  ~CCalendarBox() override;

  // Places the box on parent at rect; id becomes its objectName.
  bool Create(unsigned long style, const QRect& rect, QWidget* parent, int id);
  void setCallID(int id);
  int callID() const;
  // 1 shows the year field, 0 hides it.
  void SetYFlag(int flag);
  // Shows the week day ("(月)") beside the date; false hides it.
  void SetDispWeek(bool show = true);
  // Sets the fields without reporting dateChosen; an invalid date is refused.
  bool SetDate(int year, int month, int day);
  void GetDate(int& year, int& month, int& day) const;
  long date() const;  // yyyymmdd
  QString weekText() const;  // the shown week day, e.g. "(月)"

 Q_SIGNALS:
  // A date the user chose (the notification 3010 of the tool bar's box).
  void dateChosen(int callId, long yyyymmdd);

 private:
  void onFieldEdited();
  void clampDay();
  void showWeek();

  QSpinBox* year_;
  QSpinBox* month_;
  QSpinBox* day_;
  QLabel* week_;
  int callId_ = 0;
  bool setting_ = false;
};
