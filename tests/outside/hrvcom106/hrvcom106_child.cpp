// Helper program for the running-program tests: a registered program of the
// product in a process of its own. It prints "ready" once registered.
//
//   serve NAME TITLE yes|no   answers query-ends yes or no (printing
//                             "asked"); a close request prints "closing"
//                             and ends it with 0
//   hang NAME TITLE           registers, then never answers anything
#include "outside/hrvcom106/runningprogram.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

void say(const char* line) {
  std::printf("%s\n", line);
  std::fflush(stdout);
}

int serve(QCoreApplication& app, CRunningProgram& program, bool answer) {
  program.setQueryEndHandler([answer] {
    say("asked");
    return answer;
  });
  QObject::connect(&program, &CRunningProgram::closeRequested, &app, [&app] {
    say("closing");
    app.quit();
  });
  say("ready");
  return app.exec();
}

// No event loop runs: connections wait unanswered.
int hang() {
  say("ready");
  while (std::getchar() != EOF) {
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.size() < 3) {
    std::fprintf(stderr, "usage: serve NAME TITLE yes|no | hang NAME TITLE\n");
    return 64;
  }
  CRunningProgram program(args.at(1), args.at(2));
  if (!program.isRegistered()) {
    say("failed");
    return 1;
  }
  if (args.at(0) == QLatin1String("hang")) return hang();
  return serve(app, program, args.value(3) == QLatin1String("yes"));
}
