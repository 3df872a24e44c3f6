// A second process for the backup tests:
//   backup_child write-loop DIARY SECONDS   inserts WDiary rows two at a time
//       (one transaction each, both rows with the same Quantity) until the
//       time is up; prints the number of pairs.
//   backup_child restore-stop FILE DIARY    restores and ends the process at
//       once, without any clean-up, when the restore is ready to swap.
#include "platform/dao/dao.h"
#include "tools/backup/restore.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() == 4 && args.at(1) == QLatin1String("write-loop")) {
    CDaoDatabase db;
    db.Open(args.at(2));
    db.setBusyTimeout(20000);
    QElapsedTimer timer;
    timer.start();
    long pairs = 0;
    std::fputs("writing\n", stdout);
    std::fflush(stdout);
    while (timer.elapsed() < args.at(3).toLong() * 1000) {
      ++pairs;
      db.Execute(QStringLiteral("BEGIN"));
      for (int i = 0; i < 2; ++i)
        db.Execute(QStringLiteral("INSERT INTO WDiary (Date, Quantity) VALUES ('2024-05-01 00:00:00', ?)"),
                   {COleVariant(double(pairs))});
      db.Execute(QStringLiteral("COMMIT"));
    }
    std::printf("%ld\n", pairs);
    return 0;
  }
  if (args.size() == 4 && args.at(1) == QLatin1String("restore-stop")) {
    hv6::backup::RestoreOptions options;
    options.beforeSwap = [] { std::_Exit(42); };
    const auto result = hv6::backup::restoreBackup(args.at(2), {args.at(3), {}}, options);
    std::printf("restore ended: %ld\n", result.message);
    return 1;
  }
  std::fputs("usage: backup_child write-loop DIARY SECONDS | restore-stop FILE DIARY\n", stderr);
  return 2;
}
