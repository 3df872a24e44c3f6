#include "shell/firststart.h"

#include "shell/envcopy.h"
#include "store/schema.h"
#include "tests/shell/shell_fixture.h"

#include <QDir>
#include <QFile>

namespace {

using hv6::FirstStartChoice;
using hv6::StartKeys;

class DemoDataChoiceTest : public hv6test::InstalledRegistryTest {
 protected:
  FirstStartChoice choice{registry};
  QString demo;

  void SetUp() override {
    install();
    demo = hv6::demoDataFolder();
    ASSERT_TRUE(QDir().mkpath(demo));
    ASSERT_TRUE(
        registry.writeString(StartKeys::kEnvironment, StartKeys::kInstallPath, QStringLiteral("/p")));
  }

  void putDemoFile(const QString& name) {
    QFile file(demo + u'/' + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }

  QString setting(const QString& subkey, const QString& name) {
    QString value;
    registry.readString(subkey, name, value);
    return value;
  }
};

TEST_F(DemoDataChoiceTest, MissingDemoFileShows2916AndWritesNothing) {
  putDemoFile(hv6::kDiaryFileName);  // the weather file is missing
  EXPECT_FALSE(choice.useDemoData());
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_EQ(messages.messages().first().number, 2916);
  EXPECT_EQ(messages.messages().first().kind, 0);
  EXPECT_TRUE(setting(StartKeys::kBaseInfo, StartKeys::kDataPath).isEmpty());
  EXPECT_TRUE(setting(StartKeys::kMap, StartKeys::kFmpFile).isEmpty());
}

TEST_F(DemoDataChoiceTest, PresentDemoDataIsWrittenToTheSettings) {
  putDemoFile(hv6::kDiaryFileName);
  putDemoFile(hv6::kWeatherFileName);
  EXPECT_TRUE(choice.useDemoData());
  EXPECT_EQ(setting(StartKeys::kBaseInfo, StartKeys::kDataPath), demo + u'/' + hv6::kDiaryFileName);
  EXPECT_EQ(setting(StartKeys::kBaseInfo, StartKeys::kWeatherDataPath),
            demo + u'/' + hv6::kWeatherFileName);
  EXPECT_EQ(setting(StartKeys::kMap, StartKeys::kFmpFile), QStringLiteral("\\ほ場図.fmp"));
  ASSERT_EQ(messages.messages().size(), 1);
  const hv6::MessageRequest& notice = messages.messages().first();
  EXPECT_EQ(notice.text, FirstStartChoice::demoNoticeText());
  EXPECT_EQ(notice.icon, hv6::MsgIcon::Warning);
  EXPECT_EQ(notice.caption, hv6::kAppTitle);
}

TEST_F(DemoDataChoiceTest, UnreadableOrUnwritableSettingsKeepTheDialog) {
  putDemoFile(hv6::kDiaryFileName);
  putDemoFile(hv6::kWeatherFileName);
  ASSERT_EQ(store.deleteValue(registry.keyPath(StartKeys::kEnvironment), StartKeys::kInstallPath),
            hv6::RegStatus::Ok);
  EXPECT_FALSE(choice.useDemoData());
  // A settings key without the Map key: the field-map setting cannot be written.
  install(QStringLiteral("farm2"), {StartKeys::kBaseInfo, StartKeys::kEnvironment});
  ASSERT_TRUE(
      registry.writeString(StartKeys::kEnvironment, StartKeys::kInstallPath, QStringLiteral("/p")));
  EXPECT_FALSE(choice.useDemoData());
  EXPECT_EQ(messages.numbers(), (QList<long>{2504, 2503}));
}

}  // namespace
