#include "weather/dialupentries.h"

#include <algorithm>

namespace hv6 {

QStringList sortedEntries(QStringList names) {
  std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
  });
  return names;
}

int entryIndexFor(const QStringList& sortedNames, const QString& stored) {
  if (sortedNames.isEmpty()) return -1;
  for (int i = 0; i < sortedNames.size(); ++i)
    if (sortedNames.at(i).startsWith(stored, Qt::CaseInsensitive)) return i;
  return 0;
}

}  // namespace hv6
