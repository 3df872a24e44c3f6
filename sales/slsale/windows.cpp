// The module's MDI child windows: creation, registration with the host and
// destruction. Their contents (grids, header fields, commands) are not part
// of this shell yet; each shows a placeholder area.
#include "sales/slsale/slsale.h"

#include "outside/sl_common/childwininfo.h"
#include "outside/sl_help/help.h"
#include "outside/sl_jet/seljetaccess.h"
#include "platform/lockfile.h"
#include "sales/slsale/createsteps.h"
#include "sales/slsale/icons.h"
#include "sales/slsale/module.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFont>
#include <QLabel>
#include <QMdiArea>
#include <QPointer>
#include <QVBoxLayout>

#include <vector>

namespace {

constexpr int kE10Icon = 147;
constexpr int kE30Icon = 149;
constexpr int kE2040Icon = 150;
constexpr int kE50Icon = 151;
constexpr int kE60Icon = 152;
constexpr int kMinimumTextLines = 11;

// The MDI area of the frame a window is made for: the area itself, the
// area of a widget inside the frame, or, without a frame, that of the
// application's active window or of the first top-level window with one.
QMdiArea* frameArea(QWidget* frame) {
  QWidget* start = frame ? frame : QApplication::activeWindow();
  for (QWidget* w = start; w; w = w->parentWidget())
    if (auto* area = qobject_cast<QMdiArea*>(w)) return area;
  if (start)
    if (auto* area = start->window()->findChild<QMdiArea*>()) return area;
  if (!frame)
    for (QWidget* top : QApplication::topLevelWidgets())
      if (auto* area = top->findChild<QMdiArea*>()) return area;
  return nullptr;
}

void postToFrame(QWidget* frame) {
  if (frame)
    QCoreApplication::postEvent(frame, new QEvent(slsale::kSaleChildEventType));
}

}  // namespace

struct CSaleMdiWnd::Private {
  QPointer<QWidget> frameHint;  // what the host gave
  QPointer<QWidget> frame;      // the window that owns the MDI area
  short id = 0;
  int iconId = 0;
  int helpTopic = 0;
  bool created = false;
  slsale::CreateRecords records;
  QMetaObject::Connection activation;
};

CSaleMdiWnd::CSaleMdiWnd(QWidget* frame, short id, int iconId, int helpTopic)
    : d_(std::make_unique<Private>()) {
  d_->frameHint = frame;
  d_->id = id;
  d_->iconId = iconId;
  d_->helpTopic = helpTopic;
}

CSaleMdiWnd::~CSaleMdiWnd() {
  QObject::disconnect(d_->activation);
  if (!d_->created) return;
  postToFrame(d_->frame);
  if (sl::CChildWinInfo* info = slsale::services().childWinInfo)
    info->SetWindowClassPnt(d_->id, nullptr, 0);
}

short CSaleMdiWnd::windowId() const { return d_->id; }

QWidget* CSaleMdiWnd::frameWindow() const { return d_->frame; }

bool CSaleMdiWnd::isCreated() const { return d_->created; }

void CSaleMdiWnd::setWindowId(short id, int helpTopic) {
  d_->id = id;
  d_->helpTopic = helpTopic;
}

// The window's area (a placeholder for now) and its help topic.
void CSaleMdiWnd::buildContent() {
  auto* content = new QWidget;
  content->setObjectName(QStringLiteral("content"));
  auto* layout = new QVBoxLayout(content);
  auto* placeholder = new QLabel(QStringLiteral("（この画面の内容は準備中です）"), content);
  placeholder->setObjectName(QStringLiteral("placeholder"));
  placeholder->setAlignment(Qt::AlignCenter);
  if (const QFont* font = slsale::display().font) placeholder->setFont(*font);
  layout->addWidget(placeholder);
  setWidget(content);
  if (const short height = slsale::display().charHeight; height > 0)
    setMinimumHeight(kMinimumTextLines * height);
  if (sl::CHelp* help = slsale::services().help) help->SelectHelp(d_->helpTopic);
}

// Steps 1-4 of a window that reads nothing and holds no marker.
bool CSaleMdiWnd::prepare() {
  slsale::CreateSteps steps;
  steps.build = [this] { buildContent(); };
  return slsale::runCreateSteps(steps, d_->records, slsale::services().errMsg, d_->frame);
}

int CSaleMdiWnd::Create(const QString& title, quint32 style) {
  if (d_->created) return 0;
  QMdiArea* area = frameArea(d_->frameHint);
  if (!area) return 0;
  d_->frame = area->window();
  if (!prepare()) return 0;

  setWindowIcon(slsale::windowIcon(d_->iconId));
  setWindowTitle(title);
  setAttribute(Qt::WA_DeleteOnClose);
  area->addSubWindow(this);
  d_->created = true;
  // Losing the activation is the frame's cue to refresh its menus; gaining
  // it makes this window's help topic the one F1 shows.
  d_->activation = connect(this, &QMdiSubWindow::windowStateChanged, this,
                           [this](Qt::WindowStates before, Qt::WindowStates now) {
                             const bool was = before.testFlag(Qt::WindowActive);
                             const bool is = now.testFlag(Qt::WindowActive);
                             if (was && !is) postToFrame(d_->frame);
                             if (!was && is)
                               if (sl::CHelp* help = slsale::services().help)
                                 help->SelectHelp(d_->helpTopic);
                           });
  if (style & slsale::kStyleMaximize) showMaximized();
  else if (style & slsale::kStyleMinimize) showMinimized();
  else show();
  return 1;
}

CSlipWnd::CSlipWnd(QWidget* frame, short id, int iconId, int helpTopic)
    : CSaleMdiWnd(frame, id, iconId, helpTopic) {}

CSlipWnd::~CSlipWnd() = default;

bool CSlipWnd::prepare() {
  Private& p = d();
  slsale::CreateSteps steps;
  steps.allocate = [&p] {
    auto slip = std::make_unique<slsale::SlipState>();
    slip->lines.resize(sl::kMaxSlipLines);
    slip->loadedLines.resize(sl::kMaxSlipLines);
    p.slip = std::move(slip);
  };
  steps.readEnvironment = [](sl::S_SELENV& env) {
    sl::CSelJetAccess* jet = slsale::services().jet;
    return jet ? jet->ReadEnvironment(env) : slsale::kNoStore;
  };
  steps.readCompany = [](sl::S_COMPANY& company) {
    sl::CSelJetAccess* jet = slsale::services().jet;
    return jet ? jet->ReadCompany(company) : slsale::kNoStore;
  };
  steps.holdSlipMarker = [&p] {
    return p.slip->marker.acquireShared(slsale::kSlipMarkerName, hv6::LockScope::User);
  };
  steps.build = [this] { buildContent(); };
  if (!slsale::runCreateSteps(steps, p.records, slsale::services().errMsg, p.frame)) {
    p.slip.reset();
    return false;
  }
  return true;
}

CE10Wnd::CE10Wnd(QWidget* frame) : CSlipWnd(frame, slsale::kE10Id, kE10Icon, slsale::kE10Help) {
  setObjectName(QStringLiteral("E10"));
}

CE30Wnd::CE30Wnd(QWidget* frame) : CSlipWnd(frame, slsale::kE30Id, kE30Icon, slsale::kE30Help) {
  setObjectName(QStringLiteral("E30"));
}

// CE2040Wnd, CE20Wnd, CE40Wnd: reportwindow.cpp; CE50Wnd: shippingwindow.cpp.
CE2040Wnd::CE2040Wnd(QWidget* frame)
    : CSaleMdiWnd(frame, slsale::kE20Id, kE2040Icon, slsale::kE20Help) {
  Init(0);
}

void CE2040Wnd::Init(short mode) {
  mode_ = mode;
  const bool reservation = mode > 0;
  setWindowId(reservation ? slsale::kE40Id : slsale::kE20Id,
              reservation ? slsale::kE40Help : slsale::kE20Help);
  setObjectName(reservation ? QStringLiteral("E40") : QStringLiteral("E20"));
}

CE20Wnd::CE20Wnd(QWidget* frame) : CE2040Wnd(frame) { Init(0); }

CE40Wnd::CE40Wnd(QWidget* frame) : CE2040Wnd(frame) { Init(1); }

CE50Wnd::CE50Wnd(QWidget* frame) : CSaleMdiWnd(frame, slsale::kE50Id, kE50Icon, slsale::kE50Help) {
  setObjectName(QStringLiteral("E50"));
}

CE60Wnd::CE60Wnd(QWidget* frame) : CSaleMdiWnd(frame, slsale::kE60Id, kE60Icon, slsale::kE60Help) {
  setObjectName(QStringLiteral("E60"));
}
