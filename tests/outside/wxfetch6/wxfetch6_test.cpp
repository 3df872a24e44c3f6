// The weather library against a local server with answers of the weather
// service: what it asks, what it stores where, and every bad answer leaving
// the stored rows as they were.
#include "outside/wxfetch6/testing.h"
#include "outside/wxfetch6/wxfetch6.h"
#include "platform/dao/dao.h"
#include "platform/profile.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/local_http_server.h"
#include "tests/support/temp_data_folder.h"

#include <QDir>
#include <QFile>
#include <QUrlQuery>

#include <array>

namespace {

using hv6test::RowValues;
using hv6test::TempDataFolder;
namespace wx = hv6::wxfetch;

std::string recorded(const char* name) {
  QFile file(QStringLiteral(WXFETCH_RESPONSES "/") + QLatin1String(name));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
  return file.readAll().toStdString();
}

QString cell(const COleVariant& value) {
  if (value.isNull()) return QStringLiteral("-");
  return value.vt() == VT_R8 ? QString::number(value.toDouble()) : QString::number(value.toLong());
}

// Rows of a query, each as its cells joined by blanks ("-" for Null).
QStringList rows(CDaoDatabase& db, const QString& sql) {
  CDaoRecordset set(&db);
  set.Open(dbOpenSnapshot, sql);
  QStringList texts;
  for (; !set.IsEOF(); set.MoveNext()) {
    QStringList cells;
    for (int i = 0; i < set.GetFieldCount(); ++i) cells << cell(set.GetFieldValue(i));
    texts << cells.join(u' ');
  }
  return texts;
}

const QString kMeshRows = QStringLiteral(
    "SELECT Date, TempMax, TempMin, TempMean, Precipitation, Sunshine, WeatherCode, Morning, "
    "Afternoon, Night FROM MeshWeather WHERE Location = %1 ORDER BY Date");
const QString kDiaryRows =
    QStringLiteral("SELECT Date, Item1, Item2, Item3 FROM Weather ORDER BY Date");

// The days of forecast.json before 2024-06-20: 06-16 without a mean
// temperature and a night, 06-19 without any value (no row).
const QStringList kRecentMesh = {
    "20240613 24.8 13.2 18.9 0 11.6 1 1 2 0",     "20240614 22.1 15 18.2 0.4 3.5 3 3 51 45",
    "20240615 19.6 15.8 17.4 6.2 0.5 61 63 65 3", "20240616 23.5 14.9 - 1.1 7 80 80 1 -",
    "20240617 26.3 14.1 20 0 11 2 0 0 0",         "20240618 27.9 18.6 22.4 18.7 4 95 3 95 81",
};
const QStringList kRecentPictures = {
    "20240613 1 2 0", "20240614 3 5 4", "20240615 6 7 3",
    "20240616 5 1 -", "20240617 0 0 0", "20240618 3 9 6",
};

class WxFetchTest : public hv6test::InstalledRegistryTest {
 protected:
  TempDataFolder data;
  hv6test::LocalHttpServer server;
  QString iniPath;

  void SetUp() override {
    install();
    setPaths(data.diaryPath(), data.weatherPath());
    const QString folder = env.path(QStringLiteral("documents/Velqor/HV6P"));
    ASSERT_TRUE(QDir().mkpath(folder));
    iniPath = folder + QStringLiteral("/wxfetch.ini");
    wx::testing::setToday(QDate(2024, 6, 20));
    addItem(QDate(2024, 6, 13), 1);
    addItem(QDate(2024, 6, 13), 2);
    addPoint(1, {39, 17, 6}, {141, 6, 48}, 20240401);
  }
  void TearDown() override {
    wx::testing::setToday({});
    wx::useSettingsKey({});
  }

  void addItem(const QDate& lastUpdate, int type) {
    TempDataFolder::insertRow(data.weather(), QStringLiteral("Item"),
                              {{QStringLiteral("LastUpdate"), COleVariant(QDateTime(lastUpdate, QTime(0, 0)))},
                               {QStringLiteral("DataSpecies"), COleVariant(0)},
                               {QStringLiteral("Type"), COleVariant(type)}});
  }

  void addPoint(long code, std::array<int, 3> ido, std::array<int, 3> keido, long sdate,
                long edate = 0) {
    TempDataFolder::insertRow(
        data.weather(), QStringLiteral("Location"),
        {{QStringLiteral("Code"), COleVariant(code)}, {QStringLiteral("Num"), COleVariant(1)},
         {QStringLiteral("Ido_HH"), COleVariant(ido[0])}, {QStringLiteral("Ido_MM"), COleVariant(ido[1])},
         {QStringLiteral("Ido_SS"), COleVariant(ido[2])}, {QStringLiteral("Keido_HH"), COleVariant(keido[0])},
         {QStringLiteral("Keido_MM"), COleVariant(keido[1])}, {QStringLiteral("Keido_SS"), COleVariant(keido[2])},
         {QStringLiteral("SDate"), COleVariant(sdate)},
         {QStringLiteral("EDate"), edate ? COleVariant(edate) : COleVariant::null()}});
  }

  void serve(const std::string& path, int status, const std::string& body) {
    server.get(path, [status, body](const httplib::Request&, httplib::Response& res) {
      res.status = status;
      res.set_content(body, "application/json; charset=utf-8");
    });
  }
  void serveRecorded() {
    serve("/v1/forecast", 200, recorded("forecast.json"));
    serve("/v1/archive", 200, recorded("archive.json"));
  }

  // Starts the server and names it in wxfetch.ini's section WEATHER.
  void startService(const QString& apiKey = QString()) {
    ASSERT_TRUE(server.start());
    writeWeatherSection(server.baseUrl() + QStringLiteral("/v1/forecast"),
                        server.baseUrl() + QStringLiteral("/v1/archive"), apiKey);
    ASSERT_NE(InitWeatherNetwork(0), 0) << messages.messages().value(0).text.toStdString();
    ASSERT_EQ(CreateTable(), 0);
  }
  void writeWeatherSection(const QString& forecast, const QString& archive, const QString& key) {
    const QString section = QStringLiteral("WEATHER");
    ASSERT_TRUE(hv6::WritePrivateProfileString(section, QStringLiteral("FORECAST_URL"), forecast, iniPath));
    ASSERT_TRUE(hv6::WritePrivateProfileString(section, QStringLiteral("ARCHIVE_URL"), archive, iniPath));
    ASSERT_TRUE(hv6::WritePrivateProfileString(section, QStringLiteral("API_KEY"), key, iniPath));
  }

  QStringList mesh(long point = 1) { return rows(data.weather(), kMeshRows.arg(point)); }
  QStringList pictures() { return rows(data.diary(), kDiaryRows); }
  QStringList lastUpdates() {
    QStringList texts;
    CDaoRecordset items(&data.weather());
    items.Open(dbOpenSnapshot, QStringLiteral("SELECT LastUpdate FROM Item ORDER BY Code"));
    for (; !items.IsEOF(); items.MoveNext())
      texts << items.GetFieldValue(0).toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm"));
    return texts;
  }
  // Rows that were there before a fetch: they must survive a failed one.
  void storeEarlierRows() {
    data.weather().Execute(QStringLiteral(
        "INSERT INTO MeshWeather (Location, Date, TempMax, WeatherCode) VALUES (1, 20240614, 30.5, 2)"));
    data.diary().Execute(QStringLiteral(
        "INSERT INTO Weather (Date, Item1, Item2, Item3) VALUES (20240614, 8, 8, 8)"));
  }
  std::string query(std::size_t index) { return server.requests().at(index).query(); }
};

TEST_F(WxFetchTest, RecentDaysComeFromTheForecastIntoBothDatabases) {
  serveRecorded();
  startService();
  EXPECT_EQ(GetTerra8Data(1), 0);
  EXPECT_EQ(Get1KmMeshData(1, 2024, 6, 13), 6);
  EXPECT_TRUE(messages.empty()) << messages.messages().value(0).text.toStdString();

  ASSERT_EQ(server.requestCount(), 1u);
  const hv6test::ReceivedRequest request = server.requests().at(0);
  EXPECT_EQ(request.path, "/v1/forecast");
  EXPECT_EQ(request.query(),
            "latitude=39.2850&longitude=141.1133&daily=weather_code,temperature_2m_max,"
            "temperature_2m_min,temperature_2m_mean,precipitation_sum,sunshine_duration"
            "&hourly=weather_code&timezone=Asia%2FTokyo&past_days=7&forecast_days=1");
  EXPECT_EQ(mesh(), kRecentMesh);
  EXPECT_EQ(pictures(), kRecentPictures);
  // The next retrieval asks from the first day without data.
  EXPECT_EQ(lastUpdates(), (QStringList{"2024-06-19 00:00", "2024-06-19 00:00"}));
}

TEST_F(WxFetchTest, DaysOlderThanAWeekComeFromTheArchive) {
  serveRecorded();
  startService(QStringLiteral("plan-key"));
  EXPECT_EQ(Get1KmMeshData(1, 2024, 6, 11), 8);
  ASSERT_EQ(server.requestCount(), 2u);
  EXPECT_EQ(server.requests().at(0).path, "/v1/archive");
  const QUrlQuery archive(QString::fromStdString(query(0)));
  EXPECT_EQ(archive.queryItemValue(QStringLiteral("start_date")), QStringLiteral("2024-06-11"));
  EXPECT_EQ(archive.queryItemValue(QStringLiteral("end_date")), QStringLiteral("2024-06-12"));
  EXPECT_EQ(archive.queryItemValue(QStringLiteral("apikey")), QStringLiteral("plan-key"));
  EXPECT_EQ(server.requests().at(1).path, "/v1/forecast");
  EXPECT_NE(query(1).find("past_days=7&forecast_days=1&apikey=plan-key"), std::string::npos);
  // A sunless day keeps its 0; it is a value, not a missing one.
  EXPECT_EQ(mesh(), QStringList({"20240611 28.4 16 22.1 0 14 0 0 0 0",
                                 "20240612 20.2 16.9 18 12.5 0 63 61 63 3"}) +
                        kRecentMesh);
  EXPECT_EQ(pictures().mid(0, 2), (QStringList{"20240611 0 0 0", "20240612 5 6 3"}));
}

TEST_F(WxFetchTest, FetchingAgainReplacesTheDaysAndKeepsOthers) {
  serveRecorded();
  startService();
  storeEarlierRows();
  data.diary().Execute(QStringLiteral("INSERT INTO Weather (Date, Item1) VALUES (20240619, 4)"));
  TempDataFolder::insertRow(data.weather(), QStringLiteral("Item"),
                            {{QStringLiteral("LastUpdate"), COleVariant(QDateTime(QDate(2024, 7, 1), QTime(0, 0)))},
                             {QStringLiteral("DataSpecies"), COleVariant(1)}});
  ASSERT_EQ(Get1KmMeshData(1, 2024, 6, 13), 6);
  ASSERT_EQ(Get1KmMeshData(1, 2024, 6, 13), 6);
  EXPECT_EQ(mesh(), kRecentMesh);
  EXPECT_EQ(pictures(), QStringList(kRecentPictures) << QStringLiteral("20240619 4 - -"));
  // LastUpdate only moves on.
  EXPECT_EQ(lastUpdates(), (QStringList{"2024-06-19 00:00", "2024-06-19 00:00", "2024-07-01 00:00"}));
}

TEST_F(WxFetchTest, OnlyTheFirstObservedPointFillsTheDiary) {
  data.weather().Execute(QStringLiteral("UPDATE Location SET EDate = 20240619 WHERE Code = 1"));
  addPoint(2, {39, 19, 30}, {141, 4, 12}, 20240621);  // observed from tomorrow
  addPoint(3, {39, 20, 0}, {141, 5, 0}, 20240101);
  addPoint(4, {39, 21, 0}, {141, 6, 0}, 20240101);
  serveRecorded();
  startService();
  ASSERT_EQ(Get1KmMeshData(4, 2024, 6, 13), 6);
  EXPECT_EQ(mesh(4), kRecentMesh);
  EXPECT_TRUE(pictures().isEmpty());
  ASSERT_EQ(Get1KmMeshData(3, 2024, 6, 13), 6);
  EXPECT_EQ(pictures(), kRecentPictures);
  EXPECT_NE(query(1).find("latitude=39.3333&longitude=141.0833"), std::string::npos);
}

struct BadAnswer {
  const char* name;
  int status;
  std::string body;
  int result;
  const char* shown;  // part of the library's message
};

TEST_F(WxFetchTest, BadAnswersFailAndLeaveEveryRowAsItWas) {
  const std::string uneven =
      R"({"daily": {"time": ["2024-06-13", "2024-06-14"], "weather_code": [1, 2],
          "temperature_2m_max": [20.1], "temperature_2m_min": [10, 11], "temperature_2m_mean": [15, 16],
          "precipitation_sum": [0, 0], "sunshine_duration": [0, 0]},
          "hourly": {"time": [], "weather_code": []}})";
  std::string hourlyUneven = uneven;
  hourlyUneven.replace(hourlyUneven.find("[20.1]"), 6, "[20.1, 21]");
  hourlyUneven.replace(hourlyUneven.find("\"weather_code\": []"), 18, "\"weather_code\": [3]");
  std::string textValue = hourlyUneven;
  textValue.replace(textValue.find("[3]"), 3, "[]");
  textValue.replace(textValue.find("[0, 0]"), 6, "[\"0\", 0]");
  std::string halfCode = textValue;
  halfCode.replace(halfCode.find("[\"0\", 0]"), 8, "[0, 0]");
  halfCode.replace(halfCode.find("[1, 2]"), 6, "[1.5, 2]");
  const BadAnswer answers[] = {
      {"400 with the service's error", 400,
       R"({"error": true, "reason": "Cannot initialize WeatherVariable from invalid String value temperature_2m_maxx for key daily"})",
       wx::kServiceError, "temperature_2m_maxx"},
      {"429 too many requests", 429,
       R"({"error": true, "reason": "Minutely API request limit exceeded. Please try again in one minute."})",
       wx::kTooManyRequests, "429"},
      {"500 with a page", 500, "<html><body>Internal Server Error</body></html>", wx::kServiceError, "500"},
      {"error with 200", 200, R"({"error": true, "reason": "Latitude must be in range of -90 to 90°."})",
       wx::kServiceError, "Latitude must be"},
      {"malformed JSON", 200, R"({"daily": {"time": ["2024-06-13")", wx::kBadResponse, "JSON"},
      {"an array, not an object", 200, "[1, 2, 3]", wx::kBadResponse, "JSON"},
      {"daily arrays of different lengths", 200, uneven, wx::kBadResponse, "temperature_2m_max"},
      {"hourly arrays of different lengths", 200, hourlyUneven, wx::kBadResponse, "hourly"},
      {"text for a number", 200, textValue, wx::kBadResponse, "daily"},
      {"half a weather code", 200, halfCode, wx::kBadResponse, "daily"},
      {"no daily block", 200, R"({"hourly": {"time": [], "weather_code": []}})", wx::kBadResponse, "daily.time"},
  };
  int answer = 0;
  server.get("/v1/forecast", [&answers, &answer](const httplib::Request&, httplib::Response& res) {
    res.status = answers[answer].status;
    res.set_content(answers[answer].body, "application/json");
  });
  startService();
  storeEarlierRows();
  const QStringList meshBefore = mesh();
  const QStringList picturesBefore = pictures();
  const QStringList updatesBefore = lastUpdates();
  for (const BadAnswer& bad : answers) {
    messages.clear();
    EXPECT_EQ(Get1KmMeshData(1, 2024, 6, 13), bad.result) << bad.name;
    ASSERT_EQ(messages.messages().size(), 1) << bad.name;
    EXPECT_TRUE(messages.messages().at(0).text.contains(QLatin1String(bad.shown)))
        << bad.name << ": " << messages.messages().at(0).text.toStdString();
    EXPECT_EQ(mesh(), meshBefore) << bad.name;
    EXPECT_EQ(pictures(), picturesBefore) << bad.name;
    EXPECT_EQ(lastUpdates(), updatesBefore) << bad.name;
    ++answer;
  }
}

// The archive answered, the forecast did not: neither is stored.
TEST_F(WxFetchTest, ALaterRequestFailingStoresNothingOfTheEarlierOne) {
  serve("/v1/archive", 200, recorded("archive.json"));
  serve("/v1/forecast", 500, R"({"error": true, "reason": "busy"})");
  startService();
  EXPECT_EQ(Get1KmMeshData(1, 2024, 6, 11), wx::kServiceError);
  EXPECT_EQ(server.requestCount(), 2u);
  EXPECT_TRUE(mesh().isEmpty());
  EXPECT_TRUE(pictures().isEmpty());
  EXPECT_EQ(lastUpdates(), (QStringList{"2024-06-13 00:00", "2024-06-13 00:00"}));
}

// The diary refuses the pictures of one day, after the point's rows of
// earlier days went in: those are undone with them.
TEST_F(WxFetchTest, ADatabaseFailureWhileStoringUndoesThePointsRows) {
  serveRecorded();
  startService();
  storeEarlierRows();
  data.diary().Execute(QStringLiteral("DROP TABLE Weather"));
  data.diary().Execute(QStringLiteral(
      "CREATE TABLE Weather (Code INTEGER PRIMARY KEY, Date INTEGER CHECK (Date <> 20240616), "
      "Item1 SMALLINT, Item2 SMALLINT, Item3 SMALLINT)"));
  EXPECT_EQ(Get1KmMeshData(1, 2024, 6, 13), wx::kDatabaseError);
  EXPECT_EQ(mesh(), QStringList{"20240614 30.5 - - - - 2 - - -"});
  EXPECT_EQ(lastUpdates(), (QStringList{"2024-06-13 00:00", "2024-06-13 00:00"}));
  EXPECT_TRUE(pictures().isEmpty());
  // The diary is let go again: another program may open it exclusively.
  data.diary().Close();
  CDaoDatabase exclusive;
  EXPECT_NO_THROW(exclusive.Open(data.diaryPath(), true));
}

// A day the service has no value for stays without a row; a value it has
// not got stays Null, never 0.
TEST_F(WxFetchTest, MissingValuesStayMissing) {
  serve("/v1/forecast", 200,
        R"({"daily": {"time": ["2024-06-18", "2024-06-19", "2024-06-20"], "weather_code": [null, null, 3],
            "temperature_2m_max": [21.5, null, 20], "temperature_2m_min": [null, null, 10],
            "temperature_2m_mean": [null, null, 15], "precipitation_sum": [null, null, 0],
            "sunshine_duration": [null, null, 0]},
            "hourly": {"time": ["2024-06-18T07:00", "2024-06-19T07:00"], "weather_code": [null, null]}})");
  startService();
  EXPECT_EQ(Get1KmMeshData(1, 2024, 6, 18), 1);
  EXPECT_EQ(mesh(), QStringList{"20240618 21.5 - - - - - - - -"});
  EXPECT_TRUE(pictures().isEmpty());  // no part of the day has a picture
  EXPECT_EQ(lastUpdates().at(0), QStringLiteral("2024-06-19 00:00"));
}

TEST_F(WxFetchTest, PointsTheServiceCannotServeAreRefusedWithoutARequest) {
  addPoint(5, {90, 0, 0}, {141, 0, 0}, 20240101);
  addPoint(6, {39, 60, 0}, {141, 0, 0}, 20240101);
  addPoint(7, {39, 0, 0}, {180, 0, 1}, 20240101);
  data.weather().Execute(QStringLiteral(
      "INSERT INTO Location (Code, Num, SDate) VALUES (8, 1, 20240101)"));
  serveRecorded();
  startService();
  for (int code : {5, 6, 7, 8}) EXPECT_EQ(Get1KmMeshData(code, 2024, 6, 13), wx::kBadPoint) << code;
  EXPECT_EQ(Get1KmMeshData(42, 2024, 6, 13), wx::kNoPoint);
  EXPECT_EQ(Get1KmMeshData(1, 2024, 2, 30), wx::kBadArgument);
  EXPECT_EQ(server.requestCount(), 0u);
  EXPECT_EQ(messages.messages().size(), 6);
  EXPECT_TRUE(messages.messages().at(0).text.contains(QStringLiteral("緯度90゜0´0″")));
  // Nothing to ask from today on.
  messages.clear();
  EXPECT_EQ(Get1KmMeshData(1, 2024, 6, 20), 0);
  EXPECT_EQ(server.requestCount(), 0u);
  EXPECT_TRUE(messages.empty());
}

TEST_F(WxFetchTest, AServerThatDoesNotAnswerIsANetworkError) {
  server.get("/v1/forecast", [this](const httplib::Request&, httplib::Response& res) {
    server.holdUntilStopped();
    res.status = 200;
  });
  startService();
  storeEarlierRows();
  EXPECT_EQ(Get1KmMeshData(1, 2024, 6, 13), wx::kNetworkError);
  EXPECT_TRUE(messages.messages().at(0).text.contains(QStringLiteral("12002")));
  EXPECT_EQ(mesh(), QStringList{"20240614 30.5 - - - - 2 - - -"});

  writeWeatherSection(QStringLiteral("http://127.0.0.1:%1/v1/forecast").arg(hv6test::refusedPort()),
                      QStringLiteral("http://127.0.0.1:1/v1/archive"), QString());
  ASSERT_NE(InitWeatherNetwork(0), 0);
  EXPECT_EQ(Get1KmMeshData(1, 2024, 6, 13), wx::kNetworkError);
}

TEST_F(WxFetchTest, SettingsDecideWhetherTheLibraryIsReady) {
  // No section: the service's own endpoints; ready without asking anything.
  EXPECT_NE(InitWeatherNetwork(0), 0);
  writeWeatherSection(QStringLiteral("ftp://wx.example.jp/forecast"), QString(), QString());
  EXPECT_EQ(InitWeatherNetwork(0), 0);
  EXPECT_TRUE(messages.messages().at(0).text.contains(QStringLiteral("FORECAST_URL")));
  EXPECT_EQ(CreateTable(), wx::kNotReady);
  EXPECT_EQ(GetTerra8Data(1), wx::kNotReady);
  EXPECT_EQ(Get1KmMeshData(1, 2024, 6, 13), wx::kNotReady);

  writeWeatherSection(QStringLiteral("http://127.0.0.1:1/f"), QStringLiteral("http://127.0.0.1:1/a"), QString());
  store.deleteValue(registry.keyPath(hv6::StartKeys::kBaseInfo), hv6::StartKeys::kWeatherDataPath);
  EXPECT_EQ(InitWeatherNetwork(0), 0);

  // Another settings key, chosen for this run only.
  ASSERT_EQ(store.createKey(hv6::AppRegistry::kBaseKey + QStringLiteral("\\FARM2\\Environment\\BaseInfo")),
            hv6::RegStatus::Ok);
  const QString farm2 = hv6::AppRegistry::kBaseKey + QStringLiteral("\\FARM2\\Environment\\BaseInfo");
  ASSERT_EQ(store.writeString(farm2, QStringLiteral("DataPath"), data.diaryPath()), hv6::RegStatus::Ok);
  ASSERT_EQ(store.writeString(farm2, QStringLiteral("WeatherDataPath"), data.weatherPath()), hv6::RegStatus::Ok);
  wx::useSettingsKey(QStringLiteral("FARM2"));
  EXPECT_NE(InitWeatherNetwork(0), 0);
  EXPECT_EQ(GetTerra8Data(1), 0);
  EXPECT_EQ(GetTerra8Data(2), wx::kBadArgument);
}

TEST_F(WxFetchTest, CreateTableAddsTheTableToAnOlderWeatherFile) {
  data.weather().Execute(QStringLiteral("DROP TABLE MeshWeather"));
  writeWeatherSection(QStringLiteral("http://127.0.0.1:1/f"), QStringLiteral("http://127.0.0.1:1/a"), QString());
  ASSERT_NE(InitWeatherNetwork(0), 0);
  EXPECT_EQ(CreateTable(), 0);
  EXPECT_TRUE(data.weather().tableExists(QStringLiteral("MeshWeather")));
  EXPECT_EQ(CreateTable(), 0);  // there already

  setPaths(data.diaryPath(), env.path(QStringLiteral("gone/気象データ.HV6")));
  ASSERT_NE(InitWeatherNetwork(0), 0);
  EXPECT_LT(CreateTable(), 0);
  EXPECT_FALSE(QFileInfo::exists(env.path(QStringLiteral("gone"))));
}

}  // namespace
