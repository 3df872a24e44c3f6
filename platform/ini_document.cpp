#include "platform/ini_document.h"

#include "platform/codec.h"

#include <QSet>
#include <QStringDecoder>

namespace hv6 {
namespace {

QString folded(const QString& text) { return text.trimmed().toCaseFolded(); }

}  // namespace

IniDocument IniDocument::parse(const QByteArray& bytes, Encoding encoding) {
  IniDocument doc;
  doc.encoding_ = encoding;
  if (bytes.contains("\r\n")) doc.lineEnd_ = "\r\n";
  const QByteArray converter = cp932::converterInUse().toLatin1();
  QStringDecoder decoder = encoding == Encoding::Cp932
                               ? QStringDecoder(converter.constData(), QStringConverter::Flag::Stateless)
                               : QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  for (qsizetype start = 0; start < bytes.size();) {
    qsizetype newline = bytes.indexOf('\n', start);
    if (newline < 0) newline = bytes.size();
    qsizetype contentEnd = newline;
    if (contentEnd > start && bytes.at(contentEnd - 1) == '\r' && newline < bytes.size()) --contentEnd;
    Line line;
    line.raw = bytes.mid(start, contentEnd - start);
    line.end = bytes.mid(contentEnd, std::min(newline + 1, bytes.size()) - contentEnd);
    start = newline + 1;

    const QString trimmed = QString(decoder.decode(line.raw)).trimmed();
    const qsizetype close = trimmed.lastIndexOf(u']');
    const qsizetype equals = trimmed.indexOf(u'=');
    if (trimmed.startsWith(u'[') && close > 0) {
      line.kind = Line::Kind::Section;
      line.name = trimmed.mid(1, close - 1).trimmed();
    } else if (!trimmed.startsWith(u';') && equals > 0) {
      line.kind = Line::Kind::Entry;
      line.name = trimmed.left(equals).trimmed();
      line.value = trimmed.mid(equals + 1).trimmed();
    }
    line.blank = trimmed.isEmpty();
    line.folded = folded(line.name);
    doc.lines_.append(line);
  }
  return doc;
}

QByteArray IniDocument::toBytes() const {
  QByteArray out;
  for (const Line& line : lines_) {
    out += line.raw;
    out += line.end;
  }
  return out;
}

int IniDocument::sectionEnd(int header) const {
  int i = header + 1;
  while (i < int(lines_.size()) && lines_.at(i).kind != Line::Kind::Section) ++i;
  return i;
}

int IniDocument::firstSection(const QString& section) const {
  const QString wanted = folded(section);
  for (int i = 0; i < int(lines_.size()); ++i)
    if (lines_.at(i).kind == Line::Kind::Section && lines_.at(i).folded == wanted) return i;
  return -1;
}

// One pass over the lines, however many keys a section has.
int IniDocument::findEntry(const QString& section, const QString& key) const {
  const QString wantedSection = folded(section);
  const QString wantedKey = folded(key);
  for (int header = 0; header < int(lines_.size());) {
    const Line& head = lines_.at(header);
    const int end = sectionEnd(header);
    if (head.kind == Line::Kind::Section && head.folded == wantedSection) {
      for (int i = header + 1; i < end; ++i)
        if (lines_.at(i).kind == Line::Kind::Entry && lines_.at(i).folded == wantedKey) return i;
    }
    header = end;
  }
  return -1;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
  const int line = findEntry(section, key);
  if (line < 0) return std::nullopt;
  return lines_.at(line).value;
}

IniDocument::Line IniDocument::newLine(Line::Kind kind, const QString& name,
                                       const QString& text) const {
  Line line;
  line.kind = kind;
  line.name = name;
  line.folded = folded(name);
  line.raw = encoding_ == Encoding::Cp932 ? cp932::encode(text) : text.toUtf8();
  line.end = lineEnd_;
  line.blank = text.trimmed().isEmpty();
  return line;
}

IniDocument::Line IniDocument::entryLine(const QString& key, const QString& value) const {
  const QString name = key.trimmed();
  Line line = newLine(Line::Kind::Entry, name, name + u'=' + value);
  line.value = value.trimmed();
  return line;
}

// A line added after a last line that had no line end gives it one.
void IniDocument::insertLine(int position, const Line& line) {
  if (position == int(lines_.size()) && position > 0 && lines_.last().end.isEmpty())
    lines_.last().end = lineEnd_;
  lines_.insert(position, line);
}

// New sections go at the end, after a blank line.
int IniDocument::appendSection(const QString& section) {
  if (!lines_.isEmpty() && !lines_.last().blank)
    insertLine(int(lines_.size()), newLine(Line::Kind::Other, QString(), QString()));
  const QString name = section.trimmed();
  insertLine(int(lines_.size()), newLine(Line::Kind::Section, name, u'[' + name + u']'));
  return int(lines_.size()) - 1;
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
  const int existing = findEntry(section, key);
  if (existing >= 0) {
    // The key keeps the spelling it had, the line its line end.
    const QByteArray end = lines_.at(existing).end;
    lines_[existing] = entryLine(lines_.at(existing).name, value);
    lines_[existing].end = end;
    return;
  }
  int header = firstSection(section);
  if (header < 0) header = appendSection(section);
  int position = header + 1;
  for (int i = header + 1, end = sectionEnd(header); i < end; ++i)
    if (lines_.at(i).kind == Line::Kind::Entry) position = i + 1;
  insertLine(position, entryLine(key, value));
}

void IniDocument::removeKey(const QString& section, const QString& key) {
  for (int line = findEntry(section, key); line >= 0; line = findEntry(section, key))
    lines_.removeAt(line);
}

void IniDocument::removeSection(const QString& section) {
  for (int header = firstSection(section); header >= 0; header = firstSection(section))
    lines_.remove(header, sectionEnd(header) - header);
}

QStringList IniDocument::sections() const {
  QStringList names;
  QSet<QString> seen;
  for (const Line& line : lines_) {
    if (line.kind != Line::Kind::Section || seen.contains(line.folded)) continue;
    seen.insert(line.folded);
    names.append(line.name);
  }
  return names;
}

QStringList IniDocument::keys(const QString& section) const {
  const QString wanted = folded(section);
  QStringList names;
  QSet<QString> seen;
  for (int header = 0; header < int(lines_.size());) {
    const int end = sectionEnd(header);
    if (lines_.at(header).kind == Line::Kind::Section && lines_.at(header).folded == wanted) {
      for (int i = header + 1; i < end; ++i) {
        const Line& line = lines_.at(i);
        if (line.kind != Line::Kind::Entry || seen.contains(line.folded)) continue;
        seen.insert(line.folded);
        names.append(line.name);
      }
    }
    header = end;
  }
  return names;
}

}  // namespace hv6
