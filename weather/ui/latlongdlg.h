#pragma once
// Dialog 145 "緯度経度の設定": a point's latitude and longitude (degrees,
// minutes and seconds, each an edit with an up-down control), the first day
// observed and, for a stored point, the end of its observation.

#include "weather/fieldlocation.h"

#include <QDialog>
#include <QWidget>

#include <array>
#include <functional>

class CCalendarBox;
class CDaoDatabase;
class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;

// An up-down control beside an edit, its buddy. The arrows step the
// position within the range and write it into the edit as a number;
// SetPos only moves the position (clamped to the range).
class CSpinButtonCtrl : public QWidget {
  Q_OBJECT

 public:
  explicit CSpinButtonCtrl(QWidget* parent = nullptr);

  void SetBuddy(QLineEdit* edit) { buddy_ = edit; }
  QLineEdit* GetBuddy() const { return buddy_; }
  void SetRange(int low, int high);
  int lower() const { return low_; }
  int upper() const { return high_; }
  void SetPos(int pos);
  int GetPos() const { return pos_; }
  // One arrow step up (positive) or down (negative).
  void step(int steps);

 private:
  QToolButton* up_;
  QToolButton* down_;
  QLineEdit* buddy_ = nullptr;
  int low_ = 0;
  int high_ = 100;
  int pos_ = 0;
};

class CLatLongDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 145;
  enum ControlId {
    kIdEndCheck = 1005,
    kIdLatDegrees = 1040,
    kIdLatMinutes = 1041,
    kIdLonDegrees = 1042,
    kIdLonMinutes = 1043,
    kIdLatDegreesSpin = 1044,
    kIdLatMinutesSpin = 1045,
    kIdLonDegreesSpin = 1046,
    kIdLatSecondsSpin = 1047,
    kIdLonMinutesSpin = 1048,
    kIdStartPlace = 1049,
    kIdEndPlace = 1050,
    kIdEndLabel = 1051,
    kIdLonSecondsSpin = 1052,
    kIdLatSeconds = 1053,
    kIdLonSeconds = 1054,
    kIdStartBox = 2000,
    kIdEndBox = 2001,
    kIdOk = 1,
    kIdCancel = 2,
    kIdHelp = 57670,
  };

  // point: the stored point (code above 0) or a new one (code 0, start 0
  // for today). The checks of OK read the weather database.
  CLatLongDlg(CDaoDatabase& weather, const hv6::PointValues& point, QWidget* parent = nullptr);

  // The values after OK: the six parts, the start and the end (0 when the
  // observation goes on); a new point's number is chosen.
  const hv6::PointValues& values() const { return values_; }
  // The help button and F1 call it with the help context 10017.
  void setHelpHandler(std::function<void(int)> handler) { help_ = std::move(handler); }

  void accept() override;

 private:
  // The six edits in the order latitude degrees, minutes, seconds,
  // longitude degrees, minutes, seconds.
  static constexpr int kParts = 6;
  void buildControls();
  // Leaving an edit: a number moves its spin there; anything else gets the
  // spin's position back.
  void leaveEdit(int part);
  void applyEndCheck();
  void showHelp();

  CDaoDatabase& weather_;
  hv6::PointValues values_;
  std::array<QLineEdit*, kParts> edits_{};
  std::array<CSpinButtonCtrl*, kParts> spins_{};
  CCalendarBox* startBox_ = nullptr;
  CCalendarBox* endBox_ = nullptr;
  QCheckBox* endCheck_ = nullptr;
  QLabel* endLabel_ = nullptr;
  std::function<void(int)> help_;
};
