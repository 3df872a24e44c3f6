// The base-information sheet: its start, the order of its OK, and the
// command that runs it from the frame.
#include "shell/ui/baseinfosheet.h"

#include "calendar/ui/hrvview.h"
#include "outside/hrvcom106/checkv5app.h"
#include "shell/appcore.h"
#include "shell/ui/mainframe.h"
#include "store/information.h"
#include "tests/calendar/calendar_fixture.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/nm_standin.h"
#include "tests/support/temp_data_folder.h"
#include "weather/commsettings.h"
#include "weather/dialupentries.h"
#include "weather/ui/weathenv.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

namespace {

using hv6::StartKeys;

class BaseInfoSheetTest : public hv6test::InstalledRegistryTest {
 protected:
  hv6test::TempDataFolder data;
  CCheckV5App check;
  hv6::DialUpEntriesFactory dialUp = [] { return std::make_unique<hv6::NoDialUpEntries>(); };
  hv6::AppCore core{store};

  void SetUp() override {
    install();
    setPaths(data.diaryPath(), data.weatherPath());
    for (const char* name : {"DaySort", "ISWorkDryPWord", "ISSealDryPWord", "ISHvPayPWord",
                             "ISBusDryPWord", "NetworkSetup", "ConnectMethod", "DisconnectMethod",
                             "Terra8Setup", "IWDrySetup"})
      ASSERT_TRUE(registry.writeDword(StartKeys::kBaseInfo, QString::fromLatin1(name), 0));
    for (const char* name : {"WorkDryPWord", "SealDryPWord", "HvPayPWord", "BusDryPWord", "PhoneEntry"})
      ASSERT_TRUE(registry.writeString(StartKeys::kBaseInfo, QString::fromLatin1(name), QString()));
    data.diary().Execute(QStringLiteral("UPDATE Information SET President = '山田 太郎'"));
    data.weather().Execute(QStringLiteral(
        "INSERT INTO Item (Code, LastUpdate, DataSpecies, Type) VALUES (1, '2026-04-01 00:00:00', 0, 0)"));
  }

  std::unique_ptr<CBaseInfo> makeSheet() {
    auto sheet = std::make_unique<CBaseInfo>(
        CBaseInfo::Services{registry, check, dialUp, [this] { return core.reopenWeatherDatabase(); }},
        1, hv6::kAppTitle);
    return sheet;
  }

  template <typename T>
  static T* control(QWidget& parent, int id) {
    return parent.findChild<T*>(QString::number(id));
  }

  QString president() {
    const hv6::InformationRead read = hv6::readInformation(data.diaryPath());
    return read.row.texts.president;
  }
};

TEST_F(BaseInfoSheetTest, AMissingBaseValueKeepsTheSheetClosed) {
  ASSERT_EQ(store.deleteValue(registry.keyPath(StartKeys::kBaseInfo), QStringLiteral("HvPayPWord")),
            hv6::RegStatus::Ok);
  auto sheet = makeSheet();
  EXPECT_EQ(sheet->run(), int(QDialog::Rejected));
  EXPECT_EQ(messages.numbers(), QList<long>{2504});
  EXPECT_FALSE(sheet->isVisible());
}

TEST_F(BaseInfoSheetTest, OkWritesTheValuesTheRowAndTheServiceFlags) {
  auto sheet = makeSheet();
  ASSERT_TRUE(sheet->load());
  control<QCheckBox>(*sheet, CAndso::kIdDaySort)->setChecked(true);
  control<QLineEdit>(*sheet, 1003)->setText(QStringLiteral("岩手農園"));
  sheet->weathEnvPage()->initialise();
  control<QCheckBox>(*sheet, CWeathEnv::kIdOnlineService)->click();
  ASSERT_TRUE(QDir().mkpath(QFileInfo(hv6::wxfetchIniPath()).path()));
  sheet->accept();
  EXPECT_EQ(sheet->result(), int(QDialog::Accepted));
  EXPECT_EQ(messages.numbers(), QList<long>{});
  EXPECT_EQ(dword(StartKeys::kBaseInfo, QStringLiteral("DaySort")), 1u);
  EXPECT_EQ(dword(StartKeys::kBaseInfo, QStringLiteral("Terra8Setup")), 1u);
  EXPECT_EQ(hv6::readInformation(data.diaryPath()).row.texts.company, QStringLiteral("岩手農園"));
}

TEST_F(BaseInfoSheetTest, ABadStartDateOrABlankPresidentSavesNothing) {
  auto sheet = makeSheet();
  ASSERT_TRUE(sheet->load());
  control<QCheckBox>(*sheet, CAndso::kIdDaySort)->setChecked(true);
  sheet->weathEnvPage()->initialise();
  for (const char* date : {"2003/6/30", "2003/02/29"}) {
    messages.clear();
    control<QLineEdit>(*sheet, CWeathEnv::kIdStartDate)->setText(QString::fromLatin1(date));
    sheet->accept();
    EXPECT_EQ(messages.numbers(), QList<long>{2638}) << date;
    EXPECT_EQ(dword(StartKeys::kBaseInfo, QStringLiteral("DaySort")), 0u);
  }
  control<QLineEdit>(*sheet, CWeathEnv::kIdStartDate)->setText(QStringLiteral("2004/02/29"));
  control<QLineEdit>(*sheet, 1004)->setText(QStringLiteral("　　"));
  messages.clear();
  sheet->accept();
  EXPECT_EQ(messages.numbers(), QList<long>{1507});
  EXPECT_EQ(dword(StartKeys::kBaseInfo, QStringLiteral("DaySort")), 0u);
  EXPECT_EQ(president(), QStringLiteral("山田 太郎"));
  EXPECT_NE(sheet->result(), int(QDialog::Accepted));
}

TEST_F(BaseInfoSheetTest, AFailedSettingsWriteReports2503AndTheSheetStays) {
  auto sheet = makeSheet();
  ASSERT_TRUE(sheet->load());
  control<QLineEdit>(*sheet, 1004)->setText(QStringLiteral("佐藤 花子"));
  ASSERT_TRUE(registry.selectSettingsKey(QStringLiteral("gone")));  // no settings root
  sheet->accept();
  EXPECT_EQ(messages.numbers(), QList<long>{2503});
  EXPECT_NE(sheet->result(), int(QDialog::Accepted));
  EXPECT_EQ(president(), QStringLiteral("山田 太郎"));  // nothing after the failed write
}

TEST_F(BaseInfoSheetTest, TheCommandWritesTheDemoFieldMapForADemoDataFolder) {
  hv6test::installCalendarSettings(store, registry);
  // The same data under a folder named like the demo's.
  const QString demo = env.path(QStringLiteral("DemoData"));
  ASSERT_TRUE(QDir().mkpath(demo));
  ASSERT_TRUE(QFile::copy(data.diaryPath(), demo + u'/' + hv6::kDiaryFileName));
  ASSERT_TRUE(QFile::copy(data.weatherPath(), demo + u'/' + hv6::kWeatherFileName));
  setPaths(demo + u'/' + hv6::kDiaryFileName, demo + u'/' + hv6::kWeatherFileName);
  ASSERT_TRUE(registry.writeString(StartKeys::kMap, QStringLiteral("BmpFile"), QStringLiteral("x.bmp")));
  CMainFrame frame(core);
  ASSERT_TRUE(frame.OnCreateClient());
  messages.clear();
  QTimer::singleShot(0, [] {
    for (QWidget* window : QApplication::topLevelWidgets())
      if (auto* sheet = qobject_cast<CBaseInfo*>(window); sheet && sheet->isVisible())
        sheet->findChild<QPushButton*>(QStringLiteral("1"))->click();
  });
  frame.OnCommand(32771);
  EXPECT_TRUE(messages.empty());
  QString fmp, bmp;
  ASSERT_TRUE(registry.readString(StartKeys::kMap, StartKeys::kFmpFile, fmp));
  ASSERT_TRUE(registry.readString(StartKeys::kMap, QStringLiteral("BmpFile"), bmp));
  EXPECT_EQ(fmp, QStringLiteral("\\ほ場図.fmp"));
  EXPECT_TRUE(bmp.isEmpty());
  EXPECT_TRUE(core.diaryDatabase().IsOpen());
}

// The command's communication page lists the phone-book entries through
// the dial library of the program folder.
TEST_F(BaseInfoSheetTest, TheCommandsCommunicationPageListsTheDialUpEntries) {
  hv6test::installCalendarSettings(store, registry);
  hv6test::NetworkManagerStandIn nm;
  ASSERT_TRUE(nm.startManager()) << qPrintable(nm.error());
  nm.addProfile(QStringLiteral("農協回線"));
  nm.addProfile(QStringLiteral("office"));
  setPaths(data.diaryPath(), data.weatherPath(), QStringLiteral(HV6_DIALNT6_DIR));
  CMainFrame frame(core);
  ASSERT_TRUE(frame.OnCreateClient());
  messages.clear();
  QStringList listed;
  QTimer::singleShot(0, [&listed] {
    for (QWidget* window : QApplication::topLevelWidgets())
      if (auto* sheet = qobject_cast<CBaseInfo*>(window); sheet && sheet->isVisible()) {
        sheet->tabs()->setCurrentWidget(sheet->weathEnvPage());
        auto* list = sheet->findChild<QComboBox*>(QString::number(CWeathEnv::kIdEntries));
        for (int i = 0; i < list->count(); ++i) listed << list->itemText(i);
        sheet->findChild<QPushButton*>(QStringLiteral("2"))->click();
      }
  });
  frame.OnCommand(32771);
  EXPECT_EQ(listed, (QStringList{QStringLiteral("office"), QStringLiteral("農協回線")}));
  EXPECT_TRUE(messages.empty());
}

}  // namespace
