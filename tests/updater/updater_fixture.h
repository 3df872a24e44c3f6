#pragma once
// A service pack and an installed program folder in a temporary folder,
// the settings hv6-install writes, and a byte-for-byte picture of a folder
// to compare before and after.

#include "outside/vqbase106/settingsroot.h"
#include "platform/registry.h"
#include "tests/support/message_recorder.h"
#include "tests/support/test_env.h"
#include "updater/servicepack.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

namespace hv6test {

// Every file below a folder with its bytes, and every folder, by relative
// path.
inline QMap<QString, QByteArray> folderPicture(const QString& folder) {
  QMap<QString, QByteArray> picture;
  const QDir root(folder);
  QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QFileInfo info(it.next());
    const QString relative = root.relativeFilePath(info.filePath());
    if (info.isDir()) {
      picture.insert(relative + u'/', QByteArray());
      continue;
    }
    QFile file(info.filePath());
    picture.insert(relative, file.open(QIODevice::ReadOnly) ? file.readAll() : "(unreadable)");
  }
  return picture;
}

// The names of a picture, for a readable failure message.
inline std::string namesOf(const QMap<QString, QByteArray>& picture) {
  return picture.keys().join(u' ').toStdString();
}

struct ProgramRun {
  int status = -1;
  QString errors;  // standard error
};

// Members are public: the check cases arrange the pack through them.
class UpdaterTest : public ::testing::Test {
 public:
  TestEnvironment env;
  hv6::RegistryStore store{env.registryFile()};
  MessageRecorder messages;
  QString pack = env.path(QStringLiteral("pack")) + u'/';
  QString program = env.path(QStringLiteral("program")) + u'/';

  void SetUp() override {
    QDir().mkpath(pack);
    QDir().mkpath(program);
    installSettings(QString());
  }

  // The settings hv6-install writes, below the root a key name gives.
  void installSettings(const QString& keyName, const QString& version = QStringLiteral("6.05.01")) {
    const QString root = hv6::settingsRootOf(keyName);
    ASSERT_EQ(store.createKey(root + QStringLiteral("Environment")), hv6::RegStatus::Ok);
    ASSERT_EQ(store.createKey(root + QStringLiteral("HRV6")), hv6::RegStatus::Ok);
    ASSERT_EQ(store.writeString(hv6::kSettingsBaseKey, hv6::kCurrentKeyValue, keyName),
              hv6::RegStatus::Ok);
    QString folder = program;
    folder.chop(1);  // hv6-install writes the folder without a separator
    ASSERT_EQ(store.writeString(root + QStringLiteral("Environment"), QStringLiteral("InstallPath"),
                                folder),
              hv6::RegStatus::Ok);
    ASSERT_EQ(store.writeString(root + QStringLiteral("HRV6"), QStringLiteral("Version"), version),
              hv6::RegStatus::Ok);
  }

  void setVersion(const QString& version) {
    ASSERT_EQ(store.writeString(hv6::settingsRootOf(QString()) + QStringLiteral("HRV6"),
                                QStringLiteral("Version"), version),
              hv6::RegStatus::Ok);
  }

  // FileList.dat as text.
  void writeFileList(const QByteArray& text) { put(pack, QStringLiteral("FileList.dat"), text); }

  // FileList.dat with the range and the names, FileCount their number
  // unless given.
  void writeFileList(const QString& min, const QString& max, const QStringList& names,
                     const QString& count = QString()) {
    QByteArray text = "[FileList]\r\nMinVersion=" + min.toUtf8() + "\r\nMaxVersion=" +
                      max.toUtf8() + "\r\nFileCount=" +
                      (count.isNull() ? QByteArray::number(names.size()) : count.toUtf8()) + "\r\n";
    for (qsizetype i = 0; i < names.size(); ++i)
      text += QStringLiteral("File%1=").arg(i + 1, 2, 10, QLatin1Char('0')).toUtf8() +
              names.at(i).toUtf8() + "\r\n";
    writeFileList(text);
  }

  static void put(const QString& folder, const QString& name, const QByteArray& bytes) {
    const QString path = folder + name;
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(path);
    ASSERT_EQ(file.write(bytes), bytes.size());
  }

  static QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
  }

  // A pack of five files (one in a subfolder) for a program folder that
  // holds the old versions of four of them and files the pack leaves alone.
  QStringList fivePack() {
    const QStringList names = {QStringLiteral("hv6"), QStringLiteral("hv6.chm/10000.html"),
                               QStringLiteral("wxfetch.ini"), QStringLiteral("ENV.NB5"),
                               QStringLiteral("dialnt6.so")};
    for (const QString& name : names) put(pack, name, "new " + name.toUtf8());
    for (const QString& name : names.mid(0, 4)) put(program, name, "old " + name.toUtf8());
    put(program, QStringLiteral("SELSYS.SL2"), "kept");
    put(program, QStringLiteral("hv6.chm/99999.html"), "kept page");
    writeFileList(QStringLiteral("6.05.00"), QStringLiteral("6.05.01"), names);
    return names;
  }

  // Runs the built hv6patch from the pack's folder, as it is shipped.
  ProgramRun runProgram(const QStringList& arguments = {QStringLiteral("--unattended")}) {
    const QString updater = pack + QStringLiteral("hv6patch");
    if (!QFileInfo::exists(updater)) {
      EXPECT_TRUE(QFile::copy(binaryDir() + QStringLiteral("/updater/hv6patch"), updater));
    }
    QProcess process;
    process.start(updater, arguments);
    ProgramRun run;
    if (!process.waitForFinished(60000)) {  // only a limit for a hung program
      process.kill();
      return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
  }
};

}  // namespace hv6test
