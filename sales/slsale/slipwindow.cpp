// The slip entry windows CE10Wnd (reservation slips) and CE30Wnd (sales
// slips): creation over the store, the content bound to the slip editor,
// and the close question.
#include "sales/slsale/slsale.h"

#include "outside/sl_help/help.h"
#include "outside/sl_jet/seljetaccess.h"
#include "platform/dao/database.h"
#include "platform/folders.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "sales/slsale/createsteps.h"
#include "sales/slsale/module.h"
#include "sales/slsale/slipwindowparts.h"

#include <QCloseEvent>
#include <QFont>

namespace {

constexpr int kE10Icon = 147;
constexpr int kE30Icon = 149;
constexpr int kMinimumTextLines = 11;

// The folder of the cultivation-history hand-over: the program's folder in
// the user's documents.
QString handOverFolder() {
  const QString documents = hv6::specialFolder(hv6::kFolderDocuments);
  return documents.isEmpty() ? QString() : documents + QStringLiteral("/Velqor/HV6P");
}

}  // namespace

CSlipWnd::CSlipWnd(QWidget* frame, short id, int iconId, int helpTopic, bool salesWindow)
    : CSaleMdiWnd(frame, id, iconId, helpTopic), sales_(salesWindow) {}

CSlipWnd::~CSlipWnd() = default;

bool CSlipWnd::prepare() {
  slsale::CreateRecords records;
  slsale::CreateSteps steps;
  steps.allocate = [this] {
    auto state = std::make_unique<slsale::SlipWindowState>();
    const slsale::Services& services = slsale::services();
    sl::CErrMsg* errors = services.errMsg;
    sl::CNmlMsg* messages = services.nmlMsg;
    sl::CCalc* calc = services.calc;
    if (!errors) errors = (state->localErrors = std::make_unique<sl::CErrMsg>()).get();
    if (!messages) messages = (state->localMessages = std::make_unique<sl::CNmlMsg>()).get();
    if (!calc && services.jet)
      calc = (state->localCalc = std::make_unique<sl::CCalc>(services.jet)).get();
    state->editor = std::make_unique<hv6::sales::SlipEditor>(
        sales_ ? hv6::sales::SlipWindowKind::Sales : hv6::sales::SlipWindowKind::Reservation,
        services.jet, calc, errors, messages, frameWindow());
    slip_ = std::move(state);
  };
  steps.readEnvironment = [](sl::S_SELENV& env) {
    sl::CSelJetAccess* jet = slsale::services().jet;
    return jet ? jet->ReadEnvironment(env) : slsale::kNoStore;
  };
  steps.readCompany = [](sl::S_COMPANY& company) {
    sl::CSelJetAccess* jet = slsale::services().jet;
    return jet ? jet->ReadCompany(company) : slsale::kNoStore;
  };
  hv6::sales::FarmLoadResult farm;
  steps.build = [this, &records, &farm] {
    hv6::sales::SlipEditor& editor = *slip_->editor;
    hv6::sales::SlipEditorHooks& hooks = editor.hooks();
    auto search = std::make_shared<slsale::NumberSearchBox>(this);
    hooks.searchProgress = [search](int tried) { return search->step(tried); };
    hooks.searchDone = [search] { search->done(); };
    hooks.askCopy = [this] { return slsale::askCopyChoice(this); };
    hooks.freeSpace = [] {
      sl::CSelJetAccess* jet = slsale::services().jet;
      return jet ? hv6::freeDiskSpace(jet->database()->GetName()) : qint64{-1};
    };
    hooks.startProgram = [](const QString& program, const QStringList& arguments) {
      return hv6::startProgram(program, arguments).ok;
    };
    hooks.handOverFolder = handOverFolder();
    // The farm-work masters the lines name; their failure is told once
    // the window stands.
    if (sales_)
      farm = hv6::sales::loadFarmMasters(hv6::RegistryStore(), slip_->farm);
    editor.start(records.environment, records.company);
    editor.setBoxParent(this);
    auto* content = new slsale::SlipWindowContent(this, editor, sales_);
    slip_->content = content;
    setWidget(content);
    if (const short height = slsale::display().charHeight; height > 0)
      setMinimumHeight(kMinimumTextLines * height);
    if (sl::CHelp* help = slsale::services().help) help->SelectHelp(sales_ ? slsale::kE30Help
                                                                            : slsale::kE10Help);
  };
  steps.holdSlipMarker = [this] {
    return slip_->marker.acquireShared(slsale::kSlipMarkerName, hv6::LockScope::User);
  };
  if (!slsale::runCreateSteps(steps, records, slsale::services().errMsg, frameWindow())) {
    slip_.reset();
    return false;
  }
  tellFarmFailure(farm);
  return true;
}

// Without the farm-work masters slips are entered all the same, without
// the names of crops, fields, grades and standards.
void CSlipWnd::tellFarmFailure(const hv6::sales::FarmLoadResult& loaded) {
  sl::CErrMsg local;
  sl::CErrMsg& box = slsale::services().errMsg ? *slsale::services().errMsg : local;
  if (loaded.error > 0) box.Disp(0, frameWindow(), loaded.error);
  if (loaded.error < 0)
    box.DispText(QStringLiteral("品目・ほ場・等級・規格の読み込みに失敗しました。\n(エラーコード: %1)")
                     .arg(loaded.status),
                 frameWindow());
}

void CSlipWnd::closeEvent(QCloseEvent* event) {
  if (slip_ && slip_->editor && !slip_->editor->confirmLeave()) {
    if (slip_->content) slip_->content->refresh();
    event->ignore();
    return;
  }
  CSaleMdiWnd::closeEvent(event);
}

CE10Wnd::CE10Wnd(QWidget* frame)
    : CSlipWnd(frame, slsale::kE10Id, kE10Icon, slsale::kE10Help, false) {
  setObjectName(QStringLiteral("E10"));
}

CE30Wnd::CE30Wnd(QWidget* frame)
    : CSlipWnd(frame, slsale::kE30Id, kE30Icon, slsale::kE30Help, true) {
  setObjectName(QStringLiteral("E30"));
}
