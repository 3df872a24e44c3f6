// The built tool libraries loaded and called through the tool frame, their
// windows answered as a user would.
#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "store/information.h"
#include "store/schema.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/temp_data_folder.h"
#include "tools/toolframe.h"

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

namespace {

using hv6::StartKeys;

// The program's side, as far as these libraries need it.
class Host final : public hv6::DataToolHost {
 public:
  Host(hv6::AppRegistry& registry, QString folder) : registry_(registry), folder_(std::move(folder)) {
    for (int i = 0; i < HV6_LAUNCHER_COUNT; ++i)
      std::snprintf(launchers_[i].name, sizeof launchers_[i].name, "entry %d", i + 1);
  }
  bool writeAccess(std::uint32_t value) override {
    return registry_.writeDword(StartKeys::kBaseInfo, StartKeys::kAccess, value);
  }
  bool closeRelatedPrograms() override { return true; }
  bool closeDiaryDatabase() override { return false; }
  bool closeWeatherDatabase() override { return false; }
  bool readInstallPath(QString& path) override {
    path = folder_;
    return true;
  }
  void reopenDiaryDatabase() override {}
  void reopenWeatherDatabase() override {}
  void reloadView() override { ++reloads; }
  QString programFolder() override { return folder_; }
  void* viewWindow() override { return nullptr; }
  hv6::LauncherArray launchers() override { return launchers_; }
  void takeLaunchers(const hv6::LauncherArray& entries) override {
    launchers_ = entries;
    ++taken;
  }
  bool saveLaunchers() override { return true; }
  void refreshLauncherButtons() override {}
  bool startProgram(const QString&) override { return false; }

  int taken = 0;
  int reloads = 0;
  hv6::LauncherArray launchers_{};

 private:
  hv6::AppRegistry& registry_;
  QString folder_;
};

// Answers the windows of a library from inside its modal loop: `act` gets
// each new top-level window; message boxes are confirmed (Yes, OK).
class WindowAnswerer {
 public:
  explicit WindowAnswerer(std::function<void(QWidget*)> act) : act_(std::move(act)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || seen_.contains(window)) continue;
        seen_.insert(window);
        if (auto* box = qobject_cast<QMessageBox*>(window)) {
          texts << box->text();
          if (QAbstractButton* yes = box->button(QMessageBox::Yes)) yes->click();
          else box->accept();
        } else {
          // Later, so that this timer can answer the boxes the action opens.
          QTimer::singleShot(0, window, [this, window] { act_(window); });
        }
      }
    });
    timer_.start(50);
  }
  QStringList texts;

 private:
  std::function<void(QWidget*)> act_;
  QTimer timer_;
  QSet<QWidget*> seen_;
};

class ToolLibrariesTest : public hv6test::InstalledRegistryTest {
 protected:
  void SetUp() override { install(); }
  static QString libraryFolder(const char* name) {
    return QDir(hv6test::binaryDir()).filePath(QStringLiteral("outside/") + QLatin1String(name));
  }
};

// hrvinit6 in the program's process: the dialog is filled in, the data
// folder made, the settings point at it, the caller's entries come back.
TEST_F(ToolLibrariesTest, NewDataLibraryMakesTheFolder) {
  ASSERT_TRUE(QDir().mkpath(env.path(QStringLiteral("farms"))));
  Host host(registry, libraryFolder("hrvinit6"));
  WindowAnswerer answerer([&](QWidget* window) {
    if (window->objectName() != QStringLiteral("NewData")) return;
    window->findChild<QLineEdit*>(QStringLiteral("place"))->setText(env.path(QStringLiteral("farms")));
    window->findChild<QLineEdit*>(QStringLiteral("farmName"))->setText(QStringLiteral("鈴木農園"));
    window->findChild<QAbstractButton*>(QStringLiteral("1"))->click();
  });
  bool created = false;
  EXPECT_EQ(hv6::runDataTool(hv6::DataTool::NewData, host, &created), hv6::ToolRun::Called);
  EXPECT_TRUE(created);
  EXPECT_EQ(host.taken, 1);
  EXPECT_EQ(host.reloads, 1);
  EXPECT_STREQ(host.launchers_[0].name, "entry 1");
  const QString folder = env.path(QStringLiteral("farms/Harvoデータ"));
  QString dataPath;
  ASSERT_TRUE(registry.readString(StartKeys::kBaseInfo, StartKeys::kDataPath, dataPath));
  EXPECT_EQ(dataPath, QDir(folder).filePath(hv6::kDiaryFileName));
  EXPECT_EQ(hv6::readInformation(dataPath).row.texts.company, QStringLiteral("鈴木農園"));
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_TRUE(answerer.texts.at(0).contains(folder));
  EXPECT_EQ(dword(StartKeys::kBaseInfo, StartKeys::kAccess), 0u);
  EXPECT_TRUE(messages.empty());
}

// fixdata6 in the program's process: its dialog checks the data the
// settings name, and the repair is confirmed in its question box.
TEST_F(ToolLibrariesTest, MaintenanceLibraryRepairsTheDataTheSettingsName) {
  hv6test::TempDataFolder data;
  const long crop = data.addMaster(QStringLiteral("CropMst"), 1, QStringLiteral("トマト"));
  data.addDiary(QDate(2026, 6, 2), {{QStringLiteral("CropCode"), COleVariant(crop + 40)}});
  data.diary().Close();
  data.weather().Close();
  setPaths(data.diaryPath(), data.weatherPath());
  Host host(registry, libraryFolder("fixdata6"));
  QString report;
  WindowAnswerer answerer([&](QWidget* window) {
    if (window->objectName() != QStringLiteral("Maintenance")) return;
    window->findChild<QAbstractButton*>(QStringLiteral("start"))->click();
    report = window->findChild<QWidget*>(QStringLiteral("report"))->property("plainText").toString();
    window->findChild<QAbstractButton*>(QStringLiteral("2"))->click();
  });
  EXPECT_EQ(hv6::runDataTool(hv6::DataTool::Maintenance, host), hv6::ToolRun::Called);
  ASSERT_EQ(answerer.texts.size(), 1);  // the question, answered Yes
  EXPECT_TRUE(report.contains(QStringLiteral("1件の項目を修復しました。"))) << qPrintable(report);
  CDaoDatabase db;
  db.Open(data.diaryPath());
  CDaoRecordset rows(&db);
  rows.Open(dbOpenSnapshot, QStringLiteral("SELECT COUNT(*) FROM WDiary WHERE CropCode = %1").arg(crop + 40));
  EXPECT_EQ(rows.GetFieldValue(0).toLong(), 0);
}

}  // namespace
