#pragma once
// The phone-book entries the communication page offers for dial-up. The
// dial-up controller (CDialUpLink) provides them; the page makes one when
// it is first shown and releases it once the list is filled.

#include <QStringList>

#include <functional>
#include <memory>

namespace hv6 {

class DialUpEntries {
 public:
  virtual ~DialUpEntries() = default;
  // The entry names in the order the system returns them; false when they
  // cannot be listed.
  virtual bool listEntries(QStringList& names) = 0;
};

// Makes the source of the entries; null or a null result lists nothing.
using DialUpEntriesFactory = std::function<std::unique_ptr<DialUpEntries>()>;

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
