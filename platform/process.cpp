#include "platform/process.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <unistd.h>

namespace hv6 {
namespace {

constexpr int kKillWaitMs = 5000;

// The program's full path, empty when there is no such executable.
QString locateProgram(const QString& program) {
  if (!program.contains(u'/')) return QStandardPaths::findExecutable(program);
  const QFileInfo info(program);
  return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
}

struct SplitCommand {
  QString program;  // located, empty when missing
  QStringList arguments;
  QString error;
};

SplitCommand splitCommand(const QString& commandText) {
  SplitCommand command;
  QStringList words = QProcess::splitCommand(commandText);
  if (words.isEmpty()) {
    command.error = QStringLiteral("empty command");
    return command;
  }
  const QString name = words.takeFirst();
  command.program = locateProgram(name);
  command.arguments = words;
  if (command.program.isEmpty()) command.error = QStringLiteral("program not found: ") + name;
  return command;
}

// Each process is a folder named by its id; its "exe" links to the program
// file. The link of a program whose file was removed ends in " (deleted)".
const QString kProcessFolder = QStringLiteral("/proc");
const QString kDeletedMark = QStringLiteral(" (deleted)");

bool isOtherProcessOfThisUser(const QFileInfo& entry) {
  bool isProcess = false;
  const qint64 pid = entry.fileName().toLongLong(&isProcess);
  return isProcess && pid != QCoreApplication::applicationPid() && entry.ownerId() == ::getuid();
}

}  // namespace

StartResult startCommand(const QString& commandText, const QString& workingFolder) {
  const SplitCommand command = splitCommand(commandText);
  if (!command.error.isEmpty()) return StartResult{false, command.error};
  if (!QProcess::startDetached(command.program, command.arguments, workingFolder))
    return StartResult{false, QStringLiteral("cannot start ") + command.program};
  return StartResult{true, QString()};
}

StartResult startProgram(const QString& program, const QStringList& arguments) {
  QString located = locateProgram(program);
  if (located.isEmpty() && !program.contains(u'/'))
    located = locateProgram(QCoreApplication::applicationDirPath() + u'/' + program);
  if (located.isEmpty()) return StartResult{false, QStringLiteral("program not found: ") + program};
  if (!QProcess::startDetached(located, arguments))
    return StartResult{false, QStringLiteral("cannot start ") + located};
  return StartResult{true, QString()};
}

RunResult runAndWait(const QString& program, const QStringList& arguments, int timeoutMs) {
  RunResult result;
  QProcess process;
  process.setProgram(program);
  process.setArguments(arguments);
  process.setProcessChannelMode(QProcess::ForwardedChannels);
  process.start();
  if (!process.waitForStarted()) {
    result.error = QStringLiteral("cannot start ") + program + QStringLiteral(": ") +
                   process.errorString();
    return result;
  }
  if (!process.waitForFinished(timeoutMs)) {
    process.kill();
    process.waitForFinished(kKillWaitMs);
    result.timedOut = true;
    result.error = program + QStringLiteral(" did not end in time");
    return result;
  }
  result.finished = process.exitStatus() == QProcess::NormalExit;
  result.exitCode = process.exitCode();
  if (!result.finished) result.error = program + QStringLiteral(" crashed");
  return result;
}

RunResult runCommandAndWait(const QString& commandText, int timeoutMs) {
  const SplitCommand command = splitCommand(commandText);
  if (!command.error.isEmpty()) return RunResult{false, false, -1, command.error};
  return runAndWait(command.program, command.arguments, timeoutMs);
}

QString commandProgram(const QString& commandText) { return splitCommand(commandText).program; }

std::optional<QStringList> runningExecutables() {
  const QDir processes(kProcessFolder);
  if (!processes.exists()) return std::nullopt;
  QStringList programs;
  for (const QFileInfo& entry : processes.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    if (!isOtherProcessOfThisUser(entry)) continue;
    const QString program = QFile::symLinkTarget(entry.filePath() + QStringLiteral("/exe"));
    if (!program.isEmpty() && !program.endsWith(kDeletedMark)) programs.append(program);
  }
  programs.removeDuplicates();
  return programs;
}

}  // namespace hv6
