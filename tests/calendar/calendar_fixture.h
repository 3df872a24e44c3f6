#pragma once
// A temporary registry with the calendar's settings and the twenty
// launcher entries, as the installation writes them.

#include "shell/launcher.h"
#include "calendar/viewstate.h"
#include "shell/appregistry.h"
#include "tests/support/message_recorder.h"
#include "tests/support/test_env.h"

#include <gtest/gtest.h>

namespace hv6test {

inline void installCalendarSettings(hv6::RegistryStore& store, hv6::AppRegistry& registry) {
  const QString root = hv6::AppRegistry::kBaseKey + QStringLiteral("\\HV6\\");
  for (const QString& key : {hv6::CalendarKeys::kKey, hv6::CalendarKeys::kBackupKey,
                             QStringLiteral("Environment\\BaseInfo")})
    ASSERT_EQ(store.createKey(root + key), hv6::RegStatus::Ok);
  ASSERT_TRUE(registry.selectSettingsKey(QString()));
  const QList<std::pair<QString, std::uint32_t>> values{
      {hv6::CalendarKeys::kDate, 0},  {hv6::CalendarKeys::kView, 1},
      {hv6::CalendarKeys::kYearBook, 0}, {hv6::CalendarKeys::kWdry, 1},
      {hv6::CalendarKeys::kSdry, 0},  {hv6::CalendarKeys::kType, 0},
      {hv6::CalendarKeys::kTenki, 1}, {hv6::CalendarKeys::kArea, 0},
      {hv6::CalendarKeys::kKisetu, 1}};
  for (const auto& [name, value] : values)
    ASSERT_TRUE(registry.writeDword(hv6::CalendarKeys::kKey, name, value));
  for (int number = 1; number <= hv6::kLauncherCount; ++number) {
    const QString key = hv6::launcherSubkey(number);
    ASSERT_EQ(store.createKey(root + key), hv6::RegStatus::Ok);
    ASSERT_TRUE(registry.writeString(key, QStringLiteral("Name"), QStringLiteral("entry")));
    ASSERT_TRUE(registry.writeString(key, QStringLiteral("Icon"), QString()));
    ASSERT_TRUE(registry.writeString(key, QStringLiteral("Exe"), QString()));
    ASSERT_TRUE(registry.writeDword(key, QStringLiteral("Incorporate"), 1));
    ASSERT_TRUE(registry.writeDword(key, QStringLiteral("ToolMenu"), 0));
  }
}

class CalendarRegistryTest : public ::testing::Test {
 protected:
  TestEnvironment env;
  hv6::RegistryStore store{env.registryFile()};
  hv6::AppRegistry registry{store};
  MessageRecorder messages;

  void SetUp() override { installCalendarSettings(store, registry); }

  std::uint32_t calendarValue(const QString& name) {
    std::uint32_t value = 99;
    EXPECT_TRUE(registry.readDword(hv6::CalendarKeys::kKey, name, value)) << name.toStdString();
    return value;
  }
};

}  // namespace hv6test
