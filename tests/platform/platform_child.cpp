// Helper program for the two-process tests: writes settings or holds a lock
// as a second process would.
//
//   write FILE KEY PREFIX COUNT   writes COUNT values PREFIX0.. into KEY
//   hammer FILE KEY NAME SIZE     rewrites NAME with ever new values until killed
//   hold NAME user|machine        takes the lock and keeps it until killed
//   ini FILE SECTION PREFIX COUNT writes COUNT INI keys PREFIX0.. into SECTION
#include "platform/lockfile.h"
#include "platform/profile.h"
#include "platform/registry.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

void say(const char* line) {
  std::printf("%s\n", line);
  std::fflush(stdout);
}

int writeMany(const QStringList& args) {
  hv6::RegistryStore store(args.at(0));
  const int count = args.at(3).toInt();
  for (int i = 0; i < count; ++i) {
    const QString name = args.at(2) + QString::number(i);
    if (store.writeString(args.at(1), name, QStringLiteral("value of ") + name) !=
        hv6::RegStatus::Ok)
      return 2;
  }
  say("done");
  return 0;
}

int writeIniKeys(const QStringList& args) {
  const int count = args.at(3).toInt();
  for (int i = 0; i < count; ++i) {
    const QString key = args.at(2) + QString::number(i);
    if (!hv6::WritePrivateProfileString(args.at(1), key, QStringLiteral("value of ") + key,
                                        args.at(0)))
      return 2;
  }
  say("done");
  return 0;
}

// Values "gen-N-" followed by SIZE letters, N counting up.
int hammer(const QStringList& args) {
  hv6::RegistryStore store(args.at(0));
  const QString padding(args.at(3).toInt(), u'x');
  for (qint64 generation = 1;; ++generation) {
    const QString value = QStringLiteral("gen-%1-").arg(generation) + padding;
    if (store.writeString(args.at(1), args.at(2), value) != hv6::RegStatus::Ok) return 2;
    if (generation == 1) say("ready");
  }
}

int hold(const QStringList& args) {
  const auto scope = args.at(1) == QLatin1String("machine") ? hv6::LockScope::Machine
                                                            : hv6::LockScope::User;
  hv6::NamedLock lock;
  if (!lock.acquire(args.at(0), scope)) {
    say("refused");
    return 1;
  }
  say("held");
  while (std::getchar() != EOF) {
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  const QString command = args.isEmpty() ? QString() : args.takeFirst();
  if (command == QLatin1String("write") && args.size() == 4) return writeMany(args);
  if (command == QLatin1String("hammer") && args.size() == 4) return hammer(args);
  if (command == QLatin1String("hold") && args.size() == 2) return hold(args);
  if (command == QLatin1String("ini") && args.size() == 4) return writeIniKeys(args);
  std::fprintf(stderr, "usage: write|hammer|hold|ini ...\n");
  return 64;
}
