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

// CE2040Wnd, CE20Wnd, CE40Wnd: reportwindow.cpp; CE50Wnd: shippingwindow.cpp.

CE60Wnd::CE60Wnd(QWidget* frame) : CSaleMdiWnd(frame, slsale::kE60Id, kE60Icon, slsale::kE60Help) {
  setObjectName(QStringLiteral("E60"));
}
