#include "platform/reg_document.h"

#include <algorithm>
#include <cctype>

namespace hv6 {
namespace {

constexpr auto kHive = "HKEY_CURRENT_USER";
constexpr auto kOldHeader = "REGEDIT4";

QString folded(const QString& text) { return text.toCaseFolded(); }

QString escaped(const QString& text) {
  QString out;
  out.reserve(text.size() + 2);
  for (const QChar c : text) {
    if (c == u'\\' || c == u'"') out += u'\\';
    if (c == u'\n') out += QStringLiteral("\\n");
    else if (c == u'\r') out += QStringLiteral("\\r");
    else out += c;
  }
  return out;
}

QString quoted(const QString& text) { return u'"' + escaped(text) + u'"'; }

// Reads a quoted text starting at text[pos] == '"'; pos ends after the
// closing quote. False when the quote is not closed.
bool readQuoted(const QString& text, qsizetype& pos, QString& out) {
  out.clear();
  for (++pos; pos < text.size(); ++pos) {
    const QChar c = text.at(pos);
    if (c == u'"') {
      ++pos;
      return true;
    }
    if (c != u'\\' || pos + 1 >= text.size()) {
      out += c;
      continue;
    }
    const QChar next = text.at(++pos);
    if (next == u'n') out += u'\n';
    else if (next == u'r') out += u'\r';
    else if (next == u'\\' || next == u'"') out += next;
    else out += QString(u'\\') + next;  // not an escape: kept as written
  }
  return false;
}

// The name before '=': "Name" or @ for the default value. pos ends after '='.
bool readName(const QString& line, qsizetype& pos, QString& name) {
  pos = 0;
  if (line.startsWith(u'@')) {
    name.clear();
    pos = 1;
  } else if (!line.startsWith(u'"') || !readQuoted(line, pos, name)) {
    return false;
  }
  while (pos < line.size() && line.at(pos).isSpace()) ++pos;
  if (pos >= line.size() || line.at(pos) != u'=') return false;
  ++pos;
  return true;
}

bool isHexDigit(QChar c) {
  return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool parseHexDigits(const QString& text, int maxDigits, std::uint32_t& out) {
  if (text.isEmpty() || text.size() > maxDigits) return false;
  if (!std::all_of(text.begin(), text.end(), isHexDigit)) return false;
  out = text.toUInt(nullptr, 16);
  return true;
}

bool parseBytes(QString list, QByteArray& out) {
  list.remove(u'\\');
  list.remove(u'\n');
  list.remove(u' ');
  list.remove(u'\t');
  out.clear();
  if (list.isEmpty()) return true;
  for (const QString& item : list.split(u',')) {
    std::uint32_t byte = 0;
    if (!parseHexDigits(item, 2, byte)) return false;
    out.append(char(byte));
  }
  return true;
}

bool parseData(const QString& data, RegValue& value) {
  if (data.startsWith(u'"')) {
    qsizetype pos = 0;
    value.kind = RegValue::Kind::String;
    return readQuoted(data, pos, value.text) && data.mid(pos).trimmed().isEmpty();
  }
  if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
    value.kind = RegValue::Kind::Dword;
    return parseHexDigits(data.mid(6), 8, value.dword);
  }
  if (data.startsWith(QLatin1String("hex:"), Qt::CaseInsensitive)) {
    value.kind = RegValue::Kind::Binary;
    return parseBytes(data.mid(4), value.bytes);
  }
  value.kind = RegValue::Kind::Other;
  return data.startsWith(QLatin1String("hex("), Qt::CaseInsensitive) && data.contains(u':');
}

bool parseValue(const QString& line, QString& name, RegValue& value) {
  qsizetype pos = 0;
  return readName(line, pos, name) && parseData(line.mid(pos).trimmed(), value);
}

// A hex value whose line ends in '\' goes on in the next line.
bool continues(const QString& line) {
  qsizetype pos = 0;
  QString name;
  if (!line.endsWith(u'\\') || !readName(line, pos, name)) return false;
  while (pos < line.size() && line.at(pos).isSpace()) ++pos;
  return QStringView(line).mid(pos).startsWith(QLatin1String("hex"), Qt::CaseInsensitive);
}

// A line that can go on a hex value: bytes, commas and blanks, perhaps
// ending in '\' itself. Anything else (a blank line, a value, a section)
// starts a line of its own, so a '\' with nothing after it swallows nothing.
bool isHexContinuation(const QByteArray& line) {
  QByteArray data = line.trimmed();
  if (data.isEmpty()) return false;
  if (data.endsWith('\\')) data.chop(1);
  return std::all_of(data.begin(), data.end(), [](char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) || c == ',' || c == ' ' || c == '\t';
  });
}

bool sameValue(const RegValue& a, const RegValue& b) {
  if (a.kind != b.kind) return false;
  switch (a.kind) {
    case RegValue::Kind::String: return a.text == b.text;
    case RegValue::Kind::Dword: return a.dword == b.dword;
    case RegValue::Kind::Binary: return a.bytes == b.bytes;
    case RegValue::Kind::Other: break;
  }
  return true;
}

QString formatData(const RegValue& value) {
  switch (value.kind) {
    case RegValue::Kind::String: return quoted(value.text);
    case RegValue::Kind::Dword:
      return QStringLiteral("dword:%1").arg(value.dword, 8, 16, QLatin1Char('0'));
    case RegValue::Kind::Binary: {
      QStringList bytes;
      for (const char byte : value.bytes)
        bytes += QStringLiteral("%1").arg(static_cast<unsigned char>(byte), 2, 16, QLatin1Char('0'));
      return QStringLiteral("hex:") + bytes.join(u',');
    }
    case RegValue::Kind::Other: break;
  }
  return QString();
}

QList<QByteArray> physicalLines(const QByteArray& bytes) {
  QByteArray text = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
  if (text.endsWith('\n')) text.chop(1);
  if (text.isEmpty()) return {};
  QList<QByteArray> lines = text.split('\n');
  for (QByteArray& line : lines)
    if (line.endsWith('\r')) line.chop(1);
  return lines;
}

bool isHeader(const QByteArray& line) {
  const QByteArray trimmed = line.trimmed();
  return trimmed == RegDocument::kHeader || trimmed == kOldHeader;
}

// "[HKEY_CURRENT_USER\a\b]" gives "a\b"; other hives and deletions "[-...]"
// are sections nobody reads.
bool hkcuPath(const QString& inner, QString& path) {
  const QString hive = QString::fromLatin1(kHive);
  if (!inner.startsWith(hive, Qt::CaseInsensitive)) return false;
  if (inner.size() > hive.size() && inner.at(hive.size()) != u'\\') return false;
  path = RegDocument::normalizeKey(inner.mid(hive.size()));
  return true;
}

bool isChildOf(const QString& foldedKey, const QString& foldedParent) {
  if (foldedParent.isEmpty()) return !foldedKey.isEmpty();
  return foldedKey.size() > foldedParent.size() && foldedKey.startsWith(foldedParent) &&
         foldedKey.at(foldedParent.size()) == u'\\';
}

}  // namespace

RegValue RegValue::string(const QString& text) {
  RegValue value;
  value.text = text;
  return value;
}

RegValue RegValue::number(std::uint32_t dword) {
  RegValue value;
  value.kind = Kind::Dword;
  value.dword = dword;
  return value;
}

RegValue RegValue::binary(const QByteArray& bytes) {
  RegValue value;
  value.kind = Kind::Binary;
  value.bytes = bytes;
  return value;
}

QString RegDocument::normalizeKey(const QString& key) {
  return key.split(u'\\', Qt::SkipEmptyParts).join(u'\\');
}

RegDocument RegDocument::parse(const QByteArray& utf8) {
  RegDocument doc;
  const QList<QByteArray> physical = physicalLines(utf8);
  bool inSection = false;
  for (qsizetype i = 0; i < physical.size(); ++i) {
    Line line;
    line.raw = physical.at(i);
    QString text = QString::fromUtf8(line.raw).trimmed();
    // Each line is looked at once, however long the value.
    for (bool more = continues(text); more && i + 1 < physical.size() &&
                                      isHexContinuation(physical.at(i + 1));) {
      const QByteArray& next = physical.at(++i);
      line.raw += '\n';
      line.raw += next;
      text += u'\n';
      text += QString::fromUtf8(next).trimmed();
      more = text.endsWith(u'\\');
    }
    if (isHeader(line.raw)) doc.hasHeader_ = true;
    if (text.startsWith(u'[') && text.endsWith(u']')) {
      line.kind = Line::Kind::Section;
      line.indexed = hkcuPath(text.mid(1, text.size() - 2), line.key);
      inSection = true;
    } else if (inSection && parseValue(text, line.name, line.value)) {
      line.kind = Line::Kind::Value;
      line.foldedName = folded(line.name);
    }
    doc.lines_.append(line);
  }
  doc.reindex();
  return doc;
}

QByteArray RegDocument::toBytes() const {
  QByteArray out;
  if (!hasHeader_) out += QByteArray(kHeader) + "\n\n";
  for (const Line& line : lines_) out += line.raw + '\n';
  return out;
}

void RegDocument::reindex() {
  sections_.clear();
  knownKeys_.clear();
  headers_.clear();
  values_.clear();
  // The values of the section the lines are in; values_ only grows at a
  // section line, so the pointer stays valid until the next one.
  QHash<QString, int>* values = nullptr;
  for (int i = 0; i < int(lines_.size()); ++i) {
    const Line& line = lines_.at(i);
    if (line.kind == Line::Kind::Value && values) values->insert(line.foldedName, i);
    if (line.kind != Line::Kind::Section) continue;
    headers_.append(i);
    values = nullptr;
    if (!line.indexed) continue;
    const QString current = folded(line.key);
    values = &values_[current];
    sections_[current].append(i);
    QString path = current;
    for (; !path.isEmpty(); path.truncate(std::max<qsizetype>(path.lastIndexOf(u'\\'), 0)))
      knownKeys_.insert(path);
  }
}

// Both ways round: the same number of values in every key, and each of
// this document's values found with the same data in the other.
bool RegDocument::readsAs(const RegDocument& other) const {
  if (knownKeys_ != other.knownKeys_) return false;
  const auto countsMatch = [](const RegDocument& a, const RegDocument& b) {
    for (auto key = a.values_.cbegin(); key != a.values_.cend(); ++key) {
      const auto found = b.values_.constFind(key.key());
      if (key->size() != (found == b.values_.cend() ? 0 : found->size())) return false;
    }
    return true;
  };
  if (!countsMatch(*this, other) || !countsMatch(other, *this)) return false;
  for (auto key = values_.cbegin(); key != values_.cend(); ++key) {
    if (key->isEmpty()) continue;
    const QHash<QString, int>& otherValues = *other.values_.constFind(key.key());
    for (auto name = key->cbegin(); name != key->cend(); ++name) {
      const int otherLine = otherValues.value(name.key(), -1);
      if (otherLine < 0 || !sameValue(lines_.at(*name).value, other.lines_.at(otherLine).value))
        return false;
    }
  }
  return true;
}

QList<int> RegDocument::sectionsOf(const QString& key) const {
  return sections_.value(folded(normalizeKey(key)));
}

int RegDocument::sectionEnd(int header) const {
  const auto next = std::upper_bound(headers_.begin(), headers_.end(), header);
  return next == headers_.end() ? int(lines_.size()) : *next;
}

int RegDocument::findValueLine(const QString& key, const QString& name) const {
  const auto values = values_.constFind(folded(normalizeKey(key)));
  return values == values_.cend() ? -1 : values->value(folded(name), -1);
}

bool RegDocument::keyExists(const QString& key) const {
  const QString path = folded(normalizeKey(key));
  return path.isEmpty() || knownKeys_.contains(path);
}

const RegValue* RegDocument::value(const QString& key, const QString& name) const {
  const int line = findValueLine(key, name);
  return line < 0 ? nullptr : &lines_.at(line).value;
}

QStringList RegDocument::valueNames(const QString& key) const {
  QStringList names;
  QSet<QString> seen;
  for (const int header : sectionsOf(key)) {
    for (int i = header + 1, end = sectionEnd(header); i < end; ++i) {
      const Line& line = lines_.at(i);
      if (line.kind != Line::Kind::Value || seen.contains(line.foldedName)) continue;
      seen.insert(line.foldedName);
      names.append(line.name);
    }
  }
  return names;
}

QStringList RegDocument::subKeys(const QString& key) const {
  const QString parent = normalizeKey(key);
  const QString foldedParent = folded(parent);
  const qsizetype skip = parent.isEmpty() ? 0 : parent.size() + 1;
  QStringList children;
  QSet<QString> seen;
  for (const int header : headers_) {
    const Line& line = lines_.at(header);
    if (!line.indexed || !isChildOf(folded(line.key), foldedParent)) continue;
    const QString child = line.key.mid(skip).section(u'\\', 0, 0);
    if (seen.contains(folded(child))) continue;
    seen.insert(folded(child));
    children.append(child);
  }
  return children;
}

RegDocument::Line RegDocument::valueLine(const QString& name, const RegValue& value) {
  Line line;
  line.kind = Line::Kind::Value;
  line.name = name;
  line.foldedName = folded(name);
  line.value = value;
  const QString lead = name.isEmpty() ? QStringLiteral("@") : quoted(name);
  line.raw = (lead + u'=' + formatData(value)).toUtf8();
  return line;
}

RegStatus RegDocument::setValue(const QString& key, const QString& name, const RegValue& value) {
  if (!keyExists(key)) return RegStatus::NoKey;
  const int existing = findValueLine(key, name);
  if (existing >= 0) {
    // The name keeps the case it was first written with.
    lines_[existing] = valueLine(lines_.at(existing).name, value);
    return RegStatus::Ok;
  }
  const QList<int> sections = sectionsOf(key);
  const int header = sections.isEmpty() ? insertSection(normalizeKey(key)) : sections.last();
  insertValue(header, name, value);
  return RegStatus::Ok;
}

RegStatus RegDocument::removeValue(const QString& key, const QString& name) {
  if (!keyExists(key)) return RegStatus::NoKey;
  const int first = findValueLine(key, name);
  if (first < 0) return RegStatus::NoValue;
  for (int line = first; line >= 0; line = findValueLine(key, name)) {
    lines_.removeAt(line);
    keepApart(line);
    reindex();
  }
  return RegStatus::Ok;
}

// When a line that ends in a '\' nothing followed now meets a line that
// would go on its value, the '\' goes: the two stay apart as before.
void RegDocument::keepApart(int next) {
  if (next <= 0 || next >= int(lines_.size()) || !isHexContinuation(lines_.at(next).raw)) return;
  QByteArray& raw = lines_[next - 1].raw;
  const qsizetype backslash = raw.lastIndexOf('\\');
  if (backslash < 0 || !raw.mid(backslash + 1).trimmed().isEmpty()) return;
  const qsizetype firstEnd = raw.indexOf('\n');
  if (!continues(QString::fromUtf8(raw.left(firstEnd < 0 ? raw.size() : firstEnd)).trimmed())) return;
  raw.remove(backslash, 1);
}

bool RegDocument::createKey(const QString& key) {
  if (key.contains(u'\n') || key.contains(u'\r')) return false;
  const QStringList parts = normalizeKey(key).split(u'\\', Qt::SkipEmptyParts);
  for (qsizetype depth = 1; depth <= parts.size(); ++depth) {
    const QString path = parts.first(depth).join(u'\\');
    if (!keyExists(path)) insertSection(path);
  }
  return true;
}

// The last line of a section that is not blank.
int RegDocument::lastContentLine(int header) const {
  int last = header;
  for (int i = header + 1, end = sectionEnd(header); i < end; ++i)
    if (!lines_.at(i).raw.trimmed().isEmpty()) last = i;
  return last;
}

// The key as the sections holding its leading components spell them.
QString RegDocument::spelled(const QString& key) const {
  const QStringList parts = key.split(u'\\', Qt::SkipEmptyParts);
  for (qsizetype depth = parts.size(); depth > 0; --depth) {
    const QString prefix = folded(parts.first(depth).join(u'\\'));
    for (const int header : headers_) {
      const Line& line = lines_.at(header);
      const QString path = folded(line.key);
      if (!line.indexed || (path != prefix && !isChildOf(path, prefix))) continue;
      return (line.key.split(u'\\').first(depth) + parts.mid(depth)).join(u'\\');
    }
  }
  return key;
}

// A new section goes after the last section below its parent, else at the
// end; returns its line.
int RegDocument::insertSection(const QString& key) {
  const QString parent = folded(key.section(u'\\', 0, -2));
  int after = int(lines_.size()) - 1;
  for (const int header : headers_) {
    const Line& line = lines_.at(header);
    const QString path = folded(line.key);
    if (line.indexed && (path == parent || isChildOf(path, parent))) after = lastContentLine(header);
  }
  int position = after + 1;
  if (after >= 0 && !lines_.at(after).raw.trimmed().isEmpty()) lines_.insert(position++, Line());
  Line section;
  section.kind = Line::Kind::Section;
  section.indexed = true;
  section.key = spelled(key);
  const QString hive = QString::fromLatin1(kHive);
  const QString path = section.key.isEmpty() ? hive : hive + u'\\' + section.key;
  section.raw = (u'[' + path + u']').toUtf8();
  lines_.insert(position, section);
  reindex();
  return position;
}

void RegDocument::insertValue(int header, const QString& name, const RegValue& value) {
  int position = header + 1;
  for (int i = header + 1, end = sectionEnd(header); i < end; ++i)
    if (lines_.at(i).kind == Line::Kind::Value) position = i + 1;
  lines_.insert(position, valueLine(name, value));
  reindex();
}

}  // namespace hv6
