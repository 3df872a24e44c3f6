#include "tools/ui/maintenancedlg.h"

#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"

#include <QPushButton>

#include <gtest/gtest.h>

namespace {

using hv6test::TempDataFolder;

class MaintenanceDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    crop = data.addMaster(QStringLiteral("CropMst"), 1, QStringLiteral("トマト"));
    row = data.addDiary(QDate(2026, 6, 2), {{QStringLiteral("CropCode"), COleVariant(crop + 40)}});
    data.diary().Close();
    data.weather().Close();
  }
  long cropOfRow() {
    CDaoDatabase db;
    db.Open(data.diaryPath());
    CDaoRecordset rs(&db);
    rs.Open(dbOpenSnapshot, QStringLiteral("SELECT CropCode FROM WDiary WHERE Code = %1").arg(row));
    const COleVariant value = rs.GetFieldValue(0);
    return value.isNull() ? 0 : value.toLong();
  }
  void start(CMaintenanceDlg& dialog) {
    dialog.findChild<QPushButton*>(QStringLiteral("start"))->click();
  }

  hv6test::TestEnvironment env;
  hv6test::MessageRecorder messages;
  TempDataFolder data;
  long crop = 0, row = 0;
};

// The dangling code is found and listed; the user is asked; "No" keeps the
// row as it was, "Yes" clears the code, and the report says so.
TEST_F(MaintenanceDialogTest, RepairsADanglingCodeOnlyAfterAsking) {
  CMaintenanceDlg dialog(data.diaryPath(), data.weatherPath());
  dialog.show();
  messages.answer(hv6::MsgAnswer::No);
  start(dialog);
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_EQ(messages.messages().at(0).icon, hv6::MsgIcon::Question);
  EXPECT_TRUE(messages.messages().at(0).text.contains(QStringLiteral("1件")));
  EXPECT_EQ(cropOfRow(), crop + 40);
  EXPECT_TRUE(dialog.reportText().contains(QStringLiteral("作物 (コード %1) が登録されていません。").arg(crop + 40)));
  EXPECT_TRUE(dialog.reportText().contains(QStringLiteral("修復は行いませんでした。")));

  messages.answer(hv6::MsgAnswer::Yes);
  start(dialog);
  EXPECT_EQ(messages.messages().size(), 2);
  EXPECT_EQ(cropOfRow(), 0);
  EXPECT_TRUE(dialog.reportText().contains(QStringLiteral("1件の項目を修復しました。")));
  EXPECT_TRUE(dialog.reportText().contains(QStringLiteral("データベースを最適化しました。")));
  if (!qEnvironmentVariableIsEmpty("HV6_SHOTS"))
    dialog.grab().save(qEnvironmentVariable("HV6_SHOTS") + QStringLiteral("/maintenance.png"));

  start(dialog);  // nothing left to ask about
  EXPECT_EQ(messages.messages().size(), 2);
  EXPECT_TRUE(dialog.reportText().contains(QStringLiteral("問題は見つかりませんでした。")));
}

}  // namespace
