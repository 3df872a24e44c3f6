// hrvinit6: new data. NewMakeData shows the new-data dialog and, when a
// data folder was made, hands back the caller's launcher entries.
#include "platform/registry.h"
#include "platform/ui/file_dialogs.h"
#include "platform/ui/message_box.h"
#include "tools/datatools_abi.h"
#include "tools/ui/newdatadlg.h"

#include <QApplication>

#include <algorithm>

namespace {

// Valid until the library is unloaded; the caller copies it first.
Hv6LauncherEntry gMade[HV6_LAUNCHER_COUNT];

}  // namespace

extern "C" const Hv6LauncherEntry* NewMakeData(const Hv6LauncherEntry* entries, int32_t count,
                                               int32_t mode) {
  if (!entries || count != HV6_LAUNCHER_COUNT || !qobject_cast<QApplication*>(QCoreApplication::instance()))
    return nullptr;
  // This library's own copy of the platform layer gets the windows' boxes
  // and choosers for the call.
  hv6::QtMessagePresenter presenter;
  hv6::QtFileChooser chooser;
  hv6::setMessagePresenter(&presenter);
  hv6::setFileChooser(&chooser);
  hv6::RegistryStore store;
  CNewDataDlg dialog(store, mode, QApplication::activeWindow());
  const bool made = dialog.exec() == QDialog::Accepted;
  hv6::setMessagePresenter(nullptr);
  hv6::setFileChooser(nullptr);
  if (!made) return nullptr;
  std::copy(entries, entries + HV6_LAUNCHER_COUNT, gMade);
  return gMade;
}
