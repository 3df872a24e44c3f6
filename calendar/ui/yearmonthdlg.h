#pragma once
// Dialog 140 "表示年月の指定": the year (1980-2050) and month to show.

#include <QDialog>

class QComboBox;

class CYearMonthDlg final : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kFirstYear = 1980;
  static constexpr int kLastYear = 2050;

  CYearMonthDlg(int year, int month, QWidget* parent = nullptr);

  int year() const;
  int month() const;

 private:
  QComboBox* years_;
  QComboBox* months_;
};
