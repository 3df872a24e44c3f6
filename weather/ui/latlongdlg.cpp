#include "weather/ui/latlongdlg.h"

#include "outside/vqbase106/ui/calendarbox.h"
#include "outside/vqbase106/vqstring.h"
#include "weather/latlong.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

// --- the up-down control --------------------------------------------------------------

CSpinButtonCtrl::CSpinButtonCtrl(QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (auto [button, arrow, steps] : {std::tuple{up_, Qt::UpArrow, 1}, std::tuple{down_, Qt::DownArrow, -1}}) {
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(16, 11);
    layout->addWidget(button);
    connect(button, &QToolButton::clicked, this, [this, steps = steps] { step(steps); });
  }
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CSpinButtonCtrl::SetRange(int low, int high) {
  low_ = low;
  high_ = high;
  SetPos(pos_);
}

void CSpinButtonCtrl::SetPos(int pos) { pos_ = std::clamp(pos, low_, high_); }

void CSpinButtonCtrl::step(int steps) {
  SetPos(pos_ + steps);
  if (buddy_ != nullptr) buddy_->setText(QString::number(pos_));
}

// --- the dialog -----------------------------------------------------------------------

namespace {

struct PartControl {
  int edit;
  int spin;
  int high;
};

// Latitude degrees, minutes, seconds, longitude degrees, minutes, seconds.
constexpr PartControl kPartControls[] = {
    {CLatLongDlg::kIdLatDegrees, CLatLongDlg::kIdLatDegreesSpin, 90},
    {CLatLongDlg::kIdLatMinutes, CLatLongDlg::kIdLatMinutesSpin, 59},
    {CLatLongDlg::kIdLatSeconds, CLatLongDlg::kIdLatSecondsSpin, 59},
    {CLatLongDlg::kIdLonDegrees, CLatLongDlg::kIdLonDegreesSpin, 180},
    {CLatLongDlg::kIdLonMinutes, CLatLongDlg::kIdLonMinutesSpin, 59},
    {CLatLongDlg::kIdLonSeconds, CLatLongDlg::kIdLonSecondsSpin, 59},
};

QString id(int number) { return QString::number(number); }

void setBoxDate(CCalendarBox* box, long date) {
  box->SetDate(int(date / 10000), int(date % 10000 / 100), int(date % 100));
}

}  // namespace

CLatLongDlg::CLatLongDlg(CDaoDatabase& weather, const hv6::PointValues& point, QWidget* parent)
    : QDialog(parent), weather_(weather), values_(point) {
  setObjectName(id(kDialogId));
  setWindowTitle(QStringLiteral("緯度経度の設定"));
  buildControls();
  const int parts[kParts] = {point.latDegrees, point.latMinutes, point.latSeconds,
                             point.lonDegrees, point.lonMinutes, point.lonSeconds};
  for (int i = 0; i < kParts; ++i) {
    spins_[i]->SetRange(0, kPartControls[i].high);
    spins_[i]->SetPos(parts[i]);
    edits_[i]->setText(QString::number(parts[i]));
  }
  if (point.startDate != 0) setBoxDate(startBox_, point.startDate);
  values_.startDate = startBox_->date();
  values_.endDate = endBox_->date();
  endCheck_->setEnabled(point.code > 0);
  endCheck_->setChecked(false);
  applyEndCheck();
}

void CLatLongDlg::buildControls() {
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(4);
  const QString units[] = {QStringLiteral("゜"), QStringLiteral("´"), QStringLiteral("″")};
  for (int i = 0; i < kParts; ++i) {
    const int row = i / 3;
    const int column = i % 3;
    if (column == 0)
      grid->addWidget(new QLabel(row == 0 ? QStringLiteral("緯度") : QStringLiteral("経度"), this),
                      row, 0);
    auto* edit = new QLineEdit(this);
    edit->setObjectName(id(kPartControls[i].edit));
    edit->setAlignment(Qt::AlignRight);
    edit->setMaxLength(4);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    auto* spin = new CSpinButtonCtrl(this);
    spin->setObjectName(id(kPartControls[i].spin));
    spin->SetBuddy(edit);
    edits_[i] = edit;
    spins_[i] = spin;
    auto* part = new QHBoxLayout;
    part->setSpacing(0);
    part->addWidget(edit);
    part->addWidget(spin);
    part->addWidget(new QLabel(units[column], this));
    grid->addLayout(part, row, column + 1);
    connect(edit, &QLineEdit::editingFinished, this, [this, i] { leaveEdit(i); });
  }
  grid->setColumnStretch(4, 1);
  layout->addLayout(grid);

  // The date boxes sit where their statics are, in the dialog's font.
  auto* dates = new QGridLayout;
  auto* startLabel = new QLabel(QStringLiteral("観測の開始日(&S)"), this);
  startLabel->setObjectName(id(kIdStartPlace));
  startBox_ = new CCalendarBox(this);
  startBox_->Create(0, QRect(), this, kIdStartBox);
  startBox_->setCallID(kIdStartBox);
  startBox_->SetYFlag(1);
  startLabel->setBuddy(startBox_->findChild<QWidget*>(QStringLiteral("year")));
  dates->addWidget(startLabel, 0, 0);
  dates->addWidget(startBox_, 0, 1, Qt::AlignLeft);

  endCheck_ = new QCheckBox(QStringLiteral("観測を終わらせる。(&O)"), this);
  endCheck_->setObjectName(id(kIdEndCheck));
  dates->addWidget(endCheck_, 1, 0, 1, 2);
  endLabel_ = new QLabel(QStringLiteral("観測の終了日(&E)"), this);
  endLabel_->setObjectName(id(kIdEndLabel));
  auto* endPlace = new QWidget(this);
  endPlace->setObjectName(id(kIdEndPlace));
  auto* endPlaceLayout = new QHBoxLayout(endPlace);
  endPlaceLayout->setContentsMargins(0, 0, 0, 0);
  endBox_ = new CCalendarBox(endPlace);
  endBox_->Create(0, QRect(), endPlace, kIdEndBox);
  endBox_->setCallID(kIdEndBox);
  endBox_->SetYFlag(1);
  endPlaceLayout->addWidget(endBox_);
  endLabel_->setBuddy(endBox_->findChild<QWidget*>(QStringLiteral("year")));
  dates->addWidget(endLabel_, 2, 0);
  dates->addWidget(endPlace, 2, 1, Qt::AlignLeft);
  dates->setColumnStretch(2, 1);
  layout->addLayout(dates);
  connect(endCheck_, &QCheckBox::toggled, this, [this] { applyEndCheck(); });

  auto* buttons = new QDialogButtonBox(this);
  const auto addButton = [&](QDialogButtonBox::StandardButton which, int number, const QString& text) {
    QPushButton* button = buttons->addButton(which);
    button->setObjectName(id(number));
    button->setText(text);
    return button;
  };
  addButton(QDialogButtonBox::Ok, kIdOk, QStringLiteral("OK"));
  addButton(QDialogButtonBox::Cancel, kIdCancel, QStringLiteral("キャンセル"));
  QPushButton* help = addButton(QDialogButtonBox::Help, kIdHelp, QStringLiteral("ヘルプ(&H)"));
  connect(buttons, &QDialogButtonBox::accepted, this, &CLatLongDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CLatLongDlg::reject);
  connect(help, &QPushButton::clicked, this, &CLatLongDlg::showHelp);
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(f1, &QShortcut::activated, this, &CLatLongDlg::showHelp);
  layout->addWidget(buttons);
}

void CLatLongDlg::leaveEdit(int part) {
  int number = 0;
  if (CVqstring::ChartoMath(edits_[part]->text(), number) == 0)
    spins_[part]->SetPos(number);
  else
    edits_[part]->setText(QString::number(spins_[part]->GetPos()));
}

// The end date can be given only for a stored point, with the check on.
void CLatLongDlg::applyEndCheck() {
  const bool on = values_.code > 0 && endCheck_->isChecked();
  endLabel_->setEnabled(on);
  endBox_->setEnabled(on);
}

void CLatLongDlg::showHelp() {
  if (help_) help_(hv6::FieldLocationEditor::kHelpLatLong);
}

void CLatLongDlg::accept() {
  hv6::PointValues taken = values_;
  int* parts[kParts] = {&taken.latDegrees, &taken.latMinutes, &taken.latSeconds,
                        &taken.lonDegrees, &taken.lonMinutes, &taken.lonSeconds};
  for (int i = 0; i < kParts; ++i) {
    leaveEdit(i);
    CVqstring::ChartoMath(edits_[i]->text(), *parts[i]);
  }
  taken.startDate = startBox_->date();
  taken.endDate = endCheck_->isChecked() ? endBox_->date() : 0;
  if (!hv6::LatLongCheck(weather_).accept(taken)) return;
  values_ = taken;
  QDialog::accept();
}
