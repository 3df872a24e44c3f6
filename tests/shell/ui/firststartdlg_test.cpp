#include "shell/ui/firststartdlg.h"

#include "shell/envcopy.h"
#include "store/schema.h"
#include "tests/shell/shell_fixture.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>

namespace {

class FirstStartDialogTest : public hv6test::InstalledRegistryTest {
 protected:
  std::unique_ptr<CFirstStartDlg> dialog;
  QList<int> newDataModes;
  bool newDataMade = false;
  std::optional<QString> chosenDiary;
  int sheets = 0;

  void SetUp() override {
    install();
    CFirstStartDlg::Actions actions{[this](int mode) {
                                      newDataModes << mode;
                                      return newDataMade;
                                    },
                                    [this] {
                                      ++sheets;
                                      return chosenDiary;
                                    }};
    dialog = std::make_unique<CFirstStartDlg>(registry, actions);
    dialog->open();
  }

  QPushButton* button(const char* id) {
    return dialog->findChild<QPushButton*>(QString::fromLatin1(id));
  }
};

TEST_F(FirstStartDialogTest, ShowsTheNoteAndTheFiveButtonsUncut) {
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Harvo V6 Plus for Windows"));
  const std::pair<const char*, QString> expected[] = {
      {"1003", QStringLiteral("新規に作成する。")},
      {"1004", QStringLiteral("HarvoV3、V5/V5プラスからコンバートする。")},
      {"1006", QStringLiteral("デモデータを見る。")},
      {"1005", QStringLiteral("データフォルダを指定する。")},
      {"1", QStringLiteral("終了する。")},
  };
  for (const auto& [id, text] : expected) {
    QPushButton* found = button(id);
    ASSERT_NE(found, nullptr) << id;
    EXPECT_EQ(found->text(), text);
    EXPECT_GE(found->width(), found->sizeHint().width()) << id;
  }
  const auto* note = dialog->findChild<QLabel*>(QStringLiteral("note"));
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->text(), hv6::FirstStartChoice::noteText());
  EXPECT_GE(note->height(), note->heightForWidth(note->width()));
}

// New data in mode 1 (1003) or 2 (1004): the dialog closes with 6 only
// when data was made.
TEST_F(FirstStartDialogTest, NewDataAndConversion) {
  button("1003")->click();
  button("1004")->click();
  EXPECT_EQ(newDataModes, (QList<int>{1, 2}));
  EXPECT_TRUE(dialog->isVisible());
  newDataMade = true;
  button("1004")->click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), 6);
  EXPECT_TRUE(messages.empty());
}

// A data folder (1005): cancelled sheet stays silently; a chosen diary file
// that is not there shows 1127 (kind 0) and stays; an existing one closes
// with 6.
TEST_F(FirstStartDialogTest, DataFolder) {
  button("1005")->click();
  EXPECT_EQ(sheets, 1);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(messages.empty());

  const QString diary = env.path(hv6::kDiaryFileName);
  chosenDiary = diary;
  button("1005")->click();
  EXPECT_TRUE(dialog->isVisible());
  ASSERT_EQ(messages.numbers(), QList<long>{1127});
  EXPECT_EQ(messages.messages().at(0).kind, 0);

  QFile file(diary);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  button("1005")->click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), 6);
}

TEST_F(FirstStartDialogTest, ResultsOfTheButtons) {
  ASSERT_TRUE(registry.writeString(hv6::StartKeys::kEnvironment, hv6::StartKeys::kInstallPath,
                                   QStringLiteral("/p")));
  button("1006")->click();  // no demo data yet
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(messages.numbers().last(), 2916);

  ASSERT_TRUE(QDir().mkpath(hv6::demoDataFolder()));
  for (const QString& name : {hv6::kDiaryFileName, hv6::kWeatherFileName}) {
    QFile file(hv6::demoDataFolder() + u'/' + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  button("1006")->click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), 6);

  dialog->open();
  button("1")->click();
  EXPECT_EQ(dialog->result(), 1);
  dialog->open();
  dialog->reject();  // Escape or the close box
  EXPECT_EQ(dialog->result(), 2);
}

}  // namespace
