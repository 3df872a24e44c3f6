#include "tests/weather/weather_fixture.h"

#include "weather/startdate.h"
#include "weather/ui/weathenv.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

class FakeDialUp final : public hv6::DialUpEntries {
 public:
  ~FakeDialUp() override {
    if (released) *released = true;
  }
  bool listEntries(QStringList& out) override {
    out = names;
    return listable;
  }
  QStringList names;
  bool listable = true;
  bool* released = nullptr;
};

class WeathEnvTest : public hv6test::CommSettingsTest {
 protected:
  FakeDialUp fake;
  hv6::DialUpEntriesFactory dialUp = [this] { return std::make_unique<FakeDialUp>(fake); };

  void SetUp() override {
    CommSettingsTest::SetUp();
    hv6::CommSettings s;
    s.terra8Setup = 1;
    s.networkSetup = 1;
    s.connectMethod = hv6::kConnectDialUp;
    s.disconnectMethod = hv6::kHangUp;
    s.phoneEntry = QStringLiteral("isp");
    storeSettings(s);
    storeIni(QStringLiteral("farm01"), QStringLiteral("secret"));
    addItem(QDateTime(QDate(2003, 6, 30), QTime(0, 0)));
    fake.names = {QStringLiteral("office"), QStringLiteral("ISP-main"), QStringLiteral("home")};
  }

  template <typename T = QWidget>
  static T* control(const QWidget& page, int id) {
    T* widget = page.findChild<T*>(QString::number(id));
    EXPECT_NE(widget, nullptr) << id;
    return widget;
  }
  static void click(const QWidget& page, int id) { control<QAbstractButton>(page, id)->click(); }
  static QList<int> enabledOf(const QWidget& page, const QList<int>& ids) {
    QList<int> enabled;
    for (int id : ids)
      if (control(page, id)->isEnabled()) enabled << id;
    return enabled;
  }

  static inline const QList<int> kCommon{1008, 1010, 1011, 1065, 1036, 1040, 1038, 1041};
  static inline const QList<int> kDialUp{1012, 1028, 1029, 1030, 1031};
  static inline const QList<int> kStartDate{1017, 1034, 1035};
};

TEST_F(WeathEnvTest, ShowingThePageFillsItsControls) {
  CWeathEnv page(registry, dialUp);
  page.load(&data.weather());
  EXPECT_FALSE(page.isInitialised());
  page.show();
  ASSERT_TRUE(page.isInitialised());

  EXPECT_TRUE(control<QAbstractButton>(page, 1064)->isChecked());
  EXPECT_TRUE(control<QAbstractButton>(page, 1008)->isChecked());
  EXPECT_TRUE(control<QAbstractButton>(page, 1011)->isChecked());
  EXPECT_TRUE(control<QAbstractButton>(page, 1028)->isChecked());
  EXPECT_FALSE(control<QAbstractButton>(page, 1065)->isChecked());
  EXPECT_EQ(control<QLineEdit>(page, 1017)->text(), QStringLiteral("2003/06/30"));
  EXPECT_EQ(control<QLineEdit>(page, 1040)->text(), QStringLiteral("farm01"));
  EXPECT_EQ(control<QLineEdit>(page, 1041)->text(), QStringLiteral("secret"));
  EXPECT_EQ(control<QLineEdit>(page, 1040)->maxLength(), 50);
  EXPECT_EQ(control<QLineEdit>(page, 1041)->maxLength(), 50);
  EXPECT_EQ(control<QLabel>(page, 1035)->text(), QStringLiteral("(YYYY/MM/DD 例. 2003/06/30)"));

  auto* entries = control<QComboBox>(page, 1012);
  ASSERT_EQ(entries->count(), 3);
  EXPECT_EQ(entries->itemText(0), QStringLiteral("home"));
  EXPECT_EQ(entries->itemText(2), QStringLiteral("office"));
  EXPECT_EQ(entries->currentText(), QStringLiteral("ISP-main"));
  EXPECT_TRUE(messages.empty());
}

TEST_F(WeathEnvTest, ClicksEnableAndDisableTheirControls) {
  CWeathEnv page(registry, dialUp);
  page.load(&data.weather());
  page.show();
  const QList<int> all = kCommon + kDialUp + kStartDate;
  EXPECT_EQ(enabledOf(page, all), all);

  click(page, 1010);
  EXPECT_EQ(enabledOf(page, all), kCommon + kStartDate);
  click(page, 1008);
  EXPECT_EQ(enabledOf(page, all), kCommon);
  click(page, 1011);
  EXPECT_EQ(enabledOf(page, all), kCommon + kDialUp);

  click(page, 1064);
  EXPECT_EQ(enabledOf(page, all), QList<int>{});
  click(page, 1008);  // disabled: no effect
  EXPECT_FALSE(control<QAbstractButton>(page, 1008)->isChecked());
  click(page, 1064);
  EXPECT_EQ(enabledOf(page, all), kCommon + kDialUp);
}

TEST_F(WeathEnvTest, BadStartDateIsRefused) {
  CWeathEnv page(registry, dialUp);
  page.load(&data.weather());
  EXPECT_TRUE(page.checkStartDate());  // not shown: nothing to check
  page.show();
  for (const QString& text :
       {QStringLiteral("2003/6/30"), QStringLiteral("2003/02/29"), QStringLiteral("2003/ 6/30"),
        QStringLiteral("2003/+6/30"), QStringLiteral("２００３/06/30")}) {
    messages.clear();
    control<QLineEdit>(page, 1017)->setText(text);
    EXPECT_FALSE(page.checkStartDate()) << text.toStdString();
    EXPECT_EQ(messages.numbers(), QList<long>{2638});
  }
  messages.clear();
  control<QLineEdit>(page, 1017)->setText(QStringLiteral("2004/02/29"));
  EXPECT_TRUE(page.checkStartDate());
  EXPECT_TRUE(messages.empty());
}

TEST_F(WeathEnvTest, SaveWritesWhatTheControlsHold) {
  CWeathEnv page(registry, dialUp);
  page.load(&data.weather());
  page.show();
  click(page, 1008);
  click(page, 1030);
  click(page, 1065);
  control<QComboBox>(page, 1012)->setCurrentIndex(2);
  control<QLineEdit>(page, 1017)->setText(QStringLiteral("2004/02/29"));
  control<QLineEdit>(page, 1040)->setText(QStringLiteral("farm09"));
  control<QLineEdit>(page, 1041)->setText(QStringLiteral("pw9"));
  ASSERT_TRUE(page.checkStartDate());
  page.save(&data.weather());

  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(baseDword(QStringLiteral("NetworkSetup")), 0u);
  EXPECT_EQ(baseDword(QStringLiteral("ConnectMethod")), 1u);
  EXPECT_EQ(baseDword(QStringLiteral("DisconnectMethod")), 2u);
  EXPECT_EQ(baseDword(QStringLiteral("Terra8Setup")), 1u);
  EXPECT_EQ(baseDword(QStringLiteral("IWDrySetup")), 1u);
  EXPECT_EQ(phoneEntry(), QStringLiteral("office"));
  EXPECT_EQ(iniValue(QStringLiteral("USER_ID")), QStringLiteral("farm09"));
  EXPECT_EQ(iniValue(QStringLiteral("AGRI_PW")), QStringLiteral("pw9"));
  EXPECT_EQ(lastUpdates(), QStringList{QStringLiteral("2004-02-29 00:00:00")});
}

// The entry source (the dial-up controller, which reports a missing dial
// library) is made only when the page is first shown, and released then.
TEST_F(WeathEnvTest, TheEntrySourceLivesWhileThePageIsInitialised) {
  int made = 0;
  bool released = false;
  CWeathEnv page(registry, [&]() -> std::unique_ptr<hv6::DialUpEntries> {
    ++made;
    auto source = std::make_unique<FakeDialUp>(fake);
    source->released = &released;
    return source;
  });
  page.load(&data.weather());
  EXPECT_EQ(made, 0);
  page.show();
  page.hide();
  page.show();
  EXPECT_EQ(made, 1);
  EXPECT_TRUE(released);
  EXPECT_EQ(control<QComboBox>(page, 1012)->count(), 3);
}

TEST_F(WeathEnvTest, UnlistableEntriesLeavePhoneEntryAlone) {
  fake.listable = false;
  CWeathEnv page(registry, dialUp);
  page.load(&data.weather());
  page.show();
  EXPECT_EQ(control<QComboBox>(page, 1012)->count(), 0);
  page.save(&data.weather());
  EXPECT_EQ(phoneEntry(), QStringLiteral("isp"));
  EXPECT_TRUE(messages.empty());
}

TEST_F(WeathEnvTest, PageNeverShownWritesOnlyTheServiceFlags) {
  CWeathEnv page(registry, dialUp);
  page.load(&data.weather());
  ASSERT_TRUE(registry.writeDword(hv6::StartKeys::kBaseInfo, QStringLiteral("Terra8Setup"), 0));
  ASSERT_TRUE(registry.writeDword(hv6::StartKeys::kBaseInfo, QStringLiteral("NetworkSetup"), 7));
  storeIni(QStringLiteral("other"), QStringLiteral("other-pw"));

  page.save(&data.weather());
  EXPECT_EQ(baseDword(QStringLiteral("Terra8Setup")), 1u);  // the loaded flag written back
  EXPECT_EQ(baseDword(QStringLiteral("NetworkSetup")), 7u);
  EXPECT_EQ(iniValue(QStringLiteral("USER_ID")), QStringLiteral("other"));
  EXPECT_EQ(lastUpdates(), QStringList{QStringLiteral("2003-06-30 00:00:00")});
}

TEST_F(WeathEnvTest, PageNeverShownLeavesFlagsItCouldNotRead) {
  // Loading stops at the missing ConnectMethod: neither flag is read.
  store.deleteValue(registry.keyPath(hv6::StartKeys::kBaseInfo), hv6::CommKeys::kConnectMethod);
  ASSERT_TRUE(registry.writeDword(hv6::StartKeys::kBaseInfo, QStringLiteral("IWDrySetup"), 1));
  CWeathEnv page(registry, dialUp);
  page.load(&data.weather());
  EXPECT_EQ(messages.numbers(), QList<long>{2504});

  messages.clear();
  page.save(&data.weather());
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(baseDword(QStringLiteral("Terra8Setup")), 1u);
  EXPECT_EQ(baseDword(QStringLiteral("IWDrySetup")), 1u);
}

TEST_F(WeathEnvTest, WithoutADocumentsFolderTheIniIsNotWritten) {
  qunsetenv("HV6_DOCUMENTS");
  qunsetenv("HOME");
  ASSERT_TRUE(hv6::wxfetchIniPath().isEmpty());
  CWeathEnv page(registry, dialUp);
  page.load(&data.weather());
  page.show();
  EXPECT_TRUE(control<QLineEdit>(page, 1040)->text().isEmpty());
  EXPECT_TRUE(messages.empty());

  control<QLineEdit>(page, 1040)->setText(QStringLiteral("farm09"));
  page.save(&data.weather());
  EXPECT_EQ(messages.numbers(), QList<long>{2637});
  EXPECT_EQ(baseDword(QStringLiteral("Terra8Setup")), 1u);  // the rest is saved
}

TEST_F(WeathEnvTest, NewPageStartsWithTodayAndAskingToHangUp) {
  CWeathEnv page(registry, dialUp);
  EXPECT_EQ(page.settings().startDate, hv6::startDateText(QDate::currentDate()));
  EXPECT_EQ(page.settings().disconnectMethod, 2u);
  page.load(nullptr);
  EXPECT_EQ(page.settings().startDate, hv6::startDateText(QDate::currentDate()));
}

}  // namespace
