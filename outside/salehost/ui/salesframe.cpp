#include "outside/salehost/ui/salesframe.h"

#include "outside/salehost/mastertable.h"
#include "outside/salehost/ui/hostservices.h"
#include "outside/salehost/ui/masterwindow.h"
#include "outside/salehost/ui/salemodule.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace salehost {
namespace {

struct ModuleEntry {
  short id;
  const char* name;
  const char16_t* title;  // the window's title
  const char16_t* menu;   // the menu text
};
constexpr ModuleEntry kSlipEntries[] = {
    {slsale::kE10Id, "E10", u"予約伝票入力", u"予約伝票(&Y)"},
    {slsale::kE30Id, "E30", u"売上伝票入力", u"売上伝票(&U)"},
};
constexpr ModuleEntry kReportEntries[] = {
    {slsale::kE20Id, "E20", u"売上日報", u"売上日報(&U)"},
    {slsale::kE40Id, "E40", u"予約日報", u"予約日報(&Y)"},
    {slsale::kE50Id, "E50", u"発送準備確認表", u"発送準備確認表(&H)"},
};

struct MasterEntry {
  MasterKind kind;
  const char* name;
  const char16_t* menu;
};
constexpr MasterEntry kMasterEntries[] = {
    {MasterKind::Clients, "clients", u"得意先(&T)"},
    {MasterKind::Goods, "goods", u"商品(&S)"},
    {MasterKind::Persons, "persons", u"担当者(&P)"},
    {MasterKind::ShipTos, "shipTos", u"発送先(&H)"},
    {MasterKind::Company, "company", u"自社情報(&J)"},
    {MasterKind::Environment, "environment", u"伝票環境(&E)"},
};

std::unique_ptr<MasterTable> tableOf(MasterKind kind, sl::CSelJetAccess& store) {
  switch (kind) {
    case MasterKind::Clients: return clientTable(store);
    case MasterKind::Goods: return goodsTable(store);
    case MasterKind::Persons: return personTable(store);
    case MasterKind::ShipTos: return shipToTable(store);
    case MasterKind::Company: return companyTable(store);
    case MasterKind::Environment: return environmentTable(store);
  }
  return {};
}

}  // namespace

SalesFrame::SalesFrame(SaleModule& module, HostServices& services, QWidget* parent)
    : QMainWindow(parent), module_(module), services_(services) {
  setObjectName(QStringLiteral("salesFrame"));
  setWindowTitle(QStringLiteral("販売管理"));
  mdi_ = new QMdiArea(this);
  mdi_->setObjectName(QStringLiteral("mdiArea"));
  setCentralWidget(mdi_);
  statusBar()->showMessage(QStringLiteral("メニューまたはツールバーから作業を選んでください。"));
  services_.guide().setHandler([this](long, const QString& line) {
    if (line.isEmpty()) statusBar()->clearMessage();
    else statusBar()->showMessage(line);
  });
  buildMenus();
  connect(mdi_, &QMdiArea::subWindowActivated, this, &SalesFrame::refreshMenus);
  refreshMenus();
}

SalesFrame::~SalesFrame() { services_.guide().setHandler({}); }

QAction* SalesFrame::moduleAction(short id, const QString& text, const QString& name) {
  auto* action = new QAction(text, this);
  action->setObjectName(name);
  action->setCheckable(true);
  connect(action, &QAction::triggered, this, [this, id] { openModuleWindow(id); });
  moduleActions_.insert(id, action);
  return action;
}

void SalesFrame::buildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
  QAction* quit = file->addAction(QStringLiteral("販売管理の終了(&X)"));
  quit->setObjectName(QStringLiteral("quit"));
  connect(quit, &QAction::triggered, this, &QWidget::close);

  QToolBar* tools = addToolBar(QStringLiteral("ツールバー"));
  tools->setObjectName(QStringLiteral("toolBar"));
  tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  QMenu* slips = menuBar()->addMenu(QStringLiteral("伝票(&D)"));
  for (const ModuleEntry& entry : kSlipEntries) {
    QAction* action = moduleAction(entry.id, QString::fromUtf16(entry.menu),
                                   QString::fromLatin1(entry.name));
    slips->addAction(action);
    tools->addAction(action);
  }
  QMenu* reports = menuBar()->addMenu(QStringLiteral("集計(&S)"));
  tools->addSeparator();
  for (const ModuleEntry& entry : kReportEntries) {
    QAction* action = moduleAction(entry.id, QString::fromUtf16(entry.menu),
                                   QString::fromLatin1(entry.name));
    reports->addAction(action);
    tools->addAction(action);
  }
  QMenu* masters = menuBar()->addMenu(QStringLiteral("マスタ(&M)"));
  for (const MasterEntry& entry : kMasterEntries) {
    QAction* action = masters->addAction(QString::fromUtf16(entry.menu));
    action->setObjectName(QString::fromLatin1(entry.name));
    const MasterKind kind = entry.kind;
    connect(action, &QAction::triggered, this, [this, kind] { openMaster(kind); });
    if (kind == MasterKind::Company) masters->addSeparator();
  }
  QMenu* windows = menuBar()->addMenu(QStringLiteral("ウィンドウ(&W)"));
  windows->addAction(QStringLiteral("重ねて表示(&C)"), mdi_, &QMdiArea::cascadeSubWindows);
  windows->addAction(QStringLiteral("並べて表示(&T)"), mdi_, &QMdiArea::tileSubWindows);
  QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
  QAction* topics = help->addAction(QStringLiteral("販売管理のヘルプ(&H)"));
  topics->setShortcut(QKeySequence::HelpContents);
  connect(topics, &QAction::triggered, this, [this] { services_.help().HelpDisp(); });
}

static QString titleOf(short id) {
  for (const ModuleEntry& entry : kSlipEntries)
    if (entry.id == id) return QString::fromUtf16(entry.title);
  for (const ModuleEntry& entry : kReportEntries)
    if (entry.id == id) return QString::fromUtf16(entry.title);
  return {};
}

QWidget* SalesFrame::openModuleWindow(short id) {
  const SaleModule::Window* exports = module_.window(id);
  if (exports == nullptr) return nullptr;
  if (QWidget* open = exports->get()) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(open)) {
      if (sub->isMinimized()) sub->showNormal();
      mdi_->setActiveSubWindow(sub);
    }
    open->raise();
    refreshMenus();
    return open;
  }
  CSaleMdiWnd* window = exports->make(this);
  if (window == nullptr) return nullptr;
  if (window->Create(titleOf(id), 0) == 0) {
    delete window;
    refreshMenus();
    return nullptr;
  }
  exports->set(window, 0);
  // A window opened at its smallest would show two slip lines: it gets the
  // area's room, up to a comfortable size.
  if (!window->isMaximized() && !window->isMinimized())
    window->resize(mdi_->viewport()->size().boundedTo(QSize(1320, 860)).expandedTo(window->size()));
  refreshMenus();
  return window;
}

QMdiSubWindow* SalesFrame::openMaster(MasterKind kind) {
  const int key = static_cast<int>(kind);
  // A window being closed has left the area but may not be deleted yet.
  QMdiSubWindow* open = masters_.value(key);
  if (open != nullptr && mdi_->subWindowList().contains(open)) {
    if (open->isMinimized()) open->showNormal();
    mdi_->setActiveSubWindow(open);
    return open;
  }
  auto* window = new MasterWindow(tableOf(kind, services_.store()));
  QMdiSubWindow* sub = mdi_->addSubWindow(window);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setWindowTitle(window->windowTitle());
  connect(window, &MasterWindow::closeRequested, sub, &QMdiSubWindow::close);
  masters_.insert(key, sub);
  // Room for the list beside the whole form where the area allows it.
  const QSize wanted(std::max(sub->sizeHint().width(), 1040), std::max(sub->sizeHint().height(), 640));
  sub->resize(wanted.boundedTo(mdi_->viewport()->size()).expandedTo(QSize(640, 400)));
  sub->show();
  return sub;
}

bool SalesFrame::closeChildren() {
  mdi_->closeAllSubWindows();
  return mdi_->subWindowList().isEmpty();
}

bool SalesFrame::event(QEvent* event) {
  if (event->type() == slsale::kSaleChildEventType) {
    ++childMessages_;
    refreshMenus();
    return true;
  }
  return QMainWindow::event(event);
}

void SalesFrame::refreshMenus() {
  for (auto it = moduleActions_.cbegin(); it != moduleActions_.cend(); ++it) {
    const SaleModule::Window* exports = module_.window(it.key());
    it.value()->setChecked(exports != nullptr && exports->get() != nullptr);
  }
}

void SalesFrame::closeEvent(QCloseEvent* event) {
  if (closeChildren()) event->accept();
  else event->ignore();
}

}  // namespace salehost
