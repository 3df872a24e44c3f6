#include "outside/picview6/ui/viewerwindow.h"

#include "outside/picview6/exifdate.h"
#include "outside/picview6/ui/pictureview.h"
#include "outside/vqbase106/ui/calendarbox.h"
#include "platform/codec.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QVBoxLayout>

namespace {

constexpr int kRates[] = {25, 50, 75, 100, 125, 150, 200, 300};
const char* const kEffectNames[] = {"bright", "contrast", "sharp"};
const char16_t* const kEffectTexts[] = {u"明るさ", u"コントラスト", u"シャープネス"};

QString dateText(long date) {
  return QStringLiteral("%1/%2/%3")
      .arg(date / 10000)
      .arg(date % 10000 / 100, 2, 10, QLatin1Char('0'))
      .arg(date % 100, 2, 10, QLatin1Char('0'));
}

}  // namespace

CPictureWindow::CPictureWindow(QWidget* owner)
    : QWidget(owner, Qt::Window),
      view_(new CPictureView(this)),
      fields_(new QWidget(this)),
      title_(new QLineEdit(fields_)),
      memo_(new QPlainTextEdit(fields_)),
      date_(new CCalendarBox(fields_)),
      rate_(new QComboBox(fields_)),
      pathText_(new QLabel(this)),
      save_(new QPushButton(QStringLiteral("保存(&S)"), fields_)),
      delete_(new QPushButton(QStringLiteral("削除(&D)"), fields_)),
      close_(new QPushButton(QStringLiteral("閉じる(&C)"), fields_)) {
  setAttribute(Qt::WA_DeleteOnClose);
  title_->setObjectName(QStringLiteral("title"));
  memo_->setObjectName(QStringLiteral("memo"));
  memo_->setTabChangesFocus(true);
  date_->setObjectName(QStringLiteral("date"));
  date_->SetYFlag(1);
  date_->SetDispWeek(true);
  rate_->setObjectName(QStringLiteral("rate"));
  pathText_->setObjectName(QStringLiteral("path"));
  pathText_->setTextFormat(Qt::PlainText);
  pathText_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  save_->setObjectName(QStringLiteral("save"));
  delete_->setObjectName(QStringLiteral("delete"));
  close_->setObjectName(QStringLiteral("close"));
  save_->setDefault(true);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("タイトル"), title_);
  form->addRow(QStringLiteral("日付"), date_);
  form->addRow(QStringLiteral("メモ"), memo_);
  auto* effects = new QGroupBox(QStringLiteral("画像の調整"), fields_);
  auto* effectForm = new QFormLayout(effects);
  for (int index = 0; index < CEftDib::kEffectCount; ++index) {
    auto* slider = new QSlider(Qt::Horizontal, effects);
    slider->setObjectName(QString::fromLatin1(kEffectNames[index]));
    slider->setRange(int(CEftDib::kMinLevel), int(CEftDib::kMaxLevel));
    slider->setPageStep(10);
    slider->setValue(int(CEftDib::GetEftInitLevel(index)));
    auto* text = new QLabel(QString::number(slider->value()), effects);
    text->setMinimumWidth(text->fontMetrics().horizontalAdvance(QStringLiteral("-100")));
    text->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* row = new QHBoxLayout;
    row->addWidget(slider, 1);
    row->addWidget(text);
    effectForm->addRow(QString::fromUtf16(kEffectTexts[index]), row);
    sliders_[std::size_t(index)] = slider;
    levelTexts_[std::size_t(index)] = text;
    connect(slider, &QSlider::valueChanged, this, [this, text](int value) {
      text->setText(QString::number(value));
      applyEffects();
    });
  }
  auto* reset = new QPushButton(QStringLiteral("標準に戻す"), effects);
  reset->setObjectName(QStringLiteral("resetEffects"));
  effectForm->addRow(QString(), reset);
  connect(reset, &QPushButton::clicked, this, [this] {
    for (int index = 0; index < CEftDib::kEffectCount; ++index)
      sliders_[std::size_t(index)]->setValue(int(CEftDib::GetEftInitLevel(index)));
  });
  for (int rate : kRates) rate_->addItem(QStringLiteral("%1 %").arg(rate), rate);
  form->addRow(QStringLiteral("表示倍率"), rate_);
  connect(rate_, &QComboBox::activated, this, &CPictureWindow::onRateChosen);
  connect(date_, &CCalendarBox::dateChosen, this, [this] { rawDate_ = 0; });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(save_);
  buttons->addWidget(delete_);
  buttons->addWidget(close_);
  auto* column = new QVBoxLayout(fields_);
  column->setContentsMargins(0, 0, 0, 0);
  column->addLayout(form);
  column->addWidget(effects);
  column->addStretch(1);
  column->addLayout(buttons);
  fields_->setFixedWidth(300);
  connect(close_, &QPushButton::clicked, this, &QWidget::close);

  auto* pictureColumn = new QVBoxLayout;
  pictureColumn->addWidget(view_, 1);
  pictureColumn->addWidget(pathText_);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(pictureColumn, 1);
  layout->addWidget(fields_);
  resize(900, 600);
  showRate(100);
}

CPictureWindow::~CPictureWindow() = default;

void CPictureWindow::createWindow(QWidget* owner, int id) {
  setObjectName(QString::number(id));
  if (owner == nullptr) return;
  // Centred over its owner, as large as its screen allows.
  QRect area = owner->window()->geometry();
  if (const QScreen* screen = owner->screen()) area = area.intersected(screen->availableGeometry());
  const QSize size = this->size().boundedTo(QSize(std::max(area.width(), 640), std::max(area.height(), 480)));
  resize(size);
  move(owner->window()->geometry().center() - QPoint(size.width() / 2, size.height() / 2));
}

void CPictureWindow::insertField(QWidget* field) {
  auto* column = static_cast<QVBoxLayout*>(fields_->layout());
  column->insertWidget(1, field);
}

void CPictureWindow::SetTitle(const QString& title) { title_->setText(title); }
void CPictureWindow::SetMemo(const QString& memo) { memo_->setPlainText(memo); }

void CPictureWindow::SetDate(int year, int month, int day) {
  const long date = long(year) * 10000 + month * 100 + day;
  rawDate_ = date_->SetDate(year, month, day) ? 0 : date;
  // The box shows the nearest day it can, for the user to mend from there.
  if (rawDate_ != 0 && month >= 1 && month <= 12 && year >= 1)
    date_->SetDate(year, month, std::clamp(day, 1, QDate(year, month, 1).daysInMonth()));
  dateGiven(date);
}

void CPictureWindow::GetDate(int& year, int& month, int& day) const {
  if (rawDate_ != 0) {
    year = int(rawDate_ / 10000), month = int(rawDate_ % 10000 / 100), day = int(rawDate_ % 100);
    return;
  }
  date_->GetDate(year, month, day);
}

void CPictureWindow::SetEftLevel(int index, long level, int) {
  if (index < 0 || index >= CEftDib::kEffectCount) return;
  sliders_[std::size_t(index)]->setValue(int(CEftDib::ClampLevel(level)));
}

long CPictureWindow::GetEftLevel(int index) const {
  if (index < 0 || index >= CEftDib::kEffectCount) return 0;
  return sliders_[std::size_t(index)]->value();
}

void CPictureWindow::SetDispRate(long rate, int flag, int) {
  rateSet_ = flag != 0;
  showRate(rate >= 1 ? rate : 100);
}

int CPictureWindow::GetDispRate(long& rate) const {
  rate = rateValue_;
  return rateSet_ ? 1 : 0;
}

void CPictureWindow::showRate(long rate) {
  rateValue_ = rate;
  int index = rate_->findData(int(rate));
  if (index < 0) {
    // A stored rate of another value keeps its own entry.
    int place = 0;
    while (place < rate_->count() && rate_->itemData(place).toInt() < rate) ++place;
    rate_->insertItem(place, QStringLiteral("%1 %").arg(rate), int(rate));
    index = place;
  }
  rate_->setCurrentIndex(index);
  view_->setRate(rate);
}

void CPictureWindow::onRateChosen(int index) {
  rateSet_ = true;
  showRate(rate_->itemData(index).toInt());
}

void CPictureWindow::SetPicturePath(const QString& path) {
  path_ = path;
  view_->setPath(path);
  pathText_->setText(path);
  pathText_->setToolTip(path);
  applyEffects();
  pictureSet(path);
}

QString CPictureWindow::GetTitle() const {
  return hv6::cp932::cutToBytes(title_->text(), kTextBytes);
}

QString CPictureWindow::GetMemo() const {
  return hv6::cp932::cutToBytes(memo_->toPlainText(), kTextBytes);
}

void CPictureWindow::applyEffects() {
  std::array<long, 3> levels{};
  for (std::size_t index = 0; index < levels.size(); ++index) levels[index] = sliders_[index]->value();
  view_->setLevels(levels);
}

// ---- CViewerEdit --------------------------------------------------------------

CViewerEdit::CViewerEdit(QWidget* owner)
    : CPictureWindow(owner),
      givenChoice_(new QRadioButton(fieldsColumn())),
      takenChoice_(new QRadioButton(fieldsColumn())),
      orgText_(new QLabel(this)) {
  givenChoice_->setObjectName(QStringLiteral("givenDate"));
  takenChoice_->setObjectName(QStringLiteral("takenDate"));
  auto* box = new QGroupBox(QStringLiteral("登録する日付"), fieldsColumn());
  auto* layout = new QVBoxLayout(box);
  layout->addWidget(givenChoice_);
  layout->addWidget(takenChoice_);
  insertField(box);
  box->setVisible(false);
  orgText_->setObjectName(QStringLiteral("orgPath"));
  orgText_->setTextFormat(Qt::PlainText);
  orgText_->setVisible(false);
  const auto choose = [this](long date) {
    if (date == 0) return;
    choosing_ = true;
    SetDate(int(date / 10000), int(date % 10000 / 100), int(date % 100));
    choosing_ = false;
  };
  connect(givenChoice_, &QRadioButton::toggled, this, [this, choose](bool on) {
    if (on) choose(given_);
  });
  connect(takenChoice_, &QRadioButton::toggled, this, [this, choose](bool on) {
    if (on) choose(taken_);
  });
  connect(saveButton(), &QPushButton::clicked, this, [this] { Q_EMIT notified(saveMessage_, 1); });
  connect(deleteButton(), &QPushButton::clicked, this, [this] { Q_EMIT notified(saveMessage_, 2); });
}

bool CViewerEdit::Create(QWidget* owner, int id, int saveMessage, int closeMessage, int) {
  saveMessage_ = saveMessage;
  closeMessage_ = closeMessage;
  createWindow(owner, id);
  return true;
}

void CViewerEdit::EnableDelete(int enable) { deleteButton()->setEnabled(enable != 0); }

void CViewerEdit::SetOrgPicturePath(const QString& path) {
  orgPath_ = path;
  orgText_->setText(QStringLiteral("元の画像: ") + path);
  orgText_->setVisible(false);
}

void CViewerEdit::dateGiven(long date) {
  // The radio buttons set the date themselves: only a date from outside is
  // the one given.
  if (choosing_) return;
  given_ = date;
  offerDates();
}

void CViewerEdit::pictureSet(const QString& path) {
  taken_ = picview6::exifDateTaken(path).value_or(0);
  orgText_->setVisible(!orgPath_.isEmpty() && orgPath_ != path);
  offerDates();
}

void CViewerEdit::offerDates() {
  QWidget* box = givenChoice_->parentWidget();
  const bool offer = taken_ != 0 && given_ != 0 && taken_ != given_;
  box->setVisible(offer);
  if (!offer) return;
  givenChoice_->setText(QStringLiteral("カレンダーの日付 %1").arg(dateText(given_)));
  takenChoice_->setText(QStringLiteral("撮影日 %1").arg(dateText(taken_)));
  const QSignalBlocker blockGiven(givenChoice_), blockTaken(takenChoice_);
  givenChoice_->setChecked(true);
}

void CViewerEdit::closeEvent(QCloseEvent* event) {
  Q_EMIT notified(closeMessage_, 0);
  CPictureWindow::closeEvent(event);
}

// ---- CViewerWin ---------------------------------------------------------------

CViewerWin::CViewerWin(QWidget* owner) : CPictureWindow(owner) {
  connect(saveButton(), &QPushButton::clicked, this, [this] { Q_EMIT notified(saveMessage_, 0); });
  connect(deleteButton(), &QPushButton::clicked, this,
          [this] { Q_EMIT notified(deleteMessage_, 0); });
}

bool CViewerWin::Create(QWidget* owner, int id, int saveMessage, int deleteMessage) {
  saveMessage_ = saveMessage;
  deleteMessage_ = deleteMessage;
  createWindow(owner, id);
  return true;
}
