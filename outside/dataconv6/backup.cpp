#include "outside/dataconv6/backup.h"

#include "platform/dao/dao.h"

#include <QFile>

namespace hv6::dataconv {

QString backupPathFor(const QString& path, const QDate& day) {
  const QString base = path + QStringLiteral(".bak-") + day.toString(QStringLiteral("yyyyMMdd"));
  QString candidate = base;
  for (int n = 2; QFile::exists(candidate); ++n) candidate = base + QStringLiteral("-%1").arg(n);
  return candidate;
}

void writeBackup(CDaoDatabase& db, const QString& target) {
  db.Execute(QStringLiteral("VACUUM INTO ?"), {COleVariant(target)});
}

}  // namespace hv6::dataconv
