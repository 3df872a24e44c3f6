// The frame's menus, tool bars, launcher commands, help and the launcher
// settings dialog.
#include "shell/ui/mainframe.h"

#include "calendar/ui/hrvview.h"
#include "shell/appcore.h"
#include "mobile/ui/iwdrysheet.h"
#include "mobile/ui/progressdlg.h"
#include "store/upgrade.h"
#include "shell/ui/menusetdlg.h"
#include "platform/codec.h"
#include "platform/dao/dao.h"
#include "platform/profile.h"
#include "shell/envcopy.h"
#include "weather/ui/fieldlocationdlg.h"
#include "tests/calendar/calendar_fixture.h"
#include "tests/support/local_http_server.h"
#include "weather/commsettings.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/temp_data_folder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

namespace {

using hv6test::whenShown;

class FrameCommandsTest : public hv6test::InstalledRegistryTest {
 protected:
  hv6::AppCore core{store};
  std::unique_ptr<CMainFrame> frame;
  QString program;

  void SetUp() override {
    install();
    hv6test::installCalendarSettings(store, registry);
    program = env.path(QStringLiteral("diary-entry"));
    QFile file(program);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\nexit 0\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }

  void setEntry(int number, const QString& name, const QString& icon, std::uint32_t toolMenu = 0) {
    const QString key = hv6::launcherSubkey(number);
    ASSERT_TRUE(registry.writeString(key, QStringLiteral("Name"), name));
    ASSERT_TRUE(registry.writeString(key, QStringLiteral("Icon"), icon));
    ASSERT_TRUE(registry.writeString(key, QStringLiteral("Exe"), icon));
    ASSERT_TRUE(registry.writeDword(key, QStringLiteral("ToolMenu"), toolMenu));
  }

  void createFrame() {
    frame = std::make_unique<CMainFrame>(core);
    ASSERT_TRUE(frame->OnCreateClient());
  }

  QStringList menuTexts(const char* name) {
    QStringList texts;
    for (QAction* item : frame->findChild<QMenu*>(QString::fromLatin1(name))->actions())
      texts << (item->isSeparator() ? QStringLiteral("-") : item->objectName() + u' ' + item->text());
    return texts;
  }
};

TEST_F(FrameCommandsTest, MenuBarHasEveryMenuWithItsItemsInOrder) {
  createFrame();
  QStringList titles;
  for (QAction* menu : frame->menuBar()->actions()) titles << menu->text();
  EXPECT_EQ(titles, (QStringList{"ファイル(&F)", "カレンダー(&C)", "日誌(&D)", "集計(&S)",
                                 "ツール(&T)", "ヘルプ(&H)"}));
  const QStringList file = menuTexts("FileMenu");
  EXPECT_EQ(file.first(), QStringLiteral("57600 新規作成(&N)"));
  EXPECT_TRUE(file.contains(QStringLiteral("10009 台帳登録(&D)")));
  EXPECT_TRUE(file.contains(QStringLiteral("57607 印刷(&P)\tCtrl+P")));
  EXPECT_TRUE(file.contains(QStringLiteral("32773 データ保存（バックアップ）(&B)")));
  EXPECT_EQ(file.last(), QStringLiteral("57665 Harvoの終了(&X)"));
  EXPECT_EQ(menuTexts("DiaryMenu"),
            (QStringList{"10001 農程管理(&K)", "10002 作業日誌(&W)", "10003 販売管理(&S)",
                         "10004 営農日記(&D)", "10007 気象・栽培(&E)"}));
  EXPECT_EQ(menuTexts("SummaryMenu").last(), QStringLiteral("10011 農作業気象分析（&P）"));
  EXPECT_EQ(menuTexts("HelpMenu"),
            (QStringList{"57667 Harvoのヘルプ(&H)\tF1", "-", "32812 サポート問い合わせ(&Q)",
                         "32817 バージョン情報 (&A)"}));
  EXPECT_EQ(frame->frameAction(10001)->statusTip(), QStringLiteral("農程管理を実行します。"));
  EXPECT_EQ(frame->frameAction(10001)->toolTip(), QStringLiteral("農程管理"));
  EXPECT_EQ(frame->frameAction(57667)->shortcut(), QKeySequence(Qt::Key_F1));
  EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("レディ"));
}

TEST_F(FrameCommandsTest, ToolBarShowsOfferedEntriesAndToolsMenuTheMarkedOnes) {
  setEntry(2, QStringLiteral("作業日誌入力"), program);
  setEntry(10, QStringLiteral("給与計算"), program, 1);
  setEntry(12, QStringLiteral("栽培リスク予察"), QString(), 1);
  createFrame();
  EXPECT_TRUE(messages.empty());  // an entry other than 6 and 14 is offered
  QList<int> visible;
  for (QAction* button : frame->launcherToolBar()->actions())
    if (button->isVisible()) visible << button->objectName().toInt();
  EXPECT_EQ(visible, (QList<int>{10002, 10010}));
  EXPECT_EQ(frame->launcherToolBar()->actions().size(), 11);
  const QStringList tools = menuTexts("ToolsMenu");
  EXPECT_EQ(tools.mid(3), (QStringList{"-", "32827 ほ場の緯度経度設定(&L)", "32828 気象情報の取得(&W)",
                                       "10010 給与計算(&K)", "10012 栽培リスク予察"}));
}

TEST_F(FrameCommandsTest, NoUsableEntryShowsTheMessageAndTheProgramRuns) {
  setEntry(6, QStringLiteral("出荷伝票集計"), program);
  setEntry(14, QStringLiteral("x"), program);
  createFrame();
  EXPECT_EQ(messages.numbers(), QList<long>{2911});
  EXPECT_NE(frame->view(), nullptr);
}

TEST_F(FrameCommandsTest, DayMenuLaunchHandsTheDayAndAMissingProgramSays2904) {
  hv6test::TempDataFolder data;
  setPaths(data.diaryPath(), data.weatherPath());
  setEntry(2, QStringLiteral("作業日誌入力"), program);
  setEntry(3, QStringLiteral("販売管理"), env.path(QStringLiteral("gone")));
  createFrame();
  ASSERT_TRUE(frame->view()->reload());
  frame->view()->logic().state().selectedDate = 20260704;
  frame->OnCommand(10002);
  std::uint32_t date = 0;
  ASSERT_TRUE(registry.readDword(QStringLiteral("Calendar"), QStringLiteral("Date"), date));
  EXPECT_EQ(date, 20260704u);
  EXPECT_EQ(frame->view()->logic().state().selectedDate, 0);
  frame->OnCommand(10003);
  EXPECT_EQ(messages.numbers(), QList<long>{2904});
}

// The data tools from the menu: the library of the program folder called
// with the view as parent while both databases are closed, everything back
// afterwards; a missing library says so.
TEST_F(FrameCommandsTest, DataToolsRunTheirLibrariesAndPutEverythingBack) {
  hv6test::TempDataFolder data;
  const QString folder = env.path(QStringLiteral("program"));
  ASSERT_TRUE(QDir().mkpath(folder));
  setPaths(data.diaryPath(), data.weatherPath(), folder);
  const QString record = env.path(QStringLiteral("record.txt"));
  qputenv("HV6_TOOL_RECORD", record.toUtf8());
  ASSERT_TRUE(QFile::copy(QDir(hv6test::binaryDir()).filePath(QStringLiteral("tests/tools/hv6_test_tool_module.so")),
                          QDir(folder).filePath(QStringLiteral("libfixdata6.so"))));
  createFrame();
  messages.clear();  // 2911: no launcher entry here
  core.openDatabases();
  ASSERT_TRUE(core.diaryDatabase().IsOpen() && core.weatherDatabase().IsOpen());

  frame->OnCommand(32775);
  QFile file(record);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray("DataMaintenance view 0\n"));
  EXPECT_EQ(dword(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kAccess), 0u);
  EXPECT_TRUE(core.diaryDatabase().IsOpen() && core.weatherDatabase().IsOpen());
  EXPECT_TRUE(messages.empty());

  frame->OnCommand(32773);
  EXPECT_EQ(messages.numbers(), QList<long>{2906});
  EXPECT_EQ(dword(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kAccess), 0u);
  EXPECT_TRUE(core.diaryDatabase().IsOpen() && core.weatherDatabase().IsOpen());
  qunsetenv("HV6_TOOL_RECORD");
}

// The enquiry command starts helpdesk from the program folder.
TEST_F(FrameCommandsTest, EnquiryStartsHelpdesk) {
  const QString folder = env.path(QStringLiteral("program"));
  ASSERT_TRUE(QDir().mkpath(folder));
  setPaths(env.path(QStringLiteral("none.HV6")), env.path(QStringLiteral("none2.HV6")), folder);
  createFrame();
  messages.clear();  // 2911: no launcher entry here
  frame->OnCommand(32812);
  EXPECT_EQ(messages.numbers(), QList<long>{2904});

  const QString started = env.path(QStringLiteral("started"));
  QFile helpdesk(QDir(folder).filePath(QStringLiteral("helpdesk")));
  ASSERT_TRUE(helpdesk.open(QIODevice::WriteOnly));
  helpdesk.write(QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(started).toUtf8());
  helpdesk.close();
  helpdesk.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  frame->OnCommand(32812);
  for (int i = 0; i < 300 && !QFile::exists(started); ++i) QThread::msleep(10);
  EXPECT_TRUE(QFile::exists(started));
  EXPECT_EQ(messages.numbers(), QList<long>{2904});
}

TEST_F(FrameCommandsTest, HelpOpensTheMainTopicOrSaysWhereItIsMissing) {
  createFrame();
  messages.clear();
  QList<QUrl> opened;
  frame->setHelpOpener([&](const QUrl& url) { opened << url; return true; });
  frame->setHelpPath(env.path(QStringLiteral("hv6.chm")));
  frame->frameAction(57667)->trigger();
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_TRUE(messages.messages().first().text.contains(env.path(QStringLiteral("hv6.chm"))));
  // The pages that come with the program.
  frame->setHelpPath(QDir(hv6test::binaryDir()).filePath(QStringLiteral("shell/hv6.chm")));
  frame->frameAction(57667)->trigger();
  ASSERT_EQ(opened.size(), 1);
  EXPECT_TRUE(opened.first().toLocalFile().endsWith(QStringLiteral("/10000.html")));
  EXPECT_TRUE(QFile::exists(opened.first().toLocalFile()));
}

TEST_F(FrameCommandsTest, MenuSettingsRefusesNoCheckThenAppliesTheChoice) {
  setEntry(1, QStringLiteral("農程管理"), program);
  setEntry(2, QStringLiteral("作業日誌入力"), program);
  createFrame();
  bool refused = false;
  whenShown<CMenuSetDlg>([&](CMenuSetDlg* dialog) {
    auto* list = dialog->findChild<QListWidget*>(QStringLiteral("1002"));
    for (int row = 0; row < list->count(); ++row) list->item(row)->setCheckState(Qt::Unchecked);
    dialog->findChild<QPushButton*>(QStringLiteral("1"))->click();
    refused = dialog->isVisible() && messages.numbers() == QList<long>{2911};
    list->item(1)->setCheckState(Qt::Checked);  // entry 2
    dialog->findChild<QPushButton*>(QStringLiteral("1"))->click();
  });
  frame->OnCommand(32821);
  EXPECT_TRUE(refused);
  EXPECT_FALSE(frame->frameAction(10001)->isVisible());
  EXPECT_TRUE(frame->frameAction(10002)->isVisible());
  std::uint32_t incorporate = 9;
  ASSERT_TRUE(registry.readDword(hv6::launcherSubkey(1), QStringLiteral("Incorporate"), incorporate));
  EXPECT_EQ(incorporate, 0u);
  EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("レディ"));
}

// The import: related programs first, then the run with its window and
// summary against the service, then the calendar reloads.
TEST_F(FrameCommandsTest, MobileImportClosesRelatedProgramsRunsAndReloads) {
  for (const char* name : {"http_proxy", "all_proxy", "ALL_PROXY", "no_proxy", "NO_PROXY"})
    qunsetenv(name);
  hv6test::TempDataFolder data;
  setPaths(data.diaryPath(), data.weatherPath());
  data.addMaster(QStringLiteral("CropMst"), 11, QStringLiteral("トマト"));
  hv6test::LocalHttpServer server;
  bool dialogShown = false;
  server.get("/iHV/LogonHV.asp", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("1\r\n", "text/plain");
  });
  server.get("/iHV/DownloadHV2.asp", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("1,\r\n2024/05/01,11,,,,,2:30" + std::string(17, ',') +
                             "\"\",\"\",\"\",\"\",\"\",\"\",\r\n1\r\n",
                         "text/plain");
  });
  server.get("/iHV/ClearReqHV.asp", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("1\r\n", "text/plain");
  });
  ASSERT_TRUE(server.start());
  ASSERT_TRUE(QDir().mkpath(hv6::userEnvironmentFolder()));
  for (const auto& [key, value] : {std::pair{"HTTP_SERVER", server.host()},
                                   std::pair{"TCPIP_PORT", QString::number(server.port())},
                                   std::pair{"USER_ID", QStringLiteral("farm01")},
                                   std::pair{"AGRI_PW", QStringLiteral("secret")}})
    ASSERT_TRUE(hv6::WritePrivateProfileString(QStringLiteral("NETWORK"), QString::fromLatin1(key),
                                               value, hv6::wxfetchIniPath()));
  const QString sleeper = env.path(QStringLiteral("entry-program"));
  ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), sleeper));
  setEntry(2, QStringLiteral("作業日誌入力"), sleeper);
  createFrame();
  ASSERT_TRUE(frame->view()->reload());
  EXPECT_EQ(frame->frameAction(32833)->statusTip(),
            QStringLiteral("携帯電話で入力した作業日誌データを取り込みます。"));
  int reloads = 0;
  QObject::connect(frame->view(), &CHrvView::reloaded, [&reloads] { ++reloads; });
  messages.clear();

  // A related program runs and the user does not let it close: nothing is sent.
  QProcess entry;
  entry.start(sleeper, {QStringLiteral("600")});
  ASSERT_TRUE(entry.waitForStarted());
  messages.answer(hv6::MsgAnswer::Cancel);
  frame->OnCommand(32833);
  entry.kill();
  entry.waitForFinished();
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_EQ(messages.messages()[0].buttons, hv6::MsgButtons::OkCancel);
  EXPECT_EQ(server.requestCount(), 0u);
  EXPECT_EQ(reloads, 0);

  messages.clear();
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    dialogShown = dialogShown || frame->findChild<CMobileProgressDlg*>() != nullptr;
  });
  probe.start(0);
  frame->OnCommand(32833);
  probe.stop();
  EXPECT_TRUE(dialogShown) << "the progress window shows while the run waits";
  EXPECT_EQ(frame->findChild<CMobileProgressDlg*>(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_EQ(messages.messages()[0].text, QStringLiteral("1件のデータを登録しました。\n\n"));
  EXPECT_EQ(messages.messages()[0].parent, frame.get());
  EXPECT_EQ(server.requestCount(), 3u);
  EXPECT_EQ(reloads, 1);
  CDaoRecordset rows(&core.diaryDatabase());
  rows.Open(dbOpenSnapshot, QStringLiteral("SELECT COUNT(*) FROM WDiary"));
  EXPECT_EQ(rows.GetFieldValue(0).toLong(), 1);
}

// The input settings: the upgrade and its crop check first, then the
// related programs, then the sheet on the diary database.
TEST_F(FrameCommandsTest, MobileSettingsUpgradesChecksCropsAndOpensTheSheet) {
  hv6test::TempDataFolder data(hv6::SchemaEdition::V60500);
  setPaths(data.diaryPath(), data.weatherPath());
  createFrame();
  ASSERT_TRUE(frame->view()->reload());
  EXPECT_EQ(frame->frameAction(32832)->text(), QStringLiteral("モバイル作業日誌入力設定(&K)"));
  EXPECT_EQ(frame->frameAction(32832)->statusTip(),
            QStringLiteral("携帯電話で作業日誌を入力するための設定を行います。"));
  messages.clear();

  // Without an active crop the sheet does not open.
  bool sheetShown = false;
  hv6test::whenShown<CIWDrySheet>([&](CIWDrySheet* sheet) {
    sheetShown = true;
    sheet->reject();
  });
  frame->OnCommand(32832);
  QApplication::processEvents();
  EXPECT_FALSE(sheetShown);
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_EQ(messages.messages()[0].text, hv6::kNoActiveCropText);

  messages.clear();
  data.addMaster(QStringLiteral("CropMst"), 11, QStringLiteral("トマト"));
  QString pageTitle;
  hv6test::whenShown<CIWDrySheet>([&](CIWDrySheet* sheet) {
    sheetShown = true;
    pageTitle = sheet->tabs()->tabText(sheet->tabs()->currentIndex());
    sheet->reject();
  });
  frame->OnCommand(32832);
  EXPECT_TRUE(sheetShown);
  EXPECT_EQ(pageTitle, QStringLiteral("入力明細"));
  EXPECT_TRUE(messages.empty()) << "no related program runs: no question";
  CDaoRecordset info(&core.diaryDatabase());
  info.Open(dbOpenSnapshot, QStringLiteral("SELECT Dataversion FROM Information"));
  EXPECT_EQ(info.GetFieldValue(0).toString(), QStringLiteral("6.05.01"));
}

TEST_F(FrameCommandsTest, FieldLocationsOpenWithBothDatabasesAndTheirHelp) {
  hv6test::TempDataFolder data;
  hv6test::TempDataFolder::insertRow(data.weather(), QStringLiteral("Location"),
                            {{QStringLiteral("Num"), COleVariant(1)},
                             {QStringLiteral("Ido_HH"), COleVariant(35)},
                             {QStringLiteral("Keido_HH"), COleVariant(139)},
                             {QStringLiteral("SDate"), COleVariant(20200401L)}});
  setPaths(data.diaryPath(), data.weatherPath());
  createFrame();
  messages.clear();
  QAction* command = frame->frameAction(32827);
  ASSERT_NE(command, nullptr);
  EXPECT_TRUE(frame->toolsMenu()->actions().contains(command));
  EXPECT_EQ(command->statusTip(), QStringLiteral("ほ場の緯度経度を設定します。"));
  QList<QUrl> opened;
  frame->setHelpOpener([&](const QUrl& url) { opened << url; return true; });
  frame->setHelpPath(QDir(hv6test::binaryDir()).filePath(QStringLiteral("shell/hv6.chm")));
  QString shownPoint;
  whenShown<CFieldLocationDlg>([&](CFieldLocationDlg* dialog) {
    auto* tree = dialog->findChild<QTreeWidget*>(QStringLiteral("1001"));
    shownPoint = tree->topLevelItem(0)->child(0)->text(0);
    dialog->findChild<QPushButton*>(QStringLiteral("57670"))->click();
    dialog->findChild<QPushButton*>(QStringLiteral("2"))->click();
  });
  command->trigger();
  EXPECT_EQ(shownPoint, QStringLiteral("観測地点 1 : 緯度35゜ 0´ 0″/ 経度139゜ 0´ 0″R.02/04/01"));
  ASSERT_EQ(opened.size(), 1);
  EXPECT_TRUE(opened.first().toLocalFile().endsWith(QStringLiteral("/10016.html")));
  EXPECT_TRUE(QFile::exists(opened.first().toLocalFile()));
  EXPECT_TRUE(messages.empty());
  EXPECT_TRUE(core.weatherDatabase().IsOpen());
  EXPECT_FALSE(core.weatherDatabase().m_pWorkspace->InTransaction());

  // Without its data the dialog says why and does not open; the frame runs on.
  setPaths(env.path(QStringLiteral("gone.HV6")), env.path(QStringLiteral("gone too.HV6")));
  bool dialogShown = false;
  whenShown<CFieldLocationDlg>([&](CFieldLocationDlg* dialog) {
    dialogShown = true;
    dialog->reject();
  });
  command->trigger();
  QApplication::processEvents();
  EXPECT_FALSE(dialogShown);
  EXPECT_EQ(messages.numbers(), QList<long>{kJetNotOpen});
  EXPECT_TRUE(frame->isEnabled());
}

}  // namespace
