#include "weather/ui/weathenv.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "outside/errtext6/errmsg.h"
#include "weather/startdate.h"

namespace {

constexpr long kMsgBadStartDate = 2638;
// Controls that depend on a check box stand indented below it.
constexpr int kIndent = 20;
constexpr int kStartDateWidth = 96;
constexpr int kEntryListWidth = 180;

QString idName(int id) { return QString::number(id); }

QGridLayout* groupGrid(QGroupBox* box) {
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(8, 4, 8, 4);
  grid->setColumnMinimumWidth(0, kIndent);
  grid->setVerticalSpacing(2);
  return grid;
}

}  // namespace

CWeathEnv::CWeathEnv(hv6::AppRegistry& registry, hv6::DialUpEntriesFactory dialUp,
                     QWidget* parent)
    : QWidget(parent),
      registry_(registry),
      dialUp_(std::move(dialUp)),
      settings_(hv6::CommSettings::startingOn(QDate::currentDate())) {
  setObjectName(idName(kDialogId));
  setWindowTitle(QStringLiteral("通信設定"));
  buildControls();
}

// --- controls --------------------------------------------------------------

void CWeathEnv::buildControls() {
  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(8, 8, 8, 8);
  page->setSpacing(6);
  onlineService_ = addCheck(kIdOnlineService, QStringLiteral("ヴェルコネットに接続する(&A)"));
  page->addWidget(onlineService_);
  page->addWidget(buildWeatherGroup());
  page->addWidget(buildConnectionGroup());
  page->addWidget(buildMobileGroup());
  page->addStretch(1);

  for (QCheckBox* check : {onlineService_, weather_}) {
    connect(check, &QCheckBox::toggled, this, &CWeathEnv::applyEnables);
  }
  connect(connectGroup_, &QButtonGroup::buttonToggled, this, &CWeathEnv::applyEnables);
}

QWidget* CWeathEnv::buildWeatherGroup() {
  auto* box = new QGroupBox(this);
  QGridLayout* grid = groupGrid(box);
  weather_ = addCheck(kIdWeather, QStringLiteral("気象通信を行う(&K)"));
  startDate_ = addEdit(kIdStartDate);
  startDate_->setFixedWidth(kStartDateWidth);
  QLabel* label =
      addLabel(kIdStartDateLabel, QStringLiteral("気象データ受信開始日(&J)"), startDate_);
  QLabel* hint = addLabel(kIdStartDateHint, QStringLiteral("(YYYY/MM/DD 例. 2003/06/30)"));
  grid->addWidget(weather_, 0, 0, 1, 4);
  grid->addWidget(label, 1, 1);
  grid->addWidget(startDate_, 1, 2);
  grid->addWidget(hint, 2, 2, 1, 2);
  grid->setColumnStretch(3, 1);
  commonControls_ << weather_;
  startDateControls_ << label << startDate_ << hint;
  return box;
}

QWidget* CWeathEnv::buildConnectionGroup() {
  auto* box = new QGroupBox(this);
  QGridLayout* grid = groupGrid(box);
  connectGroup_ = new QButtonGroup(this);
  disconnectGroup_ = new QButtonGroup(this);
  lan_ = addRadio(kIdLan, QStringLiteral("LAN接続(&L)"), connectGroup_, hv6::kConnectLan);
  QRadioButton* dialUp = addRadio(kIdDialUp, QStringLiteral("ダイヤルアップ接続(&D)"),
                                  connectGroup_, hv6::kConnectDialUp);
  entries_ = new QComboBox(this);
  entries_->setObjectName(idName(kIdEntries));
  entries_->setMinimumWidth(kEntryListWidth);
  QLabel* label = addLabel(kIdDisconnectLabel, QStringLiteral("自動切断"));
  auto* radios = new QHBoxLayout;
  radios->addWidget(label);
  radios->addSpacing(8);
  const QList<QRadioButton*> disconnect{
      addRadio(kIdHangUp, QStringLiteral("する(&S)"), disconnectGroup_, hv6::kHangUp),
      addRadio(kIdKeepLine, QStringLiteral("しない(&I)"), disconnectGroup_, hv6::kKeepLine),
      addRadio(kIdAskHangUp, QStringLiteral("問い合わせる(&Q)"), disconnectGroup_,
               hv6::kAskHangUp)};
  for (QRadioButton* radio : disconnect) radios->addWidget(radio);
  radios->addStretch(1);

  grid->addWidget(lan_, 0, 0, 1, 3);
  grid->addWidget(dialUp, 1, 0, 1, 2);
  grid->addWidget(entries_, 1, 2, Qt::AlignLeft);
  grid->addLayout(radios, 2, 1, 1, 2);
  grid->setColumnStretch(2, 1);
  commonControls_ << lan_ << dialUp;
  dialUpControls_ << entries_ << label;
  for (QRadioButton* radio : disconnect) dialUpControls_ << radio;
  return box;
}

QWidget* CWeathEnv::buildMobileGroup() {
  auto* box = new QGroupBox(this);
  QGridLayout* grid = groupGrid(box);
  mobileDiary_ = addCheck(kIdMobileDiary, QStringLiteral("携帯電話から作業日誌の入力を行う(&T)"));
  userId_ = addEdit(kIdUserId);
  password_ = addEdit(kIdPassword);
  QLabel* userLabel = addLabel(kIdUserIdLabel, QStringLiteral("モバイル作業日誌ID(&M)"), userId_);
  QLabel* passwordLabel =
      addLabel(kIdPasswordLabel, QStringLiteral("接続用パスワード(&P)"), password_);
  grid->addWidget(mobileDiary_, 0, 0, 1, 3);
  grid->addWidget(userLabel, 1, 1);
  grid->addWidget(userId_, 1, 2);
  grid->addWidget(passwordLabel, 2, 1);
  grid->addWidget(password_, 2, 2);
  commonControls_ << mobileDiary_ << userLabel << userId_ << passwordLabel << password_;
  return box;
}

QLabel* CWeathEnv::addLabel(int id, const QString& text, QWidget* buddy) {
  auto* label = new QLabel(text, this);
  label->setObjectName(idName(id));
  if (buddy != nullptr) label->setBuddy(buddy);
  return label;
}

QLineEdit* CWeathEnv::addEdit(int id) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(idName(id));
  return edit;
}

QRadioButton* CWeathEnv::addRadio(int id, const QString& text, QButtonGroup* group, int value) {
  auto* radio = new QRadioButton(text, this);
  radio->setObjectName(idName(id));
  group->addButton(radio, value);
  return radio;
}

QCheckBox* CWeathEnv::addCheck(int id, const QString& text) {
  auto* check = new QCheckBox(text, this);
  check->setObjectName(idName(id));
  return check;
}

// --- sheet steps -------------------------------------------------------------

void CWeathEnv::load(CDaoDatabase* weatherDatabase) {
  hv6::loadCommSettings(hv6::wxfetchIniPath(), registry_, weatherDatabase, settings_);
  if (initialised_) showSettings();
}

void CWeathEnv::initialise() {
  if (initialised_) return;
  // The dial-up controller lives while the page is initialised; making it
  // reports a missing dial library.
  const std::unique_ptr<hv6::DialUpEntries> source = dialUp_ ? dialUp_() : nullptr;
  userId_->setMaxLength(kTextLimit);
  password_->setMaxLength(kTextLimit);
  showSettings();
  fillEntries(source.get());
  initialised_ = true;
}

void CWeathEnv::showEvent(QShowEvent* event) {
  initialise();
  QWidget::showEvent(event);
}

bool CWeathEnv::checkStartDate() {
  if (!initialised_ || hv6::parseStartDate(startDate_->text())) return true;
  CErrMsg().Disp(kMsgBadStartDate, 1);
  startDate_->setFocus();
  startDate_->selectAll();
  return false;
}

void CWeathEnv::save(CDaoDatabase* weatherDatabase) {
  if (initialised_) {
    takeSettings();
    hv6::saveIniSettings(hv6::wxfetchIniPath(), settings_);
    hv6::saveRegistrySettings(registry_, settings_, selectedEntry());
    hv6::saveStartDate(weatherDatabase, settings_.startDate);
  }
  hv6::saveServiceFlags(registry_, settings_);
}

// --- values and rules ------------------------------------------------------

void CWeathEnv::showSettings() {
  onlineService_->setChecked(settings_.terra8Setup != 0);
  weather_->setChecked(settings_.networkSetup != 0);
  startDate_->setText(settings_.startDate);
  if (QAbstractButton* radio = connectGroup_->button(static_cast<int>(settings_.connectMethod)))
    radio->setChecked(true);
  if (QAbstractButton* radio =
          disconnectGroup_->button(static_cast<int>(settings_.disconnectMethod)))
    radio->setChecked(true);
  mobileDiary_->setChecked(settings_.iwDrySetup != 0);
  userId_->setText(settings_.userId);
  password_->setText(settings_.agriPw);
  applyEnables();
}

void CWeathEnv::takeSettings() {
  settings_.terra8Setup = onlineService_->isChecked() ? 1 : 0;
  settings_.networkSetup = weather_->isChecked() ? 1 : 0;
  settings_.startDate = startDate_->text();
  if (connectGroup_->checkedId() >= 0)
    settings_.connectMethod = static_cast<std::uint32_t>(connectGroup_->checkedId());
  if (disconnectGroup_->checkedId() >= 0)
    settings_.disconnectMethod = static_cast<std::uint32_t>(disconnectGroup_->checkedId());
  settings_.iwDrySetup = mobileDiary_->isChecked() ? 1 : 0;
  // The shown page's check boxes are what the user confirmed.
  settings_.terra8Unread = false;
  settings_.iwDryUnread = false;
  settings_.userId = userId_->text();
  settings_.agriPw = password_->text();
  if (const std::optional<QString> entry = selectedEntry()) settings_.phoneEntry = *entry;
}

void CWeathEnv::fillEntries(hv6::DialUpEntries* source) {
  entries_->clear();
  QStringList names;
  if (source == nullptr || !source->listEntries(names)) return;
  names = hv6::sortedEntries(names);
  entries_->addItems(names);
  entries_->setCurrentIndex(hv6::entryIndexFor(names, settings_.phoneEntry));
}

std::optional<QString> CWeathEnv::selectedEntry() const {
  if (entries_->currentIndex() < 0) return std::nullopt;
  return entries_->currentText();
}

void CWeathEnv::applyEnables() {
  const hv6::CommEnables enables =
      hv6::commEnables(onlineService_->isChecked(), weather_->isChecked(), lan_->isChecked());
  enableAll(commonControls_, enables.common);
  enableAll(dialUpControls_, enables.dialUp);
  enableAll(startDateControls_, enables.startDate);
}

void CWeathEnv::enableAll(const QList<QWidget*>& widgets, bool enabled) {
  for (QWidget* widget : widgets) widget->setEnabled(enabled);
}
