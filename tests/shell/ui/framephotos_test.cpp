// The frame's photo commands: the Tools menu and the day's context menu.
#include "shell/ui/mainframe.h"

#include "calendar/salesfill.h"
#include "calendar/ui/hrvview.h"
#include "outside/picview6/ui/viewerwindow.h"
#include "outside/vqbase106/ui/vqcalendar.h"
#include "platform/dao/dao.h"
#include "shell/appcore.h"
#include "tests/calendar/calendar_fixture.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/scripted_chooser.h"
#include "tests/support/temp_data_folder.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>

namespace {

using hv6test::TempDataFolder;

class FramePhotosTest : public hv6test::InstalledRegistryTest {
 protected:
  hv6::AppCore core{store};
  TempDataFolder data;
  hv6test::ScriptedChooser chooser;
  std::unique_ptr<CMainFrame> frame;

  void SetUp() override {
    install();
    hv6test::installCalendarSettings(store, registry);
    setPaths(data.diaryPath(), data.weatherPath());
    frame = std::make_unique<CMainFrame>(core);
    frame->setFillers(std::make_unique<hv6::DatabaseFillers>());
    ASSERT_TRUE(frame->OnCreateClient());
    ASSERT_TRUE(frame->view()->reload());
    frame->view()->moveTo(2026, 7, 4);
    messages.clear();  // no launcher entry is offered here (2911)
  }

  long picture(long date, const QString& title) {
    return TempDataFolder::insertRow(core.diaryDatabase(), QStringLiteral("PictureLink"),
                                     {{QStringLiteral("PhotoDate"), COleVariant(date)},
                                      {QStringLiteral("Title"), COleVariant(title)},
                                      {QStringLiteral("Path"), COleVariant(env.path(QStringLiteral("a.jpg")))}});
  }

  long rowCount() {
    CDaoRecordset set(&core.diaryDatabase());
    set.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM PictureLink"));
    return set.GetRecordCount();
  }
};

TEST_F(FramePhotosTest, ToolsMenuImportsShowsAndOpensTheAlbumWithTheMarksRedrawn) {
  frame->frameAction(32816)->trigger();
  EXPECT_EQ(messages.numbers(), QList<long>{2910});
  frame->frameAction(32815)->trigger();
  EXPECT_EQ(messages.numbers(), (QList<long>{2910, 2909}));
  messages.clear();

  chooser.answerFiles({env.path(QStringLiteral("畑 1.jpg")), env.path(QStringLiteral("畑 2.JPG"))});
  frame->frameAction(32814)->trigger();
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(rowCount(), 2);
  EXPECT_EQ(frame->view()->logic().photoDates(), QList<long>{20260704});

  QString opened;
  QTimer::singleShot(0, [&opened] {
    if (QWidget* dialog = QApplication::activeModalWidget()) {
      opened = dialog->objectName();
      dialog->close();
    }
  });
  frame->frameAction(32815)->trigger();
  EXPECT_EQ(opened, QStringLiteral("143"));
}

TEST_F(FramePhotosTest, TheDayMenusShowWorksOnTheDayRightClicked) {
  picture(20260710, QStringLiteral("十日の写真"));
  frame->view()->logic().state().selectedDate = 20260710;
  Q_EMIT frame->view()->commandRequested(32815);
  auto* viewer = frame->findChild<CViewerWin*>(QStringLiteral("2000"));
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(viewer->findChild<QLineEdit*>(QStringLiteral("title"))->text(),
            QStringLiteral("十日の写真"));
  EXPECT_EQ(frame->view()->logic().state().selectedDate, 0);
  EXPECT_EQ(frame->view()->calendar()->GetDay(), 4);
  EXPECT_TRUE(messages.empty());
}

}  // namespace
