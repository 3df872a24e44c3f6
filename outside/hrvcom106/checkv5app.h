#pragma once
// Which programs of the product are running, and asking them to end.
//
// The system's own programs (the sales host, the entry programs) register
// themselves while they run (CRunningProgram) and answer over their local
// socket: a query-end (may the program end now?) and a close request. The
// programs of the launcher that are not ours cannot be asked: while one of
// them runs it is listed, and it refuses every query-end. Nothing is ever
// killed.

#include <QList>
#include <QString>

class CCheckV5App {
 public:
  // A launcher program that is not ours: its name for the user and the
  // program file it runs (the entry's Exe command line).
  struct LauncherProgram {
    QString name;
    QString exe;
  };

  CCheckV5App() = default;
  explicit CCheckV5App(QList<LauncherProgram> launcherPrograms);

  // Finds the running related programs (registered ones and running
  // launcher programs) and keeps the list for the calls below. Nonzero on
  // success; count is then the number found.
  int CheckHv6Process(int& count);
  // The program's name for the user; nonzero on success.
  int GetExecMessageString(int index, QString& text) const;
  // The start of the program's window title; nonzero on success.
  int GetExecProcessString(int index, QString& text) const;

  // Asks program `index` whether it may end now (the query-end of a
  // session's end): true when it agrees. A launcher program that is not
  // ours never agrees.
  bool QueryEnd(int index);
  // Asks program `index` to close (posted: no wait for the answer).
  void Close(int index);

  // How long QueryEnd waits for a program's answer.
  static constexpr int kDefaultAnswerTimeoutMs = 10000;
  void setAnswerTimeout(int milliseconds) { answerTimeoutMs_ = milliseconds; }

  // The result of the last CheckHv6Process.
  struct Running {
    QString name;
    QString title;
    QString socketName;  // empty for a launcher program that is not ours
  };
  const QList<Running>& running() const { return running_; }

 private:
  // What identifies a found program for QueryEnd and Close: the id of a
  // registration, or the program file of a launcher program.
  struct Found {
    QString registrationId;
    QString program;
  };

  bool findRegistered();
  bool findLaunchers();
  bool stillRunning(int index) const;

  QList<LauncherProgram> launcherPrograms_;
  QList<Running> running_;
  QList<Found> found_;
  int answerTimeoutMs_ = kDefaultAnswerTimeoutMs;
};
