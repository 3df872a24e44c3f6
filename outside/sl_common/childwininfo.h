#pragma once
// The registry of open child windows of the sales host and its modules:
// one window per id. The host owns the object and hands it to the modules;
// its calls are virtual so that every module works on the host's storage.
// The flag is kept with the entry as given; nothing here interprets it.

#include <map>

class QWidget;

namespace sl {

class CChildWinInfo {
 public:
  CChildWinInfo() = default;
  virtual ~CChildWinInfo() = default;
  CChildWinInfo(const CChildWinInfo&) = delete;
  CChildWinInfo& operator=(const CChildWinInfo&) = delete;

  // Records the window of an id (null clears it). Nonzero on success; 0 for
  // a negative id.
  virtual int SetWindowClassPnt(short id, QWidget* window, short flag);
  // The window of an id, or null.
  virtual QWidget* GetWindowClassPnt(short id) const;
  // The flag given with the id's last Set (0 when never set).
  virtual short GetFlag(short id) const;

 private:
  struct Entry {
    QWidget* window = nullptr;
    short flag = 0;
  };
  std::map<short, Entry> entries_;
};

}  // namespace sl
