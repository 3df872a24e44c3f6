#include "calendar/ui/hrvview.h"

#include "calendar/titles.h"
#include "calendar/ui/calendarhost.h"
#include "calendar/ui/yearmonthdlg.h"
#include "outside/vqbase106/ui/vqcalendar.h"
#include "resources/pictures.h"
#include "shell/appregistry.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QVBoxLayout>

#include <cstdint>

namespace {

using namespace hv6::CalendarCmd;
using hv6::CalendarCategory;

constexpr unsigned long kWhite = 0xffffff;
constexpr int kBackdropMargin = 14;  // the frame's picture shows around the calendar

struct CommandText {
  int id;
  const char16_t* text;
};

// Texts of the mode items, as in the calendar's menus.
constexpr CommandText kModeTexts[] = {
    {11001, u"予定表を表示(&S)"}, {11002, u"実施表を表示(&F)"},
    {11003, u"予定-実施の比較(&C)"}, {11004, u"予定-作業日誌の比較(&W)"},
    {11005, u"実施-作業日誌の比較(&A)"}, {11006, u"予定-実施の栽培管理の指針(&M)"},
    {11007, u"品目を表示(&C)"}, {11008, u"作業を表示(&W)"}, {11009, u"作業者を表示(&F)"},
    {11010, u"機械を表示(&M)"}, {11011, u"資材を表示(&A)"}, {11012, u"ほ場を表示(&E)"},
    {11013, u"延作業面積を表示(&J)"}, {11014, u"栽培管理の指針(&I)"},
    {11015, u"品目を表示(&C)"}, {11016, u"仕向先を表示(&O)"}, {11017, u"買参人を表示(&B)"},
    {11018, u"等級・規格を表示(&S)"}, {11019, u"請求日を表示(&B)"}, {11020, u"発送日を表示(&E)"},
    {11021, u"金額表示(&M)"}, {11022, u"数量表示(&A)"}, {11023, u"単価表示(&U)"},
    {11024, u"営農日記(&D)"},
};

QString textOf(int id) {
  for (const CommandText& entry : kModeTexts)
    if (entry.id == id) return QString::fromUtf16(entry.text);
  return QString();
}

long monthOfDate(long date) { return (date % 10000) / 100; }

// A menu item carrying its command id as objectName and data.
QAction* addPlainAction(QMenu& menu, int id, const QString& text, bool checked, bool checkable) {
  QAction* action = menu.addAction(text);
  action->setObjectName(QString::number(id));
  action->setData(id);
  action->setCheckable(checkable);
  action->setChecked(checked);
  return action;
}

}  // namespace

CHrvView* CHrvView::create(hv6::CalendarHost& host, hv6::CalendarFillers& fillers,
                           QWidget* parent) {
  auto* view = new CHrvView(host, fillers, parent);
  if (view->logic_.create(host.registry())) return view;
  delete view;
  return nullptr;
}

CHrvView::CHrvView(hv6::CalendarHost& host, hv6::CalendarFillers& fillers, QWidget* parent)
    : QWidget(parent), host_(host), logic_(fillers), calendar_(new CVqCalendar(this)) {
  setObjectName(QStringLiteral("HrvView"));
  calendar_->setObjectName(QString::number(kControlId));
  calendar_->setWindowTitle(QStringLiteral("LC2"));
  calendar_->SetBackColor(kWhite);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kBackdropMargin, kBackdropMargin, kBackdropMargin, kBackdropMargin);
  calendar_->setMinimumSize(160, 120);  // the frame may be placed small
  layout->addWidget(calendar_);
  connect(calendar_, &CVqCalendar::dateChanged, this, &CHrvView::onDateChanged);
  connect(calendar_, &CVqCalendar::dayRightClicked, this, &CHrvView::onDayRightClicked);
  connect(calendar_, &CVqCalendar::backgroundRightClicked, this,
          &CHrvView::onControlRightClicked);
  createActions();
}

CHrvView::~CHrvView() = default;

void CHrvView::createActions() {
  for (const CommandText& entry : kModeTexts)
    addCommand(entry.id, QString::fromUtf16(entry.text), true);
  addCommand(kWeather, QStringLiteral("天気を表示(&T)"), true);
  addCommand(kKisetu, QStringLiteral("六曜を表示(&E)"), true);
  addCommand(kWeekMonth, hv6::weekMonthMenuText(false), false);
  addCommand(kYearMonth, QStringLiteral("表示年月の選択(&Y)"), false);
  addCommand(kRefresh, QStringLiteral("最新の情報を表示(&R)"), false);
  QAction* printAction = addCommand(kPrint, QStringLiteral("印刷(&P)"), false);
  printAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  printAction->setShortcutContext(Qt::WindowShortcut);
  addCommand(kPrintPreview, QStringLiteral("印刷プレビュー(&V)"), false);
}

QAction* CHrvView::addCommand(int id, const QString& text, bool checkable) {
  auto* action = new QAction(text, this);
  action->setObjectName(QString::number(id));
  action->setCheckable(checkable);
  connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
  addAction(action);
  actions_[id] = action;
  return action;
}

QAction* CHrvView::commandAction(int id) const {
  const auto found = actions_.find(id);
  return found == actions_.end() ? nullptr : found->second;
}

void CHrvView::updateCommandActions() {
  const hv6::CalendarViewState& state = logic_.state();
  const int mode = hv6::modeItemId(state);
  for (const CommandText& entry : kModeTexts) actions_[entry.id]->setChecked(entry.id == mode);
  const bool figures = hv6::figureItemsApply(state);
  for (int id = kFigureFirst; id <= kFigureLast; ++id) {
    actions_[id]->setChecked(figures && id == hv6::figureItemId(state));
    actions_[id]->setEnabled(figures);
  }
  actions_[kWeather]->setChecked(state.weatherShown());
  actions_[kKisetu]->setChecked(state.kisetuShown());
  actions_[kWeekMonth]->setText(hv6::weekMonthMenuText(state.weekShown()));
}

void CHrvView::OnInitialUpdate(long today) {
  const hv6::CalendarViewState& state = logic_.state();
  calendar_->SetDispType(state.weekShown() ? 2 : 1);
  calendar_->SetKisetuType(state.kisetu);
  updateCommandActions();
  moveTo(int(today / 10000), int(monthOfDate(today)), int(today % 100));
}

void CHrvView::setBackdrop(int pictureId) {
  pictureId_ = pictureId;
  cached_ = QImage();
  update();
}

void CHrvView::setMeter(hv6::CalendarMeter* meter) { meter_ = meter; }

namespace {
class NoMeter final : public hv6::CalendarMeter {
 public:
  void start(const QString&) override {}
  void set(int) override {}
  void end() override {}
};
}  // namespace

void CHrvView::reloadData(int flags) {
  NoMeter none;
  hv6::CalendarMeter& meter = meter_ ? *meter_ : static_cast<hv6::CalendarMeter&>(none);
  const bool waiting = flags == hv6::Reload::kWeather;
  if (waiting) QApplication::setOverrideCursor(Qt::WaitCursor);
  host_.setModeItemId(hv6::modeItemId(logic_.state()));
  lastReload_ = logic_.reload(flags, host_.diaryDatabase(), int(calendar_->GetYear()),
                              int(calendar_->GetMonth()), *this, meter);
  if (waiting) QApplication::restoreOverrideCursor();
  updateCommandActions();
  if (!lastReload_.title.isEmpty()) Q_EMIT titleChanged(lastReload_.title);
}

bool CHrvView::reload() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool open = host_.reopenDiaryDatabase() != nullptr;
  reloadData(hv6::Reload::kAll);
  QApplication::restoreOverrideCursor();
  Q_EMIT reloaded(open);
  return open;
}

void CHrvView::moveTo(int year, int month, int day) {
  moving_ = true;
  calendar_->SetDay(1);
  calendar_->SetYear(year);
  calendar_->SetMonth(month);
  calendar_->SetDay(day);
  moving_ = false;
  onDateChanged(long(year) * 10000 + month * 100 + day);
}

void CHrvView::onDateChanged(long) {
  if (moving_) return;
  reloadData(hv6::Reload::kAll);
  Q_EMIT dateShown(int(calendar_->GetYear()), int(calendar_->GetMonth()),
                   int(calendar_->GetDay()));
}

void CHrvView::OnCommand(int id) {
  if (id == kPrint) return print();
  if (id == kPrintPreview) return preview();
  const hv6::CommandOutcome outcome = hv6::applyCommand(logic_.state(), id);
  if (!outcome.handled) return Q_EMIT commandRequested(id);
  if (outcome.dispType != 0) calendar_->SetDispType(outcome.dispType);
  if (outcome.kisetuType >= 0) calendar_->SetKisetuType(outcome.kisetuType);
  if (outcome.reload != 0) reloadData(outcome.reload);
  if (outcome.askYearMonth) chooseYearMonth();
  if (outcome.refresh) reload();
  updateCommandActions();
  if (outcome.dispType != 0 || outcome.kisetuType >= 0) calendar_->CompulsoryReDraw();
}

void CHrvView::chooseYearMonth() {
  CYearMonthDlg dialog(int(calendar_->GetYear()), int(calendar_->GetMonth()), window());
  if (dialog.exec() != QDialog::Accepted) return;
  moving_ = true;
  calendar_->SetYear(dialog.year());
  calendar_->SetMonth(dialog.month());
  moving_ = false;
  onDateChanged(calendar_->GetYear() * 10000 + calendar_->GetMonth() * 100 + calendar_->GetDay());
}

void CHrvView::addModeItems(QMenu& menu) {
  const hv6::CalendarViewState& state = logic_.state();
  const int mode = hv6::modeItemId(state);
  int first = 0, last = -1;
  switch (state.category) {
    case CalendarCategory::Plan: first = kPlanFirst, last = kPlanLast; break;
    case CalendarCategory::Diary: first = kDiaryFirst, last = kDiaryLast; break;
    case CalendarCategory::Slips: first = kSlipFirst, last = kFigureLast; break;
    case CalendarCategory::FarmDiary: return;
  }
  menu.addSeparator();
  const bool figures = hv6::figureItemsApply(state);
  for (int id = first; id <= last; ++id) {
    const bool figure = id >= kFigureFirst && id <= kFigureLast;
    const bool checked = figure ? figures && id == hv6::figureItemId(state) : id == mode;
    QAction* item = addPlainAction(menu, id, textOf(id), checked, true);
    if (figure) item->setEnabled(figures);
  }
}

std::unique_ptr<QMenu> CHrvView::controlMenu() {
  const hv6::CalendarViewState& state = logic_.state();
  auto menu = std::make_unique<QMenu>(this);
  addPlainAction(*menu, kExit, QStringLiteral("Harvoの終了(&X)"), false, false);
  menu->addSeparator();
  addPlainAction(*menu, kBackup, QStringLiteral("データバックアップ(&B)"), false, false);
  menu->addSeparator();
  addPlainAction(*menu, kPrint, QStringLiteral("印刷(&P)"), false, false);
  addPlainAction(*menu, kPrintPreview, QStringLiteral("印刷プレビュー(&V)"), false, false);
  menu->addSeparator();
  addPlainAction(*menu, kWeather, QStringLiteral("天気を表示(&T)"), state.weatherShown(), true);
  addPlainAction(*menu, kKisetu, QStringLiteral("六曜を表示(&E)"), state.kisetuShown(), true);
  addPlainAction(*menu, kWeekMonth, hv6::weekMonthPopupText(state.weekShown()), false, false);
  addPlainAction(*menu, kYearMonth, QStringLiteral("表示年月の選択(&Y)"), false, false);
  addModeItems(*menu);
  return menu;
}

std::unique_ptr<QMenu> CHrvView::dayMenu() {
  auto menu = std::make_unique<QMenu>(this);
  addPlainAction(*menu, kLaunchDiary, QStringLiteral("作業日誌を起動(&W)"), false, false);
  addPlainAction(*menu, kLaunchSales, QStringLiteral("販売管理を起動(&S)"), false, false);
  addPlainAction(*menu, kLaunchPlan, QStringLiteral("農程管理を起動(&K)"), false, false);
  addPlainAction(*menu, kLaunchFarmDiary, QStringLiteral("営農日記を起動(&D)"), false, false);
  menu->addSeparator();
  addPlainAction(*menu, kPictureShow, QStringLiteral("画像を表示(&V)"), false, false);
  addPlainAction(*menu, kPictureImport, QStringLiteral("画像の取り込み(&I)"), false, false);
  return menu;
}

void CHrvView::onControlRightClicked(const QPoint& globalPos) {
  const std::unique_ptr<QMenu> menu = controlMenu();
  if (QAction* chosen = menu->exec(globalPos)) OnCommand(chosen->data().toInt());
}

void CHrvView::onDayRightClicked(long date, const QPoint& globalPos) {
  logic_.state().selectedDate = date;
  const std::unique_ptr<QMenu> menu = dayMenu();
  if (QAction* chosen = menu->exec(globalPos)) Q_EMIT commandRequested(chosen->data().toInt());
}

hv6::CalendarPrintJob CHrvView::printJob() const {
  hv6::CalendarPrintJob job;
  job.grid = calendar_->grid();
  job.selectedDate = calendar_->GetYear() * 10000 + calendar_->GetMonth() * 100 +
                     calendar_->GetDay();
  const hv6::CalendarViewLogic* logic = &logic_;
  job.memos = [logic](long date) { return logic->memosOf(date); };
  return job;
}

void CHrvView::print() {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, window());
  if (dialog.exec() != QDialog::Accepted) return;
  hv6::printCalendar(printer, printJob());
}

void CHrvView::preview() { hv6::previewCalendar(printJob(), window()); }

void CHrvView::saveSettings(long today) { logic_.saveAtClose(host_.registry(), today); }

// The frame active again after another window had the focus: a data tool
// may have changed the data; Access 0 says none is at work.
void CHrvView::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::ActivationChange) return;
  if (!isActiveWindow()) {
    deactivated_ = true;
    return;
  }
  if (!deactivated_) return;
  deactivated_ = false;
  onReactivated();
}

void CHrvView::onReactivated() {
  std::uint32_t access = 1;
  if (!host_.registry().readDword(QStringLiteral("Environment\\BaseInfo"),
                                  QStringLiteral("Access"), access))
    return;
  if (access == 0) reload();
}

void CHrvView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  if (pictureId_ == 0) return;
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = size() * ratio;
  if (cached_.size() != pixels) {
    cached_ = hv6::picture(pictureId_, pixels);
    cached_.setDevicePixelRatio(ratio);
  }
  painter.drawImage(rect(), cached_);
}

// The sink. The calendar needs no empty line to show a day's weather, and
// removing an empty text would clear the whole day: empty lines are left out.
void CHrvView::addMemo(long month, long day, const QString& text, unsigned long colour) {
  if (text.isEmpty()) return;
  calendar_->AddMemo(month, day, text, colour);
}

void CHrvView::delMemo(long date, const QString& text) {
  if (text.isEmpty()) return;
  calendar_->DelMemoOn(date, text);
}

void CHrvView::setWeatherItems(long month, long day, long a, long b, long c) {
  calendar_->SetWeathItem(month, day, a, b, c);
}

void CHrvView::delWeatherItems(long date) { calendar_->DelWeathItemOn(date); }
void CHrvView::setMark(long month, long day) { calendar_->SetMark(month, day); }
void CHrvView::delMark(long date) { calendar_->DelMarkOn(date); }
void CHrvView::compulsoryRedraw() { calendar_->CompulsoryReDraw(); }
