// The slip entry windows of slsale over the real store: they read the
// settings of a data folder, hold the slip marker while open and fail
// with their boxes when the store or the marker fails.
#include "tests/sales/slsale/sale_host.h"

#include "outside/sl_jet/seljetaccess.h"
#include "platform/dao/database.h"
#include "platform/lockfile.h"
#include "platform/registry.h"
#include "tests/support/temp_data_folder.h"

#include <gtest/gtest.h>

namespace {

using hv6test::SaleHost;

const QString kMarker = QStringLiteral("CheckSelSlip");

bool markerInUse() { return hv6::NamedLock::isInUse(kMarker, hv6::LockScope::User); }

class SlipWindowStoreTest : public ::testing::Test {
 protected:
  hv6test::TempDataFolder data;
  sl::CSelJetAccess jet{&data.diary()};
};

TEST_F(SlipWindowStoreTest, SlipWindowsHoldTheMarkerWhileOpen) {
  SaleHost host(&jet);
  // The sales slip window reads the farm-work masters of this data folder.
  hv6::RegistryStore registry;
  const QString baseInfo = QStringLiteral("Software\\Velqor\\HV6\\HV6\\Environment\\BaseInfo");
  ASSERT_EQ(registry.createKey(baseInfo), hv6::RegStatus::Ok);
  ASSERT_EQ(registry.writeString(QStringLiteral("Software\\Velqor\\HV6"), QStringLiteral("CurrentKEY"),
                                 QStringLiteral("HV6")),
            hv6::RegStatus::Ok);
  ASSERT_EQ(registry.writeString(baseInfo, QStringLiteral("DataPath"), data.diaryPath()),
            hv6::RegStatus::Ok);
  EXPECT_FALSE(markerInUse());
  CSaleMdiWnd* reservation = host.library.function<Sale_NewWndFn>("Sale_NewE10Wnd")(&host.frame);
  CSaleMdiWnd* sales = host.library.function<Sale_NewWndFn>("Sale_NewE30Wnd")(&host.frame);
  ASSERT_NE(reservation->Create(QStringLiteral("予約伝票"), 0), 0);
  EXPECT_TRUE(markerInUse());
  ASSERT_NE(sales->Create(QStringLiteral("売上伝票"), 0), 0);  // both hold it at once
  EXPECT_TRUE(host.recorder.empty());
  host.registry.SetWindowClassPnt(50, reservation, 0);
  host.registry.SetWindowClassPnt(52, sales, 0);
  EXPECT_EQ(host.help.selectedTopic(), 30030);

  reservation->close();
  host.flushEvents();
  EXPECT_EQ(host.registry.GetWindowClassPnt(50), nullptr);
  EXPECT_TRUE(markerInUse());  // the sales slip window still holds it
  sales->close();
  host.flushEvents();
  EXPECT_EQ(host.registry.GetWindowClassPnt(52), nullptr);
  EXPECT_FALSE(markerInUse());
}

TEST_F(SlipWindowStoreTest, AnUnreadableEnvironmentShows500AndMakesNoWindow) {
  CDaoDatabase closed;  // never opened: every read fails
  sl::CSelJetAccess failing(&closed);
  SaleHost host(&failing);
  CSaleMdiWnd* window = host.library.function<Sale_NewWndFn>("Sale_NewE10Wnd")(&host.frame);
  EXPECT_EQ(window->Create(QStringLiteral("予約伝票"), 0), 0);
  ASSERT_EQ(host.recorder.numbers(), QList<long>{500});
  sl::S_SELENV env;
  const int status = failing.ReadEnvironment(env);
  EXPECT_NE(status, sl::kSlOk);
  EXPECT_EQ(host.recorder.messages().first().text, sl::CErrMsg::boxText(500, status));
  EXPECT_TRUE(host.area->subWindowList().isEmpty());
  EXPECT_FALSE(markerInUse());
  delete window;
}

TEST_F(SlipWindowStoreTest, AMarkerHeldAloneElsewhereRefusesTheWindow) {
  SaleHost host(&jet);
  hv6::NamedLock alone;
  ASSERT_TRUE(alone.acquire(kMarker, hv6::LockScope::User));
  CSaleMdiWnd* window = host.library.function<Sale_NewWndFn>("Sale_NewE30Wnd")(&host.frame);
  EXPECT_EQ(window->Create(QStringLiteral("売上伝票"), 0), 0);
  ASSERT_EQ(host.recorder.messages().size(), 1);
  EXPECT_EQ(host.recorder.messages().first().text, QStringLiteral("共有メモリ確保失敗"));
  EXPECT_TRUE(host.area->subWindowList().isEmpty());
  delete window;
}

}  // namespace
