#include "updater/filelist.h"

#include "platform/profile.h"

#include <cstdint>

namespace hv6::updater {
namespace {

// Buffer sizes of the reads, terminator included.
constexpr int kVersionBuffer = 10;
constexpr int kCountBuffer = 10;
constexpr int kNameBuffer = 100;

QString readValue(const QString& key, int size, const QString& file) {
  QString value;
  GetPrivateProfileString(kFileListSection, key, QString(), value, size, file);
  return value;
}

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

}  // namespace

QString fileKey(int index) {
  return QStringLiteral("File") + QStringLiteral("%1").arg(index, 2, 10, QLatin1Char('0'));
}

int fileCountOf(const QString& text) {
  qsizetype at = 0;
  while (at < text.size() && (text.at(at) == u' ' || text.at(at) == u'\t')) ++at;
  bool negative = false;
  if (at < text.size() && (text.at(at) == u'-' || text.at(at) == u'+')) negative = text.at(at++) == u'-';
  std::int64_t value = 0;  // at most 9 digits: no overflow
  for (; at < text.size() && isAsciiDigit(text.at(at)); ++at)
    value = value * 10 + (text.at(at).unicode() - u'0');
  if (negative) value = -value;
  return static_cast<std::int16_t>(value);
}

FileList readFileList(const QString& folder) {
  const QString file = folder.endsWith(u'/') ? folder + kFileListName : folder + u'/' + kFileListName;
  FileList list;
  list.minVersion = readValue(QStringLiteral("MinVersion"), kVersionBuffer, file);
  list.maxVersion = readValue(QStringLiteral("MaxVersion"), kVersionBuffer, file);
  list.fileCount = fileCountOf(readValue(QStringLiteral("FileCount"), kCountBuffer, file));
  for (int index = 1; index <= list.fileCount; ++index) {
    const QString name = readValue(fileKey(index), kNameBuffer, file);
    if (name.isEmpty()) break;
    list.names << name;
  }
  return list;
}

QString relativePath(const QString& name) {
  QString path = name;
  path.replace(u'\\', u'/');
  if (path.isEmpty() || path.startsWith(u'/')) return {};
  if (path.size() >= 2 && path.at(1) == u':' && path.at(0).isLetter()) return {};  // "C:…"
  QStringList parts;
  for (const QString& part : path.split(u'/')) {
    if (part == QStringLiteral("..")) return {};
    if (!part.isEmpty() && part != QStringLiteral(".")) parts << part;
  }
  return parts.join(u'/');
}

}  // namespace hv6::updater
