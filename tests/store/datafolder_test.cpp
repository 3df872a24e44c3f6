#include "store/datafolder.h"

#include "store/schema.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

using hv6::SchemaEdition;

// Ten units per UTF-16 code unit: widths without fonts.
int tenPerUnit(const QString& text) { return static_cast<int>(text.size()) * 10; }

QString fit(const QString& text, int width) { return hv6::fitWithEllipsis(text, width, tenPerUnit); }

TEST(DataFolderText, FolderOfTheDatabasePath) {
  EXPECT_EQ(hv6::dataFolderOf(QStringLiteral("/home/taro/農園/作業日誌データ.HV6")),
            QStringLiteral("/home/taro/農園"));
  EXPECT_EQ(hv6::dataFolderOf(QStringLiteral("/作業日誌データ.HV6")), QStringLiteral("/"));
  EXPECT_EQ(hv6::dataFolderOf(QStringLiteral("/data//作業日誌データ.HV6")), QStringLiteral("/data"));
  EXPECT_EQ(hv6::dataFolderOf(QString()), QString());
  EXPECT_EQ(hv6::diaryPathIn(QStringLiteral("/")), QStringLiteral("/作業日誌データ.HV6"));
  EXPECT_EQ(hv6::weatherPathIn(QStringLiteral("/data")), QStringLiteral("/data/気象データ.HV6"));
}

TEST(DataFolderText, LongTextIsCutWithAnEllipsis) {
  const QString folder = QStringLiteral("/home/taro/農園データ");
  EXPECT_EQ(fit(folder, 160), folder);
  EXPECT_EQ(fit(folder, 159), QStringLiteral("/home/taro/農..."));
  EXPECT_EQ(fit(folder, 150), QStringLiteral("/home/taro/農..."));
  EXPECT_EQ(fit(folder, 149), QStringLiteral("/home/taro/..."));
  EXPECT_EQ(fit(folder, 20), QStringLiteral("..."));
}

TEST(DataFolderText, CutKeepsACharacterOutsideTheBasicPlaneWhole) {
  const QString folder = QStringLiteral("/a𠮷bcde");  // 𠮷 is two code units
  EXPECT_EQ(fit(folder, 70), QStringLiteral("/a𠮷..."));
  EXPECT_EQ(fit(folder, 69), QStringLiteral("/a..."));
}

class DataFolderRating : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;
  hv6test::TempDataFolder current;
};

TEST_F(DataFolderRating, TheCurrentFolderAgainIsNotAcceptable) {
  for (const QString& same : {current.folder(), current.folder() + QStringLiteral("/"),
                              current.folder().toUpper()}) {
    const hv6::FolderRating rating = hv6::rateDataFolder(same, current.folder(), 1);
    EXPECT_FALSE(rating.acceptable) << same.toStdString();
    EXPECT_EQ(rating.status, hv6::kSameFolderStatus);
  }
}

TEST_F(DataFolderRating, AFolderWithoutTheDiaryDatabaseIsNotAcceptable) {
  const QString empty = env.path(QStringLiteral("empty"));
  ASSERT_TRUE(QDir().mkpath(empty));
  const hv6::FolderRating rating = hv6::rateDataFolder(empty, current.folder(), 0);
  EXPECT_FALSE(rating.acceptable);
  EXPECT_EQ(rating.status, hv6::kDiaryMissingStatus);
}

TEST_F(DataFolderRating, ModeOneNeedsTheWeatherDatabaseForThisEdition) {
  hv6test::TempDataFolder other;
  EXPECT_TRUE(hv6::rateDataFolder(other.folder(), current.folder(), 1).acceptable);

  ASSERT_TRUE(QFile::remove(other.weatherPath()));
  const hv6::FolderRating withoutWeather = hv6::rateDataFolder(other.folder(), current.folder(), 1);
  EXPECT_FALSE(withoutWeather.acceptable);
  EXPECT_EQ(withoutWeather.status, hv6::kDiaryMissingStatus);

  const hv6::FolderRating otherMode = hv6::rateDataFolder(other.folder(), current.folder(), 0);
  EXPECT_TRUE(otherMode.acceptable);
  EXPECT_EQ(otherMode.status, hv6::kDiaryFoundStatus);
}

TEST_F(DataFolderRating, DataOfThePreviousEditionPassesWithoutTheWeatherDatabase) {
  hv6test::TempDataFolder previous(SchemaEdition::Previous);
  ASSERT_TRUE(QFile::remove(previous.weatherPath()));
  const hv6::FolderRating rating = hv6::rateDataFolder(previous.folder(), current.folder(), 1);
  EXPECT_TRUE(rating.acceptable);
  EXPECT_EQ(rating.status, hv6::kDiaryFoundStatus);
}

}  // namespace
