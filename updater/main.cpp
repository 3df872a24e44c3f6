// hv6patch: the service-pack updater. It lives in the pack's folder beside
// "FileList.dat" and the files it replaces in the program folder.
//
//   hv6patch                the dialog
//   hv6patch --unattended   no window: messages on standard error
//
// Exit statuses (updater/unattended.h): 0 the pack was applied; 1 hv6 runs;
// 2 no file list; 3 a listed file is missing or leaves the folder; 4 no
// program folder in the settings; 5 the installed version is below the
// pack's range; 6 above it; 7 the replacement failed and the program
// folder is as before; 8 it failed and old files are left under backup
// names; 9 a wrong command line; 10 the dialog was closed without applying.
#include "platform/registry.h"
#include "platform/ui/message_box.h"
#include "updater/ui/servicepackdlg.h"
#include "updater/unattended.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr auto kUsage =
    "usage: hv6patch [--unattended]\n"
    "Applies the service pack in hv6patch's own folder (FileList.dat and the files it lists)\n"
    "to the program folder of Harvo V6 Plus. --unattended shows no window and writes the\n"
    "messages to standard error; the exit status is 0 when the pack was applied.\n";

enum class Mode { Dialog, Unattended, Help, Wrong };

Mode modeOf(int argc, char** argv) {
  Mode mode = Mode::Dialog;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--unattended") == 0 && mode == Mode::Dialog) mode = Mode::Unattended;
    else if (std::strcmp(argv[i], "--help") == 0 && argc == 2) mode = Mode::Help;
    else return Mode::Wrong;
  }
  return mode;
}

// The pack's folder: where the running program file is.
QString packFolder() { return QCoreApplication::applicationDirPath(); }

}  // namespace

int main(int argc, char** argv) {
  const Mode mode = modeOf(argc, argv);
  if (mode == Mode::Help || mode == Mode::Wrong) {
    std::fputs(kUsage, mode == Mode::Help ? stdout : stderr);
    return mode == Mode::Help ? 0 : hv6::updater::kExitUsage;
  }
  if (mode == Mode::Unattended) {
    QCoreApplication application(argc, argv);
    hv6::RegistryStore registry;
    hv6::updater::ServicePack pack(registry, packFolder());
    return hv6::updater::runUnattended(pack);
  }
  QApplication application(argc, argv);
  hv6::RegistryStore registry;
  hv6::QtMessagePresenter presenter;
  hv6::setMessagePresenter(&presenter);
  hv6::updater::ServicePack pack(registry, packFolder());
  CServicePackDlg dialog(pack);
  dialog.DoModal();
  hv6::setMessagePresenter(nullptr);
  return hv6::updater::exitStatusOf(dialog.outcome());
}
