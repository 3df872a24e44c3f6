// Applying a pack: the dialog, the unattended program, the pack-building
// script, and failures at any step leaving the program folder wholly old.
#include "tests/updater/updater_fixture.h"
#include "updater/replacement.h"
#include "updater/ui/servicepackdlg.h"
#include "updater/unattended.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace {

using hv6::MsgAnswer;
using hv6::updater::Outcome;
namespace up = hv6::updater;
namespace fileio = hv6::fileio;

const QString kFailed = QStringLiteral("ファイルの更新に失敗しました");
const QString kFinished = QStringLiteral("終了しました。");
const QString kConfirm = QStringLiteral("Harvo V6 Plusのプログラムを更新します。\n\nよろしいですか？");

// File operations of which one step fails or reads wrong.
class FailingOps final : public up::FileOps {
 public:
  std::function<bool(const QString&)> failWrite = [](const QString&) { return false; };
  std::function<bool(const QString&, const QString&)> failRename =
      [](const QString&, const QString&) { return false; };
  std::function<bool(const QString&)> corruptRead = [](const QString&) { return false; };

  fileio::ReadResult read(const QString& path) override {
    fileio::ReadResult result = FileOps::read(path);
    if (corruptRead(path)) result.bytes[0] = char(result.bytes[0] ^ 1);
    return result;
  }
  fileio::WriteResult writeNew(const QString& path, const QByteArray& bytes, int mode) override {
    if (failWrite(path)) return {false, QStringLiteral("No space left on device")};
    return FileOps::writeNew(path, bytes, mode);
  }
  fileio::WriteResult rename(const QString& from, const QString& to) override {
    if (failRename(from, to)) return {false, QStringLiteral("cannot rename ") + from};
    return FileOps::rename(from, to);
  }
};

class ApplyTest : public hv6test::UpdaterTest {
 protected:
  // The program folder as the five-file pack leaves it.
  QMap<QString, QByteArray> updatedPicture(const QMap<QString, QByteArray>& before,
                                           const QStringList& names) {
    QMap<QString, QByteArray> after = before;
    for (const QString& name : names) after.insert(name, "new " + name.toUtf8());
    return after;
  }

  // Applies the pack in-process, as the unattended run does.
  Outcome apply(up::FileOps* ops = nullptr) {
    up::ServicePack servicePack(store, pack, ops);
    if (!servicePack.checkAndTell()) return Outcome::Ready;
    return servicePack.applyAndTell(false);
  }

  QString lastText() const {
    return messages.messages().isEmpty() ? QString() : messages.messages().last().text;
  }
};

// Finds the visible dialog once its loop runs and acts on it.
void whenShown(std::function<void(CServicePackDlg*)> act) {
  QTimer::singleShot(0, [act] {
    for (QWidget* window : QApplication::topLevelWidgets())
      if (auto* dialog = qobject_cast<CServicePackDlg*>(window); dialog && dialog->isVisible())
        return act(dialog);
  });
}

QPushButton* button(QWidget* dialog, int id) {
  return dialog->findChild<QPushButton*>(QString::number(id));
}

TEST_F(ApplyTest, TheDialogShowsItsTitleTextIconAndButtons) {
  fivePack();
  up::ServicePack servicePack(store, pack);
  CServicePackDlg dialog(servicePack);
  EXPECT_EQ(dialog.objectName(), QStringLiteral("102"));
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Harvo V6 Plus\u3000サービスパック"));
  const auto* text = dialog.findChild<QLabel*>(QStringLiteral("text"));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->text(), QStringLiteral("Harvo V6 Plusのプログラムを最新の状態に更新します。"));
  const auto* icon = dialog.findChild<QLabel*>(QStringLiteral("icon"));
  ASSERT_NE(icon, nullptr);
  EXPECT_FALSE(icon->pixmap().isNull());
  EXPECT_FALSE(dialog.windowIcon().isNull());
  ASSERT_NE(button(&dialog, 1), nullptr);
  ASSERT_NE(button(&dialog, 2), nullptr);
  EXPECT_EQ(button(&dialog, 1)->text(), QStringLiteral("実行"));
  EXPECT_EQ(button(&dialog, 2)->text(), QStringLiteral("ｷｬﾝｾﾙ"));
}

// OK asks first; the files change only after the user agrees.
TEST_F(ApplyTest, TheDialogAsksThenReplacesAndEnds) {
  const QStringList names = fivePack();
  const auto before = hv6test::folderPicture(program);
  up::ServicePack servicePack(store, pack);
  CServicePackDlg dialog(servicePack);
  bool stayedOpen = false;
  whenShown([&](CServicePackDlg* shown) {
    messages.answer(MsgAnswer::Cancel);
    button(shown, 1)->click();
    stayedOpen = shown->isVisible() && hv6test::folderPicture(program) == before;
    button(shown, 1)->click();  // answered Ok
  });
  EXPECT_EQ(dialog.DoModal(), QDialog::Accepted);
  EXPECT_TRUE(stayedOpen);
  ASSERT_EQ(messages.messages().size(), 3);
  const hv6::MessageRequest& question = messages.messages().at(0);
  EXPECT_EQ(question.text, kConfirm);
  EXPECT_EQ(question.caption, QStringLiteral("確認"));
  EXPECT_EQ(question.buttons, hv6::MsgButtons::OkCancel);  // type 33
  EXPECT_EQ(question.icon, hv6::MsgIcon::Question);
  const hv6::MessageRequest& done = messages.messages().at(2);
  EXPECT_EQ(done.text, kFinished);
  EXPECT_EQ(done.caption, QStringLiteral("確認"));
  EXPECT_EQ(done.icon, hv6::MsgIcon::Information);
  EXPECT_EQ(hv6test::folderPicture(program), updatedPicture(before, names));
}

TEST_F(ApplyTest, CancelEndsTheDialogWithoutChanges) {
  fivePack();
  const auto before = hv6test::folderPicture(env.root());
  up::ServicePack servicePack(store, pack);
  CServicePackDlg dialog(servicePack);
  whenShown([](CServicePackDlg* shown) { button(shown, 2)->click(); });
  EXPECT_EQ(dialog.DoModal(), QDialog::Rejected);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(hv6test::folderPicture(env.root()), before);
}

// A failed copy keeps the dialog open with the folder as it was; once the
// cause is gone, "実行" again applies the whole pack.
TEST_F(ApplyTest, AfterAFailedCopyTheDialogStaysAndCanTryAgain) {
  const QStringList names = fivePack();
  QFile::remove(program + QStringLiteral("wxfetch.ini"));
  put(program, QStringLiteral("wxfetch.ini/in-the-way"), "a folder where the third file goes");
  const auto before = hv6test::folderPicture(program);

  up::ServicePack servicePack(store, pack);
  CServicePackDlg dialog(servicePack);
  ASSERT_TRUE(dialog.OnInitDialog());
  dialog.show();
  button(&dialog, 1)->click();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.outcome(), Outcome::CopyFailed);
  EXPECT_TRUE(lastText().startsWith(kFailed + QStringLiteral("\n\nwxfetch.ini")))
      << lastText().toStdString();
  EXPECT_EQ(messages.messages().last().caption, QStringLiteral("エラー"));
  EXPECT_EQ(hv6test::folderPicture(program), before);

  ASSERT_TRUE(QDir(program + QStringLiteral("wxfetch.ini")).removeRecursively());
  button(&dialog, 1)->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(lastText(), kFinished);
  auto expected = updatedPicture(before, names);
  expected.remove(QStringLiteral("wxfetch.ini/"));
  expected.remove(QStringLiteral("wxfetch.ini/in-the-way"));
  EXPECT_EQ(hv6test::folderPicture(program), expected);
}

// The new files in place, the others untouched, nothing left beside them;
// a second run changes nothing more.
TEST_F(ApplyTest, APackAppliedTwiceByTheProgram) {
  const QStringList names = fivePack();
  ASSERT_TRUE(QFile::setPermissions(program + QStringLiteral("hv6"),
                                    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                        QFile::ReadGroup | QFile::ExeGroup));
  ASSERT_TRUE(QFile::setPermissions(pack + QStringLiteral("dialnt6.so"),
                                    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
  const auto expected = updatedPicture(hv6test::folderPicture(program), names);

  const hv6test::ProgramRun first = runProgram();
  EXPECT_EQ(first.status, up::kExitApplied) << first.errors.toStdString();
  EXPECT_TRUE(first.errors.contains(kFinished)) << first.errors.toStdString();
  EXPECT_EQ(hv6test::folderPicture(program), expected) << hv6test::namesOf(hv6test::folderPicture(program));
  // A replaced file keeps its permissions; a new one takes the pack's.
  EXPECT_EQ(fileio::permissionBits(program + QStringLiteral("hv6")), 0750);
  EXPECT_EQ(fileio::permissionBits(program + QStringLiteral("dialnt6.so")), 0700);

  const hv6test::ProgramRun second = runProgram();
  EXPECT_EQ(second.status, up::kExitApplied) << second.errors.toStdString();
  EXPECT_EQ(hv6test::folderPicture(program), expected);
}

TEST_F(ApplyTest, WithoutAnInstalledVersionThePackIsApplied) {
  const QStringList names = fivePack();
  store.deleteValue(hv6::settingsRootOf(QString()) + QStringLiteral("HRV6"), QStringLiteral("Version"));
  const auto expected = updatedPicture(hv6test::folderPicture(program), names);
  EXPECT_EQ(runProgram().status, up::kExitApplied);
  EXPECT_EQ(hv6test::folderPicture(program), expected);
}

// The settings key CurrentKEY names holds the program folder.
TEST_F(ApplyTest, TheSettingsKeyInUseNamesTheProgramFolder) {
  const QStringList names = fivePack();
  const QString hv6Key = program;
  program = env.path(QStringLiteral("farm2-program")) + u'/';
  put(program, QStringLiteral("hv6"), "old hv6");
  put(program, QStringLiteral("hv6.chm/10000.html"), "old page");
  installSettings(QStringLiteral("farm2"), QStringLiteral("6.05.00"));
  const auto untouched = hv6test::folderPicture(hv6Key);
  EXPECT_EQ(apply(), Outcome::Applied) << lastText().toStdString();
  EXPECT_EQ(contentOf(program + QStringLiteral("hv6")), QByteArray("new hv6"));
  EXPECT_EQ(hv6test::folderPicture(hv6Key), untouched);
}

// The third of five files cannot be replaced (a folder of its name, or its
// subfolder missing): the first two stay as they were, by the program.
TEST_F(ApplyTest, ACopyFailingAtTheThirdOfFiveChangesNothing) {
  for (const bool missingSubfolder : {false, true}) {
    SCOPED_TRACE(missingSubfolder ? "missing subfolder" : "a folder in the way");
    for (const QString& folder : {pack, program}) {
      QDir(folder).removeRecursively();
      QDir().mkpath(folder);
    }
    QStringList names = fivePack();
    if (missingSubfolder) {
      names[2] = QStringLiteral("pform/Chohyo.ini");
      put(pack, names[2], "new pform/Chohyo.ini");
      writeFileList(QStringLiteral("6.05.00"), QStringLiteral("6.05.01"), names);
    } else {
      QFile::remove(program + QStringLiteral("wxfetch.ini"));
      put(program, QStringLiteral("wxfetch.ini/kept.txt"), "in the way");
    }
    const auto before = hv6test::folderPicture(program);
    const hv6test::ProgramRun run = runProgram();
    EXPECT_EQ(run.status, up::kExitCopyFailed) << run.errors.toStdString();
    EXPECT_TRUE(run.errors.contains(kFailed + QStringLiteral("\n\n") + names[2]))
        << run.errors.toStdString();
    EXPECT_EQ(hv6test::folderPicture(program), before)
        << hv6test::namesOf(hv6test::folderPicture(program));
  }
}

// Failures the file system gives rarely, made to happen at the third of
// five files: a full disk while staging, a copy that reads back wrong, and
// a rename after the first two files were replaced. Each leaves the folder
// exactly as it was.
TEST_F(ApplyTest, AFailureAtAnyStepPutsEveryOldFileBack) {
  const QStringList names = fivePack();
  const QString third = program + names[2];
  const auto before = hv6test::folderPicture(program);

  FailingOps fullDisk;
  fullDisk.failWrite = [&](const QString& path) { return path.startsWith(third); };
  FailingOps wrongCopy;
  wrongCopy.corruptRead = [&](const QString& path) { return path == third + up::kStagingSuffix; };
  FailingOps renameRefused;
  renameRefused.failRename = [&](const QString& from, const QString&) {
    return from == third + up::kStagingSuffix;
  };
  FailingOps backupRefused;  // the old third file cannot be moved aside
  backupRefused.failRename = [&](const QString& from, const QString& to) {
    return from == third && to == third + up::kBackupSuffix;
  };
  int n = 0;
  for (FailingOps* ops : {&fullDisk, &wrongCopy, &renameRefused, &backupRefused}) {
    SCOPED_TRACE(++n);
    messages.clear();
    EXPECT_EQ(apply(ops), Outcome::CopyFailed);
    EXPECT_TRUE(lastText().startsWith(kFailed + QStringLiteral("\n\n") + names[2]))
        << lastText().toStdString();
    EXPECT_EQ(hv6test::folderPicture(program), before)
        << hv6test::namesOf(hv6test::folderPicture(program));
  }
}

// When an old file cannot be put back it stays under its backup name, and
// the message says which.
TEST_F(ApplyTest, AnOldFileThatCannotBePutBackIsNamed) {
  const QStringList names = fivePack();
  const QString first = program + names[0];
  const QString third = program + names[2];
  FailingOps ops;
  ops.failRename = [&](const QString& from, const QString& to) {
    return from == third + up::kStagingSuffix || (from == first + up::kBackupSuffix && to == first);
  };
  EXPECT_EQ(apply(&ops), Outcome::NotRestored);
  EXPECT_EQ(up::exitStatusOf(Outcome::NotRestored), up::kExitNotRestored);
  EXPECT_TRUE(lastText().contains(QStringLiteral("\n") + names[0])) << lastText().toStdString();
  EXPECT_EQ(contentOf(first + up::kBackupSuffix), QByteArray("old hv6"));
  EXPECT_EQ(contentOf(program + names[1]), QByteArray("old hv6.chm/10000.html"));
  EXPECT_EQ(contentOf(third), QByteArray("old wxfetch.ini"));
}

TEST_F(ApplyTest, AReadOnlyTargetIsNotReplaced) {
  const QStringList names = fivePack();
  const QString third = program + names[2];
  ASSERT_TRUE(QFile::setPermissions(third, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
  if (QFileInfo(third).isWritable()) GTEST_SKIP() << "permissions do not bind this user";
  const auto before = hv6test::folderPicture(program);
  EXPECT_EQ(apply(), Outcome::CopyFailed);
  EXPECT_TRUE(lastText().startsWith(kFailed + QStringLiteral("\n\n") + names[2]));
  EXPECT_EQ(hv6test::folderPicture(program), before);
}

// The script the team ships packs with: the files, the list with its count
// and range, hv6patch beside them; and the pack it makes applies.
TEST_F(ApplyTest, APackBuiltByTheScriptApplies) {
  const QString release = env.path(QStringLiteral("release")) + u'/';
  const QStringList names = {QStringLiteral("hv6"), QStringLiteral("hv6.chm/10000.html")};
  for (const QString& name : names) put(release, name, "new " + name.toUtf8());
  ASSERT_TRUE(QFile::copy(hv6test::binaryDir() + QStringLiteral("/updater/hv6patch"),
                          release + QStringLiteral("hv6patch")));
  put(program, QStringLiteral("hv6"), "old hv6");
  put(program, QStringLiteral("hv6.chm/99999.html"), "kept page");
  put(release, QStringLiteral("list.txt"), "# the service pack 6.05.01-1\nhv6\n\nhv6.chm/10000.html\n");
  QDir().rmdir(pack);
  pack = env.path(QStringLiteral("sp1")) + u'/';

  QProcess script;
  script.start(QStringLiteral("bash"),
               {QStringLiteral(HV6_SOURCE_DIR "/scripts/make-servicepack.sh"), QStringLiteral("--from"),
                release, QStringLiteral("--min"), QStringLiteral("6.05.00"), QStringLiteral("--max"),
                QStringLiteral("6.05.01"), QStringLiteral("--out"), pack, QStringLiteral("--list"),
                release + QStringLiteral("list.txt")});
  ASSERT_TRUE(script.waitForFinished(60000));
  ASSERT_EQ(script.exitCode(), 0) << script.readAllStandardError().toStdString();
  const up::FileList list = up::readFileList(pack);
  EXPECT_EQ(list.minVersion, QStringLiteral("6.05.00"));
  EXPECT_EQ(list.maxVersion, QStringLiteral("6.05.01"));
  EXPECT_EQ(list.fileCount, 2);
  EXPECT_EQ(list.names, names);
  EXPECT_TRUE(QFileInfo(pack + QStringLiteral("hv6patch")).isExecutable());

  const hv6test::ProgramRun run = runProgram();
  EXPECT_EQ(run.status, up::kExitApplied) << run.errors.toStdString();
  for (const QString& name : names) EXPECT_EQ(contentOf(program + name), "new " + name.toUtf8());

  // A name that leaves the folder makes no pack.
  QProcess refused;
  refused.start(QStringLiteral("bash"),
                {QStringLiteral(HV6_SOURCE_DIR "/scripts/make-servicepack.sh"), QStringLiteral("--from"),
                 release, QStringLiteral("--min"), QStringLiteral("6.05.00"), QStringLiteral("--max"),
                 QStringLiteral("6.05.01"), QStringLiteral("--out"), env.path(QStringLiteral("sp2")),
                 QStringLiteral("../registry.reg")});
  ASSERT_TRUE(refused.waitForFinished(60000));
  EXPECT_NE(refused.exitCode(), 0);
  EXPECT_FALSE(QFileInfo::exists(env.path(QStringLiteral("sp2"))));
}

TEST_F(ApplyTest, AWrongCommandLineDoesNothing) {
  fivePack();
  runProgram({QStringLiteral("--help")});
  const auto before = hv6test::folderPicture(env.root());
  const hv6test::ProgramRun run = runProgram({QStringLiteral("--unatended")});
  EXPECT_EQ(run.status, up::kExitUsage);
  EXPECT_TRUE(run.errors.contains(QStringLiteral("usage: hv6patch")));
  EXPECT_EQ(hv6test::folderPicture(env.root()), before);
}

}  // namespace
