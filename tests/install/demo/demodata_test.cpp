#include "install/demo/demodata.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "platform/dao/dao.h"
#include "store/schema.h"
#include "tests/install/demo/demo_fixture.h"
#include "tests/support/test_env.h"

namespace {

using hv6::demo::DemoOptions;
using hv6::demo::generateDemoData;

class DemoGenerationTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;

  QString folder(const char* name) const { return env.path(QString::fromLatin1(name)); }

  QString generate(const char* name, DemoOptions options) {
    QString error;
    EXPECT_TRUE(generateDemoData(folder(name), options, &error)) << error.toStdString();
    return folder(name);
  }

  static QStringList entries(const QString& path) {
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
  }
  static QStringList files(const QString& path, const QString& pattern) {
    return QDir(path).entryList({pattern}, QDir::Files, QDir::Name);
  }
};

TEST_F(DemoGenerationTest, SameSeedAndYearGiveTheSameData) {
  const QString first = generate("first", {6, 2024});
  const QString second = generate("second", {6, 2024});

  const QStringList dump = demotest::dumpDemo(first);
  EXPECT_EQ(dump, demotest::dumpDemo(second));
  EXPECT_GT(dump.size(), 2000);

  const QStringList pages = files(first, QStringLiteral("*.rtf"));
  ASSERT_EQ(pages, files(second, QStringLiteral("*.rtf")));
  for (const QString& page : pages)
    EXPECT_EQ(demotest::readAll(QDir(first).filePath(page)),
              demotest::readAll(QDir(second).filePath(page)))
        << page.toStdString();
  EXPECT_EQ(entries(first), entries(second));
}

TEST_F(DemoGenerationTest, AnotherSeedOrYearGivesOtherData) {
  const QStringList base = demotest::dumpDemo(generate("base", {6, 2024}));
  EXPECT_NE(base, demotest::dumpDemo(generate("seed", {7, 2024})));
  EXPECT_NE(base, demotest::dumpDemo(generate("year", {6, 2023})));
}

TEST_F(DemoGenerationTest, YearZeroIsTheCurrentYear) {
  const QString path = generate("now", {});
  CDaoDatabase db;
  db.Open(QDir(path).filePath(hv6::kWeatherFileName));
  const long year = QDate::currentDate().year();
  EXPECT_EQ(demotest::scalar(db, QStringLiteral("SELECT MIN(Date) FROM Weather")),
            year * 10000 + 101);
  EXPECT_EQ(demotest::scalar(db, QStringLiteral("SELECT MAX(Date) FROM Weather")),
            year * 10000 + 1231);
}

TEST_F(DemoGenerationTest, RefusesAFolderThatHoldsData) {
  const QStringList held{hv6::kDiaryFileName, hv6::kWeatherFileName};
  for (qsizetype i = 0; i < held.size(); ++i) {
    const QString& file = held[i];
    const QString path = env.path(QStringLiteral("held-%1").arg(i));
    QDir().mkpath(path);
    if (i == 0)
      hv6::createDiaryDatabase(QDir(path).filePath(file));
    else
      hv6::createWeatherDatabase(QDir(path).filePath(file));
    const QByteArray before = demotest::readAll(QDir(path).filePath(file));

    QString error;
    EXPECT_FALSE(generateDemoData(path, {}, &error));
    EXPECT_TRUE(error.contains(file)) << error.toStdString();
    EXPECT_EQ(entries(path), QStringList{file});
    EXPECT_EQ(demotest::readAll(QDir(path).filePath(file)), before);
  }
}

TEST_F(DemoGenerationTest, RefusesToReplaceAnythingAndLeavesNoTrace) {
  const QString path = folder("photos-held");
  QDir().mkpath(path + QStringLiteral("/photos"));
  QFile mine(path + QStringLiteral("/photos/mine.jpg"));
  ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
  mine.write("mine");
  mine.close();

  QString error;
  EXPECT_FALSE(generateDemoData(path, {6, 2024}, &error));
  EXPECT_TRUE(error.contains(QStringLiteral("photos"))) << error.toStdString();
  EXPECT_EQ(entries(path), QStringList{QStringLiteral("photos")});
  EXPECT_EQ(entries(path + QStringLiteral("/photos")), QStringList{QStringLiteral("mine.jpg")});
}

TEST_F(DemoGenerationTest, BadInputGivesAClearErrorAndCreatesNothing) {
  QString error;
  EXPECT_FALSE(generateDemoData(folder("early"), {6, 1979}, &error));
  EXPECT_TRUE(error.contains(QStringLiteral("1979"))) << error.toStdString();
  EXPECT_FALSE(QFileInfo::exists(folder("early")));

  EXPECT_FALSE(generateDemoData(QString(), {6, 2024}, &error));
  EXPECT_FALSE(error.isEmpty());

  QFile file(folder("plain-file"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  error.clear();
  EXPECT_FALSE(generateDemoData(folder("plain-file"), {6, 2024}, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_TRUE(QFileInfo(folder("plain-file")).isFile());
}

// The picture paths are checked only after both databases were begun: a
// folder too long for them fails half way and must leave nothing.
TEST_F(DemoGenerationTest, AFailureHalfWayLeavesNothingBehind) {
  const QString parent = env.path(QString(120, QLatin1Char('p')));
  const QString path = parent + QLatin1Char('/') + QString(120, QLatin1Char('q'));
  ASSERT_TRUE(QDir().mkpath(parent));

  QString error;
  EXPECT_FALSE(generateDemoData(path, {6, 2024}, &error));
  EXPECT_TRUE(error.contains(QStringLiteral("255"))) << error.toStdString();
  EXPECT_FALSE(QFileInfo::exists(path));
  EXPECT_TRUE(entries(parent).isEmpty());
}

TEST_F(DemoGenerationTest, AFailureInAnExistingFolderKeepsItsFiles) {
  const QString parent = env.path(QString(120, QLatin1Char('r')));
  const QString path = parent + QLatin1Char('/') + QString(120, QLatin1Char('s'));
  ASSERT_TRUE(QDir().mkpath(path));
  QFile note(path + QStringLiteral("/note.txt"));
  ASSERT_TRUE(note.open(QIODevice::WriteOnly));
  note.close();

  EXPECT_FALSE(generateDemoData(path, {6, 2024}));
  EXPECT_EQ(entries(path), QStringList{QStringLiteral("note.txt")});
}

}  // namespace
