#include "outside/hrvcom106/winpos.h"

#include "tests/support/test_env.h"

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

}  // namespace
