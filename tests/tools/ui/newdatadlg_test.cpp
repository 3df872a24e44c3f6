#include "tools/ui/newdatadlg.h"

#include "store/information.h"
#include "store/schema.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/scripted_chooser.h"
#include "tools/datatools_abi.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>

namespace {

class NewDataDialogTest : public hv6test::InstalledRegistryTest {
 protected:
  void SetUp() override {
    install();
    ASSERT_TRUE(QDir().mkpath(env.path(QStringLiteral("farms"))));
  }
  template <typename T>
  T* child(QWidget& dialog, const char* name) {
    return dialog.findChild<T*>(QString::fromLatin1(name));
  }
};

// Filled in as a user would: the place chosen with the folder chooser, the
// name and the farm typed, OK makes the folder; a second OK on the same
// folder is refused with a message and the dialog stays.
TEST_F(NewDataDialogTest, MakesTheFolderTheUserDescribes) {
  hv6test::ScriptedChooser chooser;
  chooser.answer(env.path(QStringLiteral("farms")));
  CNewDataDlg dialog(store, HV6_NEWDATA_COMMAND);
  dialog.show();
  child<QPushButton>(dialog, "placeBrowse")->click();
  EXPECT_EQ(child<QLineEdit>(dialog, "place")->text(), env.path(QStringLiteral("farms")));
  EXPECT_EQ(child<QLineEdit>(dialog, "folderName")->text(), QStringLiteral("Harvoデータ"));
  EXPECT_EQ(child<QLineEdit>(dialog, "olderDiary"), nullptr);
  child<QLineEdit>(dialog, "farmName")->setText(QStringLiteral("佐藤ファーム"));
  if (!qEnvironmentVariableIsEmpty("HV6_SHOTS"))
    dialog.grab().save(qEnvironmentVariable("HV6_SHOTS") + QStringLiteral("/newdata.png"));
  child<QPushButton>(dialog, "1")->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  const QString folder = env.path(QStringLiteral("farms/Harvoデータ"));
  EXPECT_EQ(dialog.madeFolder(), folder);
  EXPECT_EQ(hv6::readInformation(QDir(folder).filePath(hv6::kDiaryFileName)).row.texts.company,
            QStringLiteral("佐藤ファーム"));
  ASSERT_EQ(messages.messages().size(), 1);  // "made"
  EXPECT_TRUE(messages.messages().at(0).text.contains(folder));

  CNewDataDlg again(store, HV6_NEWDATA_FIRSTSTART);
  again.show();
  child<QLineEdit>(again, "place")->setText(env.path(QStringLiteral("farms")));
  child<QPushButton>(again, "1")->click();
  EXPECT_TRUE(again.isVisible());
  EXPECT_EQ(messages.messages().size(), 2);
  EXPECT_EQ(messages.messages().last().icon, hv6::MsgIcon::Warning);
}

// Converting asks for the older diary first.
TEST_F(NewDataDialogTest, ConversionNeedsTheOlderDiary) {
  CNewDataDlg dialog(store, HV6_NEWDATA_CONVERT);
  dialog.show();
  ASSERT_NE(child<QLineEdit>(dialog, "olderDiary"), nullptr);
  EXPECT_EQ(child<QLineEdit>(dialog, "farmName"), nullptr);
  if (!qEnvironmentVariableIsEmpty("HV6_SHOTS"))
    dialog.grab().save(qEnvironmentVariable("HV6_SHOTS") + QStringLiteral("/convert.png"));
  child<QPushButton>(dialog, "1")->click();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(messages.messages().size(), 1);
  EXPECT_FALSE(QFileInfo::exists(env.path(QStringLiteral("farms/Harvoデータ"))));
}

}  // namespace
