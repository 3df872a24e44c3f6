// The frame's menu bar (menu 128), its two tool bars and its status bar.
#include "calendar/commands.h"
#include "calendar/ui/hrvview.h"
#include "outside/vqbase106/ui/calendarbox.h"
#include "outside/vqbase106/ui/meterbar.h"
#include "shell/commandtexts.h"
#include "shell/ui/launcherimages.h"
#include "shell/ui/mainframe.h"

#include <QAction>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace {

using namespace hv6::FrameCmd;

struct MenuItem {
  int id;  // 0: a separator
  const char16_t* text;
};

constexpr MenuItem kFileMenu[] = {
    {kNewData, u"新規作成(&N)"},
    {0, nullptr},
    {kBaseInfo, u"基本情報(&I)"},
    {kLedger, u"台帳登録(&D)"},
    {kMenuSettings, u"メニュー設定(&C)"},
    {0, nullptr},
    {kMobileSettings, u"モバイル作業日誌入力設定(&K)"},
    {kMobileImport, u"モバイル作業日誌データ取込(&T)"},
    {0, nullptr},
    {kPrint, nullptr},  // the view's
    {kPrintPreview, nullptr},
    {0, nullptr},
    {kBackup, u"データ保存（バックアップ）(&B)"},
    {kRestore, u"データ復元（リストア）(&R)"},
    {kMaintenance, u"データメンテナンス(&M)"},
    {0, nullptr},
    {kExit, u"Harvoの終了(&X)"},
};

constexpr MenuItem kDiaryMenu[] = {
    {10001, u"農程管理(&K)"}, {10002, u"作業日誌(&W)"}, {10003, u"販売管理(&S)"},
    {10004, u"営農日記(&D)"}, {10007, u"気象・栽培(&E)"},
};

constexpr MenuItem kSummaryMenu[] = {
    {10005, u"作業日誌集計(&W)"},
    {10013, u"栽培履歴書(&H)"},
    {10008, u"ほ場図(&F)"},
    {10011, u"農作業気象分析（&P）"},
};

constexpr MenuItem kToolsMenu[] = {
    {kPictureImport, u"画像の取り込み(&I)"},
    {kPictureShow, u"画像の表示(&V)"},
    {kAlbum, u"アルバム(&A)"},
    {0, nullptr},
    {kFieldLocations, u"ほ場の緯度経度設定(&L)"},
    {kWeatherRetrieval, u"気象情報の取得(&W)"},
};

constexpr MenuItem kHelpMenu[] = {
    {kHelp, u"Harvoのヘルプ(&H)"},
    {0, nullptr},
    {kSupport, u"サポート問い合わせ(&Q)"},
    {kVersion, u"バージョン情報 (&A)"},
};

// The main tool bar: the launcher commands and their images of bitmap 155.
struct LauncherButton {
  int id;
  int image;
};
constexpr LauncherButton kLauncherButtons[] = {
    {10001, 0}, {10002, 1}, {10003, 2}, {10004, 3}, {10005, 4},  {10013, 12},
    {10007, 6}, {10008, 7}, {10009, 8}, {10010, 9}, {10011, 10},
};

constexpr int kDatePickerPlace = 140;

}  // namespace

QAction* CMainFrame::addFrameAction(int id, const QString& text) {
  auto* action = new QAction(text, this);
  action->setObjectName(QString::number(id));
  action->setStatusTip(hv6::commandPrompt(id));
  const QString tip = hv6::commandToolTip(id);
  if (!tip.isEmpty()) action->setToolTip(tip);
  connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
  addAction(action);
  frameActions_[id] = action;
  return action;
}

QAction* CMainFrame::forwardingItem(int id, const QString& text, QObject* owner) {
  auto* item = new QAction(text, owner);
  item->setObjectName(QString::number(id));
  item->setStatusTip(hv6::commandPrompt(id));
  connect(item, &QAction::triggered, frameAction(id), &QAction::trigger);
  return item;
}

QAction* CMainFrame::frameAction(int id) const {
  const auto found = frameActions_.find(id);
  return found == frameActions_.end() ? nullptr : found->second;
}

void CMainFrame::createMenus() {
  // The launcher commands exist once, whatever menu or button shows them.
  for (int id = hv6::kLauncherCommandFirst; id <= hv6::kLauncherCommandLast; ++id)
    addFrameAction(id, hv6::commandToolTip(id));
  for (int id : {kFieldLocations, kWeatherRetrieval}) addFrameAction(id, hv6::commandToolTip(id));
  createFileMenu();
  createCalendarMenu();
  createLauncherMenus();
  createHelpMenu();
  // The view's commands show their prompts too.
  for (int id = hv6::CalendarCmd::kPlanFirst; id <= hv6::CalendarCmd::kYearMonth; ++id)
    if (QAction* action = view_->commandAction(id)) action->setStatusTip(hv6::commandPrompt(id));
  for (int id : {hv6::CalendarCmd::kRefresh, hv6::CalendarCmd::kKisetu, hv6::CalendarCmd::kPrint,
                 hv6::CalendarCmd::kPrintPreview})
    if (QAction* action = view_->commandAction(id)) action->setStatusTip(hv6::commandPrompt(id));
  connect(menuBar(), &QMenuBar::hovered, this, [this] { updateCommandStates(); });
}

namespace {

template <std::size_t N>
void fillMenu(QMenu* menu, const MenuItem (&items)[N],
              const std::function<QAction*(int, const QString&)>& actionFor) {
  for (const MenuItem& item : items) {
    if (item.id == 0) menu->addSeparator();
    else menu->addAction(actionFor(item.id, item.text ? QString::fromUtf16(item.text) : QString()));
  }
}

}  // namespace

QMenu* CMainFrame::createFileMenu() {
  QMenu* menu = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
  menu->setObjectName(QStringLiteral("FileMenu"));
  fillMenu(menu, kFileMenu, [this](int id, const QString& text) {
    if (QAction* own = view_->commandAction(id)) return own;
    // A launcher command is shown under a menu text of its own.
    return frameAction(id) ? forwardingItem(id, text, this) : addFrameAction(id, text);
  });
  QAction* print = view_->commandAction(hv6::CalendarCmd::kPrint);
  print->setText(QStringLiteral("印刷(&P)\tCtrl+P"));
  return menu;
}

void CMainFrame::createLauncherMenus() {
  // A launcher command keeps one action; its menu text is set here.
  const auto launcherItem = [this](int id, const QString& text) {
    return forwardingItem(id, text, this);
  };
  QMenu* diary = menuBar()->addMenu(QStringLiteral("日誌(&D)"));
  diary->setObjectName(QStringLiteral("DiaryMenu"));
  fillMenu(diary, kDiaryMenu, launcherItem);
  QMenu* summary = menuBar()->addMenu(QStringLiteral("集計(&S)"));
  summary->setObjectName(QStringLiteral("SummaryMenu"));
  fillMenu(summary, kSummaryMenu, launcherItem);
  toolsMenu_ = menuBar()->addMenu(QStringLiteral("ツール(&T)"));
  toolsMenu_->setObjectName(QStringLiteral("ToolsMenu"));
  // A command the frame has already shows its own action under the menu text.
  fillMenu(toolsMenu_, kToolsMenu, [this](int id, const QString& text) {
    QAction* own = frameAction(id);
    if (own == nullptr) return addFrameAction(id, text);
    own->setText(text);
    return own;
  });
  updateToolsMenu();
}

// The Tools menu's own items, then the launcher entries marked for it.
void CMainFrame::updateToolsMenu() {
  for (QAction* item : toolsLauncherItems_) {
    toolsMenu_->removeAction(item);
    item->deleteLater();
  }
  toolsLauncherItems_.clear();
  for (const hv6::ToolMenuItem& entry : hv6::toolMenuItems(view_->logic().launchers())) {
    QAction* item = forwardingItem(entry.commandId, entry.text, toolsMenu_);
    toolsMenu_->addAction(item);
    toolsLauncherItems_.append(item);
  }
}

void CMainFrame::createHelpMenu() {
  QMenu* menu = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
  menu->setObjectName(QStringLiteral("HelpMenu"));
  fillMenu(menu, kHelpMenu,
           [this](int id, const QString& text) { return addFrameAction(id, text); });
  QAction* help = frameAction(kHelp);
  help->setText(QStringLiteral("Harvoのヘルプ(&H)\tF1"));
  help->setShortcut(QKeySequence(Qt::Key_F1));
  help->setShortcutContext(Qt::WindowShortcut);
}

void CMainFrame::createLauncherToolBar() {
  launcherBar_ = addToolBar(QStringLiteral("メイン"));
  launcherBar_->setObjectName(QStringLiteral("MainToolBar"));
  launcherBar_->setMovable(false);
  launcherBar_->setIconSize(hv6::kLauncherImageSize);
  launcherBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  for (const LauncherButton& button : kLauncherButtons) {
    QAction* action = frameAction(button.id);
    action->setIcon(hv6::launcherImage(button.image));
    launcherBar_->addAction(action);
  }
}

void CMainFrame::createCalendarMenu() {
  QMenu* menu = menuBar()->addMenu(QStringLiteral("カレンダー(&C)"));
  menu->setObjectName(QStringLiteral("CalendarMenu"));
  const auto addRange = [this](QMenu* to, int first, int last) {
    for (int id = first; id <= last; ++id) to->addAction(view_->commandAction(id));
  };
  using namespace hv6::CalendarCmd;
  addRange(menu->addMenu(QStringLiteral("農程管理(&N)")), kPlanFirst, kPlanLast);
  addRange(menu->addMenu(QStringLiteral("作業日誌(&W)")), kDiaryFirst, kDiaryLast);
  QMenu* slips = menu->addMenu(QStringLiteral("出荷伝票(&S)"));
  addRange(slips, kSlipFirst, kSlipLast);
  slips->addSeparator();
  addRange(slips, kFigureFirst, kFigureLast);
  menu->addAction(view_->commandAction(kFarmDiary));
  menu->addSeparator();
  for (int id : {kWeather, kKisetu, kWeekMonth, kYearMonth})
    menu->addAction(view_->commandAction(id));
  menu->addSeparator();
  for (auto [id, text] : {std::pair{kPrevMonth, QStringLiteral("前月表示(&P)")},
                          std::pair{kNextMonth, QStringLiteral("次月表示(&N)")}}) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::number(id));
    connect(action, &QAction::triggered, this, [this, id = id] { stepMonth(id); });
  }
  menu->addAction(view_->commandAction(hv6::CalendarCmd::kRefresh));
  menu->addSeparator();
  menu->addAction(view_->commandAction(hv6::CalendarCmd::kPrint));
  menu->addAction(view_->commandAction(hv6::CalendarCmd::kPrintPreview));
}

// Previous month, the date picker, next month, week/month, year and month,
// the weather command.
void CMainFrame::createCalendarToolBar() {
  QToolBar* bar = addToolBar(QStringLiteral("カレンダー"));
  bar->setObjectName(QStringLiteral("CalendarToolBar"));
  bar->setMovable(false);
  bar->setIconSize(QSize(16, 16));
  bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  // Buttons of their own with the bar's images; the menus keep their texts.
  const auto addButton = [this, bar](int id, int image, const std::function<void()>& run) {
    QAction* button = bar->addAction(hv6::calendarToolImage(image), hv6::commandToolTip(id));
    button->setObjectName(QString::number(id));
    button->setStatusTip(hv6::commandPrompt(id));
    connect(button, &QAction::triggered, this, run);
  };
  addButton(kPrevMonth, 0, [this] { stepMonth(kPrevMonth); });
  datePicker_ = new CCalendarBox(bar);
  datePicker_->Create(0, QRect(30, 2, 130, 180), bar, kDatePickerId);
  datePicker_->setCallID(kDatePickerId);
  datePicker_->SetYFlag(1);
  datePicker_->SetDispWeek(true);
  datePicker_->setMinimumWidth(std::max(kDatePickerPlace, datePicker_->sizeHint().width()));
  const long now = today();
  datePicker_->SetDate(int(now / 10000), int(now % 10000 / 100), int(now % 100));
  bar->addWidget(datePicker_);
  connect(datePicker_, &CCalendarBox::dateChosen, this, [this](int, long date) {
    view_->moveTo(int(date / 10000), int(date % 10000 / 100), int(date % 100));
  });
  addButton(kNextMonth, 1, [this] { stepMonth(kNextMonth); });
  bar->addSeparator();
  for (auto [id, image] : {std::pair{hv6::CalendarCmd::kWeekMonth, 2},
                           std::pair{hv6::CalendarCmd::kYearMonth, 3}})
    addButton(id, image, [this, id = id] { view_->commandAction(id)->trigger(); });
  // The weather command itself, so the button follows its enable rule.
  bar->addSeparator();
  QAction* weather = frameAction(kWeatherRetrieval);
  weather->setIcon(hv6::calendarToolImage(4));
  bar->addAction(weather);
}

// Two panes: the prompts, and the meter at half the frame's width. Without
// a prompt the idle text stands.
void CMainFrame::createStatusBar() {
  QStatusBar* bar = statusBar();
  bar->showMessage(hv6::commandPrompt(kIdlePrompt));
  connect(bar, &QStatusBar::messageChanged, this, [bar](const QString& text) {
    if (text.isEmpty()) bar->showMessage(hv6::commandPrompt(kIdlePrompt));
  });
}
