#include "outside/hrvcom106/winpos.h"

#include "tests/support/test_env.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(WinPosTest, PlacementRoundTripNeedsTheKey) {
  hv6test::TestEnvironment env;
  hv6::RegistryStore store(env.registryFile());
  const QString key = QStringLiteral("Software\\Velqor\\HV6\\HV6\\HRV6\\Profile");
  QWidget saved;
  saved.setGeometry(120, 90, 500, 350);
  saved.show();
  EXPECT_FALSE(CWinPos(store, key).SaveWindowPlacement(&saved));  // never creates the key
  EXPECT_FALSE(store.keyExists(key));

  ASSERT_EQ(store.createKey(key), hv6::RegStatus::Ok);
  QWidget restored;
  EXPECT_FALSE(CWinPos(store, key).LoadWindowPlacement(&restored));  // nothing stored
  ASSERT_TRUE(CWinPos(store, key).SaveWindowPlacement(&saved));
  ASSERT_TRUE(CWinPos(store, key).LoadWindowPlacement(&restored));
  restored.show();
  EXPECT_EQ(restored.geometry(), saved.geometry());
  EXPECT_FALSE(restored.isMaximized());

  saved.showMaximized();
  ASSERT_TRUE(CWinPos(store, key).SaveWindowPlacement(&saved));
  QWidget maximised;
  ASSERT_TRUE(CWinPos(store, key).LoadWindowPlacement(&maximised));
  EXPECT_TRUE(maximised.windowState().testFlag(Qt::WindowMaximized));

  ASSERT_EQ(store.writeBinary(key, CWinPos::kValueName, QByteArray("junk")), hv6::RegStatus::Ok);
  EXPECT_FALSE(CWinPos(store, key).LoadWindowPlacement(&restored));
}

TEST(WinPosTest, WindowWithoutPlacementGetsMostOfTheScreenCentred) {
  const QRect screen(0, 0, 1920, 1080);
  const QRect placed = CWinPos::defaultPlacement(screen, QSize(640, 480));
  EXPECT_GE(placed.width(), 1920 * 8 / 10);
  EXPECT_GE(placed.height(), 1080 * 8 / 10);
  EXPECT_TRUE(screen.contains(placed));
  EXPECT_EQ(placed.center(), screen.center());
  // A second monitor's area, and a minimum larger than the share.
  const QRect small(1920, 100, 800, 600);
  const QRect tight = CWinPos::defaultPlacement(small, QSize(780, 900));
  EXPECT_EQ(tight.width(), 780);
  EXPECT_EQ(tight.height(), 600);  // never beyond the area
  EXPECT_TRUE(small.contains(tight));
}

TEST(WinPosTest, PlacementOffEveryScreenIsMovedBackOntoOne) {
  // Stored where a monitor was, restored onto the one there is.
  hv6test::TestEnvironment env;
  hv6::RegistryStore store(env.registryFile());
  const QString key = QStringLiteral("Software\\Velqor\\HV6\\HV6\\HRV6\\Profile");
  ASSERT_EQ(store.createKey(key), hv6::RegStatus::Ok);
  QWidget away;
  away.setGeometry(QGuiApplication::primaryScreen()->geometry().right() + 2000, 3000, 400, 300);
  ASSERT_TRUE(CWinPos(store, key).SaveWindowPlacement(&away));
  QWidget restored;
  ASSERT_TRUE(CWinPos(store, key).LoadWindowPlacement(&restored));
  restored.show();
  EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().intersects(restored.geometry()))
      << restored.geometry().x() << "," << restored.geometry().y();
}

}  // namespace
