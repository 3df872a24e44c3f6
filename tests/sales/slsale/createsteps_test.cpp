#include "sales/slsale/createsteps.h"

#include "outside/sl_errmsg/errmsg.h"
#include "outside/sl_jet/seljetaccess.h"
#include "platform/lockfile.h"
#include "tests/support/message_recorder.h"
#include "tests/support/test_env.h"

#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

#include <new>

namespace {

using slsale::CreateRecords;
using slsale::CreateSteps;

// The steps of a slip entry window with the store's answers given, noting
// the order in which they ran.
struct SlipSteps {
  int environmentStatus = sl::kSlOk;
  int companyStatus = sl::kSlOk;
  bool outOfMemory = false;
  bool markerHeld = true;
  QStringList ran;

  CreateSteps steps() {
    CreateSteps s;
    s.allocate = [this] {
      ran << QStringLiteral("allocate");
      if (outOfMemory) throw std::bad_alloc();
    };
    s.readEnvironment = [this](sl::S_SELENV& env) {
      ran << QStringLiteral("environment");
      if (environmentStatus == sl::kSlOk) sl::slSetText(env.lastNoSales, QStringLiteral("00041"));
      return environmentStatus;
    };
    s.readCompany = [this](sl::S_COMPANY& company) {
      ran << QStringLiteral("company");
      if (companyStatus == sl::kSlOk) company.dateStyle = 1;
      return companyStatus;
    };
    s.build = [this] { ran << QStringLiteral("build"); };
    s.holdSlipMarker = [this] {
      ran << QStringLiteral("marker");
      return markerHeld;
    };
    return s;
  }
};

class CreateStepsTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;
  hv6test::MessageRecorder recorder;
  sl::CErrMsg errors;
  CreateRecords records;
};

TEST_F(CreateStepsTest, AllStepsRunInOrderAndKeepWhatWasRead) {
  SlipSteps slip;
  EXPECT_TRUE(slsale::runCreateSteps(slip.steps(), records, &errors, nullptr));
  EXPECT_EQ(slip.ran, (QStringList{"allocate", "environment", "company", "build", "marker"}));
  EXPECT_EQ(sl::slText(records.environment.lastNoSales), QStringLiteral("00041"));
  EXPECT_EQ(records.company.dateStyle, 1);
  EXPECT_TRUE(recorder.empty());
}

TEST_F(CreateStepsTest, EnvironmentFailureShows500WithTheStatusAndStops) {
  SlipSteps slip;
  slip.environmentStatus = 3260;
  EXPECT_FALSE(slsale::runCreateSteps(slip.steps(), records, &errors, nullptr));
  EXPECT_EQ(slip.ran, (QStringList{"allocate", "environment"}));
  ASSERT_EQ(recorder.numbers(), QList<long>{500});
  EXPECT_EQ(recorder.messages().first().text, sl::CErrMsg::boxText(500, 3260));
  EXPECT_TRUE(recorder.messages().first().text.contains(QStringLiteral("3260")));
}

TEST_F(CreateStepsTest, CompanyFailureShows503WithTheStatusAndStops) {
  SlipSteps slip;
  slip.companyStatus = sl::kSlNotFound;
  EXPECT_FALSE(slsale::runCreateSteps(slip.steps(), records, &errors, nullptr));
  EXPECT_EQ(slip.ran, (QStringList{"allocate", "environment", "company"}));
  ASSERT_EQ(recorder.numbers(), QList<long>{503});
  EXPECT_EQ(recorder.messages().first().text, sl::CErrMsg::boxText(503, sl::kSlNotFound));
}

TEST_F(CreateStepsTest, MemoryShortageShows400WithoutStatus) {
  SlipSteps slip;
  slip.outOfMemory = true;
  EXPECT_FALSE(slsale::runCreateSteps(slip.steps(), records, &errors, nullptr));
  EXPECT_EQ(slip.ran, QStringList{"allocate"});
  ASSERT_EQ(recorder.numbers(), QList<long>{400});
  EXPECT_EQ(recorder.messages().first().text, sl::CErrMsg::text(400));
}

TEST_F(CreateStepsTest, MarkerFailureShowsItsBoxAfterTheOtherSteps) {
  SlipSteps slip;
  slip.markerHeld = false;
  EXPECT_FALSE(slsale::runCreateSteps(slip.steps(), records, &errors, nullptr));
  EXPECT_EQ(slip.ran.last(), QStringLiteral("marker"));
  ASSERT_EQ(recorder.messages().size(), 1);
  EXPECT_EQ(recorder.messages().first().text, QStringLiteral("共有メモリ確保失敗"));
}

TEST_F(CreateStepsTest, AWindowWithoutReadsOrMarkerOnlyBuilds) {
  bool built = false;
  CreateSteps steps;
  steps.build = [&] { built = true; };
  EXPECT_TRUE(slsale::runCreateSteps(steps, records, &errors, nullptr));
  EXPECT_TRUE(built);
  EXPECT_TRUE(recorder.empty());
}

// Without the host's error object the boxes still appear (through a local
// one).
TEST_F(CreateStepsTest, BoxesAppearWithoutTheHostsErrorObject) {
  SlipSteps slip;
  slip.environmentStatus = slsale::kNoStore;
  EXPECT_FALSE(slsale::runCreateSteps(slip.steps(), records, nullptr, nullptr));
  EXPECT_EQ(recorder.numbers(), QList<long>{500});
}

// The marker the slip windows hold: any number of windows share it, and
// it cannot be held while another program holds it alone or when its
// folder cannot be made.
TEST_F(CreateStepsTest, TheSlipMarkerIsSharedAndCanFail) {
  hv6::NamedLock first;
  hv6::NamedLock second;
  EXPECT_TRUE(first.acquireShared(slsale::kSlipMarkerName, hv6::LockScope::User));
  EXPECT_TRUE(second.acquireShared(slsale::kSlipMarkerName, hv6::LockScope::User));
  first.release();
  second.release();

  hv6::NamedLock alone;
  ASSERT_TRUE(alone.acquire(slsale::kSlipMarkerName, hv6::LockScope::User));
  SlipSteps slip;
  CreateSteps steps = slip.steps();
  hv6::NamedLock marker;
  steps.holdSlipMarker = [&] {
    return marker.acquireShared(slsale::kSlipMarkerName, hv6::LockScope::User);
  };
  EXPECT_FALSE(slsale::runCreateSteps(steps, records, &errors, nullptr));
  alone.release();

  // A runtime folder that cannot be made (a file is in the way).
  QFile blocker(env.path(QStringLiteral("blocked")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  qputenv("HV6_RUNTIME", env.path(QStringLiteral("blocked/runtime")).toUtf8());
  EXPECT_FALSE(slsale::runCreateSteps(steps, records, &errors, nullptr));
  EXPECT_EQ(recorder.messages().size(), 2);
  for (const auto& message : recorder.messages())
    EXPECT_EQ(message.text, QStringLiteral("共有メモリ確保失敗"));
}

}  // namespace
