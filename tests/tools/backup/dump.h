#pragma once
// What the backup tests compare: a database's tables and rows as text, and
// the files of a folder by content.

#include "platform/dao/dao.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>

namespace hv6test {

inline QByteArray readBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every table's definition and rows in rowid order, each value with its type.
inline QString dumpDatabase(const QString& path) {
  CDaoDatabase db;
  db.Open(path, false, true);
  QString dump;
  QSqlQuery tables = db.runSql(
      QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'table' ORDER BY name"));
  QStringList names;
  while (tables.next()) {
    names.append(tables.value(0).toString());
    dump += tables.value(1).toString() + u'\n';
  }
  for (const QString& table : names) {
    QSqlQuery rows = db.runSql(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table));
    while (rows.next()) {
      QStringList values;
      for (int i = 0; i < rows.record().count(); ++i) {
        const QVariant v = rows.value(i);
        values.append(v.isNull() ? QStringLiteral("NULL")
                                 : QString::fromLatin1(v.typeName()) + u':' +
                                       (v.userType() == QMetaType::Double
                                            ? QString::number(v.toDouble(), 'g', 17)
                                            : v.toString()));
      }
      dump += table + u'|' + values.join(u'|') + u'\n';
    }
  }
  return dump;
}

// Relative path -> SHA-256 of every file below folder.
inline QMap<QString, QByteArray> folderDigest(const QString& folder) {
  QMap<QString, QByteArray> digest;
  QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    digest.insert(QDir(folder).relativeFilePath(path),
                  QCryptographicHash::hash(readBytes(path), QCryptographicHash::Sha256).toHex());
  }
  return digest;
}

}  // namespace hv6test
