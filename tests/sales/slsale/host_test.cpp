// slsale as a host program uses it: loaded with QLibrary from its build
// path, every export looked up by name, the service objects handed over,
// the windows made, registered, closed and told apart by their events.
#include "tests/sales/slsale/sale_host.h"

#include "outside/sl_errmsg/errmsg.h"
#include "platform/lockfile.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <gtest/gtest.h>

namespace {

using hv6test::SaleHost;
using hv6test::SaleLibrary;

// Every entry of the child-window registry, written out as the host's
// table has it.
const std::pair<const char*, short> kRegistry[] = {
    {"A10", 10}, {"A83", 11}, {"A90", 12}, {"A110", 13}, {"B20", 20}, {"B40", 21}, {"B50", 22},
    {"B60", 23}, {"B70", 24}, {"B80", 25}, {"B90", 26},  {"C10", 30}, {"C20", 31}, {"C30", 32},
    {"C40", 33}, {"D10", 40}, {"D20", 41}, {"E10", 50},  {"E20", 51}, {"E30", 52}, {"E40", 53},
    {"E50", 54}, {"E60", 55}, {"F10", 60}, {"F20", 61},  {"F30", 62}, {"F40", 63}, {"G10", 70},
    {"G20", 71}, {"G30", 72}, {"G40", 73}, {"H10", 80},  {"H20", 81}, {"H30", 82}, {"H40", 83},
    {"H90", 88},
};

const char* const kWindowFactories[] = {"Sale_NewE10Wnd", "Sale_NewE20Wnd", "Sale_NewE30Wnd",
                                        "Sale_NewE40Wnd", "Sale_NewE50Wnd", "Sale_NewE60Wnd",
                                        "Sale_NewE2040Wnd"};

struct DialogTemplate {
  const char* factory;
  int templateId;
  const char16_t* title;
};
const DialogTemplate kDialogs[] = {
    {"Sale_NewE11Dlg", 501, u"おきまり伝票"},     {"Sale_NewE12Dlg", 502, u"単価設定"},
    {"Sale_NewE14Dlg", 503, u"伝票検索条件設定"}, {"Sale_NewE16Dlg", 505, u"情報"},
    {"Sale_NewE35Dlg", 504, u"印刷条件設定"},     {"Sale_NewE37Dlg", 510, u"売上伝票印刷設定"},
    {"Sale_NewE38Dlg", 511, u"払込取扱票の設定"}, {"Sale_NewE41dlg", 506, u"売上伝票表示条件"},
    {"Sale_NewE51Dlg", 507, u"発送準備確認表 集計条件指定"},
};

TEST(SaleLibraryExports, EveryExportIsFoundByName) {
  SaleLibrary& library = SaleLibrary::instance();
  ASSERT_TRUE(library.isLoaded()) << qPrintable(library.errorText());
  for (const char* name : {"InitSelSaleDLL", "Sale_InitClass", "Sale_SetGlobalValue"})
    EXPECT_NE(library.resolve(name), nullptr) << name;
  for (const char* name : kWindowFactories) EXPECT_NE(library.resolve(name), nullptr) << name;
  for (const auto& dialog : kDialogs)
    EXPECT_NE(library.resolve(dialog.factory), nullptr) << dialog.factory;
  for (const auto& [name, id] : kRegistry)
    for (const char* verb : {"Get", "Set", "Reset"}) {
      const QByteArray symbol = QByteArray(verb) + name + "Wnd";
      EXPECT_NE(library.resolve(symbol.constData()), nullptr) << symbol.constData();
    }
  // Nothing of the module's inside shows: the static libraries stay hidden.
  EXPECT_EQ(library.resolve("_ZN2sl7CErrMsg4DispEiP7QWidgetl"), nullptr);

  slsale::SaleModuleRecord* record = library.function<InitSelSaleDLLFn>("InitSelSaleDLL")();
  ASSERT_NE(record, nullptr);
  EXPECT_STREQ(record->name, "slsale");
  EXPECT_EQ(record->abiVersion, slsale::kSaleAbiVersion);
}

class SaleHostTest : public ::testing::Test {
 protected:
  SaleHost host;
};

// Each accessor works on its own id of the host's registry, passing the
// flag through.
TEST_F(SaleHostTest, AccessorsForwardToTheirIdsOfTheHostsRegistry) {
  QWidget window;
  for (const auto& [name, id] : kRegistry) {
    const QByteArray base = QByteArray(name) + "Wnd";
    auto* set = host.library.function<Sale_SetWndFn>(("Set" + base).constData());
    auto* get = host.library.function<Sale_GetWndFn>(("Get" + base).constData());
    auto* reset = host.library.function<Sale_ResetWndFn>(("Reset" + base).constData());
    ASSERT_TRUE(set && get && reset) << name;
    EXPECT_EQ(get(), nullptr) << name;
    EXPECT_NE(set(&window, 7), 0) << name;
    EXPECT_EQ(host.registry.GetWindowClassPnt(id), &window) << name;
    EXPECT_EQ(host.registry.GetFlag(id), 7) << name;
    EXPECT_EQ(get(), &window) << name;
    reset(2);
    EXPECT_EQ(host.registry.GetWindowClassPnt(id), nullptr) << name;
    EXPECT_EQ(host.registry.GetFlag(id), 2) << name;
    EXPECT_EQ(get(), nullptr) << name;
  }
}

struct ReportWindow {
  const char* factory;
  short id;
  int helpTopic;
  const char* objectName;
};

// The windows that read nothing at creation: made, placed in the frame's
// MDI area with the title, icon and help topic, registered by the host,
// and on closing gone from the registry with message 1354 to the frame.
TEST_F(SaleHostTest, ReportWindowsAreCreatedRegisteredAndReset) {
  const ReportWindow windows[] = {
      {"Sale_NewE20Wnd", 51, 30020, "E20"},
      {"Sale_NewE40Wnd", 53, 30040, "E40"},
      {"Sale_NewE50Wnd", 54, 30050, "E50"},
      {"Sale_NewE60Wnd", 55, 30060, "E60"},
  };
  for (const ReportWindow& w : windows) {
    CSaleMdiWnd* window = host.library.function<Sale_NewWndFn>(w.factory)(&host.frame);
    ASSERT_NE(window, nullptr) << w.factory;
    EXPECT_EQ(window->windowId(), w.id) << w.factory;
    ASSERT_NE(window->Create(QStringLiteral("日報 %1").arg(w.id), 0), 0) << w.factory;
    EXPECT_TRUE(window->isCreated());
    EXPECT_EQ(window->Create(QStringLiteral("again"), 0), 0) << "a window is created once";
    EXPECT_TRUE(host.area->subWindowList().contains(window)) << w.factory;
    EXPECT_EQ(window->windowTitle(), QStringLiteral("日報 %1").arg(w.id));
    EXPECT_EQ(window->objectName(), QString::fromLatin1(w.objectName));
    EXPECT_FALSE(window->windowIcon().isNull()) << w.factory;
    EXPECT_NE(window->findChild<QWidget*>(QStringLiteral("content")), nullptr);
    EXPECT_EQ(host.help.selectedTopic(), w.helpTopic) << w.factory;
    EXPECT_GE(window->minimumHeight(), 11 * SaleHost::kCharHeight);
    host.registry.SetWindowClassPnt(w.id, window, 0);  // what SetXWnd does for the host

    host.flushEvents();
    const int before = host.frameEvents;
    window->close();
    host.flushEvents();  // the window deletes itself
    EXPECT_EQ(host.registry.GetWindowClassPnt(w.id), nullptr) << w.factory;
    EXPECT_GT(host.frameEvents, before) << w.factory << ": no message 1354";
    EXPECT_TRUE(host.area->subWindowList().isEmpty());
  }
  EXPECT_TRUE(host.recorder.empty());
}

TEST_F(SaleHostTest, DailyReportModesChooseTheirIds) {
  auto* make = host.library.function<Sale_NewE2040WndFn>("Sale_NewE2040Wnd");
  CE2040Wnd* sales = make(&host.frame);
  EXPECT_EQ(sales->windowId(), 51);
  sales->Init(1);
  EXPECT_EQ(sales->windowId(), 53);
  EXPECT_EQ(sales->mode(), 1);
  sales->Init(0);
  EXPECT_EQ(sales->windowId(), 51);
  sales->Init(1);
  sales->Init(-1);  // not above 0: the sales report
  EXPECT_EQ(sales->windowId(), 51);
  delete sales;

  CE2040Wnd* reservation = make(&host.frame);
  reservation->Init(2);  // any mode above 0
  ASSERT_NE(reservation->Create(QStringLiteral("予約日報"), 0), 0);
  host.registry.SetWindowClassPnt(53, reservation, 0);
  host.registry.SetWindowClassPnt(51, &host.frame, 0);  // another window's entry stays
  reservation->close();
  host.flushEvents();
  EXPECT_EQ(host.registry.GetWindowClassPnt(53), nullptr);
  EXPECT_EQ(host.registry.GetWindowClassPnt(51), &host.frame);
}

// Message 1354 also goes to the frame when a window stops being the active
// one, and only then.
TEST_F(SaleHostTest, LosingTheActivationPostsMessage1354) {
  auto* make = host.library.function<Sale_NewWndFn>("Sale_NewE20Wnd");
  auto* makeOther = host.library.function<Sale_NewWndFn>("Sale_NewE50Wnd");
  CSaleMdiWnd* first = make(&host.frame);
  CSaleMdiWnd* second = makeOther(&host.frame);
  ASSERT_NE(first->Create(QStringLiteral("売上日報"), 0), 0);
  ASSERT_NE(second->Create(QStringLiteral("発送準備確認表"), 0), 0);
  host.area->setActiveSubWindow(first);
  host.flushEvents();
  ASSERT_EQ(host.area->activeSubWindow(), first);
  EXPECT_EQ(host.help.selectedTopic(), 30020);

  const int before = host.frameEvents;
  host.area->setActiveSubWindow(second);
  host.flushEvents();
  EXPECT_EQ(host.frameEvents, before + 1);
  EXPECT_EQ(host.help.selectedTopic(), 30050);  // the active window's topic

  host.area->setActiveSubWindow(second);  // no change, no message
  host.flushEvents();
  EXPECT_EQ(host.frameEvents, before + 1);
}

// The display settings reach the windows made after them: the font of
// their captions and the minimum height of 11 text lines.
TEST_F(SaleHostTest, DisplaySettingsApplyToWindowsMadeAfterThem) {
  auto* make = host.library.function<Sale_NewWndFn>("Sale_NewE60Wnd");
  CSaleMdiWnd* first = make(&host.frame);
  ASSERT_NE(first->Create(QStringLiteral("伝票・得意先検索"), 0), 0);
  EXPECT_EQ(first->findChild<QLabel*>(QStringLiteral("placeholder"))->font().pixelSize(),
            SaleHost::kCharHeight);
  EXPECT_EQ(first->minimumHeight(), 11 * SaleHost::kCharHeight);
  first->close();
  host.flushEvents();

  QFont larger;
  larger.setPixelSize(24);
  host.library.function<Sale_SetGlobalValueFn>("Sale_SetGlobalValue")(&larger, 12, 24, 0,
                                                                        &host.colors, 0, 0);
  CSaleMdiWnd* second = make(&host.frame);
  ASSERT_NE(second->Create(QStringLiteral("伝票・得意先検索"), 0), 0);
  EXPECT_EQ(second->findChild<QLabel*>(QStringLiteral("placeholder"))->font().pixelSize(), 24);
  EXPECT_EQ(second->minimumHeight(), 11 * 24);
  second->close();
  host.flushEvents();
}

// A frame that the host did not name: the window finds the application's
// frame with an MDI area; the style's maximize bit is followed.
TEST_F(SaleHostTest, WithoutAFrameTheApplicationsFrameIsUsed) {
  CSaleMdiWnd* window = host.library.function<Sale_NewWndFn>("Sale_NewE50Wnd")(nullptr);
  ASSERT_NE(window->Create(QStringLiteral("発送準備確認表"), slsale::kStyleMaximize), 0);
  EXPECT_TRUE(host.area->subWindowList().contains(window));
  EXPECT_TRUE(window->isMaximized());
}

// Without a store from the host, the slip windows cannot read their
// settings: box 500 through the host's error object, no window, nothing
// registered, no marker, no message to the frame.
TEST_F(SaleHostTest, SlipWindowsWithoutAStoreFailWith500) {
  for (const char* factory : {"Sale_NewE10Wnd", "Sale_NewE30Wnd"}) {
    host.recorder.clear();
    CSaleMdiWnd* window = host.library.function<Sale_NewWndFn>(factory)(&host.frame);
    EXPECT_EQ(window->Create(QStringLiteral("伝票"), 0), 0) << factory;
    EXPECT_FALSE(window->isCreated());
    ASSERT_EQ(host.recorder.numbers(), QList<long>{500}) << factory;
    EXPECT_EQ(host.recorder.messages().first().text, sl::CErrMsg::boxText(500, -1));
    EXPECT_EQ(host.recorder.messages().first().parent, &host.frame);
    EXPECT_TRUE(host.area->subWindowList().isEmpty()) << factory;
    EXPECT_FALSE(hv6::NamedLock::isInUse(QStringLiteral("CheckSelSlip"), hv6::LockScope::User));
    host.flushEvents();
    const int before = host.frameEvents;
    const short id = window->windowId();
    host.registry.SetWindowClassPnt(id, &host.frame, 0);
    delete window;  // the host deletes a window that was not created
    host.flushEvents();
    EXPECT_EQ(host.frameEvents, before) << factory;
    EXPECT_EQ(host.registry.GetWindowClassPnt(id), &host.frame) << factory;
  }
}

TEST_F(SaleHostTest, DialogsCarryTheirTemplatesTitleAndId) {
  for (const DialogTemplate& d : kDialogs) {
    QDialog* dialog = host.library.function<Sale_NewDlgFn>(d.factory)(&host.frame);
    ASSERT_NE(dialog, nullptr) << d.factory;
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf16(d.title)) << d.factory;
    EXPECT_EQ(dialog->objectName(), QString::number(d.templateId)) << d.factory;
    EXPECT_EQ(dialog->parentWidget(), &host.frame);
    delete dialog;
  }
}

}  // namespace
