#include "outside/sl_common/gidmsg.h"

namespace sl {

void CGidMsg::Disp(long number, const QString& text) {
  if (handler_) handler_(number, text);
}

}  // namespace sl
