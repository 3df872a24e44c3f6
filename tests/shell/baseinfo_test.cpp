// The base settings of the base-information sheet, the field map after it,
// and the help pages.
#include "shell/baseinfo.h"
#include "shell/help.h"

#include "store/schema.h"
#include "tests/shell/shell_fixture.h"

#include <QDir>

namespace {

using hv6::StartKeys;

class BaseInfoTest : public hv6test::InstalledRegistryTest {
 protected:
  void SetUp() override {
    install();
    setPaths(QStringLiteral("/farm/a/") + hv6::kDiaryFileName, QString());
    ASSERT_TRUE(registry.writeDword(StartKeys::kBaseInfo, QStringLiteral("DaySort"), 1));
    for (int module = 0; module < hv6::kPasswordModules; ++module) {
      ASSERT_TRUE(registry.writeDword(StartKeys::kBaseInfo, hv6::passwordFlagName(module), 0));
      ASSERT_TRUE(registry.writeString(StartKeys::kBaseInfo, hv6::passwordValueName(module), {}));
    }
  }
};

TEST_F(BaseInfoTest, TheElevenValuesAreReadAndWrittenTogether) {
  hv6::BaseInfoValues values;
  ASSERT_TRUE(hv6::readBaseInfo(registry, values));
  EXPECT_EQ(values.daySort, 1u);
  EXPECT_FALSE(values.passwords[hv6::kPayroll].set);

  values.passwords[hv6::kPayroll] = {true, QStringLiteral("Kome88")};
  values.dataPath = QStringLiteral("/farm/b/") + hv6::kDiaryFileName;
  values.daySort = 0;
  ASSERT_TRUE(hv6::writeBaseInfo(registry, values));
  // An empty weather path is made from the data folder.
  EXPECT_EQ(values.weatherDataPath, QStringLiteral("/farm/b/") + hv6::kWeatherFileName);

  hv6::BaseInfoValues again;
  ASSERT_TRUE(hv6::readBaseInfo(registry, again));
  EXPECT_EQ(again.dataPath, values.dataPath);
  EXPECT_EQ(again.weatherDataPath, values.weatherDataPath);
  EXPECT_EQ(again.daySort, 0u);
  EXPECT_TRUE(again.passwords[hv6::kPayroll].set);
  EXPECT_EQ(again.passwords[hv6::kPayroll].password, QStringLiteral("Kome88"));
  EXPECT_EQ(dword(StartKeys::kBaseInfo, QStringLiteral("ISHvPayPWord")), 1u);
}

TEST_F(BaseInfoTest, AMissingValueRefusesTheReadAndAFailedWriteChangesNothing) {
  ASSERT_EQ(store.deleteValue(registry.keyPath(StartKeys::kBaseInfo), QStringLiteral("BusDryPWord")),
            hv6::RegStatus::Ok);
  hv6::BaseInfoValues values;
  EXPECT_FALSE(hv6::readBaseInfo(registry, values));

  // Without a settings root nothing can be written, and nothing is.
  values.dataPath = QStringLiteral("/elsewhere/") + hv6::kDiaryFileName;
  ASSERT_TRUE(registry.selectSettingsKey(QStringLiteral("gone")));
  EXPECT_FALSE(hv6::writeBaseInfo(registry, values));
  ASSERT_TRUE(registry.selectSettingsKey(QString()));
  QString dataPath;
  ASSERT_TRUE(registry.readString(StartKeys::kBaseInfo, StartKeys::kDataPath, dataPath));
  EXPECT_EQ(dataPath, QStringLiteral("/farm/a/") + hv6::kDiaryFileName);
}

TEST_F(BaseInfoTest, ADemoDataFolderInAnyCaseGetsTheDemoFieldMap) {
  EXPECT_EQ(hv6::fieldMapFileFor(QStringLiteral("/x/demodata/") + hv6::kDiaryFileName),
            QStringLiteral("\\ほ場図.fmp"));
  EXPECT_EQ(hv6::fieldMapFileFor(QStringLiteral("/x/DemoData/") + hv6::kDiaryFileName),
            QStringLiteral("\\ほ場図.fmp"));
  EXPECT_EQ(hv6::fieldMapFileFor(QStringLiteral("/x/demodata2/") + hv6::kDiaryFileName),
            QStringLiteral("\\ﾃﾝﾌﾟﾚｰﾄ.fmp"));
  ASSERT_TRUE(registry.writeString(StartKeys::kMap, QStringLiteral("BmpFile"), QStringLiteral("a.bmp")));
  ASSERT_TRUE(hv6::writeFieldMapSettings(registry, QStringLiteral("/d/DEMODATA/x.HV6")));
  QString fmp, bmp;
  ASSERT_TRUE(registry.readString(StartKeys::kMap, StartKeys::kFmpFile, fmp));
  ASSERT_TRUE(registry.readString(StartKeys::kMap, QStringLiteral("BmpFile"), bmp));
  EXPECT_EQ(fmp, QStringLiteral("\\ほ場図.fmp"));
  EXPECT_TRUE(bmp.isEmpty());
}

TEST(HelpTest, MissingHelpShowsItsPathAndATopicWithoutPageShowsTheIndex) {
  hv6test::TestEnvironment env;
  hv6test::MessageRecorder messages;
  QList<QUrl> opened;
  const hv6::PageOpener open = [&](const QUrl& url) { opened.append(url); return true; };
  const QString folder = env.path(QStringLiteral("hv6.chm"));
  EXPECT_FALSE(hv6::showHelpTopic(hv6::HelpBook(folder), hv6::HelpTopic::kMain, open));
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_EQ(messages.messages().first().text,
            QStringLiteral("Not Exist Html Help File\n\n   File Path [ %1 ]").arg(folder));
  EXPECT_TRUE(opened.isEmpty());

  ASSERT_TRUE(QDir().mkpath(folder));
  for (const char* page : {"10000.html", "99999.html"}) {
    QFile file(folder + u'/' + QString::fromLatin1(page));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  EXPECT_TRUE(hv6::showHelpTopic(hv6::HelpBook(folder), hv6::HelpTopic::kMain, open));
  EXPECT_TRUE(hv6::showHelpTopic(hv6::HelpBook(folder), hv6::HelpTopic::kMenuSettings, open));
  ASSERT_EQ(opened.size(), 2);
  EXPECT_TRUE(opened.at(0).toLocalFile().endsWith(QStringLiteral("hv6.chm/10000.html")));
  EXPECT_TRUE(opened.at(1).toLocalFile().endsWith(QStringLiteral("hv6.chm/99999.html")));
}

}  // namespace
