// fixdata6: maintenance. DataMaintenance shows the maintenance dialog for
// the data folder the settings name.
#include "outside/errtext6/errmsg.h"
#include "platform/registry.h"
#include "platform/ui/message_box.h"
#include "shell/appregistry.h"
#include "shell/startup.h"
#include "tools/datatools_abi.h"
#include "tools/ui/maintenancedlg.h"

#include <QApplication>

extern "C" int32_t DataMaintenance(void* parentWindow, int32_t /*flags*/) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return 2908;
  // This library's own copy of the platform layer shows real boxes.
  hv6::QtMessagePresenter presenter;
  hv6::setMessagePresenter(&presenter);
  auto* parent = static_cast<QWidget*>(parentWindow);
  hv6::RegistryStore store;
  const hv6::AppRegistry registry(store);
  QString diary;
  QString weather;
  int32_t result = HV6_TOOL_DONE;
  if (!registry.readString(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kDataPath, diary) ||
      !registry.readString(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kWeatherDataPath, weather)) {
    CErrMsg().Disp(2504, 1, 0, hv6::kAppTitle, parent);
    result = 2504;
  } else {
    CMaintenanceDlg dialog(diary, weather, parent);
    dialog.exec();
  }
  hv6::setMessagePresenter(nullptr);
  return result;
}
