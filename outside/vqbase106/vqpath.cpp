#include "outside/vqbase106/vqpath.h"

#include "platform/folders.h"

int CVqPath::GetSpFolder(QString& out, int folderId) {
  const QString folder = hv6::specialFolder(folderId);
  if (folder.isEmpty()) return 1;
  out = folder;
  return 0;
}

QString CVqPath::Join(const QString& folder, const QString& relative) {
  QString tail = relative;
  tail.replace(QLatin1Char('\\'), QLatin1Char('/'));
  while (tail.startsWith(QLatin1Char('/'))) tail.remove(0, 1);
  QString head = folder;
  while (head.size() > 1 && head.endsWith(QLatin1Char('/'))) head.chop(1);
  if (tail.isEmpty()) return head;
  if (head.isEmpty() || head.endsWith(QLatin1Char('/'))) return head + tail;
  return head + QLatin1Char('/') + tail;
}
