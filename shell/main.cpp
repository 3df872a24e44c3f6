// hv6: the calendar program. Started through its application object;
// "--check-start" starts, reports what was opened and closes again;
// "--print YYYYMM --pdf FILE" prints a month without a window;
// "--import-mobile" imports the mobile diary records without a window;
// "--fetch-weather" runs the weather retrieval without a window;
// "--backup FILE" and "--restore FILE" run the backup or restore library
// without a window.
#include "shell/datatoolcommand.h"
#include "shell/startup.h"
#include "shell/ui/hrvapp.h"
#include "shell/ui/printrun.h"

#include <QApplication>

#include <cstring>

namespace {

// A check run on a machine without a display shows its windows offscreen.
// The batch commands show none at all: they never need the display (a
// scheduled job may have a stale one).
void chooseOffscreenForChecks(int argc, char** argv) {
  bool check = false;
  bool batch = false;
  for (int i = 1; i < argc; ++i) {
    check = check || std::strcmp(argv[i], "--check-start") == 0 ||
            std::strcmp(argv[i], "--print") == 0;
    batch = batch || std::strcmp(argv[i], "--import-mobile") == 0 ||
            std::strcmp(argv[i], "--backup") == 0 || std::strcmp(argv[i], "--restore") == 0 ||
            std::strcmp(argv[i], "--fetch-weather") == 0;
  }
  const bool chosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
  const bool display = chosen || !qEnvironmentVariableIsEmpty("DISPLAY") ||
                       !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
  if ((check && !display) || (batch && !chosen)) qputenv("QT_QPA_PLATFORM", "offscreen");
}

}  // namespace

int main(int argc, char** argv) {
  chooseOffscreenForChecks(argc, argv);
  QApplication application(argc, argv);
  QStringList arguments = QApplication::arguments();
  const hv6::DataToolCommand tool = hv6::takeDataToolCommand(arguments);
  if (tool.wanted())
    return hv6::runDataToolCommand(tool, hv6::parseStartArguments(arguments).commandLine);
  hv6::PrintRequest print = hv6::takePrintRequest(arguments);
  CHrvApp app(hv6::parseStartArguments(arguments), print);
  return app.run();
}
