#pragma once
// Starting other programs. A stored command text is split as a command line
// (blanks separate words, double quotes group them) and its first word is
// the program, as WinExec took it.

#include <QString>
#include <QStringList>

#include <optional>

namespace hv6 {

struct StartResult {
  bool ok = false;
  QString error;  // why the program did not start
};

// Starts the command detached: it runs on when this program ends. Fails for
// an empty text, a program that does not exist or is not executable, or one
// that cannot start.
StartResult startCommand(const QString& commandText, const QString& workingFolder = QString());

// Starts a program with its arguments as given (no splitting, so an
// argument may hold blanks), detached. A bare name is looked for on the
// search path and then in this program's folder. Fails for a program that
// is not found or cannot start.
StartResult startProgram(const QString& program, const QStringList& arguments);

struct RunResult {
  bool finished = false;  // ended by itself, not crashed or killed
  bool timedOut = false;  // still running after the wait; it was killed
  int exitCode = -1;
  QString error;
};

// Runs the program and waits up to timeoutMs for it to end.
RunResult runAndWait(const QString& program, const QStringList& arguments, int timeoutMs);
// The same for a command text.
RunResult runCommandAndWait(const QString& commandText, int timeoutMs);

// The program file a command text runs (its first word, located as
// startCommand locates it); empty when there is no such executable.
QString commandProgram(const QString& commandText);

// The program files (canonical paths) of this user's running processes,
// the calling process not included; nullopt when the processes cannot be
// listed.
std::optional<QStringList> runningExecutables();

}  // namespace hv6
