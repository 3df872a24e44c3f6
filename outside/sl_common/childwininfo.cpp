#include "outside/sl_common/childwininfo.h"

namespace sl {

int CChildWinInfo::SetWindowClassPnt(short id, QWidget* window, short flag) {
  if (id < 0) return 0;
  entries_[id] = Entry{window, flag};
  return 1;
}

QWidget* CChildWinInfo::GetWindowClassPnt(short id) const {
  const auto it = entries_.find(id);
  return it == entries_.end() ? nullptr : it->second.window;
}

short CChildWinInfo::GetFlag(short id) const {
  const auto it = entries_.find(id);
  return it == entries_.end() ? short{0} : it->second.flag;
}

}  // namespace sl
