#include "outside/sl_help/help.h"

#include "shell/help.h"

#include <QDesktopServices>

namespace sl {

bool CHelp::HelpDisp() {
  const hv6::PageOpener open =
      opener_ ? hv6::PageOpener(opener_)
              : hv6::PageOpener([](const QUrl& url) { return QDesktopServices::openUrl(url); });
  const int topic = topic_ > 0 ? topic_ : hv6::HelpTopic::kIndex;
  return hv6::showHelpTopic(hv6::HelpBook(bookPath_), topic, open);
}

}  // namespace sl
