// The retrieval's walk over the observation points and the weather
// command's steps around it, with a library that records its calls.
#include "tests/weather/weather_fixture.h"

#include "weather/retrieval.h"
#include "weather/weatherlink.h"

#include <QMap>

namespace {

using hv6test::CommSettingsTest;
using hv6test::TempDataFolder;

constexpr long kToday = 20240620;

class RecordingLibrary final : public hv6::WeatherLibrary {
 public:
  QStringList calls;
  int init = 1;
  int create = 0;
  int terra8 = 0;
  QMap<int, int> meshResults;  // by point code; 3 otherwise

  int InitWeatherNetwork(int mode) override {
    calls << QStringLiteral("Init(%1)").arg(mode);
    return init;
  }
  int CreateTable() override {
    calls << QStringLiteral("Create");
    return create;
  }
  int GetTerra8Data(int kind) override {
    calls << QStringLiteral("Terra8(%1)").arg(kind);
    return terra8;
  }
  int Get1KmMeshData(int code, int year, int month, int day) override {
    calls << QStringLiteral("Mesh(%1,%2/%3/%4)").arg(code).arg(year).arg(month).arg(day);
    return meshResults.value(code, 3);
  }
};

// The four calls of one point's full sequence.
QStringList sequence(int code, const QString& start = QStringLiteral("2024/6/13")) {
  return {QStringLiteral("Init(0)"), QStringLiteral("Create"), QStringLiteral("Terra8(1)"),
          QStringLiteral("Mesh(%1,%2)").arg(code).arg(start)};
}
QStringList withoutMesh() {
  return {QStringLiteral("Init(0)"), QStringLiteral("Create"), QStringLiteral("Terra8(1)")};
}

class RetrievalTest : public CommSettingsTest {
 protected:
  RecordingLibrary library;

  void SetUp() override {
    CommSettingsTest::SetUp();
    addItem(QDateTime(QDate(2024, 6, 13), QTime(0, 0)));
  }

  void addPoint(long code, long sdate, long edate = 0) {
    TempDataFolder::insertRow(data.weather(), QStringLiteral("Location"),
                              {{QStringLiteral("Code"), COleVariant(code)},
                               {QStringLiteral("SDate"), COleVariant(sdate)},
                               {QStringLiteral("EDate"), edate ? COleVariant(edate) : COleVariant::null()}});
  }

  bool retrieve() {
    return hv6::RetrieveWeatherData(library, [this] { return &data.weather(); }, kToday);
  }
};

TEST_F(RetrievalTest, EveryObservedPointGetsTheWholeSequenceInTableOrder) {
  addPoint(3, 20240101);
  addPoint(1, 20240101);
  addPoint(2, 20240101);
  EXPECT_TRUE(retrieve());
  EXPECT_EQ(library.calls, sequence(1) + sequence(2) + sequence(3));
  EXPECT_TRUE(messages.empty());
}

TEST_F(RetrievalTest, OnlyPointsObservedTodayAreFetched) {
  addPoint(1, 20240621);            // from tomorrow
  addPoint(2, 20240101, 20240620);  // ends today
  addPoint(3, 20240620);            // from today
  addPoint(4, 20240101, 20240619);  // ended yesterday
  addPoint(5, 20240101, 0);         // EDate 0 counts as open
  EXPECT_TRUE(retrieve());
  EXPECT_EQ(library.calls, sequence(2) + sequence(3) + sequence(5));
}

TEST_F(RetrievalTest, PointsThatAllEndedBeforeTodayMakeNoCallAndShow2445) {
  addPoint(1, 20230101, 20231231);
  addPoint(2, 20230101, 20240619);
  EXPECT_TRUE(retrieve());
  EXPECT_TRUE(library.calls.isEmpty());
  EXPECT_EQ(messages.numbers(), QList<long>{2445});
}

TEST_F(RetrievalTest, CodesOutsideOneToEightGetNoMeshData) {
  addPoint(9, 20240101);
  addPoint(256, 20240101);  // read as a byte: 0
  addPoint(264, 20240101);  // read as a byte: 8
  EXPECT_TRUE(retrieve());
  EXPECT_EQ(library.calls, withoutMesh() + withoutMesh() + sequence(8));
  EXPECT_TRUE(messages.empty());  // they count as fetched
}

TEST_F(RetrievalTest, AFailureStopsAtOnceWithout2445) {
  addPoint(1, 20240101);
  addPoint(2, 20240101);
  addPoint(3, 20240101);
  library.meshResults[2] = -6;
  EXPECT_FALSE(retrieve());
  EXPECT_EQ(library.calls, sequence(1) + sequence(2));
  EXPECT_TRUE(messages.empty());

  // A failure on the first point fails before anything was fetched: still
  // no 2445.
  library.calls.clear();
  library.meshResults[1] = -1;
  EXPECT_FALSE(retrieve());
  EXPECT_EQ(library.calls, sequence(1));
  EXPECT_TRUE(messages.empty());
}

TEST_F(RetrievalTest, WithoutPointsOnlyTheNetworkTablesAndTerra8Run) {
  EXPECT_TRUE(retrieve());
  EXPECT_EQ(library.calls, withoutMesh());
  EXPECT_EQ(messages.numbers(), QList<long>{2445});

  messages.clear();
  library.calls.clear();
  library.terra8 = -4;
  EXPECT_FALSE(retrieve());
  EXPECT_EQ(library.calls, withoutMesh());
  EXPECT_TRUE(messages.empty());
}

TEST_F(RetrievalTest, StartDateIsTheFirstItemOfDataSpeciesZeroByType) {
  data.weather().Execute(QStringLiteral("DELETE FROM Item"));
  const auto item = [this](const QDate& day, int species, int type) {
    TempDataFolder::insertRow(data.weather(), QStringLiteral("Item"),
                              {{QStringLiteral("LastUpdate"), COleVariant(QDateTime(day, QTime(9, 30)))},
                               {QStringLiteral("DataSpecies"), COleVariant(species)},
                               {QStringLiteral("Type"), COleVariant(type)}});
  };
  item(QDate(2024, 1, 5), 1, 0);
  item(QDate(2024, 3, 3), 0, 2);
  item(QDate(2024, 2, 29), 0, 1);
  addPoint(1, 20240101);
  EXPECT_TRUE(retrieve());
  EXPECT_EQ(library.calls, sequence(1, QStringLiteral("2024/2/29")));
}

TEST_F(RetrievalTest, DatabaseFailuresAreShownAndEndTheRun) {
  addPoint(1, 20240101);
  data.weather().Execute(QStringLiteral("DELETE FROM Item"));
  EXPECT_FALSE(retrieve());
  EXPECT_TRUE(library.calls.isEmpty());
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_EQ(messages.messages().at(0).number, 3021);
  EXPECT_EQ(messages.messages().at(0).kind, CErrMsg::kDaoErrKind);

  messages.clear();
  EXPECT_FALSE(hv6::RetrieveWeatherData(library, [] { return nullptr; }, kToday));
  EXPECT_EQ(messages.numbers(), QList<long>{3420});
}

TEST(FetchPointData, EachStepsFailureIsTheResult) {
  RecordingLibrary library;
  library.init = 0;
  EXPECT_EQ(hv6::FetchPointData(library, 1, 2024, 6, 13, true), -1);
  EXPECT_EQ(library.calls, QStringList{"Init(0)"});

  library = RecordingLibrary();
  library.create = 7;  // any other value is passed on unchanged
  EXPECT_EQ(hv6::FetchPointData(library, 1, 2024, 6, 13, true), 7);
  EXPECT_EQ(library.calls, (QStringList{"Init(0)", "Create"}));

  library = RecordingLibrary();
  library.terra8 = 5;
  EXPECT_EQ(hv6::FetchPointData(library, 0, 2024, 6, 13, true), 5);
  EXPECT_EQ(hv6::FetchPointData(library, 9, 2024, 6, 13, true), 5);
  library.calls.clear();
  EXPECT_EQ(hv6::FetchPointData(library, 8, 2024, 6, 13, false), 3);
  EXPECT_EQ(library.calls, QStringList{"Mesh(8,2024/6/13)"});
}

// The weather command around the retrieval.
class WeatherCommandTest : public RetrievalTest {
 protected:
  QStringList steps;
  bool beginSucceeds = true;

  class StepLink final : public hv6::WeatherLink {
   public:
    StepLink(QStringList& steps, bool begin) : steps_(steps), begin_(begin) {}
    bool BeginWeatherLink(QWidget*) override {
      steps_ << QStringLiteral("begin");
      return begin_;
    }
    void EndWeatherLink() override { steps_ << QStringLiteral("end"); }

   private:
    QStringList& steps_;
    bool begin_;
  };

  bool run() {
    const hv6::WeatherCommandParts parts{
        registry,
        [this] {
          steps << QStringLiteral("link");
          return std::make_unique<StepLink>(steps, beginSucceeds);
        },
        library,
        [this] {
          steps << QStringLiteral("open");
          return &data.weather();
        },
        kToday,
        nullptr,
        [this] { steps << QStringLiteral("wait"); },
        [this] { steps << QStringLiteral("done"); }};
    return hv6::runWeatherCommand(parts);
  }
  void network(std::uint32_t value) {
    ASSERT_TRUE(registry.writeDword(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kNetworkSetup, value));
  }
};

TEST_F(WeatherCommandTest, RetrievalRunsBetweenTheLinksStepsAndTheWaiting) {
  addPoint(1, 20240101);
  network(1);
  EXPECT_TRUE(run());
  EXPECT_EQ(steps, (QStringList{"link", "begin", "wait", "open", "open", "done", "end"}));
  EXPECT_EQ(library.calls, sequence(1));
}

TEST_F(WeatherCommandTest, AFailedBeginSkipsTheRetrievalButNotTheEnd) {
  addPoint(1, 20240101);
  network(1);
  beginSucceeds = false;
  EXPECT_FALSE(run());
  EXPECT_EQ(steps, (QStringList{"link", "begin", "end"}));
  EXPECT_TRUE(library.calls.isEmpty());
}

TEST_F(WeatherCommandTest, NothingHappensWhileWeatherCommunicationIsOff) {
  network(0);
  EXPECT_FALSE(run());
  EXPECT_TRUE(steps.isEmpty());
  EXPECT_TRUE(messages.empty());

  store.deleteValue(registry.keyPath(hv6::StartKeys::kBaseInfo), hv6::StartKeys::kNetworkSetup);
  EXPECT_FALSE(run());
  EXPECT_TRUE(steps.isEmpty());
  EXPECT_EQ(messages.numbers(), QList<long>{2504});
}

}  // namespace
