#include "platform/profile.h"

#include "platform/codec.h"
#include "platform/file_io.h"
#include "platform/ini_document.h"

#include <algorithm>
#include <limits>

namespace hv6 {
namespace {

// INI files may hold passwords ("wxfetch.ini" holds AGRI_PW): a new one is
// readable by its owner only; an existing one keeps its permissions.
constexpr int kNewFileMode = 0600;

// An INI file as read: its lines and how to write them back.
struct LoadedFile {
  bool ok = false;  // false: the file exists but cannot be read
  QByteArray bytes;  // as read
  IniDocument document;
  bool cp932 = false;
  bool byteOrderMark = false;

  QByteArray toBytes() const {
    const QByteArray text = document.toBytes();
    return byteOrderMark ? "\xEF\xBB\xBF" + text : text;
  }
};

LoadedFile load(const QString& fileName) {
  LoadedFile file;
  const fileio::ReadResult read = fileio::readFile(fileName);
  if (!read.ok) return file;
  file.ok = true;
  file.bytes = read.bytes;
  QByteArray bytes = read.bytes;
  file.byteOrderMark = bytes.startsWith("\xEF\xBB\xBF");
  if (file.byteOrderMark) bytes.remove(0, 3);
  file.cp932 = !cp932::isValidUtf8(bytes);
  file.document = IniDocument::parse(
      bytes, file.cp932 ? IniDocument::Encoding::Cp932 : IniDocument::Encoding::Utf8);
  return file;
}

bool hasLineBreak(const QString& text) { return text.contains(u'\n') || text.contains(u'\r'); }

bool storableSection(const QString& section) {
  return !section.trimmed().isEmpty() && !hasLineBreak(section) && !section.contains(u']');
}

bool storableKey(const QString& key) {
  const QString trimmed = key.trimmed();
  return !trimmed.isEmpty() && !hasLineBreak(key) && !key.contains(u'=') &&
         !trimmed.startsWith(u';') && !trimmed.startsWith(u'[');
}

bool encodable(const LoadedFile& file, const QString& text) {
  return !file.cp932 || cp932::canEncode(text);
}

// A value in matching quotes is given without them.
QString unquoted(const QString& value) {
  const bool quoted = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
                      value.back() == value.front();
  return quoted ? value.mid(1, value.size() - 2) : value;
}

// At most max characters, never half of a surrogate pair.
QString truncated(const QString& text, int max) {
  if (text.size() <= max) return text;
  QString out = text.left(max);
  if (!out.isEmpty() && out.back().isHighSurrogate()) out.chop(1);
  return out;
}

void removeTrailingBlanks(QString& text) {
  while (!text.isEmpty() && text.back().isSpace()) text.chop(1);
}

// The write applied to the loaded file; false for text it cannot store.
bool applyWrite(LoadedFile& file, const QString& section, const std::optional<QString>& key,
                const std::optional<QString>& value) {
  if (!file.ok) return false;
  const QString added = section + key.value_or(QString()) + value.value_or(QString());
  if (!encodable(file, added)) return false;
  IniDocument& document = file.document;
  if (!key) {
    document.removeSection(section);
    return true;
  }
  if (!storableKey(*key)) return false;
  if (!value) {
    document.removeKey(section, *key);
    return true;
  }
  if (hasLineBreak(*value)) return false;
  document.setValue(section, *key, *value);
  return true;
}

}  // namespace

int GetPrivateProfileString(const QString& section, const QString& key,
                            const QString& defaultValue, QString& out, int size,
                            const QString& fileName) {
  out.clear();
  if (size <= 0) return 0;
  const std::optional<QString> found = load(fileName).document.value(section, key);
  QString text = found ? unquoted(*found) : defaultValue;
  if (!found) removeTrailingBlanks(text);
  out = truncated(text, size - 1);
  return int(out.size());
}

int GetPrivateProfileInt(const QString& section, const QString& key, int defaultValue,
                         const QString& fileName) {
  const std::optional<QString> found = load(fileName).document.value(section, key);
  const QString text = found ? unquoted(*found).trimmed() : QString();
  if (text.isEmpty()) return defaultValue;
  qsizetype digitsEnd = text.front() == u'-' || text.front() == u'+' ? 1 : 0;
  while (digitsEnd < text.size() && text.at(digitsEnd).isDigit() && text.at(digitsEnd) < u'\x80')
    ++digitsEnd;
  const qint64 number = text.left(digitsEnd).toLongLong();
  const qint64 low = std::numeric_limits<int>::min();
  const qint64 high = std::numeric_limits<int>::max();
  return int(std::clamp(number, low, high));
}

bool WritePrivateProfileString(const QString& section, const std::optional<QString>& key,
                               const std::optional<QString>& value, const QString& fileName) {
  if (!storableSection(section)) return false;
  // A first look without the lock: a write that cannot be stored or changes
  // nothing neither waits nor leaves a file behind.
  LoadedFile preview = load(fileName);
  if (!applyWrite(preview, section, key, value)) return false;
  if (preview.toBytes() == preview.bytes) return true;
  // Writers of the file take turns, each changing the file as the one
  // before left it.
  const QString target = fileio::resolvedPath(fileName);
  fileio::FileLock lock;
  if (!fileio::lockForWriting(lock, target, kNewFileMode)) return false;
  LoadedFile file = load(target);
  if (!applyWrite(file, section, key, value)) return false;
  const QByteArray bytes = file.toBytes();
  if (bytes == file.bytes) return true;
  return fileio::replaceFile(target, bytes, kNewFileMode).ok;
}

QStringList privateProfileSections(const QString& fileName) {
  return load(fileName).document.sections();
}

QStringList privateProfileKeys(const QString& section, const QString& fileName) {
  return load(fileName).document.keys(section);
}

}  // namespace hv6
