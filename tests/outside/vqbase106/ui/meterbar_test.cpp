#include "outside/vqbase106/ui/meterbar.h"

#include "tests/support/test_env.h"

#include <gtest/gtest.h>

TEST(MeterBar, StartSetEnd) {
  hv6test::TestEnvironment env;
  CMeterBar meter;
  meter.resize(300, 20);
  meter.show();
  EXPECT_FALSE(meter.isRunning());
  meter.StartMeter(QStringLiteral("データ読み込み中"), 0);
  EXPECT_TRUE(meter.isRunning());
  EXPECT_EQ(meter.text(), QStringLiteral("データ読み込み中"));
  EXPECT_EQ(meter.percent(), 0);
  meter.SetMeter(1);
  EXPECT_EQ(meter.percent(), 1);
  meter.SetMeter(150);
  EXPECT_EQ(meter.percent(), 100);
  meter.SetMeter(-3);
  EXPECT_EQ(meter.percent(), 0);
  meter.SetMeter(40);
  const QImage running = meter.grab().toImage();
  meter.EndMeter();
  EXPECT_FALSE(meter.isRunning());
  EXPECT_EQ(meter.percent(), 0);
  EXPECT_NE(meter.grab().toImage(), running);  // the bar is gone
}
