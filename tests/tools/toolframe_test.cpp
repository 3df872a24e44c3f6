#include "tools/toolframe.h"

#include "tests/support/message_recorder.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

namespace {

using hv6::DataTool;
using hv6::ToolRun;
using hv6test::MessageRecorder;

QString builtModule(const char* name) {
  return QDir(hv6test::binaryDir()).filePath(QStringLiteral("tests/tools/") + QLatin1String(name));
}

// The program's side of a tool run: each step is appended to the same file
// the stand-in library records its call in, so the file holds the order.
class RecordingHost final : public hv6::DataToolHost {
 public:
  explicit RecordingHost(QString recordFile) : record_(std::move(recordFile)) {
    for (int i = 0; i < HV6_LAUNCHER_COUNT; ++i)
      std::snprintf(launchers_[i].name, sizeof launchers_[i].name, "entry %d", i + 1);
  }

  bool writeAccess(std::uint32_t value) override {
    note(QStringLiteral("Access=%1").arg(value));
    if (!accessWritable) return false;
    access = value;
    return true;
  }
  bool closeRelatedPrograms() override {
    note(QStringLiteral("close programs"));
    return programsClose;
  }
  bool closeDiaryDatabase() override {
    note(QStringLiteral("close diary"));
    return std::exchange(diaryOpen, false);
  }
  bool closeWeatherDatabase() override {
    note(QStringLiteral("close weather"));
    return std::exchange(weatherOpen, false);
  }
  bool readInstallPath(QString& path) override {
    path = installPath;
    return !installPath.isEmpty();
  }
  void reopenDiaryDatabase() override {
    note(QStringLiteral("open diary"));
    diaryOpen = true;
  }
  void reopenWeatherDatabase() override {
    note(QStringLiteral("open weather"));
    weatherOpen = true;
  }
  void reloadView() override { note(QStringLiteral("reload view")); }
  QString programFolder() override { return programFolderPath; }
  void* viewWindow() override { return this; }
  hv6::LauncherArray launchers() override { return launchers_; }
  void takeLaunchers(const hv6::LauncherArray& entries) override {
    note(QStringLiteral("take launchers"));
    launchers_ = entries;
  }
  bool saveLaunchers() override {
    note(QStringLiteral("save launchers"));
    return launchersWritable;
  }
  void refreshLauncherButtons() override { note(QStringLiteral("refresh buttons")); }
  bool startProgram(const QString& commandText) override {
    started = commandText;
    return startable;
  }

  QStringList steps() const {
    QFile file(record_);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
  }
  QString firstLauncherName() const { return QString::fromUtf8(launchers_[0].name); }

  QString installPath;
  QString programFolderPath;
  bool accessWritable = true;
  bool programsClose = true;
  bool diaryOpen = true;
  bool weatherOpen = true;
  bool launchersWritable = true;
  bool startable = true;
  std::uint32_t access = 0;
  QString started;

 private:
  void note(const QString& step) {
    QFile file(record_);
    if (file.open(QIODevice::Append)) file.write((step + u'\n').toUtf8());
  }

  QString record_;
  hv6::LauncherArray launchers_{};
};

class ToolFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("HV6_TOOL_RECORD", env.path(QStringLiteral("record.txt")).toUtf8());
    qunsetenv("HV6_TOOL_NEWDATA");
    ASSERT_TRUE(QDir().mkpath(programFolder()));
    host.installPath = programFolder();
    host.programFolderPath = programFolder();
  }
  void TearDown() override { qunsetenv("HV6_TOOL_RECORD"); }

  QString programFolder() const { return env.path(QStringLiteral("program")); }
  // The stand-in library placed under a tool's file name.
  void place(const char* source, const QString& libraryName) {
    const QString target = QDir(programFolder()).filePath(libraryName);
    QFile::remove(target);
    ASSERT_TRUE(QFile::copy(builtModule(source), target)) << qPrintable(builtModule(source));
  }
  void placeTool(const QString& libraryName) { place("hv6_test_tool_module.so", libraryName); }

  hv6test::TestEnvironment env;
  MessageRecorder messages;
  RecordingHost host{env.path(QStringLiteral("record.txt"))};
};

TEST(ToolLibraryPath, OneSeparatorWithOrWithoutATrailingOne) {
  const QString file = QStringLiteral("savedata6.DLL");
  EXPECT_EQ(hv6::toolLibraryPath(QStringLiteral("/opt/hv6"), file),
            hv6::toolLibraryPath(QStringLiteral("/opt/hv6/"), file));
  EXPECT_EQ(hv6::toolLibraryPath(QStringLiteral("/opt/hv6"), file), QStringLiteral("/opt/hv6/savedata6.DLL"));
  EXPECT_EQ(hv6::toolLibraryPath(QStringLiteral("C:\\Harvo\\"), file), QStringLiteral("C:\\Harvo\\savedata6.DLL"));
}

// Each tool's steps in their order, with the arguments the library gets.
TEST_F(ToolFrameTest, EachToolRunsItsStepsInOrder) {
  struct Case {
    DataTool tool;
    QString library;
    QStringList steps;
  };
  const QStringList before = {QStringLiteral("Access=1"), QStringLiteral("close programs"),
                              QStringLiteral("close diary"), QStringLiteral("close weather")};
  const QList<Case> cases = {
      {DataTool::Backup, QStringLiteral("libsavedata6.so"),
       before + QStringList{QStringLiteral("DataBackup [][][][]"), QStringLiteral("Access=0"),
                            QStringLiteral("open diary"), QStringLiteral("open weather")}},
      {DataTool::Restore, QStringLiteral("libloaddata6.so"),
       before + QStringList{QStringLiteral("DataRestore [][][]"), QStringLiteral("open diary"),
                            QStringLiteral("open weather"), QStringLiteral("Access=0")}},
      {DataTool::Maintenance, QStringLiteral("libfixdata6.so"),
       before + QStringList{QStringLiteral("DataMaintenance view 0"), QStringLiteral("open diary"),
                            QStringLiteral("open weather"), QStringLiteral("Access=0")}},
      {DataTool::NewData, QStringLiteral("libhrvinit6.so"),
       before + QStringList{QStringLiteral("NewMakeData 20 0 first=entry 1"),
                            QStringLiteral("take launchers"), QStringLiteral("save launchers"),
                            QStringLiteral("refresh buttons"), QStringLiteral("Access=0"),
                            QStringLiteral("open diary"), QStringLiteral("open weather"),
                            QStringLiteral("reload view")}},
  };
  for (const Case& c : cases) {
    QFile::remove(env.path(QStringLiteral("record.txt")));
    placeTool(c.library);
    bool created = false;
    EXPECT_EQ(hv6::runDataTool(c.tool, host, &created), ToolRun::Called) << qPrintable(c.library);
    EXPECT_EQ(host.steps(), c.steps) << qPrintable(c.library);
    EXPECT_EQ(host.access, 0u);
    EXPECT_EQ(created, c.tool == DataTool::NewData);
    EXPECT_TRUE(messages.empty()) << messages.numbers().size();
  }
  EXPECT_EQ(host.firstLauncherName(), QStringLiteral("made 1"));
}

// Only what was open before is re-opened.
TEST_F(ToolFrameTest, AClosedDatabaseStaysClosed) {
  placeTool(QStringLiteral("libsavedata6.so"));
  host.weatherOpen = false;
  hv6::runDataTool(DataTool::Backup, host);
  EXPECT_TRUE(host.steps().contains(QStringLiteral("open diary")));
  EXPECT_FALSE(host.steps().contains(QStringLiteral("open weather")));
}

// The messages of the backup: 2906 of kind 1 without the file, of kind 0
// when the file is there but will not load or lacks the export; Access
// always back at 0 and the databases open again.
TEST_F(ToolFrameTest, TheKindsOf2906) {
  EXPECT_EQ(hv6::runDataTool(DataTool::Backup, host), ToolRun::LibraryMissing);
  ASSERT_EQ(messages.numbers(), QList<long>{2906});
  EXPECT_EQ(messages.messages().at(0).kind, 1);

  const QString broken = QDir(programFolder()).filePath(QStringLiteral("libsavedata6.so"));
  QFile file(broken);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not a module");
  file.close();
  messages.clear();
  EXPECT_EQ(hv6::runDataTool(DataTool::Backup, host), ToolRun::LoadFailed);
  ASSERT_EQ(messages.numbers(), QList<long>{2906});
  EXPECT_EQ(messages.messages().at(0).kind, 0);

  place("hv6_test_no_exports.so", QStringLiteral("libsavedata6.so"));
  messages.clear();
  EXPECT_EQ(hv6::runDataTool(DataTool::Backup, host), ToolRun::ExportMissing);
  ASSERT_EQ(messages.numbers(), QList<long>{2906});
  EXPECT_EQ(messages.messages().at(0).kind, 0);
  EXPECT_EQ(host.access, 0u);
  EXPECT_TRUE(host.diaryOpen && host.weatherOpen);
}

TEST_F(ToolFrameTest, RestoreAndMaintenanceHaveTheirOwnNumbers) {
  EXPECT_EQ(hv6::runDataTool(DataTool::Restore, host), ToolRun::LibraryMissing);
  EXPECT_EQ(hv6::runDataTool(DataTool::Maintenance, host), ToolRun::LibraryMissing);
  EXPECT_EQ(hv6::runDataTool(DataTool::NewData, host), ToolRun::LibraryMissing);
  EXPECT_EQ(messages.numbers(), (QList<long>{2907, 2908, 2905}));
}

// InstallPath with and without the trailing separator finds the library.
TEST_F(ToolFrameTest, InstallPathWithATrailingSeparator) {
  placeTool(QStringLiteral("libfixdata6.so"));
  host.installPath = programFolder() + u'/';
  EXPECT_EQ(hv6::runDataTool(DataTool::Maintenance, host), ToolRun::Called);
  host.installPath = programFolder();
  EXPECT_EQ(hv6::runDataTool(DataTool::Maintenance, host), ToolRun::Called);
  EXPECT_EQ(host.steps().filter(QStringLiteral("DataMaintenance")).size(), 2);
}

TEST_F(ToolFrameTest, StopsBeforeTheToolAndLeavesAccessAtZero) {
  placeTool(QStringLiteral("libsavedata6.so"));
  host.programsClose = false;
  EXPECT_EQ(hv6::runDataTool(DataTool::Backup, host), ToolRun::NotClosed);
  EXPECT_EQ(host.steps(), (QStringList{QStringLiteral("Access=1"), QStringLiteral("close programs"),
                                       QStringLiteral("Access=0")}));
  EXPECT_EQ(host.access, 0u);
  EXPECT_TRUE(messages.empty());

  QFile::remove(env.path(QStringLiteral("record.txt")));
  host.programsClose = true;
  host.installPath.clear();
  EXPECT_EQ(hv6::runDataTool(DataTool::Backup, host), ToolRun::NoInstallPath);
  EXPECT_EQ(messages.numbers(), QList<long>{2504});
  EXPECT_FALSE(host.steps().filter(QStringLiteral("DataBackup")).size());
  EXPECT_EQ(host.access, 0u);
  EXPECT_TRUE(host.diaryOpen && host.weatherOpen);

  messages.clear();
  host.accessWritable = false;
  EXPECT_EQ(hv6::runDataTool(DataTool::Backup, host), ToolRun::AccessFailed);
  EXPECT_EQ(messages.numbers(), QList<long>{2503});
}

// New data: a null result keeps the array, and the view is reloaded all
// the same; a failed write of the settings shows 2503.
TEST_F(ToolFrameTest, NewDataWithoutResultOrUnwritableSettings) {
  placeTool(QStringLiteral("libhrvinit6.so"));
  qputenv("HV6_TOOL_NEWDATA", "null");
  bool created = true;
  EXPECT_EQ(hv6::runDataTool(DataTool::NewData, host, &created), ToolRun::Called);
  EXPECT_FALSE(created);
  EXPECT_EQ(host.firstLauncherName(), QStringLiteral("entry 1"));
  EXPECT_FALSE(host.steps().contains(QStringLiteral("save launchers")));
  EXPECT_EQ(host.steps().last(), QStringLiteral("reload view"));

  qunsetenv("HV6_TOOL_NEWDATA");
  host.launchersWritable = false;
  EXPECT_EQ(hv6::runDataTool(DataTool::NewData, host, &created), ToolRun::Called);
  EXPECT_EQ(messages.numbers(), QList<long>{2503});
  EXPECT_EQ(host.access, 0u);
}

// New data loads the library by its bare name from the program's folder:
// when it is only in InstallPath, the load fails with the system's text in
// a box "Error" and then 2905.
TEST_F(ToolFrameTest, NewDataLoadsByBareNameFromTheProgramFolder) {
  placeTool(QStringLiteral("libhrvinit6.so"));
  host.programFolderPath = env.path(QStringLiteral("elsewhere"));
  EXPECT_EQ(hv6::runDataTool(DataTool::NewData, host), ToolRun::LoadFailed);
  ASSERT_EQ(messages.messages().size(), 2);
  EXPECT_EQ(messages.messages().at(0).caption, QStringLiteral("Error"));
  EXPECT_EQ(messages.messages().at(0).icon, hv6::MsgIcon::Information);
  EXPECT_EQ(messages.numbers().last(), 2905);
}

// The first-start dialog's new data: modes 1 and 2 passed on, nothing of
// the frame (Access, programs, databases) touched.
TEST_F(ToolFrameTest, FirstStartNewData) {
  EXPECT_FALSE(hv6::runFirstStartNewData(HV6_NEWDATA_FIRSTSTART, host));
  EXPECT_TRUE(messages.empty());  // no library: the dialog stays silently

  placeTool(QStringLiteral("libhrvinit6.so"));
  EXPECT_TRUE(hv6::runFirstStartNewData(HV6_NEWDATA_CONVERT, host));
  EXPECT_EQ(host.steps(), (QStringList{QStringLiteral("NewMakeData 20 2 first=entry 1"),
                                       QStringLiteral("take launchers"),
                                       QStringLiteral("save launchers"),
                                       QStringLiteral("refresh buttons")}));
  qputenv("HV6_TOOL_NEWDATA", "null");
  EXPECT_FALSE(hv6::runFirstStartNewData(HV6_NEWDATA_FIRSTSTART, host));
  qunsetenv("HV6_TOOL_NEWDATA");
  host.launchersWritable = false;
  EXPECT_FALSE(hv6::runFirstStartNewData(HV6_NEWDATA_FIRSTSTART, host));
  EXPECT_EQ(messages.numbers(), QList<long>{2503});

  place("hv6_test_no_exports.so", QStringLiteral("libhrvinit6.so"));
  EXPECT_TRUE(hv6::runFirstStartNewData(HV6_NEWDATA_FIRSTSTART, host));
  EXPECT_EQ(host.access, 0u);
  EXPECT_TRUE(host.diaryOpen && host.weatherOpen);
}

TEST_F(ToolFrameTest, EnquiryStartsHelpdeskFromTheProgramFolder) {
  const QString program = QDir(programFolder()).filePath(QStringLiteral("helpdesk"));
  QFile file(program);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  host.installPath = programFolder() + u'/';
  EXPECT_TRUE(hv6::runEnquiryTool(host));
  EXPECT_EQ(host.started, u'"' + program + u'"');
  EXPECT_TRUE(host.steps().isEmpty());  // Access, programs and databases untouched

  host.startable = false;
  EXPECT_FALSE(hv6::runEnquiryTool(host));
  host.installPath.clear();
  EXPECT_FALSE(hv6::runEnquiryTool(host));
  EXPECT_EQ(messages.numbers(), (QList<long>{2904, 2504}));
}

}  // namespace
