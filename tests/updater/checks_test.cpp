// The checks before a pack is offered, each through the dialog and through
// `hv6patch --unattended` as its own process: the message, its caption and
// icon, the exit status, and a program folder left exactly as it was.
#include "platform/lockfile.h"
#include "shell/instanceguard.h"
#include "shell/startup.h"
#include "tests/updater/updater_fixture.h"
#include "updater/ui/servicepackdlg.h"
#include "updater/unattended.h"

#include <QTimer>

#include <functional>
#include <ostream>
#include <memory>

namespace {

using hv6::MsgIcon;
using hv6::updater::Outcome;
namespace up = hv6::updater;

class CheckTest;

struct CheckCase {
  const char* name;
  std::function<void(CheckTest&)> arrange;
  Outcome outcome;
  QString text;
  int exitStatus;
};

void PrintTo(const CheckCase& c, std::ostream* out) { *out << c.name; }

class CheckTest : public hv6test::UpdaterTest, public ::testing::WithParamInterface<CheckCase> {
 public:
  // hv6 runs: its guards taken as hv6 takes them at start.
  std::unique_ptr<hv6::InstanceGuard> hv6Guard;
  // Another user's hv6 holds the machine-wide guard only.
  hv6::NamedLock otherUsersGuard;

  // A pack of two files that passes every check.
  void goodPack() {
    put(pack, QStringLiteral("hv6"), "new program");
    put(pack, QStringLiteral("hv6.chm/10000.html"), "new page");
    writeFileList(QStringLiteral("6.05.00"), QStringLiteral("6.05.01"),
                  {QStringLiteral("hv6"), QStringLiteral("hv6.chm\\10000.html")});
  }

  void SetUp() override {
    UpdaterTest::SetUp();
    put(program, QStringLiteral("hv6"), "old program");
    put(program, QStringLiteral("SELSYS.SL2"), "kept");
    put(env.root() + u'/', QStringLiteral("outside.txt"), "beside the program folder");
    GetParam().arrange(*this);
  }

  void expectTheMessage(const hv6::MessageRequest& shown) {
    const CheckCase& c = GetParam();
    EXPECT_EQ(shown.text, c.text);
    const bool notice = c.outcome == Outcome::NewerInstalled;
    EXPECT_EQ(shown.caption, notice ? QStringLiteral("確認") : QStringLiteral("エラー"));
    EXPECT_EQ(shown.icon, notice ? MsgIcon::Information : MsgIcon::Warning);  // 64 or 48
    EXPECT_EQ(shown.buttons, hv6::MsgButtons::Ok);
  }
};

TEST_P(CheckTest, ThroughTheDialog) {
  const auto before = hv6test::folderPicture(env.root());
  up::ServicePack servicePack(store, pack);
  CServicePackDlg dialog(servicePack);
  bool shown = false;
  QTimer::singleShot(0, &dialog, [&] {  // a check that let the pack through
    shown = dialog.isVisible();
    dialog.reject();
  });
  EXPECT_EQ(dialog.DoModal(), QDialog::Rejected);
  EXPECT_FALSE(shown);  // it ended before it was shown
  EXPECT_EQ(dialog.outcome(), GetParam().outcome);
  ASSERT_EQ(messages.messages().size(), 1);
  expectTheMessage(messages.messages().front());
  EXPECT_EQ(hv6test::folderPicture(env.root()), before);
}

TEST_P(CheckTest, ThroughTheUnattendedProgram) {
  runProgram({QStringLiteral("--help")});  // places hv6patch in the pack
  const auto before = hv6test::folderPicture(env.root());
  const hv6test::ProgramRun run = runProgram();
  EXPECT_EQ(run.status, GetParam().exitStatus) << run.errors.toStdString();
  EXPECT_TRUE(run.errors.contains(GetParam().text)) << run.errors.toStdString();
  EXPECT_EQ(hv6test::folderPicture(env.root()), before);
}

QString outOfRange(const QString& range) {
  return QStringLiteral(
             "Harvoのバージョンが本サービスパックの適用範囲外です。\n本サービスパックはHarvo%1適用"
             "できます。\n\n処理を中断します。")
      .arg(range);
}

const QString kRunning =
    QStringLiteral("Harvoが起動中です。\nHarvoの終了後に再度サービスパックを実行してください。\n");
const QString kNoList = QStringLiteral("更新ファイルの取得に失敗しました。\n\n処理を中断します。");
const QString kIncomplete = QStringLiteral(
    "サービスパックの実行に必要なファイルが不足しているか内容に不備があります。\n\n処理を中断します"
    "。");
const QString kNoInstall =
    QStringLiteral("HarvoV6プラスのインストール先を取得できません。\n\n処理を中断します。");
const QString kNewer = QStringLiteral(
    "本サービスパックよりも新しいHarvoがインストールされています。\nサービスパックを適用する必要はあ"
    "りません。");

void rangeAndVersion(CheckTest& t, const char* min, const char* max, const char* installed) {
  t.goodPack();
  t.writeFileList(QString::fromLatin1(min), QString::fromLatin1(max),
                  {QStringLiteral("hv6"), QStringLiteral("hv6.chm/10000.html")});
  t.setVersion(QString::fromLatin1(installed));
}

const CheckCase kCases[] = {
    {"Hv6RunningWithABrokenList",
     [](CheckTest& t) {
       t.writeFileList("[FileList]\nFileCount=9\n");  // and no files at all
       t.hv6Guard = std::make_unique<hv6::InstanceGuard>(hv6::kAppTitle);
       ASSERT_EQ(t.hv6Guard->acquire(), hv6::InstanceGuard::Outcome::First);
     },
     Outcome::Hv6Running, kRunning, up::kExitHv6Running},
    {"Hv6OfAnotherUserRunning",
     [](CheckTest& t) {
       t.goodPack();
       ASSERT_TRUE(t.otherUsersGuard.acquire(hv6::kMachineGuardName, hv6::LockScope::Machine));
     },
     Outcome::Hv6Running, kRunning, up::kExitHv6Running},
    {"NoFileList", [](CheckTest&) {}, Outcome::NoFileList, kNoList, up::kExitNoFileList},
    {"EmptyFileList", [](CheckTest& t) { t.writeFileList(QByteArray()); }, Outcome::NoFileList,
     kNoList, up::kExitNoFileList},
    {"FileCountZero",
     [](CheckTest& t) {
       t.goodPack();
       t.writeFileList(QStringLiteral("6.05.00"), QStringLiteral("6.05.01"),
                       {QStringLiteral("hv6")}, QStringLiteral("0"));
     },
     Outcome::NoFileList, kNoList, up::kExitNoFileList},
    {"FileCountNotANumber",
     [](CheckTest& t) {
       t.goodPack();
       t.writeFileList(QStringLiteral("6.05.00"), QStringLiteral("6.05.01"),
                       {QStringLiteral("hv6")}, QStringLiteral("one"));
     },
     Outcome::NoFileList, kNoList, up::kExitNoFileList},
    {"FileCountLargerThanTheNames",
     [](CheckTest& t) {
       t.goodPack();
       t.writeFileList(QStringLiteral("6.05.00"), QStringLiteral("6.05.01"),
                       {QStringLiteral("hv6"), QStringLiteral("hv6.chm/10000.html")},
                       QStringLiteral("3"));
     },
     Outcome::IncompletePack, kIncomplete, up::kExitIncompletePack},
    {"ListedFileMissing",
     [](CheckTest& t) {
       t.goodPack();
       QFile::remove(t.pack + QStringLiteral("hv6.chm/10000.html"));
     },
     Outcome::IncompletePack, kIncomplete, up::kExitIncompletePack},
    {"NameClimbingOutOfTheFolder",
     [](CheckTest& t) {
       t.goodPack();
       t.put(t.pack, QStringLiteral("../pack-outside.txt"), "escapes");  // it exists
       t.writeFileList(QStringLiteral("6.05.00"), QStringLiteral("6.05.01"),
                       {QStringLiteral("hv6"), QStringLiteral("../pack-outside.txt")});
     },
     Outcome::IncompletePack, kIncomplete, up::kExitIncompletePack},
    {"NameClimbingOutWithBackslashes",
     [](CheckTest& t) {
       t.goodPack();
       t.put(t.pack, QStringLiteral("sub/x"), "x");
       t.writeFileList(QStringLiteral("6.05.00"), QStringLiteral("6.05.01"),
                       {QStringLiteral("sub\\..\\..\\outside.txt")});
     },
     Outcome::IncompletePack, kIncomplete, up::kExitIncompletePack},
    {"AbsoluteName",
     [](CheckTest& t) {
       t.goodPack();
       t.writeFileList(QStringLiteral("6.05.00"), QStringLiteral("6.05.01"),
                       {t.pack + QStringLiteral("hv6")});
     },
     Outcome::IncompletePack, kIncomplete, up::kExitIncompletePack},
    {"NoInstallPath",
     [](CheckTest& t) {
       t.goodPack();
       t.store.deleteValue(hv6::settingsRootOf(QString()) + QStringLiteral("Environment"),
                           QStringLiteral("InstallPath"));
     },
     Outcome::NoInstallFolder, kNoInstall, up::kExitNoInstallFolder},
    {"EmptyInstallPath",
     [](CheckTest& t) {
       t.goodPack();
       t.store.writeString(hv6::settingsRootOf(QString()) + QStringLiteral("Environment"),
                           QStringLiteral("InstallPath"), QString());
     },
     Outcome::NoInstallFolder, kNoInstall, up::kExitNoInstallFolder},
    {"CurrentKeyANumber",
     [](CheckTest& t) {
       t.goodPack();
       t.store.writeDword(hv6::kSettingsBaseKey, hv6::kCurrentKeyValue, 1);
     },
     Outcome::NoInstallFolder, kNoInstall, up::kExitNoInstallFolder},
    {"BelowTheOnlyVersion",
     [](CheckTest& t) { rangeAndVersion(t, "6.05.00", "6.05.00", "6.04.10"); },
     Outcome::OutOfRange, outOfRange(QStringLiteral(" ver6.05.00 にのみ")), up::kExitOutOfRange},
    {"BelowTheRange",
     [](CheckTest& t) { rangeAndVersion(t, "6.05.00", "6.05.09", "6.04.10"); },
     Outcome::OutOfRange, outOfRange(QStringLiteral(" ver6.05.00 ～ ver6.05.09 に")),
     up::kExitOutOfRange},
    {"AboveTheRange",
     [](CheckTest& t) { rangeAndVersion(t, "6.05.00", "6.05.01", "6.05.02"); },
     Outcome::NewerInstalled, kNewer, up::kExitNewerInstalled},
    {"TenIsAboveNine",  // as text, 6.10.00 sorted below 6.9.00 and was overwritten
     [](CheckTest& t) { rangeAndVersion(t, "6.0.00", "6.9.00", "6.10.00"); },
     Outcome::NewerInstalled, kNewer, up::kExitNewerInstalled},
    {"TextVersionsCompareAsText",
     [](CheckTest& t) { rangeAndVersion(t, "6.05.00", "6.05.01", "6.05.01b"); },
     Outcome::NewerInstalled, kNewer, up::kExitNewerInstalled},
    {"EmptyRangeAsText",  // no MaxVersion: every installed version is above it
     [](CheckTest& t) { rangeAndVersion(t, "", "", "6.05.01"); },
     Outcome::NewerInstalled, kNewer, up::kExitNewerInstalled},
};

INSTANTIATE_TEST_SUITE_P(Updater, CheckTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<CheckCase>& param) {
                           return std::string(param.param.name);
                         });

}  // namespace
