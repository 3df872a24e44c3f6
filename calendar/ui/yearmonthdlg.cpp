#include "calendar/ui/yearmonthdlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

#include <algorithm>

CYearMonthDlg::CYearMonthDlg(int year, int month, QWidget* parent)
    : QDialog(parent), years_(new QComboBox(this)), months_(new QComboBox(this)) {
  setObjectName(QStringLiteral("140"));
  setWindowTitle(QStringLiteral("表示年月の指定"));
  years_->setObjectName(QStringLiteral("1000"));
  months_->setObjectName(QStringLiteral("1001"));
  for (int y = kFirstYear; y <= kLastYear; ++y) years_->addItem(QString::asprintf("%d 年", y));
  for (int m = 1; m <= 12; ++m) months_->addItem(QString::asprintf("%d 月", m));
  years_->setCurrentIndex(std::clamp(year, kFirstYear, kLastYear) - kFirstYear);
  months_->setCurrentIndex(std::clamp(month, 1, 12) - 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QFormLayout(this);
  layout->addRow(QStringLiteral("年"), years_);
  layout->addRow(QStringLiteral("月"), months_);
  layout->addRow(buttons);
}

int CYearMonthDlg::year() const { return kFirstYear + years_->currentIndex(); }
int CYearMonthDlg::month() const { return 1 + months_->currentIndex(); }
