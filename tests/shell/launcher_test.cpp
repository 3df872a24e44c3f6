// The launcher: offering, the Tools menu, the settings dialog's list and
// OK, and the start with the day handed over.
#include "shell/launcher.h"

#include "tests/calendar/calendar_fixture.h"

#include <QFile>
#include <QThread>

namespace {

using hv6::LauncherEntry;
using Outcome = hv6::ProgramLauncher::Outcome;

class LauncherTest : public hv6test::CalendarRegistryTest {
 protected:
  QList<LauncherEntry> entries() {
    QList<LauncherEntry> loaded;
    EXPECT_TRUE(hv6::loadLauncherEntries(registry, loaded));
    return loaded;
  }

  // An executable program file in the test folder.
  QString makeProgram(const QString& name) {
    const QString path = env.path(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\nexit 0\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
  }

  std::uint32_t handedDate() {
    std::uint32_t date = 0;
    EXPECT_TRUE(registry.readDword(QStringLiteral("Calendar"), QStringLiteral("Date"), date));
    return date;
  }
};

TEST_F(LauncherTest, AnEntryIsOfferedOnlyWithAnIconAndIncorporate) {
  QList<LauncherEntry> list = entries();
  const QString program = makeProgram(QStringLiteral("plan"));
  list[0].icon = program;                    // offered
  list[1].icon = env.path(QStringLiteral("missing"));  // Incorporate 1, no icon file
  list[2].icon = program;
  list[2].incorporate = 0;                   // icon, but not installed
  const QList<bool> offered = hv6::offeredEntries(list);
  EXPECT_TRUE(offered.at(0));
  EXPECT_FALSE(offered.at(1));
  EXPECT_FALSE(offered.at(2));
  EXPECT_FALSE(hv6::iconExtractable(env.path(QStringLiteral("registry.reg"))));  // not an image
  EXPECT_TRUE(hv6::anyUsableOffered(offered));
}

TEST_F(LauncherTest, EntriesSixAndFourteenAloneAreNotUsable) {
  QList<bool> offered(hv6::kLauncherCount, false);
  EXPECT_FALSE(hv6::anyUsableOffered(offered));
  offered[5] = offered[13] = true;
  EXPECT_FALSE(hv6::anyUsableOffered(offered));
  offered[19] = true;
  EXPECT_TRUE(hv6::anyUsableOffered(offered));
}

TEST_F(LauncherTest, ToolsMenuListsMarkedEntriesAndEntryTenGetsItsKey) {
  QList<LauncherEntry> list = entries();
  list[9].name = QStringLiteral("給与計算");
  list[9].toolMenu = 1;
  list[5].name = QStringLiteral("出荷伝票集計");
  list[5].toolMenu = 1;
  list[11].toolMenu = 2;  // only 1 marks an entry
  const QList<hv6::ToolMenuItem> items = hv6::toolMenuItems(list);
  ASSERT_EQ(items.size(), 2);
  EXPECT_EQ(items.at(0).commandId, 10006);
  EXPECT_EQ(items.at(0).text, QStringLiteral("出荷伝票集計"));
  EXPECT_EQ(items.at(1).commandId, 10010);
  EXPECT_EQ(items.at(1).text, QStringLiteral("給与計算(&K)"));
}

TEST_F(LauncherTest, SettingsListLeavesOutSixTwelveFourteenAndUnnamedEntries) {
  QList<LauncherEntry> list = entries();
  list[0].name = QStringLiteral("農程管理");
  list[14].name.clear();
  list[2].incorporate = 0;
  const hv6::LauncherSettings settings(list);
  QList<int> numbers;
  for (const auto& item : settings.items()) numbers.append(item.number);
  EXPECT_FALSE(numbers.contains(6) || numbers.contains(12) || numbers.contains(14) ||
               numbers.contains(15));
  EXPECT_EQ(numbers.size(), 16);
  EXPECT_EQ(settings.items().at(0).text,
            QStringLiteral("農程管理         予定と実績を入力して栽培管理のプロセスを掴みます。"));
  EXPECT_FALSE(settings.items().at(2).checked);
  EXPECT_TRUE(hv6::launcherDescription(11).startsWith(QStringLiteral("   作業")));
  EXPECT_TRUE(hv6::launcherDescription(8).startsWith(QString(11, u' ') + u'ほ'));
  EXPECT_TRUE(hv6::launcherDescription(14).isEmpty());
}

TEST_F(LauncherTest, SettingsOkNeedsACheckAndWritesStoredNamesWithTheChecks) {
  hv6::LauncherSettings settings(entries());
  for (int row = 0; row < settings.items().size(); ++row) settings.setChecked(row, false);
  EXPECT_FALSE(settings.accept(registry));
  EXPECT_EQ(messages.numbers(), QList<long>{2911});
  EXPECT_EQ(entries().at(0).incorporate, 1u);  // nothing written

  messages.clear();
  settings.setChecked(1, true);  // entry 2
  ASSERT_TRUE(settings.accept(registry));
  EXPECT_TRUE(messages.empty());
  const QList<LauncherEntry> stored = entries();
  EXPECT_EQ(stored.at(0).incorporate, 0u);
  EXPECT_EQ(stored.at(1).incorporate, 1u);
  EXPECT_EQ(stored.at(5).incorporate, 1u);  // not listed: kept
  EXPECT_EQ(stored.at(0).name, QStringLiteral("entry"));  // without the description
}

TEST_F(LauncherTest, SettingsOkStopsWhenAStoredNameCannotBeRead) {
  hv6::LauncherSettings settings(entries());
  settings.setChecked(0, false);
  const QString lastKey = registry.keyPath(hv6::launcherSubkey(20));
  ASSERT_EQ(store.deleteValue(lastKey, QStringLiteral("Name")), hv6::RegStatus::Ok);
  EXPECT_FALSE(settings.accept(registry));
  EXPECT_EQ(messages.numbers(), QList<long>{2504});
  std::uint32_t incorporate = 0;
  ASSERT_TRUE(registry.readDword(hv6::launcherSubkey(1), QStringLiteral("Incorporate"), incorporate));
  EXPECT_EQ(incorporate, 1u);  // nothing written
}

TEST_F(LauncherTest, LaunchHandsTheRightClickedDayOnceThenToday) {
  int started = 0;
  hv6::ProgramLauncher launcher([&](const QString&) { ++started; return hv6::StartResult{true, {}}; },
                                [] { return qint64(0); });
  QList<LauncherEntry> list = entries();
  list[1].exe = makeProgram(QStringLiteral("diary"));
  list[0].exe = list[1].exe;
  long selected = 20260415;
  EXPECT_EQ(launcher.launch(list[1], true, selected, 20261208, registry), Outcome::Started);
  EXPECT_EQ(handedDate(), 20260415u);
  EXPECT_EQ(selected, 0);
  EXPECT_EQ(launcher.launch(list[0], true, selected, 20261208, registry), Outcome::Started);
  EXPECT_EQ(handedDate(), 20261208u);
  EXPECT_EQ(started, 2);
  EXPECT_TRUE(messages.empty());
}

TEST_F(LauncherTest, TwoQuickLaunchesStartTheProgramOnce) {
  int started = 0;
  qint64 now = 1000;
  hv6::ProgramLauncher launcher([&](const QString&) { ++started; return hv6::StartResult{true, {}}; },
                                [&] { return now; });
  LauncherEntry entry = entries().at(1);
  entry.exe = makeProgram(QStringLiteral("diary"));
  long selected = 0;
  EXPECT_EQ(launcher.launch(entry, true, selected, 20261208, registry), Outcome::Started);
  now += 300;
  EXPECT_EQ(launcher.launch(entry, true, selected, 20261208, registry), Outcome::Ignored);
  EXPECT_EQ(started, 1);
  now += hv6::ProgramLauncher::kSettleMs;
  EXPECT_EQ(launcher.launch(entry, true, selected, 20261208, registry), Outcome::Started);
  EXPECT_EQ(started, 2);
}

TEST_F(LauncherTest, LaunchFailuresShowTheirMessagesAndAClosedDiaryDoesNothing) {
  LauncherEntry entry = entries().at(2);
  long selected = 20260101;
  hv6::ProgramLauncher launcher;
  EXPECT_EQ(launcher.launch(entry, false, selected, 20261208, registry), Outcome::Ignored);
  EXPECT_EQ(selected, 20260101);

  entry.exe = env.path(QStringLiteral("nowhere/sales"));
  EXPECT_EQ(launcher.launch(entry, true, selected, 20261208, registry), Outcome::ProgramMissing);
  EXPECT_EQ(messages.numbers(), QList<long>{2904});

  // Without the Calendar key the date cannot be written: 2503, and the
  // program is still started.
  messages.clear();
  hv6::RegistryStore bareStore{env.path(QStringLiteral("bare.reg"))};
  ASSERT_EQ(bareStore.createKey(hv6::AppRegistry::kBaseKey), hv6::RegStatus::Ok);
  hv6::AppRegistry bare{bareStore};
  ASSERT_TRUE(bare.selectSettingsKey(QString()));
  const QString marker = env.path(QStringLiteral("started"));
  entry.exe = env.path(QStringLiteral("sales"));
  QFile script(entry.exe);
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write(("#!/bin/sh\ntouch '" + marker + "'\n").toUtf8());
  script.close();
  script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(launcher.launch(entry, true, selected, 20261208, bare), Outcome::Started);
  EXPECT_EQ(messages.numbers(), QList<long>{2503});
  for (int wait = 0; wait < 100 && !QFile::exists(marker); ++wait) QThread::msleep(50);
  EXPECT_TRUE(QFile::exists(marker));
}

}  // namespace

namespace {

// The layout shared with the new-data library: every value carried both
// ways; a name longer than the field is cut before a whole character.
TEST(LauncherToolEntries, CarriedThroughTheSharedLayout) {
  QList<hv6::LauncherEntry> entries;
  for (int number = 1; number <= hv6::kLauncherCount; ++number)
    entries.append({QStringLiteral("作業日誌%1").arg(number), QStringLiteral("/p/icon%1.svg").arg(number),
                    QStringLiteral("/p/prog%1 -x").arg(number), std::uint32_t(number % 2),
                    std::uint32_t(number % 3 == 0), 10000 + number, 1223 + number});
  entries[4].name = QString(200, QChar(u'畑'));  // 600 bytes of UTF-8
  Hv6LauncherEntry shared[HV6_LAUNCHER_COUNT];
  hv6::toToolEntries(entries, shared);
  const QList<hv6::LauncherEntry> back = hv6::fromToolEntries(shared, HV6_LAUNCHER_COUNT);
  ASSERT_EQ(back.size(), hv6::kLauncherCount);
  for (int i = 0; i < hv6::kLauncherCount; ++i) {
    if (i == 4) continue;
    EXPECT_EQ(back[i].name, entries[i].name);
    EXPECT_EQ(back[i].icon, entries[i].icon);
    EXPECT_EQ(back[i].exe, entries[i].exe);
    EXPECT_EQ(back[i].incorporate, entries[i].incorporate);
    EXPECT_EQ(back[i].toolMenu, entries[i].toolMenu);
    EXPECT_EQ(back[i].commandId, entries[i].commandId);
    EXPECT_EQ(back[i].helpId, entries[i].helpId);
  }
  EXPECT_EQ(back[4].name, QString(85, QChar(u'畑')));  // 255 bytes hold 85 whole characters
}

}  // namespace
