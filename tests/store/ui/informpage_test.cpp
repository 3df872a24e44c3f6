#include "store/ui/informpage.h"

#include "outside/errtext6/errmsg.h"
#include "outside/hrvcom106/checkv5app.h"
#include "platform/dao/dao.h"
#include "store/datafolder.h"
#include "tests/support/message_recorder.h"
#include "tests/support/scripted_chooser.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

using hv6::SchemaEdition;

void setInformation(CDaoDatabase& db, const char* column, const COleVariant& value) {
  db.Execute(QStringLiteral("UPDATE Information SET %1 = ?").arg(QString::fromLatin1(column)),
             QList<COleVariant>{value});
}

QString information(CDaoDatabase& db, const char* column) {
  CDaoRecordset rs(&db);
  rs.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM Information"));
  return rs.GetFieldValue(QString::fromLatin1(column)).toString();
}

void fill(hv6test::TempDataFolder& data, const QString& company, const QString& president) {
  setInformation(data.diary(), "Company", company);
  setInformation(data.diary(), "President", president);
}

class InformPageTest : public ::testing::Test {
 protected:
  InformPageTest() {
    fill(current, QStringLiteral("北上農園"), QStringLiteral("岩手太郎"));
    setInformation(current.diary(), "GroupName", QStringLiteral("北上農協"));
    setInformation(current.diary(), "LastBackup", 20230601L);
  }

  // Records every pathsChanged of the page.
  const QList<QStringList>& changes() const { return changes_; }
  void recordChanges() {
    QObject::connect(&page, &CInform::pathsChanged, &page,
                     [this](const QString& diary, const QString& weather) {
                       changes_.append({diary, weather});
                     });
  }

  template <class T>
  T* control(int id) {
    T* widget = page.findChild<T*>(QString::number(id));
    EXPECT_NE(widget, nullptr) << id;
    return widget;
  }
  QLineEdit* edit(int id) { return control<QLineEdit>(id); }
  QString label(int id) { return control<QLabel>(id)->text(); }
  void browse() { control<QPushButton>(CInform::kIdBrowse)->click(); }
  void loadCurrent() { ASSERT_TRUE(page.load(current.diaryPath(), current.weatherPath())); }

  hv6test::TestEnvironment env;
  hv6test::MessageRecorder messages;
  hv6test::ScriptedChooser chooser;
  hv6test::TempDataFolder current;
  CCheckV5App check;
  CInform page{check, 1};
  QList<QStringList> changes_;
};

TEST_F(InformPageTest, LoadShowsTheRowTheFolderAndTheBackupDate) {
  loadCurrent();
  EXPECT_EQ(edit(CInform::kIdCompany)->text(), QStringLiteral("北上農園"));
  EXPECT_EQ(edit(CInform::kIdPresident)->text(), QStringLiteral("岩手太郎"));
  EXPECT_EQ(edit(CInform::kIdGroupName)->text(), QStringLiteral("北上農協"));
  EXPECT_TRUE(edit(CInform::kIdGroupName)->isEnabled());
  EXPECT_EQ(label(CInform::kIdLastBackup), QStringLiteral("令和5年6月1日"));
  EXPECT_EQ(control<QLabel>(CInform::kIdFolder)->toolTip(), current.folder());
  EXPECT_EQ(page.diaryPath(), current.diaryPath());
  EXPECT_EQ(page.weatherPath(), current.weatherPath());
  EXPECT_TRUE(messages.empty());
}

TEST_F(InformPageTest, GroupNameIsDisabledAndEmptyBelowVersion60500) {
  setInformation(current.diary(), "Dataversion", QStringLiteral("6.04.99"));
  loadCurrent();
  EXPECT_EQ(edit(CInform::kIdGroupName)->text(), QString());
  EXPECT_FALSE(edit(CInform::kIdGroupName)->isEnabled());
  EXPECT_FALSE(control<QLabel>(CInform::kIdGroupNameLabel)->isEnabled());
}

TEST_F(InformPageTest, BlankPresidentShows1507AndNothingIsWritten) {
  loadCurrent();
  page.show();
  edit(CInform::kIdCompany)->setText(QStringLiteral("南農園"));
  edit(CInform::kIdPresident)->setText(QStringLiteral("　　"));
  edit(CInform::kIdCompany)->setFocus();

  EXPECT_FALSE(page.checkPresident());
  EXPECT_EQ(messages.numbers(), QList<long>{1507});
  EXPECT_EQ(page.focusWidget(), edit(CInform::kIdPresident));

  edit(CInform::kIdCompany)->setFocus();
  EXPECT_FALSE(page.writeInformation());
  EXPECT_EQ(messages.numbers(), (QList<long>{1507, 1507}));
  EXPECT_EQ(page.focusWidget(), edit(CInform::kIdPresident));
  EXPECT_EQ(information(current.diary(), "Company"), QStringLiteral("北上農園"));
}

TEST_F(InformPageTest, WritesTheEditedTexts) {
  loadCurrent();
  edit(CInform::kIdPresident)->setText(QStringLiteral("岩手花子"));
  edit(CInform::kIdTelNo)->setText(QStringLiteral("0197-00-1111"));
  EXPECT_TRUE(page.checkPresident());
  EXPECT_TRUE(page.writeInformation());
  EXPECT_EQ(information(current.diary(), "President"), QStringLiteral("岩手花子"));
  EXPECT_EQ(information(current.diary(), "TelNo"), QStringLiteral("0197-00-1111"));
  EXPECT_EQ(page.texts().company, QStringLiteral("北上農園"));
  EXPECT_TRUE(messages.empty());
}

TEST_F(InformPageTest, BrowseSwitchesToTheChosenFolder) {
  loadCurrent();
  hv6test::TempDataFolder other(SchemaEdition::V60500);
  fill(other, QStringLiteral("南農園"), QStringLiteral("盛岡次郎"));
  recordChanges();
  chooser.answer(other.folder());
  browse();

  ASSERT_EQ(chooser.choices().size(), 1);
  EXPECT_EQ(chooser.choices()[0].title, QStringLiteral("Harvoのデータがあるフォルダを指定してください。"));
  EXPECT_EQ(chooser.choices()[0].startFolder, current.folder());
  ASSERT_TRUE(chooser.lastRating().has_value());
  EXPECT_EQ(chooser.lastRating()->status, hv6::kDiaryFoundStatus);

  EXPECT_EQ(page.diaryPath(), other.diaryPath());
  EXPECT_EQ(page.weatherPath(), other.weatherPath());
  EXPECT_EQ(edit(CInform::kIdCompany)->text(), QStringLiteral("南農園"));
  EXPECT_EQ(edit(CInform::kIdGroupName)->text(), QString());
  EXPECT_EQ(label(CInform::kIdLastBackup), QString());
  EXPECT_EQ(control<QLabel>(CInform::kIdFolder)->toolTip(), other.folder());
  EXPECT_EQ(changes(), (QList<QStringList>{{other.diaryPath(), other.weatherPath()}}));

  // The new folder is now the current one.
  chooser.answer(other.folder());
  browse();
  EXPECT_EQ(chooser.refused(), 1);
  EXPECT_EQ(chooser.lastRating()->status, hv6::kSameFolderStatus);
  EXPECT_TRUE(messages.empty());
}

TEST_F(InformPageTest, TheCurrentFolderCannotBeChosenAgain) {
  loadCurrent();
  recordChanges();
  chooser.answer(current.folder().toUpper());
  browse();
  EXPECT_EQ(chooser.refused(), 1);
  ASSERT_TRUE(chooser.lastRating().has_value());
  EXPECT_FALSE(chooser.lastRating()->acceptable);
  EXPECT_EQ(chooser.lastRating()->status, hv6::kSameFolderStatus);
  EXPECT_TRUE(changes().isEmpty());
  EXPECT_EQ(page.diaryPath(), current.diaryPath());
}

TEST_F(InformPageTest, AFolderWithoutDataCannotBeChosen) {
  loadCurrent();
  const QString empty = env.path(QStringLiteral("empty"));
  ASSERT_TRUE(QDir().mkpath(empty));
  chooser.answer(empty);
  browse();
  EXPECT_EQ(chooser.refused(), 1);
  EXPECT_EQ(chooser.lastRating()->status, hv6::kDiaryMissingStatus);
  EXPECT_EQ(page.diaryPath(), current.diaryPath());
}

TEST_F(InformPageTest, AnUnreadableDatabaseShowsTheErrorAndNothingChanges) {
  loadCurrent();
  const QString broken = env.path(QStringLiteral("broken"));
  ASSERT_TRUE(QDir().mkpath(broken));
  QFile file(hv6::diaryPathIn(broken));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("this file holds text, not a database, and is long enough to have a header");
  file.close();
  recordChanges();

  chooser.answer(broken);
  browse();
  EXPECT_TRUE(chooser.lastRating()->acceptable);
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_EQ(messages.messages()[0].kind, CErrMsg::kDaoErrKind);
  EXPECT_EQ(messages.messages()[0].number, kJetNotADatabase);
  EXPECT_TRUE(changes().isEmpty());
  EXPECT_EQ(page.diaryPath(), current.diaryPath());
  EXPECT_EQ(edit(CInform::kIdCompany)->text(), QStringLiteral("北上農園"));
}

// A program of the launcher that runs while the test runs.
class RunningLauncherProgram {
 public:
  RunningLauncherProgram() {
    child_.start(QStandardPaths::findExecutable(QStringLiteral("sleep")), {QStringLiteral("600")});
    child_.waitForStarted();
  }
  ~RunningLauncherProgram() {
    child_.kill();
    child_.waitForFinished();
  }
  bool running() const { return child_.state() == QProcess::Running; }
  QString exe() const { return child_.program(); }

 private:
  QProcess child_;
};

TEST_F(InformPageTest, RunningProgramsShow1003AndNoChooser) {
  RunningLauncherProgram program;
  ASSERT_TRUE(program.running());
  CCheckV5App busy({{QStringLiteral("作業日誌入力"), program.exe()}});
  CInform busyPage(busy, 1);
  ASSERT_TRUE(busyPage.load(current.diaryPath(), current.weatherPath()));
  chooser.answer(env.root());
  busyPage.findChild<QPushButton*>(QString::number(CInform::kIdBrowse))->click();

  EXPECT_TRUE(chooser.choices().isEmpty());
  ASSERT_EQ(messages.numbers(), QList<long>{1003});
  EXPECT_TRUE(messages.messages()[0].text.endsWith(QStringLiteral("\n    作業日誌入力")))
      << messages.messages()[0].text.toStdString();
  EXPECT_EQ(busyPage.diaryPath(), current.diaryPath());
}

TEST_F(InformPageTest, ALongFolderIsCutToTheWidthOfItsStatic) {
  const QString deep = env.path(QStringLiteral("農園データ/平成十五年から令和五年まで/北上川沿いの畑/予備のフォルダ"));
  ASSERT_TRUE(QDir().mkpath(deep));
  ASSERT_TRUE(QFile::copy(current.diaryPath(), hv6::diaryPathIn(deep)));
  ASSERT_TRUE(page.load(hv6::diaryPathIn(deep), hv6::weatherPathIn(deep)));
  page.resize(440, 300);
  page.show();

  auto* folder = control<QLabel>(CInform::kIdFolder);
  EXPECT_TRUE(folder->text().endsWith(QStringLiteral("...")));
  EXPECT_TRUE(deep.startsWith(folder->text().chopped(3)));
  EXPECT_LE(folder->fontMetrics().horizontalAdvance(folder->text()), folder->contentsRect().width());

  page.resize(1600, 300);
  EXPECT_EQ(folder->text(), deep);
}

}  // namespace
