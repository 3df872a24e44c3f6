#include "outside/vqbase106/ui/calendarbox.h"

#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

#include <algorithm>

namespace {

const char* const kWeekNames[] = {"日", "月", "火", "水", "木", "金", "土"};

QSpinBox* makeField(QWidget* parent, int low, int high, const QString& suffix) {
  auto* field = new QSpinBox(parent);
  field->setRange(low, high);
  field->setSuffix(suffix);
  field->setWrapping(false);
  field->setAlignment(Qt::AlignRight);
  field->setKeyboardTracking(false);
  return field;
}

}  // namespace

CCalendarBox::CCalendarBox(QWidget* parent)
    : QWidget(parent),
      year_(makeField(this, 1980, 2050, QStringLiteral("年"))),
      month_(makeField(this, 1, 12, QStringLiteral("月"))),
      day_(makeField(this, 1, 31, QStringLiteral("日"))),
      week_(new QLabel(this)) {
  year_->setObjectName(QStringLiteral("year"));
  month_->setObjectName(QStringLiteral("month"));
  day_->setObjectName(QStringLiteral("day"));
  week_->setObjectName(QStringLiteral("week"));
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  layout->addWidget(year_);
  layout->addWidget(month_);
  layout->addWidget(day_);
  layout->addWidget(week_);
  year_->setVisible(false);
  week_->setVisible(false);
  const QDate today = QDate::currentDate();
  SetDate(today.year(), today.month(), today.day());
  for (QSpinBox* field : {year_, month_, day_})
    connect(field, &QSpinBox::valueChanged, this, &CCalendarBox::onFieldEdited);
}

CCalendarBox::~CCalendarBox() = default;

bool CCalendarBox::Create(unsigned long, const QRect& rect, QWidget* parent, int id) {
  if (parent == nullptr) return false;
  setParent(parent);
  // A Windows combo rectangle includes its drop-down: keep the field height.
  setGeometry(rect.x(), rect.y(), rect.width(), std::min(rect.height(), sizeHint().height()));
  setObjectName(QString::number(id));
  show();
  return true;
}

void CCalendarBox::setCallID(int id) { callId_ = id; }

int CCalendarBox::callID() const { return callId_; }

void CCalendarBox::SetYFlag(int flag) { year_->setVisible(flag == 1); }

void CCalendarBox::SetDispWeek(bool show) { week_->setVisible(show); }

bool CCalendarBox::SetDate(int year, int month, int day) {
  if (!QDate::isValid(year, month, day)) return false;
  setting_ = true;
  if (year < year_->minimum() || year > year_->maximum())
    year_->setRange(std::min(year, year_->minimum()), std::max(year, year_->maximum()));
  year_->setValue(year);
  month_->setValue(month);
  day_->setMaximum(QDate(year, month, 1).daysInMonth());
  day_->setValue(day);
  setting_ = false;
  showWeek();
  return true;
}

void CCalendarBox::GetDate(int& year, int& month, int& day) const {
  year = year_->value();
  month = month_->value();
  day = day_->value();
}

long CCalendarBox::date() const {
  return static_cast<long>(year_->value()) * 10000 + month_->value() * 100 + day_->value();
}

QString CCalendarBox::weekText() const { return week_->text(); }

void CCalendarBox::clampDay() {
  const int last = QDate(year_->value(), month_->value(), 1).daysInMonth();
  day_->setMaximum(last);  // QSpinBox lowers the value with the maximum
}

void CCalendarBox::showWeek() {
  const QDate shown(year_->value(), month_->value(), day_->value());
  week_->setText(QStringLiteral("(%1)").arg(QString::fromUtf8(kWeekNames[shown.dayOfWeek() % 7])));
}

void CCalendarBox::onFieldEdited() {
  if (setting_) return;
  setting_ = true;
  clampDay();
  setting_ = false;
  showWeek();
  Q_EMIT dateChosen(callId_, date());
}
