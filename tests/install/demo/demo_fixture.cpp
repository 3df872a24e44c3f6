#include "tests/install/demo/demo_fixture.h"

#include <QFile>
#include <cctype>

#include "platform/codec.h"
#include "store/schema.h"

namespace demotest {

QStringList dumpTable(CDaoDatabase& db, const QString& table, const QString& folder) {
  CDaoRecordset rows(&db);
  rows.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM %1").arg(table));
  QStringList lines;
  for (; !rows.IsEOF(); rows.MoveNext()) {
    QStringList values;
    for (int i = 0; i < rows.GetFieldCount(); ++i) {
      const COleVariant value = rows.GetFieldValue(i);
      values.append(value.isNull() ? QStringLiteral("<null>")
                                   : value.toString().replace(folder, QStringLiteral("<folder>")));
    }
    lines.append(values.join(QLatin1Char('|')));
  }
  return lines;
}

QStringList dumpDemo(const QString& folder) {
  QStringList dump;
  const auto dumpDatabase = [&](const QString& file, const QList<hv6::TableSpec>& tables) {
    CDaoDatabase db;
    db.Open(QDir(folder).filePath(file), false, true);
    for (const hv6::TableSpec& table : tables) {
      dump.append(QStringLiteral("== ") + table.name);
      dump += dumpTable(db, table.name, folder);
    }
  };
  dumpDatabase(hv6::kDiaryFileName, hv6::diaryTables());
  dumpDatabase(hv6::kWeatherFileName, hv6::weatherTables());
  return dump;
}

long scalar(CDaoDatabase& db, const QString& sql) {
  CDaoRecordset rows(&db);
  rows.Open(dbOpenSnapshot, sql);
  return rows.GetFieldValue(0).toLong();
}

std::set<long> codes(CDaoDatabase& db, const QString& table, const QString& column) {
  CDaoRecordset rows(&db);
  rows.Open(dbOpenSnapshot, QStringLiteral("SELECT %1 FROM %2").arg(column, table));
  std::set<long> result;
  for (; !rows.IsEOF(); rows.MoveNext()) result.insert(rows.GetFieldValue(0).toLong());
  return result;
}

namespace {

// Reads a control word or symbol after a backslash at pos; returns its
// name ("" for a symbol) and moves pos past it and its delimiter.
QByteArray controlWord(const QByteArray& rtf, qsizetype& pos) {
  QByteArray word;
  while (pos < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[pos])))
    word.append(rtf[pos++]);
  while (pos < rtf.size() &&
         (std::isdigit(static_cast<unsigned char>(rtf[pos])) || rtf[pos] == '-'))
    ++pos;
  if (!word.isEmpty() && pos < rtf.size() && rtf[pos] == ' ') ++pos;
  return word;
}

}  // namespace

QString rtfText(const QByteArray& rtf, bool* ok) {
  *ok = rtf.startsWith("{\\rtf1");
  QByteArray bytes;
  int depth = 0;
  int skipBelow = -1;  // depth of a destination group being skipped
  for (qsizetype pos = 0; pos < rtf.size();) {
    const char c = rtf[pos++];
    if (c == '{') {
      ++depth;
      continue;
    }
    if (c == '}') {
      if (depth == skipBelow) skipBelow = -1;
      if (--depth < 0) *ok = false;
      continue;
    }
    if (c == '\r' || c == '\n') continue;
    const bool skipping = skipBelow >= 0;
    if (c != '\\') {
      if (!skipping) bytes.append(c);
      continue;
    }
    if (pos >= rtf.size()) {
      *ok = false;
      break;
    }
    const char next = rtf[pos];
    if (next == '\\' || next == '{' || next == '}') {
      if (!skipping) bytes.append(next);
      ++pos;
      continue;
    }
    if (next == '\'') {
      bool hex = false;
      const int value = rtf.mid(pos + 1, 2).toInt(&hex, 16);
      if (!hex) *ok = false;
      if (!skipping) bytes.append(static_cast<char>(value));
      pos += 3;
      continue;
    }
    const QByteArray word = controlWord(rtf, pos);
    if (word == "fonttbl" && !skipping) skipBelow = depth;
    if (word == "par" && !skipping) bytes.append('\n');
  }
  if (depth != 0) *ok = false;
  return hv6::cp932::decode(bytes);
}

QByteArray readAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

}  // namespace demotest
