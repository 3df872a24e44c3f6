#include "outside/hrvcom106/checkv5app.h"

#include "outside/hrvcom106/registration.h"
#include "platform/process.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalSocket>

using namespace hrvcom106;

namespace {

// The canonical path of the program a command text runs; empty when none.
QString canonicalProgram(const QString& commandText) {
  const QString program = hv6::commandProgram(commandText);
  return program.isEmpty() ? QString() : QFileInfo(program).canonicalFilePath();
}

bool isRunningProgram(const QString& program) {
  const std::optional<QStringList> running = hv6::runningExecutables();
  return running && running->contains(program);
}

// Sends a request; the connection is made and written within the time.
bool sendRequest(QLocalSocket& socket, const QString& socketPath, const QByteArray& request,
                 int timeoutMs) {
  socket.connectToServer(socketPath);
  if (!socket.waitForConnected(timeoutMs)) return false;
  socket.write(request);
  return socket.waitForBytesWritten(timeoutMs);
}

// The answer line, empty when none came in time.
QByteArray readAnswer(QLocalSocket& socket, int timeoutMs) {
  const QDeadlineTimer deadline(timeoutMs);
  while (!socket.canReadLine()) {
    if (deadline.hasExpired() ||
        !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
      return QByteArray();
  }
  return socket.readLine();
}

}  // namespace

CCheckV5App::CCheckV5App(QList<LauncherProgram> launcherPrograms)
    : launcherPrograms_(std::move(launcherPrograms)) {}

int CCheckV5App::CheckHv6Process(int& count) {
  running_.clear();
  found_.clear();
  count = 0;
  if (!findRegistered() || !findLaunchers()) {
    running_.clear();
    found_.clear();
    return 0;
  }
  count = static_cast<int>(running_.size());
  return 1;
}

// Registrations of this process are left out: a program is never asked to
// close itself.
bool CCheckV5App::findRegistered() {
  const std::optional<QList<Registration>> registrations = liveRegistrations();
  if (!registrations) return false;
  for (const Registration& registration : *registrations) {
    if (registration.pid == QCoreApplication::applicationPid()) continue;
    running_.append(Running{registration.name, registration.title, socketPath(registration.id)});
    found_.append(Found{registration.id, QString()});
  }
  return true;
}

bool CCheckV5App::findLaunchers() {
  if (launcherPrograms_.isEmpty()) return true;
  const std::optional<QStringList> running = hv6::runningExecutables();
  if (!running) return false;
  for (const LauncherProgram& launcher : launcherPrograms_) {
    const QString program = canonicalProgram(launcher.exe);
    if (program.isEmpty() || !running->contains(program)) continue;
    running_.append(Running{launcher.name, launcher.name, QString()});
    found_.append(Found{QString(), program});
  }
  return true;
}

int CCheckV5App::GetExecMessageString(int index, QString& text) const {
  if (index < 0 || index >= running_.size()) return 0;
  text = running_.at(index).name;
  return 1;
}

int CCheckV5App::GetExecProcessString(int index, QString& text) const {
  if (index < 0 || index >= running_.size()) return 0;
  text = running_.at(index).title;
  return 1;
}

bool CCheckV5App::stillRunning(int index) const {
  const Found& found = found_.at(index);
  return found.registrationId.isEmpty() ? isRunningProgram(found.program)
                                        : isAlive(found.registrationId);
}

// A program that has ended since the check has nothing to refuse. A
// launcher program cannot be asked, so while it runs it refuses.
bool CCheckV5App::QueryEnd(int index) {
  if (index < 0 || index >= found_.size() || !stillRunning(index)) return true;
  if (found_.at(index).registrationId.isEmpty()) return false;
  QLocalSocket socket;
  if (!sendRequest(socket, running_.at(index).socketName, kQueryEndRequest, answerTimeoutMs_))
    return false;
  return readAnswer(socket, answerTimeoutMs_) == kYesAnswer;
}

// Only registered programs are asked; nothing is ever killed.
void CCheckV5App::Close(int index) {
  if (index < 0 || index >= found_.size() || found_.at(index).registrationId.isEmpty()) return;
  if (!isAlive(found_.at(index).registrationId)) return;
  QLocalSocket socket;
  if (sendRequest(socket, running_.at(index).socketName, kCloseRequest, answerTimeoutMs_))
    socket.disconnectFromServer();
}
