// The backup and restore as a scheduled job runs them: the built hv6 with
// --backup and --restore, loading savedata6 and loaddata6 from the program
// folder, on the demo farm.
#include "install/demo/demodata.h"
#include "install/settings.h"
#include "platform/dao/dao.h"
#include "shell/backupsettings.h"
#include "tools/backup/backup.h"
#include "store/schema.h"
#include "tests/shell/shell_fixture.h"
#include "tests/tools/backup/dump.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace hv6test {
namespace {

constexpr int kWaitMs = 300000;  // only a limit for a hung program, never a measure

struct ProgramRun {
  int exitCode = -1;
  QString errors;
};

class BackupProgramTest : public InstalledRegistryTest {
 protected:
  void SetUp() override {
    // The settings as the installation writes them, the program folder
    // being the build's (the libraries lie beside hv6 there).
    folder = env.path(QStringLiteral("farm"));
    QString error;
    ASSERT_TRUE(hv6::demo::generateDemoData(folder, {6, 2025}, &error)) << error.toStdString();
    ASSERT_TRUE(hv6::install::writeDefaultSettings(
        store, {env.path(QStringLiteral("prefix")), binaryDir() + QStringLiteral("/shell")}, &error))
        << error.toStdString();
    ASSERT_TRUE(hv6::install::pointSettingsAtData(store, diaryPath(), weatherPath(), true, &error))
        << error.toStdString();
    ASSERT_TRUE(registry.writeDword(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kAccess, 0));
  }

  QString diaryPath() const { return QDir(folder).filePath(hv6::kDiaryFileName); }
  QString weatherPath() const { return QDir(folder).filePath(hv6::kWeatherFileName); }

  static ProgramRun hv6(const QStringList& arguments) {
    QProcess program;
    program.start(binaryDir() + QStringLiteral("/shell/hv6"), arguments);
    if (!program.waitForFinished(kWaitMs)) program.kill();
    return {program.exitCode(), QString::fromUtf8(program.readAllStandardError())};
  }

  // The data folder's files other than the databases, by content.
  QMap<QString, QByteArray> otherFiles() const {
    auto digest = folderDigest(folder);
    digest.remove(hv6::kDiaryFileName);
    digest.remove(hv6::kWeatherFileName);
    return digest;
  }

  QString folder;
};

TEST_F(BackupProgramTest, BackupChangeRestoreGivesTheDataBackAndABadBackupChangesNothing) {
  const QString file = env.path(QStringLiteral("バックアップ/farm.hv6bak"));
  ASSERT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()));
  const ProgramRun backup = hv6({QStringLiteral("--backup"), file});
  ASSERT_EQ(backup.exitCode, 0) << backup.errors.toStdString();
  EXPECT_TRUE(backup.errors.contains(QStringLiteral("[2970]"))) << backup.errors.toStdString();
  EXPECT_EQ(dword(hv6::BackupKeys::kBackup, hv6::BackupKeys::kBackUpDate), std::uint32_t(hv6::backup::today()));
  EXPECT_EQ(dword(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kAccess), 0u);

  const QString diaryDump = dumpDatabase(diaryPath());
  const QString weatherDump = dumpDatabase(weatherPath());
  const auto files = otherFiles();
  ASSERT_GT(files.size(), 20);  // farm-diary pages, photos, the field map

  {
    CDaoDatabase db;
    db.Open(diaryPath());
    db.Execute(QStringLiteral("DELETE FROM WDiary WHERE Code % 3 = 0"));
    db.Execute(QStringLiteral("UPDATE PictureLink SET Title = 'changed'"));
  }
  const QStringList pages = QDir(folder).entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name);
  ASSERT_FALSE(pages.isEmpty());
  QFile::remove(QDir(folder).filePath(pages.first()));
  QFile page(QDir(folder).filePath(pages.last()));
  ASSERT_TRUE(page.open(QIODevice::Append));
  page.write("{\\par changed}");
  page.close();
  ASSERT_NE(dumpDatabase(diaryPath()), diaryDump);

  const ProgramRun restore = hv6({QStringLiteral("--restore"), file});
  ASSERT_EQ(restore.exitCode, 0) << restore.errors.toStdString();
  EXPECT_TRUE(restore.errors.contains(QStringLiteral("[2971]"))) << restore.errors.toStdString();
  EXPECT_EQ(dumpDatabase(diaryPath()), diaryDump);
  EXPECT_EQ(dumpDatabase(weatherPath()), weatherDump);
  EXPECT_EQ(otherFiles(), files);
  EXPECT_EQ(dword(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kAccess), 0u);

  // A corrupted copy of the backup is refused and nothing changes.
  QByteArray bytes;
  {
    QFile good(file);
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    bytes = good.readAll();
  }
  bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x20);
  const QString bad = env.path(QStringLiteral("バックアップ/bad.hv6bak"));
  {
    QFile out(bad);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
  }
  const auto before = folderDigest(folder);
  const ProgramRun refused = hv6({QStringLiteral("--restore"), bad});
  EXPECT_NE(refused.exitCode, 0);
  EXPECT_TRUE(refused.errors.contains(QStringLiteral("[2963]"))) << refused.errors.toStdString();
  EXPECT_EQ(folderDigest(folder), before);
  EXPECT_EQ(dword(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kAccess), 0u);
}

TEST_F(BackupProgramTest, WhileAnotherToolHasTheDataARestoreWaitsAndABackupLeavesTheFlag) {
  const QString file = env.path(QStringLiteral("farm.hv6bak"));
  ASSERT_TRUE(registry.writeDword(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kAccess, 1));
  const ProgramRun backup = hv6({QStringLiteral("--backup"), file});
  EXPECT_EQ(backup.exitCode, 0) << backup.errors.toStdString();
  EXPECT_EQ(dword(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kAccess), 1u);
  const auto before = folderDigest(folder);
  const ProgramRun restore = hv6({QStringLiteral("--restore"), file});
  EXPECT_EQ(restore.exitCode, 5);
  EXPECT_TRUE(restore.errors.contains(QStringLiteral("[2973]"))) << restore.errors.toStdString();
  EXPECT_EQ(folderDigest(folder), before);
  EXPECT_EQ(dword(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kAccess), 1u);
}

TEST_F(BackupProgramTest, ArgumentsWithoutAFileAndAMissingLibraryAreReported) {
  EXPECT_EQ(hv6({QStringLiteral("--backup")}).exitCode, 2);
  EXPECT_EQ(hv6({QStringLiteral("--backup"), QStringLiteral("a"), QStringLiteral("--restore"), QStringLiteral("b")}).exitCode, 2);
  ASSERT_TRUE(registry.writeString(hv6::StartKeys::kEnvironment, hv6::StartKeys::kInstallPath,
                                   env.path(QStringLiteral("empty"))));
  const ProgramRun missing = hv6({QStringLiteral("--restore"), env.path(QStringLiteral("x.hv6bak"))});
  EXPECT_EQ(missing.exitCode, 5);
  EXPECT_TRUE(missing.errors.contains(QStringLiteral("[2907]"))) << missing.errors.toStdString();
  EXPECT_EQ(dword(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kAccess), 0u);
}

TEST_F(BackupProgramTest, ARestoreIsRefusedWhileHv6RunsAndABackupIsNot) {
  const QString file = env.path(QStringLiteral("farm.hv6bak"));
  QProcess running;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  environment.insert(QStringLiteral("HV6_CHECK_WAIT_RAISE"), QStringLiteral("1"));
  running.setProcessEnvironment(environment);
  running.start(binaryDir() + QStringLiteral("/shell/hv6"), {QStringLiteral("--check-start")});
  QString seen;
  while (!seen.contains(QStringLiteral("waiting for a raise request"))) {
    ASSERT_TRUE(running.waitForReadyRead(kWaitMs))
        << seen.toStdString() << running.readAllStandardError().toStdString();
    seen += QString::fromUtf8(running.readAllStandardOutput());
  }
  const ProgramRun backup = hv6({QStringLiteral("--backup"), file});
  EXPECT_EQ(backup.exitCode, 0) << backup.errors.toStdString();
  const auto before = folderDigest(folder);
  const ProgramRun restore = hv6({QStringLiteral("--restore"), file});
  EXPECT_EQ(restore.exitCode, 5);
  EXPECT_TRUE(restore.errors.contains(QStringLiteral("[2973]"))) << restore.errors.toStdString();
  EXPECT_EQ(folderDigest(folder), before);
  // The refused restore asked the running program to come forward; in
  // this check mode that ends it.
  EXPECT_TRUE(running.waitForFinished(kWaitMs));
}

}  // namespace
}  // namespace hv6test
