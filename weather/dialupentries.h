#pragma once
// The phone-book entries the communication page offers for dial-up. The
// dial-up controller provides them; until one is wired in, the page uses
// NoDialUpEntries and its list stays empty.

#include <QStringList>

namespace hv6 {

class DialUpEntries {
 public:
  virtual ~DialUpEntries() = default;
  // The entry names in the order the system returns them; false when they
  // cannot be listed.
  virtual bool listEntries(QStringList& names) = 0;
};

// Cannot list anything.
class NoDialUpEntries final : public DialUpEntries {
 public:
  bool listEntries(QStringList& names) override {
    names.clear();
    return false;
  }
};

// The entries in the order of a sorted drop list: letter case ignored.
QStringList sortedEntries(QStringList names);

// The entry a stored name selects in a sorted list: the first that begins
// with it (letter case ignored), else the first; -1 for an empty list.
int entryIndexFor(const QStringList& sortedNames, const QString& stored);

}  // namespace hv6
