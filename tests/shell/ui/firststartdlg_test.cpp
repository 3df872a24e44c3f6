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

  void SetUp() override {
    install();
    dialog = std::make_unique<CFirstStartDlg>(registry);
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

TEST_F(FirstStartDialogTest, ResultsOfTheButtons) {
  for (const char* id : {"1003", "1004", "1005"}) button(id)->click();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(messages.messages().size(), 3);  // not yet available, each time
  EXPECT_EQ(messages.messages().last().text, hv6::FirstStartChoice::notYetAvailableText());

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
