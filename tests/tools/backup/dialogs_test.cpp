// The backup and restore windows, offscreen, found by their control ids.
#include "store/schema.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"
#include "tests/tools/backup/dump.h"
#include "tools/backup/ui/backupdialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace hv6test {
namespace {

using namespace hv6::backup;

template <typename T>
T* control(QWidget& dialog, const char* id) {
  T* found = dialog.findChild<T*>(QLatin1String(id));
  EXPECT_NE(found, nullptr) << id;
  return found;
}

class BackupDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data.diary().Execute(QStringLiteral("UPDATE Information SET Company = ?"),
                         {COleVariant(QStringLiteral("北上ファーム"))});
    for (int i = 0; i < 12; ++i) data.addDiary(QDate(2024, 6, 1).addDays(i));
  }
  DataPaths paths() const { return {data.diaryPath(), data.weatherPath()}; }
  QString file() const { return targets.filePath(QStringLiteral("b.hv6bak")); }

  TestEnvironment env;
  TempDataFolder data;
  QTemporaryDir targets;
  MessageRecorder messages;
};

TEST_F(BackupDialogTest, StartWritesTheBackupAndRecordsTheDate) {
  long recorded = 0;
  BackupDialog dialog(paths(), file(), [&recorded](long date) {
    recorded = date;
    return true;
  });
  EXPECT_EQ(control<QLineEdit>(dialog, "1001")->text(), QDir::toNativeSeparators(file()));
  control<QPushButton>(dialog, "1")->click();
  EXPECT_EQ(dialog.result(), kDone);
  EXPECT_EQ(recorded, today());
  EXPECT_EQ(messages.numbers(), QList<long>{kMsgBackupDone});
  EXPECT_EQ(inspectBackup(file()).header.diaryRows, 12);
}

TEST_F(BackupDialogTest, AnExistingFileIsKeptWhenTheUserSaysNoAndCancelLeavesNothing) {
  {
    QFile old(file());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("older file");
  }
  BackupDialog dialog(paths(), file(), [](long) { return true; });
  messages.answer(hv6::MsgAnswer::No);
  control<QPushButton>(dialog, "1")->click();
  EXPECT_EQ(messages.messages().size(), 1);
  EXPECT_EQ(messages.messages().first().text, kOverwriteQuestion);
  EXPECT_EQ(readBytes(file()), QByteArray("older file"));

  // Cancel pressed while the backup runs.
  QFile::remove(file());
  QTimer::singleShot(0, &dialog, [&dialog] { control<QPushButton>(dialog, "2")->click(); });
  control<QPushButton>(dialog, "1")->click();
  EXPECT_EQ(dialog.result(), kCancelled);
  EXPECT_TRUE(QDir(targets.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(BackupDialogTest, TheRestoreWindowShowsWhatABackupHoldsAndRefusesOtherFiles) {
  ASSERT_EQ(writeBackup(paths(), file(), 20240612).message, kDone);
  data.diary().Execute(QStringLiteral("DELETE FROM WDiary"));
  data.diary().Close();
  data.weather().Close();

  QString weatherRecorded;
  RestoreDialog dialog(paths(), targets.path(), [&weatherRecorded](const QString& path) {
    weatherRecorded = path;
    return true;
  });
  auto* start = control<QPushButton>(dialog, "1");
  auto* edit = control<QLineEdit>(dialog, "1001");
  auto* description = control<QLabel>(dialog, "1003");
  EXPECT_FALSE(start->isEnabled());
  edit->setText(targets.filePath(QStringLiteral("none.hv6bak")));
  EXPECT_FALSE(start->isEnabled());
  edit->setText(QDir::toNativeSeparators(file()));
  ASSERT_TRUE(start->isEnabled());
  EXPECT_TRUE(description->text().contains(QStringLiteral("北上ファーム")));
  EXPECT_TRUE(description->text().contains(QStringLiteral("2024年6月12日")));
  EXPECT_TRUE(description->text().contains(QStringLiteral("作業日誌: 12件")));

  messages.answer(hv6::MsgAnswer::Cancel);  // the confirmation
  start->click();
  EXPECT_EQ(dialog.result(), kCancelled);
  CDaoDatabase db;
  db.Open(data.diaryPath(), false, true);
  QSqlQuery rows = db.runSql(QStringLiteral("SELECT count(*) FROM WDiary"));
  ASSERT_TRUE(rows.next());
  EXPECT_EQ(rows.value(0).toInt(), 0);
  db.Close();

  messages.clear();
  start->click();  // confirmed this time
  EXPECT_EQ(dialog.result(), kDone);
  EXPECT_EQ(messages.numbers(), (QList<long>{0, kMsgRestoreDone}));
  EXPECT_TRUE(weatherRecorded.isEmpty());  // the weather database stayed where it was named
  db.Open(data.diaryPath(), false, true);
  QSqlQuery restored = db.runSql(QStringLiteral("SELECT count(*) FROM WDiary"));
  ASSERT_TRUE(restored.next());
  EXPECT_EQ(restored.value(0).toInt(), 12);
}

}  // namespace
}  // namespace hv6test
