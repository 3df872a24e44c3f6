#include "shell/ui/baseinfosheet.h"

#include "outside/dataconv6/dataconv.h"
#include "outside/errtext6/errmsg.h"
#include "shell/startup.h"
#include "shell/ui/compopage.h"
#include "store/ui/informpage.h"
#include "weather/ui/weathenv.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

CAndso::CAndso(QWidget* parent)
    : QWidget(parent),
      daySort_(new QCheckBox(QStringLiteral("台帳を選択日付順に表示する(&E)"), this)) {
  setObjectName(QStringLiteral("133"));
  daySort_->setObjectName(QString::number(kIdDaySort));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(daySort_);
  layout->addStretch();
}

void CAndso::setDaySort(std::uint32_t daySort) { daySort_->setChecked(daySort != 0); }

std::uint32_t CAndso::daySort() const { return daySort_->isChecked() ? 1 : 0; }

CBaseInfo::CBaseInfo(Services services, int mode, const QString& caption, QWidget* parent)
    : QDialog(parent),
      services_(std::move(services)),
      tabs_(new QTabWidget(this)),
      inform_(new CInform(services_.check, mode, tabs_)),
      compo_(new CCompo(tabs_)),
      weathEnv_(new CWeathEnv(services_.registry, services_.dialUp, tabs_)),
      andso_(new CAndso(tabs_)) {
  setObjectName(QStringLiteral("BaseInfo"));
  setWindowTitle(caption);
  tabs_->addTab(inform_, QStringLiteral("データインフォメーション"));
  tabs_->addTab(compo_, QStringLiteral("パスワード"));
  tabs_->addTab(weathEnv_, QStringLiteral("通信設定"));
  tabs_->addTab(andso_, QStringLiteral("その他"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("1"));
  ok->setDefault(true);
  QPushButton* cancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("2"));
  connect(buttons, &QDialogButtonBox::accepted, this, &CBaseInfo::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CBaseInfo::reject);
  layout->addWidget(buttons);
}

CBaseInfo::~CBaseInfo() = default;

bool CBaseInfo::load() {
  if (!hv6::readBaseInfo(services_.registry, values_)) {
    CErrMsg().Disp(2504, 1, 0, hv6::kAppTitle);
    return false;
  }
  inform_->load(values_.dataPath, values_.weatherDataPath);
  compo_->load(values_.passwords);
  weathEnv_->load(services_.weatherDatabase ? services_.weatherDatabase() : nullptr);
  andso_->setDaySort(values_.daySort);
  return true;
}

int CBaseInfo::run() { return load() ? exec() : int(QDialog::Rejected); }

QString CBaseInfo::diaryPath() const { return inform_->diaryPath(); }

// The checks come before any write, so a refused entry leaves every
// setting as it was.
bool CBaseInfo::checkPages() {
  if (weathEnv_->isInitialised() && !weathEnv_->checkStartDate()) {
    tabs_->setCurrentWidget(weathEnv_);
    return false;
  }
  if (!compo_->finalCheck()) return false;
  if (!inform_->checkPresident()) {
    tabs_->setCurrentWidget(inform_);
    return false;
  }
  return true;
}

bool CBaseInfo::writeSettings() {
  hv6::BaseInfoValues values = values_;
  values.dataPath = inform_->diaryPath();
  values.weatherDataPath = inform_->weatherPath();
  values.daySort = andso_->daySort();
  values.passwords = compo_->passwords();
  if (!hv6::writeBaseInfo(services_.registry, values)) {
    CErrMsg().Disp(2503, 1, 0, hv6::kAppTitle);
    return false;
  }
  values_ = values;
  return true;
}

void CBaseInfo::accept() {
  if (!checkPages() || !writeSettings()) return;
  if (!inform_->writeInformation()) {
    tabs_->setCurrentWidget(inform_);
    return;
  }
  weathEnv_->save(services_.weatherDatabase ? services_.weatherDatabase() : nullptr);
  CV6XDataConv().ConvV6toV6X(inform_->diaryPath(), this);
  QDialog::accept();
}
