#include "shell/ui/mainframe.h"

#include "outside/hrvcom106/winpos.h"
#include "shell/appcore.h"
#include "shell/envcopy.h"
#include "shell/ui/firststartdlg.h"
#include "shell/ui/hrvview.h"
#include "shell/ui/splashwnd.h"
#include "store/schema.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/temp_data_folder.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTimer>

namespace {

using hv6::StartKeys;
using Activation = CMainFrame::Activation;

class MainFrameTest : public hv6test::InstalledRegistryTest {
 protected:
  hv6::AppCore core{store};
  std::unique_ptr<CMainFrame> frame;

  void SetUp() override {
    install();
    frame = std::make_unique<CMainFrame>(core);
  }

  // Clicks a button of the first-start dialog once it runs modally.
  static void clickInFirstStartDialog(const char* id) {
    QTimer::singleShot(0, [id] {
      for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<CFirstStartDlg*>(window); dialog && dialog->isVisible())
          dialog->findChild<QPushButton*>(QString::fromLatin1(id))->click();
    });
  }
};

TEST_F(MainFrameTest, ClosingIsRefusedWhileADialogIsOpen) {
  frame->show();
  QDialog settings(frame.get());
  settings.setModal(true);
  settings.show();
  EXPECT_FALSE(frame->close());
  EXPECT_TRUE(frame->isVisible());
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_EQ(messages.messages().first().text, CMainFrame::closeRefusedText());
  QByteArray stored;
  EXPECT_FALSE(registry.readBinary(StartKeys::kProfile, StartKeys::kToolBarState, stored));

  settings.hide();
  EXPECT_TRUE(frame->close());
  EXPECT_EQ(messages.messages().size(), 1);
  EXPECT_TRUE(registry.readBinary(StartKeys::kProfile, StartKeys::kToolBarState, stored));
  EXPECT_TRUE(registry.readBinary(StartKeys::kProfile, CWinPos::kValueName, stored));
}

TEST_F(MainFrameTest, FirstActivationShowsMaximisedThenAsPlaced) {
  hv6test::TempDataFolder data;
  setPaths(data.diaryPath(), data.weatherPath());
  EXPECT_EQ(frame->ActivateFrame(true), Activation::Running);
  EXPECT_TRUE(frame->isMaximized());
  frame->showNormal();
  frame->setGeometry(60, 40, 640, 420);
  frame->showMinimized();
  frame->raiseWindow();  // a second start's request
  EXPECT_FALSE(frame->isMinimized());
  ASSERT_TRUE(frame->close());

  CMainFrame again(core);
  EXPECT_EQ(again.ActivateFrame(true), Activation::Running);
  EXPECT_FALSE(again.isMaximized());
  EXPECT_EQ(again.geometry(), QRect(60, 40, 640, 420));
}

TEST_F(MainFrameTest, MissingDataClosesTheSplashAndAsksTheDialog) {
  frame->OnCreate(true);
  EXPECT_EQ(frame->ActivateFrame(false), Activation::FirstStartNeeded);
  EXPECT_FALSE(frame->isVisible() || frame->splash()->isVisible());

  int closed = 0;
  QObject::connect(frame.get(), &CMainFrame::closed, [&closed] { ++closed; });
  clickInFirstStartDialog("1");
  EXPECT_EQ(frame->ActivateFrame(true), Activation::Exiting);
  QApplication::processEvents();  // the posted close
  EXPECT_EQ(closed, 1);
}

TEST_F(MainFrameTest, DemoDataOfTheFirstStartDialogIsOpened) {
  ASSERT_TRUE(
      registry.writeString(StartKeys::kEnvironment, StartKeys::kInstallPath, QStringLiteral("/p")));
  const QString demo = hv6::demoDataFolder();
  ASSERT_TRUE(QDir().mkpath(demo));
  hv6::createDiaryDatabase(demo + u'/' + hv6::kDiaryFileName);
  hv6::createWeatherDatabase(demo + u'/' + hv6::kWeatherFileName);
  bool reloadedOpen = false;
  QObject::connect(frame->view(), &CHrvView::reloaded, [&](bool open) { reloadedOpen = open; });

  clickInFirstStartDialog("1006");
  EXPECT_EQ(frame->ActivateFrame(true), Activation::Running);
  EXPECT_TRUE(reloadedOpen);
  EXPECT_EQ(core.diaryPath(), demo + u'/' + hv6::kDiaryFileName);
  EXPECT_TRUE(frame->isVisible());
}

}  // namespace
