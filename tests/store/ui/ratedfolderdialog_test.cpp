// The folder dialog of the data-folder choice: OK and the status line
// follow the rating of the selected folder.
#include "platform/ui/file_dialogs.h"

#include "store/datafolder.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class RatedFolderDialogTest : public ::testing::Test {
 protected:
  hv6::FileChoice choice() {
    hv6::FileChoice result;
    result.title = QStringLiteral("Harvoのデータがあるフォルダを指定してください。");
    result.startFolder = current.folder();
    const QString folder = current.folder();
    result.rateFolder = [folder](const QString& chosen) {
      return hv6::rateDataFolder(chosen, folder, 1);
    };
    return result;
  }
  static bool okEnabled(const hv6::RatedFolderDialog& dialog) {
    return dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttons"))
        ->button(QDialogButtonBox::Ok)
        ->isEnabled();
  }
  static QString status(const hv6::RatedFolderDialog& dialog) {
    return dialog.findChild<QLabel*>(QStringLiteral("status"))->text();
  }

  hv6test::TestEnvironment env;
  hv6test::TempDataFolder current;
};

TEST_F(RatedFolderDialogTest, OkFollowsTheRatingOfTheSelection) {
  hv6::RatedFolderDialog dialog(choice());
  EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("title"))->text(), choice().title);
  EXPECT_EQ(dialog.selectedFolder(), current.folder());
  EXPECT_FALSE(okEnabled(dialog));
  EXPECT_EQ(status(dialog), hv6::kSameFolderStatus);

  hv6test::TempDataFolder other;
  dialog.selectFolder(other.folder());
  EXPECT_TRUE(okEnabled(dialog));
  EXPECT_EQ(status(dialog), hv6::kDiaryFoundStatus);

  const QString empty = env.path(QStringLiteral("empty"));
  ASSERT_TRUE(QDir().mkpath(empty));
  dialog.selectFolder(empty);
  EXPECT_FALSE(okEnabled(dialog));
  EXPECT_EQ(status(dialog), hv6::kDiaryMissingStatus);
}

TEST_F(RatedFolderDialogTest, TheRootKeepsItsSeparator) {
  hv6::RatedFolderDialog dialog(choice());
  dialog.selectFolder(QStringLiteral("/"));
  EXPECT_EQ(dialog.selectedFolder(), QStringLiteral("/"));
  EXPECT_EQ(hv6::dataFolderOf(hv6::diaryPathIn(dialog.selectedFolder())), QStringLiteral("/"));
}

}  // namespace
