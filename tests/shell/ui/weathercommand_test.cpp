// The weather command on the frame: where it is, when it is enabled, and a
// run with its wait cursor, dialog 157 and the link's steps, offscreen.
#include "shell/ui/mainframe.h"

#include "calendar/salesfill.h"
#include "calendar/ui/hrvview.h"
#include "outside/vqbase106/ui/vqcalendar.h"
#include "outside/wxfetch6/testing.h"
#include "platform/profile.h"
#include "shell/appcore.h"
#include "tests/calendar/calendar_fixture.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/local_http_server.h"
#include "tests/support/temp_data_folder.h"
#include "weather/retrieval.h"
#include "weather/weatherlink.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {

using hv6test::TempDataFolder;

// Records what the command did while the library was called.
class ObservingLibrary final : public hv6::WeatherLibrary {
 public:
  explicit ObservingLibrary(QStringList& seen) : seen_(seen) {}
  int InitWeatherNetwork(int) override { return 1; }
  int CreateTable() override { return 0; }
  int GetTerra8Data(int) override { return 0; }
  int Get1KmMeshData(int code, int, int, int) override {
    auto* dialog = qobject_cast<QDialog*>(findTopLevel(QStringLiteral("157")));
    const QCursor* cursor = QApplication::overrideCursor();
    seen_ << QStringLiteral("mesh %1: dialog %2 %3, cursor %4")
                 .arg(code)
                 .arg(dialog && dialog->isVisible() ? dialog->windowTitle() : QStringLiteral("none"))
                 .arg(dialog && !dialog->isModal() ? QStringLiteral("modeless") : QString())
                 .arg(cursor && cursor->shape() == Qt::WaitCursor ? QStringLiteral("wait")
                                                                  : QStringLiteral("normal"));
    if (dialog)
      seen_ << dialog->findChild<QLabel*>(QStringLiteral("ReceivingText"))->text();
    return 0;
  }
  static QWidget* findTopLevel(const QString& name) {
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->objectName() == name) return window;
    return nullptr;
  }

 private:
  QStringList& seen_;
};

class StepLink final : public hv6::WeatherLink {
 public:
  StepLink(QStringList& seen, bool begin) : seen_(seen), begin_(begin) {}
  bool BeginWeatherLink(QWidget* owner) override {
    seen_ << QStringLiteral("begin, owner %1").arg(owner ? owner->objectName() : QStringLiteral("none"));
    return begin_;
  }
  void EndWeatherLink() override { seen_ << QStringLiteral("end"); }

 private:
  QStringList& seen_;
  bool begin_;
};

class WeatherCommandFrameTest : public hv6test::InstalledRegistryTest {
 protected:
  TempDataFolder data;
  hv6::AppCore core{store};
  std::unique_ptr<CMainFrame> frame;
  QStringList seen;

  void SetUp() override {
    install();
    hv6test::installCalendarSettings(store, registry);
    setPaths(data.diaryPath(), data.weatherPath());
    services(1, 1);
    TempDataFolder::insertRow(data.weather(), QStringLiteral("Item"),
                              {{QStringLiteral("LastUpdate"), COleVariant(QDateTime(QDate(2024, 6, 13), QTime(0, 0)))},
                               {QStringLiteral("DataSpecies"), COleVariant(0)},
                               {QStringLiteral("Type"), COleVariant(1)}});
    TempDataFolder::insertRow(data.weather(), QStringLiteral("Location"),
                              {{QStringLiteral("Code"), COleVariant(1)},
                               {QStringLiteral("Ido_HH"), COleVariant(39)}, {QStringLiteral("Ido_MM"), COleVariant(17)},
                               {QStringLiteral("Ido_SS"), COleVariant(6)}, {QStringLiteral("Keido_HH"), COleVariant(141)},
                               {QStringLiteral("Keido_MM"), COleVariant(6)}, {QStringLiteral("Keido_SS"), COleVariant(48)},
                               {QStringLiteral("SDate"), COleVariant(20000101L)}});
  }
  void TearDown() override { hv6::wxfetch::testing::setToday({}); }

  void services(std::uint32_t terra8, std::uint32_t network) {
    ASSERT_TRUE(registry.writeDword(hv6::StartKeys::kBaseInfo, QStringLiteral("Terra8Setup"), terra8));
    ASSERT_TRUE(registry.writeDword(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kNetworkSetup, network));
    ASSERT_TRUE(registry.writeDword(hv6::StartKeys::kBaseInfo, QStringLiteral("ConnectMethod"), 0));
    ASSERT_TRUE(registry.writeDword(hv6::StartKeys::kBaseInfo, QStringLiteral("DisconnectMethod"), 2));
    ASSERT_TRUE(registry.writeString(hv6::StartKeys::kBaseInfo, QStringLiteral("PhoneEntry"), QString()));
  }

  void createFrame() {
    core.openDatabases();
    frame = std::make_unique<CMainFrame>(core);
    frame->setFillers(std::make_unique<hv6::DatabaseFillers>());
    ASSERT_TRUE(frame->OnCreateClient());
    messages.clear();  // 2911: the test's launcher entries name no program
  }
  void fakeLibraryAndLink(bool beginSucceeds = true) {
    frame->setWeatherLibrary(std::make_unique<ObservingLibrary>(seen));
    frame->setWeatherLinkFactory([this, beginSucceeds] {
      seen << QStringLiteral("link");
      return std::make_unique<StepLink>(seen, beginSucceeds);
    });
  }
  QAction* command() { return frame->frameAction(32828); }
  // The frame's menus are hovered: the commands' states are brought up to date.
  void updateStates() { Q_EMIT frame->menuBar()->hovered(nullptr); }
};

TEST_F(WeatherCommandFrameTest, CommandSitsInTheToolsMenuAndOnTheCalendarBar) {
  createFrame();
  QMenu* tools = frame->toolsMenu();
  const QList<QAction*> items = tools->actions();
  ASSERT_GE(items.size(), 6);
  EXPECT_TRUE(items.at(3)->isSeparator());
  EXPECT_EQ(items.at(5), command());  // after the field locations
  EXPECT_EQ(command()->text(), QStringLiteral("気象情報の取得(&W)"));
  EXPECT_EQ(command()->statusTip(), QStringLiteral("気象情報を取得します。"));
  auto* bar = frame->findChild<QToolBar*>(QStringLiteral("CalendarToolBar"));
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->actions().contains(command()));
  EXPECT_FALSE(command()->icon().isNull());
  EXPECT_EQ(command()->toolTip(), QStringLiteral("気象情報の取得"));
}

TEST_F(WeatherCommandFrameTest, EnabledOnlyWithTheServiceAndWeatherCommunication) {
  createFrame();
  EXPECT_TRUE(command()->isEnabled());
  services(1, 0);
  updateStates();
  EXPECT_FALSE(command()->isEnabled());
  services(0, 1);
  updateStates();
  EXPECT_FALSE(command()->isEnabled());
  services(1, 1);
  updateStates();
  EXPECT_TRUE(command()->isEnabled());

  // The start writes NetworkSetup = 0: the command used yesterday is off.
  frame.reset();
  ASSERT_TRUE(registry.writeDword(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kAccess, 1));
  core.resetNetworkSetup();
  createFrame();
  EXPECT_FALSE(command()->isEnabled());
}

TEST_F(WeatherCommandFrameTest, RunShowsWaitingBetweenTheLinksSteps) {
  createFrame();
  frame->setObjectName(QStringLiteral("MainFrame"));
  fakeLibraryAndLink();
  command()->trigger();
  EXPECT_EQ(seen, (QStringList{"link", "begin, owner MainFrame",
                               "mesh 1: dialog 気象データ受信中 modeless, cursor wait",
                               "現在、気象データを受信中です。\n\nしばらくお待ちください....", "end"}));
  EXPECT_EQ(ObservingLibrary::findTopLevel(QStringLiteral("157")), nullptr);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(messages.empty());
}

TEST_F(WeatherCommandFrameTest, AFailedConnectionSkipsTheRetrievalAndStillEndsTheLink) {
  createFrame();
  fakeLibraryAndLink(false);
  command()->trigger();
  EXPECT_EQ(seen, (QStringList{"link", "begin, owner MainFrame", "end"}));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// The whole path with the real library: the calendar shows the weather of
// the forecast's days afterwards.
TEST_F(WeatherCommandFrameTest, RetrievalFillsTheCalendarsWeather) {
  hv6test::LocalHttpServer server;
  server.get("/v1/forecast", [](const httplib::Request&, httplib::Response& res) {
    QFile file(QStringLiteral(WXFETCH_RESPONSES "/forecast.json"));
    file.open(QIODevice::ReadOnly);
    res.set_content(file.readAll().toStdString(), "application/json");
  });
  ASSERT_TRUE(server.start());
  const QString folder = env.path(QStringLiteral("documents/Velqor/HV6P"));
  ASSERT_TRUE(QDir().mkpath(folder));
  for (const auto& [key, value] :
       {std::pair{"FORECAST_URL", server.baseUrl() + QStringLiteral("/v1/forecast")},
        std::pair{"ARCHIVE_URL", server.baseUrl() + QStringLiteral("/v1/archive")}})
    ASSERT_TRUE(hv6::WritePrivateProfileString(QStringLiteral("WEATHER"), QLatin1String(key), value,
                                               folder + QStringLiteral("/wxfetch.ini")));
  hv6::wxfetch::testing::setToday(QDate(2024, 6, 20));
  createFrame();
  frame->view()->moveTo(2024, 6, 1);
  command()->trigger();
  EXPECT_TRUE(messages.empty()) << messages.messages().value(0).text.toStdString();
  EXPECT_EQ(server.requestCount(), 1u);
  EXPECT_EQ(frame->view()->calendar()->weatherOf(20240614), (QList<int>{3, 5, 4}));
  EXPECT_EQ(frame->view()->calendar()->weatherOf(20240616), (QList<int>{5, 1, 255}));
  EXPECT_TRUE(frame->view()->calendar()->weatherOf(20240619).isEmpty());
}

}  // namespace
