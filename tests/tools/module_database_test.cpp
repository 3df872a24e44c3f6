#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/module.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

// A tool library's own copy of the database layer opens its connections
// beside the program's: the names differ and the program's stay usable.
TEST(ModuleDatabase, ALibrarysConnectionsLeaveTheProgramsAlone) {
  hv6test::TestEnvironment env;
  hv6test::TempDataFolder data;
  data.addDiary(QDate(2026, 6, 1));
  hv6::Module module;
  ASSERT_TRUE(module.load(QDir(hv6test::binaryDir()).filePath(QStringLiteral("tests/tools")),
                          QStringLiteral("hv6_test_dao_module")))
      << qPrintable(module.errorText());
  auto* open = module.function<const char*(const char*, int)>("hv6_test_open");
  auto* close = module.function<void()>("hv6_test_close");
  ASSERT_TRUE(open && close);
  // Enough connections to reach any name the program's counter gave.
  const QStringList theirs =
      QString::fromUtf8(open(data.weatherPath().toUtf8().constData(), 8)).split(u' ');
  EXPECT_FALSE(theirs.contains(data.diary().connectionName())) << qPrintable(theirs.join(u' '));
  EXPECT_FALSE(theirs.contains(data.weather().connectionName()));
  const auto count = [&] {
    CDaoRecordset rows(&data.diary());
    rows.Open(dbOpenSnapshot, QStringLiteral("SELECT COUNT(*) FROM WDiary"));
    return rows.GetFieldValue(0).toLong();
  };
  EXPECT_EQ(count(), 1);
  close();
  EXPECT_EQ(count(), 1);
  EXPECT_TRUE(data.diary().IsOpen());
}

}  // namespace
