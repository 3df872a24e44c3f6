// The application object itself: what it hands to the frame it creates.
#include "shell/ui/hrvapp.h"

#include "shell/commandtexts.h"
#include "shell/help.h"
#include "shell/ui/mainframe.h"
#include "shell/ui/menusetdlg.h"
#include "tests/calendar/calendar_fixture.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/temp_data_folder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

namespace {

class HrvAppTest : public hv6test::InstalledRegistryTest {
 protected:
  void SetUp() override {
    install();
    hv6test::installCalendarSettings(store, registry);
  }
};

// The help pages beside the program (here the test program) open from F1
// and from the launcher settings dialog's Help, with no path set by hand.
TEST_F(HrvAppTest, HelpOfTheStartedProgramOpensItsPages) {
  hv6test::TempDataFolder data;
  setPaths(data.diaryPath(), data.weatherPath(), env.path(QStringLiteral("program")));
  CHrvApp app(hv6::StartOptions{});
  app.usePresenter(&messages);
  ASSERT_TRUE(app.InitInstance());
  CMainFrame* frame = app.mainFrame();
  ASSERT_NE(frame, nullptr);
  QList<QUrl> opened;
  frame->setHelpOpener([&](const QUrl& url) {
    opened << url;
    return true;
  });
  messages.clear();

  frame->OnCommand(hv6::FrameCmd::kHelp);
  hv6test::whenShown<CMenuSetDlg>([](CMenuSetDlg* dialog) {
    dialog->findChild<QPushButton*>(QString::number(CMenuSetDlg::kIdHelp))->click();
    dialog->reject();
  });
  frame->OnCommand(hv6::FrameCmd::kMenuSettings);

  const QString book = QApplication::applicationFilePath() + QStringLiteral(".chm");
  ASSERT_EQ(opened.size(), 2) << messages.numbers().size();
  EXPECT_EQ(opened.at(0).toLocalFile(), book + QStringLiteral("/10000.html"));
  EXPECT_EQ(opened.at(1).toLocalFile(), book + QStringLiteral("/10024.html"));
  EXPECT_TRUE(QFileInfo::exists(opened.at(0).toLocalFile()) &&
              QFileInfo::exists(opened.at(1).toLocalFile()));
  EXPECT_TRUE(messages.empty());
  app.ExitInstance();
}

// A help "file" that is no folder of pages (a compiled help file copied
// from elsewhere), a folder that cannot be read or a page the desktop cannot
// open says so with its path.
TEST(HelpBookTest, UnusableHelpShowsItsRealPath) {
  hv6test::TestEnvironment env;
  hv6test::MessageRecorder messages;
  const QString file = env.path(QStringLiteral("hv6.chm"));
  QFile compiled(file);
  ASSERT_TRUE(compiled.open(QIODevice::WriteOnly));
  compiled.write("ITSF");
  compiled.close();
  bool opened = false;
  const hv6::PageOpener open = [&](const QUrl&) { return opened = true; };
  EXPECT_FALSE(hv6::showHelpTopic(hv6::HelpBook(file), hv6::HelpTopic::kMain, open));
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_EQ(messages.messages().first().text, hv6::HelpBook::missingText(file));

  // Pages that are there but that the desktop cannot open (no browser).
  const QString pages = env.path(QStringLiteral("pages.chm"));
  ASSERT_TRUE(QDir().mkpath(pages));
  QFile page(pages + QStringLiteral("/99999.html"));
  ASSERT_TRUE(page.open(QIODevice::WriteOnly));
  page.close();
  EXPECT_FALSE(hv6::showHelpTopic(hv6::HelpBook(pages), hv6::HelpTopic::kMain,
                                  [](const QUrl&) { return false; }));
  EXPECT_EQ(messages.messages().last().text, hv6::HelpBook::notOpenedText(page.fileName()));

  const QString folder = env.path(QStringLiteral("locked.chm"));
  ASSERT_TRUE(QDir().mkpath(folder));
  QFile::setPermissions(folder, QFileDevice::WriteOwner);
  if (QFileInfo(folder).isReadable()) GTEST_SKIP() << "permissions do not bind this user";
  EXPECT_FALSE(hv6::showHelpTopic(hv6::HelpBook(folder), hv6::HelpTopic::kMain, open));
  EXPECT_EQ(messages.messages().last().text, hv6::HelpBook::missingText(folder));
  EXPECT_FALSE(opened);
  QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

}  // namespace
