#include "shell/ui/mainframe.h"

#include "outside/hrvcom106/winpos.h"
#include "shell/appcore.h"
#include "shell/envcopy.h"
#include "shell/ui/firststartdlg.h"
#include "calendar/ui/hrvview.h"
#include "shell/ui/splashwnd.h"
#include "store/schema.h"
#include "tests/calendar/calendar_fixture.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/temp_data_folder.h"

#include <QApplication>
#include <QMenu>
#include "outside/vqbase106/ui/calendarbox.h"
#include "outside/vqbase106/ui/vqcalendar.h"
#include <QDir>
#include <QPushButton>
#include <QScreen>
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
    hv6test::installCalendarSettings(store, registry);
    frame = std::make_unique<CMainFrame>(core);
    ASSERT_TRUE(frame->OnCreateClient());
    messages.clear();  // 2911: no launcher entry of the fixture has an icon
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
  // Restored (or never maximised by the desktop): most of the screen, centred.
  const QRect screen = frame->screen()->availableGeometry();
  EXPECT_GE(frame->geometry().width(), screen.width() * 8 / 10);
  EXPECT_GE(frame->geometry().height(), screen.height() * 8 / 10);
  EXPECT_LE((frame->geometry().center() - screen.center()).manhattanLength(), 2);
  frame->setGeometry(60, 40, 640, 420);
  frame->showMinimized();
  frame->raiseWindow();  // a second start's request
  EXPECT_FALSE(frame->isMinimized());
  ASSERT_TRUE(frame->close());

  CMainFrame again(core);
  ASSERT_TRUE(again.OnCreateClient());
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

TEST_F(MainFrameTest, MonthStepsFromTheDatePickerKeepTheDayInTheMonth) {
  ASSERT_TRUE(frame->datePicker()->SetDate(2026, 1, 31));
  frame->stepMonth(CMainFrame::kNextMonth);
  int year = 0, month = 0, day = 0;
  frame->datePicker()->GetDate(year, month, day);
  EXPECT_EQ(year * 10000 + month * 100 + day, 20260228);
  EXPECT_EQ(frame->view()->calendar()->GetMonth(), 2);
  ASSERT_TRUE(frame->datePicker()->SetDate(2026, 1, 10));
  frame->stepMonth(CMainFrame::kPrevMonth);
  EXPECT_EQ(frame->datePicker()->date(), 20251210);
  EXPECT_EQ(frame->view()->calendar()->GetYear(), 2025);
}

TEST_F(MainFrameTest, CalendarMenuCarriesTheViewsCommands) {
  auto* menu = frame->findChild<QMenu*>(QStringLiteral("CalendarMenu"));
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->title(), QStringLiteral("カレンダー(&C)"));
  for (int id : {11001, 11014, 11023, 11024, 11025, 11026, 11027, 32822, 32823, 57607, 57609,
                 10101, 10102}) {
    bool inMenu = false;
    for (QAction* item : menu->actions()) {
      inMenu = inMenu || item->objectName() == QString::number(id);
      if (item->menu())
        for (QAction* sub : item->menu()->actions()) inMenu = inMenu || sub->objectName() == QString::number(id);
    }
    EXPECT_TRUE(inMenu) << id;
  }
  QAction* week = frame->view()->commandAction(11026);
  EXPECT_EQ(week->text(), QStringLiteral("週単位で表示(&K)"));
  week->trigger();
  EXPECT_EQ(week->text(), QStringLiteral("月単位で表示(&K)"));
  EXPECT_EQ(frame->view()->commandAction(57607)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
}

}  // namespace
