#pragma once
// A temporary registry with the keys the installation creates, for the
// start-up tests.

#include "shell/appregistry.h"
#include "shell/startup.h"
#include "tests/support/message_recorder.h"
#include "tests/support/test_env.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace hv6test {

// Answers the next modal dialog of a kind once it runs.
template <typename Dialog>
void whenShown(std::function<void(Dialog*)> act) {
  QTimer::singleShot(0, [act] {
    for (QWidget* window : QApplication::topLevelWidgets())
      if (auto* dialog = qobject_cast<Dialog*>(window); dialog && dialog->isVisible())
        return act(dialog);
  });
}

class InstalledRegistryTest : public ::testing::Test {
 protected:
  TestEnvironment env;
  hv6::RegistryStore store{env.registryFile()};
  hv6::AppRegistry registry{store};
  MessageRecorder messages;

  static QStringList installedKeys() {
    return {hv6::StartKeys::kBaseInfo, hv6::StartKeys::kEnvironment, hv6::StartKeys::kMap,
            hv6::StartKeys::kProfile};
  }

  // The keys of a settings key name, and CurrentKEY set to it.
  void install(const QString& keyName = QStringLiteral("HV6"),
               const QStringList& keys = installedKeys()) {
    const QString root = hv6::AppRegistry::kBaseKey + u'\\' + keyName + u'\\';
    for (const QString& sub : keys) ASSERT_EQ(store.createKey(root + sub), hv6::RegStatus::Ok);
    ASSERT_TRUE(registry.selectSettingsKey(keyName == QStringLiteral("HV6") ? QString() : keyName));
  }

  void setPaths(const QString& diary, const QString& weather,
                const QString& program = QStringLiteral("/opt/hv6/lib/hv6")) {
    ASSERT_TRUE(registry.writeString(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kDataPath, diary));
    ASSERT_TRUE(
        registry.writeString(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kWeatherDataPath, weather));
    ASSERT_TRUE(
        registry.writeString(hv6::StartKeys::kEnvironment, hv6::StartKeys::kInstallPath, program));
  }

  std::uint32_t dword(const QString& subkey, const QString& name) {
    std::uint32_t value = 99;
    EXPECT_TRUE(registry.readDword(subkey, name, value));
    return value;
  }
};

}  // namespace hv6test
